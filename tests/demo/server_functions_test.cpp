// STRLEN and SUBSTR as the desk's statements use them: NULL reads as empty, SUBSTR's third
// argument is the end position, and everything counts bytes.
#include "support/test_database.h"

#include "db/sql.h"
#include "text/big5.h"

#include <gtest/gtest.h>

namespace {

using testing_support::TestDatabase;
using text::big5;

struct FunctionCase {
    std::string expression; // a select-list expression
    std::string expected;   // the bytes it yields, never NULL
};

class ServerFunctions : public ::testing::Test {
protected:
    std::string evaluate(const std::string& expression)
    {
        const db::RecordSet result = database_.connection().query("SELECT " + expression + " FROM RDB$DATABASE");
        EXPECT_EQ(result.rowCount(), 1u);
        EXPECT_FALSE(result.isNull(0, 0)) << expression << " yields NULL";
        return result.text(0, 0);
    }

    TestDatabase database_;
};

TEST_F(ServerFunctions, StrlenAndSubstrFollowTheClassicUdfSemantics)
{
    const std::string bankName = big5("高雄銀行"); // four double-byte characters
    const std::vector<FunctionCase> cases{
        {"STRLEN(NULL)", "0"},
        {"STRLEN('')", "0"},
        {"STRLEN('2016/02/29')", "10"},
        {"STRLEN(" + db::quote(bankName) + ")", "8"},
        {"STRLEN('  ')", "2"},
        {"SUBSTR(NULL, 1, 3)", ""},
        {"SUBSTR('', 1, 3)", ""},
        {"SUBSTR('2016/02/29', 1, 7)", "2016/02"},
        {"SUBSTR('2016/02/29', 1, 3)", "201"},
        {"SUBSTR('0160022', 1, 3)", "016"},
        {"SUBSTR('2016/02/29', 6, 7)", "02"},
        {"SUBSTR('2016/02/29', 9, 10)", "29"},
        {"SUBSTR('ab', 1, 7)", "ab"},
        {"SUBSTR('abc', 3, 3)", "c"},
        {"SUBSTR('abc', 3, 2)", ""},
        {"SUBSTR('abc', 0, 2)", ""},
        {"SUBSTR('abc', 4, 9)", ""},
        {"SUBSTR(" + db::quote(bankName) + ", 1, 4)", big5("高雄")},
        {"SUBSTR(" + db::quote(bankName) + ", 1, 3)", big5("高雄").substr(0, 3)},
        {"SUBSTR(" + db::quote(bankName) + ", 5, 8)", big5("銀行")},
    };
    for (const FunctionCase& c : cases)
        EXPECT_EQ(evaluate(c.expression), c.expected) << c.expression;
}

TEST_F(ServerFunctions, ABillWithoutStampCountsAsUnprocessedWhetherEmptyOrNull)
{
    auto& connection = database_.connection();
    connection.execute("INSERT INTO PAY_MASTER (MASTERBILLID, BANK_DATE) VALUES ('B1', NULL)");
    connection.execute("INSERT INTO PAY_MASTER (MASTERBILLID, BANK_DATE) VALUES ('B2', '')");
    connection.execute("INSERT INTO PAY_MASTER (MASTERBILLID, BANK_DATE) VALUES ('B3', '2016/02/29')");

    const db::RecordSet open =
        connection.query("SELECT MASTERBILLID FROM PAY_MASTER WHERE STRLEN(BANK_DATE) = 0 ORDER BY 1");
    ASSERT_EQ(open.rowCount(), 2u);
    EXPECT_EQ(open.text(0, 0), "B1");
    EXPECT_EQ(open.text(1, 0), "B2");
    const db::RecordSet done = connection.query("SELECT MASTERBILLID FROM PAY_MASTER WHERE STRLEN(BANK_DATE) > 0");
    ASSERT_EQ(done.rowCount(), 1u);
    EXPECT_EQ(done.text(0, 0), "B3");
}

TEST_F(ServerFunctions, SubstrFillsNarrowColumnsFromWiderOnes)
{
    auto& connection = database_.connection();
    connection.execute("CREATE TABLE PREFIXES (BANK_ID VARCHAR(20), BANK_ID2 VARCHAR(3))");
    connection.execute("INSERT INTO PREFIXES (BANK_ID) VALUES ('0160022')");
    connection.execute("INSERT INTO PREFIXES (BANK_ID) VALUES (NULL)");
    connection.execute("UPDATE PREFIXES SET BANK_ID2 = SUBSTR(BANK_ID, 1, 3)");

    const db::RecordSet rows = connection.query("SELECT BANK_ID2 FROM PREFIXES ORDER BY BANK_ID NULLS FIRST");
    ASSERT_EQ(rows.rowCount(), 2u);
    EXPECT_FALSE(rows.isNull(0, 0));
    EXPECT_EQ(rows.text(0, 0), "");
    EXPECT_EQ(rows.text(1, 0), "016");
}

// The desk's statements write STRLEN and SUBSTR(s,1,n) with the server's built-in functions;
// both forms give the same on every kind of text, the longest the declarations take included.
TEST_F(ServerFunctions, BuiltInFormsAgreeWithTheFunctions)
{
    const std::vector<std::string> texts{"NULL",
                                         "''",
                                         "' '",
                                         "'2016/02/29'",
                                         "'01'",
                                         db::quote(big5("高雄銀行")),
                                         db::quote("\xA5\x5F"
                                                   "12"),
                                         db::quote(std::string(255, 'x'))};
    for (const std::string& t : texts) {
        EXPECT_EQ(evaluate("STRLEN(" + t + ")"), evaluate(db::byteLength(t))) << t;
        for (int n : {3, 7})
            EXPECT_EQ(evaluate("SUBSTR(" + t + ",1," + std::to_string(n) + ")"), evaluate(db::leadingBytes(t, n))) << t;
    }
    EXPECT_EQ(evaluate("STRLEN(" + db::quote(std::string(255, 'x')) + ")"), "255");
}

// The functions are declared for texts of up to 255 bytes, not 32765: each call passes its
// argument and result at the declared length.
TEST_F(ServerFunctions, DeclaredForTextsOfUpTo255Bytes)
{
    const db::RecordSet lengths = database_.connection().query(
        "SELECT TRIM(A.RDB$FUNCTION_NAME), A.RDB$ARGUMENT_POSITION, F.RDB$FIELD_LENGTH FROM RDB$FUNCTION_ARGUMENTS A "
        "JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = A.RDB$FIELD_SOURCE WHERE A.RDB$FUNCTION_NAME IN ('STRLEN', 'SUBSTR') "
        "AND F.RDB$FIELD_TYPE = 37 ORDER BY 1, 2");
    ASSERT_EQ(lengths.rowCount(), 3u); // STRLEN's text, SUBSTR's result and text
    for (std::size_t r = 0; r < lengths.rowCount(); ++r)
        EXPECT_EQ(lengths.text(r, 2), "255") << lengths.text(r, 0) << " " << lengths.text(r, 1);
}

} // namespace
