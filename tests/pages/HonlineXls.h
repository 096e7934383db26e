// Reads an exported workbook back with xlrd for the online event log tests: Debian's xlrd, which only
// the system interpreter (NVX_XLRD_PYTHON) imports. Test thread.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace nvx::test {

struct XlsSheet {
    std::string name;
    std::vector<std::vector<std::string>> rows;
};

// Sheets with every row's texts, tab-separated on the way (the tests' texts hold no tab or line break).
inline constexpr const char* kXlsDumpScript = R"(import sys, xlrd
sys.stdout.reconfigure(encoding="utf-8")
book = xlrd.open_workbook(sys.argv[1])
for sheet in book.sheets():
    print("sheet", sheet.name, sep="\t")
    for r in range(sheet.nrows):
        print("row", *[str(v) for v in sheet.row_values(r)], sep="\t")
)";

inline std::vector<std::string> SplitTabs(const std::string& line)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
        fields.push_back(line.substr(start, tab - start));
    fields.push_back(line.substr(start));
    return fields;
}

// The workbook's sheets; empty, with what xlrd said in `error`, when it cannot be read.
inline std::vector<XlsSheet> ReadWorkbook(const std::filesystem::path& file, std::string& error)
{
    const std::filesystem::path script = std::filesystem::path(::testing::TempDir()) / "honline-xls-dump.py";
    std::ofstream(script) << kXlsDumpScript;
    const std::string command =
        std::string(NVX_XLRD_PYTHON) + " '" + script.string() + "' '" + file.string() + "' 2>&1";
    std::string output;
    if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[65536];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            output.append(buffer, n);
        if (::pclose(pipe) != 0) {
            error = output;
            return {};
        }
    } else {
        error = "cannot run " + command;
        return {};
    }
    std::vector<XlsSheet> sheets;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> fields = SplitTabs(line);
        if (fields[0] == "sheet" && fields.size() == 2)
            sheets.push_back({fields[1], {}});
        else if (fields[0] == "row" && !sheets.empty())
            sheets.back().rows.emplace_back(fields.begin() + 1, fields.end());
        else
            error += line + "\n";
    }
    return sheets;
}

}  // namespace nvx::test
