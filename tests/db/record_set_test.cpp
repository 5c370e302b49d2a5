#include "db/record_set.h"

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
    records.setNumber(0, 2, 7);
    records.appendRow(); // all NULL
    return records;
}

TEST(RecordSet, FieldIndexFindsColumnsCaseInsensitivelyAndNamesAMissingOne)
{
    db::RecordSet records = threeColumns();
    EXPECT_EQ(records.fieldIndex("AMT"), 1u);
    EXPECT_EQ(records.fieldIndex("amt"), 1u);
    EXPECT_EQ(records.columnIndex("NOPE"), -1);
    try {
        records.fieldIndex("NOPE");
        FAIL() << "no error";
    } catch (const text::UserError& e) {
        EXPECT_STREQ(e.what(), "Field 'NOPE' not found");
    }
}

TEST(RecordSet, ValuesReadAsTextAndNumberByColumnType)
{
    db::RecordSet records = threeColumns();
    EXPECT_EQ(records.text(0, "NAME"), "\xB3\x5C\xA5\x5C");
    EXPECT_EQ(records.stringView(0, 0), "\xB3\x5C\xA5\x5C");
    EXPECT_EQ(records.text(0, "AMT"), "1234.5");
    EXPECT_DOUBLE_EQ(records.number(0, "AMT"), 1234.5);
    EXPECT_EQ(records.text(0, "CNT"), "7");
    EXPECT_EQ(records.stringView(0, 1), ""); // no bytes behind a number

    for (std::size_t c = 0; c < 3; ++c) {
        EXPECT_TRUE(records.isNull(1, c));
        EXPECT_EQ(records.text(1, c), "");
        EXPECT_EQ(records.number(1, c), 0);
    }
}

TEST(RecordSet, SettingConvertsToTheColumnType)
{
    db::RecordSet records = threeColumns();
    records.setText(1, "AMT", " 12.25 ");
    EXPECT_DOUBLE_EQ(records.number(1, "AMT"), 12.25);
    records.setText(1, "CNT", "abc");
    EXPECT_FALSE(records.isNull(1, 2));
    EXPECT_EQ(records.number(1, "CNT"), 0);
    records.setNumber(1, "NAME", -12);
    EXPECT_EQ(records.text(1, "NAME"), "-12");
    EXPECT_DOUBLE_EQ(records.number(1, "NAME"), -12);

    // Overwriting a string keeps the other rows' bytes.
    records.setText(0, "NAME", "Y");
    records.setText(0, "NAME", "N");
    EXPECT_EQ(records.text(0, "NAME"), "N");
    EXPECT_EQ(records.text(1, "NAME"), "-12");

    records.setNull(0, 1);
    EXPECT_TRUE(records.isNull(0, 1));
    const db::RecordSet::Cell cell = records.cell(0, 0);
    EXPECT_FALSE(cell.null);
    EXPECT_EQ(cell.bytes, "N");
}

TEST(RecordSet, ClearClosesIt)
{
    db::RecordSet records = threeColumns();
    EXPECT_TRUE(records.isOpen());
    records.clear();
    EXPECT_FALSE(records.isOpen());
    EXPECT_TRUE(records.isEmpty());
    EXPECT_EQ(records.columnCount(), 0u);
}

} // namespace

namespace {

// Wide and long enough to span several row chunks and string chunks, with null bits in more
// than one word per row.
TEST(RecordSet, ManyRowsWideRowsAndLongValuesKeepEveryCell)
{
    const std::size_t columnCount = 150, rowCount = 3000;
    std::vector<db::Column> columns;
    for (std::size_t c = 0; c < columnCount; ++c)
        columns.push_back({"C" + std::to_string(c), c % 2 ? db::FieldType::Float : db::FieldType::String, 8});
    db::RecordSet records(columns);
    auto value = [](std::size_t r, std::size_t c) {
        return std::string(1 + (r * 7 + c) % 40, char('A' + c % 26)) + std::to_string(r);
    };
    for (std::size_t r = 0; r < rowCount; ++r) {
        records.appendRow();
        for (std::size_t c = 0; c < columnCount; ++c) {
            if ((r + c) % 11 == 0)
                continue; // stays NULL
            if (c % 2)
                records.setNumber(r, c, double(r) * 1000 + double(c));
            else
                records.setText(r, c, value(r, c));
        }
    }
    const std::string huge(3 << 20, '\xA4'); // larger than any chunk
    records.setText(rowCount - 1, 0, huge);
    // A value taken from the record set itself and stored again.
    records.setText(0, 2, records.stringView(rowCount - 2, 4));

    db::RecordSet copy = records;
    copy.setText(1, 0, "changed");
    ASSERT_EQ(records.rowCount(), rowCount);
    for (std::size_t r = 0; r < rowCount; ++r)
        for (std::size_t c = 0; c < columnCount; ++c) {
            if (r == rowCount - 1 && c == 0)
                continue;
            if (r == 0 && c == 2)
                continue;
            const bool null = (r + c) % 11 == 0;
            ASSERT_EQ(records.isNull(r, c), null) << r << "," << c;
            if (null)
                continue;
            if (c % 2)
                ASSERT_EQ(records.number(r, c), double(r) * 1000 + double(c)) << r << "," << c;
            else
                ASSERT_EQ(records.text(r, c), value(r, c)) << r << "," << c;
        }
    EXPECT_EQ(records.text(rowCount - 1, 0), huge);
    EXPECT_EQ(records.text(0, 2), value(rowCount - 2, 4));
    EXPECT_EQ(copy.text(1, 0), "changed");
    EXPECT_EQ(records.text(1, 0), value(1, 0));
}

} // namespace
