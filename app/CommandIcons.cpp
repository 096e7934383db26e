#include "app/CommandIcons.h"

#include <QColor>
#include <QPainter>
#include <QPixmap>

namespace nvx {

namespace {

// Drawn on a 32 x 32 grid and scaled, so every size is sharp.
QIcon PlugIcon(const QColor& colour, int gap)
{
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(side / 32.0, side / 32.0);
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        const qreal shift = gap / 2.0;
        // Plug: cable, body, two prongs.
        painter.drawRect(QRectF(0 - shift, 15, 4, 2));
        painter.drawRoundedRect(QRectF(3 - shift, 9, 10, 14), 2.5, 2.5);
        painter.drawRect(QRectF(13 - shift, 11.5, 6, 2.5));
        painter.drawRect(QRectF(13 - shift, 18, 6, 2.5));
        // Socket: body and cable.
        painter.drawRoundedRect(QRectF(18 + shift, 8, 11, 16), 2.5, 2.5);
        painter.drawRect(QRectF(28 + shift, 15, 4, 2));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace

QIcon ConnectIcon()
{
    return PlugIcon(QColor(46, 125, 50), 0);
}

QIcon DisconnectIcon()
{
    return PlugIcon(QColor(198, 40, 40), 6);
}

}  // namespace nvx
