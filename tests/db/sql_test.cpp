#include "db/sql.h"

#include <gtest/gtest.h>

namespace {

struct QuoteCase {
    std::string value;
    std::string quoted;
};

TEST(Quote, DoublesEverySingleQuoteAndNothingElse)
{
    const QuoteCase cases[] = {
        {"", "''"},
        {"ABC", "'ABC'"},
        {"O'Brien", "'O''Brien'"},
        {"''", "''''''"},
        {"'", "''''"},
        {"a\\b", "'a\\b'"},                         // backslash is no escape in SQL
        {"\xB3\x5C\xA5\x5C", "'\xB3\x5C\xA5\x5C'"}, // Big5 with 0x5C trail bytes stays as is
        {"\xA4\xA4'\xA4\xE5", "'\xA4\xA4''\xA4\xE5'"},
        {std::string("a\0b", 3), std::string("'a\0b'", 5)},
    };
    for (const QuoteCase& c : cases)
        EXPECT_EQ(db::quote(c.value), c.quoted) << c.value;
}

TEST(SqlLines, JoinsLinesWithCrLfKeepingTheirBlanks)
{
    db::SqlLines sql{"select PROVIDER_ID ", " from PROVIDER"};
    sql << "order by PROVIDER_ID";
    EXPECT_EQ(sql.text(), "select PROVIDER_ID \r\n from PROVIDER\r\norder by PROVIDER_ID");
    EXPECT_EQ(sql.lines().size(), 3u);

    sql.clear();
    EXPECT_TRUE(sql.empty());
    EXPECT_EQ(sql.text(), "");
    sql.add("select 1 from RDB$DATABASE");
    EXPECT_EQ(sql.text(), "select 1 from RDB$DATABASE");
}

} // namespace
