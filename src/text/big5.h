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

// Shorthand for the program's own literals: big5("現金") is the Big5 bytes of that text.
inline std::string big5(std::string_view utf8) { return utf8ToBig5(utf8); }

// True when byte i of s is the lead byte of a double-byte Big5 character, walking from the start.
bool isLeadByteAt(std::string_view big5, std::size_t i);

} // namespace text
