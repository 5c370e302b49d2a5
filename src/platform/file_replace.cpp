#include "platform/file_replace.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/paths.h"

#ifdef _WIN32
#include "platform/windows_text.h"

#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

ReadResult readWholeFile(const std::string& path, std::string& bytes)
{
    std::error_code error;
    const auto native = nativePath(path);
    const auto status = std::filesystem::status(native, error);
    if (status.type() == std::filesystem::file_type::not_found)
        return ReadResult::Missing;
    if (error || status.type() != std::filesystem::file_type::regular)
        return ReadResult::Failed;
    std::ifstream in(native, std::ios::binary);
    if (!in)
        return ReadResult::Failed;
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad())
        return ReadResult::Failed;
    bytes = std::move(content).str();
    return ReadResult::Read;
}

#ifdef _WIN32

namespace {

enum class Written { Done, Exists, Failed };

// Creates the file (`createNew`: only when nothing is there yet) or empties it, writes the
// bytes and flushes them. A file it opened but could not write whole is removed again.
Written writeThrough(const std::wstring& path, std::string_view bytes, bool createNew)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, createNew ? CREATE_NEW : CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_EXISTS ? Written::Exists : Written::Failed;
    bool ok = true;
    while (ok && !bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(bytes.size() < (1u << 30) ? bytes.size() : (1u << 30));
        DWORD written = 0;
        ok = WriteFile(file, bytes.data(), chunk, &written, nullptr) && written > 0;
        bytes.remove_prefix(written);
    }
    ok = FlushFileBuffers(file) && ok;
    ok = CloseHandle(file) && ok;
    if (ok)
        return Written::Done;
    DeleteFileW(path.c_str());
    return Written::Failed;
}

bool isReadOnlyOrFolder(DWORD attributes)
{
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
}

} // namespace

bool replaceWholeFile(const std::string& path, std::string_view bytes)
{
    const std::wstring target = windows::widen(path);
    if (target.empty() || isReadOnlyOrFolder(GetFileAttributesW(target.c_str())))
        return false;
    static std::atomic<unsigned> counter{0};
    std::wstring temporary;
    Written written = Written::Exists;
    for (int attempt = 0; attempt < 100 && written == Written::Exists; ++attempt) {
        temporary = target + L".tmp" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(counter++);
        written = writeThrough(temporary, bytes, true);
    }
    if (written != Written::Done)
        return false;
    if (MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(temporary.c_str());
    return false;
}

bool isReplaceable(const std::string& path)
{
    const std::wstring target = windows::widen(path);
    if (target.empty())
        return false;
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    return !isReadOnlyOrFolder(attributes);
}

bool writeFileFlushed(const std::string& path, std::string_view bytes)
{
    const std::wstring file = windows::widen(path);
    return !file.empty() && writeThrough(file, bytes, false) == Written::Done;
}

// NTFS journals its folders, and MoveFileExW writes a rename through before it returns; what
// is left is that the folder is there.
bool flushFolder(const std::string& folder)
{
    const DWORD attributes = GetFileAttributesW(windows::widen(folder.empty() ? "." : folder).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

RenameResult renameOver(const std::string& from, const std::string& to)
{
    const std::wstring source = windows::widen(from);
    const std::wstring target = windows::widen(to);
    if (source.empty() || target.empty())
        return RenameResult::Failed;
    if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return RenameResult::Renamed;
    return GetLastError() == ERROR_FILE_NOT_FOUND ? RenameResult::SourceMissing : RenameResult::Failed;
}

#else

namespace {

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// A link is followed so that the rename replaces the file it points to, not the link.
std::string resolvedTarget(const std::string& path)
{
    struct stat linkStatus {};
    if (::lstat(path.c_str(), &linkStatus) == 0 && S_ISLNK(linkStatus.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved))
            return resolved;
    }
    return path;
}

} // namespace

bool replaceWholeFile(const std::string& path, std::string_view bytes)
{
    const std::string target = resolvedTarget(path);
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && (!S_ISREG(existing.st_mode) || (existing.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0))
        return false;

    static std::atomic<unsigned> counter{0};
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = target + ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(counter++);
        // 0666 lets the process umask decide for a new file, as any other file it creates.
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, bytes);
    if (ok && exists) {
        ok = ::fchmod(fd, existing.st_mode & 07777) == 0;
        if (::geteuid() == 0) // only an administrator can hand the file back to its owner
            (void)!::fchown(fd, existing.st_uid, existing.st_gid);
    }
    ok = ::close(fd) == 0 && ok;
    if (ok)
        ok = ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok)
        ::unlink(temporary.c_str());
    return ok;
}

bool isReplaceable(const std::string& path)
{
    struct stat existing {};
    if (::stat(path.c_str(), &existing) != 0)
        return errno == ENOENT;
    return S_ISREG(existing.st_mode) && (existing.st_mode & 0222) != 0 && ::access(path.c_str(), W_OK) == 0;
}

bool writeFileFlushed(const std::string& path, std::string_view bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok)
        ::unlink(path.c_str());
    return ok;
}

bool flushFolder(const std::string& folder)
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

RenameResult renameOver(const std::string& from, const std::string& to)
{
    if (::rename(from.c_str(), to.c_str()) == 0)
        return RenameResult::Renamed;
    return errno == ENOENT ? RenameResult::SourceMissing : RenameResult::Failed;
}

#endif

} // namespace platform
