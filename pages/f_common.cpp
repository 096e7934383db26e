#include "pages/f_common.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <stdexcept>
#include <string>

#include "core/PageBaseOps.h"
#include "device/DevVeltra.h"
#include "device/FactoryDefaults.h"
#include "device/PageDirectory.h"
#include "link/xModem.h"
#include "pages/CommonWire.h"
#include "pages/PanelCommands.h"

namespace nvx {

namespace {

constexpr const char* kReadError = "Ошибка при чтении общих настроек!";
constexpr const char* kWriteError = "Ошибка при записи общих настроек!";
constexpr const char* kRejected = "ERR";
constexpr std::uint32_t kTimeoutMs = 6000;
constexpr int kAttempts = 3;
// Firmware that knows the arming delay after a restart.
constexpr int kLastVersionWithoutArmingDelay = 27;

constexpr std::array kOutputLabels{"lbAuto", "lbAT", "lbBothOff", "lbFOn", "lbSOn", "lbBothOn"};
// Indexed by the value digit of "+e".
constexpr std::array kOutputValueButtons{"rbBothOff", "rbFOn", "rbSOn", "rbBothOn"};
constexpr std::array kAlarmLabels{"lbAlarmBtnOn", "lbAlarmBtnOff", "lbAlarmBtnOn4"};
// Indexed by the digit of "+C".
constexpr std::array kAlarmModeButtons{"rbAlarmBtnOn", "rbAlarmBtnOff", "rbAlarmBtnOn4"};
constexpr const char* kPanelButtons[] = {"btnStop", "btnStart", "btnReboot"};

void AddGroup(FormModel& form, const char* name, const char* caption, bool visible = true)
{
    form.add(name, ControlKind::GroupBox, caption).visible = visible;
}

// A radio button whose caption is a label of its own, which carries the marks.
void AddLabelledRadio(FormModel& form, const char* name, const char* group, bool byDefault, const char* label,
                      const char* caption)
{
    Control& radio = form.add(name, ControlKind::RadioButton, {}, byDefault ? "true" : "false");
    radio.group = group;
    radio.checked = byDefault;
    form.add(label, ControlKind::Label, caption);
}

void AddButton(FormModel& form, const char* name, const char* caption, bool visible, bool enabled)
{
    Control& button = form.add(name, ControlKind::Button, caption);
    button.visible = visible;
    button.enabled = enabled;
}

template <class Names> void Mark(TDevVeltra& device, FormModel& form, const Names& labels, bool confirmed)
{
    for (const char* label : labels) {
        if (confirmed)
            device.MarkConfirmed({&form, label});
        else
            device.MarkFailed({&form, label});
    }
}

}  // namespace

TformCommon::TformCommon(TDevVeltra& device)
    : TformIncl("formCommon", page_id::kGeneral, "Общие настройки"), device_(device)
{
    AddGroup(form_, "RzGroupBox1", "Объект");
    form_.add("lbO", ControlKind::Label, "Номер объекта");
    form_.add("etO", ControlKind::Edit, kDefaultObjectNumber, kDefaultObjectNumber).maxLength = 4;
    form_.add("lbetTime", ControlKind::Label, "Время на устройстве");
    form_.add("etTime", ControlKind::Edit);
    AddButton(form_, "btnSync", "Синхронизировать", true, true);
    form_.add("lbKey", ControlKind::Label, "Мастер-ключ");
    form_.add("etKey", ControlKind::Edit, kFactoryMasterKey, kFactoryMasterKey).maxLength = 4;

    AddGroup(form_, "RzGroupBox3", "Связь GSM");
    form_.add("lSignal", ControlKind::Label, "Уровень сигнала");
    form_.add("etSignal", ControlKind::Edit);
    form_.add("PSignal", ControlKind::ProgressBar).maximum = 31;
    form_.add("etError", ControlKind::Edit);
    form_.add("PEr", ControlKind::ProgressBar).maximum = 7;

    AddGroup(form_, "RzGroupBox2", "Параметры выходов", false);
    AddLabelledRadio(form_, "rbAuto", "outputControl", true, "lbAuto", "Автоматический");
    AddLabelledRadio(form_, "rbAT", "outputControl", false, "lbAT", "AT командами");
    form_.add("RzGroupBox4", ControlKind::GroupBox, "Значения").enabled = false;  // automatic control
    AddLabelledRadio(form_, "rbBothOff", "outputValues", true, "lbBothOff", "Оба выкл.");
    AddLabelledRadio(form_, "rbFOn", "outputValues", false, "lbFOn", "1-й вкл.");
    AddLabelledRadio(form_, "rbSOn", "outputValues", false, "lbSOn", "2-й вкл.");
    AddLabelledRadio(form_, "rbBothOn", "outputValues", false, "lbBothOn", "Оба вкл.");

    // Instant is the page's start and also its default: "hold 4 seconds" is not a default, so the
    // defaults command and a settings file without the keys agree with the fresh page.
    AddGroup(form_, "RzGroupBox5", "Режимы работы тревожных кнопок");
    AddLabelledRadio(form_, "rbAlarmBtnOn", "alarmButtons", true, "lbAlarmBtnOn", "Мгновенно срабатывают");
    AddLabelledRadio(form_, "rbAlarmBtnOff", "alarmButtons", false, "lbAlarmBtnOff", "Выключены");
    AddLabelledRadio(form_, "rbAlarmBtnOn4", "alarmButtons", false, "lbAlarmBtnOn4",
                     "Непрерывно держать 4 секунды");

    AddGroup(form_, "RzGroupBox6", "Сирена");
    form_.add("lbSyr", ControlKind::Label, "Включать сирену при нажатии тревожной кнопки");
    form_.add("cbSyr", ControlKind::CheckBox, "на клавиатуре", "false");
    form_.add("cbSyrB", ControlKind::CheckBox, "на брелоке", "false");

    AddGroup(form_, "RzGroupBox7", "Блокировка клавиатуры");
    form_.add("CheckBox1", ControlKind::CheckBox,
              "Включать блокировку клавиатуры при неправильном вводе кода три раза", "false");
    Control& lockTime = form_.add("RzComboBox1", ControlKind::ComboBox);
    for (int minutes = kFirstLockMinutes; minutes <= kLastLockMinutes; ++minutes)
        lockTime.items.push_back(std::to_string(minutes) + " мин");
    lockTime.index = 0;
    lockTime.text = lockTime.items.front();
    lockTime.enabled = false;  // the lock is off

    AddGroup(form_, "RzGroupBox8", "", false);
    form_.add("adelay", ControlKind::CheckBox, "Задержка постановки на охрану после перезагрузки панели", "false");

    AddGroup(form_, "RzGroupBox9", "Работа зуммера");
    Control& buzzerOn = form_.add("RadioButton1", ControlKind::RadioButton, "Включен", "true");
    buzzerOn.group = "buzzer";
    buzzerOn.checked = true;
    form_.add("RadioButton2", ControlKind::RadioButton, "Выключен", "false").group = "buzzer";

    // The radio frequencies belong to the radio system characteristics; the group stays hidden.
    AddGroup(form_, "RzGroupBox10", "Антены", false);

    AddButton(form_, "btLamptest", "Тест светодиодов панели", true, false);
    AddButton(form_, "btnStart", "Запустить панель", false, false);
    AddButton(form_, "btnStop", "Остановить панель", false, false);
    AddButton(form_, "btnReboot", "Перезагрузить панель", false, false);

    form_.setAction("rbAuto", [this] { ApplyOutputControlRule(); });
    form_.setAction("rbAT", [this] { ApplyOutputControlRule(); });
    form_.setAction("btnSync", [this] { RequestJob(kJobSyncClock); });
    form_.setAction("btnStart", [this] { RequestJob(kJobStartPanel); });
    form_.setAction("btnStop", [this] { RequestJob(kJobStopPanel); });
    form_.setAction("btLamptest", [this] { RequestJob(kJobLampTest); });
    form_.setAction("btnReboot", [this] {
        if (!device_.Link())
            return;
        reconnectAfterRestart_ = true;
        RequestJob(kJobRestartPanel);
    });
    pageSubscription_ = form_.subscribe([this](const std::string& name) {
        if (name == "CheckBox1" || name == "adelay")
            ApplyLockTimeRule();
        else if (name == "etO") {
            // The object number is shown upper case, however it was typed or stored.
            std::string text = form_.text("etO");
            std::transform(text.begin(), text.end(), text.begin(),
                           [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
            if (text != form_.text("etO"))
                form_.setText("etO", text);
        }
    });
    if (FormModel* window = device.MainWindow())
        windowSubscription_ = window->subscribe([this](const std::string& name) { ReconnectIfRestarted(name); });

    device.RegisterJob(kJobSyncClock,
                       [this, &device] { SynchronisePanelClock(device, Ref("etTime"), Ref("lbetTime")); });
    device.RegisterJob(kJobStartPanel, [&device] { StartPanel(device); });
    device.RegisterJob(kJobStopPanel, [&device] { StopPanel(device); });
    device.RegisterJob(kJobRestartPanel, [&device] { RestartPanel(device); }, false);
    device.RegisterJob(kJobLampTest, [&device] { TestPanelLamps(device); });
}

TformCommon::~TformCommon()
{
    form_.unsubscribe(pageSubscription_);
    if (FormModel* window = device_.MainWindow())
        window->unsubscribe(windowSubscription_);
}

void TformCommon::ReadFromDevice(TDevVeltra& device)
{
    bool unusable = false;
    bool finished = false;
    try {
        finished = ReadSettings(device, unusable);
    } catch (const std::exception&) {
        // Ends the read like an undecodable value: what was read so far stays shown.
    }
    if (!finished || unusable)
        device.Log(kReadError);
}

bool TformCommon::ReadSettings(TDevVeltra& device, bool& unusable)
{
    TOutArray& queue = device.Queue();
    // A value the panel refused is no value: its label turns red and the field keeps its text.
    auto refusedAfterMark = [&](const std::string& value, const char* label) {
        if (value != kRejected)
            return false;
        device.MarkFailed(Ref(label));
        unusable = true;
        return true;
    };
    auto readText = [&](const char* command, const char* label, const char* edit) {
        std::string value;
        if (device.ExchangeMarked(command, Ref(label), value) && !refusedAfterMark(value, label) &&
            !value.empty())
            queue.PostText(Ref(edit), value);
    };
    // A plain exchange: the value, or nothing when no answer came.
    auto ask = [&](const char* command) -> std::optional<std::string> {
        std::string value;
        if (!device.Exchange(command, value, true, "OK", kTimeoutMs, kAttempts))
            return std::nullopt;
        return value;
    };

    if (!device.abortState)
        readText("+o", "lbO", "etO");
    if (!device.abortState)
        readText("+AC", "lbetTime", "etTime");
    if (!device.abortState)
        readText("+FMR", "lbKey", "etKey");

    if (!device.abortState) {
        std::string value;
        if (device.ExchangeMarked("+AQ", Ref("lSignal"), value)) {
            if (const auto quality = DecodeSignalQuality(value)) {
                queue.PostText(Ref("etSignal"), std::to_string(quality->signal));
                queue.PostInt(Ref("PSignal"), quality->signalBar);
                queue.PostText(Ref("etError"), std::to_string(quality->error));
                queue.PostInt(Ref("PEr"), quality->errorBar);
            } else {
                device.MarkFailed(Ref("lSignal"));
                unusable = true;
            }
        }
    }

    if (!device.abortState) {
        const auto value = ask("+e");
        const auto outputs = value ? DecodeOutputs(*value) : std::nullopt;
        Mark(device, form_, kOutputLabels, outputs.has_value());
        unusable |= value && !outputs;
        if (outputs) {
            // The type first: choosing automatic control resets the values.
            queue.PostBool(Ref(outputs->atCommands ? "rbAT" : "rbAuto"), true);
            queue.PostBool(Ref(kOutputValueButtons[static_cast<std::size_t>(outputs->values)]), true);
        }
    }

    if (!device.abortState) {
        const auto value = ask("+C");
        const auto mode = value ? DecodeAlarmButtons(*value) : std::nullopt;
        Mark(device, form_, kAlarmLabels, mode.has_value());
        unusable |= value && !mode;
        if (mode)
            queue.PostBool(Ref(kAlarmModeButtons[static_cast<std::size_t>(*mode)]), true);
    }

    if (!device.abortState) {
        std::string value;
        if (device.ExchangeMarked("+yt", Ref("lbSyr"), value) && !refusedAfterMark(value, "lbSyr") &&
            !value.empty()) {
            const Sirens sirens = DecodeSirens(value);
            queue.PostBool(Ref("cbSyr"), sirens.keypad);
            queue.PostBool(Ref("cbSyrB"), sirens.keyfob);
        }
    }

    {
        std::string value;
        device.ExchangeMarked("+n", Ref("CheckBox1"), value);
        const auto lock = DecodeKeypadLock(value);
        if (!lock) {
            device.MarkFailed(Ref("CheckBox1"));
            return false;
        }
        queue.PostBool(Ref("CheckBox1"), lock->on);
        queue.PostInt(Ref("RzComboBox1"), LockTimeItem(lock->minutes));
    }

    if (form_.visible("RzGroupBox8")) {
        std::string value;
        if (device.ExchangeMarked("+dw", Ref("adelay"), value) && !refusedAfterMark(value, "adelay"))
            queue.PostBool(Ref("adelay"), value == "1");
    }

    std::string value;
    device.ReadValue("+db", value);
    const auto buzzerOn = DecodeBuzzer(value);
    Mark(device, form_, std::array{"RadioButton1", "RadioButton2"}, buzzerOn.has_value());
    if (!buzzerOn)
        return false;
    queue.PostBool(Ref(*buzzerOn ? "RadioButton1" : "RadioButton2"), true);
    return true;
}

void TformCommon::WriteToDevice(TDevVeltra& device)
{
    bool refused = false;
    bool finished = false;
    try {
        finished = WriteSettings(device, refused);
    } catch (const std::exception&) {
        // Ends the write; what was sent stays sent.
    }
    if (!finished || refused)
        device.Log(kWriteError);
}

bool TformCommon::WriteSettings(TDevVeltra& device, bool& refused)
{
    TOutArray& queue = device.Queue();
    // True when the panel took the value; a refusal is reported at the end of the write.
    auto send = [&](const std::string& command) {
        std::string value;
        const bool answered = device.Exchange(command, value, true, "OK", kTimeoutMs, kAttempts);
        refused |= answered && value == kRejected;
        return answered && value != kRejected;
    };

    const std::string objectNumber = ObjectNumberToSend(form_.text("etO"));
    queue.PostText(Ref("etO"), objectNumber);
    Mark(device, form_, std::array{"lbO"}, send("+o=" + objectNumber));
    if (device.abortState)
        return true;

    const std::string key = MasterKeyToSend(form_.text("etKey"), kFactoryMasterKey);
    queue.PostText(Ref("etKey"), key);
    Mark(device, form_, std::array{"lbKey"}, send("+FMW=" + key));
    if (device.abortState)
        return true;

    Outputs outputs;
    outputs.atCommands = form_.checked("rbAT");
    for (std::size_t i = 0; i < kOutputValueButtons.size(); ++i)
        if (form_.checked(kOutputValueButtons[i]))
            outputs.values = static_cast<int>(i);
    Mark(device, form_, kOutputLabels, send("+e=" + EncodeOutputs(outputs)));
    if (device.abortState)
        return true;

    const AlarmButtons mode = form_.checked("rbAlarmBtnOn")    ? AlarmButtons::Instant
                              : form_.checked("rbAlarmBtnOn4") ? AlarmButtons::Hold4s
                                                               : AlarmButtons::Off;
    Mark(device, form_, kAlarmLabels, send("+C=" + EncodeAlarmButtons(mode)));
    if (device.abortState)
        return true;

    std::string value;
    const Sirens sirens{form_.checked("cbSyr"), form_.checked("cbSyrB")};
    if (device.ExchangeMarked("+yt=" + EncodeSirens(sirens), Ref("lbSyr"), value) && value == kRejected) {
        device.MarkFailed(Ref("lbSyr"));
        refused = true;
    }

    const Control lockTime = form_.get("RzComboBox1");
    const bool itemChosen = lockTime.index >= 0 && static_cast<std::size_t>(lockTime.index) < lockTime.items.size();
    const auto lock = itemChosen ? EncodeKeypadLock(form_.checked("CheckBox1"),
                                                    lockTime.items[static_cast<std::size_t>(lockTime.index)])
                                 : std::nullopt;
    if (!lock)
        return false;
    send("+n=" + *lock);

    if (device.publishedVersion > kLastVersionWithoutArmingDelay)
        send(std::string("+dw=") + (form_.checked("adelay") ? "1" : "0"));
    if (form_.visible("RzGroupBox9"))
        send("+db=" + EncodeBuzzer(form_.checked("RadioButton1")));
    return true;
}

void TformCommon::SetDefaults()
{
    // The lock-time list has no default of its own: it goes back to its first item.
    SelectComboItem(form_, "RzComboBox1", 0);
    TformIncl::SetDefaults();
    ApplyOutputControlRule();
}

void TformCommon::LoadState(const IniFile& ini)
{
    TformIncl::LoadState(ini);
    ApplyOutputControlRule();
}

void TformCommon::ApplyProgramSwitches(const IniFile& settings)
{
    const bool panelButtons = settings.ReadString("Buttons", "CButtons", "") == "1";
    for (const char* name : kPanelButtons)
        form_.setVisible(name, panelButtons);
    const bool outputs = settings.ReadBool("formCommon", "showOuts", false);
    form_.setVisible("RzGroupBox2", outputs);
    if (outputs) {
        form_.checkRadio("rbAuto");
        ApplyOutputControlRule();
    }
}

void TformCommon::MasterKeyFieldLeft()
{
    if (form_.text("etKey").empty())
        form_.setText("etKey", kFactoryMasterKey);
}

void TformCommon::ApplyOutputControlRule()
{
    const bool automatic = form_.checked("rbAuto");
    form_.setEnabled("RzGroupBox4", !automatic);
    if (automatic)
        form_.checkRadio("rbBothOff");
}

void TformCommon::ApplyLockTimeRule()
{
    const bool on = form_.checked("CheckBox1");
    if (form_.enabled("RzComboBox1") != on)
        form_.setEnabled("RzComboBox1", on);
}

void TformCommon::RequestJob(std::uint8_t code)
{
    if (TModem* link = device_.Link())
        link->SetJob(code);
}

void TformCommon::ReconnectIfRestarted(const std::string& controlName)
{
    // The restart ended the link; once the window has let it go, connect again as its button does.
    if (controlName != "tbtnConnect" || !reconnectAfterRestart_ || device_.Link())
        return;
    FormModel* window = device_.MainWindow();
    if (!window->enabled("tbtnConnect"))
        return;
    reconnectAfterRestart_ = false;
    window->trigger("tbtnConnect");
}

}  // namespace nvx
