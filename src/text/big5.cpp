#include "text/big5.h"

#include "text/code_page_950.h"
#include "text/error.h"
#include "text/unicode.h"

#include <cstdio>

namespace text {
namespace {

bool isAscii(std::string_view s)
{
    for (const char c : s)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
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
    throw UserError("無法以 Big5 表示的字元: '" + std::string(rest.substr(0, length)) + "'" + detail);
}

} // namespace

std::string big5ToUtf8(std::string_view big5)
{
    if (isAscii(big5))
        return std::string(big5);
    std::string result;
    result.reserve(big5.size() * 3 / 2);
    for (;;) {
        big5.remove_prefix(cp950::decode(big5, result));
        if (big5.empty())
            return result;
        // A byte that starts no character, or a pair that is none, shows as one U+FFFD.
        result += "\xEF\xBF\xBD";
        big5.remove_prefix(big5CharacterLength(big5, 0));
    }
}

std::string utf8ToBig5(std::string_view utf8)
{
    if (isAscii(utf8))
        return std::string(utf8);
    std::string result;
    result.reserve(utf8.size());
    const std::size_t converted = cp950::encode(utf8, result);
    if (converted < utf8.size())
        refuse(utf8.substr(converted));
    return result;
}

bool isBig5Text(std::string_view s)
{
    if (isAscii(s))
        return true;
    std::string scratch;
    return cp950::decode(s, scratch) == s.size();
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
