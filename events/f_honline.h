// The online event log page: the rows that the panel's unsolicited events decode into, the switch
// that makes the keep-alive listen for events, clearing, and the spreadsheet export.
// DecodeOnlineEvent runs on the link thread and reaches the grid only through the update queue;
// everything else runs on the interface thread, where the export thread also reports its end.
#pragma once

#include <array>
#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "events/ExportXLS.h"
#include "events/OnlineEvent.h"
#include "pages/fIn.h"

namespace nvx {

class TDevVeltra;

class TformHonline : public TformIncl {
public:
    static constexpr const char* kGrid = "StringGrid1";
    static constexpr std::array<int, kOnlineLogColumns> kDefaultWidths{50, 100, 150, 250, 250, 250, 50};
    static constexpr const char* kListenCaption = "Установить связь с панелью";
    static constexpr const char* kStopListeningCaption = "Разорвать связь с панелью";

    // Registers the page as the device's online event decoder.
    explicit TformHonline(TDevVeltra& device);
    // Waits for a running export to complete its file.
    ~TformHonline() override;

    // Link thread: one event as the link cut it out (payload, CR LF, signal value).
    void DecodeOnlineEvent(const std::string& input);

    // btnCon: with a connection, listening on or off.
    void ToggleListening();
    // btnClear: the headers and one empty row.
    void ClearTable();
    // Button1: asks the chooser for a file name and exports into it.
    void SetExportFileChooser(std::function<std::optional<std::filesystem::path>()> chooser);
    // Exports the grid as it is now; refused while an export runs.
    bool StartExport(const std::filesystem::path& file);
    bool Exporting() const { return exporting_; }

    // Brings the listening caption, the filter indicator and the export progress in line with the
    // flags that other commands and threads change.
    void SyncWithDevice();

    // How many times the grid has been cleared: tells a view a cleared grid from a grown one.
    int ClearCount() const { return clears_; }

    int ColumnWidth(std::size_t column) const { return widths_.at(column); }
    void SetColumnWidth(std::size_t column, int width) { widths_.at(column) = width; }
    void LoadState(const IniFile& ini) override;
    void SaveState(IniFile& ini) override;

private:
    void Export();
    void ShowExportOutcome(const std::filesystem::path& file, const ExportOutcome& outcome);
    void SetTextIfChanged(const std::string& control, const std::string& text);

    TDevVeltra& device_;
    std::string lastInput_;  // link thread: the duplicate filter's last input
    std::array<int, kOnlineLogColumns> widths_ = kDefaultWidths;
    int clears_ = 0;
    int subscription_ = 0;
    std::function<std::optional<std::filesystem::path>()> chooseExportFile_;
    bool exporting_ = false;
    std::atomic<std::size_t> exportWritten_{0};
    std::size_t exportTotal_ = 0;
    std::atomic<bool> closing_{false};
    std::unique_ptr<TExportXLS> export_;
};

}  // namespace nvx
