#include "platform/failpoint.h"

#include "text/error.h"

#include <csignal>
#include <cstdlib>
#include <string>

namespace platform {
namespace {

std::function<void(std::string_view)>& hook()
{
    static std::function<void(std::string_view)> installed;
    return installed;
}

} // namespace

void setFailpointHook(std::function<void(std::string_view name)> newHook)
{
    hook() = std::move(newHook);
}

void failpoint(std::string_view name)
{
    if (hook())
        hook()(name);
    const char* setting = std::getenv("DESK_FAILPOINT");
    if (!setting)
        return;
    const std::string_view value(setting);
    const std::size_t colon = value.find(':');
    if (value.substr(0, colon) != name)
        return;
    const std::string_view action = colon == std::string_view::npos ? "kill" : value.substr(colon + 1);
    if (action == "fail")
        throw text::UserError("failpoint " + std::string(name));
#ifdef SIGKILL
    std::raise(SIGKILL);
#endif
    std::_Exit(137);
}

} // namespace platform
