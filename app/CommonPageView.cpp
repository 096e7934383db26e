#include "app/CommonPageView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/KeyFilterValidator.h"
#include "app/ModelBinder.h"
#include "app/PageWidgets.h"
#include "core/InputController.h"
#include "pages/f_common.h"

namespace nvx {

namespace {

constexpr int kShortEditWidth = 70;
constexpr int kClockEditWidth = 150;
constexpr int kLevelEditWidth = 44;

QGridLayout* GridOf(QWidget* group)
{
    auto* grid = new QGridLayout(group);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    return grid;
}

QLineEdit* ReadOnly(QLineEdit* edit, int width)
{
    edit->setReadOnly(true);
    edit->setFixedWidth(width);
    edit->setFocusPolicy(Qt::ClickFocus);
    return edit;
}

}  // namespace

CommonPageView::CommonPageView(TformCommon& page, QWidget* parent) : QWidget(parent), page_(page)
{
    binder_ = new ModelBinder(page_.Form(), this);

    auto* content = new QWidget;
    auto* columns = new QGridLayout(content);
    columns->setContentsMargins(8, 8, 8, 8);
    columns->setHorizontalSpacing(12);
    columns->setVerticalSpacing(8);

    auto* left = new QVBoxLayout;
    left->addWidget(buildObjectGroup(content));
    left->addWidget(buildSignalGroup(content));
    left->addWidget(buildBuzzerGroup(content));
    left->addWidget(buildOutputsGroup(content));
    left->addStretch(1);

    auto* right = new QVBoxLayout;
    right->addWidget(buildAlarmButtonsGroup(content));
    right->addWidget(buildSirenGroup(content));
    right->addWidget(buildKeypadLockGroup(content));
    // Hidden groups of the page: the arming delay and the frequencies stay off screen.
    auto* armingDelay = bound<QGroupBox>("RzGroupBox8", content);
    auto* armingLayout = new QVBoxLayout(armingDelay);
    armingLayout->addWidget(bound<QCheckBox>("adelay", armingDelay));
    right->addWidget(armingDelay);
    right->addWidget(bound<QGroupBox>("RzGroupBox10", content));
    right->addStretch(1);

    columns->addLayout(left, 0, 0);
    columns->addLayout(right, 0, 1);
    columns->addWidget(buildButtonRow(content), 1, 0, 1, 2);
    columns->setColumnStretch(0, 1);
    columns->setColumnStretch(1, 1);
    columns->setRowStretch(2, 1);

    PlaceInScrollArea(this, content);
}

template <class W> W* CommonPageView::bound(const char* name, QWidget* parent)
{
    return Bound<W>(*binder_, name, parent);
}

QWidget* CommonPageView::labelledRadio(const char* radioName, const char* labelName, QWidget* parent)
{
    auto* row = new QWidget(parent);
    auto* radio = bound<QRadioButton>(radioName, row);
    // The model keeps each group to one choice; Qt's own exclusivity could not show a model
    // in which a group has none.
    radio->setAutoExclusive(false);
    return CaptionedButtonRow(row, radio, bound<QLabel>(labelName, row));
}

QWidget* CommonPageView::buildObjectGroup(QWidget* parent)
{
    auto* group = bound<QGroupBox>("RzGroupBox1", parent);
    auto* grid = GridOf(group);

    auto* objectNumber = bound<QLineEdit>("etO", group);
    objectNumber->setValidator(new KeyFilterValidator(&TInputController::Hexadecimal, objectNumber));
    objectNumber->setFixedWidth(kShortEditWidth);
    grid->addWidget(bound<QLabel>("lbO", group), 0, 0, Qt::AlignRight);
    grid->addWidget(objectNumber, 0, 1);

    grid->addWidget(bound<QLabel>("lbetTime", group), 1, 0, Qt::AlignRight);
    grid->addWidget(ReadOnly(bound<QLineEdit>("etTime", group), kClockEditWidth), 1, 1);
    grid->addWidget(bound<QPushButton>("btnSync", group), 1, 2);

    auto* key = bound<QLineEdit>("etKey", group);
    key->setValidator(new KeyFilterValidator(&TInputController::Hexadecimal, key));
    key->setFixedWidth(kShortEditWidth);
    connect(key, &QLineEdit::editingFinished, this, [this] { page_.MasterKeyFieldLeft(); });
    grid->addWidget(bound<QLabel>("lbKey", group), 2, 0, Qt::AlignRight);
    grid->addWidget(key, 2, 1);

    grid->setColumnStretch(3, 1);
    return group;
}

QWidget* CommonPageView::buildSignalGroup(QWidget* parent)
{
    auto* group = bound<QGroupBox>("RzGroupBox3", parent);
    auto* grid = GridOf(group);
    grid->addWidget(bound<QLabel>("lSignal", group), 0, 0, Qt::AlignRight);
    grid->addWidget(ReadOnly(bound<QLineEdit>("etSignal", group), kLevelEditWidth), 0, 1);
    auto* signalBar = bound<QProgressBar>("PSignal", group);
    signalBar->setTextVisible(false);
    grid->addWidget(signalBar, 0, 2);

    grid->addWidget(new QLabel(QStringLiteral("Уровень ошибок"), group), 1, 0, Qt::AlignRight);
    grid->addWidget(ReadOnly(bound<QLineEdit>("etError", group), kLevelEditWidth), 1, 1);
    auto* errorBar = bound<QProgressBar>("PEr", group);
    errorBar->setTextVisible(false);
    grid->addWidget(errorBar, 1, 2);
    grid->setColumnStretch(2, 1);
    return group;
}

QWidget* CommonPageView::buildOutputsGroup(QWidget* parent)
{
    auto* group = bound<QGroupBox>("RzGroupBox2", parent);
    auto* layout = new QHBoxLayout(group);

    auto* control = new QVBoxLayout;
    control->addWidget(new QLabel(QStringLiteral("Управление"), group));
    control->addWidget(labelledRadio("rbAuto", "lbAuto", group));
    control->addWidget(labelledRadio("rbAT", "lbAT", group));
    control->addStretch(1);
    layout->addLayout(control);

    auto* values = bound<QGroupBox>("RzGroupBox4", group);
    auto* grid = GridOf(values);
    grid->addWidget(labelledRadio("rbBothOff", "lbBothOff", values), 0, 0);
    grid->addWidget(labelledRadio("rbFOn", "lbFOn", values), 0, 1);
    grid->addWidget(labelledRadio("rbSOn", "lbSOn", values), 1, 0);
    grid->addWidget(labelledRadio("rbBothOn", "lbBothOn", values), 1, 1);
    layout->addWidget(values, 1);
    return group;
}

QWidget* CommonPageView::buildAlarmButtonsGroup(QWidget* parent)
{
    auto* group = bound<QGroupBox>("RzGroupBox5", parent);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(labelledRadio("rbAlarmBtnOn", "lbAlarmBtnOn", group));
    layout->addWidget(labelledRadio("rbAlarmBtnOff", "lbAlarmBtnOff", group));
    layout->addWidget(labelledRadio("rbAlarmBtnOn4", "lbAlarmBtnOn4", group));
    return group;
}

QWidget* CommonPageView::buildSirenGroup(QWidget* parent)
{
    auto* group = bound<QGroupBox>("RzGroupBox6", parent);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(bound<QLabel>("lbSyr", group));
    auto* boxes = new QHBoxLayout;
    boxes->addWidget(bound<QCheckBox>("cbSyr", group));
    boxes->addWidget(bound<QCheckBox>("cbSyrB", group));
    boxes->addStretch(1);
    layout->addLayout(boxes);
    return group;
}

QWidget* CommonPageView::buildKeypadLockGroup(QWidget* parent)
{
    auto* group = bound<QGroupBox>("RzGroupBox7", parent);
    auto* grid = GridOf(group);
    grid->addWidget(bound<QCheckBox>("CheckBox1", group), 0, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Время блокировки"), group), 1, 0, Qt::AlignRight);
    grid->addWidget(bound<QComboBox>("RzComboBox1", group), 1, 1);
    grid->setColumnStretch(2, 1);
    return group;
}

QWidget* CommonPageView::buildBuzzerGroup(QWidget* parent)
{
    auto* group = bound<QGroupBox>("RzGroupBox9", parent);
    auto* layout = new QHBoxLayout(group);
    for (const char* name : {"RadioButton1", "RadioButton2"}) {
        auto* radio = bound<QRadioButton>(name, group);
        radio->setAutoExclusive(false);  // as labelledRadio: the model keeps the one choice
        layout->addWidget(radio);
    }
    layout->addStretch(1);
    return group;
}

QWidget* CommonPageView::buildButtonRow(QWidget* parent)
{
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (const char* name : {"btLamptest", "btnStart", "btnStop", "btnReboot"})
        layout->addWidget(bound<QPushButton>(name, row));
    layout->addStretch(1);
    return row;
}

}  // namespace nvx
