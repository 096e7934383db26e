#include "pages/f_Shleif.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <stdexcept>

#include "core/NumberText.h"
#include "core/PageBaseOps.h"
#include "device/DevVeltra.h"
#include "device/PageDirectory.h"
#include "device/Protocol.h"
#include "pages/LoopThresholds.h"
#include "pages/f_Radio.h"
#include "pages/f_Razd.h"

namespace nvx {

namespace {

constexpr const char* kThresholdsReadError = "Ошибка при чтении настроек шлейфов!";
constexpr const char* kTypeDecodeError = "Ошибка при расшифровке типа нумерации шлейфов!";
constexpr const char* kParametersReadError = "Ошибка при чтении параметров шлейфов!";
constexpr const char* kThresholdsWriteError = "Ошибка при записи настроек шлейфов!";
constexpr const char* kParametersWriteError = "Ошибка при записи параметров шлейфов!";

constexpr std::uint32_t kTimeoutMs = 6000;
constexpr int kWriteAttempts = 3;
constexpr int kMaximumDelay = 254;
constexpr int kMaximumResistor = 254;
constexpr int kNotSetResistor = 0xFF;
constexpr int kEntryZoneIndex = 1;
constexpr int kLastPartitionIndex = TformRazd::kPartitions - 1;
constexpr std::size_t kThresholdsLength = 3 * TformShleif::kThresholds;
constexpr std::size_t kLoopParametersLength = 13;

constexpr const char* kNormal = "Нормальное";
constexpr const char* kViolated = "Нарушенное";
constexpr const char* kFault = "Аварийное";
constexpr const char* kBreak = "обрыв";
constexpr std::array kDefaultThresholds{"0", "4", "7", "10", kBreak};

std::string ThreeDigits(int value)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%03d", value);
    return buffer;
}

int Digit(const std::string& value, std::size_t position)
{
    const auto digit = ReadHex(value.substr(position, 1));
    if (!digit)
        throw std::invalid_argument("loop parameter at " + std::to_string(position + 1) + ": " + value);
    return static_cast<int>(*digit);
}

bool Send(TDevVeltra& device, const std::string& command)
{
    std::string value;
    return device.Exchange(command, value, true, "OK", kTimeoutMs, kWriteAttempts);
}

void AddCombo(FormModel& form, const std::string& name, std::vector<std::string> items, const std::string& byDefault)
{
    Control& combo = form.add(name, ControlKind::ComboBox, byDefault, byDefault);
    combo.items = std::move(items);
    combo.index = static_cast<int>(std::find(combo.items.begin(), combo.items.end(), byDefault) - combo.items.begin());
}

void AddRadio(FormModel& form, const char* name, const char* caption, const char* group, bool byDefault)
{
    Control& radio = form.add(name, ControlKind::RadioButton, caption, byDefault ? "true" : "false");
    radio.group = group;
    radio.checked = byDefault;
}

}  // namespace

TformShleif::TformShleif(TDevVeltra& device)
    : TformIncl("formShleif", page_id::kWiredLoops, "Параметры шлейфов"), device_(device)
{
    form_.add("GroupBox2", ControlKind::GroupBox, "Тип шлейфов");
    AddRadio(form_, "rzt0", "резистивные", "loopType", false);
    AddRadio(form_, "rzt1", "сухие контакты", "loopType", true);
    form_.add("RzGroupBox2", ControlKind::GroupBox, "Событие по шлейфам");
    AddRadio(form_, "RadioButton1", "Формировать", "loopEvents", false);
    AddRadio(form_, "RadioButton2", "Не формировать", "loopEvents", true);

    const std::array<const char*, 3> resistors{"8", "5", "10"};
    for (int n = 1; n <= 3; ++n) {
        Control& edit = form_.add(ResistorName(n), ControlKind::Edit, resistors[n - 1], resistors[n - 1]);
        edit.maxLength = 3;
        edit.visible = false;
    }

    for (int loop = 1; loop <= kLoops; ++loop) {
        form_.add(StateName(loop), ControlKind::Edit, kNormal, kNormal).enabled = false;
        AddCombo(form_, NormalName(loop), {"Разомкнутое", "Замкнутое"}, "Разомкнутое");
        AddCombo(form_, PartitionName(loop), {"1", "2", "3", "4", "5", "6"}, "6");
        form_.add(EntryDelayName(loop), ControlKind::MaskEdit, "000", "000").enabled = false;
        form_.add(ExitDelayName(loop), ControlKind::MaskEdit, "000", "000").enabled = false;
        AddCombo(form_, ZoneName(loop), {"мгновенная", "входная", "проходная"}, "мгновенная");
        shownPartition_[loop - 1] = kLastPartitionIndex;
    }

    Control& button = form_.add(kThresholdsButton, ControlKind::Button, "Настройки шлейфов 1, 2");
    button.visible = false;
    form_.add(kThresholdsPanel, ControlKind::GroupBox, "Пороговые значения для шлейфов АЦП").visible = false;
    for (int i = 0; i < kThresholds; ++i)
        form_.add(kThresholdEdits[i], ControlKind::Edit, kDefaultThresholds[i], kDefaultThresholds[i]);
    for (std::size_t i = 0; i < kShortViewEdits.size(); ++i) {
        const char* text = kDefaultThresholds[kShortViewThresholds[i]];
        form_.add(kShortViewEdits[i], ControlKind::Edit, text, text);
    }
    for (const char* name : {kFullSlider, kShortSlider}) {
        Control& slider = form_.add(name, ControlKind::Slider);
        slider.minimum = 0;
        slider.maximum = kSliderMaximum;
        slider.marker = kLoopBreakCode - kLowestLoopThresholdCode;
        form_.add(std::string("etKOM") + name, ControlKind::Edit, kBreak, kBreak);
    }
    form_.add("pSensor1", ControlKind::Other);
    form_.add("pSensor2", ControlKind::Other).visible = false;

    SyncSliders();
    ApplyLoopEventsRule();

    form_.setAction("rzt0", [this] { ApplyLoopTypeRule(); });
    form_.setAction("rzt1", [this] { ApplyLoopTypeRule(); });
    form_.setAction("RadioButton1", [this] { ClickLoopEvents("RadioButton1"); });
    form_.setAction("RadioButton2", [this] { ClickLoopEvents("RadioButton2"); });
    form_.setAction(kThresholdsButton,
                    [this] { form_.setVisible(kThresholdsPanel, !form_.visible(kThresholdsPanel)); });
    subscription_ = form_.subscribe([this](const std::string& name) { OnChange(name); });
}

TformShleif::~TformShleif()
{
    form_.unsubscribe(subscription_);
}

bool TformShleif::Resistive() const
{
    return form_.checked("rzt0");
}

bool TformShleif::EventGroupShows() const
{
    return form_.visible("RzGroupBox2");
}

std::string TformShleif::StateText(int measuredInput, int normalState)
{
    if (measuredInput == 2)
        return kFault;
    return measuredInput == normalState ? kNormal : kViolated;
}

std::string TformShleif::NormalisedDelay(const std::string& text)
{
    std::string digits = text;
    std::replace(digits.begin(), digits.end(), ' ', '0');
    const auto value = ReadDecimal(digits);
    return ThreeDigits(value ? static_cast<int>(std::min<std::uint32_t>(*value, kMaximumDelay)) : 0);
}

// ---- Rules -------------------------------------------------------------------------------------

void TformShleif::OnChange(const std::string& name)
{
    for (int loop = 1; loop <= kLoops; ++loop) {
        const int i = loop - 1;
        if (name == ZoneName(loop) && form_.index(name) != shownZone_[i]) {
            shownZone_[i] = form_.index(name);
            ApplyZoneRule(loop);
            RefreshExitDelays();
        } else if (name == PartitionName(loop) && form_.index(name) != shownPartition_[i]) {
            shownPartition_[i] = form_.index(name);
            ApplyZoneRule(loop);
            RefreshExitDelays();
        } else if (name == EntryDelayName(loop)) {
            ApplyEntryDelayRule(loop);
        }
    }
    for (int n = 1; n <= 3; ++n)
        if (name == ResistorName(n))
            ApplyResistorRule(n);
    if (name == "RzGroupBox2" || name == "GroupBox2")
        ApplyBoardGroups(name);
    // Shown while connected: the zone rule of both loops.
    if (name == form_.name() && form_.visible(name) && device_.Link())
        for (int loop = 1; loop <= kLoops; ++loop)
            ApplyZoneRule(loop);
    ThresholdTextChanged(name);
}

void TformShleif::ApplyZoneRule(int loop)
{
    const bool entry = form_.index(ZoneName(loop)) == kEntryZoneIndex;
    if (!entry) {
        form_.setText(EntryDelayName(loop), "000");
        form_.setText(ExitDelayName(loop), "000");
    }
    form_.setEnabled(EntryDelayName(loop), entry && form_.enabled(ZoneName(loop)));
}

void TformShleif::ApplyEntryDelayRule(int loop)
{
    const std::string name = EntryDelayName(loop);
    const std::string normalised = NormalisedDelay(form_.text(name));
    if (normalised != form_.text(name))
        form_.setText(name, normalised);  // comes back here once, already normal
    else
        RefreshExitDelays();
}

void TformShleif::RefreshExitDelays()
{
    auto* partitions = dynamic_cast<TformRazd*>(device_.Pages().Find(page_id::kPartitions));
    for (int loop = 1; loop <= kLoops; ++loop) {
        // A loop that is no entry zone has no exit delay to show.
        std::string delay = "000";
        const int partition = form_.index(PartitionName(loop)) + 1;
        if (partitions && form_.index(ZoneName(loop)) == kEntryZoneIndex && partition >= 1)
            delay = partitions->ExitDelayText(partition);
        if (form_.text(ExitDelayName(loop)) != delay)
            form_.setText(ExitDelayName(loop), delay);
    }
}

void TformShleif::ApplyResistorRule(int n)
{
    const std::string name = ResistorName(n);
    const auto value = ReadDecimal(form_.text(name));
    if (value && *value > kMaximumResistor)
        form_.setText(name, std::to_string(kMaximumResistor));
}

void TformShleif::ApplyLoopTypeRule()
{
    const bool resistive = Resistive();
    for (int n = 1; n <= 3; ++n)
        form_.setVisible(ResistorName(n), resistive);
    form_.setVisible("pSensor2", resistive);
    form_.setVisible(kThresholdsButton, resistive);
    form_.setVisible(kThresholdsPanel, false);
    ApplyLoopEventsRule();
    if (auto* partitions = dynamic_cast<TformRazd*>(device_.Pages().Find(page_id::kPartitions))) {
        if (resistive)
            partitions->EnableFireFlags();
        partitions->ApplyRules();
    }
}

void TformShleif::ApplyLoopEventsRule()
{
    const bool events = form_.checked("RadioButton1");
    form_.setEnabled("GroupBox2", events);
    form_.setEnabled(kThresholdsButton, events);
    for (int loop = 1; loop <= kLoops; ++loop) {
        // With potential-free loops the second row is covered: only loop 1 is edited.
        const bool editable = events && (loop == 1 || Resistive());
        for (const std::string& name : {NormalName(loop), PartitionName(loop), ZoneName(loop)})
            form_.setEnabled(name, editable);
        form_.setEnabled(StateName(loop), editable);
        ApplyZoneRule(loop);
    }
}

void TformShleif::ClickLoopEvents(const std::string& button)
{
    form_.checkRadio(button);
    if (device_.boardSelector == 1) {
        form_.checkRadio("rzt0");
        for (int loop = 1; loop <= kLoops; ++loop)
            SelectComboItem(form_, NormalName(loop), 0);
        ApplyLoopTypeRule();
    } else {
        ApplyLoopEventsRule();
    }
}

// The connection asks for the groups to be hidden with "hide", which reaches a group box as
// "disable"; the page turns that into hiding both groups, and a later "Show" brings both back.
void TformShleif::ApplyBoardGroups(const std::string& name)
{
    if (name == "RzGroupBox2" && !form_.enabled("RzGroupBox2")) {
        form_.setEnabled("RzGroupBox2", true);
        form_.setVisible("RzGroupBox2", false);
        form_.setVisible("GroupBox2", false);
    } else if (name == "GroupBox2" && form_.visible("GroupBox2") && !form_.visible("RzGroupBox2")) {
        form_.setVisible("RzGroupBox2", true);
    }
}

// ---- Thresholds and sliders --------------------------------------------------------------------

void TformShleif::ThresholdTextChanged(const std::string& name)
{
    for (std::size_t i = 0; i < kShortViewEdits.size(); ++i) {
        if (name != kShortViewEdits[i])
            continue;
        const std::string full = kThresholdEdits[kShortViewThresholds[i]];
        if (form_.text(full) != form_.text(name))
            form_.setText(full, form_.text(name));  // the written view follows, then the sliders
        return;
    }
    if (std::find(kThresholdEdits.begin(), kThresholdEdits.end(), name) == kThresholdEdits.end())
        return;
    for (std::size_t i = 0; i < kShortViewEdits.size(); ++i) {
        const std::string text = form_.text(kThresholdEdits[kShortViewThresholds[i]]);
        if (form_.text(kShortViewEdits[i]) != text)
            form_.setText(kShortViewEdits[i], text);
    }
    SyncSliders();
}

void TformShleif::SyncSliders()
{
    std::array<int, kThresholds> values{};
    for (int i = 0; i < kThresholds; ++i)
        values[i] = LoopThresholdCode(form_.text(kThresholdEdits[i])) - kLowestLoopThresholdCode;
    form_.update(kFullSlider, [&](Control& slider) { std::copy(values.begin(), values.end(), slider.thumbs.begin()); });
    form_.update(kShortSlider, [&](Control& slider) {
        for (std::size_t i = 0; i < kShortViewThresholds.size(); ++i)
            slider.thumbs[i] = values[kShortViewThresholds[i]];
    });
}

void TformShleif::SliderMoved(const std::string& slider, const std::vector<int>& values)
{
    const bool full = slider == kFullSlider;
    if (!full && slider != kShortSlider)
        return;
    const std::size_t count = full ? kThresholdEdits.size() : kShortViewThresholds.size();
    for (std::size_t i = 0; i < count && i < values.size(); ++i) {
        const int threshold = full ? static_cast<int>(i) : kShortViewThresholds[i];
        const std::string text = LoopThresholdText(values[i] + kLowestLoopThresholdCode);
        if (form_.text(kThresholdEdits[threshold]) != text)
            form_.setText(kThresholdEdits[threshold], text);
    }
}

void TformShleif::ShowThresholds(const std::array<int, kThresholds>& codes)
{
    TOutArray& queue = device_.Queue();
    for (int i = 0; i < kThresholds; ++i)
        queue.PostText({&form_, kThresholdEdits[i]}, LoopThresholdText(codes[i]));
    for (std::size_t i = 0; i < kShortViewEdits.size(); ++i)
        queue.PostText({&form_, kShortViewEdits[i]}, LoopThresholdText(codes[kShortViewThresholds[i]]));
    // The thumbs take the exact codes, not the codes of the rounded texts.
    for (int i = 0; i < kThresholds; ++i)
        queue.PostSlider({&form_, kFullSlider}, i, std::to_string(codes[i]));
    for (std::size_t i = 0; i < kShortViewThresholds.size(); ++i)
        queue.PostSlider({&form_, kShortSlider}, static_cast<int>(i), std::to_string(codes[kShortViewThresholds[i]]));
}

// ---- Rows, defaults, state ---------------------------------------------------------------------

void TformShleif::ResetRowsForRead()
{
    for (int loop = 1; loop <= kLoops; ++loop) {
        form_.setText(StateName(loop), kNormal);
        SelectComboItem(form_, NormalName(loop), 1);
        form_.setText(EntryDelayName(loop), "000");
        form_.setText(ExitDelayName(loop), "000");
    }
}

void TformShleif::ResetLoopRows()
{
    for (int loop = 1; loop <= kLoops; ++loop) {
        form_.setText(StateName(loop), kNormal);
        SelectComboItem(form_, NormalName(loop), 0);
        SelectComboItem(form_, PartitionName(loop), kLastPartitionIndex);
        form_.setText(EntryDelayName(loop), "000");
        form_.setText(ExitDelayName(loop), "000");
    }
}

void TformShleif::ApplyTwentyFourHour(int partition)
{
    for (int loop = 1; loop <= kLoops; ++loop) {
        if (form_.index(PartitionName(loop)) + 1 != partition)
            continue;
        SelectComboItem(form_, ZoneName(loop), 0);
        form_.setText(EntryDelayName(loop), "000");
    }
}

void TformShleif::ClearForRead()
{
    TformIncl::ClearForRead();
    ResetRowsForRead();
}

void TformShleif::PrepareRead()
{
    ResetRowsForRead();
}

void TformShleif::SetDefaults()
{
    TformIncl::SetDefaults();
    ResetLoopRows();
    for (int i = 0; i < kThresholds; ++i)
        form_.setText(kThresholdEdits[i], kDefaultThresholds[i]);
    form_.checkRadio("rzt1");
    form_.checkRadio("RadioButton2");
    ApplyLoopTypeRule();
    if (auto* partitions = dynamic_cast<TformRazd*>(device_.Pages().Find(page_id::kPartitions)))
        partitions->ResetPartitionRows(Resistive());
}

void TformShleif::LoadState(const IniFile& ini)
{
    TformIncl::LoadState(ini);
    SyncSliders();
}

// ---- Reads ----------------------------------------------------------------------------------

void TformShleif::ReadLoopThresholds(TDevVeltra& device)
{
    if (device.abortState)
        return;
    bool ok = true;
    try {
        std::string value;
        if (device.Exchange("+wt", value, true, "OK", kTimeoutMs, 1)) {
            value = TrimControl(value);
            if (value.size() < kThresholdsLength)
                throw std::invalid_argument("short thresholds: " + value);
            std::array<int, kThresholds> codes{};
            for (int i = 0; i < kThresholds; ++i) {
                const auto code = ReadHex(value.substr(3 * i, 3));
                if (!code)
                    throw std::invalid_argument("thresholds: " + value);
                codes[i] = static_cast<int>(*code);
            }
            ShowThresholds(codes);
        } else {
            ok = false;
        }
        if (!device.abortState) {
            if (device.Exchange("+M", value, true, "OK", kTimeoutMs, 1)) {
                for (auto at = value.find("OK"); at != std::string::npos; at = value.find("OK"))
                    value.erase(at, 2);
                value = TrimControl(value);
                for (int n = 1; n <= 3 && value.size() >= 2u * n; ++n) {
                    const auto byte = ReadHex(value.substr(2 * (n - 1), 2));
                    std::string text = "0";
                    if (byte)
                        text = *byte == kNotSetResistor ? std::string() : std::to_string(*byte);
                    device.Queue().PostText({&form_, ResistorName(n)}, text);
                }
            } else {
                ok = false;
            }
        }
    } catch (const std::exception&) {
        ok = false;
    }
    if (!ok)
        device.Log(kThresholdsReadError);
}

void TformShleif::ReadLoopParameters(TDevVeltra& device)
{
    ReadParameters(device);
}

bool TformShleif::ReadParameters(TDevVeltra& device)
{
    if (device.abortState)
        return false;
    bool ok = true;
    bool loopsShown = false;
    try {
        std::string value;
        if (device.ReadValue("+wz", value)) {
            value = TrimControl(value);
            if (!value.empty()) {
                const bool typeKnown = std::isdigit(static_cast<unsigned char>(value[0])) != 0;
                for (const char* button : {"rzt0", "rzt1"}) {
                    if (typeKnown)
                        device.MarkConfirmed({&form_, button});
                    else
                        device.MarkFailed({&form_, button});
                }
                if (!typeKnown)
                    device.Log(kTypeDecodeError);
                if (value.size() < kLoopParametersLength)
                    throw std::invalid_argument("short loop parameters: " + value);
                std::array<LoopValues, kLoops> loops{};
                for (int i = 0; i < kLoops; ++i) {
                    const std::size_t at = 1 + 6 * static_cast<std::size_t>(i);
                    loops[i].input = Digit(value, at);
                    loops[i].normal = Digit(value, at + 1);
                    loops[i].partition = Digit(value, at + 2);
                    loops[i].zone = Digit(value, at + 3);
                    loops[i].delay = Digit(value, at + 4) * 16 + Digit(value, at + 5);
                }
                const bool potentialFree = value[0] == '1';
                if (!device.Calls().Call([&] { ShowLoops(typeKnown, potentialFree, loops); },
                                         [&device] { return device.LinkStopping(); }))
                    return false;
                loopsShown = true;
                MarkRows(device, true);
            }
        } else {
            ok = false;
            MarkRows(device, false);
        }
        if (EventGroupShows() && !device.abortState) {
            // No answer counts as "not generated", like any other number than 2.
            const bool generate = device.Exchange("+dp", value, true, "OK", kTimeoutMs, 1) &&
                                  ReadDecimal(TrimControl(value)).value_or(0) == 2;
            device.Calls().Call([&] { ClickLoopEvents(generate ? "RadioButton1" : "RadioButton2"); },
                                [&device] { return device.LinkStopping(); });
        }
    } catch (const std::exception&) {
        ok = false;
        MarkRows(device, false);
    }
    if (!ok)
        device.Log(kParametersReadError);
    return loopsShown;
}

void TformShleif::ShowLoops(bool typeKnown, bool potentialFree, const std::array<LoopValues, kLoops>& loops)
{
    if (typeKnown) {
        form_.checkRadio(potentialFree ? "rzt1" : "rzt0");
        ApplyLoopTypeRule();
    }
    for (int loop = 1; loop <= kLoops; ++loop) {
        const LoopValues& v = loops[loop - 1];
        form_.setText(StateName(loop), StateText(v.input, v.normal));
        SelectComboItem(form_, NormalName(loop), v.normal);
        SelectComboItem(form_, PartitionName(loop), v.partition);
        SelectComboItem(form_, ZoneName(loop), v.zone);
        form_.setText(EntryDelayName(loop), std::to_string(v.delay));
    }
}

std::vector<ControlRef> TformShleif::RowControls()
{
    std::vector<ControlRef> controls;
    for (int loop = 1; loop <= kLoops; ++loop)
        for (const std::string& name : {StateName(loop), EntryDelayName(loop)})
            controls.push_back({&form_, name});
    return controls;
}

void TformShleif::MarkRows(TDevVeltra& device, bool confirmed)
{
    for (const ControlRef& control : RowControls()) {
        if (confirmed)
            device.MarkConfirmed(control);
        else
            device.MarkFailed(control);
    }
}

// ---- Writes ---------------------------------------------------------------------------------

void TformShleif::WriteLoopThresholds(TDevVeltra& device)
{
    if (device.abortState)
        return;
    bool ok = true;
    try {
        std::string thresholds;
        for (const char* name : kThresholdEdits)
            thresholds += WriteHex(static_cast<unsigned>(LoopThresholdCode(form_.text(name))), 3);
        ok = Send(device, "+wt=" + thresholds);
        std::string resistors;
        for (int n = 1; n <= 3; ++n) {
            const auto value = ReadDecimal(form_.text(ResistorName(n)));
            // Kept within the byte the panel stores; 255 would read back as "not set".
            resistors += value ? WriteHex(std::min<std::uint32_t>(*value, kMaximumResistor), 2) : WriteHex(kNotSetResistor, 2);
        }
        if (!device.abortState && !Send(device, "+M=" + resistors))
            ok = false;
    } catch (const std::exception&) {
        ok = false;
    }
    if (!ok)
        device.Log(kThresholdsWriteError);
}

void TformShleif::WriteLoopParameters(TDevVeltra& device)
{
    if (device.abortState)
        return;
    bool ok = true;
    try {
        std::string command = std::string("+wz=") + (Resistive() ? "0" : "1");
        for (int loop = 1; loop <= kLoops; ++loop) {
            const auto delay = ReadDecimal(form_.text(EntryDelayName(loop)));
            if (!delay || *delay > kMaximumDelay)
                throw std::invalid_argument("entry delay " + form_.text(EntryDelayName(loop)));
            command += WriteHex(static_cast<unsigned>(std::max(form_.index(NormalName(loop)), 0)), 1);
            command += WriteHex(static_cast<unsigned>(std::max(form_.index(PartitionName(loop)), 0)), 1);
            command += WriteHex(static_cast<unsigned>(std::max(form_.index(ZoneName(loop)), 0)), 1);
            command += WriteHex(*delay, 2);
        }
        const bool sent = Send(device, command);
        MarkRows(device, sent);
        ok = sent;
        if (EventGroupShows() && !device.abortState)
            ok = Send(device, std::string("+dp=") + (form_.checked("RadioButton1") ? "02" : "00")) && ok;
    } catch (const std::exception&) {
        ok = false;
    }
    if (!ok)
        device.Log(kParametersWriteError);
}

// ---- Dispatch -------------------------------------------------------------------------------

void TformShleif::ReadFromDevice(TDevVeltra& device)
{
    if (!device.AllPages()) {
        if (auto* partitions = dynamic_cast<TformRazd*>(device.Pages().Find(page_id::kPartitions)))
            partitions->ReadPartitionSettings(device);
        if (auto* sensors = dynamic_cast<TformRadio*>(device.Pages().Find(page_id::kRadioSensors)))
            sensors->ReadSensors(device);
    }
    ReadLoopThresholds(device);
    const bool loopsRead = ReadParameters(device);
    // The codes page is not part of this program. The write-back sends what was read and adjusted;
    // after a failed read the rows hold only their reset, which must not replace the panel's values.
    if (device.boardSelector == 1 && loopsRead)
        WriteLoopParameters(device);
}

void TformShleif::WriteToDevice(TDevVeltra& device)
{
    WriteLoopThresholds(device);
    WriteLoopParameters(device);
}

}  // namespace nvx
