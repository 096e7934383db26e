#include "pages/f_Bibelot.h"

#include <array>
#include <exception>

#include "core/PageBaseOps.h"
#include "device/DevVeltra.h"
#include "device/PageDirectory.h"
#include "link/xModem.h"
#include "pages/KeyfobWire.h"
#include "pages/RadioExchange.h"
#include "pages/f_MessageDlg.h"
#include "pages/f_Radio.h"
#include "pages/f_Razd.h"

namespace nvx {

namespace {

constexpr const char* kAdd = "Добавить";
constexpr const char* kDelete = "Удалить";
constexpr const char* kEnrolledColour = "clLime";
constexpr const char* kFreeColour = "clBtnFace";

constexpr const char* kReadError = "Ошибка при чтении настроек брелков!";
constexpr const char* kWriteError = "Ошибка при записи настроек брелков!";
constexpr const char* kEnrolError = "Ошибка при добавлении брелка!";
constexpr const char* kDeleteError = "Ошибка при удалении брелка!";

constexpr std::uint32_t kBoxesSettleMs = 500;
constexpr std::uint32_t kFoundPauseMs = 1500;

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
        form_.add(NumberLabelName(slot), ControlKind::Label, std::to_string(slot)).color = kFreeColour;
        for (int p = 1; p <= kPartitions; ++p)
            form_.add(PartitionBoxName(slot, p), ControlKind::CheckBox, {}, "false");
        // Usable once a connection is made.
        form_.add(ButtonName(slot), ControlKind::Button, kAdd).enabled = false;
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

bool TformBibelot::Enrolled(int slot) const { return form_.text(ButtonName(slot)) == kDelete; }

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
    if (const int slot = SlotOfButton(name)) {
        const std::string label = NumberLabelName(slot);
        const char* colour = Enrolled(slot) ? kEnrolledColour : kFreeColour;
        if (form_.get(label).color != colour)
            form_.setColor(label, colour);
    }
}

void TformBibelot::ClearSlots()
{
    for (int slot = 1; slot <= kSlots; ++slot) {
        form_.update(ButtonName(slot), [](Control& button) {
            button.text = kAdd;
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
    if (caption == kAdd) {
        selectedSlot_ = slot;
        dialog_.ShowSearch("Идет поиск брелка...", false);
        link->SetJob(kJobEnrol);
    } else if (caption == kDelete && !dialog_.Visible()) {
        if (confirm_ && confirm_("Вы уверены, что хотите удалить брелок № " + std::to_string(slot))) {
            selectedSlot_ = slot;
            link->SetJob(kJobDelete);
        }
    }
}

void TformBibelot::PostEnrolled(int slot)
{
    device_.Queue().PostText({&form_, ButtonName(slot)}, std::string("caption") + kDelete);
}

void TformBibelot::PostFreed(int slot)
{
    TOutArray& queue = device_.Queue();
    for (int p = 1; p <= kPartitions; ++p)
        queue.PostBool({&form_, PartitionBoxName(slot, p)}, false);
    queue.PostText({&form_, ButtonName(slot)}, std::string("caption") + kAdd);
}

void TformBibelot::PostDialog(const std::string& message, const char* button)
{
    TOutArray& queue = device_.Queue();
    queue.PostText({&dialog_.Form(), "lbMessage"}, message);
    if (button)
        queue.PostText({&dialog_.Form(), "btnOKCancel"}, std::string("caption") + button);
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
            queue.PostText({&form_, ButtonName(slot)}, std::string("caption") + (free ? kAdd : kDelete));
        }
        ReturnToWorkingMode(device);
    } catch (const std::exception&) {
        device.Log(kReadError);
    }
}

void TformBibelot::WriteKeyfobs(TDevVeltra& device)
{
    TModem* link = device.Link();
    if (device.abortState || !link)
        return;
    try {
        TOutArray& queue = device.Queue();
        for (int slot = 1; slot <= kSlots; ++slot)
            for (int p = 1; p <= kPartitions; ++p)
                if (const std::string box = PartitionBoxName(slot, p); !form_.enabled(box))
                    queue.PostBool({&form_, box}, false);
        PauseUnlessStopping(device, kBoxesSettleMs);

        bool refused = false;
        for (int slot = 1; slot <= kSlots && !device.abortState; ++slot) {
            if (!Enrolled(slot))
                continue;
            link->SendNoWait("+b" + HexByte(slot) + "=" + KeyfobRecord(slot, PartitionSet(slot)));
            refused |= CollectUntilOk(device) == SliceWait::Refused;
        }
        ReturnToWorkingMode(device);
        // A slot the panel refused keeps its old partitions there: the write did not succeed.
        if (refused)
            device.Log(kWriteError);
    } catch (const std::exception&) {
        device.Log(kWriteError);
    }
}

void TformBibelot::EnrolKeyfob()
{
    device_.LockCommands();
    try {
        Enrol(selectedSlot_);
    } catch (const std::exception&) {
        device_.Log(kEnrolError);
    }
    // The panel leaves keyfob learn mode in every case.
    try {
        device_.WriteValue("+l=0");
    } catch (const std::exception&) {
        device_.Log(kEnrolError);
    }
    device_.UnlockCommands();
}

void TformBibelot::Enrol(int slot)
{
    TDevVeltra& device = device_;
    device.abortState = false;
    const std::string learnValue = KeyfobLearnValue(slot, PartitionSet(slot));
    TModem* link = device.Link();
    if (!link || !device.WriteValue("+l=3"))
        return;
    link->SendNoWait("+L" + learnValue);

    const std::string number = std::to_string(slot);
    std::string collected;
    bool notFoundShown = false;
    while (!device.abortState && CollectSlice(device, collected)) {
        const LearnAnswer answer = ReadLearnAnswer(collected);
        switch (answer.state) {
        case LearnAnswer::State::Searching:
            continue;
        case LearnAnswer::State::NotFound:
            if (!notFoundShown)
                PostDialog("Брелок №" + number + " не найден", "Ok");
            notFoundShown = true;
            if (answer.complete)
                return;
            continue;
        case LearnAnswer::State::AlreadyEnrolled:
            if (answer.heldSlot >= 1 && answer.heldSlot <= kSlots) {
                PostDialog("Этот брелок уже есть в памяти панели под номером " + std::to_string(answer.heldSlot),
                           nullptr);
                PostEnrolled(answer.heldSlot);
            } else {
                device.Log(kEnrolError);
            }
            device.abortState = true;
            return;
        case LearnAnswer::State::Found:
            PostDialog("Брелок №" + number + " успешно найден", "OK");
            PostEnrolled(slot);
            PauseUnlessStopping(device, kFoundPauseMs);
            return;
        case LearnAnswer::State::Refused:
            PostDialog(kEnrolError, "Ok");
            device.Log(kEnrolError);
            return;
        }
    }
}

void TformBibelot::DeleteKeyfob()
{
    device_.LockCommands();
    const int slot = selectedSlot_;
    try {
        device_.abortState = false;
        if (TModem* link = device_.Link()) {
            link->SendNoWait("+b" + HexByte(slot) + "=" + KeyfobRecord(slot, kFreeKeyfobSet));
            const SliceWait wait = CollectUntilOk(device_);
            if (wait == SliceWait::Accepted)
                PostFreed(slot);
            else if (wait == SliceWait::Refused)
                device_.Log(kDeleteError);
            ReturnToWorkingMode(device_);
        }
    } catch (const std::exception&) {
        device_.Log(kDeleteError);
    }
    device_.UnlockCommands();
}

}  // namespace nvx
