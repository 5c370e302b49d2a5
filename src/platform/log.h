#pragma once
// The desk's diagnostic log: what was pressed, how long each statement took, and every error
// with its cause. Folders below the window write through log(); the program installs a sink
// that routes each line to its folder's logging category and on to a file beside Bill.ini.
// Without a sink (the tests of a folder, the benchmarks) a line costs one check.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace platform {

enum class LogLevel { Info, Warning, Error };

// `category` names the folder that writes ("db", "remittance", ...); the text is UTF-8.
using LogSink = std::function<void(std::string_view category, LogLevel level, std::string_view text)>;

// Installs (or with an empty sink removes) where log lines go. Not thread-safe against lines
// being written: install before the window opens.
void setLogSink(LogSink sink);
bool logging();
void log(std::string_view category, LogLevel level, std::string_view text);

// Database or file bytes as a log line can hold them: Big5 (or UTF-8) as UTF-8, other bytes
// as \xNN, line ends as spaces, cut at `maxBytes` with "…(N bytes)".
std::string logText(std::string_view bytes, std::size_t maxBytes);

// A log file that never grows without bound: when a line would take it past `maxBytes`, it
// becomes `<path>.1` (the older ones move up to `<path>.<keep>`, the oldest goes) and a new
// file starts. Lines are appended and flushed one by one, so a crash loses none of them.
class RotatingLogFile {
public:
    RotatingLogFile(std::string path, std::size_t maxBytes, int keep);
    // Appends the line and a line end; returns false when the file cannot be written.
    bool append(std::string_view line);
    const std::string& path() const { return path_; }

private:
    void rotate();
    std::string path_;
    std::size_t maxBytes_;
    int keep_;
    std::size_t size_ = 0;
    bool sized_ = false;
};

} // namespace platform
