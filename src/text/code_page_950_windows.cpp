#include "text/code_page_950.h"

#include "text/big5.h"
#include "text/unicode.h"

#include <windows.h>

#include <vector>

namespace text::cp950 {
namespace {

constexpr UINT codePage = 950;

// Windows also maps the user-defined areas (lead bytes 0x81-0xA0 and 0xFA-0xFE) onto the
// Private Use Area, and writes U+F8F8 as the single byte 0xFF. The table the system's data
// was written with holds none of these, so they are refused here too, in both directions.
bool heldByTable(std::string_view character)
{
    const auto lead = static_cast<unsigned char>(character[0]);
    return character.size() == 2 ? lead >= 0xA1 && lead <= 0xF9 : lead <= 0x80;
}

// Four box-drawing characters stand twice in the code page; Windows writes the second form,
// the tables the data was written with the first. The first keeps the bytes the same.
struct BoxDrawing {
    char32_t codePoint;
    const char* bytes;
};
constexpr BoxDrawing firstForms[] = {
    {0x2550, "\xA2\xA4"}, {0x255E, "\xA2\xA5"}, {0x2561, "\xA2\xA7"}, {0x256A, "\xA2\xA6"}};

const char* firstFormOf(char32_t codePoint)
{
    for (const auto& form : firstForms)
        if (form.codePoint == codePoint)
            return form.bytes;
    return nullptr;
}

void appendUtf16(char32_t c, std::wstring& utf16)
{
    if (c < 0x10000) {
        utf16 += static_cast<wchar_t>(c);
    } else {
        utf16 += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
        utf16 += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
}

void appendAsUtf8(std::wstring_view utf16, std::string& utf8)
{
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t c = utf16[i];
        // MultiByteToWideChar of code page 950 yields no lone surrogates; a pair is joined.
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size())
            c = 0x10000 + ((c - 0xD800) << 10) + (utf16[++i] - 0xDC00);
        text::appendUtf8(c, utf8);
    }
}

// The UTF-16 of Big5 bytes that are all characters of the code page, or false.
bool toUtf16(std::string_view big5, std::wstring& utf16)
{
    utf16.clear();
    if (big5.empty())
        return true;
    utf16.resize(big5.size());
    const int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, big5.data(), static_cast<int>(big5.size()),
                                           utf16.data(), static_cast<int>(utf16.size()));
    utf16.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return length > 0;
}

// The Big5 bytes of UTF-16 text when the code page holds every character of it, or false.
bool toBig5(std::wstring_view utf16, std::string& big5)
{
    big5.clear();
    if (utf16.empty())
        return true;
    big5.resize(utf16.size() * 2);
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, utf16.data(), static_cast<int>(utf16.size()),
                                           big5.data(), static_cast<int>(big5.size()), nullptr, &usedDefault);
    big5.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return length > 0 && !usedDefault;
}

// True when every character of the bytes is one of the table's.
bool allHeldByTable(std::string_view big5)
{
    for (std::size_t i = 0; i < big5.size();) {
        const std::size_t length = big5CharacterLength(big5, i);
        if (!heldByTable(big5.substr(i, length)))
            return false;
        i += length;
    }
    return true;
}

} // namespace

std::size_t decode(std::string_view big5, std::string& utf8)
{
    std::wstring utf16;
    // Usually every byte is a character: one call converts the whole text.
    if (allHeldByTable(big5) && toUtf16(big5, utf16)) {
        appendAsUtf8(utf16, utf8);
        return big5.size();
    }
    // Otherwise character by character up to the first that is none.
    std::size_t at = 0;
    while (at < big5.size()) {
        const std::string_view character = big5.substr(at, big5CharacterLength(big5, at));
        std::wstring one;
        if (!heldByTable(character) || !toUtf16(character, one))
            break;
        utf16 += one;
        at += character.size();
    }
    appendAsUtf8(utf16, utf8);
    return at;
}

std::size_t encode(std::string_view utf8, std::string& big5)
{
    // The characters up to the first malformed sequence, and whether one of them needs its
    // first form.
    std::wstring utf16;
    std::vector<std::size_t> starts; // where each character begins in utf8
    bool firstFormNeeded = false;
    std::size_t wellFormed = 0;
    while (wellFormed < utf8.size()) {
        char32_t codePoint = 0;
        const std::size_t length = utf8SequenceLength(utf8.substr(wellFormed), codePoint);
        if (length == 0)
            break;
        starts.push_back(wellFormed);
        appendUtf16(codePoint, utf16);
        firstFormNeeded = firstFormNeeded || firstFormOf(codePoint);
        wellFormed += length;
    }

    std::string converted;
    if (!firstFormNeeded && toBig5(utf16, converted) && allHeldByTable(converted)) {
        big5 += converted;
        return wellFormed;
    }
    // Otherwise character by character up to the first the code page cannot hold.
    for (const std::size_t start : starts) {
        char32_t codePoint = 0;
        utf8SequenceLength(utf8.substr(start), codePoint);
        if (const char* bytes = firstFormOf(codePoint)) {
            big5 += bytes;
            continue;
        }
        std::wstring one;
        appendUtf16(codePoint, one);
        std::string character;
        if (!toBig5(one, character) || !allHeldByTable(character))
            return start;
        big5 += character;
    }
    return wellFormed;
}

} // namespace text::cp950
