#include "app/EnrolmentNumber.h"

#include <QLabel>

namespace nvx {

QLabel* NewEnrolmentNumber(const std::string& name, int width, QWidget* parent)
{
    auto* number = new QLabel(parent);
    number->setObjectName(QString::fromStdString(name));
    number->setAlignment(Qt::AlignCenter);
    number->setFixedWidth(width);
    number->setFrameShape(QFrame::Panel);
    number->setFrameShadow(QFrame::Sunken);
    number->setAutoFillBackground(true);
    return number;
}

void ShowEnrolmentNumber(QLabel* number, const Control& control)
{
    number->setText(QString::fromStdString(control.text));
    QPalette palette = number->palette();
    palette.setColor(QPalette::Window,
                     control.color == "clLime" ? QColor(0x00, 0xFF, 0x00) : palette.color(QPalette::Button));
    number->setPalette(palette);
}

}  // namespace nvx
