#include "app/RadioPageView.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/EnrolmentNumber.h"
#include "app/ModelBinder.h"
#include "app/OnInterfaceThread.h"
#include "app/PageWidgets.h"
#include "app/QtText.h"

namespace nvx {

namespace {

constexpr int kRowsPerTab = TformRadio::kSlots / 2;
constexpr int kNumberWidth = 40;
constexpr int kTypeWidth = 170;
constexpr int kPartitionWidth = 60;
constexpr int kDelayWidth = 100;
constexpr int kZoneWidth = 130;
constexpr int kButtonWidth = 100;
constexpr const char* kTabs = "PageControl1";

QComboBox* List(int width, QWidget* parent)
{
    auto* list = new QComboBox(parent);
    list->setFixedWidth(width);
    list->setMaxVisibleItems(16);
    return list;
}

}  // namespace

RadioPageView::RadioPageView(TformRadio& page, QWidget* parent) : QWidget(parent), page_(page)
{
    binder_ = new ModelBinder(page_.Form(), this);
    FormModel& form = page_.Form();

    menu_ = new QMenu(this);
    for (const char* item : TformRadio::kMenuItems)
        binder_->bindAction(item, menu_->addAction(Q(form.text(item))));

    tabs_ = new QTabWidget;
    tabs_->setObjectName(QString::fromUtf8(kTabs));
    tabs_->addTab(buildTab(1), Q(form.text("TabSheet1")));
    tabs_->addTab(buildTab(kRowsPerTab + 1), Q(form.text("TabSheet2")));
    tabs_->setCurrentIndex(form.index(kTabs));
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        if (page_.Form().index(kTabs) != index)
            page_.Form().setIndex(kTabs, index);
    });

    auto* content = new QWidget;
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(8, 8, 8, 8);
    column->setSpacing(6);
    column->addWidget(tabs_, 0, Qt::AlignLeft);
    for (const char* note : {"lbNote1", "lbNote2"}) {
        auto* label = new QLabel(content);
        label->setWordWrap(true);
        binder_->bind(note, label);
        column->addWidget(label);
    }
    column->addStretch(1);

    PlaceInScrollArea(this, content);

    page_.SetConfirmation([this](const std::string& text) { return ConfirmWarning(this, text); });
    subscription_ = form.subscribe(
        OnInterfaceThread(this, [this](const std::string& name) { refresh(name); }));
    for (int row = 1; row <= TformRadio::kSlots; ++row) {
        paintNumber(row);
        showTypeHint(row);
    }
}

RadioPageView::~RadioPageView()
{
    page_.Form().unsubscribe(subscription_);
    page_.SetConfirmation(nullptr);
}

QWidget* RadioPageView::buildTab(int firstRow)
{
    auto* tab = new QWidget;
    auto* grid = new QGridLayout(tab);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(3);
    const char* headings[] = {"№", "Тип датчика", "Раздел", "Задержка на вход", "Тип зоны", "Добавить/удалить"};
    for (int column = 0; column < static_cast<int>(std::size(headings)); ++column)
        grid->addWidget(BoldHeading(headings[column], tab), 0, column);

    for (int row = firstRow; row < firstRow + kRowsPerTab; ++row) {
        const int line = row - firstRow + 1;
        const std::size_t at = static_cast<std::size_t>(row - 1);
        QLabel* number = NewEnrolmentNumber(TformRadio::NumberLabelName(row), kNumberWidth, tab);
        numbers_[at] = number;
        grid->addWidget(number, line, 0);

        auto* type = new QLineEdit(tab);
        type->setReadOnly(true);
        type->setFixedWidth(kTypeWidth);
        binder_->bind(TformRadio::TypeFieldName(row), type);
        types_[at] = type;
        grid->addWidget(type, line, 1);

        for (QWidget* source : {static_cast<QWidget*>(number), static_cast<QWidget*>(type)}) {
            source->setContextMenuPolicy(Qt::CustomContextMenu);
            source->installEventFilter(this);
            connect(source, &QWidget::customContextMenuRequested, this, [this, source](const QPoint& at) {
                offerPopup(source);
                menu_->popup(source->mapToGlobal(at));
            });
        }

        const std::pair<std::string, int> lists[] = {{TformRadio::PartitionListName(row), kPartitionWidth},
                                                     {TformRadio::DelayListName(row), kDelayWidth},
                                                     {TformRadio::ZoneListName(row), kZoneWidth}};
        int column = 2;
        for (const auto& [name, width] : lists) {
            QComboBox* list = List(width, tab);
            binder_->bind(name, list);
            // A choice by the user (not one the queue or the page makes) runs the page's rules.
            connect(list, &QComboBox::activated, this, [this, name = name] { page_.Form().trigger(name); });
            grid->addWidget(list, line, column++);
        }

        auto* button = new QPushButton(tab);
        button->setFixedWidth(kButtonWidth);
        binder_->bind(TformRadio::ButtonName(row), button);
        grid->addWidget(button, line, column);
    }
    grid->setRowStretch(kRowsPerTab + 1, 1);
    return tab;
}

bool RadioPageView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress)
        offerPopup(static_cast<QWidget*>(watched));
    return QWidget::eventFilter(watched, event);
}

void RadioPageView::offerPopup(QWidget* source)
{
    page_.SetPopupRow(source->objectName().toStdString());
}

void RadioPageView::refresh(const std::string& name)
{
    if (name == kTabs) {
        tabs_->setCurrentIndex(page_.Form().index(kTabs));
        return;
    }
    for (int row = 1; row <= TformRadio::kSlots; ++row) {
        if (name == TformRadio::NumberLabelName(row))
            paintNumber(row);
        else if (name == TformRadio::TypeFieldName(row))
            showTypeHint(row);
    }
}

void RadioPageView::paintNumber(int row)
{
    ShowEnrolmentNumber(numbers_[static_cast<std::size_t>(row - 1)],
                        page_.Form().get(TformRadio::NumberLabelName(row)));
}

void RadioPageView::showTypeHint(int row)
{
    types_[static_cast<std::size_t>(row - 1)]->setToolTip(
        Q(SensorTypeHint(page_.Form().text(TformRadio::TypeFieldName(row)))));
}

}  // namespace nvx
