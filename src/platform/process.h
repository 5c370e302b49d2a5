#pragma once
#include <string>

namespace platform {

// Starts a program detached (not waited for, no handles kept). On Windows a batch file is run
// through the shell with a shown window; on POSIX systems the file is started when it is an
// executable file. Returns false, without raising, when it could not be started.
bool startDetached(const std::string& program, const std::string& workingFolder);

} // namespace platform
