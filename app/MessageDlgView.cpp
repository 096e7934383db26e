#include "app/MessageDlgView.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

#include "app/KeyFilterValidator.h"
#include "app/ModelBinder.h"
#include "core/InputController.h"

namespace nvx {

namespace {

constexpr int kMinimumWidth = 420;
constexpr int kPeriodWidth = 48;

QFrame* Panel(QWidget* parent)
{
    auto* panel = new QFrame(parent);
    panel->setFrameShape(QFrame::StyledPanel);
    return panel;
}

}  // namespace

MessageDlgView::MessageDlgView(TformMessageDlg& dialog, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint), dialog_(dialog)
{
    FormModel& form = dialog_.Form();
    setObjectName(QString::fromStdString(form.name()));
    setWindowTitle(QString::fromStdString(form.text(form.name())));
    setModal(false);
    setMinimumWidth(kMinimumWidth);
    binder_ = new ModelBinder(form, this);

    auto* message = new QLabel(this);
    message->setWordWrap(true);
    message->setAlignment(Qt::AlignCenter);
    QFont font = message->font();
    font.setBold(true);
    message->setFont(font);
    binder_->bind("lbMessage", message);
    auto* type = new QLabel(this);
    type->setAlignment(Qt::AlignCenter);
    binder_->bind("lbType", type);

    QFrame* choices = Panel(this);
    auto* choiceLayout = new QVBoxLayout(choices);
    for (const char* name : {"Button1", "Button2"}) {
        auto* button = new QPushButton(choices);
        binder_->bind(name, button);
        choiceLayout->addWidget(button);
    }
    binder_->bind("RzPanel1", choices);

    QFrame* periodPanel = Panel(this);
    auto* periodLayout = new QHBoxLayout(periodPanel);
    auto* periodLabel = new QLabel(periodPanel);
    binder_->bind("lbPeriod", periodLabel);
    period_ = new QLineEdit(periodPanel);
    period_->setFixedWidth(kPeriodWidth);
    period_->setValidator(new KeyFilterValidator(&TInputController::Digits, period_));
    period_->installEventFilter(this);
    binder_->bind("Edit1", period_);
    periodLabel->setBuddy(period_);
    auto* seconds = new QLabel(periodPanel);
    binder_->bind("lbSeconds", seconds);
    periodLayout->addWidget(periodLabel, 1);
    periodLayout->addWidget(period_);
    periodLayout->addWidget(seconds);
    binder_->bind("RzPanel2", periodPanel);

    auto* okCancel = new QPushButton(this);
    okCancel->setAutoDefault(false);
    binder_->bind("btnOKCancel", okCancel);

    auto* layout = new QVBoxLayout(this);
    // The dialog grows when the model swaps the choice panel for the period panel.
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setSpacing(10);
    layout->addWidget(message);
    layout->addWidget(type);
    layout->addWidget(choices);
    layout->addWidget(periodPanel);
    layout->addWidget(okCancel, 0, Qt::AlignHCenter);

    subscription_ = form.subscribe([this](const std::string& name) {
        if (name != dialog_.Form().name())
            return;
        if (QThread::currentThread() == thread())
            follow();
        else
            QMetaObject::invokeMethod(this, [this] { follow(); }, Qt::QueuedConnection);
    });
}

MessageDlgView::~MessageDlgView()
{
    dialog_.Form().unsubscribe(subscription_);
}

void MessageDlgView::follow()
{
    if (!dialog_.Visible()) {
        hide();
        return;
    }
    adjustSize();
    if (const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr) {
        QRect area = frameGeometry();
        area.moveCenter(owner->frameGeometry().center());
        move(area.topLeft());
    }
    show();
    raise();
    activateWindow();
}

void MessageDlgView::reject()
{
    dialog_.Close();
}

void MessageDlgView::closeEvent(QCloseEvent* event)
{
    // The model decides; its hiding hides this window.
    event->ignore();
    dialog_.Close();
}

bool MessageDlgView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == period_) {
        if (event->type() == QEvent::FocusOut)
            dialog_.PeriodFieldLeft();
        else if (event->type() == QEvent::KeyRelease)
            dialog_.PeriodKeyReleased();
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace nvx
