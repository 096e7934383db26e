// The spreadsheet export of the online event log: a copy of the grid's rows, headers included,
// written as text cells into an Excel 97 workbook of sheets "List1", "List2", ... of 65,535 rows
// each, on a thread of its own. TExportXLS is made and destroyed on the interface thread; its
// reporter runs on the export thread.
#pragma once

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace nvx {

using GridRows = std::vector<std::vector<std::string>>;

struct ExportOutcome {
    bool saved = false;
    std::size_t rows = 0;         // grid rows written
    std::size_t cellsMarked = 0;  // cells the workbook refused, written as "Ошибка" instead
    std::string error;            // why nothing was saved, for the user
};

struct ExportReporter {
    // Rows written so far of all; called every kProgressStep rows.
    std::function<void(std::size_t written, std::size_t total)> progress;
    // Called exactly once, when the export has ended, whatever happened.
    std::function<void(const ExportOutcome&)> finished;
};

inline constexpr std::size_t kRowsPerSheet = 65535;
inline constexpr std::size_t kProgressStep = 1000;

// Writes the rows into a new workbook saved atomically under `file`: a failed export leaves what
// the name held before (or nothing). A cell the workbook refuses is marked and the export goes on.
// Runs on the calling thread.
ExportOutcome WriteGridWorkbook(const GridRows& rows, const std::filesystem::path& file,
                                const std::function<void(std::size_t written, std::size_t total)>& progress = {});

class TExportXLS {
public:
    // Starts the thread at once.
    TExportXLS(GridRows rows, std::filesystem::path file, ExportReporter reporter);
    // Waits for the thread: a started export is always completed.
    ~TExportXLS();
    TExportXLS(const TExportXLS&) = delete;
    TExportXLS& operator=(const TExportXLS&) = delete;

    // True once the reporter's finished call has returned.
    bool Finished() const { return finished_; }

private:
    void Run();

    GridRows rows_;
    std::filesystem::path file_;
    ExportReporter reporter_;
    std::atomic<bool> finished_{false};
    std::thread thread_;  // last: it starts once everything it uses is in place
};

}  // namespace nvx
