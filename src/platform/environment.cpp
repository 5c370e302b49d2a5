#include "platform/environment.h"

#include <cstdlib>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

#ifdef _WIN32

void setEnvironmentDefault(const std::string& name, const std::string& value)
{
    if (const char* set = std::getenv(name.c_str()); !set || !*set)
        _putenv_s(name.c_str(), value.c_str());
}

std::string ownRuntimeFolder(const std::string&)
{
    return {};
}

#else

void setEnvironmentDefault(const std::string& name, const std::string& value)
{
    ::setenv(name.c_str(), value.c_str(), 0);
}

std::string ownRuntimeFolder(const std::string& name)
{
    if (::geteuid() == 0)
        return {};
    std::string folder;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime && ::access(runtime, W_OK) == 0)
        folder = std::string(runtime) + "/" + name;
    else
        folder = "/tmp/" + name + "-" + std::to_string(::geteuid());
    ::mkdir(folder.c_str(), 0700); // an existing folder is fine
    return folder;
}

#endif

} // namespace platform
