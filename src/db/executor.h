#pragma once
// What page modules need from the database: run a statement, run a query into a record set.
// A Connection runs each call as its own short committed transaction (auto-commit); a
// Transaction runs them all in one that commits or rolls back as a whole.
#include "db/record_set.h"
#include "db/sql.h"

#include <string>
#include <string_view>

namespace db {

class Executor {
public:
    virtual ~Executor() = default;
    // DDL or DML; throws text::UserError with the server's message. Returns rows affected
    // (0 for DDL).
    virtual long long execute(const std::string& sql) = 0;
    long long execute(const SqlLines& sql) { return execute(sql.text()); }
    // A statement with one BLOB parameter ("?") that takes `bytes` as they are: large contents
    // go to the server in one pass instead of as literals pieced together.
    virtual long long executeWithBytes(const std::string& sql, std::string_view bytes) = 0;
    // All rows into memory.
    virtual RecordSet query(const std::string& sql) = 0;
    RecordSet query(const SqlLines& sql) { return query(sql.text()); }
    // The whole BLOB in the first column of the first row ("" when there is no row or it is NULL).
    virtual std::string blobLookup(const std::string& sql) = 0;
    // First row's first column as text ("" when there is no row).
    std::string lookup(const std::string& sql);
    std::string lookup(const SqlLines& sql) { return lookup(sql.text()); }
};

} // namespace db
