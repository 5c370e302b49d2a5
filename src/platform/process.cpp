#include "platform/process.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
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

bool startDetached(const std::string& program, const std::string& workingFolder)
{
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, "open", program.c_str(), nullptr,
                      workingFolder.empty() ? nullptr : workingFolder.c_str(), SW_SHOWNORMAL));
    return result > 32;
}

#else

namespace {

bool isExecutableFile(const std::string& path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode)
           && ::access(path.c_str(), X_OK) == 0;
}

// Runs in the grandchild between fork and exec: only async-signal-safe calls from here on.
[[noreturn]] void becomeProgram(const std::string& program, const std::string& workingFolder,
                                int reportFd)
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
            char* const shellArgv[] = {const_cast<char*>("sh"), const_cast<char*>(program.c_str()),
                                       nullptr};
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
