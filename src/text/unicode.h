#pragma once
// UTF-8 pieces the Big5 conversions share on every system.
#include <cstddef>
#include <string>
#include <string_view>

namespace text {

// The length of the well-formed UTF-8 sequence at the start of s (1 for ASCII) with its code
// point, or 0 when s does not start with one (a stray, overlong or cut-off sequence).
std::size_t utf8SequenceLength(std::string_view s, char32_t& codePoint);

void appendUtf8(char32_t codePoint, std::string& utf8);

} // namespace text
