// TMsgFile: a table of "|"-separated text rows looked up by the key in field 0, used for event
// texts and row colours. Files are CP1251 text; in memory every field is UTF-8. Not synchronised:
// one thread at a time.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace nvx {

class TMsgFile {
public:
    // Colours in the stored notation: 0x00BBGGRR, decimal or "$" + hexadecimal in the file.
    static constexpr std::int32_t kWhite = 16777215;
    static constexpr std::int32_t kBlack = 0;

    // Replaces the table by the file's rows; false (table unchanged) when the file cannot be read.
    bool LoadFromFile(const std::filesystem::path& fileName);
    // Replaces the table by the rows of CP1251 text: one row per line holding a "|", the fields
    // being the pieces between the "|" characters; a last line without "|" leaves one empty row.
    void LoadFromCp1251(std::string_view text);
    // Writes every row as its fields joined by "|", CR LF after each, in CP1251; a row of one field
    // is that field alone and an empty row an empty line. False when the file cannot be written.
    bool SaveToFile(const std::filesystem::path& fileName) const;

    std::size_t RowCount() const { return rows_.size(); }
    std::size_t ColCount(std::size_t row) const { return row < rows_.size() ? rows_[row].size() : 0; }
    // Empty outside the table.
    std::string Cell(std::size_t row, std::size_t field) const;
    // Changes an existing field only; false outside the table.
    bool SetCell(std::size_t row, std::size_t field, std::string text);

    // Field 1 of the first row with this key (exact, case-sensitive) whose field 1 is not empty; " " if none.
    std::string TextOf(std::string_view key) const;
    // Field 2 of the first row with this key whose field 2 is not empty; white if none or not a number.
    std::int32_t BackColorOf(std::string_view key) const;
    // Field 3 likewise; black if none or not a number.
    std::int32_t TextColorOf(std::string_view key) const;

private:
    const std::string* FirstFilledField(std::string_view key, std::size_t field) const;
    std::int32_t ColorOf(std::string_view key, std::size_t field, std::int32_t fallback) const;

    std::vector<std::vector<std::string>> rows_;
};

} // namespace nvx
