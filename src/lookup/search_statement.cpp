#include "lookup/search_statement.h"

#include "text/big5.h"

namespace lookup {

namespace {

// The escape character of a match term that needs one. It is never a byte of a double-byte
// Big5 character (trail bytes are 0x40-0x7E and 0xA1-0xFE), so it cannot be taken apart.
constexpr char kEscape = '!';

bool isWildcard(char c)
{
    return c == '%' || c == '_';
}

// True when a double-byte character of the text carries a wildcard byte: the trail byte
// 0x5F of 北, 會, 珮 and others is "_" to LIKE.
bool hasWildcardTrailByte(std::string_view big5)
{
    for (std::size_t i = 0; i < big5.size();) {
        const std::size_t length = text::big5CharacterLength(big5, i);
        if (length == 2 && isWildcard(big5[i + 1]))
            return true;
        i += length;
    }
    return false;
}

// The clerk's text as a LIKE pattern: "%" and "_" typed as characters keep their meaning;
// the bytes of a double-byte character always match themselves. Returns whether the pattern
// needs the escape clause.
bool likePattern(std::string_view big5, std::string& pattern)
{
    const bool escaping = hasWildcardTrailByte(big5);
    for (std::size_t i = 0; i < big5.size();) {
        const std::size_t length = text::big5CharacterLength(big5, i);
        if (length == 2) {
            pattern += big5[i];
            if (escaping && isWildcard(big5[i + 1]))
                pattern += kEscape;
            pattern += big5[i + 1];
        } else {
            if (escaping && big5[i] == kEscape)
                pattern += kEscape; // the clerk's own "!" is a character, not an escape
            pattern += big5[i];
        }
        i += length;
    }
    return escaping;
}

} // namespace

db::SqlLines searchStatement(const std::string& table, const std::string& column, MatchMode mode,
                             const std::string& big5Text)
{
    std::string pattern = mode == MatchMode::Contains ? "%" : "";
    const bool escaping = likePattern(big5Text, pattern);
    if (mode != MatchMode::Exact)
        pattern += "%";
    std::string term = "like " + db::quote(pattern);
    if (escaping)
        term += std::string(" escape '") + kEscape + "'";
    return db::SqlLines{"select * from ", table + " ", "where ", column, term};
}

} // namespace lookup
