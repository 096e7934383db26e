#include "events/HistoryFormats.h"

#include "core/NumberText.h"

#include <cstdio>

#include "events/ContactID.h"

namespace nvx {

namespace {

constexpr std::size_t kMinimumPositionAnswer = 10;
constexpr std::size_t kPositionDigits = 4;

std::optional<std::uint16_t> ParseHex4(std::string_view digits)
{
    if (digits.size() != kPositionDigits)
        return std::nullopt;
    const std::optional<std::uint32_t> value = ReadHex(digits);
    return value ? std::optional<std::uint16_t>(static_cast<std::uint16_t>(*value)) : std::nullopt;
}

// A field of the line and the blank that follows it.
void AddField(std::string& line, const std::string& field)
{
    line += field;
    line += ' ';
}

} // namespace

std::string RecordCommand(std::uint16_t number)
{
    char command[16];
    std::snprintf(command, sizeof command, "+fer%04X", static_cast<unsigned>(number));
    return command;
}

std::optional<std::uint16_t> ParseHistoryPosition(std::string_view value)
{
    if (value.size() < kMinimumPositionAnswer)
        return std::nullopt;
    const std::size_t c = value.find('C');
    if (c == std::string_view::npos)
        return std::nullopt;
    return ParseHex4(value.substr(c + 1, kPositionDigits));
}

std::optional<std::string> AcceptedRecord(std::string_view value)
{
    if (value.size() < kHistoryRecordLength)
        return std::nullopt;
    const std::string_view record = value.substr(0, kHistoryRecordLength);
    if (IsFailedReadRecord(record) || !HasOnlyRecordCharacters(record))
        return std::nullopt;
    return std::string(record);
}

std::string HistoryTextLine(std::uint16_t number, const RecordRead& read, const ChannelNamer& channelName)
{
    const std::string numberText = std::to_string(number);
    std::string line = numberText + " ";
    if (!read.record) {
        AddField(line, std::string(kErrorText));
        return line;
    }
    const HistoryRow row = DecodeHistoryRecord(number, *read.record, channelName);
    const auto& cells = row.cells;
    switch (row.kind) {
    case HistoryRecordKind::EmptySlot:
        AddField(line, numberText);
        return line;
    case HistoryRecordKind::NoEvent:
        line += "  "; // no fields, no verdict
        return line;
    case HistoryRecordKind::MalformedMessage:
        AddField(line, std::string(kErrorText));
        line += ' ';
        return line;
    case HistoryRecordKind::Event:
    case HistoryRecordKind::UncheckableMessage:
        break;
    }
    AddField(line, cells[kColDateTime]);
    AddField(line, cells[kColMessage]);
    AddField(line, TContactID(cells[kColMessage]).Account());
    AddField(line, cells[kColEventCode]);
    if (cells[kColAlarmRestore].empty())
        line += ' '; // neither alarm nor restore: a single blank
    else
        AddField(line, cells[kColAlarmRestore]);
    if (!cells[kColPartition].empty())
        AddField(line, cells[kColPartition]);
    AddField(line, cells[kColZone]);
    if (row.kind == HistoryRecordKind::UncheckableMessage) {
        // The check digit cannot be computed: said in the verdict's place, and the file goes on.
        AddField(line, std::string(kErrorText));
        return line;
    }
    AddField(line, cells[kColChecksum]);
    if (!cells[kColDelivered].empty()) {
        AddField(line, cells[kColDelivered]);
        AddField(line, cells[kColPaths]);
    }
    return line;
}

void FillEventText(HistoryRow& row, const TMsgFile& events)
{
    auto& cells = row.cells;
    if (cells[kColEventText].empty() && !cells[kColEventCode].empty() && !cells[kColAlarmRestore].empty())
        cells[kColEventText] = events.TextOf(EventTableKey(row));
}

std::array<std::string, kHistoryColumnCount> ExportedRecordRow(std::uint16_t number, std::string_view record,
                                                               const ChannelNamer& channelName,
                                                               const TMsgFile& events)
{
    if (IsEmptySlotRecord(record) || record.find(kFailedReadTail) != std::string_view::npos) {
        std::array<std::string, kHistoryColumnCount> cells;
        cells[kColNumber] = std::to_string(number);
        return cells;
    }
    HistoryDecodeStyle style;
    style.partitionAsReceived = true;
    style.gprsPathText = "GPRS online SIM1; ";
    HistoryRow row = DecodeHistoryRecord(number, record, channelName, style);
    if (row.kind == HistoryRecordKind::Event || row.kind == HistoryRecordKind::UncheckableMessage)
        row.cells[kColEventText] = events.TextOf(EventTableKey(row));
    return row.cells;
}

} // namespace nvx
