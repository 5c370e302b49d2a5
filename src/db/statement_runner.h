#pragma once
// Running one statement or query inside a given transaction; shared by the auto-committing
// connection and the explicit transaction scope.
#include "db/firebird_client.h"
#include "db/record_set.h"

#include <string_view>

namespace db::fb {

// DDL or DML; returns the rows it changed (0 for DDL and queries).
long long executeStatement(Firebird::IAttachment* attachment, Firebird::ITransaction* transaction,
                           std::string_view sql, unsigned dialect);
// All rows of a query into a record set.
RecordSet queryStatement(Firebird::IAttachment* attachment, Firebird::ITransaction* transaction,
                         std::string_view sql, unsigned dialect);

// A statement with one BLOB parameter ("?"), which takes `bytes` unchanged.
long long executeWithBytes(Firebird::IAttachment* attachment, Firebird::ITransaction* transaction,
                           std::string_view sql, unsigned dialect, std::string_view bytes);

} // namespace db::fb
