#include "pages/f_Bibelot.h"

#include <array>
#include <exception>
#include <optional>

#include "core/PageBaseOps.h"
#include "device/DevVeltra.h"
#include "device/PageDirectory.h"
#include "link/xModem.h"
#include "pages/KeyfobWire.h"
#include "pages/RadioExchange.h"
#include "pages/RadioSlotJobs.h"
#include "pages/SlotEnrolmentLook.h"
#include "pages/f_MessageDlg.h"
#include "pages/f_Radio.h"
#include "pages/f_Razd.h"

namespace nvx {

namespace {

constexpr const char* kReadError = "Ошибка при чтении настроек брелков!";
constexpr const char* kWriteError = "Ошибка при записи настроек брелков!";
constexpr const char* kEnrolError = "Ошибка при добавлении брелка!";
constexpr const char* kDeleteError = "Ошибка при удалении брелка!";

constexpr std::uint32_t kBoxesSettleMs = 500;

constexpr const char* kLoopPartitionLists[] = {"cbRazdNum1", "cbRazdNum2"};

std::string TwoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

// The slot number a button name carries after "btnAdd", 0 for another name.
int SlotOfButton(const std::string& name)
{
    static const std::string prefix = "btnAdd";
    if (name.rfind(prefix, 0) != 0 || name.size() == prefix.size())
        return 0;
    int slot = 0;
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9')
            return 0;
        slot = slot * 10 + (name[i] - '0');
    }
    return slot >= 1 && slot <= TformBibelot::kSlots ? slot : 0;
}

// Partition shown by a list whose item i stands for partition i + 1; 0 for none.
int ListedPartition(const FormModel& form, const std::string& list)
{
    if (!form.has(list))
        return 0;
    const int item = form.index(list);
    return item >= 0 && item < TformBibelot::kPartitions ? item + 1 : 0;
}

}  // namespace

TformBibelot::TformBibelot(TDevVeltra& device, TformMessageDlg& dialog)
    : TformIncl("formBibelot", page_id::kKeyfobs, "Настройка брелоков"), device_(device), dialog_(dialog)
{
    // The captions record which slots are enrolled, so the settings file keeps them.
    stateOptions_.restoreButtonCaptions = true;
    for (int slot = 1; slot <= kSlots; ++slot) {
        form_.add(NumberLabelName(slot), ControlKind::Label, std::to_string(slot)).color = kFreeSlotColour;
        for (int p = 1; p <= kPartitions; ++p)
            form_.add(PartitionBoxName(slot, p), ControlKind::CheckBox, {}, "false");
        // Usable once a connection is made.
        form_.add(ButtonName(slot), ControlKind::Button, kFreeSlotCaption).enabled = false;
        form_.setAction(ButtonName(slot), [this, slot] { ClickAddDelete(slot); });
    }
    subscription_ = form_.subscribe([this](const std::string& name) { OnControlChanged(name); });

    device.RegisterJob(kJobEnrol, [this] { EnrolKeyfob(); });
    device.RegisterJob(kJobDelete, [this] { DeleteKeyfob(); });
}

TformBibelot::~TformBibelot() { form_.unsubscribe(subscription_); }

std::string TformBibelot::PartitionBoxName(int slot, int partition)
{
    return "cb" + TwoDigits(slot) + std::to_string(partition);
}

std::string TformBibelot::NumberLabelName(int slot) { return "lbN" + TwoDigits(slot); }

std::string TformBibelot::ButtonName(int slot) { return "btnAdd" + std::to_string(slot); }

void TformBibelot::SetConfirmation(std::function<bool(const std::string&)> confirm)
{
    confirm_ = std::move(confirm);
}

bool TformBibelot::Enrolled(int slot) const { return form_.text(ButtonName(slot)) == kEnrolledSlotCaption; }

std::uint8_t TformBibelot::PartitionSet(int slot) const
{
    // A disabled box is a 24-hour partition, which no keyfob may control, whatever it shows.
    std::uint8_t set = 0;
    for (int p = 1; p <= kPartitions; ++p) {
        const std::string box = PartitionBoxName(slot, p);
        if (form_.checked(box) && form_.enabled(box))
            set |= static_cast<std::uint8_t>(1u << (p - 1));
    }
    return set;
}

void TformBibelot::OnControlChanged(const std::string& name)
{
    if (name == form_.name()) {
        const bool visible = form_.visible(name);
        if (visible && !shown_)
            CheckPartitions();
        shown_ = visible;
        return;
    }
    // The number label shows what the button records: lime for an enrolled keyfob.
    if (const int slot = SlotOfButton(name))
        ShowSlotEnrolment(form_, NumberLabelName(slot), Enrolled(slot));
}

void TformBibelot::ClearSlots()
{
    for (int slot = 1; slot <= kSlots; ++slot) {
        form_.update(ButtonName(slot), [](Control& button) {
            button.text = kFreeSlotCaption;
            button.enabled = true;
        });
        for (int p = 1; p <= kPartitions; ++p)
            form_.setChecked(PartitionBoxName(slot, p), false);
    }
}

void TformBibelot::ClearForRead()
{
    TformIncl::ClearForRead();
    ClearSlots();
}

void TformBibelot::PrepareRead() { ClearSlots(); }

void TformBibelot::CheckPartitions()
{
    auto* partitions = dynamic_cast<TformRazd*>(device_.Pages().Find(page_id::kPartitions));
    if (!partitions)
        return;
    std::array<bool, kPartitions + 1> used{};
    if (FormModel* radio = device_.Pages().Form(page_id::kRadioSensors))
        for (int row = 1; row <= TformRadio::kSlots; ++row)
            used[ListedPartition(*radio, TformRadio::PartitionListName(row))] = true;
    if (FormModel* loops = device_.Pages().Form(page_id::kWiredLoops))
        for (const char* list : kLoopPartitionLists)
            used[ListedPartition(*loops, list)] = true;

    FormModel& exits = partitions->Form();
    for (int p = 1; p <= kPartitions; ++p) {
        const std::string box = "CheckBox" + std::to_string(p);
        if (!exits.has(box))
            continue;
        const bool allowed = used[p] && !partitions->IsTwentyFourHour(p) && !partitions->IsFire(p);
        if (allowed) {
            exits.setEnabled(box, true);
        } else {
            exits.setChecked(box, false);
            exits.setEnabled(box, false);
        }
    }
}

void TformBibelot::ClickAddDelete(int slot)
{
    TModem* link = device_.Link();
    if (!link)
        return;
    const std::string caption = form_.text(ButtonName(slot));
    if (caption == kFreeSlotCaption) {
        selectedSlot_ = slot;
        dialog_.ShowSearch("Идет поиск брелка...", false);
        link->SetJob(kJobEnrol);
    } else if (caption == kEnrolledSlotCaption && !dialog_.Visible()) {
        if (confirm_ && confirm_("Вы уверены, что хотите удалить брелок № " + std::to_string(slot))) {
            selectedSlot_ = slot;
            link->SetJob(kJobDelete);
        }
    }
}

void TformBibelot::PostEnrolled(int slot)
{
    device_.Queue().PostText({&form_, ButtonName(slot)}, SlotCaptionCommand(true));
}

void TformBibelot::PostFreed(int slot)
{
    TOutArray& queue = device_.Queue();
    for (int p = 1; p <= kPartitions; ++p)
        queue.PostBool({&form_, PartitionBoxName(slot, p)}, false);
    queue.PostText({&form_, ButtonName(slot)}, SlotCaptionCommand(false));
}

void TformBibelot::ReadKeyfobs(TDevVeltra& device)
{
    try {
        // The partitions first: a 24-hour partition disables its boxes in every row.
        if (auto* partitions = dynamic_cast<TformRazd*>(device.Pages().Find(page_id::kPartitions)))
            partitions->ReadPartitionSettings(device);
        TOutArray& queue = device.Queue();
        for (int slot = 1; slot <= kSlots && !device.abortState; ++slot) {
            std::string value;
            if (!device.ReadValue("+b" + HexByte(slot), value))
                continue;  // the row keeps what it showed
            const auto set = KeyfobRecordSet(value);
            if (!set) {
                device.Log(kReadError);
                return;
            }
            const bool free = *set == kFreeKeyfobSet;
            for (int p = 1; p <= kPartitions; ++p)
                queue.PostBool({&form_, PartitionBoxName(slot, p)}, !free && (*set >> (p - 1) & 1u));
            queue.PostText({&form_, ButtonName(slot)}, SlotCaptionCommand(!free));
        }
        ReturnToWorkingMode(device);
    } catch (const std::exception&) {
        device.Log(kReadError);
    }
}

void TformBibelot::WriteKeyfobs(TDevVeltra& device)
{
    if (device.abortState || !device.Link())
        return;
    TOutArray& queue = device.Queue();
    for (int slot = 1; slot <= kSlots; ++slot)
        for (int p = 1; p <= kPartitions; ++p)
            if (const std::string box = PartitionBoxName(slot, p); !form_.enabled(box))
                queue.PostBool({&form_, box}, false);
    PauseUnlessStopping(device, kBoxesSettleMs);

    WriteSlots(device, kSlots, kWriteError, [this](int slot) -> std::optional<std::string> {
        if (!Enrolled(slot))
            return std::nullopt;
        return "+b" + HexByte(slot) + "=" + KeyfobRecord(slot, PartitionSet(slot));
    });
}

void TformBibelot::EnrolKeyfob()
{
    RunEnrolmentJob(device_, kEnrolError, [this] { Enrol(selectedSlot_); });
}

void TformBibelot::Enrol(int slot)
{
    TDevVeltra& device = device_;
    device.abortState = false;
    const std::string learnValue = KeyfobLearnValue(slot, PartitionSet(slot));
    if (!device.Link() || !EnterLearnMode(device, "+l=3", dialog_.Form(), kEnrolError))
        return;
    const PageEnrolment page{kSlots, "Брелок", "брелок", kEnrolError,
                             [this](int enrolled) { PostEnrolled(enrolled); }, nullptr};
    AwaitLearnAnswer(device, dialog_.Form(), slot, learnValue, page);
}

void TformBibelot::DeleteKeyfob()
{
    const int slot = selectedSlot_;
    RunDeleteJob(device_, "+b" + HexByte(slot) + "=" + KeyfobRecord(slot, kFreeKeyfobSet), kDeleteError,
                 [this, slot] { PostFreed(slot); });
}

}  // namespace nvx
