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
// True for an existing file that is not a folder.
bool fileExists(const std::string& path);
// A path as UTF-8 for a message. Windows paths are in the ANSI code page (Big5); on other
// systems a path is usually UTF-8 already and is decoded as Big5 only when it is not.
std::string pathForDisplay(const std::string& path);

} // namespace platform
