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

// The back office's STRLEN and SUBSTR(s,1,n) written with the server's built-in functions,
// which give the same results without a function call per row: a NULL text has length 0 and
// its leading bytes are the empty text; lengths and cuts count bytes (character set NONE).
std::string byteLength(std::string_view expression);              // STRLEN(e)
std::string leadingBytes(std::string_view expression, int count); // SUBSTR(e,1,count)

class SqlLines {
public:
    SqlLines() = default;
    SqlLines(std::initializer_list<std::string> lines) : lines_(lines) {}
    SqlLines& add(std::string line)
    {
        lines_.push_back(std::move(line));
        return *this;
    }
    SqlLines& operator<<(std::string line) { return add(std::move(line)); }
    void clear() { lines_.clear(); }
    bool empty() const { return lines_.empty(); }
    const std::vector<std::string>& lines() const { return lines_; }
    std::string text() const; // lines joined with "\r\n"
private:
    std::vector<std::string> lines_;
};

} // namespace db
