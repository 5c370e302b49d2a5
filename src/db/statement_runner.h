#pragma once
// Running one statement or query inside a given transaction; shared by the auto-committing
// connection and the explicit transaction scope.
#include "db/firebird_client.h"
#include "db/record_set.h"

#include <string_view>

namespace db::fb {

// DDL or DML; returns the rows it changed (0 for DDL and queries).
long long executeStatement(Firebird::IAttachment* attachment, Firebird::ITransaction* transaction, std::string_view sql,
                           unsigned dialect);
// All rows of a query into a record set.
RecordSet queryStatement(Firebird::IAttachment* attachment, Firebird::ITransaction* transaction, std::string_view sql,
                         unsigned dialect);
// The whole BLOB in the first column of a query's first row ("" for no row or NULL).
std::string queryBlob(Firebird::IAttachment* attachment, Firebird::ITransaction* transaction, std::string_view sql,
                      unsigned dialect);

// A statement whose one parameter ("?") is a BLOB: `bytes` go into a new blob segment by
// segment, unchanged, and the statement runs once with its id. Returns the rows it changed.
long long executeWithBytes(Firebird::IAttachment* attachment, Firebird::ITransaction* transaction, std::string_view sql,
                           unsigned dialect, std::string_view bytes);

} // namespace db::fb
