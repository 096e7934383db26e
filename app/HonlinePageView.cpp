#include "app/HonlinePageView.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "app/ModelBinder.h"
#include "app/OnInterfaceThread.h"
#include "app/QtText.h"
#include "events/f_honline.h"

namespace nvx {

namespace {

constexpr int kSyncIntervalMs = 250;
constexpr std::size_t kRowNumberColumn = 0;
constexpr std::size_t kTimeColumn = 1;
constexpr std::size_t kDeviceNumberColumn = 3;
constexpr std::size_t kLevelColumn = 6;
constexpr int kCellPadding = 16;
constexpr std::array kButtons{"btnCon", "btnClear", "Button1"};

}  // namespace

// The grid's rows below its header row. Rows are only appended, or all dropped when the grid is
// cleared, so a grown grid is shown by inserting its new rows.
class OnlineLogTableModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void show(std::vector<std::string> headers, GridRows rows, int clears)
    {
        const bool sameRows = clears == clears_ && headers == headers_ && rows.size() >= rows_.size();
        if (!sameRows) {
            beginResetModel();
            headers_ = std::move(headers);
            rows_ = std::move(rows);
            clears_ = clears;
            endResetModel();
        } else if (rows.size() > rows_.size()) {
            beginInsertRows({}, static_cast<int>(rows_.size()), static_cast<int>(rows.size()) - 1);
            rows_ = std::move(rows);
            endInsertRows();
        }
    }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(kOnlineLogColumns);
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= rowCount())
            return {};
        const auto& row = rows_[static_cast<std::size_t>(index.row())];
        const auto column = static_cast<std::size_t>(index.column());
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
            return column < row.size() ? Q(row[column]) : QString();
        if (role == Qt::TextAlignmentRole && column == kRowNumberColumn)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        if (role == Qt::TextAlignmentRole && (column == kDeviceNumberColumn || column == kLevelColumn))
            return QVariant::fromValue(Qt::AlignCenter);
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || section < 0 || static_cast<std::size_t>(section) >= headers_.size())
            return {};
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
            return Q(headers_[static_cast<std::size_t>(section)]);
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::AlignCenter | Qt::TextWordWrap);
        return {};
    }

private:
    std::vector<std::string> headers_;
    GridRows rows_;
    int clears_ = -1;
};

HonlinePageView::HonlinePageView(TformHonline& page, QWidget* parent) : QWidget(parent), page_(page)
{
    auto* group = new QGroupBox(Q(page_.Form().text("RzGroupBox1")), this);
    group->setObjectName(QStringLiteral("RzGroupBox1"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    outer->addWidget(group);
    auto* layout = new QVBoxLayout(group);

    auto* commands = new QHBoxLayout;
    for (const char* name : kButtons) {
        auto* button = new QPushButton(group);
        button->setObjectName(QString::fromLatin1(name));
        connect(button, &QPushButton::clicked, this, [this, name] { page_.Form().trigger(name); });
        commands->addWidget(button);
    }
    commands->addStretch(1);
    filter_ = new QLabel(group);
    filter_->setObjectName(QStringLiteral("lbFilter"));
    filter_->setToolTip(QStringLiteral("Повторы одного и того же события не показываются, пока режим включен "
                                       "(Ctrl+Alt+D в главном окне)"));
    commands->addWidget(filter_);
    layout->addLayout(commands);

    model_ = new OnlineLogTableModel(this);
    table_ = new QTableView(group);
    table_->setObjectName(QString::fromLatin1(TformHonline::kGrid));
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setAlternatingRowColors(true);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 8);
    QHeaderView* header = table_->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setStretchLastSection(false);
    header->setHighlightSections(false);
    // Long headers over narrow columns ("Ослабление сигнала, dBm") wrap onto a second line.
    header->setTextElideMode(Qt::ElideNone);
    header->setMinimumHeight(2 * header->fontMetrics().height() + 10);
    layout->addWidget(table_, 1);

    exportMessage_ = new QLabel(group);
    exportMessage_->setObjectName(QStringLiteral("lbExport"));
    exportMessage_->setWordWrap(true);
    exportMessage_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(exportMessage_);

    page_.SetExportFileChooser([this] { return askExportFile(); });
    subscription_ = page_.Form().subscribe(
        OnInterfaceThread(this, [this](const std::string& name) { refresh(name); }));
    for (const char* name : {"btnCon", "btnClear", "Button1", "lbFilter", "lbExport"})
        refresh(name);
    refreshGrid();
    applyColumnWidths();
    connect(header, &QHeaderView::sectionResized, this,
            [this](int column, int, int width) { page_.SetColumnWidth(static_cast<std::size_t>(column), width); });

    // The filter mode and the export's progress change without telling the model.
    syncTimer_ = new QTimer(this);
    connect(syncTimer_, &QTimer::timeout, this, [this] { page_.SyncWithDevice(); });
    syncTimer_->start(kSyncIntervalMs);
}

HonlinePageView::~HonlinePageView()
{
    page_.Form().unsubscribe(subscription_);
    page_.SetExportFileChooser({});
    showBusy(false);
}

std::optional<std::filesystem::path> HonlinePageView::askExportFile()
{
    QFileDialog dialog(this, QStringLiteral("Экспорт истории в Excel"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);  // asks before overwriting
    dialog.setNameFilter(QStringLiteral("Microsoft Excel(*.xls)"));
    dialog.setDefaultSuffix(QStringLiteral("xls"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return std::filesystem::path(QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString());
}

void HonlinePageView::refresh(const std::string& name)
{
    if (name == TformHonline::kGrid) {
        // Rows come in bursts, one notice each: the grid is read once per burst.
        if (!gridRefreshPending_) {
            gridRefreshPending_ = true;
            QTimer::singleShot(0, this, [this] { refreshGrid(); });
        }
        return;
    }
    if (std::find(kButtons.begin(), kButtons.end(), name) != kButtons.end()) {
        auto* button = findChild<QPushButton*>(Q(name));
        const Control c = page_.Form().get(name);
        button->setText(Q(c.text));
        button->setEnabled(c.enabled);
        if (name == "Button1")
            showBusy(page_.Exporting());
    } else if (name == "lbFilter" || name == "lbExport") {
        QLabel* label = name == "lbFilter" ? filter_ : exportMessage_;
        const Control c = page_.Form().get(name);
        label->setText(Q(c.text));
        const QColor colour = ModelBinder::colourOf(c.fontColor, false);
        label->setStyleSheet(colour.isValid() ? QStringLiteral("color: %1;").arg(colour.name()) : QString());
    }
}

void HonlinePageView::refreshGrid()
{
    gridRefreshPending_ = false;
    const Control grid = page_.Form().get(TformHonline::kGrid);
    std::vector<std::string> headers = grid.cells.empty() ? std::vector<std::string>() : grid.cells.front();
    // A grid of the headers and one row with an empty number has no event yet.
    const bool unusedRow = grid.cells.size() == 2 && (grid.cells[1].empty() || grid.cells[1][0].empty());
    GridRows rows;
    if (grid.cells.size() > 1 && !unusedRow)
        rows.assign(grid.cells.begin() + 1, grid.cells.end());
    const int before = model_->rowCount();
    model_->show(std::move(headers), std::move(rows), page_.ClearCount());
    // The newest event is scrolled to and selected, as the grid does when a row is appended.
    if (model_->rowCount() > before) {
        table_->selectRow(model_->rowCount() - 1);
        table_->scrollToBottom();
    }
}

void HonlinePageView::applyColumnWidths()
{
    QHeaderView* header = table_->horizontalHeader();
    const QFontMetrics headerFont = header->fontMetrics();
    // Whatever width was stored, a header wraps between whole words and the time column holds a
    // date and time.
    const int timeWidth = table_->fontMetrics().horizontalAdvance(QStringLiteral("00.00.0000 00:00:00"));
    for (std::size_t column = 0; column < kOnlineLogColumns; ++column) {
        int needed = 0;
        for (const QString& word : Q(std::string(kOnlineLogHeaders[column])).split(QLatin1Char(' ')))
            needed = std::max(needed, headerFont.horizontalAdvance(word));
        if (column == kTimeColumn)
            needed = std::max(needed, timeWidth);
        header->resizeSection(static_cast<int>(column), std::max(page_.ColumnWidth(column), needed + kCellPadding));
    }
}

void HonlinePageView::showBusy(bool busy)
{
    if (busy == busyCursor_)
        return;
    busyCursor_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

}  // namespace nvx
