#include "db/connection.h"

#include "support/test_database.h"
#include "text/big5.h"
#include "text/error.h"

#include <gtest/gtest.h>

namespace {

class QueryTest : public ::testing::Test {
protected:
    testing_support::TestDatabase database;
    db::Connection& connection = database.connection();
};

// Every Big5 trail byte after one lead byte, the 0x5C ('\') trail bytes among them.
std::string allTrailBytes(char lead)
{
    std::string s;
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
        if (trail > 0x7E && trail < 0xA1)
            continue;
        s += lead;
        s += static_cast<char>(trail);
    }
    return s;
}

TEST_F(QueryTest, Big5BytesRoundTripExactly)
{
    connection.execute("CREATE TABLE NAMES (ID INTEGER, NAME VARCHAR(400))");
    const std::string values[] = {
        text::big5("許功蓋"),    // trail bytes 0x5C
        "\xB3\x5C",              // 許 alone, ending in a backslash byte
        text::big5("林'記商行"), // a single quote inside
        allTrailBytes('\xA4'),
        allTrailBytes('\xF9'),
        "plain ASCII \\ with a backslash",
        "",
    };
    for (std::size_t i = 0; i < std::size(values); ++i)
        connection.execute("INSERT INTO NAMES VALUES (" + std::to_string(i) + ", " + db::quote(values[i]) + ")");

    db::RecordSet records = connection.query("SELECT ID, NAME FROM NAMES ORDER BY ID");
    ASSERT_EQ(records.rowCount(), std::size(values));
    EXPECT_EQ(text::big5("許"), "\xB3\x5C");
    for (std::size_t i = 0; i < std::size(values); ++i) {
        EXPECT_EQ(records.text(i, "NAME"), values[i]) << i;
        EXPECT_FALSE(records.isNull(i, 1)) << i;
        // The server counts the same bytes: nothing was converted on the way.
        EXPECT_EQ(connection.lookup("SELECT OCTET_LENGTH(NAME) FROM NAMES WHERE ID = " + std::to_string(i)),
                  std::to_string(values[i].size()));
    }
    // A Big5 value found again by an equality test on its bytes.
    EXPECT_EQ(connection.lookup("SELECT ID FROM NAMES WHERE NAME = " + db::quote(text::big5("林'記商行"))), "2");
}

TEST_F(QueryTest, AProviderNameWithAQuoteWorksQuotedAndFailsUnquoted)
{
    const std::string name = text::big5("老王's 五金");
    connection.execute("INSERT INTO PROVIDER (PROVIDER_ID, PROVIDER_NAME) VALUES ('P001', " + db::quote(name) + ")");
    EXPECT_EQ(connection.lookup("SELECT PROVIDER_ID FROM PROVIDER WHERE PROVIDER_NAME = " + db::quote(name)), "P001");
    EXPECT_EQ(connection.lookup("SELECT PROVIDER_NAME FROM PROVIDER"), name);

    // What quoting prevents: the bare value ends the literal early.
    try {
        connection.query("SELECT PROVIDER_ID FROM PROVIDER WHERE PROVIDER_NAME = '" + name + "'");
        FAIL() << "no error";
    } catch (const text::UserError& e) {
        EXPECT_NE(std::string(e.what()).find("Dynamic SQL Error"), std::string::npos) << e.what();
    }
}

TEST_F(QueryTest, ColumnsTakeTheirAliasTypeAndByteSize)
{
    connection.execute(
        "CREATE TABLE TYPES (V VARCHAR(12), C CHAR(4), D DOUBLE PRECISION, F FLOAT, S SMALLINT, I INTEGER,"
        " B BIGINT, N NUMERIC(15,2), M DECIMAL(9,3), DT DATE, TS TIMESTAMP, BL BOOLEAN)");
    connection.execute("INSERT INTO TYPES VALUES ('ab', 'x', 1234.5, 0.5, -3, 70000, 9000000000, 1.23, -4.25,"
                       " '2016-02-29', '2016-02-29 10:11:12', TRUE)");
    connection.execute("INSERT INTO TYPES (V) VALUES (NULL)");
    db::RecordSet records = connection.query("SELECT V AS VALUE_TEXT, C, D, F, S, I, B, N, M, DT, TS, BL FROM TYPES"
                                             " ORDER BY V NULLS LAST");
    const struct {
        const char* name;
        db::FieldType type;
        std::uint32_t size;
        const char* text;
    } expected[] = {
        {"VALUE_TEXT", db::FieldType::String, 12, "ab"},
        {"C", db::FieldType::String, 4, "x   "}, // CHAR keeps its blanks
        {"D", db::FieldType::Float, 8, "1234.5"},
        {"F", db::FieldType::Float, 8, "0.5"},
        {"S", db::FieldType::Integer, 8, "-3"},
        {"I", db::FieldType::Integer, 8, "70000"},
        {"B", db::FieldType::Integer, 8, "9000000000"},
        {"N", db::FieldType::Float, 8, "1.23"},
        {"M", db::FieldType::Float, 8, "-4.25"},
        {"DT", db::FieldType::String, 32, "2016-02-29"},
        {"TS", db::FieldType::String, 32, nullptr}, // in the engine's own timestamp format
        {"BL", db::FieldType::String, 32, "TRUE"},
    };
    ASSERT_EQ(records.columnCount(), std::size(expected));
    ASSERT_EQ(records.rowCount(), 2u);
    for (std::size_t c = 0; c < std::size(expected); ++c) {
        EXPECT_EQ(records.column(c).name, expected[c].name);
        EXPECT_EQ(records.column(c).type, expected[c].type) << expected[c].name;
        EXPECT_EQ(records.column(c).size, expected[c].size) << expected[c].name;
        if (expected[c].text) {
            EXPECT_EQ(records.text(0, c), expected[c].text) << expected[c].name;
        }
        EXPECT_TRUE(records.isNull(1, c)) << expected[c].name;
    }
    EXPECT_NE(records.text(0, "TS").find("2016"), std::string::npos);
    EXPECT_NE(records.text(0, "TS").find("10:11:12"), std::string::npos);

    // Scaled decimals are the nearest doubles, not values off in the last digit.
    db::RecordSet decimals =
        connection.query("SELECT CAST(1.23 AS NUMERIC(15,2)), CAST(-4.005 AS DECIMAL(9,3)), CAST(0.1 AS NUMERIC(18,4))"
                         " FROM RDB$DATABASE");
    EXPECT_EQ(decimals.number(0, 0), 1.23);
    EXPECT_EQ(decimals.number(0, 1), -4.005);
    EXPECT_EQ(decimals.number(0, 2), 0.1);
}

TEST_F(QueryTest, AnEmptyResultKnowsItsColumns)
{
    db::RecordSet records =
        connection.query(db::SqlLines{"select PROVIDER_ID, PROVIDER_NAME from PROVIDER", "order by PROVIDER_ID"});
    EXPECT_TRUE(records.isOpen());
    EXPECT_TRUE(records.isEmpty());
    ASSERT_EQ(records.columnCount(), 2u);
    EXPECT_EQ(records.column(1).name, "PROVIDER_NAME");
    EXPECT_EQ(records.column(1).size, 50u);
}

} // namespace
