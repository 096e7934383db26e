#include "app/ShleifPageView.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/KeyFilterValidator.h"
#include "app/LoopPictures.h"
#include "app/ModelBinder.h"
#include "app/PageWidgets.h"
#include "controls/Trislider.h"
#include "core/InputController.h"
#include "pages/f_Shleif.h"

namespace nvx {

namespace {

constexpr int kDelayEditWidth = 56;
constexpr int kResistorEditWidth = 56;
constexpr int kThresholdEditWidth = 70;
constexpr int kSliderHeight = 44;
// As the page configures its sliders: 936 units, a margin of 17 and thumbs 8 pixels wide.
constexpr int kSliderMargin = 17;
constexpr int kSliderThumbWidth = 8;
constexpr int kSliderDivisions = 20;

QLabel* Header(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

}  // namespace

ShleifPageView::ShleifPageView(TformShleif& page, QWidget* parent) : QWidget(parent), page_(page)
{
    binder_ = new ModelBinder(page_.Form(), this);

    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);
    layout->addWidget(buildSwitches(content));
    // One above the other: side by side they would not fit the window's default width.
    layout->addWidget(buildLoopTable(content));
    layout->addWidget(buildWiring(content));
    layout->addWidget(buildThresholds(content));
    layout->addStretch(1);

    PlaceInScrollArea(this, content);

    subscription_ = page_.Form().subscribe([this](const std::string& name) {
        if (name == TformShleif::kFullSlider || name == TformShleif::kShortSlider)
            showSlider(name);
        showResistorCaptions();
    });
    binder_->refreshAll();
    showSlider(TformShleif::kFullSlider);
    showSlider(TformShleif::kShortSlider);
    showResistorCaptions();
}

ShleifPageView::~ShleifPageView()
{
    page_.Form().unsubscribe(subscription_);
}

template <class W> W* ShleifPageView::bound(const std::string& name, QWidget* parent)
{
    return Bound<W>(*binder_, name, parent);
}

QWidget* ShleifPageView::buildSwitches(QWidget* parent)
{
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* type = bound<QGroupBox>("GroupBox2", row);
    auto* typeLayout = new QHBoxLayout(type);
    typeLayout->addWidget(bound<QRadioButton>("rzt0", type));
    typeLayout->addWidget(bound<QRadioButton>("rzt1", type));
    layout->addWidget(type);

    auto* events = bound<QGroupBox>("RzGroupBox2", row);
    auto* eventsLayout = new QHBoxLayout(events);
    eventsLayout->addWidget(bound<QRadioButton>("RadioButton1", events));
    eventsLayout->addWidget(bound<QRadioButton>("RadioButton2", events));
    layout->addWidget(events);

    layout->addWidget(bound<QPushButton>(TformShleif::kThresholdsButton, row), 0, Qt::AlignBottom);
    layout->addStretch(1);
    return row;
}

QWidget* ShleifPageView::buildLoopTable(QWidget* parent)
{
    auto* group = new QGroupBox("Шлейфы", parent);
    auto* grid = new QGridLayout(group);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    const QStringList headers{"Шлейф",    "Состояние",          "Нормальное состояние", "Раздел",
                              "Тип зоны", "Задержка на вход, с", "Задержка на выход, с"};
    for (int column = 0; column < headers.size(); ++column)
        grid->addWidget(Header(headers[column], group), 0, column);
    for (int loop = 1; loop <= TformShleif::kLoops; ++loop) {
        grid->addWidget(new QLabel(QString::number(100 + loop), group), loop, 0, Qt::AlignCenter);
        auto* state = bound<QLineEdit>(TformShleif::StateName(loop), group);
        state->setReadOnly(true);
        state->setMinimumWidth(130);
        grid->addWidget(state, loop, 1);
        grid->addWidget(bound<QComboBox>(TformShleif::NormalName(loop), group), loop, 2);
        grid->addWidget(bound<QComboBox>(TformShleif::PartitionName(loop), group), loop, 3);
        grid->addWidget(bound<QComboBox>(TformShleif::ZoneName(loop), group), loop, 4);
        auto* entry = bound<QLineEdit>(TformShleif::EntryDelayName(loop), group);
        entry->setValidator(new KeyFilterValidator(&TInputController::Digits, entry));
        entry->setMaxLength(3);
        entry->setFixedWidth(kDelayEditWidth);
        grid->addWidget(entry, loop, 5, Qt::AlignCenter);
        auto* exit = bound<QLineEdit>(TformShleif::ExitDelayName(loop), group);
        exit->setFixedWidth(kDelayEditWidth);
        grid->addWidget(exit, loop, 6, Qt::AlignCenter);
    }
    grid->setRowStretch(TformShleif::kLoops + 1, 1);
    // The table keeps its columns' own widths; the room left over stays to their right.
    grid->setColumnStretch(static_cast<int>(headers.size()), 1);
    return group;
}

QWidget* ShleifPageView::buildWiring(QWidget* parent)
{
    auto* group = new QGroupBox("Схема подключения", parent);
    auto* layout = new QGridLayout(group);
    layout->addWidget(new LoopWiringPicture(page_.Form(), group), 0, 0);

    auto* resistors = new QGridLayout;
    for (int n = 1; n <= 3; ++n) {
        const std::string name = TformShleif::ResistorName(n);
        auto* caption = new QLabel(QString("R%1, кОм").arg(n), group);
        auto* edit = bound<QLineEdit>(name, group);
        edit->setValidator(new KeyFilterValidator(&TInputController::Digits, edit));
        edit->setFixedWidth(kResistorEditWidth);
        resistorCaptions_[n - 1] = caption;
        resistors->addWidget(caption, n - 1, 0, Qt::AlignRight);
        resistors->addWidget(edit, n - 1, 1);
    }
    layout->addLayout(resistors, 0, 1, Qt::AlignVCenter);

    auto* sensors = new QVBoxLayout;
    auto* sensor1 = new SensorPicture(page_.Form(), 1, group);
    auto* sensor2 = new SensorPicture(page_.Form(), 2, group);
    binder_->bind("pSensor1", sensor1);
    binder_->bind("pSensor2", sensor2);
    sensors->addWidget(sensor1);
    sensors->addWidget(sensor2);
    layout->addLayout(sensors, 0, 2, Qt::AlignVCenter);
    layout->setColumnStretch(3, 1);
    return group;
}

QWidget* ShleifPageView::buildThresholds(QWidget* parent)
{
    auto* panel = bound<QGroupBox>(TformShleif::kThresholdsPanel, parent);
    auto* layout = new QVBoxLayout(panel);
    QStringList full;
    for (const char* name : TformShleif::kThresholdEdits)
        full << name;
    QStringList fourViews;
    for (const char* name : TformShleif::kShortViewEdits)
        fourViews << name;
    layout->addWidget(buildThresholdView(TformShleif::kFullSlider,
                                         {"КЗ", "Оба замкнуты", "2-й замкнут\n1-й разомкнут",
                                          "1-й замкнут\n2-й разомкнут", "Оба разомкнуты", "Обрыв"},
                                         full, panel));
    layout->addWidget(buildThresholdView(TformShleif::kShortSlider,
                                         {"КЗ", "Тревога", "Предупреждение", "Норма", "Обрыв"}, fourViews,
                                         panel));
    return panel;
}

QWidget* ShleifPageView::buildThresholdView(const char* sliderName, const QStringList& ranges,
                                            const QStringList& edits, QWidget* parent)
{
    auto* view = new QWidget(parent);
    auto* grid = new QGridLayout(view);
    grid->setContentsMargins(0, 4, 0, 4);
    grid->setHorizontalSpacing(6);
    // Range captions in the even columns, the boundary between two ranges in the odd ones.
    for (int i = 0; i < ranges.size(); ++i) {
        auto* range = Header(ranges[i], view);
        range->setMinimumWidth(90);
        grid->addWidget(range, 0, 2 * i);
        grid->setColumnStretch(2 * i, 1);
    }
    for (int i = 0; i < edits.size(); ++i) {
        auto* edit = bound<QLineEdit>(edits[i].toStdString(), view);
        edit->setFixedWidth(kThresholdEditWidth);
        edit->setAlignment(Qt::AlignCenter);
        grid->addWidget(edit, 0, 2 * i + 1, Qt::AlignCenter);
    }

    auto* slider = new TTrislider(view);
    slider->setObjectName(sliderName);
    slider->setFixedHeight(kSliderHeight);
    slider->setMinimumWidth(600);
    slider->setCount(static_cast<int>(edits.size()));
    slider->setMinimum(0);
    slider->setMaximum(TformShleif::kSliderMaximum);
    slider->setStep(1);
    slider->setDivisions(kSliderDivisions);
    slider->resize(slider->minimumWidth(), kSliderHeight);
    slider->setMargin(kSliderMargin);
    slider->setThumbWidth(kSliderThumbWidth);
    connect(slider, &TTrislider::valuesDragged, this, [this, name = std::string(sliderName)](const QVector<int>& values) {
        page_.SliderMoved(name, std::vector<int>(values.begin(), values.end()));
    });
    grid->addWidget(slider, 1, 0, 1, 2 * static_cast<int>(ranges.size()) - 1);

    auto* reading = new QVBoxLayout;
    reading->addWidget(Header("Шлейф АЦП", view));
    auto* live = bound<QLineEdit>(std::string("etKOM") + sliderName, view);
    live->setReadOnly(true);
    live->setFixedWidth(kThresholdEditWidth);
    live->setAlignment(Qt::AlignCenter);
    reading->addWidget(live, 0, Qt::AlignCenter);
    grid->addLayout(reading, 0, 2 * static_cast<int>(ranges.size()), 2, 1);

    (std::string(sliderName) == TformShleif::kFullSlider ? full_ : short_) = slider;
    return view;
}

// A resistor's caption goes with its field when the loop type hides the resistors.
void ShleifPageView::showResistorCaptions()
{
    for (int n = 1; n <= 3; ++n)
        if (QLabel* caption = resistorCaptions_[n - 1])
            caption->setVisible(page_.Form().visible(TformShleif::ResistorName(n)));
}

void ShleifPageView::showSlider(const std::string& name)
{
    TTrislider* slider = name == TformShleif::kFullSlider ? full_ : short_;
    if (!slider || slider->dragging())
        return;
    const Control c = page_.Form().get(name);
    for (int i = 0; i < slider->count(); ++i)
        slider->setValue(i, c.thumbs[static_cast<std::size_t>(i)]);
    slider->setMarker(c.marker);
}

}  // namespace nvx
