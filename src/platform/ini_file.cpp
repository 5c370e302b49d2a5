#include "platform/ini_file.h"

#include "platform/file_replace.h"
#include "platform/paths.h"
#include "text/big5.h"
#include "text/error.h"

#include <optional>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace platform {
namespace {

// One line of the file as it lies there: its text and the line end that follows it
// ("\r\n", "\n" or nothing for a last line without one).
struct Line {
    std::string_view text;
    std::string_view ending;
};

std::vector<Line> splitLines(std::string_view bytes)
{
    std::vector<Line> lines;
    while (!bytes.empty()) {
        const auto newline = bytes.find('\n');
        if (newline == std::string_view::npos) {
            lines.push_back({bytes, {}});
            break;
        }
        const std::size_t textEnd = newline > 0 && bytes[newline - 1] == '\r' ? newline - 1 : newline;
        lines.push_back({bytes.substr(0, textEnd), bytes.substr(textEnd, newline + 1 - textEnd)});
        bytes.remove_prefix(newline + 1);
    }
    return lines;
}

// New lines follow the file's own style; a new or single-line file gets Windows line ends.
std::string_view lineEndOf(const std::vector<Line>& lines)
{
    for (const auto& line : lines)
        if (!line.ending.empty())
            return line.ending;
    return "\r\n";
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Case-insensitive for ASCII letters only; the second byte of a Big5 character is compared
// exactly, since bytes such as 'A' or 'a' there belong to different characters.
bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size();) {
        const auto length = text::big5CharacterLength(a, i);
        if (length == 2) {
            if (a.substr(i, 2) != b.substr(i, 2))
                return false;
        } else if (lowerAscii(a[i]) != lowerAscii(b[i])) {
            return false;
        }
        i += length;
    }
    return true;
}

// The name of a section header line "[name]", or nothing for any other line.
std::optional<std::string_view> sectionName(std::string_view line)
{
    line = trimmed(line);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    // ']' is also a Big5 trail byte: look for it character by character.
    for (std::size_t i = 1; i < line.size(); i += text::big5CharacterLength(line, i))
        if (line[i] == ']')
            return trimmed(line.substr(1, i - 1));
    return std::nullopt;
}

struct KeyLine {
    std::string_view key, value;
    std::size_t valueStart = 0; // where a new value is written: after '=' and the blanks after it
};

// A "key=value" line; comment lines and lines without '=' hold no key.
std::optional<KeyLine> keyLine(std::string_view line)
{
    const auto body = trimmed(line);
    if (body.empty() || body.front() == ';' || body.front() == '#' || body.front() == '[')
        return std::nullopt;
    const auto equals = line.find('='); // '=' is never part of a Big5 character
    if (equals == std::string_view::npos)
        return std::nullopt;
    KeyLine result;
    result.key = trimmed(line.substr(0, equals));
    result.valueStart = equals + 1;
    while (result.valueStart < line.size() && (line[result.valueStart] == ' ' || line[result.valueStart] == '\t'))
        ++result.valueStart;
    result.value = trimmed(line.substr(equals + 1));
    return result;
}

// Where a section and a key lie in the file. The first section of that name counts, as the
// Windows profile functions take it; so does the first key of that name within it.
struct Location {
    std::optional<std::size_t> sectionHeader;
    std::optional<std::size_t> keyLine;
    std::size_t lastKeyLine = 0; // the header itself while the section holds no key
};

Location locate(const std::vector<Line>& lines, std::string_view section, std::string_view key)
{
    Location found;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = sectionName(lines[i].text);
        if (name) {
            if (found.sectionHeader)
                break;
            if (sameName(*name, section)) {
                found.sectionHeader = i;
                found.lastKeyLine = i;
            }
            continue;
        }
        if (!found.sectionHeader)
            continue;
        if (const auto entry = keyLine(lines[i].text)) {
            found.lastKeyLine = i;
            if (sameName(entry->key, key)) {
                found.keyLine = i;
                break;
            }
        }
    }
    return found;
}

// True when s holds c as a character of its own, not as the second byte of a Big5 character.
bool holdsCharacter(std::string_view s, char c)
{
    for (std::size_t i = 0; i < s.size(); i += text::big5CharacterLength(s, i))
        if (s[i] == c)
            return true;
    return false;
}

void requireOneLine(std::string_view s, const char* what)
{
    if (s.find_first_of("\r\n") != std::string_view::npos)
        throw std::invalid_argument(std::string("a profile ") + what + " cannot hold a line end");
}

} // namespace

IniFile::IniFile(std::string path) : path_(std::move(path))
{
}

std::string IniFile::read(const std::string& section, const std::string& key, const std::string& fallback) const
{
    std::string bytes;
    if (readWholeFile(path_, bytes) != ReadResult::Read)
        return fallback;
    const auto lines = splitLines(bytes);
    const auto found = locate(lines, section, key);
    if (!found.keyLine)
        return fallback;
    return std::string(keyLine(lines[*found.keyLine].text)->value);
}

void IniFile::write(const std::string& section, const std::string& key, const std::string& value)
{
    requireOneLine(section, "section name");
    requireOneLine(key, "key");
    requireOneLine(value, "value");
    if (holdsCharacter(key, '=') || holdsCharacter(section, ']'))
        throw std::invalid_argument("a profile key holds no '=' and a section name no ']'");

    const auto failure = [this] {
        return text::UserError(text::formatMessage("Unable to write to %s", pathForDisplay(path_)));
    };
    std::string bytes;
    if (readWholeFile(path_, bytes) == ReadResult::Failed)
        throw failure();
    const auto lines = splitLines(bytes);
    const auto newLine = lineEndOf(lines);
    const auto found = locate(lines, section, key);

    std::string result;
    result.reserve(bytes.size() + section.size() + key.size() + value.size() + 16);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (found.keyLine == i) {
            result += lines[i].text.substr(0, keyLine(lines[i].text)->valueStart);
            result += value;
        } else {
            result += lines[i].text;
        }
        // A line that gets a new line after it needs a line end even if it was the last one.
        const bool newKeyFollows = !found.keyLine && found.sectionHeader && found.lastKeyLine == i;
        result += lines[i].ending.empty() && newKeyFollows ? newLine : lines[i].ending;
        if (newKeyFollows)
            result.append(key).append("=").append(value).append(newLine);
    }
    if (!found.sectionHeader) {
        if (!lines.empty()) {
            if (lines.back().ending.empty())
                result += newLine;
            if (!trimmed(lines.back().text).empty()) // one blank line between sections
                result += newLine;
        }
        result.append("[").append(section).append("]").append(newLine);
        result.append(key).append("=").append(value).append(newLine);
    }
    if (!replaceWholeFile(path_, result))
        throw failure();
}

} // namespace platform
