#include "app/BibelotPageView.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "app/EnrolmentNumber.h"
#include "app/ModelBinder.h"
#include "app/OnInterfaceThread.h"
#include "app/PageWidgets.h"
#include "app/QtText.h"

namespace nvx {

namespace {

constexpr int kNumberWidth = 44;
constexpr int kBoxColumnWidth = 32;
constexpr int kButtonWidth = 110;

// A check box centred in its grid cell.
QWidget* Centred(QWidget* widget, QWidget* parent)
{
    auto* cell = new QWidget(parent);
    auto* layout = new QHBoxLayout(cell);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(widget, 0, Qt::AlignCenter);
    return cell;
}

}  // namespace

BibelotPageView::BibelotPageView(TformBibelot& page, QWidget* parent) : QWidget(parent), page_(page)
{
    binder_ = new ModelBinder(page_.Form(), this);

    auto* content = new QWidget;
    auto* columns = new QHBoxLayout(content);
    columns->setContentsMargins(8, 8, 8, 8);
    columns->addWidget(buildSlots(), 0, Qt::AlignTop);
    columns->addStretch(1);

    PlaceInScrollArea(this, content);

    page_.SetConfirmation([this](const std::string& text) { return ConfirmWarning(this, text); });
    subscription_ = page_.Form().subscribe(
        OnInterfaceThread(this, [this](const std::string& name) { refresh(name); }));
    for (int slot = 1; slot <= TformBibelot::kSlots; ++slot) {
        paintNumber(slot);
        for (int p = 1; p <= TformBibelot::kPartitions; ++p)
            paintBoxCell(slot, p);
    }
}

BibelotPageView::~BibelotPageView()
{
    page_.Form().unsubscribe(subscription_);
    page_.SetConfirmation(nullptr);
}

QWidget* BibelotPageView::buildSlots()
{
    // Two halves of eight rows side by side: all sixteen fit the page pane without scrolling.
    auto* group = new QGroupBox;
    auto* halves = new QHBoxLayout(group);
    halves->setSpacing(16);
    constexpr int kRowsPerHalf = TformBibelot::kSlots / 2;
    for (int first = 1; first <= TformBibelot::kSlots; first += kRowsPerHalf) {
        if (first > 1) {
            auto* line = new QFrame(group);
            line->setFrameShape(QFrame::VLine);
            line->setFrameShadow(QFrame::Sunken);
            halves->addWidget(line);
        }
        halves->addLayout(buildRows(group, first, first + kRowsPerHalf - 1), 0);
    }
    halves->addStretch(1);
    return group;
}

QGridLayout* BibelotPageView::buildRows(QWidget* group, int firstSlot, int lastSlot)
{
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    constexpr int kFirstBoxColumn = 1;
    constexpr int kButtonColumn = kFirstBoxColumn + TformBibelot::kPartitions;

    grid->addWidget(BoldHeading("№ брелока", group), 0, 0, 2, 1);
    grid->addWidget(BoldHeading("Номер раздела", group), 0, kFirstBoxColumn, 1, TformBibelot::kPartitions);
    for (int p = 1; p <= TformBibelot::kPartitions; ++p) {
        grid->addWidget(BoldHeading(std::to_string(p).c_str(), group), 1, kFirstBoxColumn + p - 1);
        grid->setColumnMinimumWidth(kFirstBoxColumn + p - 1, kBoxColumnWidth);
    }
    grid->addWidget(BoldHeading("Добавить/удалить брелок", group), 0, kButtonColumn, 2, 1);
    grid->setColumnMinimumWidth(kButtonColumn, kButtonWidth);

    for (int slot = firstSlot; slot <= lastSlot; ++slot) {
        const int row = slot - firstSlot + 2;
        QLabel* number = NewEnrolmentNumber(TformBibelot::NumberLabelName(slot), kNumberWidth, group);
        numbers_[static_cast<std::size_t>(slot - 1)] = number;
        grid->addWidget(number, row, 0, Qt::AlignCenter);

        for (int p = 1; p <= TformBibelot::kPartitions; ++p) {
            auto* box = new QCheckBox(group);
            binder_->bind(TformBibelot::PartitionBoxName(slot, p), box);
            grid->addWidget(Centred(box, group), row, kFirstBoxColumn + p - 1);
        }

        auto* button = new QPushButton(group);
        binder_->bind(TformBibelot::ButtonName(slot), button);
        grid->addWidget(button, row, kButtonColumn);
    }
    return grid;
}

void BibelotPageView::refresh(const std::string& name)
{
    for (int slot = 1; slot <= TformBibelot::kSlots; ++slot) {
        if (name == TformBibelot::NumberLabelName(slot))
            paintNumber(slot);
        for (int p = 1; p <= TformBibelot::kPartitions; ++p)
            if (name == TformBibelot::PartitionBoxName(slot, p))
                paintBoxCell(slot, p);
    }
}

void BibelotPageView::paintBoxCell(int slot, int partition)
{
    const std::string name = TformBibelot::PartitionBoxName(slot, partition);
    auto* box = findChild<QCheckBox*>(Q(name));
    if (!box)
        return;
    // A 24-hour partition disables its box: the shaded cell says why nothing can be ticked there.
    const bool allowed = page_.Form().enabled(name);
    QWidget* cell = box->parentWidget();
    cell->setAutoFillBackground(!allowed);
    QPalette palette = cell->palette();
    palette.setColor(QPalette::Window, allowed ? palette.color(QPalette::Window) : QColor(0xD6, 0xD6, 0xD6));
    cell->setPalette(palette);
    cell->setToolTip(allowed ? QString() : QStringLiteral("Раздел «24 часа»: брелок им не управляет"));
}

void BibelotPageView::paintNumber(int slot)
{
    ShowEnrolmentNumber(numbers_[static_cast<std::size_t>(slot - 1)],
                        page_.Form().get(TformBibelot::NumberLabelName(slot)));
}

}  // namespace nvx
