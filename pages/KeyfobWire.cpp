#include "pages/KeyfobWire.h"


#include "core/NumberText.h"

namespace nvx {

namespace {

bool Holds(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

}  // namespace

std::string HexByte(int value) { return WriteHex(static_cast<std::uint32_t>(value) & 0xFFu, 2); }

std::string KeyfobRecord(int slot, std::uint8_t partitions) { return HexByte(slot) + HexByte(partitions); }

std::optional<std::uint8_t> KeyfobRecordSet(const std::string& record)
{
    if (record.size() < 4)
        return std::nullopt;
    const auto set = ReadHex(std::string_view(record).substr(2, 2));
    if (!set)
        return std::nullopt;
    return static_cast<std::uint8_t>(*set);
}

std::string KeyfobLearnValue(int slot, std::uint8_t partitions)
{
    return HexByte(slot) + "=" + KeyfobRecord(slot, partitions);
}

LearnAnswer ReadLearnAnswer(const std::string& collected)
{
    LearnAnswer answer;
    const bool ok = Holds(collected, "OK");
    if (Holds(collected, "VER")) {
        answer.state = LearnAnswer::State::NotFound;
        answer.complete = ok;
        return answer;
    }
    // Checked before "OK": the panel may send its "OK" in the same breath, and the keyfob is
    // still the one of the other slot, not a new one in this slot.
    if (const std::size_t reset = collected.find("RESETADD"); reset != std::string::npos) {
        answer.state = LearnAnswer::State::AlreadyEnrolled;
        answer.complete = true;
        if (reset >= 2)
            answer.heldSlot = static_cast<int>(ReadHex(std::string_view(collected).substr(reset - 2, 2)).value_or(0));
        return answer;
    }
    if (ok) {
        answer.state = LearnAnswer::State::Found;
        answer.complete = true;
    } else if (Holds(collected, "ERR")) {
        answer.state = LearnAnswer::State::Refused;
        answer.complete = true;
    }
    return answer;
}

}  // namespace nvx
