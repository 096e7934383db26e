// The panel's radio devices: the sensor slots "+zNN" and keyfob slots "+bNN" (kept in the settings
// store), the learn modes "+l=", the learn command "+L" with its configurable outcome, and the alarm
// period "+Rn=". Emulator thread.
#pragma once

#include "CommandSyntax.h"
#include "Device.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace devsim {

struct PanelRadioConfig {
    enum class Outcome { Found, Absent, Known, Silent };

    Milliseconds learnDelay{300}; // from the learn command to the panel's verdict
    Outcome outcome = Outcome::Found;
    int knownSlot = 1;            // Known: the slot that already holds the device
    char sensorType = '4';        // Found: the type digit of the sensor that "appears"
};

// "found", "absent", "silent" or "known:NN" (NN hexadecimal, 01..FF); false for anything else.
bool ParseLearnOutcome(const std::string& text, PanelRadioConfig& config);

class PanelRadio {
public:
    static constexpr int kSensorSlots = 32;
    static constexpr int kKeyfobSlots = 16;

    explicit PanelRadio(PanelRadioConfig config) : config_(config) {}

    // Nothing when the command is not one of the radio's, so that the settings store answers it.
    std::optional<Reply> handle(const Command& command, std::map<std::string, std::string>& store);
    // The line was closed: a search in progress is forgotten.
    void endSession() { ++search_; }
    // "learn-result OUTCOME" and "learn-type T" at run time; false for another verb or a bad argument.
    bool control(const std::string& verb, const std::string& argument);

private:
    Reply learn(const std::string& value, std::map<std::string, std::string>& store);

    PanelRadioConfig config_;
    std::uint64_t search_ = 0; // a learn verdict is sent only while its search is the current one
};

} // namespace devsim
