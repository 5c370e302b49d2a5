#include "cheque/list_stamp.h"

#include "db/sql.h"

namespace cheque {

std::string ListStamp::relationId(db::Executor& database, const std::string& table)
{
    return database.lookup("SELECT RDB$RELATION_ID FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = "
                           + db::quote(table) + " ");
}

ListStamp ListStamp::take(db::Executor& database, const work::WorkNames& names)
{
    ListStamp stamp;
    stamp.listedTable_ = names.tableA;
    stamp.listedId_ = relationId(database, names.tableA);
    stamp.issuedTable_ = names.tableC;
    stamp.issuedId_ = relationId(database, names.tableC);
    return stamp;
}

bool ListStamp::holds(db::Executor& database, const work::WorkNames& names) const
{
    if (empty() || listedId_.empty() || issuedId_.empty())
        return false;
    if (names.tableA != listedTable_ || names.tableC != issuedTable_)
        return false;
    return relationId(database, listedTable_) == listedId_
           && relationId(database, issuedTable_) == issuedId_;
}

} // namespace cheque
