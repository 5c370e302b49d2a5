#include "remittance/run_token.h"

namespace remittance {

namespace {

std::string trimmedRight(std::string value)
{
    const auto end = value.find_last_not_of(' ');
    value.erase(end == std::string::npos ? 0 : end + 1);
    return value;
}

bool sameTables(const work::WorkNames& a, const work::WorkNames& b)
{
    return a.tableA == b.tableA && a.tableB == b.tableB && a.tableC == b.tableC && a.tableD == b.tableD;
}

} // namespace

std::map<std::string, std::string> RunToken::relationIds(db::Executor& database, const work::WorkNames& names)
{
    db::SqlLines sql;
    sql << "SELECT RDB$RELATION_NAME, RDB$RELATION_ID FROM RDB$RELATIONS ";
    sql << "WHERE RDB$RELATION_NAME IN (" + db::quote(names.tableA) + ", " + db::quote(names.tableB) + ", " +
               db::quote(names.tableC) + ", " + db::quote(names.tableD) + ") ";
    const db::RecordSet rows = database.query(sql);
    std::map<std::string, std::string> ids;
    for (std::size_t r = 0; r < rows.rowCount(); ++r)
        ids[trimmedRight(rows.text(r, 0))] = rows.text(r, 1);
    return ids;
}

void RunToken::record(db::Executor& database, const work::WorkNames& names, RemittanceState state, Books books)
{
    names_ = names;
    state_ = state;
    books_ = books;
    relationIds_ = relationIds(database, names);
    valid_ = relationIds_.size() == 4;
}

bool RunToken::inStep(db::Executor& database, const db::RecordSet& grid, const work::WorkNames& current) const
{
    if (!valid_ || !grid.isOpen() || !sameTables(names_, current))
        return false;
    return relationIds(database, current) == relationIds_;
}

} // namespace remittance
