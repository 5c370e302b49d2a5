#pragma once
// Blank: what the clerk leaves when a field holds nothing, and what fixed-width columns pad
// with. A value is blank when nothing but blanks and control characters (bytes up to 0x20)
// remains after trimming both ends; a typed key of spaces therefore counts as no key. The
// rule reads the bytes only, so it serves Big5 and UTF-8 alike (in both, every byte of a
// double-byte or multibyte character is above 0x20).
#include <string>
#include <string_view>

namespace text {

constexpr bool isBlankByte(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

constexpr bool isBlank(std::string_view bytes)
{
    for (const char c : bytes)
        if (!isBlankByte(c))
            return false;
    return true;
}

// `bytes` without the blanks at its end (CHAR columns and the catalogue pad with them).
inline std::string trimmedRight(std::string_view bytes)
{
    while (!bytes.empty() && isBlankByte(bytes.back()))
        bytes.remove_suffix(1);
    return std::string(bytes);
}

// `bytes` without the blanks at either end.
inline std::string trimmed(std::string_view bytes)
{
    while (!bytes.empty() && isBlankByte(bytes.front()))
        bytes.remove_prefix(1);
    return trimmedRight(bytes);
}

} // namespace text
