#include "device/DevVeltra.h"

#include <cstdio>

#include "device/Protocol.h"
#include "link/xModem.h"

namespace nvx {

namespace {

constexpr const char* kPendingColour = "clWindowText";
constexpr const char* kConfirmedColour = "clBlue";
constexpr const char* kFailedColour = "clRed";

}  // namespace

TDevVeltra::TDevVeltra(TOutArray& queue, Clock& clock) : queue_(queue), clock_(clock)
{
    converterTime_ = clock_.nowMs();
}

void TDevVeltra::SetWindows(FormModel* mainForm, FormModel* splash)
{
    mainForm_ = mainForm;
    splash_ = splash;
}

void TDevVeltra::RegisterJob(std::uint8_t code, std::function<void()> operation, bool resetsCode)
{
    jobs_[code] = {std::move(operation), resetsCode};
}

bool TDevVeltra::LinkStopping() const
{
    TModem* link = link_;
    return link == nullptr || link->Stopping();
}

void TDevVeltra::SetMasterKeyText(const std::string& text)
{
    std::lock_guard lock(masterKeyMutex_);
    masterKeyText_ = text;
}

void TDevVeltra::Log(const std::string& text)
{
    queue_.PostLog(text);
}

void TDevVeltra::MarkPending(const ControlRef& control)
{
    if (control.form)
        queue_.PostColor(control, kPendingColour);
}

void TDevVeltra::MarkConfirmed(const ControlRef& control)
{
    if (control.form)
        queue_.PostColor(control, kConfirmedColour);
}

void TDevVeltra::MarkFailed(const ControlRef& control)
{
    if (control.form)
        queue_.PostColor(control, kFailedColour);
}

bool TDevVeltra::Exchange(const std::string& command, std::string& value, bool log,
                          const std::string& terminator, std::uint32_t timeoutMs, int attempts)
{
    value.clear();
    if (LinkStopping())
        return false;
    TModem& link = *link_;
    std::string answer;
    int code = TModem::kOk;
    if (link.SendCommand(command, answer, log, false, true, terminator, timeoutMs, attempts)) {
        link.CheckReply(false, answer, code, ReplyKind::LineWatch);
        return false;
    }
    if (link.CheckReply(false, answer, code, ReplyKind::LineWatch)) {
        value = Payload(answer);
        return true;
    }
    abortState = true;
    return false;
}

bool TDevVeltra::QueryNoError(const std::string& command, std::string& value)
{
    Exchange(command, value, false, "", 30000, 3);
    return value.find("ERR") == std::string::npos;
}

bool TDevVeltra::QueryOK(const std::string& command, std::string& value)
{
    return Exchange(command, value, false, "OK", 30000, 3);
}

bool TDevVeltra::ExchangeMarked(const std::string& command, const ControlRef& marked, std::string& value)
{
    value.clear();
    MarkPending(marked);
    if (LinkStopping()) {
        MarkFailed(marked);
        return false;
    }
    TModem& link = *link_;
    std::string answer;
    int code = TModem::kOk;
    if (link.SendCommand(command, answer, true, false, true, "OK", 6000, 3)) {
        MarkFailed(marked);
        link.CheckReply(false, answer, code, ReplyKind::LineWatch);
        return false;
    }
    if (link.CheckReply(false, answer, code, ReplyKind::LineWatch)) {
        value = Payload(answer);
        MarkConfirmed(marked);
        return true;
    }
    MarkFailed(marked);
    return false;
}

namespace {

// One set of a repeated exchange: the send and the line watch, without touching the abort state.
bool ExchangeSet(TModem& link, const std::string& command, int attempts, std::string& value)
{
    std::string answer;
    int code = TModem::kOk;
    bool failed = link.SendCommand(command, answer, true, false, true, "OK", 6000, attempts);
    bool lineOk = link.CheckReply(false, answer, code, ReplyKind::LineWatch);
    if (failed || !lineOk) {
        value.clear();
        return false;
    }
    value = Payload(answer);
    return true;
}

}  // namespace

bool TDevVeltra::ReadValue(const std::string& command, std::string& value)
{
    value.clear();
    for (int set = 0; set < 3 && !LinkStopping(); ++set)
        if (ExchangeSet(*link_, command, 3, value))
            return true;
    return false;
}

bool TDevVeltra::WriteValue(const std::string& command)
{
    std::string value;
    for (int set = 0; set < 3 && !LinkStopping(); ++set)
        if (ExchangeSet(*link_, command, 1, value))
            return true;
    return false;
}

namespace {

// The front the edit readers share: the mark goes pending, the query watches for a refusal line.
// True with the trimmed value when the device answered; false (marked failed) otherwise, with the
// value of an answer that failed the check, so a refusal can be told apart from silence.
bool QueryForEdit(TDevVeltra& device, const std::string& command, const ControlRef& marked, std::string& value)
{
    value.clear();
    device.MarkPending(marked);
    TModem* link = device.Link();
    if (device.LinkStopping() || !link) {
        device.MarkFailed(marked);
        return false;
    }
    std::string answer;
    int code = TModem::kOk;
    if (link->SendCommand(command, answer, true, false, false, "OK", 6000, 3)) {
        device.MarkFailed(marked);
        return false;
    }
    if (!link->CheckReply(false, answer, code, ReplyKind::LineWatch)) {
        device.MarkFailed(marked);
        value = Payload(answer);
        return false;
    }
    value = TrimControl(Payload(answer));
    return true;
}

}  // namespace

bool TDevVeltra::ReadToEdit(const ControlRef& edit, const std::string& command, const ControlRef& marked,
                            std::string& value)
{
    if (!QueryForEdit(*this, command, marked, value))
        return false;
    if (edit.form)
        queue_.PostText(edit, value);
    MarkConfirmed(marked);
    return true;
}

bool TDevVeltra::ReadHexToEdit(const ControlRef& edit, const std::string& command, const ControlRef& marked)
{
    std::string value;
    if (!QueryForEdit(*this, command, marked, value))
        return false;
    const auto number = ReadHex(value);
    if (!number) {
        MarkFailed(marked);
        return false;
    }
    if (edit.form)
        queue_.PostText(edit, std::to_string(*number));
    MarkConfirmed(marked);
    return true;
}

namespace {

// A write the device refused ("ERR") is a failure even though the exchange was answered:
// these helpers hand no value back, so the page could not tell otherwise.
bool WriteAnswered(TModem& link, const std::string& command, const std::string& terminator)
{
    std::string answer;
    int code = TModem::kOk;
    if (link.SendCommand(command, answer, true, false, false, terminator, 6000, 3))
        return false;
    if (!link.CheckReply(false, answer, code, ReplyKind::LineWatch))
        return false;
    return Payload(answer) != "ERR";
}

// The first run of decimal digits of a text.
std::string FirstDigits(const std::string& text)
{
    std::size_t b = text.find_first_of("0123456789");
    if (b == std::string::npos)
        return {};
    std::size_t e = text.find_first_not_of("0123456789", b);
    return text.substr(b, e == std::string::npos ? std::string::npos : e - b);
}

}  // namespace

bool TDevVeltra::WriteFromEdit(const ControlRef& edit, const std::string& prefix, int width,
                               const ControlRef& marked)
{
    MarkPending(marked);
    const std::string text = edit.form ? edit.form->text(edit.name) : std::string();
    std::string command = prefix;
    if (width <= 0) {
        command += text;
    } else {
        auto number = ReadDecimal(TrimControl(text));
        if (!number) {
            MarkFailed(marked);
            return false;
        }
        char digits[16];
        std::snprintf(digits, sizeof digits, "%0*u", width, *number);
        command += digits;
    }
    if (LinkStopping() || !WriteAnswered(*link_, command, "OK\r")) {
        MarkFailed(marked);
        return false;
    }
    MarkConfirmed(marked);
    return true;
}

bool TDevVeltra::WriteHexFromEdit(const ControlRef& edit, const std::string& prefix, int digits,
                                  const ControlRef& marked)
{
    MarkPending(marked);
    const std::string text = edit.form ? edit.form->text(edit.name) : std::string();
    const bool masked = edit.form && edit.form->get(edit.name).kind == ControlKind::MaskEdit;
    auto number = ReadDecimal(masked ? FirstDigits(text) : TrimControl(text));
    if (!number) {
        MarkFailed(marked);
        return false;
    }
    if (LinkStopping() || !WriteAnswered(*link_, prefix + WriteHex(*number, digits), "OK")) {
        MarkFailed(marked);
        return false;
    }
    queue_.PostText(edit, text);
    MarkConfirmed(marked);
    return true;
}

void TDevVeltra::PostPageButtons(bool enabled)
{
    // Only pages that exist get the command; the others are not built in this program.
    auto post = [&](int pageId, const std::string& name) {
        ControlRef control = pages_.Control(pageId, name);
        if (control.form && control.form->has(name))
            queue_.PostBool(control, enabled);
    };
    post(page_id::kHistory, "btnClear");
    post(page_id::kRadioSettings, "btnClearSystem");
    for (int i = 1; i <= 16; ++i)
        post(page_id::kKeyfobs, "btnAdd" + std::to_string(i));
    for (int i = 1; i <= 32; ++i)
        post(page_id::kRadioSensors, "btnAdd" + std::to_string(i));
}

void TDevVeltra::PostMenus(bool enabled)
{
    for (const char* name : {"mnuFile", "mnuConnections", "mnuProperties", "mnuHelp", "mnuUpdate", "N4"})
        queue_.PostComp({mainForm_, name}, enabled ? "true" : "false");
}

void TDevVeltra::LockCommands()
{
    if (mainForm_) {
        for (const char* name : {"tv1", "tbtnDisconnect", "tbtnRead", "tbtnWrite", "tbtnReadAll", "tbtnWriteAll",
                                 "tbtnDefault", "tbtnDefaultAll"})
            queue_.PostBool({mainForm_, name}, false);
        PostMenus(false);
    }
    PostPageButtons(false);
}

void TDevVeltra::UnlockCommands()
{
    if (mainForm_) {
        queue_.PostBool({mainForm_, "tbtnDisconnect"}, true);
        IDevicePage* page = currentPage;
        int id = page ? page->PageId() : 0;
        if (id != page_id::kSignalTable && id != page_id::kOnlineLog) {
            queue_.PostBool({mainForm_, "tbtnWrite"}, true);
            queue_.PostBool({mainForm_, "tbtnRead"}, true);
        }
        if (deviceType == 10) {
            queue_.PostBool({mainForm_, "tbtnReadAll"}, true);
            queue_.PostBool({mainForm_, "tbtnWriteAll"}, true);
            queue_.PostBool({mainForm_, "tv1"}, true);
        }
        queue_.PostBool({mainForm_, "tbtnDefault"}, true);
        queue_.PostBool({mainForm_, "tbtnDefaultAll"}, true);
        PostMenus(true);
    }
    PostPageButtons(true);
}

void TDevVeltra::Publish()
{
    publishedType = deviceType;
    publishedVersion = firmwareVersion;
}

}  // namespace nvx
