#include "EventSource.h"

#include "ContactIdRecord.h"

#include <cstdio>
#include <ctime>

namespace devsim {

namespace {

// Weakest and strongest signal of a sensor in reach, in dBm.
constexpr int kWeakestSignal = -95;
constexpr int kStrongestSignal = -55;

// A history record: time, date, delivery flags and a Contact ID alarm message with its check digit.
std::string Record(std::chrono::system_clock::time_point when, std::uint64_t sequence)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    localtime_r(&seconds, &local);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%02d:%02d:%02d %02d/%02d/%02d", local.tm_hour, local.tm_min,
                  local.tm_sec, local.tm_mday, local.tm_mon + 1, local.tm_year % 100);

    // Account 1234, message type 18, burglary (130) in group 01, alarm and restore taking turns; the zone
    // field carries the sequence number.
    char message[16];
    std::snprintf(message, sizeof message, "123418%c13001%03u", sequence % 2 == 1 ? '1' : '3',
                  static_cast<unsigned>(sequence % 1000));
    const std::string message15(message);
    return HistoryRecord(stamp, message15);
}

// A radio sensor report: sensor 1 to 32, an alarm (01) or a restore (10) of its main detector.
std::string DeviceReport(std::uint64_t sequence)
{
    char payload[8];
    std::snprintf(payload, sizeof payload, "%02XZ%02X%s", static_cast<unsigned>(sequence % 256),
                  static_cast<unsigned>(sequence % 32 + 1), sequence % 2 == 1 ? "01" : "10");
    return payload;
}

} // namespace

std::string EventSource::next(std::chrono::system_clock::time_point now)
{
    const std::uint64_t sequence = ++sequence_;
    const std::string payload = form_ == EventForm::Record ? Record(now, sequence) : DeviceReport(sequence);
    const int signal = std::uniform_int_distribution<int>(kWeakestSignal, kStrongestSignal)(random_);
    return EventLines(payload, std::to_string(signal));
}

std::string EventSource::EventLines(const std::string& payload, const std::string& signal)
{
    std::string lines = "Get:" + payload + "\r\n";
    if (!signal.empty())
        lines += signal + "\r\n";
    return lines;
}

} // namespace devsim
