#include "platform/paths.h"

#include "text/big5.h"

#include <cstdlib>
#include <vector>

#ifdef _WIN32
#include "platform/windows_text.h"

#include <stdexcept>
#include <windows.h>
#else
#include <dlfcn.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {
namespace {

// The last separator that is a character of its own: in a Big5 path the second byte of a
// character such as "許" (B3 5C) is the byte of the Windows separator.
std::size_t lastSeparator(const std::string& path)
{
    std::size_t found = std::string::npos;
    for (std::size_t i = 0; i < path.size(); i += text::big5CharacterLength(path, i))
        if (path[i] == separator().front())
            found = i;
    return found;
}

std::string folderOf(const std::string& file)
{
    const auto cut = lastSeparator(file);
    return cut == std::string::npos ? "." + separator() : file.substr(0, cut + 1);
}

#ifdef _WIN32

// The file of a module (nullptr: the executable) as Big5 bytes. A name without a Big5 form
// goes by its short (8.3) name, which is plain ASCII.
std::string moduleFile(HMODULE module)
{
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            break;
        }
        buffer.resize(buffer.size() * 2);
    }
    std::string path;
    if (windows::narrow(buffer, path))
        return path;
    std::wstring shortName(buffer.size() + 1, L'\0');
    const DWORD length = GetShortPathNameW(buffer.c_str(), shortName.data(), static_cast<DWORD>(shortName.size()));
    shortName.resize(length < shortName.size() ? length : 0);
    if (!shortName.empty() && windows::narrow(shortName, path))
        return path;
    throw std::runtime_error("the program's folder has a name that Big5 cannot hold");
}

std::string executablePath()
{
    return moduleFile(nullptr);
}

std::string moduleFileAt(const void* address)
{
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCWSTR>(address), &module))
        return {};
    return moduleFile(module);
}

#else

std::string executablePath()
{
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
            return {};
        if (static_cast<std::size_t>(length) < buffer.size())
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        buffer.resize(buffer.size() * 2);
    }
}

std::string moduleFileAt(const void* address)
{
    Dl_info info{};
    if (::dladdr(address, &info) == 0 || !info.dli_fname)
        return {};
    // The loader names the main program as it was started (argv[0], often relative); a
    // library by the path it was loaded from.
    if (info.dli_fname[0] != '/')
        return executablePath();
    return info.dli_fname;
}

#endif

} // namespace

#ifdef _WIN32

const std::string& separator()
{
    static const std::string value = "\\";
    return value;
}

std::string defaultBankFolder()
{
    return "C:\\";
}

void removeFileQuietly(const std::string& path)
{
    const std::wstring wide = windows::widen(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        DeleteFileW(wide.c_str());
}

bool fileExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(windows::widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::filesystem::path nativePath(const std::string& path)
{
    return windows::widen(path);
}

std::string pathString(const std::filesystem::path& path)
{
    std::string big5;
    return windows::narrow(path.native(), big5) ? big5 : std::string();
}

std::FILE* openFile(const std::string& path, const char* mode)
{
    const std::wstring wide = windows::widen(path);
    return wide.empty()
               ? nullptr
               : _wfopen(wide.c_str(), std::wstring(mode, mode + std::char_traits<char>::length(mode)).c_str());
}

std::string hostName()
{
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 256] = {};
    DWORD length = sizeof name / sizeof name[0];
    std::string big5;
    if (!GetComputerNameExW(ComputerNameDnsHostname, name, &length) || !windows::narrow({name, length}, big5))
        return {};
    return big5;
}

std::string pathForDisplay(const std::string& path)
{
    return text::big5ToUtf8(path);
}

#else

const std::string& separator()
{
    static const std::string value = "/";
    return value;
}

std::string defaultBankFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return withTrailingSeparator(home);
    if (const passwd* user = ::getpwuid(::geteuid()); user && user->pw_dir && *user->pw_dir)
        return withTrailingSeparator(user->pw_dir);
    return separator();
}

void removeFileQuietly(const std::string& path)
{
    struct stat status {};
    if (::lstat(path.c_str(), &status) == 0 && !S_ISDIR(status.st_mode))
        ::unlink(path.c_str());
}

bool fileExists(const std::string& path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && !S_ISDIR(status.st_mode);
}

std::filesystem::path nativePath(const std::string& path)
{
    return path;
}

std::string pathString(const std::filesystem::path& path)
{
    return path.native();
}

std::FILE* openFile(const std::string& path, const char* mode)
{
    return std::fopen(path.c_str(), mode);
}

std::string hostName()
{
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return {};
    return name;
}

std::string pathForDisplay(const std::string& path)
{
    return text::isUtf8Text(path) ? path : text::big5ToUtf8(path);
}

#endif

std::string exeFolder()
{
    // The executable does not move while it runs.
    static const std::string folder = [] {
        const auto path = executablePath();
        return path.empty() ? "." + separator() : folderOf(path);
    }();
    return folder;
}

std::string withTrailingSeparator(std::string folder)
{
    if (!folder.empty() && lastSeparator(folder) != folder.size() - 1)
        folder += separator();
    return folder;
}

std::string moduleFolder(const void* address)
{
    const auto path = moduleFileAt(address);
    return path.empty() ? exeFolder() : folderOf(path);
}

} // namespace platform
