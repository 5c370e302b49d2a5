#pragma once
// The statement of a lookup search: every row of a table whose chosen column matches the
// clerk's text exactly, as a prefix or anywhere. "%" and "_" typed by the clerk act as
// wildcards in every mode; a single quote is searched for as itself; the bytes of a
// double-byte character are never wildcards (an escape clause is added when one would be).
#include "db/sql.h"

#include <string>

namespace lookup {

enum class MatchMode { Exact = 0, Prefix = 1, Contains = 2 };

// Five lines: "select * from ", table + " ", "where ", the column, the match term.
db::SqlLines searchStatement(const std::string& table, const std::string& column, MatchMode mode,
                             const std::string& big5Text);

} // namespace lookup
