#include "app/SplashDlg.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ModelBinder.h"

namespace nvx {

TdlgSplash::TdlgSplash(FormModel& model, QWidget* parent) : QDialog(parent), model_(model)
{
    setObjectName(QString::fromStdString(model_.name()));
    setWindowTitle(QString::fromStdString(model_.text(model_.name())));
    setModal(true);
    setMinimumWidth(380);

    auto* caption = new QLabel(this);
    caption->setFrameShape(QFrame::StyledPanel);
    caption->setAlignment(Qt::AlignCenter);
    caption->setContentsMargins(6, 6, 6, 6);
    caption->setBackgroundRole(QPalette::AlternateBase);
    caption->setAutoFillBackground(true);

    auto* status = new QLabel(this);
    QFont bold = status->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    status->setFont(bold);
    status->setAlignment(Qt::AlignCenter);
    status->setWordWrap(true);
    status->setMinimumHeight(status->fontMetrics().height() * 3);

    // The link gives no measure of progress; a thin busy bar shows that it is working.
    auto* busy = new QProgressBar(this);
    busy->setRange(0, 0);
    busy->setTextVisible(false);
    busy->setFixedHeight(6);

    auto* connected = new QPushButton(this);
    auto* cancel = new QPushButton(this);
    cancel->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(connected);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(status, 1);
    layout->addWidget(busy);
    layout->addLayout(buttons);

    binder_ = new ModelBinder(model_, this);
    binder_->bind("Panel1", caption);
    binder_->bind("Panel2", status);
    binder_->bind("Button1", connected);
    binder_->bind("CancelBtn", cancel);
    model_.setAction("Button1", [this] { accept(); });
    model_.setAction("CancelBtn", [this] { reject(); });
}

TdlgSplash::~TdlgSplash()
{
    // The model outlives this window; a late click from the queue must not reach it.
    model_.setAction("Button1", {});
    model_.setAction("CancelBtn", {});
}

}  // namespace nvx
