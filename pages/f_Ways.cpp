#include "pages/f_Ways.h"

#include <sstream>

#include "core/FormStore.h"
#include "core/PageBaseOps.h"
#include "device/DevVeltra.h"
#include "device/Protocol.h"
#include "pages/CheckedExchange.h"

namespace nvx {

namespace {

constexpr const char* kReadError = "Ошибка при чтении каналов связи!";
constexpr const char* kWriteError = "Ошибка при записи каналов связи!";
constexpr const char* kTransitionError = "Ошибка при расшифровке типа перехода по направлениям!";

constexpr const char* kGprsSwitch = "CheckBox1";
constexpr const char* kGprsMark = "Label6";
constexpr const char* kStay = "rdo1";   // stay in one direction until every event is sent
constexpr const char* kMoveOn = "rdo2"; // go on to the next direction after trying all its channels

// By type index: the code on the wire (none for "not used") and the event history's short name.
constexpr char kWireCodes[] = {'\0', '0', '3', '1', '2'};
constexpr const char* kShortNames[] = {"не исп.", "GSM цифр.", "SMS", "GPRS IP1", "GPRS IP2"};
constexpr int kTypeCount = static_cast<int>(TformWays::kTypeItems.size());
static_assert(std::size(kWireCodes) == TformWays::kTypeItems.size() && std::size(kShortNames) == kTypeCount);

char HexDigit(int n)
{
    return "0123456789ABCDEF"[n & 0xF];
}

int TypeOfWireCode(char code)
{
    for (int type = 1; type < kTypeCount; ++type)
        if (kWireCodes[type] == code)
            return type;
    return TformWays::kNotUsed;
}

// The two characters "+D" writes for a channel: "00" when not used, else index and wire code.
std::string TypeOnWire(int channel, int type)
{
    if (type <= TformWays::kNotUsed || type >= kTypeCount)
        return "00";
    return {HexDigit(channel - 1), kWireCodes[type]};
}

std::vector<std::string> Items(int count)
{
    return {TformWays::kTypeItems.begin(), TformWays::kTypeItems.begin() + count};
}

bool LinkUpAndGoing(TDevVeltra& device)
{
    return !device.LinkStopping() && !device.abortState;
}

} // namespace

TformWays::TformWays(const PageDirectory& pages)
    : TformIncl("formWays", page_id::kChannels, "Каналы связи"), pages_(pages)
{
    form_.add("lbChannelNote", ControlKind::Label,
              "Канал - это один номер телефона с указанием типа передачи.");
    form_.add("lbDirectionNote", ControlKind::Label, "Направление - это группа каналов.");
    form_.add("lbLinkNote", ControlKind::Label,
              "Каналы одного направления (\"Или\") панель пробует по очереди, пока один из них не передаст "
              "событие; каждое направление (\"И\") должно передать событие.");
    form_.add("gbChannels", ControlKind::GroupBox, "Каналы");
    for (int n = 1; n <= kChannels; ++n) {
        form_.add(LabelName(n), ControlKind::Label, "Канал " + std::to_string(n));
        form_.add(PhoneName(n), ControlKind::Edit).maxLength = 31;
        Control& type =
            form_.add(TypeName(n), ControlKind::ExtComboBox, kTypeItems[kNotUsed], kTypeItems[kNotUsed]);
        type.items = Items(kTypeCount);
        type.index = kNotUsed;
        if (n == kChannels)
            break;
        Control& andLink = form_.add(AndName(n), ControlKind::RadioButton, "И", "0");
        Control& orLink = form_.add(OrName(n), ControlKind::RadioButton, "Или", "1");
        andLink.group = orLink.group = "link" + std::to_string(n);
        orLink.checked = true;
    }
    form_.add("gbTransition", ControlKind::GroupBox, "Тип перехода по направлениям");
    Control& stay = form_.add(kStay, ControlKind::RadioButton, "", "0");
    Control& moveOn = form_.add(kMoveOn, ControlKind::RadioButton, "", "1");
    stay.group = moveOn.group = "transition";
    moveOn.checked = true;
    form_.add("ldo1", ControlKind::Label, "оставаться в одном направлении до передачи всех событий");
    form_.add("ldo2", ControlKind::Label,
              "переходить на следующее направление при переборе всех каналов в текущем");
    form_.add(kGprsSwitch, ControlKind::CheckBox, "Включить GPRS online (TCP/IP) через SIM", "0");
    form_.add(kGprsMark, ControlKind::Label).visible = false;

    form_.setAction(kGprsSwitch, [this] { ApplyGprsSwitch(form_.checked(kGprsSwitch)); });
    for (int n = 1; n <= kChannels; ++n)
        form_.setAction(TypeName(n), [this] { Compact(); });
}

std::string TformWays::PhoneName(int channel)
{
    return "etP" + std::to_string(channel);
}
std::string TformWays::TypeName(int channel)
{
    return "cb" + std::to_string(channel);
}
std::string TformWays::LabelName(int channel)
{
    return "lb" + std::to_string(channel);
}
std::string TformWays::AndName(int link)
{
    return "rb" + std::to_string(2 * link - 1);
}
std::string TformWays::OrName(int link)
{
    return "rb" + std::to_string(2 * link);
}

int TformWays::TypeOf(int channel) const
{
    const int type = form_.index(TypeName(channel));
    return type > kNotUsed && type < kTypeCount ? type : kNotUsed;
}

bool TformWays::LinkIsAnd(int link) const
{
    return !form_.checked(OrName(link));
}

void TformWays::SetType(int channel, int type)
{
    SelectComboItem(form_, TypeName(channel), type);
}

void TformWays::SetLink(int link, bool isAnd)
{
    SetRadioChecked(form_, isAnd ? AndName(link) : OrName(link), true);
}

std::string TformWays::ChannelShortName(int channel) const
{
    if (channel < 1 || channel > kChannels)
        return {};
    return kShortNames[TypeOf(channel)];
}

int TformWays::DirectionOf(int channel) const
{
    int direction = 0;
    for (int link = 1; link < channel && link <= kLinks; ++link)
        if (LinkIsAnd(link))
            ++direction;
    return direction;
}

std::vector<std::string> TformWays::DirectionsToWrite() const
{
    std::vector<std::string> directions;
    if (Used(1)) {
        std::string current(1, HexDigit(0));
        for (int n = 2; n <= kChannels && Used(n); ++n) {
            if (LinkIsAnd(n - 1)) {
                directions.push_back(current);
                current.clear();
            }
            current += HexDigit(n - 1);
        }
        directions.push_back(current);
    }
    directions.resize(kChannels);
    return directions;
}

void TformWays::Compact()
{
    for (int i = 1; i < kChannels; ++i) {
        if (Used(i))
            continue;
        int j = i + 1;
        while (j <= kChannels && !Used(j))
            ++j;
        if (j > kChannels)
            return; // no used channel follows
        const std::string phone = form_.text(PhoneName(i));
        form_.setText(PhoneName(i), form_.text(PhoneName(j)));
        form_.setText(PhoneName(j), phone);
        if (j != kChannels) {
            SetLink(i, LinkIsAnd(j));
            SetLink(j, false);
        }
        SetType(i, TypeOf(j));
        SetType(j, kNotUsed);
    }
}

void TformWays::OfferTypes(int count)
{
    const std::vector<std::string> items = Items(count);
    for (int n = 1; n <= kChannels; ++n) {
        form_.update(TypeName(n), [&](Control& c) {
            c.items = items;
            if (c.index >= count)
                c.index = kNotUsed;
            if (c.index >= 0 && c.index < count)
                c.text = items[static_cast<std::size_t>(c.index)];
        });
    }
}

void TformWays::ApplyGprsSwitch(bool on)
{
    // GPRS online takes the SIM's data channel, so the GPRS-offline types cannot be used with it.
    OfferTypes(on ? kTypesWithGprsOnline : kTypeCount);
    if (FormModel* gprs = pages_.Form(page_id::kGprs); gprs && gprs->has("cb11"))
        gprs->setChecked("cb11", on);
    Compact();
}

void TformWays::SetGprsOnline(bool on)
{
    form_.setChecked(kGprsSwitch, on);
    ApplyGprsSwitch(on);
}

void TformWays::PrepareRead()
{
    for (int n = 1; n <= kChannels; ++n)
        SetType(n, kNotUsed);
    for (int link = 1; link <= kLinks; ++link)
        SetLink(link, false);
    ApplyGprsSwitch(form_.checked(kGprsSwitch));
}

void TformWays::SetDefaults()
{
    TformIncl::SetDefaults();
    ApplyGprsSwitch(form_.checked(kGprsSwitch));
}

void TformWays::LoadState(const IniFile& ini)
{
    // Every stored type must find its item before the stored switch takes the GPRS ones away again.
    OfferTypes(kTypeCount);
    LoadGenericState(ini, form_);
    ApplyGprsSwitch(form_.checked(kGprsSwitch));
}

void TformWays::SaveState(IniFile& ini)
{
    SaveGenericState(ini, form_);
}

// Reading.

void TformWays::ReadFromDevice(TDevVeltra& device)
{
    if (device.abortState)
        return;
    if (!ReadSteps(device))
        device.Log(kReadError);
}

bool TformWays::ReadSteps(TDevVeltra& device)
{
    bool ok = true;
    if (ReadGprsOnline(device, ok) == Step::Stop)
        return ok;
    for (int n = 1; n <= kChannels && LinkUpAndGoing(device); ++n) {
        const std::string command = std::string("+h") + HexDigit(n - 1);
        if (!ReadTextToEdit(device, {&form_, PhoneName(n)}, command, {&form_, LabelName(n)}))
            ok = false;
    }
    if (!LinkUpAndGoing(device) || ReadTypes(device, ok) == Step::Stop)
        return ok;
    if (device.abortState || ReadDirections(device, ok) == Step::Stop)
        return ok;
    if (!device.abortState)
        ReadTransition(device, ok);
    return ok;
}

TformWays::Step TformWays::ReadGprsOnline(TDevVeltra& device, bool& ok)
{
    const ControlRef mark{&form_, kGprsMark};
    std::string value;
    if (!QueryMarked(device, "+GA", mark, value)) {
        ok = false;
        return Step::Next;
    }
    if (value.empty()) {
        device.MarkConfirmed(mark);
        return Step::Next;
    }
    const auto number = ReadHex(value);
    if (!number) {
        device.MarkFailed(mark);
        ok = false;
        return Step::Stop;
    }
    const bool on = *number != 0;
    device.Calls().Call([this, on] { SetGprsOnline(on); }, [&device] { return device.LinkStopping(); });
    device.MarkConfirmed(mark);
    return Step::Next;
}

TformWays::Step TformWays::ReadTypes(TDevVeltra& device, bool& ok)
{
    std::string value;
    if (!device.ReadValue("+D", value) || Refused(value)) {
        ok = false;
        return Step::Stop;
    }
    std::istringstream items(value);
    std::vector<std::string> codes;
    for (std::string item; items >> item && codes.size() < kChannels;) {
        if (item.size() != 2) {
            ok = false;
            return Step::Stop;
        }
        codes.push_back(item);
    }
    // The switch was read first; a GPRS-offline type is not offered while it is on.
    const int offered = form_.checked(kGprsSwitch) ? kTypesWithGprsOnline : kTypeCount;
    for (std::size_t k = 0; k < codes.size(); ++k) {
        const int type = TypeOfWireCode(codes[k][1]);
        device.Queue().PostInt({&form_, TypeName(static_cast<int>(k) + 1)}, type < offered ? type : kNotUsed);
    }
    return Step::Next;
}

TformWays::Step TformWays::ReadDirections(TDevVeltra& device, bool& ok)
{
    auto setNotUsedFrom = [&](int first) {
        for (int n = first; n <= kChannels; ++n)
            device.Queue().PostInt({&form_, TypeName(n)}, kNotUsed);
    };
    auto postLink = [&](int link, bool isAnd) {
        device.Queue().PostBool({&form_, isAnd ? AndName(link) : OrName(link)}, true);
    };
    int listed = 0;
    for (int k = 0; k < kChannels; ++k) {
        std::string value;
        if (!device.ReadValue(std::string("+AND") + HexDigit(k), value) || Refused(value)) {
            setNotUsedFrom(1);
            ok = false;
            return Step::Stop;
        }
        if (value.empty())
            break;
        for (std::size_t c = 0; c < value.size() && listed < kChannels; ++c) {
            const int channel = listed + 1;
            const auto index = ReadHex(value.substr(c, 1));
            if (!index || static_cast<int>(*index) != listed) {
                // The page can only show channels listed in their own order.
                setNotUsedFrom(channel);
                ok = false;
                return Step::Stop;
            }
            if (c == 0 && k > 0)
                postLink(channel - 1, true);
            if (channel < kChannels)
                postLink(channel, false);
            ++listed;
        }
    }
    setNotUsedFrom(listed + 1);
    return Step::Next;
}

void TformWays::ReadTransition(TDevVeltra& device, bool& ok)
{
    const ControlRef stayMark{&form_, "ldo1"}, moveOnMark{&form_, "ldo2"};
    std::string value;
    if (!device.Exchange("+DO", value, true, "OK", 6000, 3) || Refused(value)) {
        device.MarkFailed(stayMark);
        device.MarkFailed(moveOnMark);
        ok = false;
        return;
    }
    if (value.empty()) {
        device.Log(kTransitionError);
        device.MarkFailed(stayMark);
        device.MarkFailed(moveOnMark);
        return;
    }
    device.MarkConfirmed(stayMark);
    device.MarkConfirmed(moveOnMark);
    device.Queue().PostBool({&form_, value[0] == '0' ? kMoveOn : kStay}, true);
}

// Writing.

void TformWays::WriteToDevice(TDevVeltra& device)
{
    if (!WriteSteps(device))
        device.Log(kWriteError);
}

bool TformWays::WriteSteps(TDevVeltra& device)
{
    bool ok = SendMarked(device, std::string("+GA=") + (form_.checked(kGprsSwitch) ? "1" : "0"),
                         {&form_, kGprsMark});
    device.Calls().Call([this] { Compact(); }, [&device] { return device.LinkStopping(); });
    std::array<bool, kChannels> phoneWritten{};
    for (int n = 1; n <= kChannels; ++n) {
        const std::string prefix = std::string("+H") + HexDigit(n - 1) + "=";
        phoneWritten[n - 1] = device.WriteFromEdit({&form_, PhoneName(n)}, prefix, 0, {&form_, LabelName(n)});
        ok = ok && phoneWritten[n - 1];
    }
    for (int n = 1; n <= kChannels; ++n) {
        const std::string command = std::string("+D") + HexDigit(n - 1) + "=" + TypeOnWire(n, TypeOf(n));
        // The label shows the channel's failed phone until the next write; a type written after
        // it must not turn it blue.
        const ControlRef mark = phoneWritten[n - 1] ? ControlRef{&form_, LabelName(n)} : ControlRef{};
        if (device.LinkStopping() || !SendMarked(device, command, mark)) {
            ok = false;
            break;
        }
    }
    if (!WriteDirections(device))
        ok = false;
    if (!device.abortState) {
        const bool sent =
            SendMarked(device, std::string("+DO=") + (form_.checked(kStay) ? "1" : "0"), {&form_, "ldo1"});
        if (sent)
            device.MarkConfirmed({&form_, "ldo2"});
        else
            device.MarkFailed({&form_, "ldo2"});
        ok = ok && sent;
    }
    return ok;
}

bool TformWays::WriteDirections(TDevVeltra& device)
{
    const std::vector<std::string> directions = DirectionsToWrite();
    for (int k = 0; k < kChannels; ++k) {
        if (device.abortState)
            return true;
        std::string value;
        const std::string command =
            std::string("+AND") + HexDigit(k) + "=" + directions[static_cast<std::size_t>(k)];
        if (!device.Exchange(command, value, true, "OK", 6000, 3) || Refused(value))
            return false;
    }
    return true;
}

} // namespace nvx
