#include "events/ExportXLS.h"

#include <exception>

#include "events/HistoryRecord.h"
#include "events/XlsWorkbook.h"

namespace nvx {

ExportOutcome WriteGridWorkbook(const GridRows& rows, const std::filesystem::path& file,
                                const std::function<void(std::size_t written, std::size_t total)>& progress)
{
    ExportOutcome outcome;
    XlsWorkbook book;
    // One sheet more than the full sheets, so a grid of exactly 65,535 rows also gets an empty second sheet.
    const std::size_t sheets = rows.size() / kRowsPerSheet + 1;
    for (std::size_t n = 1; n <= sheets; ++n) {
        if (!book.AddSheet("List" + std::to_string(n), &outcome.error))
            return outcome;
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const std::size_t sheet = r / kRowsPerSheet;
        const auto sheetRow = static_cast<std::uint32_t>(r % kRowsPerSheet);
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            const auto column = static_cast<std::uint32_t>(c);
            if (book.SetText(sheet, sheetRow, column, rows[r][c]))
                continue;
            // One bad cell must not cost the user the whole table.
            ++outcome.cellsMarked;
            book.SetText(sheet, sheetRow, column, kErrorText);
        }
        if (progress && (r + 1) % kProgressStep == 0)
            progress(r + 1, rows.size());
    }
    outcome.rows = rows.size();
    outcome.saved = book.Save(file, &outcome.error);
    return outcome;
}

TExportXLS::TExportXLS(GridRows rows, std::filesystem::path file, ExportReporter reporter)
    : rows_(std::move(rows)), file_(std::move(file)), reporter_(std::move(reporter)), thread_([this] { Run(); })
{
}

TExportXLS::~TExportXLS()
{
    if (thread_.joinable())
        thread_.join();
}

void TExportXLS::Run()
{
    ExportOutcome outcome;
    try {
        outcome = WriteGridWorkbook(rows_, file_, reporter_.progress);
    } catch (const std::exception& e) {
        outcome = ExportOutcome{};
        outcome.error = e.what();
    } catch (...) {
        outcome = ExportOutcome{};
        outcome.error = "непредвиденная ошибка";
    }
    try {
        if (reporter_.finished)
            reporter_.finished(outcome);
    } catch (...) {
        // Nobody is left to tell; the thread must still end normally.
    }
    finished_ = true;
}

}  // namespace nvx
