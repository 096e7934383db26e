// An Excel 97 workbook of named sheets holding text cells, written as an OLE2 file with a BIFF8
// "Workbook" stream: the spreadsheet export of the history and the online event log. A workbook is
// used by one thread at a time; separate workbooks may be saved on separate threads.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "events/Biff8Stream.h"

namespace nvx {

class XlsWorkbook {
public:
    static constexpr std::uint32_t kMaxRows = 65536;
    static constexpr std::uint32_t kMaxColumns = 256;
    static constexpr std::size_t kMaxSheetNameLength = 31; // UTF-16 units
    static constexpr std::size_t kMaxTextLength = 32767;   // UTF-16 units in one cell

    // Appends a sheet and returns its index. Refused (empty result, reason in error) for a name that
    // is empty, longer than 31 characters, holds one of : \ / ? * [ ], starts or ends with an
    // apostrophe, or equals another sheet's name ignoring case.
    std::optional<std::size_t> AddSheet(std::string_view name, std::string* error = nullptr);
    std::size_t SheetCount() const { return sheets_.size(); }

    // Sets the text of a cell (UTF-8; invalid bytes become U+FFFD); an empty text clears the cell.
    // Refused for an unknown sheet, a row or column beyond the format's limits, or a text over 32,767
    // characters.
    bool SetText(std::size_t sheet, std::uint32_t row, std::uint32_t column, std::string_view text,
                 std::string* error = nullptr);

    // Writes the file through a temporary file beside it, so that the name shows either the complete
    // new workbook or what it held before. Refused for a workbook without sheets.
    bool Save(const std::filesystem::path& path, std::string* error = nullptr) const;

private:
    std::uint32_t Intern(std::u16string text);

    std::vector<Biff8Sheet> sheets_;
    std::vector<std::u16string> strings_;
    std::unordered_map<std::u16string, std::uint32_t> stringIndex_;
};

} // namespace nvx
