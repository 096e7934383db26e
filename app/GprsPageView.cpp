#include "app/GprsPageView.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <string>

#include "app/KeyFilterValidator.h"
#include "app/ModelBinder.h"
#include "app/PageWidgets.h"
#include "core/InputController.h"
#include "pages/f_GPRS.h"

namespace nvx {

namespace {

constexpr int kEditWidth = 260;

KeyFilterValidator::Filter FilterOf(const std::string& edit)
{
    if (edit == "etSIM1Phone")
        return &TformGPRS::DialStringKey;
    if (edit == "etSIM1Port" || edit == "etServerPort2")
        return &TInputController::Digits;
    if (edit == "etSIM1SPSWD" || edit == "etServerPswd2")
        return &TformGPRS::PasswordKey;
    return nullptr;
}

QFormLayout* FormLayout(QWidget* parent)
{
    auto* form = new QFormLayout(parent);
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    return form;
}

} // namespace

GprsPageView::GprsPageView(TformGPRS& page, QWidget* parent) : QWidget(parent)
{
    binder_ = new ModelBinder(page.Form(), this);

    auto* content = new QWidget;
    auto* grid = new QGridLayout(content);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(12);
    grid->addWidget(buildGroup("gbConnection", {{"lbetSIM1Phone", "etSIM1Phone"},
                                                {"lbetSIM1ADDR", "etSIM1ADDR"},
                                                {"lbetSIM1LOGIN", "etSIM1LOGIN"},
                                                {"lbetSIM1PSWD", "etSIM1PSWD"}}),
                    0, 0);
    grid->addWidget(buildOptions(), 1, 0);
    grid->addWidget(buildGroup("gbServer", {{"lbetSIM1IP", "etSIM1IP"},
                                            {"lbetSIM1Port", "etSIM1Port"},
                                            {"lbetSIM1SPSWD", "etSIM1SPSWD"}}),
                    0, 1);
    grid->addWidget(buildGroup("gbReserveServer", {{"lbServerAddr2", "etServerAddr2"},
                                                   {"lbServerPort2", "etServerPort2"},
                                                   {"lbServerPswd2", "etServerPswd2"}}),
                    1, 1);
    // The copy of the channels page's switch stays hidden, as its model says.
    auto* switchCopy = Bound<QCheckBox>(*binder_, "cb11", content);
    auto* switchCaption = Bound<QLabel>(*binder_, "lbcb11", content);
    grid->addWidget(switchCopy, 2, 0);
    grid->addWidget(switchCaption, 2, 1);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(2, 1);

    PlaceInScrollArea(this, content);
}

QWidget* GprsPageView::buildGroup(const char* groupName,
                                  std::initializer_list<std::pair<const char*, const char*>> rows)
{
    auto* group = Bound<QGroupBox>(*binder_, groupName, nullptr);
    QFormLayout* form = FormLayout(group);
    for (auto [labelName, editName] : rows) {
        auto* label = Bound<QLabel>(*binder_, labelName, group);
        auto* edit = new QLineEdit(group);
        edit->setFixedWidth(kEditWidth);
        if (KeyFilterValidator::Filter filter = FilterOf(editName))
            edit->setValidator(new KeyFilterValidator(filter, edit));
        binder_->bind(editName, edit);
        label->setBuddy(edit);
        form->addRow(label, edit);
    }
    return group;
}

QWidget* GprsPageView::buildOptions()
{
    auto* group = Bound<QGroupBox>(*binder_, "gbOptions", nullptr);
    QFormLayout* form = FormLayout(group);

    auto* pauseLabel = Bound<QLabel>(*binder_, "lbGPRSTimeOut", group);
    auto* pause = Bound<QComboBox>(*binder_, "cbTime", group);
    pauseLabel->setBuddy(pause);
    form->addRow(pauseLabel, pause);

    auto* compressionLabel = Bound<QLabel>(*binder_, "lbP", group);
    auto* compression = Bound<QCheckBox>(*binder_, "cbP", group);
    clickThrough_[compressionLabel] = compression;
    compressionLabel->installEventFilter(this);
    compressionLabel->setCursor(Qt::PointingHandCursor);
    form->addRow(compressionLabel, compression);
    return group;
}

bool GprsPageView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease)
        if (auto it = clickThrough_.find(watched); it != clickThrough_.end() && it->second->isEnabled())
            it->second->click();
    return QWidget::eventFilter(watched, event);
}

} // namespace nvx
