#include "text/big5.h"

#include "text/error.h"

#include <cerrno>
#include <cstdio>
#include <iconv.h>
#include <stdexcept>

namespace text {
namespace {

// One open conversion per direction and thread: record sets and grids convert many small
// strings, and opening a descriptor costs far more than converting a field.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from))
    {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts as much as it can; returns false with errno set where it stopped.
    bool run(const char*& in, std::size_t& inLeft, char*& out, std::size_t& outLeft)
    {
        // iconv takes char** for historical reasons; it never writes through the input.
        auto* input = const_cast<char*>(in);
        const auto done = iconv(cd_, &input, &inLeft, &out, &outLeft);
        in = input;
        return done != static_cast<std::size_t>(-1);
    }
    void reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t cd_;
};

Converter& toUtf8()
{
    thread_local Converter converter("UTF-8", "CP950");
    converter.reset();
    return converter;
}

Converter& toBig5()
{
    thread_local Converter converter("CP950", "UTF-8");
    converter.reset();
    return converter;
}

bool isAscii(std::string_view s)
{
    for (const char c : s)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

// The length of a well-formed UTF-8 sequence at the start of s, or 0 when it is not one.
std::size_t utf8SequenceLength(std::string_view s, char32_t& codePoint)
{
    const auto lead = static_cast<unsigned char>(s[0]);
    std::size_t length = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (s.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if ((b & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (b & 0x3F);
    }
    return length;
}

[[noreturn]] void refuse(std::string_view rest)
{
    char32_t codePoint = 0;
    const auto length = utf8SequenceLength(rest, codePoint);
    char detail[64];
    if (length == 0) {
        std::snprintf(detail, sizeof detail, "0x%02X", static_cast<unsigned char>(rest[0]));
        throw UserError(std::string("無效的 UTF-8 位元組: ") + detail);
    }
    std::snprintf(detail, sizeof detail, " (U+%04X)", static_cast<unsigned>(codePoint));
    throw UserError("無法以 Big5 表示的字元: '" + std::string(rest.substr(0, length)) + "'"
                    + detail);
}

} // namespace

std::string big5ToUtf8(std::string_view big5)
{
    if (isAscii(big5))
        return std::string(big5);
    // A byte becomes at most three bytes (U+FFFD); a double-byte character at most three.
    std::string result(big5.size() * 3, '\0');
    const char* in = big5.data();
    std::size_t inLeft = big5.size();
    char* out = result.data();
    std::size_t outLeft = result.size();
    auto& converter = toUtf8();
    while (!converter.run(in, inLeft, out, outLeft)) {
        const int error = errno;
        if (error != EILSEQ && error != EINVAL)
            throw std::runtime_error("Big5 conversion failed");
        const std::string_view rest(in, inLeft);
        const std::size_t skip = error == EINVAL ? inLeft : big5CharacterLength(rest, 0);
        static constexpr char replacement[] = "\xEF\xBF\xBD";
        for (std::size_t i = 0; i < 3; ++i)
            *out++ = replacement[i];
        outLeft -= 3;
        in += skip;
        inLeft -= skip;
        converter.reset();
    }
    result.resize(result.size() - outLeft);
    return result;
}

std::string utf8ToBig5(std::string_view utf8)
{
    if (isAscii(utf8))
        return std::string(utf8);
    // Big5 never takes more bytes than UTF-8 for the same character.
    std::string result(utf8.size(), '\0');
    const char* in = utf8.data();
    std::size_t inLeft = utf8.size();
    char* out = result.data();
    std::size_t outLeft = result.size();
    if (!toBig5().run(in, inLeft, out, outLeft)) {
        if (errno != EILSEQ && errno != EINVAL)
            throw std::runtime_error("Big5 conversion failed");
        refuse(std::string_view(in, inLeft));
    }
    result.resize(result.size() - outLeft);
    return result;
}

bool isBig5Text(std::string_view s)
{
    if (isAscii(s))
        return true;
    std::string scratch(s.size() * 3, '\0');
    const char* in = s.data();
    std::size_t inLeft = s.size();
    char* out = scratch.data();
    std::size_t outLeft = scratch.size();
    return toUtf8().run(in, inLeft, out, outLeft);
}

bool isUtf8Text(std::string_view s)
{
    for (std::size_t i = 0; i < s.size();) {
        if (static_cast<unsigned char>(s[i]) < 0x80) {
            ++i;
            continue;
        }
        char32_t codePoint = 0;
        const std::size_t length = utf8SequenceLength(s.substr(i), codePoint);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

bool isLeadByteAt(std::string_view big5, std::size_t i)
{
    std::size_t at = 0;
    while (at < i)
        at += big5CharacterLength(big5, at);
    return at == i && big5CharacterLength(big5, i) == 2;
}

} // namespace text
