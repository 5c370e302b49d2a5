#pragma once
// The process environment and the folders that belong to the clerk alone.
#include <string>

namespace platform {

// Sets an environment variable unless it has a value already (the clerk's or the
// administrator's setting wins).
void setEnvironmentDefault(const std::string& name, const std::string& value);

// A folder of the clerk's own, created when missing, for lock and temporary files that would
// otherwise go into a shared folder another user created (/tmp/<name> on Linux). Empty when
// there is no need: for an administrator, and on Windows, whose temporary folder is the
// clerk's own already.
std::string ownRuntimeFolder(const std::string& name);

} // namespace platform
