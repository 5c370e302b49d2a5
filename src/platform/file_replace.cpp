#include "platform/file_replace.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#ifdef _WIN32
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
    const auto status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found)
        return ReadResult::Missing;
    if (error || status.type() != std::filesystem::file_type::regular)
        return ReadResult::Failed;
    std::ifstream in(path, std::ios::binary);
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

bool replaceWholeFile(const std::string& path, std::string_view bytes)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return false;
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) || !out.flush())
            return DeleteFileA(temporary.c_str()), false;
    }
    if (!MoveFileExA(temporary.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temporary.c_str());
        return false;
    }
    return true;
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
    if (exists && (!S_ISREG(existing.st_mode) || (existing.st_mode & 0222) == 0
                   || ::access(target.c_str(), W_OK) != 0))
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

#endif

} // namespace platform
