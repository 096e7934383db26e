#include "events/XlsWorkbook.h"

#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-output.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>

namespace nvx {

namespace {

void SetError(std::string* error, std::string text)
{
    if (error)
        *error = std::move(text);
}

// UTF-8 to UTF-16; a byte that does not start a valid sequence becomes U+FFFD.
std::u16string ToUtf16(std::string_view utf8)
{
    std::u16string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80           ? 1
                                   : (lead >> 5) == 0x6  ? 2
                                   : (lead >> 4) == 0xE  ? 3
                                   : (lead >> 3) == 0x1E ? 4
                                                         : 0;
        char32_t code = length == 1   ? lead
                        : length == 2 ? lead & 0x1F
                        : length == 3 ? lead & 0x0F
                                      : lead & 0x07;
        bool valid = length > 0 && i + length <= utf8.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        valid = valid && code >= kLeast[length] && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
        if (!valid) {
            out.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
        i += length;
    }
    return out;
}

// Excel compares sheet names without regard to case; Latin and Cyrillic letters cover our names.
char16_t FoldCase(char16_t c)
{
    if (c >= u'A' && c <= u'Z')
        return c + (u'a' - u'A');
    if (c >= 0x0410 && c <= 0x042F) // А..Я
        return c + 0x20;
    if (c >= 0x0400 && c <= 0x040F) // Ѐ..Џ, Ё among them
        return c + 0x50;
    return c;
}

bool SameNameIgnoringCase(const std::u16string& a, const std::u16string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) {
               return FoldCase(x) == FoldCase(y);
           });
}

struct GObjectUnref {
    void operator()(void* object) const { g_object_unref(object); }
};
template <class T> using GPtr = std::unique_ptr<T, GObjectUnref>;

struct FileClose {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string SystemError(const std::string& what, int code)
{
    return what + ": " + std::strerror(code);
}

std::string GsfError(GsfOutput* output, const std::string& what)
{
    const GError* failure = gsf_output_error(output);
    return failure ? what + ": " + failure->message : what;
}

// A file beside the target, created exclusively with the usual permissions; removed unless committed.
class TemporaryFile {
public:
    bool Create(const std::filesystem::path& target, std::string* error)
    {
        std::random_device seed;
        for (int attempt = 0; attempt < 100; ++attempt) {
            char suffix[16];
            std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(seed()));
            std::filesystem::path candidate = target;
            candidate += suffix;
            const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd < 0 && errno == EEXIST)
                continue;
            if (fd < 0) {
                SetError(error, SystemError("Не удалось создать файл " + candidate.string(), errno));
                return false;
            }
            file_.reset(::fdopen(fd, "wb"));
            if (!file_) {
                SetError(error, SystemError("Не удалось открыть файл " + candidate.string(), errno));
                ::close(fd);
                ::unlink(candidate.c_str());
                return false;
            }
            path_ = std::move(candidate);
            return true;
        }
        SetError(error, "Не удалось подобрать имя временного файла рядом с " + target.string());
        return false;
    }

    std::FILE* File() const { return file_.get(); }
    const std::filesystem::path& Path() const { return path_; }

    // Flushes the data to the disk and puts the file under the target's name.
    bool Commit(const std::filesystem::path& target, std::string* error)
    {
        if (std::fflush(file_.get()) != 0 || ::fsync(::fileno(file_.get())) != 0) {
            SetError(error, SystemError("Ошибка записи файла " + target.string(), errno));
            return false;
        }
        if (std::fclose(file_.release()) != 0) {
            SetError(error, SystemError("Ошибка записи файла " + target.string(), errno));
            return false;
        }
        if (std::rename(path_.c_str(), target.c_str()) != 0) {
            SetError(error, SystemError("Не удалось сохранить файл " + target.string(), errno));
            return false;
        }
        path_.clear();
        return true;
    }

    ~TemporaryFile()
    {
        file_.reset();
        if (!path_.empty())
            ::unlink(path_.c_str());
    }

private:
    std::unique_ptr<std::FILE, FileClose> file_;
    std::filesystem::path path_;
};

// Wraps the stream into an OLE2 compound file written to the open file.
bool WriteCompoundFile(std::FILE* file, const std::filesystem::path& name, const std::string& stream,
                       std::string* error)
{
    const GPtr<GsfOutput> sink(gsf_output_stdio_new_FILE(name.c_str(), file, TRUE));
    if (!sink) {
        SetError(error, "Не удалось открыть файл " + name.string());
        return false;
    }
    const GPtr<GsfOutfile> container(gsf_outfile_msole_new(sink.get()));
    if (!container) {
        SetError(error, GsfError(sink.get(), "Не удалось создать книгу " + name.string()));
        return false;
    }
    const GPtr<GsfOutput> workbook(gsf_outfile_new_child(container.get(), "Workbook", FALSE));
    if (!workbook) {
        SetError(error, GsfError(GSF_OUTPUT(container.get()), "Не удалось создать книгу " + name.string()));
        return false;
    }
    if (!gsf_output_write(workbook.get(), stream.size(), reinterpret_cast<const guint8*>(stream.data()))) {
        SetError(error, GsfError(workbook.get(), "Ошибка записи книги " + name.string()));
        return false;
    }
    // The stream's entry is complete only once it is closed; the directory is written when the container
    // closes.
    if (!gsf_output_close(workbook.get())) {
        SetError(error, GsfError(workbook.get(), "Ошибка записи книги " + name.string()));
        return false;
    }
    if (!gsf_output_close(GSF_OUTPUT(container.get()))) {
        SetError(error, GsfError(GSF_OUTPUT(container.get()), "Ошибка записи книги " + name.string()));
        return false;
    }
    if (!gsf_output_is_closed(sink.get()) && !gsf_output_close(sink.get())) {
        SetError(error, GsfError(sink.get(), "Ошибка записи файла " + name.string()));
        return false;
    }
    return true;
}

} // namespace

std::optional<std::size_t> XlsWorkbook::AddSheet(std::string_view name, std::string* error)
{
    std::u16string wide = ToUtf16(name);
    const std::string quoted = "«" + std::string(name) + "»";
    if (wide.empty()) {
        SetError(error, "Пустое имя листа");
        return std::nullopt;
    }
    if (wide.size() > kMaxSheetNameLength) {
        SetError(error, "Имя листа " + quoted + " длиннее 31 символа");
        return std::nullopt;
    }
    if (wide.find_first_of(u":\\/?*[]") != std::u16string::npos || wide.front() == u'\'' ||
        wide.back() == u'\'') {
        SetError(error, "Недопустимый символ в имени листа " + quoted);
        return std::nullopt;
    }
    for (const Biff8Sheet& sheet : sheets_) {
        if (SameNameIgnoringCase(sheet.name, wide)) {
            SetError(error, "Лист " + quoted + " уже есть в книге");
            return std::nullopt;
        }
    }
    sheets_.push_back(Biff8Sheet{std::move(wide), {}});
    return sheets_.size() - 1;
}

bool XlsWorkbook::SetText(std::size_t sheet, std::uint32_t row, std::uint32_t column, std::string_view text,
                          std::string* error)
{
    if (sheet >= sheets_.size()) {
        SetError(error, "Нет листа номер " + std::to_string(sheet));
        return false;
    }
    if (row >= kMaxRows || column >= kMaxColumns) {
        SetError(error, "Ячейка (" + std::to_string(row) + ", " + std::to_string(column) +
                            ") за пределами листа: не больше 65536 строк и 256 столбцов");
        return false;
    }
    std::u16string wide = ToUtf16(text);
    if (wide.size() > kMaxTextLength) {
        SetError(error, "Текст ячейки длиннее 32767 символов");
        return false;
    }

    auto& rows = sheets_[sheet].rows;
    if (wide.empty()) {
        if (row < rows.size() && column < rows[row].size())
            rows[row][column] = Biff8Sheet::kNoCell;
        return true;
    }
    if (row >= rows.size())
        rows.resize(row + 1);
    if (column >= rows[row].size())
        rows[row].resize(column + 1, Biff8Sheet::kNoCell);
    rows[row][column] = Intern(std::move(wide));
    return true;
}

std::uint32_t XlsWorkbook::Intern(std::u16string text)
{
    const auto [found, added] = stringIndex_.try_emplace(text, static_cast<std::uint32_t>(strings_.size()));
    if (added)
        strings_.push_back(std::move(text));
    return found->second;
}

bool XlsWorkbook::Save(const std::filesystem::path& path, std::string* error) const
{
    if (sheets_.empty()) {
        SetError(error, "В книге нет ни одного листа");
        return false;
    }
    const std::string stream = BuildBiff8Workbook(sheets_, strings_);

    TemporaryFile temporary;
    if (!temporary.Create(path, error))
        return false;
    if (!WriteCompoundFile(temporary.File(), path, stream, error))
        return false;
    return temporary.Commit(path, error);
}

} // namespace nvx
