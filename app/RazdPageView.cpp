#include "app/RazdPageView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>
#include <iterator>

#include "app/ModelBinder.h"
#include "app/PageWidgets.h"
#include "pages/f_Razd.h"

namespace nvx {

namespace {

constexpr int kStateWidth = 120;
constexpr int kNumberWidth = 48;
constexpr int kHeadingWidth = 80;

// Number fields overwrite in place, as the page expects: each keystroke leaves a whole number
// the page can settle at once.
QLineEdit* NumberEdit(QLineEdit* edit, const char* mask)
{
    edit->setInputMask(QString::fromLatin1(mask));
    edit->setFixedWidth(kNumberWidth);
    edit->setAlignment(Qt::AlignCenter);
    return edit;
}

QLabel* Heading(QLabel* label)
{
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    label->setMinimumWidth(kHeadingWidth);
    label->setMaximumWidth(kHeadingWidth + 12);
    return label;
}

QLabel* Wrapped(QLabel* label)
{
    label->setWordWrap(true);
    return label;
}

}  // namespace

RazdPageView::RazdPageView(TformRazd& page, QWidget* parent) : QWidget(parent)
{
    binder_ = new ModelBinder(page.Form(), this);

    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);

    auto* top = new QHBoxLayout;
    top->addWidget(buildPartitionTable(content));
    top->addStretch(1);
    layout->addLayout(top);

    // The warning stands out by its own colours; the model only shows and hides it.
    auto* warning = Wrapped(bound<QLabel>("pnlWarning", content));
    warning->setFrameShape(QFrame::StyledPanel);
    warning->setMargin(6);
    warning->setAutoFillBackground(true);
    QPalette colours = warning->palette();
    colours.setColor(QPalette::Window, QColor(255, 244, 204));
    colours.setColor(QPalette::WindowText, QColor(120, 60, 0));
    warning->setPalette(colours);
    layout->addWidget(warning);

    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(buildEventCountGroup(content));
    left->addWidget(buildExitButtonGroup(content));
    left->addWidget(buildFireGroup(content));
    left->addStretch(1);
    columns->addLayout(left, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(buildSirenGroup(content));
    right->addStretch(1);
    columns->addLayout(right, 1);
    layout->addLayout(columns);

    layout->addWidget(Wrapped(bound<QLabel>("lbNote1", content)));
    layout->addWidget(Wrapped(bound<QLabel>("lbNote2", content)));
    layout->addStretch(1);

    PlaceInScrollArea(this, content);
}

template <class W> W* RazdPageView::bound(const std::string& name, QWidget* parent)
{
    return Bound<W>(*binder_, name, parent);
}

QWidget* RazdPageView::labelledCheckBox(const char* boxName, const char* labelName, QWidget* parent)
{
    auto* row = new QWidget(parent);
    auto* box = bound<QCheckBox>(boxName, row);
    return CaptionedButtonRow(row, box, bound<QLabel>(labelName, row));
}

QHBoxLayout* RazdPageView::numberRow(const char* labelName, const char* editName, const char* mask,
                                     QWidget* parent)
{
    auto* row = new QHBoxLayout;
    row->addWidget(bound<QLabel>(labelName, parent));
    row->addWidget(NumberEdit(bound<QLineEdit>(editName, parent), mask));
    row->addStretch(1);
    return row;
}

QWidget* RazdPageView::buildPartitionTable(QWidget* parent)
{
    auto* group = new QGroupBox(QStringLiteral("Разделы"), parent);
    auto* grid = new QGridLayout(group);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);

    const char* headings[] = {"lbColPartition", "lbColState", "lbColQuick1", "lbColQuick2", "lbColEmpty",
                              "lbColSiren",     "lbColOk2",   "lbCol24h",    "lbColFire",   "lbColExit",
                              "lbColNumber",    "lbColPF"};
    for (int column = 0; column < static_cast<int>(std::size(headings)); ++column)
        grid->addWidget(Heading(bound<QLabel>(headings[column], group)), 0, column, Qt::AlignBottom | Qt::AlignHCenter);

    for (int p = 1; p <= TformRazd::kPartitions; ++p) {
        grid->addWidget(bound<QLabel>("lbRow" + std::to_string(p), group), p, 0, Qt::AlignCenter);
        auto* state = bound<QLineEdit>(TformRazd::StateName(p), group);
        state->setReadOnly(true);
        state->setFocusPolicy(Qt::ClickFocus);
        state->setFixedWidth(kStateWidth);
        grid->addWidget(state, p, 1);
        const std::string boxes[] = {TformRazd::QuickName(p),          TformRazd::Quick2Name(p), TformRazd::EmptyLogName(p),
                                     TformRazd::SirenName(p),          TformRazd::Ok2Name(p),
                                     TformRazd::TwentyFourHourName(p), TformRazd::FireName(p)};
        int column = 2;
        for (const std::string& box : boxes)
            grid->addWidget(bound<QCheckBox>(box, group), p, column++, Qt::AlignCenter);
        // A hidden column takes no room: every widget in it hides with the model.
        grid->addWidget(NumberEdit(bound<QLineEdit>(TformRazd::ExitDelayName(p), group), "999"), p, column++,
                        Qt::AlignCenter);
        grid->addWidget(bound<QComboBox>(TformRazd::RowNumberName(p), group), p, column++, Qt::AlignCenter);
        grid->addWidget(bound<QCheckBox>(TformRazd::FirePossibilityName(p), group), p, column, Qt::AlignCenter);
    }
    return group;
}

QWidget* RazdPageView::buildEventCountGroup(QWidget* parent)
{
    auto* group = new QGroupBox(QStringLiteral("События"), parent);
    auto* layout = new QVBoxLayout(group);
    layout->addLayout(numberRow("lca", "eca", "999", group));
    layout->addWidget(labelledCheckBox("cbWithoutLimit", "lbWithoutLimit", group));
    return group;
}

QWidget* RazdPageView::buildExitButtonGroup(QWidget* parent)
{
    auto* group = bound<QGroupBox>("gbExit", parent);
    auto* row = new QHBoxLayout(group);
    for (int p = 1; p <= TformRazd::kPartitions; ++p)
        row->addWidget(bound<QCheckBox>(TformRazd::ExitButtonName(p), group));
    row->addStretch(1);
    return group;
}

QWidget* RazdPageView::buildSirenGroup(QWidget* parent)
{
    auto* group = bound<QGroupBox>("gbSiren", parent);
    auto* layout = new QVBoxLayout(group);

    layout->addLayout(numberRow("lbSyr", "etSyr", "999", group));
    layout->addWidget(labelledCheckBox("cbSyr1", "lbSyr1", group));

    auto* modes = new QGridLayout;
    modes->setHorizontalSpacing(14);
    // Columns in the order the installer reads them: burglary, fire possibility, fire.
    const char* columnLabels[] = {"lbs", "Label8", "Label9"};
    const char* columnButtons[] = {"rb3", "rb2", "rb1"};
    for (int column = 0; column < 3; ++column) {
        auto* heading = bound<QLabel>(columnLabels[column], group);
        heading->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        modes->addWidget(heading, 0, column + 1, Qt::AlignHCenter | Qt::AlignBottom);
    }
    for (int mode = 0; mode < 4; ++mode) {
        modes->addWidget(bound<QLabel>("lbSirenMode" + std::to_string(mode), group), mode + 1, 0);
        for (int column = 0; column < 3; ++column) {
            auto* radio = bound<QRadioButton>(columnButtons[column] + std::to_string(mode + 1), group);
            // The model keeps each column to one choice.
            radio->setAutoExclusive(false);
            modes->addWidget(radio, mode + 1, column + 1, Qt::AlignCenter);
        }
    }
    modes->setColumnStretch(4, 1);
    layout->addLayout(modes);
    layout->addWidget(Wrapped(bound<QLabel>("lbFireNote1", group)));
    layout->addWidget(Wrapped(bound<QLabel>("lbFireNote2", group)));
    return group;
}

QWidget* RazdPageView::buildFireGroup(QWidget* parent)
{
    auto* group = bound<QGroupBox>("gbFire", parent);
    group->setLayout(numberRow("Label6", "MaskEdit1", "99", group));
    return group;
}

}  // namespace nvx
