// Lays out the "Workbook" stream of an Excel 97 (BIFF8) file: the globals with one shared string
// table, then one worksheet of text cells per sheet. Pure bytes, no file; any thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace nvx {

struct Biff8Sheet {
    static constexpr std::uint32_t kNoCell = UINT32_MAX;

    std::u16string name; // checked by the caller: 1..31 units, unique, no forbidden characters
    // rows[r][c]: index of the cell's text in the string table, or kNoCell; at most 65,536 rows
    // of at most 256 columns.
    std::vector<std::vector<std::uint32_t>> rows;
};

// Every sheet's cells refer to strings by index; strings hold at most 65,535 UTF-16 units each.
std::string BuildBiff8Workbook(const std::vector<Biff8Sheet>& sheets,
                               const std::vector<std::u16string>& strings);

} // namespace nvx
