// The emulator's command line: which device it plays, how it answers, which faults it shows and where it
// reports. Parsed once on the main thread before the emulator starts.
#pragma once

#include "EventSource.h"
#include "ModemFront.h"
#include "Panel.h"
#include "SteadyTime.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace devsim {

struct Options {
    enum class DeviceKind { Sensor, Panel };

    DeviceKind device = DeviceKind::Sensor;
    std::optional<std::string> version; // the device kind's own when not given
    bool petImmune = false;
    PanelConfig panel;
    std::vector<std::pair<std::string, std::string>> presets; // --set NAME=VALUE

    bool modem = false;
    ModemConfig modemConfig;

    bool paced = false;
    Milliseconds replyDelay{2};

    std::vector<std::string> noAnswer;
    std::vector<std::string> reject;
    double corruptionRate = 0.0;
    std::uint32_t seed = 1;
    std::optional<std::uint64_t> dropAfter;
    std::optional<Milliseconds> eventsEvery;
    bool eventsAnywhere = false;
    EventForm eventForm = EventForm::Record;

    std::string controlPath;
    std::string wireLogPath;
    std::string tracePath;
    std::string stateFilePath;
    std::string linkPath;
};

// Parses the arguments after the program name; throws std::invalid_argument with a message on bad input.
// Returns nothing when help was asked for.
std::optional<Options> ParseOptions(const std::vector<std::string>& arguments);

// The option summary printed for --help and after a bad argument.
const char* Usage();

} // namespace devsim
