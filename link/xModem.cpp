#include "link/xModem.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "core/Codec.h"
#include "link/PhoneNumber.h"
#include "serial/XComDrv.h"

namespace nvx {

namespace {

constexpr std::uint32_t kPollMs = 50;
constexpr std::uint32_t kFastPollMs = 10;
constexpr std::uint32_t kJobLoopMs = 250;

std::string Upper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Whether the text holds `wanted` as a whole line (blanks around it aside): "ERR", the device's
// answer to a command it rejects, or the modem's "NO CARRIER" when the line dropped.
bool HasLine(const std::string& text, const std::string& wanted)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        std::string line = text.substr(start, i - start);
        line.erase(0, line.find_first_not_of(" \t"));
        line.erase(line.find_last_not_of(" \t") + 1);
        if (line == wanted)
            return true;
        start = i + 1;
    }
    return false;
}

void PlainSleep(std::uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace

TModem::TModem(LinkOptions options, TLinkClient* device, TOutArray* queue, LinkWindows windows, Clock& clock)
    : options_(std::move(options)), device_(device), queue_(queue), windows_(windows), clock_(clock),
      port_(std::make_unique<TXComm>())
{
    options_.phone = FilterPhoneNumber(options_.phone);
    port_->Buffers().SetInputTimeout(6000);
    port_->Buffers().SetOutputTimeout(6000);
    port_->SetBaudRate(br19200);
    port_->DataControl().SetStopBits(options_.phone.empty() ? sb2 : sb1);
}

TModem::~TModem()
{
    Terminate();
    WaitFor();
}

void TModem::Start()
{
    thread_ = std::thread([this] { Execute(); });
}

void TModem::Terminate()
{
    stopRequested_ = true;
    StopSelf();
}

void TModem::StopSelf()
{
    terminated_ = true;
    wake_.notify_all();
}

void TModem::WaitFor()
{
    if (thread_.joinable())
        thread_.join();
}

void TModem::SetJob(std::uint8_t code)
{
    if (device_)
        device_->abortState = false;
    job_ = code;
    wake_.notify_all();
}

void TModem::SetEventSink(std::function<void(const std::string&)> sink)
{
    eventSink_ = std::move(sink);
}

void TModem::Log(const std::string& text, bool visible, bool timeStamp)
{
    if (queue_)
        queue_->PostLog(text, visible, timeStamp);
}

void TModem::Status(const std::string& text)
{
    if (queue_ && windows_.splash)
        queue_->PostText({windows_.splash, "Panel2"}, text);
}

void TModem::Execute()
{
    Log(" # Поток начал работу");
    job_ = 1;
    while (!port_->IsOpen() && !terminated_)
        OpenPort();
    while (!terminated_) {
        try {
            if (device_)
                device_->RunJob(job_);
        } catch (const std::exception& e) {
            Log(std::string(" # Ошибка в работе: ") + e.what());
            terminated_ = true;
            break;
        }
        // The loop looks at the job code every 250 ms; a new job or a stop wakes it at once.
        std::unique_lock lock(wakeMutex_);
        std::uint8_t seen = job_;
        wake_.wait_for(lock, std::chrono::milliseconds(kJobLoopMs),
                       [&] { return terminated_.load() || job_ != seen; });
    }
    if (dataCallUp_)
        HangUp();
    ClosePort();
    Log(" # Поток завершил работу");
    // A link that ends by itself after its connection was made asks the window to run its
    // disconnect command. Reading the button's state instead could see it disabled by a job's
    // command lock whose release is still in the queue, and leave a dead link looking alive.
    if (queue_ && windows_.mainForm && !stopRequested_ && device_ && device_->connectionEstablished)
        queue_->PostText({windows_.mainForm, "tbtnDisconnect"}, "Click");
    finished_ = true;
}

bool TModem::OpenPort()
{
    ClosePort();
    Status("Открываем COM порт: " + options_.portName);
    try {
        port_->SetBaudRate(br19200);
        port_->SetBaudValue(19200);
        port_->DataControl().SetParity(paNone);
        port_->SetDeviceName(options_.portName);
        port_->SetFlowControl(fcNone);
        port_->Open();
        Log(" # Успешно открыли COM порт: " + options_.portName);
        Status("Успешно открыли COM порт: " + options_.portName);
        return true;
    } catch (const std::exception& e) {
        Log(std::string(" # !!! Ошибка открытия COM порта: ") + e.what());
        Status("Ошибка при открытии COM порта: " + options_.portName);
        StopSelf();
        return false;
    }
}

void TModem::ClosePort()
{
    if (!port_->IsOpen())
        return;
    try {
        port_->Close();
        Log(" # Успешно закрыли COM порт: " + options_.portName);
    } catch (const std::exception& e) {
        Log(std::string(" # !!! Ошибка закрытия COM порта: ") + e.what());
    }
}

void TModem::WriteRaw(const std::string& text)
{
    port_->SendString(ToCp1251(text));
    lastWriteTime_ = clock_.nowMs();
}

std::uint32_t TModem::Remaining(std::uint32_t start, std::uint32_t timeoutMs) const
{
    std::uint32_t elapsed = ElapsedSince(start);
    return elapsed >= timeoutMs ? 1 : timeoutMs - elapsed + 1;
}

void TModem::FillInbox()
{
    std::string raw;
    if (port_->IsOpen()) {
        std::string chunk;
        while (port_->InQueueCount() > 0 && port_->ReceiveString(chunk))
            raw += chunk;
    }
    std::vector<EventLine> events;
    inbox_ += eventFilter_.Feed(FromCp1251(raw), clock_.nowMs(), events);
    for (const EventLine& e : events) {
        Log("GET:[" + e.payload + "], INT:[" + e.signal + "]");
        if (eventSink_)
            eventSink_(e.payload + "\r\n" + e.signal);
    }
}

bool TModem::WaitForInput(std::uint32_t timeoutMs)
{
    if (!port_->IsOpen()) {
        PlainSleep(std::min(timeoutMs, kPollMs));
        return false;
    }
    return port_->WaitReadable(timeoutMs);
}

bool TModem::ReadWith(std::string& text, std::uint32_t timeoutMs, const ReadRule& rule)
{
    text.clear();
    try {
        const std::uint32_t start = NowMilliseconds();
        for (;;) {
            if (rule.stops == StopRule::Always ? terminated_.load()
                                               : rule.stops == StopRule::UnlessHangingUp && Stopping())
                return false;
            FillInbox();
            if (rule.byteWise) {
                // One byte at a time, so that what follows the end stays for the next reader.
                while (!inbox_.empty()) {
                    text += inbox_.front();
                    inbox_.erase(0, 1);
                    if (rule.done(text))
                        return true;
                }
            } else {
                text += inbox_;
                inbox_.clear();
                if (rule.done(text))
                    return true;
            }
            if (ElapsedSince(start) > timeoutMs)
                return false;
            const std::uint32_t pause = std::min(rule.pollMs, Remaining(start, timeoutMs));
            if (rule.wakeOnData)
                WaitForInput(pause);
            else
                Pause(pause);
        }
    } catch (const std::exception& e) {
        Log(std::string(" # !!! Ошибка при чтении данных из COM порта: ") + e.what());
        StopSelf();
        return false;
    }
}

bool TModem::ReadUntil(std::string& text, std::uint32_t timeoutMs, const std::string& terminator)
{
    const std::string wanted = Upper(terminator.empty() ? std::string("\r") : terminator);
    // A rejected command is answered "ERR" instead of "OK", and a dropped line brings "NO CARRIER":
    // end the wait on those too.
    const bool endsOnReject = wanted.rfind("OK", 0) == 0;
    ReadRule rule;
    rule.done = [&](const std::string& got) {
        return Contains(Upper(got), wanted) ||
               (endsOnReject && (HasLine(got, "ERR") || HasLine(got, "NO CARRIER")));
    };
    // A line end alone is no real end of an answer: an echo line would end the wait before the
    // value behind it arrived, so such reads gather a whole poll interval as they always did.
    rule.wakeOnData = wanted != "\r";
    return ReadWith(text, timeoutMs, rule);
}

bool TModem::ReadUntilAny(std::string& text, const std::vector<std::string>& terminators,
                          std::uint32_t timeoutMs)
{
    ReadRule rule;
    rule.byteWise = true;
    rule.stops = StopRule::Always;
    rule.done = [&](const std::string& got) {
        for (const std::string& t : terminators)
            if (Contains(got, t))
                return true;
        return false;
    };
    return ReadWith(text, timeoutMs, rule);
}

bool TModem::ReadAny(std::string& text, std::uint32_t timeoutMs)
{
    ReadRule rule;
    rule.done = [](const std::string& got) { return !got.empty(); };
    return ReadWith(text, timeoutMs, rule);
}

bool TModem::ReadUntilFast(std::string& text, std::uint32_t timeoutMs, const std::string& terminator)
{
    const std::string wanted = Upper(terminator.empty() ? std::string("\r") : terminator);
    ReadRule rule;
    rule.byteWise = true;
    rule.pollMs = kFastPollMs;
    rule.stops = StopRule::Never;
    rule.done = [&](const std::string& got) { return Contains(Upper(got), wanted); };
    return ReadWith(text, timeoutMs, rule);
}

void TModem::Pause(std::uint32_t ms)
{
    std::unique_lock lock(wakeMutex_);
    wake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return Stopping(); });
}

void TModem::Collect(std::uint32_t durationMs, std::string& text)
{
    text.clear();
    const std::uint32_t start = NowMilliseconds();
    while (!Stopping() && ElapsedSince(start) <= durationMs) {
        FillInbox();
        text += inbox_;
        inbox_.clear();
        WaitForInput(std::min(kPollMs, Remaining(start, durationMs)));
    }
}

void TModem::CollectAndLog(std::uint32_t durationMs)
{
    std::string text;
    try {
        Collect(durationMs, text);
    } catch (const std::exception& e) {
        Log(std::string(" # !!! Ошибка при чтении данных из COM порта: ") + e.what());
        StopSelf();
    }
    Log(text, true, false);
}

void TModem::DrainInput()
{
    if (!port_->IsOpen())
        return;
    FillInbox();
    std::string drained;
    drained.swap(inbox_);
    if (!drained.empty()) {
        int code = kOk;
        CheckReply(false, drained, code, ReplyKind::LineWatch);
    }
}

bool TModem::SendCommand(const std::string& command, std::string& answer, bool log, bool raw,
                         bool requireTerminator, const std::string& terminator, std::uint32_t timeoutMs,
                         int attempts)
{
    answer.clear();
    if (!port_->IsOpen())
        return true;
    if (log && attempts == 1)
        Log("-> com: " + command);
    bool failed = true;
    try {
        for (int n = 1; n <= attempts && !Stopping(); ++n) {
            DrainInput();
            failed = true;
            if (Stopping())
                break;
            answer.clear();
            if (attempts > 1 && log) {
                Log(" # Попытка № " + std::to_string(n));
                Log("-> com: " + command);
            }
            WriteRaw(raw ? command : command + "\r");
            bool found = ReadUntil(answer, timeoutMs, terminator);
            if (terminator.empty() && found && Contains(answer, command) && command != "AT" &&
                command != "AT+GMR") {
                // The first line was the device's echo: the answer is the line after it.
                std::size_t lineEnd = answer.find('\r', answer.find(command));
                std::string afterEcho = lineEnd == std::string::npos ? std::string() : answer.substr(lineEnd + 1);
                inbox_.insert(0, afterEcho);
                found = ReadUntil(answer, timeoutMs, terminator);
            }
            if (log && found)
                Log("<- com:  " + answer);
            std::size_t echo = answer.find(command);
            if (echo != std::string::npos)
                answer = answer.substr(echo + command.size());
            // A line that dropped while the device stayed silent shows only in this attempt's text;
            // unwatched, the next attempts would wait their whole time on a dead line.
            if (HasLine(answer, "NO CARRIER")) {
                int code = kOk;
                CheckReply(false, answer, code, ReplyKind::LineWatch);
                return true;
            }
            if (found)
                return false;
            failed = answer.empty() || requireTerminator;
        }
    } catch (const std::exception& e) {
        Log(std::string(" # !!! Ошибка при отправке команды COM порту: ") + e.what());
        StopSelf();
        return true;
    }
    return failed;
}

void TModem::SendNoWait(const std::string& command)
{
    Log("-> com: " + command);
    DrainInput();
    WriteRaw(command + "\r");
}

bool TModem::CheckReply(bool noAnswer, const std::string& text, int& code, ReplyKind kind)
{
    switch (kind) {
    case ReplyKind::Modem:
        if (noAnswer) {
            Log("ОШИБКА! Com - порт не ответил!");
            code = kFailed;
        } else if (Contains(text, "ERROR") || Contains(text, "NO CARRIER") || !Contains(text, "OK")) {
            code = kFailed;
        } else {
            code = kOk;
        }
        break;
    case ReplyKind::Dial:
        if (noAnswer) {
            Log("ОШИБКА! Com - порт не ответил!");
            StopSelf();
            code = kFailed;
        } else if (Contains(text, "CONNECT") && !Contains(text, "ERROR") && !Contains(text, "NO CARRIER")) {
            code = kOk;
        } else {
            Log("ОШИБКА! Не могу установить цифровое соединение!");
            code = kFailed;
        }
        break;
    case ReplyKind::LineWatch:
        if (Contains(text, "NO CARRIER") || Contains(text, "DISCONNECT") || Contains(text, "BUSY")) {
            Log("ОШИБКА! Цифровое соединение разорвано!");
            StopSelf();
            code = kFailed;
        } else if (Contains(text, "ERROR")) {
            if (dataCallUp_)
                StopSelf();
            code = kErrorReported;
        } else {
            code = kOk;
        }
        break;
    }
    return code == kOk;
}

bool TModem::DialModem(int bearer)
{
    if (options_.phone.empty())
        return true;
    try {
        port_->ClrRTS();
    } catch (const std::exception&) {
        // Lines without modem control (adapters, pseudo-terminals) refuse RTS; the modem still works.
    }
    Log("ClrRTS");
    CollectAndLog(500);
    if (options_.rtsPower) {
        try {
            port_->SetRTS();
        } catch (const std::exception&) {
        }
        Log("SetRTS");
    }
    std::string text;
    ReadUntil(text, 7500, "+CPIN: READY");
    Log(text, true, false);

    int code = kOk;
    if (!Stopping()) {
        Status("Инициализация модема: AT");
        std::string answer;
        SendCommand("AT", answer, true, false, false, "", 1000, 1);
        // The answer may come in several lines; read on until the modem has said OK or ERROR.
        const std::uint32_t start = NowMilliseconds();
        while (!Contains(answer, "OK") && !Contains(answer, "ERROR") && !Stopping() &&
               ElapsedSince(start) <= 6000) {
            std::string more;
            if (!ReadUntil(more, 6000 - std::min<std::uint32_t>(6000, ElapsedSince(start)), ""))
                break;
            answer += more;
        }
        CheckReply(answer.empty(), answer, code, ReplyKind::Modem);
        if (code == kFailed) {
            Status("ОШИБКА инициализации модема: AT");
            StopSelf();
        }
    }
    if (!Stopping()) {
        Status("Инициализация модема: ATZ");
        std::string answer;
        SendCommand("ATZ", answer, true, false, false, "", 1000, 1);
    }
    bool bearerUnanswered = false;
    if (!Stopping()) {
        const std::string value = bearer == 1 ? "71" : "7";
        Status("Инициализация модема: AT+CBST=" + value + ",0,1");
        std::string answer;
        bool failed = SendCommand("AT+CBST=" + value + ",0,1", answer, true, false, false, "", 1000, 1);
        bearerUnanswered = failed && answer.empty();
    }
    if (bearerUnanswered) {
        bool registered = false;
        while (!registered && !Stopping()) {
            std::string answer;
            registered = !SendCommand("AT+CREG?", answer, true, false, true, "+CREG: 0,1", 500, 5);
            for (const char* home : {"+CREG: 0, 1", "+CREG: 0, 5", "+CREG: 0,5", "+CREG:0, 5", "+CREG:0,5"})
                registered = registered || Contains(answer, home);
            CollectAndLog(500);
            CollectAndLog(1500);
        }
    }
    if (!Stopping()) {
        const std::string prefix = options_.toneDial ? "ATD " : "ATDP ";
        Status("Набор номера: " + options_.phone);
        std::string answer;
        SendCommand(prefix + options_.phone, answer, true, false, false, "CONNECT", 40000, 1);
        CheckReply(answer.empty(), answer, code, ReplyKind::Dial);
        if (code == kFailed) {
            Status("Не могу дозвониться до: " + options_.phone);
            StopSelf();
        }
    }
    if (!Stopping()) {
        Log(" # Цифровое соединение успешно установленно");
        Status("Цифровое соединение успешно установленно");
        dataCallUp_ = true;
    }
    try {
        DrainInput();
    } catch (const std::exception& e) {
        Log(std::string(" # !!! Ошибка при чтении данных из COM порта: ") + e.what());
        StopSelf();
    }
    if (dataCallUp_ && !Stopping())
        return true;
    StopSelf();
    return false;
}

void TModem::HangUp()
{
    PlainSleep(1000);
    hangingUp_ = true;
    try {
        for (int i = 0; i < 3; ++i) {
            WriteRaw("+");
            PlainSleep(100);
        }
        // A modem takes the escape only after a quiet guard time and then says OK; a command
        // sent earlier would reach the device as data and leave the call up.
        std::string answer;
        ReadUntil(answer, 1500, "OK");
        SendCommand("ATH", answer, true, false, false, "OK", 6000, 1);
        SendCommand("ATZ", answer, true, false, false, "OK", 6000, 1);
    } catch (const std::exception& e) {
        Log(std::string(" # !!! Ошибка при отправке команды COM порту: ") + e.what());
    }
    dataCallUp_ = false;
    try {
        port_->ClrRTS();
    } catch (const std::exception&) {
    }
    Log("ClrRTS");
    CollectAndLog(500);
    hangingUp_ = false;
}

}  // namespace nvx
