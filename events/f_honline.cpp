#include "events/f_honline.h"

#include <exception>

#include "device/DevVeltra.h"
#include "device/PageDirectory.h"

namespace nvx {

namespace {

GridRows EmptyGrid()
{
    std::vector<std::string> headers(kOnlineLogHeaders.begin(), kOnlineLogHeaders.end());
    return {headers, std::vector<std::string>(kOnlineLogColumns)};
}

std::string ExportProgressText(std::size_t written, std::size_t total)
{
    return "Экспорт в Excel: записано " + std::to_string(written) + " из " + std::to_string(total) + " строк";
}

}  // namespace

TformHonline::TformHonline(TDevVeltra& device)
    : TformIncl("formHonline", page_id::kOnlineLog, "Журнал событий online"), device_(device)
{
    form_.add("RzGroupBox1", ControlKind::GroupBox, Caption());
    form_.add("btnCon", ControlKind::Button, kListenCaption).enabled = false;
    form_.add("btnClear", ControlKind::Button, "Очистить таблицу истории");
    form_.add("Button1", ControlKind::Button, "Экспорт истории в Excel");
    form_.add("lbFilter", ControlKind::Label);
    form_.add("lbExport", ControlKind::Label);
    Control& grid = form_.add(kGrid, ControlKind::StringGrid);
    grid.cells = EmptyGrid();
    grid.fixedRows = 1;

    form_.setAction("btnCon", [this] { ToggleListening(); });
    form_.setAction("btnClear", [this] { ClearTable(); });
    form_.setAction("Button1", [this] { Export(); });
    // The connect command resets the listening flag on the device and then enables the button:
    // the caption follows whenever the window's commands switch it.
    subscription_ = form_.subscribe([this](const std::string& name) {
        if (name == "btnCon")
            SyncWithDevice();
    });
    SyncWithDevice();
    device_.SetEventDecoder([this](const std::string& input) { DecodeOnlineEvent(input); });
}

TformHonline::~TformHonline()
{
    device_.SetEventDecoder({});
    // The interface thread waits here, so the export must not wait for it to show the outcome.
    closing_ = true;
    export_.reset();
    form_.unsubscribe(subscription_);
}

void TformHonline::DecodeOnlineEvent(const std::string& input)
{
    try {
        if (device_.filterMode) {
            if (input == lastInput_)
                return;
            lastInput_ = input;
        }
        for (const OnlineEventRow& row : DecodeEventRows(input, OnlineEventTimeNow()))
            device_.Queue().PostRow({&form_, kGrid}, row.GridText());
    } catch (const std::exception& e) {
        // This runs inside every read of the link: one event must never end the connection.
        device_.Log("Ошибка при расшифровке события [" + input + "]: " + e.what());
    }
}

void TformHonline::ToggleListening()
{
    if (!device_.Link())
        return;
    device_.onlineLogConnected = !device_.onlineLogConnected;
    SyncWithDevice();
}

void TformHonline::ClearTable()
{
    ++clears_;
    form_.update(kGrid, [](Control& grid) {
        grid.cells = EmptyGrid();
        grid.cellColors.clear();
        grid.topRow = grid.fixedRows;
        grid.index = grid.fixedRows;
    });
}

void TformHonline::SetExportFileChooser(std::function<std::optional<std::filesystem::path>()> chooser)
{
    chooseExportFile_ = std::move(chooser);
}

void TformHonline::Export()
{
    if (!chooseExportFile_ || Exporting())
        return;
    if (const std::optional<std::filesystem::path> file = chooseExportFile_())
        StartExport(*file);
}

bool TformHonline::StartExport(const std::filesystem::path& file)
{
    if (Exporting())
        return false;
    export_.reset();  // the previous export has reported its end; its thread is done
    // A copy: rows keep arriving while the file is written.
    GridRows rows = form_.get(kGrid).cells;
    exportTotal_ = rows.size();
    exportWritten_ = 0;
    exporting_ = true;
    form_.setEnabled("Button1", false);
    form_.setFontColor("lbExport", "clWindowText");
    form_.setText("lbExport", ExportProgressText(0, exportTotal_));

    ExportReporter reporter;
    reporter.progress = [this](std::size_t written, std::size_t) { exportWritten_ = written; };
    reporter.finished = [this, file](const ExportOutcome& outcome) {
        device_.Calls().Call([this, file, outcome] { ShowExportOutcome(file, outcome); },
                             [this] { return closing_.load(); });
    };
    export_ = std::make_unique<TExportXLS>(std::move(rows), file, std::move(reporter));
    return true;
}

void TformHonline::ShowExportOutcome(const std::filesystem::path& file, const ExportOutcome& outcome)
{
    exporting_ = false;
    form_.setEnabled("Button1", true);
    std::string message;
    if (outcome.saved) {
        message = "Журнал сохранён в файл «" + file.string() + "», строк: " + std::to_string(outcome.rows);
        if (outcome.cellsMarked > 0)
            message += ", ячеек с ошибкой: " + std::to_string(outcome.cellsMarked);
    } else {
        message = "Не удалось сохранить журнал в файл «" + file.string() + "»: " + outcome.error;
    }
    form_.setFontColor("lbExport", outcome.saved ? "clBlue" : "clRed");
    form_.setText("lbExport", message);
}

void TformHonline::SyncWithDevice()
{
    SetTextIfChanged("btnCon", device_.onlineLogConnected ? kStopListeningCaption : kListenCaption);
    SetTextIfChanged("lbFilter", std::string("Режим фильтрации ") + (device_.filterMode ? "включен" : "отключен"));
    if (exporting_)
        SetTextIfChanged("lbExport", ExportProgressText(exportWritten_, exportTotal_));
}

void TformHonline::SetTextIfChanged(const std::string& control, const std::string& text)
{
    if (form_.text(control) != text)
        form_.setText(control, text);
}

void TformHonline::LoadState(const IniFile& ini)
{
    for (std::size_t column = 0; column < widths_.size(); ++column)
        widths_[column] = ini.ReadInteger(form_.name(), "width" + std::to_string(column), kDefaultWidths[column]);
}

void TformHonline::SaveState(IniFile& ini)
{
    for (std::size_t column = 0; column < widths_.size(); ++column)
        ini.WriteInteger(form_.name(), "width" + std::to_string(column), widths_[column]);
}

}  // namespace nvx
