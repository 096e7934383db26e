// An INI file held in memory and bound to its path: current.ini, windows.ini and settings profiles.
// Not synchronised: one thread at a time (the interface thread at start-up, exit and profile commands).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace nvx {

// Sections and keys match without regard to case (Latin and Russian letters). Booleans are stored as
// 1 and 0, integers in decimal. Every string of the interface is UTF-8; the file on disk is CP1251.
// The file's lines are held as they are on disk, so comments, blank lines, hand-added keys and their
// order come back byte for byte; a changed key keeps its place, a new key goes after the last key of
// its section, a new section goes to the end.
class IniFile {
public:
    struct Result {
        bool ok = true;
        std::string error;  // for the user, when !ok
        explicit operator bool() const { return ok; }
    };

    explicit IniFile(std::filesystem::path path);

    const std::filesystem::path& path() const { return path_; }

    // Replaces the content with the file's. A missing file is an empty one. When the file exists but
    // cannot be read, the content is empty and Save() refuses, so the unread file is never replaced.
    Result Load();

    // Writes the whole content to the path through a temporary file in the same folder that is
    // flushed to the disk and renamed over the target: the target is either the old or the new file.
    [[nodiscard]] Result Save() const;

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    // The default when the value is missing or not a decimal integer.
    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
    // An integer value other than 0 is true; the default when the value is not an integer.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;

    // Line breaks in the value become blanks: a value is one line of the file.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

    void EraseSection(std::string_view section);

private:
    struct Section {
        bool hasHeader = false;  // false only for the lines before the first section header
        std::string header;      // raw header line
        std::string foldedName;  // CP1251, case-folded: the lookup key
        std::vector<std::string> lines;
    };
    struct Location {
        std::size_t section = 0;  // 0 (the lines before any header) means not found
        std::size_t line = 0;
        bool found() const { return section != 0; }
    };

    void Parse(const std::string& bytes);
    std::string Serialise() const;
    Location Find(const std::string& foldedSection, const std::string& foldedKey) const;
    Section* FirstSection(const std::string& foldedSection);
    Result LoadFailed(int error);

    std::filesystem::path path_;
    std::vector<Section> sections_;
    std::string newline_ = "\r\n";
    std::string loadError_;
};

}  // namespace nvx
