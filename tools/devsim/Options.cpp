#include "Options.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <functional>
#include <map>
#include <stdexcept>

namespace devsim {

namespace {

std::uint64_t ParseCount(const std::string& option, const std::string& text, std::uint64_t minimum = 0)
{
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < minimum)
        throw std::invalid_argument(option + " needs a whole number of at least " + std::to_string(minimum) +
                                    ", not \"" + text + "\"");
    return value;
}

Milliseconds ParseMilliseconds(const std::string& option, const std::string& text, std::uint64_t minimum = 0)
{
    return Milliseconds(static_cast<Milliseconds::rep>(ParseCount(option, text, minimum)));
}

double ParseRate(const std::string& option, const std::string& text)
{
    std::size_t used = 0;
    double value = -1.0;
    try {
        value = std::stod(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || !(value >= 0.0 && value <= 1.0))
        throw std::invalid_argument(option + " needs a number from 0 to 1, not \"" + text + "\"");
    return value;
}

bool IsDigits(const std::string& text, std::size_t count)
{
    return text.size() == count &&
           std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

PanelHistoryConfig& History(Options& options)
{
    if (!options.panel.history)
        options.panel.history.emplace();
    return *options.panel.history;
}

std::uint16_t ParseRecord(const std::string& option, const std::string& text)
{
    const auto number = ParseRecordNumber(text);
    if (!number)
        throw std::invalid_argument(option + " needs a record number from 0 to 65535, not \"" + text + "\"");
    return *number;
}

std::pair<std::string, std::string> ParseAssignment(const std::string& option, const std::string& text)
{
    const auto equals = text.find('=');
    if (equals == 0 || equals == std::string::npos)
        throw std::invalid_argument(option + " needs NAME=VALUE, not \"" + text + "\"");
    return {text.substr(0, equals), text.substr(equals + 1)};
}

} // namespace

std::optional<Options> ParseOptions(const std::vector<std::string>& arguments)
{
    Options options;
    using WithValue = std::function<void(const std::string& option, const std::string& value)>;
    const std::map<std::string, WithValue> withValue = {
        {"--device",
         [&](const auto& option, const auto& value) {
             if (value == "sensor")
                 options.device = Options::DeviceKind::Sensor;
             else if (value == "panel")
                 options.device = Options::DeviceKind::Panel;
             else
                 throw std::invalid_argument(option + " is sensor or panel, not \"" + value + "\"");
         }},
        {"--version", [&](const auto&, const auto& value) { options.version = value; }},
        {"--master-key",
         [&](const auto& option, const auto& value) {
             if (!IsDigits(value, 4))
                 throw std::invalid_argument(option + " needs four decimal digits, not \"" + value + "\"");
             options.panel.masterKey = value;
         }},
        {"--ign-seconds",
         [&](const auto& option, const auto& value) {
             options.panel.ignoreFor = std::chrono::seconds(ParseCount(option, value));
         }},
        {"--mode", [&](const auto&, const auto& value) { options.panel.overrides["l"] = value; }},
        {"--vp", [&](const auto&, const auto& value) { options.panel.overrides["vp"] = value; }},
        {"--dk", [&](const auto&, const auto& value) { options.panel.overrides["dk"] = value; }},
        {"--c1", [&](const auto&, const auto& value) { options.panel.overrides["c1"] = value; }},
        {"--set", [&](const auto& option,
                      const auto& value) { options.presets.push_back(ParseAssignment(option, value)); }},
        {"--history",
         [&](const auto& option, const auto& value) {
             const std::uint64_t records = ParseCount(option, value);
             if (records > PanelHistoryConfig::kMaxRecords)
                 throw std::invalid_argument(option + " holds at most 65536 records, not " + value);
             History(options).records = static_cast<std::uint32_t>(records);
         }},
        {"--history-fail",
         [&](const auto& option, const auto& value) {
             // N fails every read, N:TIMES only the next TIMES reads.
             const auto colon = value.find(':');
             const std::uint16_t number = ParseRecord(option, value.substr(0, colon));
             History(options).failing[number] =
                 colon == std::string::npos ? PanelHistoryConfig::kAlways
                                            : static_cast<int>(ParseCount(option, value.substr(colon + 1), 1));
         }},
        {"--history-bad-sum",
         [&](const auto& option, const auto& value) {
             History(options).badChecksums.insert(ParseRecord(option, value));
         }},
        {"--history-uncheckable",
         [&](const auto& option, const auto& value) {
             History(options).uncheckable.insert(ParseRecord(option, value));
         }},
        {"--learn-delay-ms",
         [&](const auto& option, const auto& value) {
             options.panel.radio.learnDelay = ParseMilliseconds(option, value);
         }},
        {"--learn-result",
         [&](const auto& option, const auto& value) {
             if (!ParseLearnOutcome(value, options.panel.radio))
                 throw std::invalid_argument(option + " is found, absent, silent or known:NN, not \"" + value + "\"");
         }},
        {"--learn-type",
         [&](const auto& option, const auto& value) {
             if (!IsHexOfWidth(value, 1))
                 throw std::invalid_argument(option + " needs one hexadecimal digit, not \"" + value + "\"");
             options.panel.radio.sensorType = static_cast<char>(std::toupper(static_cast<unsigned char>(value[0])));
         }},
        {"--creg", [&](const auto&, const auto& value) { options.modemConfig.registration = value; }},
        {"--gmr", [&](const auto&, const auto& value) { options.modemConfig.revision = value; }},
        {"--dial-ms",
         [&](const auto& option, const auto& value) {
             options.modemConfig.dialTime = ParseMilliseconds(option, value);
         }},
        {"--cpin-ms",
         [&](const auto& option, const auto& value) {
             options.modemConfig.simReadyTime = ParseMilliseconds(option, value);
         }},
        {"--escape-guard-ms",
         [&](const auto& option, const auto& value) {
             options.modemConfig.escapeGuard = ParseMilliseconds(option, value, 1);
         }},
        {"--reply-delay-ms",
         [&](const auto& option, const auto& value) {
             options.replyDelay = ParseMilliseconds(option, value);
         }},
        {"--no-answer", [&](const auto&, const auto& value) { options.noAnswer.push_back(value); }},
        {"--reject", [&](const auto&, const auto& value) { options.reject.push_back(value); }},
        {"--corrupt-rate",
         [&](const auto& option, const auto& value) { options.corruptionRate = ParseRate(option, value); }},
        {"--seed",
         [&](const auto& option, const auto& value) {
             options.seed = static_cast<std::uint32_t>(ParseCount(option, value));
         }},
        {"--drop-after",
         [&](const auto& option, const auto& value) { options.dropAfter = ParseCount(option, value, 1); }},
        {"--events-every-ms",
         [&](const auto& option, const auto& value) {
             options.eventsEvery = ParseMilliseconds(option, value, 1);
         }},
        {"--event-form",
         [&](const auto& option, const auto& value) {
             if (value == "record")
                 options.eventForm = EventForm::Record;
             else if (value == "device")
                 options.eventForm = EventForm::Device;
             else
                 throw std::invalid_argument(option + " is record or device, not \"" + value + "\"");
         }},
        {"--control", [&](const auto&, const auto& value) { options.controlPath = value; }},
        {"--wire-log", [&](const auto&, const auto& value) { options.wireLogPath = value; }},
        {"--trace", [&](const auto&, const auto& value) { options.tracePath = value; }},
        {"--state-file", [&](const auto&, const auto& value) { options.stateFilePath = value; }},
        {"--link", [&](const auto&, const auto& value) { options.linkPath = value; }},
    };
    const std::map<std::string, std::function<void()>> flags = {
        {"--pet-immune", [&] { options.petImmune = true; }},
        {"--modem", [&] { options.modem = true; }},
        {"--no-dial-answer", [&] { options.modemConfig.dialOutcome = ModemConfig::DialOutcome::NoAnswer; }},
        {"--busy", [&] { options.modemConfig.dialOutcome = ModemConfig::DialOutcome::Busy; }},
        {"--paced", [&] { options.paced = true; }},
        {"--events-anywhere", [&] { options.eventsAnywhere = true; }},
    };

    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        if (argument == "--help" || argument == "-h")
            return std::nullopt;
        if (const auto flag = flags.find(argument); flag != flags.end()) {
            flag->second();
            continue;
        }
        const auto option = withValue.find(argument);
        if (option == withValue.end())
            throw std::invalid_argument("unknown option \"" + argument + "\"");
        if (index + 1 == arguments.size())
            throw std::invalid_argument(argument + " needs a value");
        option->second(argument, arguments[++index]);
    }
    if (!options.version)
        options.version = options.device == Options::DeviceKind::Panel ? "14.10.45" : "14.3.40";
    return options;
}

const char* Usage()
{
    return R"(usage: devsim [options]
Plays one device behind a pseudo-terminal; prints "PORT <slave path>" first, then serves until killed.

Device
  --device sensor|panel     device to play (sensor)
  --version TEXT            answer to +v (sensor 14.3.40, panel 14.10.45)
  --pet-immune              sensor starts with pet immunity on
  --master-key NNNN         panel master key (1234)
  --ign-seconds N           panel ignores key attempts this long after 3 wrong ones (60)
  --mode N                  panel answer to +l (0)
  --vp TEXT                 panel answer to +vp (000000)
  --dk N                    panel answer to +dk (0)
  --c1 HEX                  panel answer to +c1 (0A0)
  --set NAME=VALUE          preset a panel store value or a sensor parameter (repeatable)
  --history N               panel event history of N records, 0 to 65536 (none without it)
  --history-fail N[:TIMES]  history record N answers the failed-read marker (always, or TIMES reads)
  --history-bad-sum N       history record N has a wrong check digit (repeatable)
  --history-uncheckable N   history record N has a message whose check digit cannot be computed
  --learn-delay-ms MS       time from a learn command +L to the panel's verdict (300)
  --learn-result WHAT       the verdict: found, absent (VER, then OK), known:NN (NNRESETADD), silent (found)
  --learn-type T            type digit of a sensor that is found (4)

GSM modem in front
  --modem                   put a modem in front of the device
  --creg TEXT               status in the +CREG: answer (0,1)
  --gmr TEXT                answer to AT+GMR (SIM900 R11.0)
  --dial-ms MS              time from the dial to its answer (300)
  --no-dial-answer          the dial is never answered
  --busy                    the dial is answered BUSY
  --cpin-ms MS              time from port opening to +CPIN: READY (700)
  --escape-guard-ms MS      silence required around +++ (300)

Line
  --paced                   send at the real line rate (19200 bit/s, 11 bits a character)
  --reply-delay-ms MS       delay before each answer (2)

Faults
  --no-answer CMD           no reaction at all to lines starting with CMD (repeatable)
  --reject CMD              answer ERR (modem: ERROR) to lines starting with CMD (repeatable)
  --corrupt-rate R          replace each byte the device sends with probability R (0..1)
  --seed N                  seed of the random choices (1)
  --drop-after N            drop the line after N answered commands
  --events-every-ms MS      send an unsolicited event every MS
  --events-anywhere         events may cut into an answer
  --event-form record|device  39-character history record or 7-character sensor report (record)

Reporting and control
  --control PATH            FIFO for run-time commands
  --wire-log PATH           append every byte received from the program
  --trace PATH              human-readable log of both directions
  --state-file PATH         what the device holds, rewritten after every change
  --link PATH               symlink to the slave, removed on exit
)";
}

} // namespace devsim
