#include "events/MsgFileU.h"

#include "core/Codec.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <optional>

namespace nvx {

namespace {

// Lines end in CR LF, LF or CR; a line break at the very end opens no further line.
std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

std::vector<std::string> SplitFields(std::string_view line)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = line.find('|', start);
        fields.emplace_back(line.substr(start, bar - start));
        if (bar == std::string_view::npos)
            return fields;
        start = bar + 1;
    }
}

// A colour as the stored notation writes it: decimal, or "$" and up to eight hexadecimal digits
// taken as a 32-bit pattern (system colours have the top byte set).
std::optional<std::int32_t> ParseColor(std::string_view text)
{
    const char* end = text.data() + text.size();
    if (text.starts_with('$')) {
        std::uint32_t pattern = 0;
        const auto [stop, error] = std::from_chars(text.data() + 1, end, pattern, 16);
        if (error != std::errc() || stop != end)
            return std::nullopt;
        return static_cast<std::int32_t>(pattern);
    }
    std::int32_t value = 0;
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

} // namespace

bool TMsgFile::LoadFromFile(const std::filesystem::path& fileName)
{
    std::ifstream file(fileName, std::ios::binary);
    if (!file)
        return false;
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad())
        return false;
    LoadFromCp1251(bytes);
    return true;
}

void TMsgFile::LoadFromCp1251(std::string_view text)
{
    const std::string utf8 = FromCp1251(text);
    const std::vector<std::string_view> lines = SplitLines(utf8);
    rows_.clear();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find('|') != std::string_view::npos)
            rows_.push_back(SplitFields(lines[i]));
        else if (i + 1 == lines.size())
            rows_.emplace_back();
    }
}

bool TMsgFile::SaveToFile(const std::filesystem::path& fileName) const
{
    std::string text;
    for (const auto& row : rows_) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i > 0)
                text += '|';
            text += row[i];
        }
        text += "\r\n";
    }
    std::ofstream file(fileName, std::ios::binary | std::ios::trunc);
    const std::string bytes = ToCp1251(text);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return !file.fail();
}

std::string TMsgFile::Cell(std::size_t row, std::size_t field) const
{
    return field < ColCount(row) ? rows_[row][field] : std::string();
}

bool TMsgFile::SetCell(std::size_t row, std::size_t field, std::string text)
{
    if (field >= ColCount(row))
        return false;
    rows_[row][field] = std::move(text);
    return true;
}

const std::string* TMsgFile::FirstFilledField(std::string_view key, std::size_t field) const
{
    for (const auto& row : rows_)
        if (row.size() > field && row[0] == key && !row[field].empty())
            return &row[field];
    return nullptr;
}

std::string TMsgFile::TextOf(std::string_view key) const
{
    const std::string* text = FirstFilledField(key, 1);
    return text ? *text : std::string(" ");
}

std::int32_t TMsgFile::ColorOf(std::string_view key, std::size_t field, std::int32_t fallback) const
{
    const std::string* text = FirstFilledField(key, field);
    if (!text)
        return fallback;
    return ParseColor(*text).value_or(fallback);
}

std::int32_t TMsgFile::BackColorOf(std::string_view key) const
{
    return ColorOf(key, 2, kWhite);
}

std::int32_t TMsgFile::TextColorOf(std::string_view key) const
{
    return ColorOf(key, 3, kBlack);
}

} // namespace nvx
