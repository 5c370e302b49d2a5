#include "platform/library.h"

#include <utility>

#ifdef _WIN32
#include "platform/paths.h"
#include "platform/windows_text.h"

#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace platform {

Library::Library(const std::string& path)
{
#ifdef _WIN32
    // No system dialog for a damaged or foreign file: the caller tells the clerk.
    DWORD previousMode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previousMode);
    handle_ = reinterpret_cast<void*>(LoadLibraryW(windows::widen(path).c_str()));
    const DWORD error = GetLastError();
    SetThreadErrorMode(previousMode, nullptr);
    // The loader's text does not name the file, unlike dlerror's: the name goes in front.
    if (!handle_)
        error_ = pathForDisplay(path) + ": " + windows::systemMessage(error);
#else
    // Its own symbols stay its own (RTLD_LOCAL), and a missing dependency fails here, at load
    // time, rather than at the first call into it (RTLD_NOW).
    handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        const char* message = ::dlerror();
        error_ = message ? message : "dlopen failed";
    }
#endif
}

Library::~Library()
{
    unload();
}

Library::Library(Library&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), error_(std::move(other.error_))
{
}

Library& Library::operator=(Library&& other) noexcept
{
    if (this != &other) {
        unload();
        handle_ = std::exchange(other.handle_, nullptr);
        error_ = std::move(other.error_);
    }
    return *this;
}

void* Library::symbol(const char* name) const
{
    if (!handle_)
        return nullptr;
#ifdef _WIN32
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
#else
    return ::dlsym(handle_, name);
#endif
}

void Library::unload()
{
    if (!handle_)
        return;
#ifdef _WIN32
    FreeLibrary(static_cast<HMODULE>(handle_));
#else
    ::dlclose(handle_);
#endif
    handle_ = nullptr;
}

} // namespace platform
