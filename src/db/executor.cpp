#include "db/executor.h"

namespace db {

std::string Executor::lookup(const std::string& sql)
{
    RecordSet records = query(sql);
    if (records.isEmpty() || records.columnCount() == 0)
        return {};
    return records.text(0, 0);
}

} // namespace db
