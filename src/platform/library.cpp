#include "platform/library.h"

#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace platform {

Library::Library(const std::string& path)
{
#ifdef _WIN32
    handle_ = reinterpret_cast<void*>(LoadLibraryA(path.c_str()));
    if (!handle_)
        error_ = "LoadLibrary failed with error " + std::to_string(GetLastError());
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

Library::~Library() { unload(); }

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
