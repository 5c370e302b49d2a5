#include "demo/bulk_load.h"

#include "db/sql.h"

namespace demo {

SecondaryIndexesOff::SecondaryIndexesOff(db::Connection& connection, const std::vector<std::string>& tables)
    : connection_(connection)
{
    for (const std::string& table : tables) {
        const db::RecordSet found = connection_.query(db::SqlLines{
            "SELECT TRIM(I.RDB$INDEX_NAME) FROM RDB$INDICES I",
            " WHERE I.RDB$RELATION_NAME = " + db::quote(table),
            "   AND COALESCE(I.RDB$INDEX_INACTIVE, 0) = 0",
            "   AND NOT EXISTS (SELECT 1 FROM RDB$RELATION_CONSTRAINTS C WHERE C.RDB$INDEX_NAME = I.RDB$INDEX_NAME)",
        });
        for (std::size_t row = 0; row < found.rowCount(); ++row)
            indexes_.push_back(found.text(row, 0));
    }
    for (const std::string& index : indexes_)
        connection_.execute("ALTER INDEX " + index + " INACTIVE");
}

void SecondaryIndexesOff::rebuild()
{
    for (const std::string& index : indexes_)
        connection_.execute("ALTER INDEX " + index + " ACTIVE");
    indexes_.clear();
}

} // namespace demo
