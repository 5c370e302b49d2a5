#include "db/sql.h"

namespace db {

std::string quote(std::string_view value)
{
    std::string out;
    out.reserve(value.size() + 2);
    out.push_back('\'');
    // Big5 trail bytes never equal 0x27, so doubling every quote byte cannot split a character.
    for (char c : value) {
        if (c == '\'')
            out.push_back('\'');
        out.push_back(c);
    }
    out.push_back('\'');
    return out;
}

std::string byteLength(std::string_view expression)
{
    return "COALESCE(OCTET_LENGTH(" + std::string(expression) + "), 0)";
}

std::string leadingBytes(std::string_view expression, int count)
{
    return "COALESCE(SUBSTRING(" + std::string(expression) + " FROM 1 FOR " + std::to_string(count) + "), '')";
}

std::string SqlLines::text() const
{
    std::string out;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (i > 0)
            out += "\r\n";
        out += lines_[i];
    }
    return out;
}

} // namespace db
