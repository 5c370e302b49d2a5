#pragma once
// SQL text is built from lines, as the system's statements are written; each line carries its
// own blanks and lines are joined with line breaks. Every value that goes between quotes passes
// through quote(), which doubles single quotes.
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace db {

// 'value' with every ' doubled.
std::string quote(std::string_view value);

class SqlLines {
public:
    SqlLines() = default;
    SqlLines(std::initializer_list<std::string> lines) : lines_(lines) {}
    SqlLines& add(std::string line) { lines_.push_back(std::move(line)); return *this; }
    SqlLines& operator<<(std::string line) { return add(std::move(line)); }
    void clear() { lines_.clear(); }
    bool empty() const { return lines_.empty(); }
    const std::vector<std::string>& lines() const { return lines_; }
    std::string text() const; // lines joined with "\r\n"
private:
    std::vector<std::string> lines_;
};

} // namespace db
