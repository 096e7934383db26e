#include "events/Biff8Stream.h"

#include <algorithm>
#include <array>

namespace nvx {

namespace {

// Record types.
constexpr std::uint16_t kBof = 0x0809;
constexpr std::uint16_t kEof = 0x000A;
constexpr std::uint16_t kCodepage = 0x0042;
constexpr std::uint16_t kWindow1 = 0x003D;
constexpr std::uint16_t kFont = 0x0031;
constexpr std::uint16_t kXf = 0x00E0;
constexpr std::uint16_t kStyle = 0x0293;
constexpr std::uint16_t kBoundSheet = 0x0085;
constexpr std::uint16_t kSst = 0x00FC;
constexpr std::uint16_t kExtSst = 0x00FF;
constexpr std::uint16_t kContinue = 0x003C;
constexpr std::uint16_t kDimensions = 0x0200;
constexpr std::uint16_t kWindow2 = 0x023E;
constexpr std::uint16_t kLabelSst = 0x00FD;

constexpr std::size_t kMaxRecordBody = 8224;
constexpr std::uint8_t kUtf16Flag = 0x01;
constexpr std::uint16_t kUtf16Codepage = 1200;
constexpr std::uint16_t kStyleXfCount = 15;      // Excel expects style XFs 0..14 ...
constexpr std::uint16_t kCellXf = kStyleXfCount; // ... and the default cell XF as number 15
constexpr std::size_t kMaxExtSstBuckets = 128;

bool IsHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

class StreamWriter {
public:
    std::string bytes;

    void U8(std::uint8_t v) { bytes.push_back(static_cast<char>(v)); }
    void U16(std::uint16_t v)
    {
        U8(static_cast<std::uint8_t>(v));
        U8(static_cast<std::uint8_t>(v >> 8));
    }
    void U32(std::uint32_t v)
    {
        U16(static_cast<std::uint16_t>(v));
        U16(static_cast<std::uint16_t>(v >> 16));
    }
    void PatchU32(std::size_t at, std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<char>(v >> (8 * i));
    }
    void Utf16(const char16_t* units, std::size_t count)
    {
        for (std::size_t i = 0; i < count; ++i)
            U16(static_cast<std::uint16_t>(units[i]));
    }

    // Records are written as header, body, then the body length is patched in by End().
    void Begin(std::uint16_t type)
    {
        recordStart_ = bytes.size();
        U16(type);
        U16(0);
    }
    void End()
    {
        const std::size_t length = bytes.size() - recordStart_ - 4;
        bytes[recordStart_ + 2] = static_cast<char>(length);
        bytes[recordStart_ + 3] = static_cast<char>(length >> 8);
    }
    std::size_t Room() const { return kMaxRecordBody - (bytes.size() - recordStart_ - 4); }
    std::size_t OffsetInRecord() const { return bytes.size() - recordStart_; } // header included

private:
    std::size_t recordStart_ = 0;
};

void WriteBof(StreamWriter& w, std::uint16_t substreamType)
{
    w.Begin(kBof);
    w.U16(0x0600); // BIFF8
    w.U16(substreamType);
    w.U16(0x0DBB); // build and year of the first BIFF8 writer, what readers expect
    w.U16(0x07CC);
    w.U32(0); // file history
    w.U32(6); // lowest version that reads every record: Excel 97
    w.End();
}

void WriteEof(StreamWriter& w)
{
    w.Begin(kEof);
    w.End();
}

void WriteFont(StreamWriter& w)
{
    static constexpr char kName[] = "Arial";
    w.Begin(kFont);
    w.U16(200);    // 10 pt in twips
    w.U16(0);      // no italic, strike-out, outline
    w.U16(0x7FFF); // automatic colour
    w.U16(400);    // normal weight
    w.U16(0);      // no super- or subscript
    w.U8(0);       // no underline
    w.U8(0);       // family unknown
    w.U8(204);     // Cyrillic character set
    w.U8(0);
    w.U8(sizeof kName - 1);
    w.U8(0); // name stored one byte per character
    for (const char c : std::string_view(kName))
        w.U8(static_cast<std::uint8_t>(c));
    w.End();
}

void WriteXf(StreamWriter& w, bool style, bool firstStyle)
{
    w.Begin(kXf);
    w.U16(0);                                 // font 0
    w.U16(0);                                 // format "General"
    w.U16(style ? 0xFFF5 : 0x0001);           // locked; a style has no parent, a cell XF has style 0
    w.U8(0x20);                               // general alignment, bottom
    w.U8(0);                                  // no rotation
    w.U8(0);                                  // no indent
    w.U8(style && !firstStyle ? 0xF4 : 0x00); // style XFs other than Normal defer to Normal
    w.U32(0);                                 // no borders
    w.U32(0);
    w.U16(0x20C0); // pattern colours: window text and window background
    w.End();
}

void WriteGlobalsHead(StreamWriter& w)
{
    WriteBof(w, 0x0005);
    w.Begin(kCodepage);
    w.U16(kUtf16Codepage);
    w.End();

    w.Begin(kWindow1);
    w.U16(0); // window position and size in twips
    w.U16(0);
    w.U16(0x4000);
    w.U16(0x2000);
    w.U16(0x0038); // horizontal and vertical scroll bars, sheet tabs
    w.U16(0);      // active sheet
    w.U16(0);      // first visible tab
    w.U16(1);      // selected sheets
    w.U16(600);    // tab bar width ratio (per mille)
    w.End();

    // Excel counts fonts 0..3 and skips number 4, so four are the least a file carries.
    for (int i = 0; i < 4; ++i)
        WriteFont(w);
    for (std::uint16_t i = 0; i < kStyleXfCount; ++i)
        WriteXf(w, true, i == 0);
    WriteXf(w, false, false);

    w.Begin(kStyle);
    w.U16(0x8000); // built-in style on XF 0
    w.U8(0);       // "Normal"
    w.U8(0xFF);
    w.End();
}

// Returns the stream offsets of the BOUNDSHEET position fields, to be patched once the sheets are laid out.
std::vector<std::size_t> WriteBoundSheets(StreamWriter& w, const std::vector<Biff8Sheet>& sheets)
{
    std::vector<std::size_t> positionFields;
    for (const Biff8Sheet& sheet : sheets) {
        w.Begin(kBoundSheet);
        positionFields.push_back(w.bytes.size());
        w.U32(0);
        w.U8(0); // visible
        w.U8(0); // worksheet
        w.U8(static_cast<std::uint8_t>(sheet.name.size()));
        w.U8(kUtf16Flag);
        w.Utf16(sheet.name.data(), sheet.name.size());
        w.End();
    }
    return positionFields;
}

struct SstBucket {
    std::uint32_t streamOffset;
    std::uint16_t offsetInRecord;
};

// Strings go into SST and, when it is full, CONTINUE records. A string's 3-byte header is never split;
// a string split across records repeats its flag byte at the start of the CONTINUE and is cut only
// between whole characters, never inside a surrogate pair.
void WriteSharedStrings(StreamWriter& w, const std::vector<std::u16string>& strings, std::uint32_t cellCount)
{
    const std::size_t perBucket =
        std::max<std::size_t>(8, (strings.size() + kMaxExtSstBuckets - 1) / kMaxExtSstBuckets);
    std::vector<SstBucket> buckets;

    w.Begin(kSst);
    w.U32(cellCount);
    w.U32(static_cast<std::uint32_t>(strings.size()));
    for (std::size_t i = 0; i < strings.size(); ++i) {
        const std::u16string& text = strings[i];
        const bool startsWithPair = !text.empty() && IsHighSurrogate(text[0]);
        const std::size_t headerAndFirstCharacter = text.empty() ? 3 : startsWithPair ? 7 : 5;
        if (w.Room() < headerAndFirstCharacter) {
            w.End();
            w.Begin(kContinue);
        }
        if (i % perBucket == 0)
            buckets.push_back(
                {static_cast<std::uint32_t>(w.bytes.size()), static_cast<std::uint16_t>(w.OffsetInRecord())});
        w.U16(static_cast<std::uint16_t>(text.size()));
        w.U8(kUtf16Flag);
        std::size_t done = 0;
        while (done < text.size()) {
            std::size_t count = std::min(w.Room() / 2, text.size() - done);
            if (count > 0 && done + count < text.size() && IsHighSurrogate(text[done + count - 1]))
                --count;
            if (count == 0) {
                w.End();
                w.Begin(kContinue);
                w.U8(kUtf16Flag);
                continue;
            }
            w.Utf16(text.data() + done, count);
            done += count;
        }
    }
    w.End();

    w.Begin(kExtSst);
    w.U16(static_cast<std::uint16_t>(perBucket));
    for (const SstBucket& bucket : buckets) {
        w.U32(bucket.streamOffset);
        w.U16(bucket.offsetInRecord);
        w.U16(0);
    }
    w.End();
}

void WriteSheet(StreamWriter& w, const Biff8Sheet& sheet, bool active)
{
    WriteBof(w, 0x0010);

    std::uint32_t firstRow = UINT32_MAX, lastRowPlusOne = 0;
    std::uint16_t firstColumn = UINT16_MAX, lastColumnPlusOne = 0;
    for (std::size_t r = 0; r < sheet.rows.size(); ++r) {
        const auto& row = sheet.rows[r];
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (row[c] == Biff8Sheet::kNoCell)
                continue;
            firstRow = std::min(firstRow, static_cast<std::uint32_t>(r));
            lastRowPlusOne = static_cast<std::uint32_t>(r + 1);
            firstColumn = std::min(firstColumn, static_cast<std::uint16_t>(c));
            lastColumnPlusOne = std::max(lastColumnPlusOne, static_cast<std::uint16_t>(c + 1));
        }
    }
    const bool empty = lastRowPlusOne == 0;
    w.Begin(kDimensions);
    w.U32(empty ? 0 : firstRow);
    w.U32(lastRowPlusOne);
    w.U16(empty ? 0 : firstColumn);
    w.U16(lastColumnPlusOne);
    w.U16(0);
    w.End();

    for (std::size_t r = 0; r < sheet.rows.size(); ++r) {
        const auto& row = sheet.rows[r];
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (row[c] == Biff8Sheet::kNoCell)
                continue;
            w.Begin(kLabelSst);
            w.U16(static_cast<std::uint16_t>(r));
            w.U16(static_cast<std::uint16_t>(c));
            w.U16(kCellXf);
            w.U32(row[c]);
            w.End();
        }
    }

    w.Begin(kWindow2);
    // Grid lines, headers, zeros, default header colour, outline symbols; the first sheet selected and shown.
    w.U16(active ? 0x06B6 : 0x00B6);
    w.U16(0);    // top row
    w.U16(0);    // left column
    w.U32(0x40); // header colour: automatic
    w.U16(0);    // zoom in page break preview: default
    w.U16(0);    // zoom in normal view: default
    w.U32(0);
    w.End();

    WriteEof(w);
}

} // namespace

std::string BuildBiff8Workbook(const std::vector<Biff8Sheet>& sheets,
                               const std::vector<std::u16string>& strings)
{
    std::uint32_t cellCount = 0;
    for (const Biff8Sheet& sheet : sheets)
        for (const auto& row : sheet.rows)
            cellCount += static_cast<std::uint32_t>(std::count_if(
                row.begin(), row.end(), [](std::uint32_t s) { return s != Biff8Sheet::kNoCell; }));

    StreamWriter w;
    WriteGlobalsHead(w);
    const std::vector<std::size_t> positionFields = WriteBoundSheets(w, sheets);
    WriteSharedStrings(w, strings, cellCount);
    WriteEof(w);

    for (std::size_t i = 0; i < sheets.size(); ++i) {
        w.PatchU32(positionFields[i], static_cast<std::uint32_t>(w.bytes.size()));
        WriteSheet(w, sheets[i], i == 0);
    }
    return std::move(w.bytes);
}

} // namespace nvx
