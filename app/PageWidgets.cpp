#include "app/PageWidgets.h"

#include <QAbstractButton>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScrollArea>
#include <QVBoxLayout>

namespace nvx {

namespace {

// Lives in the caption, so it goes with it.
class CaptionClick : public QObject {
public:
    CaptionClick(QLabel* caption, QAbstractButton* button) : QObject(caption), button_(button) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease && button_->isEnabled() &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            button_->click();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QAbstractButton* button_;
};

}  // namespace

void PlaceInScrollArea(QWidget* view, QWidget* content)
{
    auto* scroll = new QScrollArea(view);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    auto* outer = new QVBoxLayout(view);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);
}

QLabel* BoldHeading(const char* text, QWidget* parent)
{
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QWidget* CaptionedButtonRow(QWidget* row, QAbstractButton* button, QLabel* caption)
{
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(button);
    layout->addWidget(caption);
    layout->addStretch(1);
    caption->setCursor(Qt::PointingHandCursor);
    caption->installEventFilter(new CaptionClick(caption, button));
    return row;
}

bool ConfirmWarning(QWidget* parent, const std::string& text)
{
    return QMessageBox::warning(parent, QStringLiteral("Предупреждение"), QString::fromStdString(text),
                                QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace nvx
