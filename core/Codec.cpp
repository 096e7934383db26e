#include "core/Codec.h"

#include <cerrno>
#include <functional>
#include <iconv.h>
#include <system_error>

namespace nvx {

namespace {

constexpr unsigned char kUndefinedByte = 0x98;               // the one CP1251 byte without a character
constexpr std::string_view kUndefinedCharacter = "\xC2\x98"; // U+0098, which stands in for it

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from))
    {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::system_error(errno, std::generic_category(),
                                    std::string("iconv_open ") + from + " to " + to);
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts everything; at input the converter rejects, `substitute` appends a replacement
    // for what starts there and returns how many bytes it stands for (at least 1).
    std::string Run(std::string_view input,
                    const std::function<std::size_t(std::string_view rest, std::string& out)>& substitute)
    {
        std::string out;
        out.reserve(input.size() * 2);
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        char buffer[1024];
        while (inLeft > 0) {
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t result = iconv(cd_, &in, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
                const std::size_t used = substitute({in, inLeft}, out);
                in += used;
                inLeft -= used;
            }
        }
        return out;
    }

private:
    iconv_t cd_;
};

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Bytes of the UTF-8 character at the start of `text`; a malformed sequence counts as one
// character made of its lead byte and the continuation bytes that follow it.
std::size_t Utf8Length(std::string_view text)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    const std::size_t length = lead >= 0xF8 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    std::size_t used = 1;
    while (used < length && used < text.size() && IsContinuation(static_cast<unsigned char>(text[used])))
        ++used;
    return used;
}

std::size_t SubstituteForCp1251(std::string_view rest, std::string& out)
{
    out += rest.starts_with(kUndefinedCharacter) ? static_cast<char>(kUndefinedByte) : '?';
    return Utf8Length(rest);
}

std::size_t SubstituteForUtf8(std::string_view rest, std::string& out)
{
    // Only the undefined byte gets here; it becomes the C1 control of the same number.
    const auto byte = static_cast<unsigned char>(rest[0]);
    out += static_cast<char>(0xC0 | (byte >> 6));
    out += static_cast<char>(0x80 | (byte & 0x3F));
    return 1;
}

} // namespace

std::string ToCp1251(std::string_view utf8)
{
    return Converter("CP1251", "UTF-8").Run(utf8, SubstituteForCp1251);
}

std::string FromCp1251(std::string_view cp1251)
{
    return Converter("UTF-8", "CP1251").Run(cp1251, SubstituteForUtf8);
}

} // namespace nvx
