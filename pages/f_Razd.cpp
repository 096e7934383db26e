#include "pages/f_Razd.h"

#include <chrono>
#include <stdexcept>
#include <thread>

#include "core/NumberText.h"
#include "core/PageBaseOps.h"
#include "device/DevVeltra.h"
#include "device/PageDirectory.h"
#include "pages/CheckedExchange.h"
#include "pages/RazdWire.h"
#include "pages/f_Bibelot.h"
#include "pages/f_Radio.h"
#include "pages/f_Shleif.h"

namespace nvx {

namespace {

constexpr const char* kReadError = "Ошибка при чтении настроек разделов!";
constexpr const char* kWriteError = "Ошибка при записи настроек разделов!";
constexpr const char* kDisarmed = "Снято";
constexpr const char* kArmed = "Под охраной";
constexpr const char* kAlarmOccurred = "Была тревога";
constexpr const char* kStateTexts[] = {kDisarmed, kArmed, kAlarmOccurred};
constexpr std::uint32_t kTimeoutMs = 6000;
constexpr int kAttempts = 3;
// Firmware from this version on knows the fire-possibility flags, the fire threshold and the
// fire siren modes.
constexpr int kFirstFireVersion = 30;
constexpr const char* kSirenModeRows[] = {"Выключена", "Работает с частотой 1Гц", "Работает с частотой 0,5 Гц",
                                          "Включена"};
// Column prefixes of the siren-mode buttons in "+ym" order: fire, fire possibility, burglary.
constexpr const char* kSirenColumns[] = {"rb1", "rb2", "rb3"};
constexpr const char* kSirenLabels[] = {"Label9", "Label8", "lbs"};

std::string Numbered(const char* prefix, int n)
{
    return prefix + std::to_string(n);
}

std::string SirenButton(int column, int mode)
{
    return kSirenColumns[column] + std::to_string(mode + 1);
}

// A value that cannot be decoded ends the operation with its log message.
struct Undecodable : std::runtime_error {
    Undecodable() : std::runtime_error("undecodable value") {}
};

unsigned HexOrThrow(const std::string& value)
{
    const auto number = ReadHex(value);
    if (!number)
        throw Undecodable();
    return *number;
}

}  // namespace

std::string TformRazd::StateName(int p) { return Numbered("etState", p); }
std::string TformRazd::QuickName(int p) { return Numbered("cbQuick1", p); }
std::string TformRazd::Quick2Name(int p) { return Numbered("cbQuick2", p); }
std::string TformRazd::EmptyLogName(int p) { return Numbered("cbEmpty", p); }
std::string TformRazd::SirenName(int p) { return Numbered("cbSiren", p); }
std::string TformRazd::Ok2Name(int p) { return Numbered("ko", p); }
std::string TformRazd::TwentyFourHourName(int p) { return Numbered("cb24h", p); }
std::string TformRazd::FireName(int p) { return Numbered("cbFire", p); }
std::string TformRazd::ExitDelayName(int p) { return Numbered("meIN", p); }
std::string TformRazd::RowNumberName(int p) { return Numbered("cbR", p); }
std::string TformRazd::FirePossibilityName(int p) { return Numbered("pp", p); }
std::string TformRazd::ExitButtonName(int p) { return Numbered("CheckBox", p); }

TformRazd::TformRazd(TDevVeltra& device)
    : TformIncl("formRazd", page_id::kPartitions, "Настройка разделов"), device_(device)
{
    form_.add("lbColPartition", ControlKind::Label, "Раздел");
    form_.add("lbColState", ControlKind::Label, "Состояние");
    form_.add("lbColQuick1", ControlKind::Label, "Быстрая постановка").visible = false;
    form_.add("lbColQuick2", ControlKind::Label, "Быстрая постановка2").visible = false;
    form_.add("lbColEmpty", ControlKind::Label, "Ожидание пустого журнала").visible = false;
    form_.add("lbColSiren", ControlKind::Label, "Сирена, зуммер");
    form_.add("lbColOk2", ControlKind::Label, "OK2");
    form_.add("lbCol24h", ControlKind::Label, "24 часа");
    form_.add("lbColFire", ControlKind::Label, "Пожарный").visible = false;
    form_.add("lbColExit", ControlKind::Label, "Задержка на выход (сек.)");
    form_.add("lbColNumber", ControlKind::Label, "№ раздела").visible = false;
    form_.add("lbColPF", ControlKind::Label, "Возможность пожара").visible = false;
    for (int p = 1; p <= kPartitions; ++p) {
        form_.add(Numbered("lbRow", p), ControlKind::Label, std::to_string(p));
        form_.add(StateName(p), ControlKind::Edit, kDisarmed, kDisarmed);
        form_.add(QuickName(p), ControlKind::CheckBox, {}, "false").visible = false;
        form_.add(Quick2Name(p), ControlKind::CheckBox, {}, "false").visible = false;
        form_.add(EmptyLogName(p), ControlKind::CheckBox, {}, "false").visible = false;
        form_.add(SirenName(p), ControlKind::CheckBox, {}, "false");
        form_.add(Ok2Name(p), ControlKind::CheckBox, {}, "false");
        form_.add(TwentyFourHourName(p), ControlKind::CheckBox, {}, "false");
        form_.add(FireName(p), ControlKind::CheckBox, {}, "false").visible = false;
        form_.add(ExitDelayName(p), ControlKind::MaskEdit, "000", "000").maxLength = 3;
        Control& number = form_.add(RowNumberName(p), ControlKind::ComboBox, std::to_string(p), std::to_string(p));
        for (int n = 1; n <= kPartitions; ++n)
            number.items.push_back(std::to_string(n));
        number.index = p - 1;
        number.visible = false;
        form_.add(FirePossibilityName(p), ControlKind::CheckBox, {}, "false").visible = false;
    }

    form_.add("lca", ControlKind::Label, "Количество событий по разделу");
    form_.add("eca", ControlKind::Edit, "010", "010").maxLength = 3;
    form_.add("cbWithoutLimit", ControlKind::CheckBox, {}, "false");
    form_.add("lbWithoutLimit", ControlKind::Label, "Количество событий по разделу без ограничений");

    form_.add("gbExit", ControlKind::GroupBox, "Разделы, управляемые кнопкой «ВЫХОД»");
    for (int p = 1; p <= kPartitions; ++p)
        form_.add(ExitButtonName(p), ControlKind::CheckBox, std::to_string(p), "false");

    form_.add("gbSiren", ControlKind::GroupBox, "Сирена и зуммер");
    form_.add("lbSyr", ControlKind::Label, "Длительность сирены и зуммера (сек.)");
    form_.add("etSyr", ControlKind::Edit, "030", "030").maxLength = 3;
    form_.add("cbSyr1", ControlKind::CheckBox);  // no default: the defaults leave it as it is
    form_.add("lbSyr1", ControlKind::Label, "Выключать сирену кнопкой «Отмена»");
    form_.add("lbs", ControlKind::Label, "Охранная\nтревога");
    form_.add("Label8", ControlKind::Label, "Возможность\nпожара");
    form_.add("Label9", ControlKind::Label, "Пожар");
    for (int mode = 0; mode < 4; ++mode)
        form_.add(Numbered("lbSirenMode", mode), ControlKind::Label, kSirenModeRows[mode]);
    for (int column = 0; column < 3; ++column)
        for (int mode = 0; mode < 4; ++mode) {
            const bool on = mode == 3;
            Control& button = form_.add(SirenButton(column, mode), ControlKind::RadioButton, {}, on ? "true" : "false");
            button.group = kSirenColumns[column];
            button.checked = on;
        }

    form_.add("gbFire", ControlKind::GroupBox, "Настройки пожарного раздела");
    form_.add("Label6", ControlKind::Label, "Минимальное количество сработавших датчиков");
    form_.add("MaskEdit1", ControlKind::MaskEdit, "01", "01").maxLength = 2;
    form_.add("lbFireNote1", ControlKind::Label,
              "* «Возможность пожара»: сработал один датчик пожарного раздела.");
    form_.add("lbFireNote2", ControlKind::Label,
              "* «Пожар»: сработало не менее заданного количества датчиков пожарного раздела.");

    Control& warning = form_.add("pnlWarning", ControlKind::Panel,
                                 "Если время задержки на выход по разделу менее 120сек., то датчики, приведенные в "
                                 "состояние тревога во время выхода с объекта, не успеют прислать восстановление "
                                 "тревоги и после постановки раздела под охрану будут сформированы тревоги по данным "
                                 "датчикам.");
    warning.visible = false;
    form_.add("lbNote1", ControlKind::Label,
              "* если длительность сирены установлена равной 255 сек., то сирена будет работать до снятия раздела "
              "с охраны.");
    form_.add("lbNote2", ControlKind::Label, "* 24-часовой раздел не будет иметь кода постановки/снятия.");

    for (const std::string& name : form_.names())
        if (form_.get(name).kind == ControlKind::CheckBox)
            lastChecked_[name] = form_.checked(name);
    subscription_ = form_.subscribe([this](const std::string& name) { OnChanged(name); });
}

TformRazd::~TformRazd()
{
    form_.unsubscribe(subscription_);
}

// ---- reading and writing (link thread) ----

void TformRazd::ReadFromDevice(TDevVeltra& device)
{
    ReadPartitionSettings(device);
    if (device.AllPages())
        return;
    if (auto* radio = dynamic_cast<TformRadio*>(device.Pages().Find(page_id::kRadioSensors)))
        radio->ReadSensors(device);
    if (auto* loops = dynamic_cast<TformShleif*>(device.Pages().Find(page_id::kWiredLoops))) {
        loops->ReadLoopThresholds(device);
        loops->ReadLoopParameters(device);
    }
}

void TformRazd::WriteToDevice(TDevVeltra& device)
{
    auto* loops = dynamic_cast<TformShleif*>(device.Pages().Find(page_id::kWiredLoops));
    if (!device.AllPages())
        if (auto* radio = dynamic_cast<TformRadio*>(device.Pages().Find(page_id::kRadioSensors)))
            radio->WriteSensors(device);
    WritePartitionSettings(device);
    if (!device.AllPages() && loops) {
        loops->WriteLoopThresholds(device);
        loops->WriteLoopParameters(device);
    }
}

void TformRazd::ReadPartitionSettings(TDevVeltra& device)
{
    if (device.abortState)
        return;
    try {
        ReadSettings(device);
    } catch (const std::exception&) {
        device.Log(kReadError);
    }
}

void TformRazd::ReadSettings(TDevVeltra& device)
{
    TOutArray& queue = device.Queue();
    auto ask = [&](const std::string& command, std::string& value) {
        return device.Exchange(command, value, true, "OK", kTimeoutMs, kAttempts);
    };
    std::string value;

    if (ask("+p", value)) {
        const auto records = DecodePartitions(value);
        if (!records)
            throw Undecodable();
        for (int p = 1; p <= kPartitions; ++p) {
            const PartitionRecord& record = (*records)[static_cast<std::size_t>(p - 1)];
            lastState_[static_cast<std::size_t>(p - 1)] = record.state;
            queue.PostText(Ref(StateName(p)), kStateTexts[record.state]);
            queue.PostBool(Ref(QuickName(p)), record.quick);
            queue.PostBool(Ref(Quick2Name(p)), record.quick2);
            queue.PostBool(Ref(EmptyLogName(p)), record.waitEmptyLog);
            queue.PostBool(Ref(SirenName(p)), record.siren);
            queue.PostBool(Ref(TwentyFourHourName(p)), record.twentyFourHour);
            queue.PostBool(Ref(FireName(p)), record.fire);
            queue.PostText(Ref(ExitDelayName(p)), NormaliseExitDelay(std::to_string(record.exitDelay)));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }

    if (!device.abortState && ask("+x", value)) {
        const PartitionFlags exits = DecodePartitionBits(static_cast<std::uint8_t>(HexOrThrow(value)));
        for (int p = 1; p <= kPartitions; ++p) {
            const bool on = exits[static_cast<std::size_t>(p - 1)];
            queue.PostBool(Ref(ExitButtonName(p)), on);
            if (on)
                queue.PostText(Ref(ExitButtonName(p)), "enabletrue");
        }
    }

    if (device.ReadValue("+CA", value)) {
        const unsigned count = HexOrThrow(value);
        queue.PostBool(Ref("cbWithoutLimit"), count == 0);
        if (count != 0) {
            queue.PostText(Ref("eca"), std::to_string(count));
            device.MarkConfirmed(Ref("lca"));
        }
        device.MarkConfirmed(Ref("lbWithoutLimit"));
    } else {
        device.MarkFailed(Ref("lbWithoutLimit"));
        device.MarkFailed(Ref("lca"));
    }

    if (!device.abortState && device.ExchangeMarked("+y", Ref("lbSyr"), value) && !value.empty())
        queue.PostText(Ref("etSyr"), std::to_string(HexOrThrow(value)));

    if (!device.abortState && device.ExchangeMarked("+yc", Ref("lbSyr1"), value) && !value.empty())
        queue.PostBool(Ref("cbSyr1"), value == "1");

    const bool modesArrived = device.ExchangeMarked("+ym", Ref("lbs"), value);
    for (const char* label : {"Label8", "Label9"}) {
        if (modesArrived)
            device.MarkConfirmed(Ref(label));
        else
            device.MarkFailed(Ref(label));
    }
    const auto modes = modesArrived ? DecodeSirenModes(value) : std::nullopt;
    if (!modes)
        return;
    for (int column = 0; column < 3; ++column)
        if (const int mode = (*modes)[static_cast<std::size_t>(column)]; mode >= 0)
            queue.PostBool(Ref(SirenButton(column, mode)), true);

    if (device.ReadValue("+da", value)) {
        const PartitionFlags ok2 = DecodeOk2(value);
        for (int p = 1; p <= kPartitions; ++p)
            queue.PostBool(Ref(Ok2Name(p)), ok2[static_cast<std::size_t>(p - 1)]);
    }

    if (device.publishedVersion < kFirstFireVersion)
        return;
    if (ask("+dn", value)) {
        const PartitionFlags possible = DecodePartitionBits(static_cast<std::uint8_t>(HexOrThrow(value)));
        for (int p = 1; p <= kPartitions; ++p)
            queue.PostBool(Ref(FirePossibilityName(p)), possible[static_cast<std::size_t>(p - 1)]);
    }
    if (device.ExchangeMarked("+ds", Ref("Label6"), value))
        queue.PostText(Ref("MaskEdit1"), std::to_string(HexOrThrow(value)));
}

void TformRazd::WritePartitionSettings(TDevVeltra& device)
{
    bool failed = false;
    try {
        failed = !WriteSettings(device);
    } catch (const std::exception&) {
        failed = true;
    }
    if (failed)
        device.Log(kWriteError);
}

bool TformRazd::WriteSettings(TDevVeltra& device)
{
    TOutArray& queue = device.Queue();
    auto* keyfobs = dynamic_cast<TformBibelot*>(device.Pages().Find(page_id::kKeyfobs));
    auto checkKeyfobs = [&] {
        if (keyfobs)
            device.Calls().Call([keyfobs] { keyfobs->CheckPartitions(); }, [&device] { return device.LinkStopping(); });
    };
    auto send = [&](const std::string& command) {
        std::string value;
        return device.Exchange(command, value, true, "OK", kTimeoutMs, kAttempts) && !Refused(value);
    };
    auto mark = [&](const char* label, bool confirmed) {
        if (confirmed)
            device.MarkConfirmed(Ref(label));
        else
            device.MarkFailed(Ref(label));
    };

    checkKeyfobs();
    for (int p = 1; p <= kPartitions; ++p)
        queue.PostInt(Ref(RowNumberName(p)), p - 1);

    if (device.abortState)
        return true;
    const std::string count =
        form_.checked("cbWithoutLimit") ? "00" : WriteHex(FirstNumber(form_.text("eca")) & 0xFF, 2);
    const bool countTaken = device.WriteValue("+CA=" + count);
    mark("lbWithoutLimit", countTaken);
    mark("lca", countTaken);

    if (!device.abortState)
        device.WriteHexFromEdit(Ref("etSyr"), "+y=", 2, Ref("lbSyr"));

    if (!device.abortState) {
        std::string value;
        device.ExchangeMarked(std::string("+yc=") + (form_.checked("cbSyr1") ? "1" : "0"), Ref("lbSyr1"), value);
        SirenModes modes{-1, -1, -1};
        for (int column = 0; column < 3; ++column)
            for (int mode = 0; mode < 4; ++mode)
                if (form_.checked(SirenButton(column, mode)))
                    modes[static_cast<std::size_t>(column)] = mode;
        device.ExchangeMarked("+ym=" + EncodeSirenModes(modes), Ref("lbs"), value);
        mark("Label8", true);
        mark("Label9", true);
    }

    // Unlike the labelled settings, a partition record the panel did not take shows nowhere on
    // the page, so it is reported in the log.
    bool recordsTaken = true;
    for (int p = 1; p <= kPartitions && recordsTaken; ++p)
        recordsTaken = send("+p" + WriteHex(static_cast<unsigned>(p - 1), 1) + "=" + EncodePartition(RecordToSend(p)));

    if (device.abortState)
        return recordsTaken;
    PartitionFlags exits{};
    PartitionFlags ok2{};
    PartitionFlags possible{};
    for (int p = 1; p <= kPartitions; ++p) {
        exits[static_cast<std::size_t>(p - 1)] = form_.checked(ExitButtonName(p));
        ok2[static_cast<std::size_t>(p - 1)] = form_.checked(Ok2Name(p));
        possible[static_cast<std::size_t>(p - 1)] = form_.checked(FirePossibilityName(p));
    }
    send("+x=" + WriteHex(EncodePartitionBits(exits), 2));
    device.WriteValue("+da=" + EncodeOk2(ok2));

    if (device.publishedVersion >= kFirstFireVersion) {
        const std::uint8_t byte = form_.visible("lbColPF") ? EncodePartitionBits(possible) : 0;
        send("+dn=" + WriteHex(byte, 2));
        device.WriteHexFromEdit(Ref("MaskEdit1"), "+ds=", 2, Ref("Label6"));
    }

    checkKeyfobs();
    if (keyfobs)
        keyfobs->WriteKeyfobs(device);
    return recordsTaken;
}

PartitionRecord TformRazd::RecordToSend(int p) const
{
    PartitionRecord record;
    const int last = lastState_[static_cast<std::size_t>(p - 1)];
    record.state = form_.text(StateName(p)) == kDisarmed ? 0 : last == 2 ? 2 : 1;
    // The panel's quick-arming and empty-log settings are fixed unless their columns are shown;
    // shown, they carry what the user chose.
    const bool chosen = form_.visible("lbColQuick1");
    record.quick = chosen ? form_.checked(QuickName(p)) : true;
    record.quick2 = chosen ? form_.checked(Quick2Name(p)) : true;
    record.waitEmptyLog = chosen ? form_.checked(EmptyLogName(p)) : false;
    record.siren = form_.checked(SirenName(p));
    record.twentyFourHour = form_.checked(TwentyFourHourName(p));
    record.fire = form_.checked(FireName(p));
    record.exitDelay = static_cast<int>(FieldNumber(NormaliseExitDelay(form_.text(ExitDelayName(p)))));
    record.index = p - 1;
    return record;
}

// ---- queries for the other pages ----

std::string TformRazd::ExitDelayText(int partition) const
{
    return form_.text(ExitDelayName(partition));
}

bool TformRazd::IsTwentyFourHour(int partition) const
{
    return form_.checked(TwentyFourHourName(partition));
}

bool TformRazd::IsFire(int partition) const
{
    return form_.checked(FireName(partition));
}

// ---- switches, state and defaults (interface thread) ----

void TformRazd::ApplyProgramSwitches(const IniFile& settings)
{
    auto shown = [&](const char* key) { return settings.ReadString("formRazd", key, "0") == "1"; };
    const bool quickEmpty = shown("showQuickEmpty");
    const bool firePossibility = shown("showPF");
    const bool fire = shown("showFire");
    const bool rowNumber = shown("showRazd");
    for (const char* heading : {"lbColQuick1", "lbColQuick2", "lbColEmpty"})
        form_.setVisible(heading, quickEmpty);
    form_.setVisible("lbColPF", firePossibility);
    form_.setVisible("lbColFire", fire);
    form_.setVisible("lbColNumber", rowNumber);
    for (int p = 1; p <= kPartitions; ++p) {
        form_.setVisible(QuickName(p), quickEmpty);
        form_.setVisible(Quick2Name(p), quickEmpty);
        form_.setVisible(EmptyLogName(p), quickEmpty);
        form_.setVisible(FirePossibilityName(p), firePossibility);
        form_.setVisible(FireName(p), fire);
        form_.setVisible(RowNumberName(p), rowNumber);
    }
}

void TformRazd::LoadState(const IniFile& ini)
{
    TformIncl::LoadState(ini);
    for (int p = 1; p <= kPartitions; ++p) {
        const bool fire = IsFire(p);
        const bool twentyFourHour = IsTwentyFourHour(p);
        if (fire) {
            form_.setChecked(TwentyFourHourName(p), false);
            form_.setEnabled(TwentyFourHourName(p), false);
        } else if (twentyFourHour) {
            form_.setChecked(FireName(p), false);
            form_.setEnabled(FireName(p), false);
        }
        form_.setText(StateName(p), fire || twentyFourHour ? kArmed : kDisarmed);
        ApplyExitDelayRule(p);
    }
    rulesActive_ = true;
}

void TformRazd::ClearForRead()
{
    for (int p = 1; p <= kPartitions; ++p) {
        for (const std::string& name : {EmptyLogName(p), TwentyFourHourName(p), SirenName(p)}) {
            form_.setChecked(name, false);
            form_.setEnabled(name, true);
        }
        form_.setChecked(FireName(p), false);
        form_.setText(ExitDelayName(p), "000");
        ApplyExitDelayRule(p);
    }
}

void TformRazd::SetDefaults()
{
    TformIncl::SetDefaults();
    auto* loops = dynamic_cast<TformShleif*>(device_.Pages().Find(page_id::kWiredLoops));
    ResetPartitionRows(!loops || loops->Resistive());
    if (loops)
        loops->ResetLoopRows();
    for (int column = 0; column < 3; ++column)
        form_.checkRadio(SirenButton(column, 3));
}

void TformRazd::ResetPartitionRows(bool resistiveLoops)
{
    for (int p = 1; p <= kPartitions; ++p) {
        form_.setText(StateName(p), kDisarmed);
        for (const std::string& name : {EmptyLogName(p), TwentyFourHourName(p), FireName(p), SirenName(p)}) {
            form_.setChecked(name, false);
            form_.setEnabled(name, true);
        }
        form_.setEnabled(FireName(p), resistiveLoops);
        form_.setText(ExitDelayName(p), "000");
        SelectComboItem(form_, RowNumberName(p), p - 1);
        ApplyExitDelayRule(p);
    }
}

// ---- page rules (interface thread) ----

void TformRazd::OnChanged(const std::string& name)
{
    if (name == form_.name()) {
        const bool shown = form_.visible(name);
        if (shown && !shown_)
            PageShown();
        shown_ = shown;
        return;
    }
    if (auto last = lastChecked_.find(name); last != lastChecked_.end()) {
        const bool checked = form_.checked(name);
        if (checked == last->second)
            return;
        last->second = checked;
        CheckBoxChanged(name, checked);
        return;
    }
    if (name == "eca")
        Normalise(name, NormaliseEventCount);
    else if (name == "etSyr")
        Normalise(name, NormaliseSirenDuration);
    else if (name == "MaskEdit1")
        Normalise(name, NormaliseFireThreshold);
    else if (name.starts_with("meIN") && Normalise(name, NormaliseExitDelay)) {
        if (auto* loops = Loops())
            loops->RefreshExitDelays();
        UpdateWarning();
    }
}

bool TformRazd::Normalise(const std::string& name, std::string (*normalise)(const std::string&))
{
    const std::string text = form_.text(name);
    const std::string settled = normalise(text);
    if (settled == text)
        return true;
    form_.setText(name, settled);  // comes back here once more with the settled text
    return false;
}

void TformRazd::CheckBoxChanged(const std::string& name, bool checked)
{
    if (name == "cbWithoutLimit") {
        form_.setEnabled("eca", !checked);
        form_.setEnabled("lca", !checked);
        return;
    }
    for (int p = 1; p <= kPartitions; ++p) {
        if (name == FireName(p)) {
            if (rulesActive_) {
                FireRule(p, checked);
                CheckKeyfobs();
            }
            return;
        }
        if (name == TwentyFourHourName(p)) {
            if (rulesActive_)
                TwentyFourHourRule(p, checked);
            TwentyFourHourEffects(p, checked);
            CheckKeyfobs();
            return;
        }
    }
}

void TformRazd::FireRule(int p, bool on)
{
    const std::string twentyFourHour = TwentyFourHourName(p);
    const std::string emptyLog = EmptyLogName(p);
    if (on) {
        // The 24-hour flag goes first: its own rule shows "Снято", which the fire state replaces.
        form_.setChecked(twentyFourHour, false);
        form_.setEnabled(twentyFourHour, false);
        form_.setChecked(emptyLog, false);
        form_.setEnabled(emptyLog, false);
        form_.setText(StateName(p), GuardedStateText(p));
        form_.setText(ExitDelayName(p), "000");
    } else {
        form_.setEnabled(twentyFourHour, true);
        form_.setEnabled(emptyLog, true);
        form_.setChecked(emptyLog, false);
        form_.setText(StateName(p), kDisarmed);
    }
    ApplyExitDelayRule(p);
}

void TformRazd::TwentyFourHourRule(int p, bool on)
{
    if (on) {
        form_.setText(StateName(p), GuardedStateText(p));
        form_.setEnabled(FireName(p), false);
        form_.setChecked(Ok2Name(p), false);
        form_.setEnabled(Ok2Name(p), false);
        form_.setText(ExitDelayName(p), "000");
        if (FieldNumber(form_.text("etSyr")) == 255)
            form_.setText("etSyr", "254");
    } else {
        form_.setEnabled(Ok2Name(p), true);
        form_.setText(StateName(p), kDisarmed);
        form_.setEnabled(FireName(p), true);
    }
    ApplyExitDelayRule(p);
}

void TformRazd::TwentyFourHourEffects(int p, bool on)
{
    PageDirectory& pages = device_.Pages();
    if (IDevicePage* radio = pages.Find(page_id::kRadioSensors)) {
        FormModel& sensors = radio->Form();
        for (int row = 1; row <= TformRadio::kSlots; ++row) {
            const std::string partition = TformRadio::PartitionListName(row);
            if (!sensors.has(partition) || sensors.index(partition) + 1 != p)
                continue;
            for (const std::string& list : {TformRadio::DelayListName(row), TformRadio::ZoneListName(row)})
                if (sensors.has(list))
                    SelectComboItem(sensors, list, 0);
        }
    }
    if (auto* loops = Loops())
        loops->ApplyTwentyFourHour(p);
    if (IDevicePage* keyfobs = pages.Find(page_id::kKeyfobs)) {
        FormModel& boxes = keyfobs->Form();
        for (int slot = 1; slot <= TformBibelot::kSlots; ++slot) {
            const std::string box = TformBibelot::PartitionBoxName(slot, p);
            if (!boxes.has(box))
                continue;
            if (on)
                boxes.setChecked(box, false);
            boxes.setEnabled(box, !on);
        }
    }
}

void TformRazd::EnableFireFlags()
{
    for (int p = 1; p <= kPartitions; ++p)
        form_.setEnabled(FireName(p), true);
}

void TformRazd::ApplyRules()
{
    if (rulesActive_)
        for (int p = 1; p <= kPartitions; ++p) {
            if (IsFire(p))
                FireRule(p, true);
            else if (IsTwentyFourHour(p))
                TwentyFourHourRule(p, true);
        }
    CheckKeyfobs();
}

void TformRazd::PageShown()
{
    const int version = device_.publishedVersion;
    const bool fireFeatures = version >= kFirstFireVersion;
    for (const char* name : {"gbFire", "Label6", "MaskEdit1", "lbFireNote1", "lbFireNote2", "Label8", "Label9"})
        form_.setVisible(name, fireFeatures);
    for (int column = 0; column < 2; ++column)
        for (int mode = 0; mode < 4; ++mode)
            form_.setVisible(SirenButton(column, mode), fireFeatures);
    CheckKeyfobs();
}

void TformRazd::ApplyExitDelayRule(int p)
{
    form_.setEnabled(ExitDelayName(p), !IsFire(p) && !IsTwentyFourHour(p));
}

void TformRazd::UpdateWarning()
{
    bool tooShort = false;
    for (int p = 1; p <= kPartitions; ++p)
        tooShort |= ExitDelayTooShort(form_.text(ExitDelayName(p)));
    if (form_.visible("pnlWarning") != tooShort)
        form_.setVisible("pnlWarning", tooShort);
}

void TformRazd::CheckKeyfobs()
{
    if (auto* keyfobs = dynamic_cast<TformBibelot*>(device_.Pages().Find(page_id::kKeyfobs)))
        keyfobs->CheckPartitions();
}

TformShleif* TformRazd::Loops() const
{
    return dynamic_cast<TformShleif*>(device_.Pages().Find(page_id::kWiredLoops));
}

std::string TformRazd::GuardedStateText(int p) const
{
    return lastState_[static_cast<std::size_t>(p - 1)] == 2 ? kAlarmOccurred : kArmed;
}

}  // namespace nvx
