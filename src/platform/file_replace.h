#pragma once
// Whole-file reads and replacements, and the durable steps the bank files take. A replacement
// is written to a temporary file in the same folder and renamed over the old one, so a
// failure half-way (disk full, killed process) never leaves a truncated file behind.
#include <string>
#include <string_view>

namespace platform {

enum class ReadResult { Read, Missing, Failed };
ReadResult readWholeFile(const std::string& path, std::string& bytes);

// False when the file cannot be written: a read-only file (no write permission bit, even for
// an administrator, as a read-only attribute is on Windows), a folder that cannot take the
// temporary file, a missing folder. A replaced file keeps its permissions and owner.
bool replaceWholeFile(const std::string& path, std::string_view bytes);

// True when a rename may put a file at `path`: nothing is there, or a regular file that is
// not read-only (the bank's software and clerks mark files read-only to keep them).
bool isReplaceable(const std::string& path);

// Writes the bytes to `path` (created or emptied) and flushes them to the disk; a file that
// could not be written whole is removed again.
bool writeFileFlushed(const std::string& path, std::string_view bytes);

// Makes the entries of a folder (files created or renamed in it) last a power cut.
bool flushFolder(const std::string& folder);

// Renames `from` over `to` in one step, replacing a file at `to`, written through to the disk.
enum class RenameResult { Renamed, SourceMissing, Failed };
RenameResult renameOver(const std::string& from, const std::string& to);

} // namespace platform
