#include "pages/f_GPRS.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <utility>

#include "core/FormStore.h"
#include "device/DevVeltra.h"
#include "device/Protocol.h"
#include "pages/CheckedExchange.h"

namespace nvx {

namespace {

constexpr const char* kReadError = "Ошибка при чтении настроек GPRS!";
constexpr const char* kWriteError = "Ошибка при записи настроек GPRS!";
constexpr const char* kSwitchError = "Ошибка при расшифровке активных SIM!";
constexpr const char* kPauseError = "Ошибка при разборе ответа на запрос таймаута GPRS!";

constexpr const char* kDefaultServer = "0.0.0.0";
constexpr const char* kDefaultPort = "3058";
constexpr const char* kDefaultPassword = "ABCDEFGH";

struct TextSetting {
    const char* command;
    const char* edit;
    const char* label;
};

constexpr TextSetting kDialString{"+GC", "etSIM1Phone", "lbetSIM1Phone"};
constexpr TextSetting kAccessPoint{"+GN", "etSIM1ADDR", "lbetSIM1ADDR"};
constexpr TextSetting kUser{"+GU", "etSIM1LOGIN", "lbetSIM1LOGIN"};
constexpr TextSetting kPassword{"+GP", "etSIM1PSWD", "lbetSIM1PSWD"};
constexpr TextSetting kServer1{"+GS0", "etSIM1IP", "lbetSIM1IP"};
constexpr TextSetting kPort1{"+GG0", "etSIM1Port", "lbetSIM1Port"};
constexpr TextSetting kIdentity1{"+GI0", "etSIM1SPSWD", "lbetSIM1SPSWD"};
constexpr TextSetting kServer2{"+GS1", "etServerAddr2", "lbServerAddr2"};
constexpr TextSetting kPort2{"+GG1", "etServerPort2", "lbServerPort2"};
constexpr TextSetting kIdentity2{"+GI1", "etServerPswd2", "lbServerPswd2"};

// The panel's firmware takes them in these orders: the identification password before the port
// on reading, after it on writing.
constexpr TextSetting kReadOrder[] = {kDialString, kAccessPoint, kUser,    kPassword, kServer1,
                                      kIdentity1,  kPort1,       kServer2, kPort2,    kIdentity2};
constexpr TextSetting kWriteOrder[] = {kDialString, kAccessPoint, kUser,    kPassword, kServer1,
                                       kPort1,      kIdentity1,   kServer2, kPort2,    kIdentity2};

constexpr const char* kSwitchCopy = "cb11";
constexpr const char* kSwitchMark = "lbcb11";
constexpr const char* kPause = "cbTime";
constexpr const char* kPauseMark = "lbGPRSTimeOut";
constexpr const char* kCompression = "cbP";
constexpr const char* kCompressionMark = "lbP";

constexpr int kPauseItems = TformGPRS::kLastPauseMinutes - TformGPRS::kFirstPauseMinutes + 1;

std::string PauseItem(int minutes)
{
    return std::to_string(minutes) + " минут";
}

// Characters, not bytes, of a UTF-8 text.
std::size_t Characters(const std::string& text)
{
    std::size_t count = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80)
            ++count;
    return count;
}

bool IsDigit(char32_t key)
{
    return key >= U'0' && key <= U'9';
}

bool IsLatinLetter(char32_t key)
{
    return (key >= U'A' && key <= U'Z') || (key >= U'a' && key <= U'z');
}

char32_t AcceptIf(char32_t key, bool accepted)
{
    return accepted || key == U'\b' ? key : 0;
}

} // namespace

TformGPRS::TformGPRS() : TformIncl("formGPRS", page_id::kGprs, "Настройка GPRS")
{
    // The switch copy has no default of its own: it follows the channels page's switch.
    form_.add(kSwitchCopy, ControlKind::CheckBox).visible = false;
    form_.add(kSwitchMark, ControlKind::Label, "Включить GPRS (TCP/IP) через SIM").visible = false;

    auto text = [&](const TextSetting& s, const char* caption, const char* defaultValue, int maxLength) {
        form_.add(s.label, ControlKind::Label, caption);
        form_.add(s.edit, ControlKind::Edit, "", defaultValue).maxLength = maxLength;
    };
    form_.add("gbConnection", ControlKind::GroupBox, "Подключение к GPRS");
    text(kDialString, "Номер телефона GPRS", "*99#", 8);
    text(kAccessPoint, "Точка доступа GPRS", "internet", 32);
    text(kUser, "Имя пользователя GPRS", "gprs", 16);
    text(kPassword, "Пароль пользователя GPRS", "gprs", 16);
    form_.add("gbServer", ControlKind::GroupBox, "Сервер мониторинга");
    text(kServer1, "IP адрес сервера 1", kDefaultServer, 16);
    text(kPort1, "Порт сервера 1", kDefaultPort, 5);
    text(kIdentity1, "Пароль для идентификации через GPRS 1", kDefaultPassword, kPasswordLength);
    form_.add("gbReserveServer", ControlKind::GroupBox, "Резервные IP адрес и порт сервера");
    text(kServer2, "IP адрес сервера 2", kDefaultServer, 15);
    text(kPort2, "Порт сервера 2", kDefaultPort, 8);
    text(kIdentity2, "Пароль для идентификации через GPRS 2", kDefaultPassword, kPasswordLength);

    form_.add("gbOptions", ControlKind::GroupBox, "Параметры соединения");
    form_.add(kPauseMark, ControlKind::Label, "Пауза между попытками установить GPRS соединения");
    Control& pause = form_.add(kPause, ControlKind::ComboBox, PauseItem(kFirstPauseMinutes),
                               PauseItem(kFirstPauseMinutes));
    for (int minutes = kFirstPauseMinutes; minutes <= kLastPauseMinutes; ++minutes)
        pause.items.push_back(PauseItem(minutes));
    pause.index = 0;
    form_.add(kCompressionMark, ControlKind::Label, "Режим сжатия данных по GPRS");
    form_.add(kCompression, ControlKind::CheckBox, "", "0");
}

char32_t TformGPRS::DialStringKey(char32_t key)
{
    return AcceptIf(key, IsDigit(key) || key == U'*' || key == U'#' || key == U'+');
}

char32_t TformGPRS::PasswordKey(char32_t key)
{
    return AcceptIf(key, IsDigit(key) || IsLatinLetter(key));
}

void TformGPRS::FillEmptyFields()
{
    auto empty = [&](const TextSetting& s) { return form_.text(s.edit).empty(); };
    auto fillDefault = [&](const TextSetting& s) {
        if (empty(s))
            form_.setText(s.edit, form_.get(s.edit).hint);
    };
    for (const TextSetting& s : {kDialString, kAccessPoint, kUser, kPassword})
        fillDefault(s);
    // A single server serves as its own reserve.
    for (auto [main, reserve] : {std::pair{kServer1, kServer2}, std::pair{kPort1, kPort2}})
        if (!empty(main) && empty(reserve))
            form_.setText(reserve.edit, form_.text(main.edit));
    for (const TextSetting& s : {kServer1, kPort1, kIdentity1, kServer2, kPort2, kIdentity2})
        fillDefault(s);
}

void TformGPRS::LoadState(const IniFile& ini)
{
    LoadGenericState(ini, form_);
}

void TformGPRS::SaveState(IniFile& ini)
{
    SaveGenericState(ini, form_);
}

// Reading.

void TformGPRS::ReadFromDevice(TDevVeltra& device)
{
    if (device.abortState)
        return;
    if (!ReadSteps(device))
        device.Log(kReadError);
}

bool TformGPRS::ReadSteps(TDevVeltra& device)
{
    bool ok = true;
    ReadGprsOnline(device, ok);
    for (const TextSetting& s : kReadOrder) {
        if (device.abortState)
            return ok;
        if (!ReadTextToEdit(device, {&form_, s.edit}, s.command, {&form_, s.label}))
            ok = false;
    }
    if (device.abortState)
        return ok;
    ReadPause(device, ok);
    if (device.abortState)
        return ok;
    ReadCompression(device, ok);
    return ok;
}

void TformGPRS::ReadDecoded(TDevVeltra& device, const std::string& command, const char* markName,
                            const char* error, bool& ok, const std::function<bool(const std::string&)>& apply)
{
    const ControlRef mark{&form_, markName};
    std::string value;
    if (!QueryMarked(device, command, mark, value)) {
        if (Refused(value))
            device.Log(error);
        else
            ok = false;
        return;
    }
    if (!value.empty() && !apply(value)) {
        device.MarkFailed(mark);
        device.Log(error);
        return;
    }
    device.MarkConfirmed(mark);
}

void TformGPRS::ReadGprsOnline(TDevVeltra& device, bool& ok)
{
    ReadDecoded(device, "+GA", kSwitchMark, kSwitchError, ok, [&](const std::string& value) {
        const auto number = ReadHex(value);
        if (number)
            device.Queue().PostBool({&form_, kSwitchCopy}, *number != 0);
        return number.has_value();
    });
}

void TformGPRS::ReadPause(TDevVeltra& device, bool& ok)
{
    ReadDecoded(device, "+GT", kPauseMark, kPauseError, ok, [&](const std::string& value) {
        // Minutes as two digits, then "00".
        const auto minutes = ReadDecimal(value.substr(0, 2));
        if (!minutes || *minutes < kFirstPauseMinutes || *minutes > kLastPauseMinutes)
            return false;
        device.Queue().PostInt({&form_, kPause}, static_cast<int>(*minutes) - kFirstPauseMinutes);
        return true;
    });
}

void TformGPRS::ReadCompression(TDevVeltra& device, bool& ok)
{
    const ControlRef mark{&form_, kCompressionMark};
    std::string value;
    if (!QueryMarked(device, "+P", mark, value)) {
        ok = false;
        return;
    }
    if (!value.empty())
        device.Queue().PostBool({&form_, kCompression}, value == "1");
    device.MarkConfirmed(mark);
}

// Writing.

void TformGPRS::WriteToDevice(TDevVeltra& device)
{
    if (!WriteSteps(device))
        device.Log(kWriteError);
}

bool TformGPRS::PasswordsComplete(TDevVeltra& device)
{
    const bool first = Characters(form_.text(kIdentity1.edit)) >= kPasswordLength;
    const bool second = Characters(form_.text(kIdentity2.edit)) >= kPasswordLength;
    if (!first)
        device.MarkFailed({&form_, kIdentity1.label});
    if (!second)
        device.MarkFailed({&form_, kIdentity2.edit});
    return first && second;
}

bool TformGPRS::WriteSteps(TDevVeltra& device)
{
    if (!PasswordsComplete(device))
        return true; // the red marks say why nothing was written
    // Filled on the interface thread while this thread waits: what is sent below is the filled
    // text, however late the window drains its queue.
    if (!device.Calls().Call([this] { FillEmptyFields(); }, [&device] { return device.LinkStopping(); }))
        return false;
    if (device.abortState)
        return true;
    bool ok = SendMarked(device, std::string("+GA=") + (form_.checked(kSwitchCopy) ? "1" : "0"),
                         {&form_, kSwitchMark});
    for (const TextSetting& s : kWriteOrder) {
        if (device.abortState)
            return ok;
        if (!device.WriteFromEdit({&form_, s.edit}, std::string(s.command) + "=", 0, {&form_, s.label}))
            ok = false;
    }
    if (device.abortState)
        return ok;
    // No item selected writes the first one rather than a pause the list does not offer.
    const int item = std::clamp(form_.index(kPause), 0, kPauseItems - 1);
    char pause[8];
    std::snprintf(pause, sizeof pause, "%02d00", item + kFirstPauseMinutes);
    if (!SendMarked(device, std::string("+GT=") + pause, {&form_, kPauseMark}))
        ok = false;
    if (device.abortState)
        return ok;
    if (!SendMarked(device, std::string("+P=") + (form_.checked(kCompression) ? "1" : "0"),
                    {&form_, kCompressionMark}))
        ok = false;
    return ok;
}

} // namespace nvx
