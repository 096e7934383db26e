#include "link/EventLineFilter.h"

#include <algorithm>
#include <cctype>

namespace nvx {

namespace {

constexpr const char* kMarker = "Get:";
constexpr std::size_t kMaxPayload = 255;

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

// Finds the end of the line starting at `from`. Returns false when the line (with its whole
// terminator: CR, LF or CR LF) has not fully arrived; `next` is where the following line starts.
bool CompleteLine(const std::string& text, std::size_t from, std::size_t& end, std::size_t& next)
{
    std::size_t i = from;
    while (i < text.size() && !IsLineBreak(text[i]))
        ++i;
    if (i == text.size())
        return false;
    end = i;
    if (text[i] == '\r') {
        if (i + 1 == text.size())
            return false;  // a LF may still follow
        next = text[i + 1] == '\n' ? i + 2 : i + 1;
    } else {
        next = i + 1;
    }
    return true;
}

// The longest end of the text that may still grow into "Get:" ("G", "Ge" or "Get").
std::size_t MarkerPrefixAtEnd(const std::string& text)
{
    const std::string marker = kMarker;
    for (std::size_t length = std::min(text.size(), marker.size() - 1); length > 0; --length)
        if (text.compare(text.size() - length, length, marker, 0, length) == 0)
            return length;
    return 0;
}

EventLine MakeEvent(const std::string& line, const std::string& signal)
{
    std::string upper = line;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    std::size_t at = upper.find("GET");
    std::string payload = at + 4 <= line.size() ? line.substr(at + 4, kMaxPayload) : std::string();
    return {payload, signal.empty() ? "0" : signal};
}

}  // namespace

bool IsSignalLine(const std::string& line)
{
    std::size_t b = line.find_first_not_of(" \t");
    std::size_t e = line.find_last_not_of(" \t");
    if (b == std::string::npos || line[b] != '-')
        return false;
    for (std::size_t i = b + 1; i <= e; ++i)
        if (!std::isdigit(static_cast<unsigned char>(line[i])) && line[i] != ':')
            return false;
    return true;
}

std::string EventLineFilter::Feed(const std::string& received, std::int64_t nowMs,
                                  std::vector<EventLine>& events)
{
    const bool wasHolding = !held_.empty();
    std::string text = held_ + received;
    held_.clear();
    std::size_t heldFrom = 0;
    // Only the fragment held from an earlier read (it starts the text) can have waited too long.
    auto expiredAt = [&](std::size_t at) {
        return wasHolding && at == 0 && nowMs - heldSince_ > kHoldLimitMs;
    };
    auto hold = [&](std::size_t from) {
        held_ = text.substr(from);
        heldFrom = from;
    };

    std::string out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t marker = text.find(kMarker, pos);
        if (marker == std::string::npos) {
            std::string rest = text.substr(pos);
            std::size_t tailStart = pos + rest.size() - MarkerPrefixAtEnd(rest);
            if (tailStart < text.size() && !expiredAt(tailStart)) {
                out += text.substr(pos, tailStart - pos);
                hold(tailStart);
            } else {
                out += rest;
            }
            break;
        }
        // An event may cut into an answer's line: what stands before it belongs to the answer.
        std::size_t lineStart = marker;
        out += text.substr(pos, lineStart - pos);

        std::size_t lineEnd = 0, next = 0;
        if (!CompleteLine(text, marker, lineEnd, next)) {
            if (!expiredAt(lineStart)) {
                hold(lineStart);
                break;
            }
            std::size_t end = text.find_first_of("\r\n", marker);
            std::size_t length = end == std::string::npos ? std::string::npos : end - lineStart;
            events.push_back(MakeEvent(text.substr(lineStart, length), "0"));
            pos = end == std::string::npos ? text.size() : end;
            continue;
        }
        const std::string line = text.substr(lineStart, lineEnd - lineStart);

        std::size_t signalEnd = 0, afterSignal = 0;
        if (!CompleteLine(text, next, signalEnd, afterSignal)) {
            // The line after the event decides whether it carries the signal value: wait for it
            // unless what has come of it already shows it cannot be one.
            std::string partial = text.substr(next);
            if (!partial.empty() && partial.back() == '\r')
                partial.pop_back();  // its LF is still on the way
            bool mayBeSignal = partial.empty() || IsSignalLine(partial) ||
                               partial.find_first_not_of(" \t") == std::string::npos;
            if (mayBeSignal && !expiredAt(lineStart)) {
                hold(lineStart);
                break;
            }
            events.push_back(MakeEvent(line, "0"));
            pos = next;
            continue;
        }
        const std::string following = text.substr(next, signalEnd - next);
        if (IsSignalLine(following)) {
            std::string value = following;
            value.erase(0, value.find_first_not_of(" \t"));
            value.erase(value.find_last_not_of(" \t") + 1);
            events.push_back(MakeEvent(line, value == "-" ? "0" : value));
            pos = afterSignal;
        } else {
            events.push_back(MakeEvent(line, "0"));
            pos = next;
        }
    }
    if (!held_.empty() && (!wasHolding || heldFrom != 0))
        heldSince_ = nowMs;
    return out;
}

}  // namespace nvx
