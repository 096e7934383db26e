#include "events/Biff8Stream.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace nvx {
namespace {

struct Record {
    std::size_t offset; // of the header in the stream
    std::uint16_t type;
    std::string_view body;
};

std::uint16_t U16(std::string_view bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      static_cast<unsigned char>(bytes[at + 1]) << 8);
}
std::uint32_t U32(std::string_view bytes, std::size_t at)
{
    return U16(bytes, at) | std::uint32_t{U16(bytes, at + 2)} << 16;
}

std::vector<Record> Records(std::string_view stream)
{
    std::vector<Record> records;
    for (std::size_t at = 0; at + 4 <= stream.size();) {
        const std::uint16_t length = U16(stream, at + 2);
        records.push_back({at, U16(stream, at), stream.substr(at + 4, length)});
        at += 4 + length;
    }
    return records;
}

// Reassembles the shared strings as a strict reader must: a string header never split across
// records, and a CONTINUE that carries on a string opening with its flag byte.
std::vector<std::u16string> SharedStrings(const std::vector<Record>& records)
{
    std::vector<std::string_view> parts;
    for (const Record& r : records) {
        if (r.type == 0x00FC || (r.type == 0x003C && !parts.empty()))
            parts.push_back(r.body);
        else if (!parts.empty())
            break;
    }
    std::vector<std::u16string> strings;
    if (parts.empty())
        return strings;
    std::size_t part = 0, at = 8;
    const std::uint32_t count = U32(parts[0], 4);
    for (std::uint32_t i = 0; i < count; ++i) {
        if (at == parts[part].size()) {
            ++part;
            at = 0;
        }
        if (part >= parts.size() || at + 3 > parts[part].size()) {
            ADD_FAILURE() << "header of string " << i << " split or missing";
            return strings;
        }
        const std::uint16_t length = U16(parts[part], at);
        EXPECT_EQ(parts[part][at + 2], '\x01') << "string " << i;
        at += 3;
        std::u16string text;
        while (text.size() < length) {
            if (at == parts[part].size()) {
                if (++part >= parts.size()) {
                    ADD_FAILURE() << "string " << i << " runs past the table";
                    return strings;
                }
                EXPECT_EQ(parts[part][0], '\x01') << "flag byte of string " << i << " in its CONTINUE";
                EXPECT_FALSE(!text.empty() && text.back() >= 0xD800 && text.back() <= 0xDBFF)
                    << "string " << i << " is cut inside a surrogate pair";
                at = 1;
            }
            for (; at + 2 <= parts[part].size() && text.size() < length; at += 2)
                text.push_back(static_cast<char16_t>(U16(parts[part], at)));
            if (text.size() < length && at != parts[part].size()) {
                ADD_FAILURE() << "a character of string " << i << " is cut in two";
                return strings;
            }
        }
        strings.push_back(std::move(text));
    }
    return strings;
}

// What xlrd does not check: record sizes, string headers kept whole, and that the quick-lookup
// table of the string table points at string headers.
TEST(Biff8Stream, RecordsStayWithinTheLimitAndLookupsPointAtStrings)
{
    // 8 + (3 + 2 * 4000) + (3 + 2 * 104) leaves two bytes in the first record: too few for a header.
    std::vector<std::u16string> strings = {std::u16string(4000, u'a'), std::u16string(104, u'b')};
    for (int i = 0; i < 2000; ++i)
        strings.push_back(u"Снятие с охраны раздела " + std::u16string(i % 40, u'ж'));
    strings.push_back(std::u16string(20000, u'Ю'));
    for (int i = 0; i < 5000; ++i)
        strings.back() += u"\U0001F514";
    Biff8Sheet sheet{u"List1", {}};
    for (std::uint32_t i = 0; i < strings.size(); ++i)
        sheet.rows.push_back({i});
    const std::string stream = BuildBiff8Workbook({sheet, Biff8Sheet{u"List2", {}}}, strings);
    const std::vector<Record> records = Records(stream);

    std::size_t continues = 0, worksheets = 0;
    for (const Record& r : records) {
        EXPECT_LE(r.body.size(), 8224u) << "record " << std::hex << r.type;
        continues += r.type == 0x003C;
        if (r.type == 0x0085) { // BOUNDSHEET: its sheet's BOF
            const std::uint32_t bof = U32(r.body, 0);
            ASSERT_LT(bof + 8u, stream.size());
            EXPECT_EQ(U16(stream, bof), 0x0809);
            EXPECT_EQ(U16(stream, bof + 6), 0x0010);
            ++worksheets;
        }
    }
    EXPECT_EQ(worksheets, 2u);
    EXPECT_GT(continues, 5u);
    EXPECT_EQ(SharedStrings(records), strings);

    const auto extSst =
        std::find_if(records.begin(), records.end(), [](const Record& r) { return r.type == 0x00FF; });
    ASSERT_NE(extSst, records.end());
    const std::uint16_t perBucket = U16(extSst->body, 0);
    const std::size_t buckets = (extSst->body.size() - 2) / 8;
    EXPECT_GE(perBucket, 8);
    EXPECT_LE(buckets, 128u);
    EXPECT_EQ(buckets, (strings.size() + perBucket - 1) / perBucket);
    for (std::size_t b = 0; b < buckets; ++b) {
        const std::uint32_t at = U32(extSst->body, 2 + 8 * b);
        const std::uint16_t inRecord = U16(extSst->body, 6 + 8 * b);
        EXPECT_EQ(U16(stream, at), strings[b * perBucket].size()) << "bucket " << b;
        EXPECT_EQ(static_cast<unsigned char>(stream[at + 2]), 0x01) << "bucket " << b;
        const auto holder = std::find_if(records.begin(), records.end(), [&](const Record& r) {
            return r.offset == at - inRecord && (r.type == 0x00FC || r.type == 0x003C);
        });
        EXPECT_NE(holder, records.end()) << "bucket " << b;
    }
}

} // namespace
} // namespace nvx
