#pragma once
// The desk's log file, "desk.log" beside Bill.ini: each press, each statement's time and each
// error with its cause, one line each, under Qt's logging categories (one a folder:
// "desk.db", "desk.remittance", ...), so QT_LOGGING_RULES can quieten any of them. The file
// turns over at 1 MiB and keeps five older ones (desk.log.1 … desk.log.5).
#include <QString>
#include <cstddef>
#include <string>

class QWidget;

namespace app {

class DeskLog {
public:
    // Starts logging into `folder` (with its trailing separator) for as long as this lives.
    explicit DeskLog(const std::string& folder, std::size_t maxBytes = 1024 * 1024);
    ~DeskLog();
    DeskLog(const DeskLog&) = delete;
    DeskLog& operator=(const DeskLog&) = delete;

    const std::string& path() const;
};

// Writes a line for every press of a button under `window`: its objectName and caption.
void logPresses(QWidget* window);

} // namespace app
