#pragma once
#include <cstdio>
#include <filesystem>
#include <string>

namespace platform {

// The platform's folder separator ("\\" on Windows, "/" elsewhere).
const std::string& separator();
// The folder with a separator at its end (added when it has none; "", the current folder,
// stays as it is). Big5-aware: the second
// byte of a character is never taken for the separator.
std::string withTrailingSeparator(std::string folder);
// The folder of the running executable, with its trailing separator.
std::string exeFolder();
// The bank folder offered when Bill.ini names none: "C:\\" on Windows, the clerk's home
// folder with its trailing separator elsewhere.
std::string defaultBankFolder();
// Deletes a file when it exists; silently does nothing when it cannot.
void removeFileQuietly(const std::string& path);
// True for an existing file that is not a folder.
bool fileExists(const std::string& path);
// The folder of the executable or shared library whose code lies at `address`, with its
// trailing separator (the executable's folder when it cannot be told).
std::string moduleFolder(const void* address);
// A path of the system's (Big5 bytes on Windows) as the standard library takes it, and back
// (empty when a name has no Big5 form).
std::filesystem::path nativePath(const std::string& path);
std::string pathString(const std::filesystem::path& path);
// std::fopen with the path as the system takes it (UTF-16 on Windows).
std::FILE* openFile(const std::string& path, const char* mode);
// This workstation's host name, empty when it cannot be told.
std::string hostName();
// A path as UTF-8 for a message. Windows paths are in the ANSI code page (Big5); on other
// systems a path is usually UTF-8 already and is decoded as Big5 only when it is not.
std::string pathForDisplay(const std::string& path);

} // namespace platform
