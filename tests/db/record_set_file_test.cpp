#include "db/record_set_file.h"
#include "db/record_set.h"

#include "support/test_database.h"
#include "text/error.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>

namespace {

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

db::RecordSet sample()
{
    db::RecordSet records({{"PROVIDER_NAME", db::FieldType::String, 50},
                           {"AMT", db::FieldType::Float, 8},
                           {"CNT", db::FieldType::Integer, 8},
                           {"MEMO", db::FieldType::String, 1}});
    const std::string names[] = {"\xB3\x5C\xA4\x40\xA5\x5C", "O'Brien", "", "\xF9\xFE"};
    const double amounts[] = {1234.5, -0.1, 0, std::numeric_limits<double>::max()};
    for (std::size_t r = 0; r < 4; ++r) {
        records.appendRow();
        records.setText(r, 0, names[r]);
        records.setNumber(r, 1, amounts[r]);
        if (r % 2 == 0)
            records.setNumber(r, 2, static_cast<double>(r) - 1);
        if (r == 3)
            records.setText(r, 3, "Y");
    }
    records.appendRow(); // a row of NULLs only
    return records;
}

void expectSame(const db::RecordSet& a, const db::RecordSet& b)
{
    ASSERT_EQ(a.columnCount(), b.columnCount());
    for (std::size_t c = 0; c < a.columnCount(); ++c) {
        EXPECT_EQ(a.column(c).name, b.column(c).name);
        EXPECT_EQ(a.column(c).type, b.column(c).type);
        EXPECT_EQ(a.column(c).size, b.column(c).size);
    }
    ASSERT_EQ(a.rowCount(), b.rowCount());
    for (std::size_t r = 0; r < a.rowCount(); ++r)
        for (std::size_t c = 0; c < a.columnCount(); ++c) {
            EXPECT_EQ(a.isNull(r, c), b.isNull(r, c)) << r << "," << c;
            EXPECT_EQ(a.text(r, c), b.text(r, c)) << r << "," << c;
            EXPECT_EQ(a.number(r, c), b.number(r, c)) << r << "," << c;
        }
}

TEST(RecordSetFile, RoundTripKeepsNamesTypesSizesNullsAndBytes)
{
    testing_support::TempFolder folder;
    db::RecordSet records = sample();
    records.save(folder.path() + "temp.cds");
    db::RecordSet loaded = db::RecordSet::load(folder.path() + "temp.cds");
    expectSame(records, loaded);
    EXPECT_FALSE(loaded.isNull(2, 0)); // an empty string is not NULL
    EXPECT_TRUE(loaded.isNull(1, 2));
    EXPECT_TRUE(loaded.isNull(4, 0));
}

TEST(RecordSetFile, LayoutIsTheDocumentedOne)
{
    db::RecordSet records({{"A", db::FieldType::String, 4}, {"N", db::FieldType::Float, 8}});
    records.appendRow();
    records.setText(0, 0, "\xB3\x5C");
    records.setNumber(0, 1, 1.0);
    records.appendRow();
    records.setNumber(1, 1, -2.5);

    const std::string expected = std::string("KRSF") + std::string("\x01\x00", 2) // version 1
                                 + std::string("\x02\x00\x00\x00", 4)             // two columns
                                 + std::string("\x01\x00"
                                               "A"
                                               "\x01"
                                               "\x04\x00\x00\x00",
                                               8) // A: string of 4 bytes
                                 + std::string("\x01\x00"
                                               "N"
                                               "\x02"
                                               "\x08\x00\x00\x00",
                                               8)                     // N: float of 8 bytes
                                 + std::string("\x02\x00\x00\x00", 4) // two rows
                                 + std::string("\x00", 1) + std::string("\x02\x00\x00\x00\xB3\x5C", 6) +
                                 std::string("\x00\x00\x00\x00\x00\x00\xF0\x3F", 8)    // 1.0
                                 + std::string("\x01", 1)                              // A is NULL
                                 + std::string("\x00\x00\x00\x00\x00\x00\x04\xC0", 8); // -2.5
    EXPECT_EQ(db::encodeRecordSet(records), expected);
}

// A grid may show only some columns; the file always carries every one.
TEST(RecordSetFile, EveryColumnIsSaved)
{
    testing_support::TempFolder folder;
    db::RecordSet records = sample();
    records.save(folder.path() + "temp.cds");
    db::RecordSet loaded = db::RecordSet::load(folder.path() + "temp.cds");
    EXPECT_EQ(loaded.columnCount(), 4u);
    EXPECT_EQ(loaded.text(3, "MEMO"), "Y");
    EXPECT_DOUBLE_EQ(loaded.number(0, "AMT"), 1234.5);
}

TEST(RecordSetFile, AnEmptyRecordSetRoundTrips)
{
    testing_support::TempFolder folder;
    db::RecordSet records({{"X", db::FieldType::String, 3}});
    records.save(folder.path() + "empty.cds");
    db::RecordSet loaded = db::RecordSet::load(folder.path() + "empty.cds");
    EXPECT_EQ(loaded.columnCount(), 1u);
    EXPECT_EQ(loaded.rowCount(), 0u);
}

TEST(RecordSetFile, DamagedFilesAreRefusedWithTheirName)
{
    testing_support::TempFolder folder;
    const std::string good = db::encodeRecordSet(sample());
    std::string wrongVersion = good;
    wrongVersion[4] = 2;
    std::string hugeColumnCount = good;
    hugeColumnCount.replace(6, 4, "\xFF\xFF\xFF\x7F");
    // A row without columns takes no bytes, so no file size bounds the count: a file with no
    // columns and rows is damaged however many rows it claims.
    const std::string noColumns = std::string("KRSF\x01\x00", 6) + std::string(4, '\0');
    const std::string noColumnsAMillionRows = noColumns + std::string("\x40\x42\x0F\x00", 4);
    const std::string noColumnsHugeRowCount = noColumns + "\xFF\xFF\xFF\xFF";
    std::string badType = good;
    badType[6 + 4 + 2 + 13] = 9; // the type byte of PROVIDER_NAME

    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"wrong magic", "XRSF" + good.substr(4)},
        {"wrong version", wrongVersion},
        {"cut in the header", good.substr(0, 9)},
        {"cut in the rows", good.substr(0, good.size() - 3)},
        {"bytes after the last row", good + "x"},
        {"impossible column count", hugeColumnCount},
        {"unknown column type", badType},
        {"no columns and a million rows", noColumnsAMillionRows},
        {"no columns and a huge row count", noColumnsHugeRowCount},
    };
    for (const auto& c : cases) {
        const std::string path = folder.path() + "damaged.cds";
        writeFile(path, c.bytes);
        try {
            db::RecordSet::load(path);
            ADD_FAILURE() << c.what << ": loaded";
        } catch (const text::UserError& e) {
            EXPECT_NE(std::string(e.what()).find(path + " is not a valid record-set file"), std::string::npos)
                << c.what << ": " << e.what();
        }
    }
}

TEST(RecordSetFile, MissingAndUnwritableFilesSayWhich)
{
    testing_support::TempFolder folder;
    const std::string missing = folder.path() + "missing.cds";
    try {
        db::RecordSet::load(missing);
        FAIL() << "loaded";
    } catch (const text::UserError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to read " + missing);
    }
    const std::string unwritable = folder.path() + "no-such-folder/temp.cds";
    try {
        sample().save(unwritable);
        FAIL() << "saved";
    } catch (const text::UserError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + unwritable);
    }
}

} // namespace
