// Scripts in the isql style: terminators, SET TERM for PSQL bodies, comments, and quoted
// text that holds terminators.
#include "support/test_database.h"

#include "demo/schema_loader.h"
#include "text/error.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

using testing_support::TempFolder;
using testing_support::TestDatabase;

class ScriptLoader : public ::testing::Test {
protected:
    db::Connection& connection() { return database_.connection(); }
    TestDatabase database_;
};

TEST_F(ScriptLoader, SplitsAtTerminatorsOutsideQuotesAndComments)
{
    demo::runScript(connection(), R"(-- a table for notes; with a semicolon in the comment
CREATE TABLE NOTES (ID INTEGER, BODY VARCHAR(60));
/* a block comment; also with one
   over two lines */
INSERT INTO NOTES VALUES (1, 'one; two');
INSERT INTO NOTES VALUES (2, 'it''s -- no comment /* nor this */');
insert into NOTES values (3, 'last')  ;
COMMIT;
SET SQL DIALECT 3;
)");
    const db::RecordSet rows = connection().query("SELECT ID, BODY FROM NOTES ORDER BY ID");
    ASSERT_EQ(rows.rowCount(), 3u);
    EXPECT_EQ(rows.text(0, 1), "one; two");
    EXPECT_EQ(rows.text(1, 1), "it's -- no comment /* nor this */");
    EXPECT_EQ(rows.text(2, 1), "last");
}

TEST_F(ScriptLoader, SetTermCarriesPsqlBodiesWhole)
{
    demo::runScript(connection(), R"(CREATE TABLE COUNTS (N INTEGER);
SET TERM ^ ;
CREATE PROCEDURE FILL_COUNTS (UPTO INTEGER)
AS
DECLARE I INTEGER = 0;
BEGIN
  WHILE (I < UPTO) DO
  BEGIN
    I = I + 1;
    INSERT INTO COUNTS VALUES (:I); -- one row per step
  END
END^
EXECUTE PROCEDURE FILL_COUNTS(4)^
SET TERM ; ^
INSERT INTO COUNTS VALUES (100);
)");
    EXPECT_EQ(connection().lookup("SELECT COUNT(*) FROM COUNTS"), "5");
    EXPECT_EQ(connection().lookup("SELECT SUM(N) FROM COUNTS"), "110");
}

TEST_F(ScriptLoader, LastStatementNeedsNoTerminator)
{
    demo::runScript(connection(), "CREATE TABLE LONE (X INTEGER);\nINSERT INTO LONE VALUES (7)\n");
    EXPECT_EQ(connection().lookup("SELECT X FROM LONE"), "7");
}

TEST_F(ScriptLoader, AFailingStatementStopsTheScriptAndNamesItsLine)
{
    const std::string script = "CREATE TABLE FIRST_ONE (X INTEGER);\n"
                               "\n"
                               "INSERT INTO NO_SUCH_TABLE VALUES (1);\n"
                               "CREATE TABLE NEVER_MADE (X INTEGER);\n";
    try {
        demo::runScript(connection(), script);
        FAIL() << "the script ran through";
    } catch (const text::UserError& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("NO_SUCH_TABLE"), std::string::npos) << message;
        EXPECT_NE(message.find("line 3"), std::string::npos) << message;
    }
    EXPECT_EQ(connection().lookup("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'FIRST_ONE'"), "1");
    EXPECT_EQ(connection().lookup("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'NEVER_MADE'"), "0");
}

TEST_F(ScriptLoader, CreateSchemaReadsTheGivenFile)
{
    TempFolder folder;
    const std::string path = folder.path() + "extra.sql";
    std::ofstream(path) << "CREATE TABLE FROM_FILE (X INTEGER);\n";
    demo::createSchema(connection(), path);
    EXPECT_EQ(connection().lookup("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'FROM_FILE'"), "1");

    EXPECT_THROW(demo::createSchema(connection(), folder.path() + "missing.sql"), text::UserError);
}

} // namespace
