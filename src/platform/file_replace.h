#pragma once
// Whole-file reads and replacements for the profile files. A replacement is written to a
// temporary file in the same folder and renamed over the old one, so a failure half-way
// (disk full, killed process) never leaves a truncated file behind.
#include <string>
#include <string_view>

namespace platform {

enum class ReadResult { Read, Missing, Failed };
ReadResult readWholeFile(const std::string& path, std::string& bytes);

// False when the file cannot be written: a read-only file (no write permission bit, even for
// an administrator, as a read-only attribute is on Windows), a folder that cannot take the
// temporary file, a missing folder. A replaced file keeps its permissions and owner.
bool replaceWholeFile(const std::string& path, std::string_view bytes);

} // namespace platform
