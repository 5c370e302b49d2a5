#pragma once
// Named points in the steps of a press where a crash test stops the program. The variable
// DESK_FAILPOINT names one point and what happens there, "name:kill" (the process dies at
// once, as by kill -9 or a power cut) or "name:fail" (the step fails with an error); without
// it every point does nothing. Tests in the same process can hook the points instead.
#include <functional>
#include <string_view>

namespace platform {

void failpoint(std::string_view name);

// Called at every point before the variable is looked at; nullptr removes it.
void setFailpointHook(std::function<void(std::string_view name)> hook);

} // namespace platform
