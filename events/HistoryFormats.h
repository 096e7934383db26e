// The history page's texts: the panel's answers to "+FP" and "+fer", the command that asks for a
// record, the lines of the history text file and the rows of the export of all records read.
// Pure functions; any thread.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "events/HistoryRecord.h"
#include "events/MsgFileU.h"

namespace nvx {

// "+fer" and the record number as four upper-case hexadecimal digits.
std::string RecordCommand(std::uint16_t number);

// The history position in the value of a "+FP" answer: at least 10 characters, and the four after the
// first "C" are hexadecimal. Nothing for any other value.
std::optional<std::uint16_t> ParseHistoryPosition(std::string_view value);

// The record in the value of a "+fer" answer: its first 39 characters, when the value is longer than 38,
// is not the failed-read marker and holds only the characters of a record. Nothing otherwise: the read
// is to be repeated.
std::optional<std::string> AcceptedRecord(std::string_view value);

// What one read of record j gave: the record when accepted, and the value the panel sent last
// (the text file keeps it, also when it was not a record).
struct RecordRead {
    std::optional<std::string> record;
    std::string received;
};

// The decoded line the text file holds for record `number` (its raw line follows it in the file).
std::string HistoryTextLine(std::uint16_t number, const RecordRead& read, const ChannelNamer& channelName);

// A row of the export of all records read: the number alone for an empty slot or a failed read,
// otherwise the decoding with the partition as received, "GPRS online SIM1; " and the event text.
std::array<std::string, kHistoryColumnCount> ExportedRecordRow(std::uint16_t number, std::string_view record,
                                                               const ChannelNamer& channelName,
                                                               const TMsgFile& events);

// The event text of a page row whose code and kind are shown, from the event table; unchanged otherwise.
void FillEventText(HistoryRow& row, const TMsgFile& events);

} // namespace nvx
