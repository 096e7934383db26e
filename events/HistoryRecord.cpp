#include "events/HistoryRecord.h"

#include "core/NumberText.h"

#include "core/Bits.h"
#include "events/ContactID.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace nvx {

namespace {

std::string Substring(std::string_view text, std::size_t position, std::size_t length)
{
    return position < text.size() ? std::string(text.substr(position, length)) : std::string();
}

// The pieces between single blanks; two blanks in a row give an empty piece.
std::vector<std::string_view> SplitAtBlanks(std::string_view text)
{
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    for (;;) {
        const std::size_t blank = text.find(' ', start);
        pieces.push_back(text.substr(start, blank - start));
        if (blank == std::string_view::npos)
            return pieces;
        start = blank + 1;
    }
}

std::optional<unsigned> ParseHex(std::string_view text)
{
    return ReadHex(text);
}

// Delivery flag positions (1-based, most significant bit first): "0" means done.
constexpr std::size_t kDeliveredPosition = 1;
constexpr std::size_t kGprsOnlinePosition = 8;
constexpr std::size_t kChannelCount = 8;

std::string DeliveryPaths(const std::string& bits, const ChannelNamer& channelName,
                          const std::string& gprsText)
{
    std::string paths;
    if (bits[kGprsOnlinePosition - 1] == '0')
        paths = gprsText;
    for (std::size_t channel = 1; channel <= kChannelCount; ++channel) {
        if (bits[bits.size() - channel] != '0') // channel c is position 17 - c
            continue;
        const int number = static_cast<int>(channel);
        paths += std::to_string(number) + ":" + (channelName ? channelName(number) : std::string()) + "; ";
    }
    return paths;
}

} // namespace

bool IsEmptySlotRecord(std::string_view record)
{
    return record.find(kEmptySlotMarker) != std::string_view::npos;
}

bool IsFailedReadRecord(std::string_view record)
{
    return record.ends_with(kFailedReadTail);
}

bool HasOnlyRecordCharacters(std::string_view record)
{
    return std::all_of(record.begin(), record.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || c == ' ' || c == '/' || c == ':';
    });
}

HistoryRow DecodeHistoryRecord(std::uint16_t number, std::string_view record, const ChannelNamer& channelName,
                               const HistoryDecodeStyle& style)
{
    HistoryRow row;
    auto& cells = row.cells;
    cells[kColNumber] = std::to_string(number);
    if (IsEmptySlotRecord(record)) {
        row.kind = HistoryRecordKind::EmptySlot;
        return row;
    }

    std::string deliveryBits = Substring(record, 18, 4);
    const bool deliveryKnown = HexToBits(deliveryBits);

    const std::vector<std::string_view> pieces = SplitAtBlanks(record);
    const TContactID message(pieces.size() > 3 ? std::string(pieces[3]) : std::string());
    if (!message.IsWellFormed()) {
        row.kind = HistoryRecordKind::MalformedMessage;
        cells[kColAccount] = kErrorText;
        return row;
    }
    if (!message.CarriesEvent()) {
        row.kind = HistoryRecordKind::NoEvent;
        return row;
    }

    cells[kColDateTime] = Substring(record, 9, 8) + " " + Substring(record, 0, 8);
    cells[kColMessage] = message.Message();
    cells[kColAccount] = message.Account();
    cells[kColEventCode] = message.EventCode();
    const std::string qualifier = message.Qualifier();
    if (qualifier == "1")
        cells[kColAlarmRestore] = kAlarmText;
    else if (qualifier == "3")
        cells[kColAlarmRestore] = kRestoreText;
    if (style.partitionAsReceived) {
        cells[kColPartition] = message.Partition();
    } else if (const auto partition = ParseHex(message.Partition())) {
        cells[kColPartition] = std::to_string(*partition);
    }
    cells[kColZone] = message.Zone();

    const std::optional<bool> checksum = message.ChecksumValid();
    if (!checksum) {
        // One unreadable message must not cost the rest of a page or an export: flag it and go on.
        row.kind = HistoryRecordKind::UncheckableMessage;
        cells[kColAccount] = kErrorText;
        return row;
    }
    row.kind = HistoryRecordKind::Event;
    cells[kColChecksum] = *checksum ? "Да" : "Нет";
    if (deliveryKnown) {
        cells[kColDelivered] = deliveryBits[kDeliveredPosition - 1] == '0' ? "Да" : "Нет";
        cells[kColPaths] = DeliveryPaths(deliveryBits, channelName, style.gprsPathText);
    }
    return row;
}

std::string EventTableKey(const HistoryRow& row)
{
    return row.cells[kColEventCode] + (row.cells[kColAlarmRestore] == kRestoreText ? "3" : "1");
}

} // namespace nvx
