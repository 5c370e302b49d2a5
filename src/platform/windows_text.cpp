#include "platform/windows_text.h"

#include <windows.h>

namespace platform::windows {

std::wstring widen(std::string_view big5)
{
    if (big5.empty())
        return {};
    std::wstring utf16(big5.size(), L'\0');
    const int length = MultiByteToWideChar(950, MB_ERR_INVALID_CHARS, big5.data(), static_cast<int>(big5.size()),
                                           utf16.data(), static_cast<int>(utf16.size()));
    utf16.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return utf16;
}

bool narrow(std::wstring_view utf16, std::string& big5)
{
    big5.clear();
    if (utf16.empty())
        return true;
    big5.resize(utf16.size() * 2);
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(950, WC_NO_BEST_FIT_CHARS, utf16.data(), static_cast<int>(utf16.size()),
                                           big5.data(), static_cast<int>(big5.size()), nullptr, &usedDefault);
    big5.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return length > 0 && !usedDefault;
}

std::string systemMessage(unsigned long error)
{
    wchar_t* buffer = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text(buffer ? buffer : L"", length);
    if (buffer)
        LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    std::string utf8;
    if (!text.empty()) {
        utf8.resize(text.size() * 3);
        const int written = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(),
                                                static_cast<int>(utf8.size()), nullptr, nullptr);
        utf8.resize(static_cast<std::size_t>(written > 0 ? written : 0));
    }
    return (utf8.empty() ? "system error" : utf8) + " (error " + std::to_string(error) + ")";
}

} // namespace platform::windows
