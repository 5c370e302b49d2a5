#include "db/sql.h"

namespace db {

std::string quote(std::string_view value) {
    std::string out;
    out.reserve(value.size() + 2);
    out.push_back('\'');
    // Big5 trail bytes never equal 0x27, so doubling every quote byte cannot split a character.
    for (char c : value) {
        if (c == '\'') out.push_back('\'');
        out.push_back(c);
    }
    out.push_back('\'');
    return out;
}

std::string SqlLines::text() const {
    std::string out;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (i > 0) out += "\r\n";
        out += lines_[i];
    }
    return out;
}

} // namespace db
