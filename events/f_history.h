// The history page: the panel's event log 32 records at a time with paging and a read cache, the text
// file, the spreadsheet exports and the erase. Buttons, exports and state run on the interface thread;
// reads, the text file and the erase on the link thread as device jobs.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "events/HistoryFormats.h"
#include "events/HistoryReadCache.h"
#include "events/MsgFileU.h"
#include "pages/fIn.h"

namespace nvx {

class TformHistory : public TformIncl {
public:
    static constexpr std::uint8_t kJobTextFile = 6;
    static constexpr std::uint8_t kJobBackward = 9;
    static constexpr std::uint8_t kJobForward = 12;
    static constexpr std::uint8_t kJobReadAtPosition = 13;
    static constexpr std::uint8_t kJobErase = 22;

    static constexpr int kPageRecords = 32;
    static constexpr int kGridRows = kPageRecords + 1; // row 0 holds the headers
    static constexpr std::array<int, kHistoryColumnCount> kDefaultWidths{50, 105, 60,  25, 95, 140,
                                                                         40, 40,  210, 40, 40, 40};
    static constexpr const char* kTextFileName = "История.txt";
    static constexpr const char* kWaitingText = "Пожалуйста, подождите. Идет удаление истории...";

    // The waiting window of the erase. The queue shows and hides it with a progress bar's "show" and
    // "hide", the only control commands that do both; the window draws no bar.
    static constexpr const char* kWaitingWindow = "FormWaiting";
    // Progress of a long read in percent, and the button that stops it (the window's stop command).
    static constexpr const char* kProgress = "ProgressBar1";
    static constexpr const char* kStop = "btnAbort";

    enum class Question { Confirmation, Warning };
    // What the page asks the user; the window answers with message boxes, tests with a script.
    struct Dialogs {
        // True when the user agreed: Yes to a confirmation, OK to a warning.
        std::function<bool(Question kind, const std::string& text)> ask;
        // The file an export goes to (SaveDialog1); nothing when the user cancelled.
        std::function<std::optional<std::filesystem::path>()> exportFileName;
    };

    // Registers the page's jobs with the device.
    explicit TformHistory(TDevVeltra& device);
    ~TformHistory() override;

    void SetDialogs(Dialogs dialogs) { dialogs_ = std::move(dialogs); }
    // Where the text-file job writes; "История.txt" in the working folder unless set.
    void SetTextFile(std::filesystem::path file) { textFile_ = std::move(file); }

    // Empties every cell of the open page and writes the headers.
    void Reset();
    void PrepareRead() override { Reset(); }
    // The defaults of this page are its column widths.
    bool HasDefaults() const override { return true; }
    void SetDefaults() override;
    void LoadState(const IniFile& ini) override;
    void SaveState(IniFile& ini) override;

    // Column widths in pixels, as the grid shows them; loading the state and the defaults tell the
    // grid's observers.
    int ColumnWidth(std::size_t column) const { return widths_.at(column); }
    void SetColumnWidth(std::size_t column, int width) { widths_.at(column) = width; }

    // The colours of a grid row from the event table, as 0x00BBGGRR: background, then text.
    std::pair<std::int32_t, std::int32_t> RowColours(const std::vector<std::string>& cells) const;

    // The exports; false with the reason when the file could not be written.
    bool ExportOpenPage(const std::filesystem::path& file, std::string& error) const;
    bool ExportRecordsRead(const std::filesystem::path& file, std::string& error);

    const HistoryReadCache& ReadCache() const { return cache_; }

    // Link thread: the first page, the newest 32 records (the page read of this page).
    void ReadFromDevice(TDevVeltra& device) override;

private:
    // Link thread.
    // Reads the page before (older) or after (newer) the open one.
    void MovePage(bool forward);
    void ReadAtPosition();
    void WriteTextFile();
    void EraseHistory();
    std::optional<std::uint16_t> ReadPosition();
    RecordRead ReadRecord(std::uint16_t number);
    void ReadPage(std::uint16_t first, std::uint16_t end);
    void ShowRecord(int row, std::uint16_t number, const std::optional<std::string>& record);
    void PostPaging(bool enabled);
    std::string ChannelName(int channel) const;
    void AwaitShownChannels();

    // Interface thread.
    void RequestJob(std::uint8_t code);
    void PageButton(std::uint8_t code);
    void ClearPressed();
    void ExportPressed(bool openPage);
    void FillRecordsReadGrid();
    void UpperCasePosition();

    ControlRef Ref(const char* name) { return {&form_, name}; }

    TDevVeltra& device_;
    Dialogs dialogs_;
    std::filesystem::path textFile_{kTextFileName};
    const TMsgFile events_;
    HistoryReadCache cache_;
    std::atomic<std::uint16_t> pageStart_{0};
    std::array<int, kHistoryColumnCount> widths_ = kDefaultWidths;
    int subscription_ = 0;
};

} // namespace nvx
