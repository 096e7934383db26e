#include "cli/Companion.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string_view>
#include <thread>
#include <unistd.h>

#include "cli/PageReport.h"
#include "events/f_history.h"
#include "cli/PageVisits.h"
#include "device/PageDirectory.h"
#include "shell/PageTree.h"
#include "shell/WindowModels.h"

namespace nvx::cli {

namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(5);
constexpr auto kConnectTimeout = std::chrono::seconds(60);

constexpr int kPanelType = 10;
constexpr int kSensorType = 3;

constexpr const char* kConnected = "СОЕДИНЕНИЕ УСТАНОВЛЕНО";
constexpr const char* kLinkError = " # !!! ";
constexpr const char* kReadAllDone = "Чтение всех параметров завершено!";
constexpr const char* kWriteAllDone = "Запись всех параметров завершена!";

std::string DeviceKind(int type)
{
    switch (type) {
    case kPanelType:
        return "панель";
    case kSensorType:
        return "датчик NVX";
    default:
        return "устройство типа " + std::to_string(type);
    }
}

std::string Joined(const std::vector<std::string>& parts, const std::string& separator)
{
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : separator) + part;
    return text;
}

// Sections of pages that write to the device and keep settings in a profile but are missing
// from it. Loading such a profile gives those pages their defaults, and a write would send
// them: for the general settings page the factory master key among them.
std::vector<std::string> MissingPageSections(const IniFile& profile, const std::vector<TformIncl*>& pages)
{
    IniFile probe{std::filesystem::path()}; // never saved: it only shows which sections pages write
    std::vector<std::string> missing;
    const std::vector<int>& written = WriteAllOrder();
    for (TformIncl* page : pages) {
        if (std::find(written.begin(), written.end(), page->PageId()) == written.end())
            continue;
        const std::string& section = page->Form().name();
        page->SaveState(probe);
        if (probe.SectionExists(section) && !profile.SectionExists(section))
            missing.push_back("[" + section + "] «" + page->Caption() + "»");
    }
    return missing;
}

} // namespace

Companion::Companion(Request request, std::ostream& results, Progress& progress,
                     std::function<bool()> interrupted)
    : request_(std::move(request)), results_(results), progress_(progress),
      interrupted_(std::move(interrupted))
{
    session_.SetLogSink([this](const std::string& line) { OnLogLine(line); });
    session_.SetMessageSink([this](const std::string& text) { notices_.push_back(text); });
    session_.Splash().setAction("Button1", [this] {
        established_ = true;
        session_.ConnectionEstablished();
    });
    subscriptions_.emplace_back(session_.Splash(), [this](const std::string& name) {
        if (name == "Panel2")
            OnStatus(session_.Splash().text("Panel2"));
    });
    TFormNVX& sensor = session_.SensorPage();
    subscriptions_.emplace_back(sensor.Form(), [this](const std::string& name) {
        if (name == "RzRichEdit1")
            sensorStateShown_ = true;
    });
    session_.BuildTree();
}

RunOutcome Companion::Run()
{
    RunOutcome outcome = Prepare();
    if (!outcome.ok())
        return outcome;
    outcome = Connect();
    if (!outcome.ok())
        return outcome;
    outcome = CheckDevice();
    if (outcome.ok()) {
        switch (request_.action) {
        case Action::Status:
            outcome = ReportSensor();
            break;
        case Action::PetImmunity:
            outcome = WritePetImmunity();
            break;
        case Action::SaveHistory:
            outcome = SaveHistory();
            break;
        default:
            outcome = RunPageJob();
            break;
        }
    }
    progress_.Activity({});
    session_.Disconnect();
    return outcome;
}

void Companion::OnLogLine(const std::string& line)
{
    if (request_.verbose)
        progress_.Line(line);
    jobLog_.push_back(line);
}

void Companion::OnStatus(const std::string& text)
{
    if (text.empty() || text == lastStatus_)
        return;
    lastStatus_ = text;
    progress_.Line(text);
}

// Everything that can be refused without the device, so that no port is opened in vain.
RunOutcome Companion::Prepare()
{
    if (request_.action == Action::ReadPage || request_.action == Action::WritePage) {
        const int id = request_.pageId;
        if (!session_.Page(id) || FindPageNode(session_.MainForm(), id) < 0)
            return RunOutcome::Failure(ExitCode::Usage,
                                       "Страницы " + std::to_string(id) + " в этой программе нет");
    }
    if (!request_.profile.empty()) {
        RunOutcome loaded = LoadProfile();
        if (!loaded.ok())
            return loaded;
    }
    ApplyChoiceToDialog();
    return RunOutcome::Success();
}

// The pages take the profile's settings: a write sends them, and a read that saves into the
// profile keeps the settings of the pages it did not read.
RunOutcome Companion::LoadProfile()
{
    const std::filesystem::path path = request_.profile;
    std::error_code error;
    const bool exists = std::filesystem::exists(path, error);
    if (request_.Writes() && !exists)
        return RunOutcome::Failure(ExitCode::Usage, "Файл настроек не найден: " + request_.profile);
    profile_.emplace(path);
    if (IniFile::Result loaded = profile_->Load(); !loaded)
        return RunOutcome::Failure(ExitCode::Usage, "Не удалось прочитать файл настроек " + request_.profile +
                                                        ": " + loaded.error);
    if (request_.Writes()) {
        if (const auto missing = MissingPageSections(*profile_, session_.Pages()); !missing.empty())
            return RunOutcome::Failure(ExitCode::Usage,
                                       "В файле настроек " + request_.profile +
                                           " нет страниц: " + Joined(missing, ", ") +
                                           ".\nЗапись отправила бы в устройство их значения по умолчанию; "
                                           "сохраните файл заново: --read-all --profile");
    }
    if (exists)
        session_.LoadConnectionSettings(*profile_);
    return RunOutcome::Success();
}

// The connection dialog holds what the command line chose: a profile's connection keys are
// not used, and a saved profile records the connection that was really made.
void Companion::ApplyChoiceToDialog()
{
    const ConnectionChoice& choice = request_.connection;
    FormModel& dialog = session_.ConnectDialog();
    dialog.setText("ComPorts", choice.portText);
    dialog.setChecked("rb1", !choice.modem);
    dialog.setChecked("rb2", choice.modem);
    dialog.setText("Phones", choice.phone);
    dialog.setText("meMasterKey", choice.masterKey);
}

RunOutcome Companion::Connect()
{
    const std::string port = PortNameOf(request_.connection.portText);
    progress_.Activity("Подключение: " + port);
    session_.BeginConnect(request_.connection);
    const auto deadline = std::chrono::steady_clock::now() + kConnectTimeout;
    auto failed = [&](const std::string& reason) {
        session_.Disconnect(); // also applies what the link queued before it ended
        std::string message =
            lastStatus_.empty() || lastStatus_ == kConnected ? "Нет связи с устройством" : lastStatus_;
        if (!reason.empty())
            message += " (" + reason + ")";
        // The link's own error line says why, for instance why the port did not open.
        for (auto line = jobLog_.rbegin(); line != jobLog_.rend(); ++line)
            if (const auto at = line->find(kLinkError); at != std::string::npos) {
                message += "\n" + line->substr(at + std::string_view(kLinkError).size());
                break;
            }
        return RunOutcome::Failure(ExitCode::Connection, message);
    };
    for (;;) {
        session_.Tick();
        if (established_)
            break;
        if (interrupted_())
            return failed("подключение прервано");
        const TModem* link = session_.Link();
        if (!link || link->Finished())
            return failed({});
        if (std::chrono::steady_clock::now() > deadline)
            return failed("нет соединения за 60 с");
        progress_.Spin();
        std::this_thread::sleep_for(kPollInterval);
    }
    progress_.Activity({});
    return RunOutcome::Success();
}

RunOutcome Companion::CheckDevice()
{
    const int type = session_.Device().publishedType;
    const bool forSensor = request_.action == Action::Status || request_.action == Action::PetImmunity;
    if (forSensor && type != kSensorType)
        return RunOutcome::Failure(ExitCode::WrongDevice,
                                   "Подключено: " + DeviceKind(type) +
                                       ". --status и --pet-immunity работают только с датчиком NVX");
    if (!forSensor && type != kPanelType)
        return RunOutcome::Failure(ExitCode::WrongDevice,
                                   "Подключено: " + DeviceKind(type) +
                                       ". Чтение и запись страниц работают только с панелью");
    return RunOutcome::Success();
}

// The connection has already read the sensor's state onto its page.
RunOutcome Companion::ReportSensor()
{
    if (!sensorStateShown_)
        return RunOutcome::Failure(ExitCode::OperationFailed, "Не удалось прочитать состояние датчика");
    results_ << SensorStateLine(session_.Device().versionString, session_.SensorPage().PetImmune()) << '\n';
    return RunOutcome::Success();
}

// Always writes, also when the sensor already holds the asked state: the installer's request
// is then confirmed by the sensor, not assumed from an earlier read.
RunOutcome Companion::WritePetImmunity()
{
    TFormNVX& page = session_.SensorPage();
    const bool wanted = request_.petImmune;
    session_.SelectPage(page_id::kMotionSensor);
    page.SetPetImmune(wanted);
    StartWatching();
    session_.WritePageCommand();
    // The command touched the page's controls itself; from here on only the write's read-back,
    // which runs in this thread's Tick, shows a state.
    sensorStateShown_ = false;
    const JobEnd end = WaitForJob([] { return std::string("Запись в датчик"); });

    if (sensorStateShown_)
        results_ << SensorStateLine(session_.Device().versionString, page.PetImmune()) << '\n';
    if (end == JobEnd::Interrupted)
        return RunOutcome::Failure(ExitCode::OperationFailed, "Запись прервана");
    if (end == JobEnd::LinkLost)
        return RunOutcome::Failure(ExitCode::OperationFailed, "Связь с датчиком потеряна во время записи");
    // The page reports a refused command or a failed read-back with its own message; without
    // a read-back the page would still show the state that was asked for.
    if (!notices_.empty())
        return RunOutcome::Failure(ExitCode::OperationFailed, Joined(notices_, "\n"));
    if (!sensorStateShown_ || page.PetImmune() != wanted)
        return RunOutcome::Failure(ExitCode::OperationFailed,
                                   "Не удалось записать настройку в датчик: датчик не подтвердил состояние");
    return RunOutcome::Success();
}

RunOutcome Companion::RunPageJob()
{
    const bool reading = request_.Reads();
    const bool all = request_.AllPages();
    std::optional<PageVisits> visits;
    if (all)
        visits.emplace(session_.Pages());
    else
        session_.SelectPage(request_.pageId);
    StartWatching();
    switch (request_.action) {
    case Action::ReadPage:
        session_.ReadPageCommand();
        break;
    case Action::WritePage:
        session_.WritePageCommand();
        break;
    case Action::ReadAll:
        session_.ReadAllCommand();
        break;
    default:
        session_.WriteAllCommand();
        break;
    }
    const std::string verb = reading ? "Чтение" : "Запись";
    const JobEnd end = WaitForJob([&] {
        if (!visits)
            return verb + " страницы " + std::to_string(request_.pageId);
        if (visits->Visited().empty())
            return verb + " всех страниц";
        const TformIncl& page = *visits->Visited().back();
        return verb + " всех страниц: страница " + std::to_string(visits->Visited().size()) + " — " +
               page.Caption();
    });
    progress_.Activity({});

    const std::vector<TformIncl*> shown =
        visits ? visits->Visited() : std::vector<TformIncl*>{session_.Page(request_.pageId)};
    for (const TformIncl* page : shown)
        PrintPage(results_, *page);

    std::vector<std::string> problems;
    if (end == JobEnd::Interrupted)
        problems.push_back(verb + " прервано");
    if (end == JobEnd::LinkLost)
        problems.push_back("Связь с панелью потеряна");
    // Pages read or written along with the requested one mark their controls too.
    for (const TformIncl* page : session_.Pages())
        if (const auto failed = FailedControls(*page); !failed.empty())
            problems.push_back("Страница «" + page->Caption() + "»: ошибка обмена: " + Joined(failed, ", "));
    for (const std::string& message : PageMessages())
        problems.push_back(message);
    const std::string completion = reading ? kReadAllDone : kWriteAllDone;
    bool completed = false;
    for (const std::string& notice : notices_) {
        if (all && notice == completion)
            completed = true;
        else
            problems.push_back(notice);
    }
    if (all && end == JobEnd::Done && !completed)
        problems.push_back(verb + " всех страниц остановлено до конца");
    if (completed)
        progress_.Line(completion);
    if (!problems.empty())
        return RunOutcome::Failure(ExitCode::OperationFailed, Joined(problems, "\n"));
    // A failed read is not saved: the profile would then hold empty values for a later write.
    if (reading && profile_)
        return SaveProfile();
    return RunOutcome::Success();
}

// The whole history, read record by record as the page's text-file job does; a workbook is then
// exported from the records read. A record that cannot be read or checked is marked, not fatal.
RunOutcome Companion::SaveHistory()
{
    auto* history = dynamic_cast<TformHistory*>(session_.Page(page_id::kHistory));
    if (!history || !session_.Link())
        return RunOutcome::Failure(ExitCode::OperationFailed, "Страница истории недоступна");
    const bool workbook = HistoryFileKind(request_.historyFile) == HistoryFile::Workbook;
    const std::filesystem::path target = request_.historyFile;
    const std::filesystem::path text =
        workbook ? std::filesystem::temp_directory_path() / ("nvx-history-" + std::to_string(::getpid()) + ".txt")
                 : target;
    history->SetTextFile(text);
    session_.SelectPage(page_id::kHistory);
    StartWatching();
    session_.Link()->SetJob(TformHistory::kJobTextFile);
    const JobEnd end = WaitForJob([] { return std::string("Чтение истории"); });
    progress_.Activity({});

    std::vector<std::string> problems;
    if (end == JobEnd::Interrupted)
        problems.push_back("Чтение истории прервано");
    if (end == JobEnd::LinkLost)
        problems.push_back("Связь с панелью потеряна");
    for (const std::string& message : PageMessages())
        problems.push_back(message);
    for (const std::string& line : jobLog_)
        if (line.find("Не удалось создать файл") != std::string::npos ||
            line.find("Ошибка записи в файл") != std::string::npos)
            problems.push_back(line);
    if (workbook && problems.empty()) {
        std::string error;
        if (!history->ExportRecordsRead(target, error))
            problems.push_back("Не удалось записать " + target.string() + ": " + error);
    }
    if (workbook) {
        std::error_code ignored;
        std::filesystem::remove(text, ignored);
    }
    if (!problems.empty())
        return RunOutcome::Failure(ExitCode::OperationFailed, Joined(problems, "\n"));
    results_ << "История сохранена: " << target.string() << "\n";
    return RunOutcome::Success();
}

RunOutcome Companion::SaveProfile()
{
    session_.SaveConnectionSettings(*profile_);
    if (IniFile::Result saved = profile_->Save(); !saved)
        return RunOutcome::Failure(ExitCode::OperationFailed, "Не удалось сохранить файл настроек " +
                                                                  request_.profile + ": " + saved.error);
    progress_.Line("Настройки сохранены в " + request_.profile);
    return RunOutcome::Success();
}

void Companion::StartWatching()
{
    jobLog_.clear();
    notices_.clear();
}

// A job is over when the link has set its code back to 0 and what it queued is applied.
Companion::JobEnd Companion::WaitForJob(const std::function<std::string()>& activity)
{
    for (;;) {
        session_.Tick();
        if (interrupted_()) {
            session_.Disconnect();
            return JobEnd::Interrupted;
        }
        const TModem* link = session_.Link();
        if (!link || link->Finished()) {
            session_.Disconnect();
            return JobEnd::LinkLost;
        }
        if (link->Job() == 0) {
            session_.Tick();
            return JobEnd::Done;
        }
        progress_.Activity(activity());
        progress_.Spin();
        std::this_thread::sleep_for(kPollInterval);
    }
}

// A page operation that meets an answer it cannot use ends with its own message in the log,
// "Ошибка при чтении ..." or "Ошибка при записи ..."; link events (" # ...") are not such.
std::vector<std::string> Companion::PageMessages() const
{
    std::vector<std::string> messages;
    for (const std::string& line : jobLog_)
        for (const char* opening : {"Ошибка при чтении", "Ошибка при записи"})
            if (const auto at = line.find(opening);
                at != std::string::npos && line.rfind(" # ", at) == std::string::npos) {
                messages.push_back(line.substr(at));
                break;
            }
    return messages;
}

} // namespace nvx::cli
