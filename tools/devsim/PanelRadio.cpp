#include "PanelRadio.h"

#include <cctype>
#include <cstdio>
#include <tuple>

namespace devsim {

namespace {

constexpr char kWorking = '0';
constexpr char kLearningSensors = '1';
constexpr char kLearningKeyfobs = '3';
constexpr std::size_t kSensorRecord = 7;
constexpr std::size_t kKeyfobRecord = 4;
// "VER" and its closing "OK" arrive in different reads of a program that collects in 500 ms slices.
constexpr Milliseconds kAfterNotFound{600};

std::string Hex2(int value)
{
    char text[4];
    std::snprintf(text, sizeof text, "%02X", static_cast<unsigned>(value) & 0xFFu);
    return text;
}

// The slot a "zNN" or "bNN" name stands for (1..count), 0 for another name.
int SlotOf(const std::string& name, char kind, int count)
{
    if (name.size() != 3 || name[0] != kind || !IsHexOfWidth(std::string_view(name).substr(1), 2))
        return 0;
    const int slot = std::stoi(name.substr(1), nullptr, 16);
    return slot >= 1 && slot <= count ? slot : 0;
}

bool SameHex(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// A slot record: the given width of hexadecimal digits, beginning with the slot's own number.
bool IsSlotRecord(const std::string& record, std::size_t width, int slot)
{
    return IsHexOfWidth(record, width) && SameHex(std::string_view(record).substr(0, 2), Hex2(slot));
}

Reply::Later After(Milliseconds delay, std::function<std::string()> produce)
{
    return {delay, std::move(produce)};
}

} // namespace

bool ParseLearnOutcome(const std::string& text, PanelRadioConfig& config)
{
    if (text == "found")
        config.outcome = PanelRadioConfig::Outcome::Found;
    else if (text == "absent")
        config.outcome = PanelRadioConfig::Outcome::Absent;
    else if (text == "silent")
        config.outcome = PanelRadioConfig::Outcome::Silent;
    else if (text.starts_with("known:") && IsHexOfWidth(std::string_view(text).substr(6), 2) &&
             std::stoi(text.substr(6), nullptr, 16) > 0) {
        config.outcome = PanelRadioConfig::Outcome::Known;
        config.knownSlot = std::stoi(text.substr(6), nullptr, 16);
    } else {
        return false;
    }
    return true;
}

bool PanelRadio::control(const std::string& verb, const std::string& argument)
{
    if (verb == "learn-result")
        return ParseLearnOutcome(argument, config_);
    if (verb == "learn-type" && IsHexOfWidth(argument, 1)) {
        config_.sensorType = static_cast<char>(std::toupper(static_cast<unsigned char>(argument[0])));
        return true;
    }
    return false;
}

std::optional<Reply> PanelRadio::handle(const Command& command, std::map<std::string, std::string>& store)
{
    if (command.name == "l" && command.value) {
        // A new mode ends whatever search was going on.
        if (!IsHexOfWidth(*command.value, 1))
            return Reply::err();
        ++search_;
        store["l"] = *command.value;
        return Reply::ok();
    }
    if (command.name == "Rn" && command.value) {
        if (!IsHexOfWidth(*command.value, 2))
            return Reply::silent();
        store["Rn"] = *command.value;
        return Reply::silent();
    }
    if (command.name.starts_with("L") && command.value)
        return learn(command.name.substr(1) + "=" + *command.value, store);
    if (!command.value)
        return std::nullopt;
    for (const auto& [kind, slots, width] : {std::tuple{'z', kSensorSlots, kSensorRecord},
                                             std::tuple{'b', kKeyfobSlots, kKeyfobRecord}}) {
        const int slot = SlotOf(command.name, kind, slots);
        if (slot == 0)
            continue;
        if (!IsSlotRecord(*command.value, width, slot))
            return Reply::err();
        store[kind + Hex2(slot)] = *command.value;
        return Reply::ok();
    }
    return std::nullopt;
}

Reply PanelRadio::learn(const std::string& value, std::map<std::string, std::string>& store)
{
    // "NN=" and the record to learn: seven characters for a sensor, four for a keyfob, each only in
    // its own learn mode.
    const auto equals = value.find('=');
    if (equals != 2 || !IsHexOfWidth(std::string_view(value).substr(0, 2), 2))
        return Reply::err();
    const int slot = std::stoi(value.substr(0, 2), nullptr, 16);
    const std::string record = value.substr(3);
    const char mode = store["l"].empty() ? kWorking : store["l"].front();
    const bool sensor = mode == kLearningSensors && slot <= kSensorSlots && IsSlotRecord(record, kSensorRecord, slot);
    const bool keyfob = mode == kLearningKeyfobs && slot <= kKeyfobSlots && IsSlotRecord(record, kKeyfobRecord, slot);
    if (slot == 0 || (!sensor && !keyfob))
        return Reply::err();

    Reply reply = Reply::silent();
    const std::uint64_t search = ++search_;
    auto current = [this, search] { return search == search_; };
    switch (config_.outcome) {
    case PanelRadioConfig::Outcome::Silent:
        break;
    case PanelRadioConfig::Outcome::Absent:
        reply.later.push_back(After(config_.learnDelay, [current] { return current() ? "VER\r\n" : ""; }));
        reply.later.push_back(
            After(config_.learnDelay + kAfterNotFound, [current] { return current() ? "OK\r\n" : ""; }));
        break;
    case PanelRadioConfig::Outcome::Known: {
        const std::string answer = Hex2(config_.knownSlot) + "RESETADD\r\n";
        reply.later.push_back(After(config_.learnDelay, [current, answer] { return current() ? answer : ""; }));
        break;
    }
    case PanelRadioConfig::Outcome::Found: {
        const std::string name = std::string(sensor ? "z" : "b") + Hex2(slot);
        std::string learned = record;
        if (sensor)
            learned[2] = config_.sensorType;
        const std::string answer = sensor ? "z" + learned + "\r\nOK\r\n" : "OK\r\n";
        reply.later.push_back(After(config_.learnDelay, [current, &store, name, learned, answer] {
            if (!current())
                return std::string();
            store[name] = learned;
            return answer;
        }));
        break;
    }
    }
    return reply;
}

} // namespace devsim
