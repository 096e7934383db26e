#include "pages/f_Radio.h"

#include <array>
#include <exception>
#include <vector>

#include "core/PageBaseOps.h"
#include "device/DevVeltra.h"
#include "device/PageDirectory.h"
#include "link/xModem.h"
#include "pages/KeyfobWire.h"
#include "pages/RadioExchange.h"
#include "pages/RadioSlotJobs.h"
#include "pages/SlotEnrolmentLook.h"
#include "pages/f_MessageDlg.h"

namespace nvx {

namespace {

constexpr const char* kReadError = "Ошибка при чтении настроек радиодатчиков!";
constexpr const char* kWriteError = "Ошибка при записи настроек радиодатчиков!";
constexpr const char* kEnrolError = "Ошибка при добавлении!";
constexpr const char* kDeleteError = "Ошибка при удалении радиодатчика!";
constexpr const char* kDeleteQuestion = "Вы уверены, что хотите удалить радиодатчик?";
constexpr const char* kSearching = "Идет поиск радиодатчика...";

constexpr const char* kTabs = "PageControl1";
constexpr int kSecondsPerDelayItem = 4;

std::string TwoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

// The row number a control name carries after its prefix ("btnAdd12", "cbZn05"), 0 for none.
int RowAfter(const std::string& name, std::size_t prefixLength)
{
    if (name.size() <= prefixLength || name.size() > prefixLength + 2)
        return 0;
    int row = 0;
    for (std::size_t i = prefixLength; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9')
            return 0;
        row = row * 10 + (name[i] - '0');
    }
    return row >= 1 && row <= TformRadio::kSlots ? row : 0;
}

int RowOf(const std::string& name, const std::string& prefix)
{
    return name.rfind(prefix, 0) == 0 ? RowAfter(name, prefix.size()) : 0;
}

bool IsLockedFireType(const std::string& type) { return type == kFireSensorName || type == kManualCallPointName; }

Control& AddList(FormModel& form, const std::string& name, std::vector<std::string> items, const std::string& byDefault)
{
    Control& list = form.add(name, ControlKind::ComboBox, items.front(), byDefault);
    list.items = std::move(items);
    list.index = 0;
    return list;
}

}  // namespace

TformRadio::TformRadio(TDevVeltra& device, TformMessageDlg& dialog)
    : TformIncl("formRadio", page_id::kRadioSensors, "Настройка радиодатчиков"), device_(device), dialog_(dialog)
{
    // The captions record which slots are enrolled, so the settings file keeps them.
    stateOptions_.restoreButtonCaptions = true;

    form_.add(kTabs, ControlKind::Other).index = 0;
    form_.add("TabSheet1", ControlKind::Other, "Радиодатчики с 1 по 16");
    form_.add("TabSheet2", ControlKind::Other, "Радиодатчики с 17 по 32");

    std::vector<std::string> partitions;
    for (int p = 1; p <= kPartitionItems; ++p)
        partitions.push_back(std::to_string(p));
    std::vector<std::string> delays;
    for (int item = 0; item < kDelayItems; ++item)
        delays.push_back(std::to_string(item * kSecondsPerDelayItem) + " сек");
    const std::vector<std::string> zones{"мгновенная", "входная", "проходная"};

    for (int row = 1; row <= kSlots; ++row) {
        form_.add(NumberLabelName(row), ControlKind::Label, std::to_string(row)).color = kFreeSlotColour;
        form_.add(TypeFieldName(row), ControlKind::Edit);
        AddList(form_, PartitionListName(row), partitions, "1");
        AddList(form_, DelayListName(row), delays, "4 сек");
        AddList(form_, ZoneListName(row), zones, "мгновенная");
        // Usable once a connection is made.
        form_.add(ButtonName(row), ControlKind::Button, kFreeSlotCaption).enabled = false;

        form_.setAction(ButtonName(row), [this, row] { ClickAddDelete(row); });
        form_.setAction(PartitionListName(row), [this, row] { ApplyZoneRule(row); });
        form_.setAction(ZoneListName(row), [this, row] { ApplyZoneRule(row); });
        form_.setAction(DelayListName(row), [this, row] { ApplyDelayRule(row); });
    }
    form_.add("lbNote1", ControlKind::Label,
              "* Для копирования настроек датчика используйте выпадающее меню (наведите курсор на номер или тип "
              "датчика и нажмите правую клавишу мыши)");
    form_.add("lbNote2", ControlKind::Label, "* В одном разделе может быть только одна входная зона");

    form_.add("nCopy", ControlKind::MenuItem, "Копировать настройки радиодатчика");
    form_.add("nInsert", ControlKind::MenuItem, "Вставить настройки радиодатчика").enabled = false;
    form_.add("N2", ControlKind::MenuItem, "Применить настройки ко всем радиодатчикам данного типа");
    form_.add("N3", ControlKind::MenuItem, "Применить настройки ко всем радиодатчикам");
    form_.setAction("nCopy", [this] { CopyRow(); });
    form_.setAction("nInsert", [this] { PasteRow(); });
    form_.setAction("N2", [this] { ApplyToRows(true); });
    form_.setAction("N3", [this] { ApplyToRows(false); });

    subscription_ = form_.subscribe([this](const std::string& name) { OnControlChanged(name); });

    device.RegisterJob(kJobEnrol, [this] { EnrolSensor(); });
    device.RegisterJob(kJobDelete, [this] { DeleteSensor(); });
}

TformRadio::~TformRadio() { form_.unsubscribe(subscription_); }

std::string TformRadio::PartitionListName(int row) { return "cbR" + TwoDigits(row); }
std::string TformRadio::DelayListName(int row) { return "cbZ" + TwoDigits(row); }
std::string TformRadio::ZoneListName(int row) { return "cbZn" + TwoDigits(row); }
std::string TformRadio::TypeFieldName(int row) { return "etT" + std::to_string(row); }
std::string TformRadio::NumberLabelName(int row) { return "lbN" + std::to_string(row); }
std::string TformRadio::ButtonName(int row) { return "btnAdd" + std::to_string(row); }

void TformRadio::SetConfirmation(std::function<bool(const std::string&)> confirm) { confirm_ = std::move(confirm); }

bool TformRadio::Enrolled(int row) const
{
    return form_.text(ButtonName(row)) == kEnrolledSlotCaption;
}

void TformRadio::SetPopupRow(const std::string& controlName)
{
    // The number after the first three characters: "lbN12", "etT5".
    popupRow_ = RowAfter(controlName, 3);
}

SensorSettings TformRadio::SettingsOf(int row) const
{
    auto item = [&](const std::string& list, int items) {
        const int index = form_.index(list);
        return index >= 0 && index < items ? index : 0;
    };
    return {item(PartitionListName(row), kPartitionItems), item(DelayListName(row), kDelayItems),
            item(ZoneListName(row), kZoneItems)};
}

void TformRadio::SetSettings(int row, const SensorSettings& settings)
{
    SelectComboItem(form_, PartitionListName(row), settings.partitionItem);
    SelectComboItem(form_, DelayListName(row), settings.delayItem);
    SelectComboItem(form_, ZoneListName(row), settings.zoneItem);
}

void TformRadio::OnControlChanged(const std::string& name)
{
    if (name == form_.name()) {
        const bool visible = form_.visible(name);
        if (visible && !shown_)
            ApplyZoneRuleToAll();
        shown_ = visible;
        return;
    }
    // The number label shows what the button records: lime for an enrolled sensor.
    if (const int row = RowOf(name, "btnAdd"))
        ShowSlotEnrolment(form_, NumberLabelName(row), Enrolled(row));
}

void TformRadio::ApplyZoneRule(int row)
{
    if (row < 1 || row > kSlots)
        return;
    const std::string delay = DelayListName(row);
    const std::string zone = ZoneListName(row);
    const bool entry = form_.index(zone) == kEntryZone;
    // An entry zone needs a delay.
    if (entry && form_.index(delay) == 0)
        SelectComboItem(form_, delay, 1);
    const std::string type = form_.text(TypeFieldName(row));
    form_.setEnabled(zone, type != kSmokeSensorName);
    form_.setEnabled(PartitionListName(row), !type.empty());
    form_.setEnabled(delay, entry);
    if (!entry)
        SelectComboItem(form_, delay, 0);
    // Fire sensors and manual call points alarm at once, wherever they are.
    for (int other = 1; other <= kSlots; ++other) {
        if (!IsLockedFireType(form_.text(TypeFieldName(other))))
            continue;
        for (const std::string& list : {DelayListName(other), ZoneListName(other)}) {
            SelectComboItem(form_, list, 0);
            form_.setEnabled(list, false);
        }
    }
}

void TformRadio::ApplyDelayRule(int row)
{
    if (form_.index(DelayListName(row)) != 0 || form_.index(ZoneListName(row)) != kEntryZone)
        return;
    SelectComboItem(form_, ZoneListName(row), 0);
    ApplyZoneRule(row);
}

void TformRadio::ApplyZoneRuleToAll()
{
    for (int row = 1; row <= kSlots; ++row)
        ApplyZoneRule(row);
}

void TformRadio::ResetRows()
{
    form_.setIndex(kTabs, 0);
    for (int row = 1; row <= kSlots; ++row) {
        form_.setText(ButtonName(row), kFreeSlotCaption);
        SetSettings(row, {});
    }
    ApplyZoneRuleToAll();
}

void TformRadio::ClearForRead()
{
    TformIncl::ClearForRead();
    ResetRows();
}

void TformRadio::PrepareRead() { ResetRows(); }

void TformRadio::SetDefaults()
{
    // Only the lists take their defaults; types, buttons and enabled states stay.
    for (int row = 1; row <= kSlots; ++row)
        for (const std::string& name : {PartitionListName(row), DelayListName(row), ZoneListName(row)}) {
            const Control list = form_.get(name);
            for (std::size_t i = 0; i < list.items.size(); ++i)
                if (list.items[i] == list.hint)
                    SelectComboItem(form_, name, static_cast<int>(i));
        }
}

void TformRadio::ClickAddDelete(int row)
{
    TModem* link = device_.Link();
    if (!link)
        return;
    const std::string caption = form_.text(ButtonName(row));
    if (caption == kFreeSlotCaption) {
        selectedSlot_ = row;
        if (dialog_.ShowSearch(kSearching, true))
            dialog_.Form().setText("btnOKCancel", "OK");  // the user chooses how to enrol first
        else
            link->SetJob(kJobEnrol);
    } else if (caption == kEnrolledSlotCaption && !dialog_.Visible()) {
        if (confirm_ && confirm_(kDeleteQuestion)) {
            selectedSlot_ = row;
            link->SetJob(kJobDelete);
        }
    }
}

void TformRadio::CopyRow()
{
    if (popupRow_ == 0 || form_.text(TypeFieldName(popupRow_)).empty())
        return;
    copyBuffer_ = SettingsOf(popupRow_);
    form_.setEnabled("nInsert", true);
}

void TformRadio::PasteRow()
{
    if (popupRow_ == 0 || !copyBuffer_ || form_.text(TypeFieldName(popupRow_)).empty())
        return;
    SetSettings(popupRow_, *copyBuffer_);
    ApplyZoneRule(popupRow_);
}

void TformRadio::ApplyToRows(bool sameTypeOnly)
{
    if (popupRow_ == 0)
        return;
    const std::string type = form_.text(TypeFieldName(popupRow_));
    if (type.empty())
        return;
    const SensorSettings settings = SettingsOf(popupRow_);
    for (int row = 1; row <= kSlots; ++row) {
        const std::string other = form_.text(TypeFieldName(row));
        if (row == popupRow_ || other.empty() || (sameTypeOnly && other != type))
            continue;
        SetSettings(row, settings);
        ApplyZoneRule(row);
    }
}

void TformRadio::ReadSensors(TDevVeltra& device)
{
    if (device.abortState)
        return;
    // Enabled states cannot travel through the queue to a list; they are set on the interface
    // thread once the values queued before them are shown.
    struct RowState {
        bool read = false;
        bool zoneEnabled = true;
        bool enrolled = false;
        bool delayEnabled = false;
    };
    std::array<RowState, kSlots + 1> rows{};
    TOutArray& queue = device.Queue();
    const int version = device.publishedVersion;
    bool malformed = false;
    try {
        for (int row = 1; row <= kSlots && !device.abortState; ++row) {
            std::string value;
            if (!device.ReadValue("+z" + HexByte(row), value))
                continue;  // the row keeps what it showed
            const auto code = SensorRecordType(value);
            const bool enrolled = code && IsEnrolledSensorType(*code);
            const auto settings = enrolled ? SensorRecordSettings(value) : SensorSettings{};
            if (!code || !settings) {
                malformed = true;
                break;
            }
            if (const auto name = SensorTypeName(*code, version))
                queue.PostText(Ref(TypeFieldName(row)), *name);
            queue.PostInt(Ref(PartitionListName(row)), settings->partitionItem);
            queue.PostInt(Ref(DelayListName(row)), settings->delayItem);
            queue.PostInt(Ref(ZoneListName(row)), settings->zoneItem);
            queue.PostText(Ref(ButtonName(row)), SlotCaptionCommand(enrolled));
            rows[row] = {true, !(*code == 2 && version >= kFirstSmokeSensorVersion), enrolled,
                         settings->zoneItem == kEntryZone};
        }
        if (!malformed)
            ReturnToWorkingMode(device);
    } catch (const std::exception&) {
        malformed = true;
    }
    device.Calls().Call(
        [this, rows] {
            for (int row = 1; row <= kSlots; ++row) {
                if (!rows[row].read)
                    continue;
                form_.setEnabled(ZoneListName(row), rows[row].zoneEnabled);
                if (rows[row].enrolled)
                    form_.setEnabled(PartitionListName(row), true);
                form_.setEnabled(DelayListName(row), rows[row].delayEnabled);
            }
            ApplyZoneRule(1);
        },
        [&device] { return device.LinkStopping(); });
    if (malformed)
        device.Log(kReadError);
}

void TformRadio::WriteSensors(TDevVeltra& device)
{
    WriteSlots(device, kSlots, kWriteError, [this](int row) -> std::optional<std::string> {
        if (!Enrolled(row))
            return std::nullopt;
        const int type = SensorTypeCode(form_.text(TypeFieldName(row)));
        return "+z" + HexByte(row) + "=" + SensorRecord(row, type, SettingsOf(row));
    });
}

void TformRadio::EnrolSensor()
{
    RunEnrolmentJob(device_, kEnrolError, [this] { Enrol(selectedSlot_); });
}

void TformRadio::Enrol(int slot)
{
    TDevVeltra& device = device_;
    TModem* link = device.Link();
    if (!link || slot < 1 || slot > kSlots)
        return;
    device.abortState = false;
    if (dialog_.PeriodChosen())
        link->SendNoWait(AlarmPeriodCommand(dialog_.PeriodSeconds()));
    const std::string learnValue = SensorLearnValue(slot, SettingsOf(slot));
    if (!EnterLearnMode(device, "+l=1", dialog_.Form(), kEnrolError))
        return;

    TOutArray& queue = device.Queue();
    const PageEnrolment page{kSlots, "Радиодатчик", "датчик", kEnrolError,
                             [this, &queue](int enrolled) {
                                 queue.PostText(Ref(ButtonName(enrolled)), SlotCaptionCommand(true));
                             },
                             [this, &queue, &device](int found, const std::string& answer) {
                                 if (const auto code = LearnedSensorType(answer))
                                     if (const auto name = SensorTypeName(*code, device.publishedVersion))
                                         queue.PostText(Ref(TypeFieldName(found)), *name);
                                 queue.PostInt(Ref(ZoneListName(found)), 0);
                             }};
    const bool found = AwaitLearnAnswer(device, dialog_.Form(), slot, learnValue, page);
    device.Calls().Call(
        [this, slot, found] {
            if (found) {
                form_.setEnabled(PartitionListName(slot), true);
                ApplyZoneRule(slot);
            }
            ApplyZoneRule(1);
        },
        [&device] { return device.LinkStopping(); });
}

void TformRadio::DeleteSensor()
{
    const int slot = selectedSlot_;
    if (slot < 1 || slot > kSlots)
        return;
    RunDeleteJob(device_, "+z" + HexByte(slot) + "=" + FreeSensorRecord(slot), kDeleteError, [this, slot] {
        TOutArray& queue = device_.Queue();
        queue.PostText(Ref(TypeFieldName(slot)), "");
        for (const std::string& list : {PartitionListName(slot), DelayListName(slot), ZoneListName(slot)})
            queue.PostInt(Ref(list), 0);
        queue.PostText(Ref(ButtonName(slot)), SlotCaptionCommand(false));
        // A free row's lists follow the rules again (no partition without a sensor).
        device_.Calls().Call([this, slot] { ApplyZoneRule(slot); },
                             [this] { return device_.LinkStopping(); });
    });
}

}  // namespace nvx
