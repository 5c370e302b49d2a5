#pragma once
// Byte-exact widths for fixed-width records and report fields.
#include <cstdint>
#include <string>
#include <string_view>

namespace text {

// The first `width` bytes of s, padded on the right with blanks to exactly `width` bytes.
// A cut that would split a double-byte character puts a blank in place of its lead byte.
std::string padRight(std::string_view big5, std::size_t width);
// Cut only (never pads); same double-byte rule.
std::string cutBytes(std::string_view big5, std::size_t width);
// Right-aligned: blanks on the left; values longer than width are cut as cutBytes does.
std::string padLeft(std::string_view big5, std::size_t width);
// Zero-filled decimal integer of exactly `width` digits; throws UserError when it does not fit
// or is negative.
std::string zeroFilled(std::int64_t value, std::size_t width);

} // namespace text
