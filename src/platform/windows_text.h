#pragma once
// Windows only: the system's strings are Big5 bytes (code page 950) and the Windows API takes
// UTF-16, so every path and text crosses here, whatever code page the machine runs with.
#include <string>
#include <string_view>

namespace platform::windows {

// The UTF-16 of Big5 bytes; empty when the bytes are not Big5, which every call then refuses.
std::wstring widen(std::string_view big5);
// The Big5 bytes of UTF-16 text; false when a character has no Big5 form.
bool narrow(std::wstring_view utf16, std::string& big5);
// The system's own text for an error code (GetLastError), as UTF-8, with the code.
std::string systemMessage(unsigned long error);

} // namespace platform::windows
