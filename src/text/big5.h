#pragma once
// Big5 (code page 950) <-> UTF-8. Every text of the system is Big5 bytes; UTF-8 exists only
// at the edge where a widget shows or takes text, and in this program's own source literals.
#include <string>
#include <string_view>

namespace text {

// Big5 bytes to UTF-8. Bytes that are not valid Big5 become U+FFFD so that a damaged record
// can still be shown; nothing is ever written back from such a conversion.
std::string big5ToUtf8(std::string_view big5);

// UTF-8 to Big5 bytes. A character Big5 cannot hold throws UserError naming the character,
// it is never replaced by '?'.
std::string utf8ToBig5(std::string_view utf8);

// True when every byte of s belongs to a character that Big5 (CP950) defines.
bool isBig5Text(std::string_view s);
// True when s is well-formed UTF-8 (ASCII included).
bool isUtf8Text(std::string_view s);

// Shorthand for the program's own literals: big5("現金") is the Big5 bytes of that text.
inline std::string big5(std::string_view utf8)
{
    return utf8ToBig5(utf8);
}

// The byte classes of a double-byte Big5 character: a lead byte 0x81-0xFE followed by a
// trail byte 0x40-0x7E or 0xA1-0xFE. Anything else is one byte on its own.
constexpr bool isBig5LeadByte(unsigned char b)
{
    return b >= 0x81 && b <= 0xFE;
}
constexpr bool isBig5TrailByte(unsigned char b)
{
    return (b >= 0x40 && b <= 0x7E) || (b >= 0xA1 && b <= 0xFE);
}

// The length in bytes (1 or 2) of the character that starts at byte i of s. A lead byte
// without a valid trail byte after it counts as one byte of its own.
inline std::size_t big5CharacterLength(std::string_view big5, std::size_t i)
{
    return i + 1 < big5.size() && isBig5LeadByte(static_cast<unsigned char>(big5[i])) &&
                   isBig5TrailByte(static_cast<unsigned char>(big5[i + 1]))
               ? 2
               : 1;
}

// True when byte i of s is the lead byte of a double-byte Big5 character, walking from the start.
bool isLeadByteAt(std::string_view big5, std::size_t i);

} // namespace text
