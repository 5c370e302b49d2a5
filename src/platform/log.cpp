#include "platform/log.h"

#include "platform/paths.h"
#include "text/big5.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace platform {
namespace {

LogSink& installedSink()
{
    static LogSink sink;
    return sink;
}

} // namespace

void setLogSink(LogSink sink)
{
    installedSink() = std::move(sink);
}

bool logging()
{
    return static_cast<bool>(installedSink());
}

void log(std::string_view category, LogLevel level, std::string_view text)
{
    if (const LogSink& sink = installedSink())
        sink(category, level, text);
}

std::string logText(std::string_view bytes, std::size_t maxBytes)
{
    std::string_view shown = bytes;
    if (shown.size() > maxBytes) {
        std::size_t end = 0;
        while (end < maxBytes) {
            const std::size_t next = end + text::big5CharacterLength(shown, end);
            if (next > maxBytes)
                break;
            end = next;
        }
        shown = shown.substr(0, end);
    }
    std::string line;
    if (text::isUtf8Text(shown)) {
        line.assign(shown);
    } else if (text::isBig5Text(shown)) {
        line = text::big5ToUtf8(shown);
    } else {
        for (const char c : shown) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte < 0x80) {
                line += c;
            } else {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
                line += escaped;
            }
        }
    }
    for (char& c : line)
        if (c == '\n' || c == '\r')
            c = ' ';
    if (shown.size() < bytes.size())
        line += "…(" + std::to_string(bytes.size()) + " bytes)";
    return line;
}

RotatingLogFile::RotatingLogFile(std::string path, std::size_t maxBytes, int keep)
    : path_(std::move(path)), maxBytes_(maxBytes), keep_(keep < 1 ? 1 : keep)
{
}

void RotatingLogFile::rotate()
{
    namespace fs = std::filesystem;
    std::error_code ignored;
    const auto numbered = [this](int n) { return nativePath(path_ + "." + std::to_string(n)); };
    fs::remove(numbered(keep_), ignored);
    for (int n = keep_ - 1; n >= 1; --n)
        fs::rename(numbered(n), numbered(n + 1), ignored);
    fs::rename(nativePath(path_), numbered(1), ignored);
    size_ = 0;
}

bool RotatingLogFile::append(std::string_view line)
{
    if (!sized_) {
        std::error_code error;
        const auto existing = std::filesystem::file_size(nativePath(path_), error);
        size_ = error ? 0 : static_cast<std::size_t>(existing);
        sized_ = true;
    }
    const std::size_t adding = line.size() + 1;
    if (size_ > 0 && size_ + adding > maxBytes_)
        rotate();
    std::FILE* file = openFile(path_, "ab");
    if (!file)
        return false;
    const bool written = std::fwrite(line.data(), 1, line.size(), file) == line.size() && std::fputc('\n', file) != EOF;
    const bool closed = std::fclose(file) == 0;
    if (written && closed)
        size_ += adding;
    return written && closed;
}

} // namespace platform
