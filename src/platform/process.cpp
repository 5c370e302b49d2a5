#include "platform/process.h"

#ifdef _WIN32
#include "platform/windows_text.h"

#include <cwchar>
#include <cwctype>
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace platform {

#ifdef _WIN32

namespace {

bool hasExtension(const std::wstring& path, const wchar_t* extension)
{
    const std::size_t length = std::wcslen(extension);
    if (path.size() < length)
        return false;
    for (std::size_t i = 0; i < length; ++i)
        if (std::towlower(path[path.size() - length + i]) != extension[i])
            return false;
    return true;
}

std::wstring commandInterpreter()
{
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(folder, length) + L"\\cmd.exe" : L"cmd.exe";
}

} // namespace

bool startDetached(const std::string& program, const std::string& workingFolder)
{
    const std::wstring file = windows::widen(program);
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (file.empty() || attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    // A batch file runs through the command interpreter named by its full path (never one
    // found on the search path); the outer quotes of "/c" keep a path with blanks whole.
    std::wstring application;
    std::wstring commandLine;
    if (hasExtension(file, L".bat") || hasExtension(file, L".cmd")) {
        application = commandInterpreter();
        commandLine = L"\"" + application + L"\" /c \"\"" + file + L"\"\"";
    } else if (hasExtension(file, L".exe") || hasExtension(file, L".com")) {
        application = file;
        commandLine = L"\"" + file + L"\"";
    } else {
        return false;
    }
    const std::wstring folder = windows::widen(workingFolder);
    if (!workingFolder.empty() && folder.empty())
        return false;

    // A console of its own, shown, as the clerk has always seen the bank's batch files run;
    // no handle of this program is inherited and none of the new process is kept.
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_NEW_CONSOLE | CREATE_NEW_PROCESS_GROUP, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

#else

namespace {

bool isExecutableFile(const std::string& path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// Runs in the grandchild between fork and exec: only async-signal-safe calls from here on.
[[noreturn]] void becomeProgram(const std::string& program, const std::string& workingFolder, int reportFd)
{
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    for (int signal : {SIGPIPE, SIGCHLD, SIGINT, SIGQUIT, SIGTERM, SIGHUP})
        ::signal(signal, SIG_DFL);
    const int nullFd = ::open("/dev/null", O_RDONLY);
    if (nullFd >= 0) {
        ::dup2(nullFd, STDIN_FILENO);
        if (nullFd != STDIN_FILENO)
            ::close(nullFd);
    }
    // Files and sockets this program holds open are none of the started program's business.
#ifdef CLOSE_RANGE_CLOEXEC
    ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
#endif
    int error = 0;
    if (!workingFolder.empty() && ::chdir(workingFolder.c_str()) != 0) {
        error = errno;
    } else {
        char* const argv[] = {const_cast<char*>(program.c_str()), nullptr};
        ::execv(program.c_str(), argv);
        error = errno;
        if (error == ENOEXEC) {
            // A script without a "#!" line runs through the shell, as a shell would do it.
            char* const shellArgv[] = {const_cast<char*>("sh"), const_cast<char*>(program.c_str()), nullptr};
            ::execv("/bin/sh", shellArgv);
            error = errno;
        }
    }
    (void)!::write(reportFd, &error, sizeof error);
    ::_exit(127);
}

} // namespace

bool startDetached(const std::string& program, const std::string& workingFolder)
{
    if (!isExecutableFile(program))
        return false;
    // The grandchild reports a failed chdir or exec through this pipe; a successful exec
    // closes it (close-on-exec), which the parent reads as end of file.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return false;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(report[0]);
        ::close(report[1]);
        return false;
    }
    if (child == 0) {
        ::close(report[0]);
        // A session of its own and a second fork: the program is nobody's child here, is
        // never waited for, and no terminal signal of ours reaches it.
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild < 0) {
            const int error = errno;
            (void)!::write(report[1], &error, sizeof error);
            ::_exit(1);
        }
        if (grandchild == 0)
            becomeProgram(program, workingFolder, report[1]);
        ::_exit(0);
    }
    ::close(report[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got;
    do {
        got = ::read(report[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    ::close(report[0]);
    return got == 0;
}

#endif

} // namespace platform
