#include "support/table_compare.h"

#include "db/sql.h"

#include <gtest/gtest.h>

namespace testing_support {

namespace {

db::RecordSet inColumnOrder(db::Executor& database, const std::string& relation)
{
    const std::size_t columns = database.query("SELECT FIRST 0 * FROM " + relation).columnCount();
    std::string order;
    for (std::size_t c = 1; c <= columns; ++c)
        order += (c > 1 ? "," : "") + std::to_string(c);
    return database.query("SELECT * FROM " + relation + " ORDER BY " + order);
}

} // namespace

std::string tableShape(db::Executor& database, const std::string& relation)
{
    const db::RecordSet rows =
        database.query("SELECT RF.RDB$FIELD_POSITION, TRIM(RF.RDB$FIELD_NAME), F.RDB$FIELD_TYPE, F.RDB$FIELD_LENGTH, "
                       "F.RDB$FIELD_SCALE "
                       "FROM RDB$RELATION_FIELDS RF JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE "
                       "WHERE RF.RDB$RELATION_NAME = " +
                       db::quote(relation) + " ORDER BY RF.RDB$FIELD_POSITION");
    std::string shape;
    for (std::size_t r = 0; r < rows.rowCount(); ++r)
        shape += rows.text(r, 0) + " " + rows.text(r, 1) + " " + rows.text(r, 2) + " " + rows.text(r, 3) + " " +
                 rows.text(r, 4) + "\n";
    return shape;
}

std::string columnNames(db::Executor& database, const std::string& relation)
{
    const db::RecordSet rows = database.query("SELECT TRIM(RDB$FIELD_NAME) FROM RDB$RELATION_FIELDS WHERE "
                                              "RDB$RELATION_NAME = " +
                                              db::quote(relation) + " ORDER BY RDB$FIELD_POSITION");
    std::string names;
    for (std::size_t r = 0; r < rows.rowCount(); ++r)
        names += rows.text(r, 0) + "\n";
    return names;
}

void expectSameRows(db::Executor& database, const std::string& expected, const std::string& actual,
                    const std::string& what)
{
    const db::RecordSet want = inColumnOrder(database, expected);
    const db::RecordSet got = inColumnOrder(database, actual);
    ASSERT_EQ(want.columnCount(), got.columnCount()) << what;
    ASSERT_EQ(want.rowCount(), got.rowCount()) << what;
    int failures = 0;
    for (std::size_t r = 0; r < want.rowCount() && failures < 10; ++r)
        for (std::size_t c = 0; c < want.columnCount(); ++c) {
            const std::string where = what + ": row " + std::to_string(r) + " column " + want.column(c).name;
            bool same = want.isNull(r, c) == got.isNull(r, c);
            if (same && !want.isNull(r, c))
                same = want.column(c).type == db::FieldType::String ? want.text(r, c) == got.text(r, c)
                                                                    : want.number(r, c) == got.number(r, c);
            if (!same) {
                ++failures;
                ADD_FAILURE() << where << ": expected " << (want.isNull(r, c) ? "NULL" : want.text(r, c)) << ", got "
                              << (got.isNull(r, c) ? "NULL" : got.text(r, c));
            }
        }
}

void expectSameTable(db::Executor& database, const std::string& expected, const std::string& actual,
                     const std::string& what)
{
    EXPECT_EQ(tableShape(database, expected), tableShape(database, actual)) << what;
    expectSameRows(database, expected, actual, what);
}

bool relationExists(db::Executor& database, const std::string& relation)
{
    return !database
                .lookup("SELECT RDB$RELATION_NAME FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = " + db::quote(relation))
                .empty();
}

} // namespace testing_support
