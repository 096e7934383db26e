#include "core/IniFile.h"

#include "core/Codec.h"

#include <atomic>
#include <cerrno>
#include <charconv>
#include <optional>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nvx {

namespace fs = std::filesystem;

namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    // close() can report a delayed write error, so a writer must see its result.
    bool Close() { return ::close(std::exchange(fd_, -1)) == 0; }

private:
    int fd_;
};

// The temporary file of a save, removed unless it was renamed over the target.
class TemporaryFile {
public:
    explicit TemporaryFile(fs::path path) : path_(std::move(path)) {}
    ~TemporaryFile()
    {
        if (!path_.empty())
            ::unlink(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const fs::path& path() const { return path_; }
    void Keep() { path_.clear(); }

private:
    fs::path path_;
};

constexpr std::string_view kBlanks = " \t";

std::string_view Trim(std::string_view text)
{
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// Case folding of CP1251 bytes: Latin letters and the Russian alphabet.
std::string Fold(std::string_view cp1251)
{
    std::string folded(cp1251);
    for (char& c : folded) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDF))
            c = static_cast<char>(b + 0x20);
        else if (b == 0xA8)  // Ё
            c = static_cast<char>(0xB8);
    }
    return folded;
}

// A line break inside a value would end the value and start a line of its own.
std::string OneLine(std::string_view text)
{
    std::string line(text);
    for (char& c : line) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return line;
}

std::string ToDisk(std::string_view utf8) { return ToCp1251(OneLine(utf8)); }

std::optional<std::string_view> HeaderName(std::string_view line)
{
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() != '[')
        return std::nullopt;
    const auto close = trimmed.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return Trim(trimmed.substr(1, close - 1));
}

std::optional<std::string_view> EntryKey(std::string_view line)
{
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#')
        return std::nullopt;
    const auto equals = trimmed.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    const std::string_view key = Trim(trimmed.substr(0, equals));
    if (key.empty())
        return std::nullopt;
    return key;
}

std::string_view EntryValue(std::string_view line) { return Trim(line.substr(line.find('=') + 1)); }

// The line up to where its value starts, so that a rewritten value keeps the key's spelling and spacing.
std::string_view ValuePrefix(std::string_view line)
{
    const auto valueStart = line.find_first_not_of(kBlanks, line.find('=') + 1);
    return valueStart == std::string_view::npos ? line : line.substr(0, valueStart);
}

bool IsBlank(std::string_view line) { return Trim(line).empty(); }

std::string Describe(int error) { return std::generic_category().message(error); }

std::string Quoted(const fs::path& path) { return "«" + path.string() + "»"; }

// A settings file reached through a symbolic link is replaced where it lives; the link stays.
fs::path RealTarget(const fs::path& path)
{
    std::error_code ec;
    if (fs::is_symlink(path, ec)) {
        fs::path real = fs::canonical(path, ec);
        if (!ec)
            return real;
    }
    return path;
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

IniFile::IniFile(fs::path path) : path_(std::move(path))
{
    sections_.emplace_back();
}

IniFile::Result IniFile::LoadFailed(int error)
{
    loadError_ = "Не удалось прочитать файл " + Quoted(path_) + ": " + Describe(error);
    return {false, loadError_};
}

IniFile::Result IniFile::Load()
{
    sections_.assign(1, Section{});
    newline_ = "\r\n";
    loadError_.clear();

    Descriptor file(::open(path_.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0)
        return errno == ENOENT ? Result{} : LoadFailed(errno);

    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return LoadFailed(errno);
        }
        if (got == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    Parse(bytes);
    return {};
}

void IniFile::Parse(const std::string& bytes)
{
    bool sawCrLf = false;
    bool sawLf = false;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        auto end = bytes.find('\n', pos);
        if (end == std::string::npos)
            end = bytes.size();
        std::string line = bytes.substr(pos, end - pos);
        if (end < bytes.size()) {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
                sawCrLf = true;
            } else {
                sawLf = true;
            }
        }
        pos = end + 1;

        if (auto name = HeaderName(line)) {
            Section section{true, line, Fold(*name), {}};
            sections_.push_back(std::move(section));
        } else {
            sections_.back().lines.push_back(std::move(line));
        }
    }
    // Keep the file's own line ends; a new file gets CR LF, which every INI reader accepts.
    newline_ = sawLf && !sawCrLf ? "\n" : "\r\n";
}

std::string IniFile::Serialise() const
{
    std::string bytes;
    for (const Section& section : sections_) {
        if (section.hasHeader)
            bytes += section.header + newline_;
        for (const std::string& line : section.lines)
            bytes += line + newline_;
    }
    return bytes;
}

IniFile::Result IniFile::Save() const
{
    if (!loadError_.empty())
        return {false, "Файл " + Quoted(path_) + " не записан, чтобы не потерять его: " + loadError_};

    const fs::path target = RealTarget(path_);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    auto failed = [&](int error) {
        return Result{false, "Не удалось записать файл " + Quoted(path_) + ": " + Describe(error)};
    };

    static std::atomic<unsigned> serial{0};
    int fd = -1;
    fs::path temporaryPath;
    while (fd < 0) {
        temporaryPath = folder / ("." + target.filename().string() + "." + std::to_string(::getpid()) + "." +
                                  std::to_string(serial++) + ".tmp");
        fd = ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return failed(errno);
    }
    Descriptor file(fd);
    TemporaryFile temporary(temporaryPath);

    // The replacement keeps the permissions the user gave the old file; failing that it keeps the
    // defaults of a new file, which is no reason to refuse the save.
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0)
        (void)::fchmod(file.get(), old.st_mode & 07777);

    if (!WriteAll(file.get(), Serialise()) || ::fsync(file.get()) != 0 || !file.Close())
        return failed(errno);
    if (::rename(temporary.path().c_str(), target.c_str()) != 0)
        return failed(errno);
    temporary.Keep();

    // Makes the rename itself durable; some file systems cannot sync a folder, and the file is in place.
    Descriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() >= 0)
        (void)::fsync(directory.get());
    return {};
}

IniFile::Location IniFile::Find(const std::string& foldedSection, const std::string& foldedKey) const
{
    // A section that appears twice (a user appended to the file) is read as one.
    for (std::size_t s = 1; s < sections_.size(); ++s) {
        const Section& section = sections_[s];
        if (section.foldedName != foldedSection)
            continue;
        for (std::size_t l = 0; l < section.lines.size(); ++l) {
            const auto key = EntryKey(section.lines[l]);
            if (key && Fold(*key) == foldedKey)
                return {s, l};
        }
    }
    return {};
}

IniFile::Section* IniFile::FirstSection(const std::string& foldedSection)
{
    for (std::size_t s = 1; s < sections_.size(); ++s) {
        if (sections_[s].foldedName == foldedSection)
            return &sections_[s];
    }
    return nullptr;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const
{
    const Location at = Find(Fold(ToDisk(section)), Fold(ToDisk(key)));
    if (!at.found())
        return std::string(defaultValue);
    return FromCp1251(EntryValue(sections_[at.section].lines[at.line]));
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const
{
    const std::string text = ReadString(section, key, {});
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end && !text.empty() ? value : defaultValue;
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool IniFile::SectionExists(std::string_view section) const
{
    const std::string folded = Fold(ToDisk(section));
    for (std::size_t s = 1; s < sections_.size(); ++s) {
        if (sections_[s].foldedName == folded)
            return true;
    }
    return false;
}

bool IniFile::ValueExists(std::string_view section, std::string_view key) const
{
    return Find(Fold(ToDisk(section)), Fold(ToDisk(key))).found();
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    const std::string diskSection = ToDisk(section);
    const std::string diskKey = ToDisk(key);
    const std::string diskValue = ToDisk(value);
    const std::string foldedSection = Fold(diskSection);

    if (const Location at = Find(foldedSection, Fold(diskKey)); at.found()) {
        std::string& line = sections_[at.section].lines[at.line];
        line = std::string(ValuePrefix(line)) + diskValue;
        return;
    }

    Section* target = FirstSection(foldedSection);
    if (target == nullptr) {
        Section& last = sections_.back();
        const std::string_view lastLine = !last.lines.empty() ? std::string_view(last.lines.back())
                                                               : std::string_view(last.header);
        if (!IsBlank(lastLine))
            last.lines.emplace_back();
        sections_.push_back(Section{true, "[" + diskSection + "]", foldedSection, {}});
        target = &sections_.back();
    }
    // After the section's last key: blank lines and comments before the next header stay with it.
    std::size_t insertAt = 0;
    for (std::size_t l = 0; l < target->lines.size(); ++l) {
        if (EntryKey(target->lines[l]))
            insertAt = l + 1;
    }
    target->lines.insert(target->lines.begin() + static_cast<std::ptrdiff_t>(insertAt),
                         diskKey + "=" + diskValue);
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value)
{
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

void IniFile::EraseSection(std::string_view section)
{
    const std::string folded = Fold(ToDisk(section));
    std::erase_if(sections_, [&](const Section& s) { return s.hasHeader && s.foldedName == folded; });
}

}  // namespace nvx
