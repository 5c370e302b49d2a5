#include "platform/paths.h"

#include "text/big5.h"

#include <cstdlib>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {
namespace {

std::string withTrailingSeparator(std::string folder)
{
    if (folder.empty() || folder.back() != separator().back())
        folder += separator();
    return folder;
}

std::string folderOf(const std::string& file)
{
    const auto cut = file.find_last_of(separator());
    return cut == std::string::npos ? "." + separator() : file.substr(0, cut + 1);
}

#ifdef _WIN32

std::string executablePath()
{
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size())
            return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
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

#endif

} // namespace

#ifdef _WIN32

const std::string& separator()
{
    static const std::string value = "\\";
    return value;
}

std::string defaultBankFolder() { return "C:\\"; }

void removeFileQuietly(const std::string& path) { DeleteFileA(path.c_str()); }

bool fileExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string pathForDisplay(const std::string& path) { return text::big5ToUtf8(path); }

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

} // namespace platform
