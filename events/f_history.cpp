#include "events/f_history.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <fstream>
#include <thread>

#include "core/Codec.h"
#include "device/DevVeltra.h"
#include "device/PageDirectory.h"
#include "device/Protocol.h"
#include "events/EventMessageTable.h"
#include "events/XlsWorkbook.h"
#include "link/xModem.h"
#include "pages/PanelCommands.h"
#include "pages/f_Ways.h"

namespace nvx {

namespace {

constexpr const char* kGrid = "StringGrid1";
constexpr const char* kRecordsReadGrid = "StringGrid2";
constexpr const char* kPosition = "Edit1";
constexpr const char* kSheetName = "История";
constexpr std::size_t kPositionDigits = 4;

constexpr std::chrono::milliseconds kQueuePollInterval{5};
constexpr std::uint32_t kPositionTimeoutMs = 6000;
constexpr int kPositionAttempts = 3;
constexpr std::uint32_t kRecordTimeoutMs = 9500;
constexpr int kRecordAttempts = 3;
constexpr std::uint32_t kEraseTimeoutMs = 25000;
constexpr int kEraseAttempts = 3;

constexpr const char* kEraseQuestion = "Вы уверены, что хотите стереть историю?";
constexpr const char* kEraseWarning = "Её невозможно будет восстановить!";
constexpr const char* kEraseLastQuestion = "Точно?";
constexpr const char* kEraseFailed = "Ошибка при удалении истории!";

void AddButton(FormModel& form, const char* name, const char* caption, bool visible, bool enabled)
{
    Control& button = form.add(name, ControlKind::Button, caption);
    button.visible = visible;
    button.enabled = enabled;
}

std::vector<std::string> HeaderRow()
{
    return {kHistoryHeaders.begin(), kHistoryHeaders.end()};
}

std::string WidthKey(std::size_t column)
{
    return "width" + std::to_string(column);
}

// Shows the progress of a long read and offers the stop while it runs.
class ProgressScope {
public:
    ProgressScope(TOutArray& queue, FormModel& form) : queue_(queue), form_(form)
    {
        queue_.PostInt({&form_, TformHistory::kProgress}, 0);
        queue_.PostText({&form_, TformHistory::kProgress}, "show");
        queue_.PostBool({&form_, TformHistory::kStop}, true);
    }
    ~ProgressScope()
    {
        queue_.PostText({&form_, TformHistory::kProgress}, "hide");
        queue_.PostBool({&form_, TformHistory::kStop}, false);
    }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

    void Show(std::size_t done, std::size_t total)
    {
        const int percent = total == 0 ? 100 : static_cast<int>(done * 100 / total);
        if (percent != shown_)
            queue_.PostInt({&form_, TformHistory::kProgress}, percent);
        shown_ = percent;
    }

private:
    TOutArray& queue_;
    FormModel& form_;
    int shown_ = 0;
};

// Runs `atEnd` however the scope is left, errors included.
template <class AtEnd> class Finally {
public:
    explicit Finally(AtEnd atEnd) : atEnd_(std::move(atEnd)) {}
    ~Finally() { atEnd_(); }
    Finally(const Finally&) = delete;
    Finally& operator=(const Finally&) = delete;

private:
    AtEnd atEnd_;
};

} // namespace

TformHistory::TformHistory(TDevVeltra& device)
    : TformIncl("formHistory", page_id::kHistory, "История"), device_(device),
      events_(LoadEventMessageTable())
{
    Control& grid = form_.add(kGrid, ControlKind::StringGrid);
    grid.fixedRows = 1;
    grid.visibleRows = kGridRows;
    AddButton(form_, "btnBackward", "< Назад", true, false);
    AddButton(form_, "Button2", "Вперед >", true, false);
    AddButton(form_, "Button1", "Экспорт в Excel открытой страницы истории", true, true);
    AddButton(form_, "Button3", "Экспорт в Excel истории, прочитанной за данный сеанс связи", true, true);
    AddButton(form_, "btnClear", "Очистить", true, false);
    AddButton(form_, "btnStart", "Start", false, true);
    AddButton(form_, "Button4", "+fer", false, true);
    Control& position = form_.add(kPosition, ControlKind::Edit);
    position.maxLength = static_cast<int>(kPositionDigits);
    position.visible = false;
    form_.add(kRecordsReadGrid, ControlKind::StringGrid).visible = false;

    Control& progress = form_.add(kProgress, ControlKind::ProgressBar);
    progress.visible = false;
    progress.maximum = 100;
    AddButton(form_, kStop, "Остановить", true, false);
    form_.add(kWaitingWindow, ControlKind::ProgressBar, kWaitingText).visible = false;

    form_.setAction("btnBackward", [this] { PageButton(kJobBackward); });
    form_.setAction("Button2", [this] { PageButton(kJobForward); });
    form_.setAction("Button4", [this] { PageButton(kJobReadAtPosition); });
    form_.setAction("btnStart", [this] { RequestJob(kJobTextFile); });
    form_.setAction("btnClear", [this] { ClearPressed(); });
    form_.setAction("Button1", [this] { ExportPressed(true); });
    form_.setAction("Button3", [this] { ExportPressed(false); });
    form_.setAction(kStop, [this] { device_.abortState = true; });
    subscription_ = form_.subscribe([this](const std::string& name) {
        if (name == kPosition)
            UpperCasePosition();
    });
    Reset();

    device.RegisterJob(kJobBackward, [this] { MovePage(false); });
    device.RegisterJob(kJobForward, [this] { MovePage(true); });
    device.RegisterJob(kJobReadAtPosition, [this] { ReadAtPosition(); });
    device.RegisterJob(kJobTextFile, [this] { WriteTextFile(); });
    // The erase ends the link, which leaves its job code as it is.
    const auto erase = [this] { EraseHistory(); };
    device.RegisterJob(kJobErase, erase, false);
}

TformHistory::~TformHistory()
{
    form_.unsubscribe(subscription_);
}

// ---- interface thread ----

void TformHistory::Reset()
{
    form_.update(kGrid, [](Control& grid) {
        grid.cells.assign(kGridRows, std::vector<std::string>(kHistoryColumnCount));
        grid.cells[0] = HeaderRow();
        grid.topRow = grid.fixedRows;
        grid.index = grid.fixedRows;
    });
}

void TformHistory::SetDefaults()
{
    widths_ = kDefaultWidths;
    form_.update(kGrid, [](Control&) {});
}

void TformHistory::LoadState(const IniFile& ini)
{
    const std::string& section = form_.name();
    form_.setVisible("btnStart", ini.ReadString(section, "HistoryInFile", "0") == "1");
    const bool positionShown = ini.ReadString("FormNSPoint", "nspoint", "") == "1";
    form_.setVisible("Button4", positionShown);
    form_.setVisible(kPosition, positionShown);
    for (std::size_t column = 0; column < widths_.size(); ++column)
        widths_[column] = ini.ReadInteger(section, WidthKey(column), kDefaultWidths[column]);
    form_.update(kGrid, [](Control&) {});
}

void TformHistory::SaveState(IniFile& ini)
{
    const std::string& section = form_.name();
    ini.WriteString(section, "HistoryInFile", form_.visible("btnStart") ? "1" : "0");
    for (std::size_t column = 0; column < widths_.size(); ++column)
        ini.WriteInteger(section, WidthKey(column), widths_[column]);
}

std::pair<std::int32_t, std::int32_t> TformHistory::RowColours(const std::vector<std::string>& cells) const
{
    if (cells.size() <= kColAlarmRestore || cells[kColEventCode].empty() || cells[kColAlarmRestore].empty())
        return {TMsgFile::kWhite, TMsgFile::kBlack};
    const std::string key = cells[kColEventCode] + (cells[kColAlarmRestore] == kRestoreText ? "3" : "1");
    return {events_.BackColorOf(key), events_.TextColorOf(key)};
}

void TformHistory::RequestJob(std::uint8_t code)
{
    if (TModem* link = device_.Link())
        link->SetJob(code);
}

void TformHistory::PageButton(std::uint8_t code)
{
    Reset();
    RequestJob(code);
}

void TformHistory::ClearPressed()
{
    if (device_.Link()) {
        const auto agreed = [this](Question kind, const char* text) {
            return dialogs_.ask && dialogs_.ask(kind, text);
        };
        if (agreed(Question::Confirmation, kEraseQuestion) && agreed(Question::Warning, kEraseWarning) &&
            agreed(Question::Confirmation, kEraseLastQuestion))
            RequestJob(kJobErase);
    }
    cache_.Clear();
    Reset();
}

void TformHistory::UpperCasePosition()
{
    std::string text = form_.text(kPosition);
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (text != form_.text(kPosition))
        form_.setText(kPosition, text);
}

namespace {

bool WriteGrid(const Control& grid, const std::filesystem::path& file, std::string& error)
{
    XlsWorkbook book;
    const std::optional<std::size_t> sheet = book.AddSheet(kSheetName, &error);
    if (!sheet)
        return false;
    for (std::size_t row = 0; row < grid.cells.size(); ++row)
        for (std::size_t column = 0; column < grid.cells[row].size(); ++column)
            if (!book.SetText(*sheet, static_cast<std::uint32_t>(row), static_cast<std::uint32_t>(column),
                              grid.cells[row][column], &error))
                return false;
    return book.Save(file, &error);
}

} // namespace

bool TformHistory::ExportOpenPage(const std::filesystem::path& file, std::string& error) const
{
    return WriteGrid(form_.get(kGrid), file, error);
}

void TformHistory::FillRecordsReadGrid()
{
    // The copy keeps the export apart from a read that is filling the cache meanwhile.
    const std::vector<HistoryReadCache::Entry> records = cache_.Snapshot();
    const ChannelNamer channelName = [this](int channel) { return ChannelName(channel); };
    std::vector<std::vector<std::string>> cells;
    cells.reserve(records.size() + 1);
    cells.push_back(HeaderRow());
    for (const HistoryReadCache::Entry& entry : records) {
        const auto row = ExportedRecordRow(entry.number, entry.record, channelName, events_);
        cells.emplace_back(row.begin(), row.end());
    }
    form_.update(kRecordsReadGrid, [&](Control& grid) { grid.cells = std::move(cells); });
}

bool TformHistory::ExportRecordsRead(const std::filesystem::path& file, std::string& error)
{
    FillRecordsReadGrid();
    return WriteGrid(form_.get(kRecordsReadGrid), file, error);
}

void TformHistory::ExportPressed(bool openPage)
{
    const std::optional<std::filesystem::path> file =
        dialogs_.exportFileName ? dialogs_.exportFileName() : std::nullopt;
    if (!file)
        return;
    std::string error;
    if (openPage ? ExportOpenPage(*file, error) : ExportRecordsRead(*file, error))
        return;
    const std::string message = "Не удалось сохранить файл " + file->string() + ": " + error;
    device_.Queue().PostLog(message);
    device_.Queue().PostNotice(message);
}

// ---- link thread ----

std::string TformHistory::ChannelName(int channel) const
{
    const auto* ways = dynamic_cast<const TformWays*>(device_.Pages().Find(page_id::kChannels));
    return ways ? ways->ChannelShortName(channel) : std::string();
}

void TformHistory::AwaitShownChannels()
{
    // The channels page shows what it read through the queue, and its names are read from what it
    // shows: they are current once the interface thread has applied everything queued so far.
    while (!device_.Queue().Empty()) {
        if (device_.LinkStopping())
            return;
        std::this_thread::sleep_for(kQueuePollInterval);
    }
    device_.Calls().Call([] {}, [this] { return device_.LinkStopping(); });
}

void TformHistory::PostPaging(bool enabled)
{
    device_.Queue().PostBool(Ref("btnBackward"), enabled);
    device_.Queue().PostBool(Ref("Button2"), enabled);
}

std::optional<std::uint16_t> TformHistory::ReadPosition()
{
    for (int attempt = 0; attempt < kPositionAttempts; ++attempt) {
        std::string value;
        if (device_.Exchange("+FP", value, true, "OK", kPositionTimeoutMs, kPositionAttempts))
            if (const auto position = ParseHistoryPosition(value))
                return position;
        if (device_.abortState || device_.LinkStopping())
            break;
    }
    return std::nullopt;
}

RecordRead TformHistory::ReadRecord(std::uint16_t number)
{
    RecordRead read;
    for (int attempt = 0; attempt < kRecordAttempts; ++attempt) {
        std::string value;
        const bool answered = device_.Exchange(RecordCommand(number), value, true, "OK", kRecordTimeoutMs, 1);
        read.received = value;
        if (answered)
            if ((read.record = AcceptedRecord(value)))
                return read;
        // A broken line or the user's stop: the record stays an error and the caller stops.
        if (device_.abortState || device_.LinkStopping())
            break;
    }
    return read;
}

void TformHistory::ShowRecord(int row, std::uint16_t number, const std::optional<std::string>& record)
{
    TOutArray& queue = device_.Queue();
    const ControlRef grid = Ref(kGrid);
    if (!record) {
        queue.PostCell(grid, std::string(kErrorText), row, kColAccount);
        return;
    }
    HistoryRow decoded =
        DecodeHistoryRecord(number, *record, [this](int channel) { return ChannelName(channel); });
    FillEventText(decoded, events_);
    for (std::size_t column = 0; column < kHistoryColumnCount; ++column)
        queue.PostCell(grid, decoded.cells[column], row, static_cast<int>(column));
}

void TformHistory::ReadPage(std::uint16_t first, std::uint16_t end)
{
    ProgressScope progress(device_.Queue(), form_);
    const std::size_t total = static_cast<std::uint16_t>(end - first);
    std::size_t done = 0;
    int row = kPageRecords;
    for (std::uint16_t number = first; number != end && row > 0; ++number, --row) {
        std::optional<std::string> record = cache_.Find(number);
        if (!record) {
            record = ReadRecord(number).record;
            if (record)
                cache_.Insert(number, *record);
        }
        ShowRecord(row, number, record);
        progress.Show(++done, total);
        if (device_.abortState || device_.LinkStopping())
            return;
    }
}

void TformHistory::ReadFromDevice(TDevVeltra& device)
{
    if (device.currentPage.load() != this)
        return;
    PostPaging(false);
    Finally enablePaging([this] { PostPaging(true); });
    cache_.Clear();
    cache_.BeginRead(HistoryReadCache::InsertMode::Front);
    // The channel names of the delivery paths are those the panel holds now.
    if (IDevicePage* channels = device.Pages().Find(page_id::kChannels)) {
        channels->ReadFromDevice(device);
        AwaitShownChannels();
    }
    if (device.abortState || device.LinkStopping())
        return;
    const std::optional<std::uint16_t> position = ReadPosition();
    if (!position)
        return;
    device.historyPosition = *position;
    const auto start = static_cast<std::uint16_t>(*position - kPageRecords);
    pageStart_ = start;
    ReadPage(start, *position);
}

void TformHistory::MovePage(bool forward)
{
    device_.LockCommands();
    PostPaging(false);
    // Without a position (no first page on this connection) there is nothing to page through.
    const bool positioned = device_.historyPosition != -1;
    Finally unlock([this, positioned] {
        if (positioned)
            PostPaging(true);
        device_.UnlockCommands();
    });
    if (!positioned)
        return;
    // Older records go below the open page, newer ones above it.
    cache_.BeginRead(forward ? HistoryReadCache::InsertMode::Front : HistoryReadCache::InsertMode::End);
    const auto newStart = static_cast<std::uint16_t>(forward ? pageStart_ + kPageRecords : pageStart_ - kPageRecords);
    ReadPage(newStart, static_cast<std::uint16_t>(newStart + kPageRecords));
    pageStart_ = newStart;
}

void TformHistory::ReadAtPosition()
{
    device_.LockCommands();
    PostPaging(false);
    Finally unlock([this] {
        PostPaging(true);
        device_.UnlockCommands();
    });
    cache_.Clear();
    cache_.BeginRead(HistoryReadCache::InsertMode::Front);
    const std::string text = TrimControl(form_.text(kPosition));
    const std::optional<std::uint32_t> position =
        text.size() <= kPositionDigits ? ReadHex(text) : std::nullopt;
    if (!position)
        return;
    device_.historyPosition = static_cast<int>(*position);
    const auto start = static_cast<std::uint16_t>(*position - kPageRecords);
    pageStart_ = start;
    ReadPage(start, static_cast<std::uint16_t>(*position));
}

void TformHistory::WriteTextFile()
{
    device_.abortState = false;
    device_.LockCommands();
    Finally unlock([this] { device_.UnlockCommands(); });
    std::ofstream file(textFile_, std::ios::binary | std::ios::trunc);
    if (!file) {
        device_.Log("Не удалось создать файл " + textFile_.string());
        return;
    }
    ProgressScope progress(device_.Queue(), form_);
    const std::optional<std::uint16_t> position = ReadPosition();
    if (!position)
        return;
    const ChannelNamer channelName = [this](int channel) { return ChannelName(channel); };
    // What the file holds is also what was read: the records-read export can follow it.
    cache_.Clear();
    cache_.BeginRead(HistoryReadCache::InsertMode::End);
    for (int number = *position - 1; number >= 0; --number) {
        const auto record = static_cast<std::uint16_t>(number);
        const RecordRead read = ReadRecord(record);
        if (read.record)
            cache_.Insert(record, *read.record);
        file << ToCp1251(HistoryTextLine(record, read, channelName)) << "\r\n"
             << ToCp1251(read.received) << "\r\n";
        progress.Show(static_cast<std::size_t>(*position - number), *position);
        if (device_.abortState || device_.LinkStopping())
            break;
    }
    file.flush();
    if (!file)
        device_.Log("Ошибка записи в файл " + textFile_.string());
}

void TformHistory::EraseHistory()
{
    TOutArray& queue = device_.Queue();
    device_.LockCommands();
    queue.PostText(Ref(kWaitingWindow), "show");
    // Whatever happens on the way, the window goes, the commands come back and the link is let go.
    Finally finish([this, &queue] {
        queue.PostText(Ref(kWaitingWindow), "hide");
        device_.UnlockCommands();
        if (FormModel* window = device_.MainWindow())
            queue.PostText({window, "tbtnDisconnect"}, "Click");
    });
    std::string value;
    if (!device_.Exchange("+FH", value, true, "OK\r", kEraseTimeoutMs, kEraseAttempts) || value == "ERR")
        device_.Log(kEraseFailed);
    RestartPanel(device_);
}

} // namespace nvx
