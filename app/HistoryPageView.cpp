#include "app/HistoryPageView.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "app/KeyFilterValidator.h"
#include "app/ModelBinder.h"
#include "app/OnInterfaceThread.h"
#include "app/QtText.h"
#include "app/WaitingWindow.h"
#include "core/InputController.h"

namespace nvx {

namespace {

constexpr const char* kGrid = "StringGrid1";
constexpr int kPositionWidth = 60;
constexpr int kProgressWidth = 220;
constexpr int kCellPadding = 12;

QPushButton* Button(QWidget* parent)
{
    auto* button = new QPushButton(parent);
    button->setAutoDefault(false);
    return button;
}

} // namespace

QColor HistoryPageView::colourOf(std::int32_t colour)
{
    const auto value = static_cast<std::uint32_t>(colour);
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

HistoryPageView::HistoryPageView(TformHistory& page, QWidget* parent) : QWidget(parent), page_(page)
{
    binder_ = new ModelBinder(page_.Form(), this);

    grid_ = new QTableWidget(TformHistory::kPageRecords, kHistoryColumnCount, this);
    grid_->setObjectName(QString::fromLatin1(kGrid));
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->setVisible(false);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->horizontalHeader()->setHighlightSections(false);
    grid_->setWordWrap(false);
    connect(grid_->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int width) {
                if (!applyingWidths_)
                    page_.SetColumnWidth(static_cast<std::size_t>(column), width);
            });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    layout->addWidget(grid_, 1);
    layout->addWidget(buildButtons());

    waiting_ = new TFormWaiting(QString::fromUtf8(TformHistory::kWaitingText), this);
    waiting_->hide();

    page_.SetDialogs(
        {[this](TformHistory::Question kind, const std::string& text) { return ask(kind, text); },
         [this] { return exportFileName(); }});
    subscription_ = page_.Form().subscribe(
        OnInterfaceThread(this, [this](const std::string& name) { refresh(name); }));
    showGrid();
    applyWidths();
}

HistoryPageView::~HistoryPageView()
{
    page_.Form().unsubscribe(subscription_);
    page_.SetDialogs({});
}

QWidget* HistoryPageView::buildButtons()
{
    auto* panel = new QWidget(this);
    auto* rows = new QVBoxLayout(panel);
    rows->setContentsMargins(0, 0, 0, 0);

    auto* paging = new QHBoxLayout;
    for (const char* name : {"btnBackward", "Button2"}) {
        QPushButton* button = Button(panel);
        button->setMinimumWidth(110);
        binder_->bind(name, button);
        paging->addWidget(button);
    }
    paging->addSpacing(16);
    auto* position = new QLineEdit(panel);
    position->setFixedWidth(kPositionWidth);
    position->setValidator(new KeyFilterValidator(&TInputController::Hexadecimal, position));
    binder_->bind("Edit1", position);
    paging->addWidget(position);
    for (const char* name : {"Button4", "btnStart"}) {
        QPushButton* button = Button(panel);
        binder_->bind(name, button);
        paging->addWidget(button);
    }
    paging->addStretch(1);
    auto* progress = new QProgressBar(panel);
    progress->setFixedWidth(kProgressWidth);
    binder_->bind(TformHistory::kProgress, progress);
    paging->addWidget(progress);
    QPushButton* stop = Button(panel);
    binder_->bind(TformHistory::kStop, stop);
    paging->addWidget(stop);
    rows->addLayout(paging);

    auto* files = new QHBoxLayout;
    for (const char* name : {"Button1", "Button3"}) {
        QPushButton* button = Button(panel);
        binder_->bind(name, button);
        files->addWidget(button);
    }
    files->addStretch(1);
    QPushButton* clear = Button(panel);
    clear->setMinimumWidth(110);
    binder_->bind("btnClear", clear);
    files->addWidget(clear);
    rows->addLayout(files);
    return panel;
}

void HistoryPageView::refresh(const std::string& name)
{
    if (name == kGrid)
        scheduleGridRefresh();
    else if (name == TformHistory::kWaitingWindow)
        showWaiting();
}

void HistoryPageView::scheduleGridRefresh()
{
    // A page arrives as hundreds of cell changes in one drain: draw it once afterwards.
    if (gridRefreshPending_)
        return;
    gridRefreshPending_ = true;
    QTimer::singleShot(0, this, [this] {
        gridRefreshPending_ = false;
        showGrid();
        applyWidths();
    });
}

void HistoryPageView::showGrid()
{
    const Control grid = page_.Form().get(kGrid);
    if (!grid.cells.empty()) {
        QStringList headers;
        for (const std::string& header : grid.cells[0])
            headers << Q(header);
        grid_->setHorizontalHeaderLabels(headers);
    }
    for (int row = 0; row < TformHistory::kPageRecords; ++row) {
        const std::size_t modelRow = static_cast<std::size_t>(row) + 1;
        const std::vector<std::string> cells =
            modelRow < grid.cells.size() ? grid.cells[modelRow] : std::vector<std::string>();
        const auto [back, text] = page_.RowColours(cells);
        for (int column = 0; column < static_cast<int>(kHistoryColumnCount); ++column) {
            const std::size_t at = static_cast<std::size_t>(column);
            QTableWidgetItem* item = grid_->item(row, column);
            if (!item) {
                item = new QTableWidgetItem;
                grid_->setItem(row, column, item);
            }
            item->setText(at < cells.size() ? Q(cells[at]) : QString());
            item->setBackground(colourOf(back));
            item->setForeground(colourOf(text));
        }
    }
}

void HistoryPageView::applyWidths()
{
    // The stored widths are a minimum: a header or text the font draws wider stays readable.
    applyingWidths_ = true;
    QHeaderView* header = grid_->horizontalHeader();
    for (int column = 0; column + 1 < static_cast<int>(kHistoryColumnCount); ++column) {
        const int stored = page_.ColumnWidth(static_cast<std::size_t>(column));
        int fit = header->sectionSizeHint(column);
        for (int row = 0; row < grid_->rowCount(); ++row)
            if (const QTableWidgetItem* item = grid_->item(row, column))
                fit = std::max(fit, grid_->fontMetrics().horizontalAdvance(item->text()) + kCellPadding);
        header->resizeSection(column, std::max(stored, fit));
    }
    applyingWidths_ = false;
}

void HistoryPageView::showWaiting()
{
    if (page_.Form().visible(TformHistory::kWaitingWindow))
        waiting_->showCentred();
    else
        waiting_->hide();
}

bool HistoryPageView::ask(TformHistory::Question kind, const std::string& text)
{
    if (kind == TformHistory::Question::Warning)
        return QMessageBox::warning(this, QStringLiteral("Предупреждение"), Q(text),
                                    QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
    return QMessageBox::question(this, QStringLiteral("Подтверждение"), Q(text),
                                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel) ==
           QMessageBox::Yes;
}

std::optional<std::filesystem::path> HistoryPageView::exportFileName()
{
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("xls"));
    dialog.setNameFilter(QStringLiteral("Microsoft Excel(*.xls)"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return std::filesystem::path(dialog.selectedFiles().constFirst().toStdString());
}

} // namespace nvx
