#pragma once
#include <string>

namespace platform {

// The platform's folder separator ("\\" on Windows, "/" elsewhere).
const std::string& separator();
// The folder of the running executable, with its trailing separator.
std::string exeFolder();
// The bank folder offered when Bill.ini names none: "C:\\" on Windows, the clerk's home
// folder with its trailing separator elsewhere.
std::string defaultBankFolder();
// Deletes a file when it exists; silently does nothing when it cannot.
void removeFileQuietly(const std::string& path);
bool fileExists(const std::string& path);

} // namespace platform
