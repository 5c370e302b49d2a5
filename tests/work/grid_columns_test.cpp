// How a grid shows a record set, apart from the record set: every column it shows must be in
// the rows; the columns it does not show stay readable.
#include "work/grid_columns.h"
#include "support/test_database.h"
#include "text/error.h"

#include <gtest/gtest.h>

namespace {

db::RecordSet threeColumns()
{
    db::RecordSet records(
        {{"NAME", db::FieldType::String, 20}, {"AMT", db::FieldType::Float, 8}, {"CNT", db::FieldType::Integer, 8}});
    records.appendRow();
    records.setText(0, 0, "\xB3\x5C\xA5\x5C");
    records.setNumber(0, 1, 1234.5);
    return records;
}

TEST(GridColumns, EveryShownColumnMustBePresent)
{
    const db::RecordSet records = threeColumns();
    try {
        work::checkGridColumns(records, {{"NAME", "名稱"}, {"CHKED", "選擇"}, {"AMT", "金額"}});
        FAIL() << "no error";
    } catch (const text::UserError& e) {
        EXPECT_STREQ(e.what(), "Field 'CHKED' not found");
    }
    const work::GridColumns shown{{"AMT", "金額", 12, true}};
    EXPECT_NO_THROW(work::checkGridColumns(records, shown));
    EXPECT_EQ(shown[0].caption, "金額");
    // Columns the grid does not show stay readable in the rows.
    EXPECT_EQ(records.columnCount(), 3u);
    EXPECT_EQ(records.text(0, "NAME"), "\xB3\x5C\xA5\x5C");
}

TEST(GridColumns, OnAQueryResult)
{
    testing_support::TestDatabase database;
    database.connection().execute(
        "INSERT INTO SLAVE_ITEM (STORE_ID, STORE_NAME, STORE_TEL) VALUES ('S01', 'One', '123')");
    const db::RecordSet records = database.connection().query("SELECT STORE_ID, STORE_NAME, STORE_TEL FROM SLAVE_ITEM");
    try {
        work::checkGridColumns(records, {{"STORE_ID", "店號"}, {"CHKED", "選擇"}});
        FAIL() << "no error";
    } catch (const text::UserError& e) {
        EXPECT_STREQ(e.what(), "Field 'CHKED' not found");
    }
    EXPECT_NO_THROW(work::checkGridColumns(records, {{"STORE_ID", "店號"}, {"STORE_NAME", "店名"}}));
    EXPECT_EQ(records.text(0, "STORE_TEL"), "123");
}

} // namespace
