#include "lookup/search_statement.h"

namespace lookup {

namespace {

std::string pattern(MatchMode mode, const std::string& text)
{
    switch (mode) {
    case MatchMode::Prefix: return text + "%";
    case MatchMode::Contains: return "%" + text + "%";
    case MatchMode::Exact: break;
    }
    return text;
}

} // namespace

db::SqlLines searchStatement(const std::string& table, const std::string& column, MatchMode mode,
                             const std::string& big5Text)
{
    return db::SqlLines{"select * from ", table + " ", "where ", column, "like " + db::quote(pattern(mode, big5Text))};
}

} // namespace lookup
