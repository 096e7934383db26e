#include "app/WaitingWindow.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

namespace nvx {

namespace {

constexpr qreal kOpacity = 0.9;
constexpr int kMargin = 28;

} // namespace

TFormWaiting::TFormWaiting(const QString& text, QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("FormWaiting"));
    setWindowOpacity(kOpacity);
    setAttribute(Qt::WA_ShowWithoutActivating);

    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    auto* inner = new QVBoxLayout(frame);
    inner->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    label_ = new QLabel(text, frame);
    QFont font = label_->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.2);
    label_->setFont(font);
    label_->setAlignment(Qt::AlignCenter);
    inner->addWidget(label_);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);
}

QString TFormWaiting::text() const
{
    return label_->text();
}

void TFormWaiting::showCentred()
{
    adjustSize();
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (owner) {
        QRect area = geometry();
        area.moveCenter(owner->frameGeometry().center());
        move(area.topLeft());
    }
    show();
    raise();
}

} // namespace nvx
