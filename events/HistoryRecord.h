// The panel's 39-character history record ("hh:nn:ss dd/mm/yy FLAG CONTACTIDMESSAGE") and its
// decoding into the twelve columns that the history page shows, writes and exports. Pure text; any thread.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace nvx {

inline constexpr std::size_t kHistoryRecordLength = 39;

// Text of a slot the panel has never written; it may stand anywhere in the record.
inline constexpr std::string_view kEmptySlotMarker = "31:63:63 31/15/63 FFFF";
// Ending of an answer that did not carry a record: the read is to be repeated.
inline constexpr std::string_view kFailedReadTail = "FFFF FFFFFFFFFFFFFFFF";

bool IsEmptySlotRecord(std::string_view record);
bool IsFailedReadRecord(std::string_view record);
// Only blanks, "/", digits, ":" and "A" to "F": what a well-formed record is made of.
bool HasOnlyRecordCharacters(std::string_view record);

enum HistoryColumn : std::size_t {
    kColNumber,
    kColDateTime,
    kColAccount,
    kColEventCode,
    kColAlarmRestore,
    kColEventText,
    kColPartition,
    kColZone,
    kColMessage,
    kColChecksum,
    kColDelivered,
    kColPaths,
    kHistoryColumnCount
};

inline constexpr std::array<std::string_view, kHistoryColumnCount> kHistoryHeaders = {
    "№",      "Время", "№ объекта", "Код", "Т\\В",     "Событие",
    "Раздел", "Шлейф", "Посылка",   "КС",  "Передано", "Каналы"};

inline constexpr std::string_view kErrorText = "Ошибка";
inline constexpr std::string_view kAlarmText = "Тревога";
inline constexpr std::string_view kRestoreText = "Восстановление";

enum class HistoryRecordKind {
    EmptySlot,        // only the number is shown
    MalformedMessage, // "Ошибка" beside the number
    NoEvent,          // message of "F" only: only the number is shown
    Event,            // every column decoded
    UncheckableMessage // decoded, but its check digit cannot be computed: "Ошибка", no verdict, no delivery
};

struct HistoryRow {
    HistoryRecordKind kind = HistoryRecordKind::EmptySlot;
    std::array<std::string, kHistoryColumnCount> cells; // the event text column is left to the caller

    bool IsError() const
    {
        return kind == HistoryRecordKind::MalformedMessage || kind == HistoryRecordKind::UncheckableMessage;
    }
};

// Name of the type chosen for channel 1..8 on the channels page ("SMS", "GPRS IP1", ...), or empty.
using ChannelNamer = std::function<std::string(int channel)>;

// The history page's grid and text file use the defaults; its export of all records read keeps the
// partition as received and writes "GPRS online SIM1; ".
struct HistoryDecodeStyle {
    bool partitionAsReceived = false;
    std::string gprsPathText = "GPRS online SIM; ";
};

// Decodes a record that the reader accepted. Never fails: an undecodable message is reported by kind.
HistoryRow DecodeHistoryRecord(std::uint16_t number, std::string_view record, const ChannelNamer& channelName,
                               const HistoryDecodeStyle& style = {});

// Key of the row's event in an event message table: event code + "3" for a restore, else + "1".
std::string EventTableKey(const HistoryRow& row);

} // namespace nvx
