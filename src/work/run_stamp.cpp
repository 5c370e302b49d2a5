#include "work/run_stamp.h"

#include "text/blank.h"

namespace work {
namespace {

bool sameNames(const WorkNames& a, const WorkNames& b)
{
    return a.viewA == b.viewA && a.tableA == b.tableA && a.tableB == b.tableB && a.tableC == b.tableC &&
           a.tableD == b.tableD;
}

} // namespace

std::map<std::string, std::string> RunStamp::relationIds(db::Executor& database, const std::vector<std::string>& tables)
{
    std::string list;
    for (const std::string& table : tables)
        list += (list.empty() ? "" : ", ") + db::quote(table);
    std::map<std::string, std::string> ids;
    if (list.empty())
        return ids;
    const db::RecordSet rows = database.query(
        "SELECT RDB$RELATION_NAME, RDB$RELATION_ID FROM RDB$RELATIONS WHERE RDB$RELATION_NAME IN (" + list + ")");
    for (std::size_t r = 0; r < rows.rowCount(); ++r)
        ids[text::trimmedRight(rows.text(r, 0))] = rows.text(r, 1);
    return ids;
}

RunStamp RunStamp::take(db::Executor& database, const WorkNames& names, const std::vector<std::string>& tables)
{
    RunStamp stamp;
    stamp.relationIds_ = relationIds(database, tables);
    if (tables.empty() || stamp.relationIds_.size() != tables.size()) {
        stamp.clear();
        return stamp;
    }
    stamp.names_ = names;
    stamp.tables_ = tables;
    return stamp;
}

bool RunStamp::holds(db::Executor& database, const WorkNames& current) const
{
    if (empty() || !sameNames(names_, current))
        return false;
    return relationIds(database, tables_) == relationIds_;
}

} // namespace work
