// The connect job, the master-key authorisation and the keep-alive of the device object.
#include <cstdio>

#include "device/DevVeltra.h"
#include "device/FactoryDefaults.h"
#include "device/Protocol.h"
#include "link/xModem.h"

namespace nvx {

namespace {

constexpr std::int64_t kKeepAliveQuietMs = 25000;
constexpr std::int64_t kConverterPeriodMs = 2000;

}  // namespace

std::string ModeText(const std::string& value)
{
    if (value.find('1') != std::string::npos)
        return "Добавления датчиков";
    if (value.find('3') != std::string::npos)
        return "Добавления брелков";
    return "Рабочий";
}

void TDevVeltra::SetStatus(const std::string& text)
{
    if (splash_)
        queue_.PostText({splash_, "Panel2"}, text);
}

void TDevVeltra::StopLink()
{
    if (TModem* link = link_)
        link->StopSelf();
}

bool TDevVeltra::RunOnInterfaceThread(const std::function<void()>& step)
{
    return calls_.Call(step, [this] { return LinkStopping(); });
}

bool TDevVeltra::Authorise(const std::string& masterKeyText, std::string& reason)
{
    try {
        auto key = ReadDecimal(TrimControl(masterKeyText));
        if (!key)
            key = ReadDecimal(kFactoryMasterKey);
        char digits[16];
        std::snprintf(digits, sizeof digits, "%04u", *key);
        TModem& link = *link_;
        Log(std::string("Авторизация: +id=") + digits);
        link.WriteRaw(std::string("+id=") + digits + "\r");
        std::string answer;
        link.ReadUntilAny(answer, {"OK", "ERR", "IGN"}, 6000);
        Log("Ответ: " + answer);
        if (answer.find("OK") != std::string::npos)
            return true;
        if (answer.find("ERR") != std::string::npos)
            reason = "Неверный мастер-ключ!";
        else if (answer.find("IGN") != std::string::npos)
            reason = "Команды будут игнорироваться минуту!";
        else
            reason = "Нет ответа от панели";
        return false;
    } catch (const std::exception&) {
        reason = "Нет ответа от панели";
        return false;
    }
}

void TDevVeltra::Connect()
{
    TModem& link = *link_;
    connectionEstablished = false;
    dkSelector = 1;
    if (!link.DialModem(0)) {
        StopLink();
        FinishConnect();
        return;
    }
    SetStatus("Идёт проверка версии!");
    std::string value;
    Exchange("+v", value, true, "OK\r", 6000, 6);
    if (value.empty()) {
        SetStatus("ОШИБКА! Сбой соединения!");
        StopLink();
        FinishConnect();
        return;
    }
    Log(" # " + value);
    queue_.PostStatus(value, 2);
    versionString = value;

    bool accepted = false;
    VersionInfo version = ParseVersion(value);
    if (version.accepted) {
        deviceType = version.deviceType;
        firmwareVersion = version.firmwareVersion;
        switch (deviceType) {
        case 3:
            accepted = firmwareVersion >= 38;
            if (accepted)
                RunOnInterfaceThread([this] {
                    if (hooks_.switchToSensorPage)
                        hooks_.switchToSensorPage();
                    else
                        Publish();
                });
            break;
        case 5:
            accepted = true;
            RunOnInterfaceThread([this] {
                if (hooks_.switchToSensorPage)
                    hooks_.switchToSensorPage();
                else
                    Publish();
            });
            break;
        case 10:
            accepted = ConnectPanel();
            if (!accepted && LinkStopping()) {
                FinishConnect();
                return;
            }
            break;
        default:
            break;
        }
    }
    if (!accepted) {
        SetStatus("ОШИБКА при проверки версии!");
        StopLink();
    }
    FinishConnect();
}

// Authorises at the panel and learns its mode, processor and hardware variant. Returns false
// for a version error; other failures stop the link with their own status text.
bool TDevVeltra::ConnectPanel()
{
    std::string masterKey;
    {
        std::lock_guard lock(masterKeyMutex_);
        masterKey = masterKeyText_;
    }
    std::string reason;
    if (!Authorise(masterKey, reason)) {
        SetStatus(reason);
        StopLink();
        return false;
    }
    processorSelector = boardSelector = dkSelector = 1;
    std::string mode;
    if (!ReadValue("+l", mode)) {
        SetStatus("ОШИБКА! Не могу подключиться к панели.");
        StopLink();
        return false;
    }
    queue_.PostStatus(ModeText(mode), 4);
    queue_.PostText(pages_.Control(page_id::kWiredLoops, "GroupBox2"), "Show");

    std::string vp;
    if (firmwareVersion >= 30 && Exchange("+vp", vp, true, "OK\r", 6000, 1)) {
        const bool newChip = vp.size() >= 5 && vp[4] == '1';
        chipName = newChip ? "pic18f67k22" : "pic18f6722";
        processorSelector = newChip ? 2 : 1;
        hardwareVariant = vp.size() >= 6 ? vp.substr(5, 1) : "0";
        if (hardwareVariant == "1" && firmwareVersion >= 33) {
            boardSelector = 2;
            dkSelector = 2;
            queue_.PostText(pages_.Control(page_id::kWiredLoops, "RzGroupBox2"), "hide");
            queue_.PostText(pages_.Control(page_id::kWiredLoops, "GroupBox2"), "hide");
            queue_.PostBool(pages_.Control(page_id::kWiredLoops, "RadioButton1"), true);
            queue_.PostBool(pages_.Control(page_id::kWiredLoops, "rzt1"), true);
            queue_.PostText(pages_.Control(page_id::kGeneral, "RzGroupBox5"), "Show");
            queue_.PostText(pages_.Control(page_id::kGeneral, "RzGroupBox7"), "hide");
        } else {
            queue_.PostText(pages_.Control(page_id::kGeneral, "RzGroupBox5"), "Show");
            queue_.PostText(pages_.Control(page_id::kGeneral, "RzGroupBox7"), "Show");
        }
        std::string dk;
        if (firmwareVersion >= 36 && Exchange("+dk", dk, true, "OK\r", 6000, 1)) {
            auto number = ReadDecimal(dk);
            if (!number)
                return false;
            dkSelector = *number != 0 ? 2 : 1;
        }
        queue_.PostStatus(chipName, 3);
    }
    RunOnInterfaceThread([this] {
        if (hooks_.switchToSensorPage)
            hooks_.switchToSensorPage();
        else
            Publish();
    });
    return true;
}

void TDevVeltra::FinishConnect()
{
    ResetJob();
    if (LinkStopping())
        return;
    connectTime_ = lastKeepAlive_ = clock_.nowMs();
    keepAliveIntervalSeconds_ = 5;
    SetStatus("СОЕДИНЕНИЕ УСТАНОВЛЕНО");
    connectionEstablished = true;
    if (splash_)
        queue_.PostText({splash_, "Button1"}, "Click");
    if (!link_.load()->DataCallUp() && hooks_.resetFirmwareResumePoint)
        RunOnInterfaceThread(hooks_.resetFirmwareResumePoint);
    queue_.PostBool(pages_.Control(page_id::kSignalTable, "Button1"), true);
}

void TDevVeltra::KeepAlive()
{
    if (deviceType != 10 || keepAliveSuspended || LinkStopping())
        return;
    TModem& link = *link_;
    try {
        link.DrainInput();
        KeepAliveExchange();
        IDevicePage* page = currentPage;
        if (page && page->PageId() == page_id::kWiredLoops)
            ReadConverter();
        if (onlineLogConnected) {
            std::string text;
            link.ReadUntil(text, 1000, "\r");
        }
    } catch (const std::exception& e) {
        Log(std::string(" # !!! Ошибка при работе с COM портом: ") + e.what());
        StopLink();
    }
}

void TDevVeltra::KeepAliveExchange()
{
    const std::int64_t now = clock_.nowMs();
    if (now - lastKeepAlive_ <= keepAliveIntervalSeconds_ * 1000LL ||
        now - link_.load()->LastWriteTime() <= kKeepAliveQuietMs)
        return;
    try {
        std::string value;
        if (!Exchange("+l", value, true, "OK\r", 6000, 3)) {
            if (mainForm_)
                queue_.PostText({mainForm_, "tbtnDisconnect"}, "Click");
            Log("Панель не отвечает");
        } else {
            queue_.PostStatus(ModeText(value), 4);
        }
        lastKeepAlive_ = now;
    } catch (const std::exception&) {
        // A failing keep-alive ends this pass only; the next pass tries again.
    }
}

void TDevVeltra::ReadConverter()
{
    if (clock_.nowMs() - converterTime_ <= kConverterPeriodMs)
        return;
    try {
        std::string value;
        if (Exchange("+c1", value, true, "OK", 6000, 3)) {
            auto reading = ReadHex(TrimControl(value));
            if (!reading)
                throw std::runtime_error("converter reading " + value);
            lastConverterReading = static_cast<int>(*reading);
            queue_.PostSlider(pages_.Control(page_id::kWiredLoops, "tsn1"), static_cast<int>(*reading),
                              "position");
            queue_.PostSlider(pages_.Control(page_id::kWiredLoops, "ts2n1"), static_cast<int>(*reading),
                              "position");
            converterTime_ = clock_.nowMs();
        }
    } catch (const std::exception&) {
        Log(" # !!! Ошибка при чтении данных с АЦП");
    }
}

}  // namespace nvx
