#include "events/OnlineEvent.h"

#include "core/TextLines.h"

#include <cctype>
#include <charconv>
#include <ctime>
#include <initializer_list>

#include "core/Codec.h"
#include "events/HistoryRecord.h"

namespace nvx {

namespace {

// What a row holds until the payload says more; a row still typed "!" is never shown.
constexpr std::string_view kNoType = "!";
constexpr std::string_view kStartNumber = "НЕ";
constexpr std::string_view kStartEventType = "ПОДДАЮТСЯ";
constexpr std::string_view kStartEvent = "РАСШИФРОВКЕ";
constexpr std::string_view kNoNumber = "-1";

constexpr std::size_t kDeviceEventLength = 7;
constexpr std::size_t kRelayStateLength = 13;
constexpr int kRelayOutputs = 6;

constexpr int kAutotestBit = 128;
constexpr int kAutotestFailed = 255;

constexpr std::string_view kButtonPressed = "Нажата кнопка";
constexpr std::string_view kAutotest = "Автотест";
constexpr std::string_view kAutotestFailedText = "Автотест не прошел";
constexpr std::string_view kTamper = "Тампер";
constexpr std::string_view kUnknownEvent = "Неизвестное событие";

struct Flag {
    int bit;
    std::string_view text;
};

// The reports of a radio relay or radio sensor: which bit of the event code means what.
struct DetectorTexts {
    std::string_view deviceType;
    std::initializer_list<Flag> autotest;
    std::initializer_list<Flag> alarm;
    std::initializer_list<Flag> restore;
};

const DetectorTexts kRelayTexts{
    "Радиореле",
    {{2, "Тампер"}, {4, "Шлейф"}, {8, "CPW"}},
    {{1, "CPW"}, {2, "Тампер"}, {4, "Шлейф"}},
    {{16, "CPW"}, {32, "Тампер"}, {64, "Шлейф"}},
};

const DetectorTexts kSensorTexts{
    "Датчик",
    {{1, "Основной"}, {2, "Тампер"}, {4, "Шлейф"}, {8, "Батарея"}},
    {{1, "Основной"}, {2, "Тампер"}, {4, "Шлейф"}},
    {{16, "Основной"}, {32, "Тампер"}, {64, "Шлейф"}},
};


int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper >= 'A' && upper <= 'F' ? upper - 'A' + 10 : -1;
}

// Two hexadecimal digits as a number; -1 when either is not one.
int HexByte(std::string_view two)
{
    const int high = HexDigit(two[0]);
    const int low = HexDigit(two[1]);
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

std::string NumberText(std::string_view two)
{
    return std::to_string(HexByte(two));
}

// The texts of the set bits, joined by "; ".
std::string FlagTexts(int code, std::initializer_list<Flag> flags)
{
    std::string texts;
    for (const Flag& flag : flags) {
        if ((code & flag.bit) == 0)
            continue;
        if (!texts.empty())
            texts += "; ";
        texts += flag.text;
    }
    return texts;
}

OnlineEventRow With(OnlineEventRow row, std::string_view eventType, std::string_view event)
{
    row.eventType = eventType;
    row.event = event;
    return row;
}

// A keyfob or a keypad report is one row, and none when the device number is unreadable.
std::vector<OnlineEventRow> ButtonRow(const OnlineEventRow& row)
{
    if (row.number == kNoNumber)
        return {};
    return {row};
}

std::vector<OnlineEventRow> DecodeKeyfob(OnlineEventRow row, int code)
{
    row.deviceType = "Брелок";
    row.eventType = kButtonPressed;
    if (code < 0)
        row.event = kErrorText;  // every bit of -1 is set: it would read as arming
    else if (code & 1)
        row.event = "Постановка под охрану";
    else if (code & 2)
        row.event = "Снятие с охраны";
    else if (code & 4)
        row.event = kAlarmText;
    return ButtonRow(row);
}

std::vector<OnlineEventRow> DecodeKeypad(OnlineEventRow row, char key, char second)
{
    row.deviceType = "Клавиатура";
    row.eventType = kButtonPressed;
    if (key == '#' || key == '*' || std::isdigit(static_cast<unsigned char>(key))) {
        row.event = std::string(1, key);
        return ButtonRow(row);
    }
    switch (key) {
    case 'A':
        row = With(row, kAutotest, second == '2' ? kTamper : std::string_view());
        break;
    case 'F':
        if (second == 'F')
            row = With(row, kAutotest, kAutotestFailedText);
        else
            row.event = "Пожарная тревога";
        break;
    case 'M': row.event = "Медицинская тревога"; break;
    case 'P': row.event = kAlarmText; break;
    case 'T': row = With(row, kAlarmText, kTamper); break;
    case 'b': row.event = "Обход"; break;
    case 'c': row.event = "Отмена"; break;
    case 'e': row.event = "Выход"; break;
    case 's': row.event = "Периметр"; break;
    case 't': row = With(row, kRestoreText, kTamper); break;
    case 'z': row.event = "Зоны"; break;
    default: break;  // an unknown key keeps the start texts
    }
    return ButtonRow(row);
}

// A relay or sensor report: an autotest row, or an alarm row and a restore row for the bits set.
// Alarm and restore rows are shown even when the device number is unreadable.
std::vector<OnlineEventRow> DecodeDetector(OnlineEventRow row, int code, const DetectorTexts& texts)
{
    row.deviceType = texts.deviceType;
    std::vector<OnlineEventRow> rows;
    if (code < 0) {
        rows.push_back(With(row, kUnknownEvent, kErrorText));  // every bit of -1 would be set
    } else if (code & kAutotestBit) {
        rows.push_back(With(row, kAutotest, code == kAutotestFailed ? std::string(kAutotestFailedText)
                                                                    : FlagTexts(code, texts.autotest)));
    } else {
        if (const std::string alarm = FlagTexts(code, texts.alarm); !alarm.empty())
            rows.push_back(With(row, kAlarmText, alarm));
        if (const std::string restore = FlagTexts(code, texts.restore); !restore.empty())
            rows.push_back(With(row, kRestoreText, restore));
        return rows;
    }
    if (row.number == kNoNumber)
        return {};
    return rows;
}

std::vector<OnlineEventRow> DecodeDeviceEvent(std::string_view payload, OnlineEventRow row)
{
    row.number = NumberText(payload.substr(3, 2));
    const int code = HexByte(payload.substr(5, 2));
    switch (std::toupper(static_cast<unsigned char>(payload[2]))) {
    case 'B': return DecodeKeyfob(row, code);
    case 'K': return DecodeKeypad(row, payload[5], payload[6]);
    case 'R': return DecodeDetector(row, code, kRelayTexts);
    case 'Z': return DecodeDetector(row, code, kSensorTexts);
    default: return {};
    }
}

std::string_view RelayReasonText(int reason)
{
    switch (reason) {
    case 1: return "Состояние после сброса питания";
    case 2: return "Состояние при потере связи";
    case 64: return "Текущее состояние";
    default: return kUnknownEvent;
    }
}

// The text of an output's state character; empty for a character that names no state.
std::string_view OutputStateText(char state)
{
    switch (state) {
    case '0': return "Выключено";
    case '1': return "Включено";
    case '2': return "Переключается с частотой в 1Гц";
    case '3': return "Переключается с частотой в 2Гц";
    case '5': return "Переключается с частотой в 0,5Гц";
    case 'C': return "Включить на 10 секунд";
    case 'D': return "Включено на 5 секунд";
    case 'E': return "Включено на 1 секунду";
    case 'F': return "Включено на миг";
    default: return {};
    }
}

// One row per output of the relay, each with the reason the relay gave.
std::vector<OnlineEventRow> DecodeRelayState(std::string_view payload, OnlineEventRow row)
{
    row.number = NumberText(payload.substr(3, 2));
    row.deviceType = kRelayTexts.deviceType;
    const std::string_view reason = RelayReasonText(HexByte(payload.substr(5, 2)));
    std::vector<OnlineEventRow> rows;
    std::string state = row.event;
    for (int output = 1; output <= kRelayOutputs; ++output) {
        // A character that names no state repeats the output before it.
        if (const std::string_view text = OutputStateText(payload[6 + output]); !text.empty())
            state = text;
        rows.push_back(With(row, "Реле " + std::to_string(output) + ": " + std::string(reason), state));
    }
    return rows;
}

}  // namespace

std::string OnlineEventRow::GridText() const
{
    return time + "\r\n" + deviceType + "\r\n" + number + "\r\n" + eventType + "\r\n" + event + "\r\n" + level;
}

std::string SignalLevelText(std::string_view line)
{
    std::string_view value = line.substr(0, line.find(':'));
    const std::size_t first = value.find_first_not_of(" \t");
    value = first == std::string_view::npos ? std::string_view() : value.substr(first);
    value = value.substr(0, value.find_last_not_of(" \t") + 1);
    if (value.starts_with('+'))
        value.remove_prefix(1);
    int level = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), level);
    if (error != std::errc() || end != value.data() + value.size() || value.empty())
        level = 0;
    if (level < -110)
        level += 100;
    return std::to_string(level);
}

std::vector<OnlineEventRow> DecodeEventRows(std::string_view input, const std::string& time)
{
    const std::vector<std::string> lines = SplitLines(input);
    if (lines.size() < 2)
        return {};
    OnlineEventRow start{time,
                         std::string(kNoType),
                         std::string(kStartNumber),
                         std::string(kStartEventType),
                         std::string(kStartEvent),
                         SignalLevelText(lines[1])};
    // Positions count the characters as the wire carried them, one byte each.
    const std::string payload = ToCp1251(lines[0]);
    if (payload.size() == kDeviceEventLength)
        return DecodeDeviceEvent(payload, start);
    if (payload.size() == kRelayStateLength)
        return DecodeRelayState(payload, start);
    return {};
}

std::string OnlineEventTimeNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "%d.%m.%Y %H:%M:%S", &local);
    return std::string(text, length);
}

}  // namespace nvx
