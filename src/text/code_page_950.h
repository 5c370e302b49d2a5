#pragma once
// The system's converter for code page 950, one per platform: glibc's iconv elsewhere
// (code_page_950_iconv.cpp), the Windows code-page functions on Windows
// (code_page_950_windows.cpp). Both accept and refuse the same characters and produce the
// same bytes; big5.cpp builds the public conversions on top of them.
#include <cstddef>
#include <string>
#include <string_view>

namespace text::cp950 {

// Appends the UTF-8 of the Big5 bytes to `utf8` up to the first byte sequence that is no
// CP950 character; returns how many bytes of `big5` were converted (its size when all were).
std::size_t decode(std::string_view big5, std::string& utf8);

// Appends the Big5 bytes of the UTF-8 text to `big5` up to the first character Big5 cannot
// hold or the first malformed UTF-8 sequence; returns how many bytes of `utf8` were converted.
std::size_t encode(std::string_view utf8, std::string& big5);

} // namespace text::cp950
