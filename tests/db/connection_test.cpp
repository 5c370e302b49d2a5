#include "db/connection.h"

#include "platform/ini_file.h"
#include "support/test_database.h"
#include "text/error.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>

namespace {

using testing_support::TempFolder;
using testing_support::TestDatabase;

std::string errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const text::UserError& e) {
        return e.what();
    }
    return "(no error)";
}

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

TEST(ConnectionParams, TellsFilePathsFromServerAddresses)
{
    const struct {
        const char* database;
        bool embedded;
    } cases[] = {
        {"/var/lib/desk/kalder.fdb", true},
        {"kalder.fdb", true},
        {"./data/kalder.fdb", true},
        {"C:\\Data\\KALDER.GDB", true},
        {"c:/data/kalder.fdb", true},
        {"/data/odd:name.fdb", true},
        {"server:/var/lib/desk/kalder.fdb", false},
        {"192.168.1.5:C:\\Data\\KALDER.GDB", false},
        {"server/3051:/var/lib/desk/kalder.fdb", false},
        {"localhost:kalder", false},
    };
    for (const auto& c : cases) {
        db::ConnectionParams params;
        params.database = c.database;
        EXPECT_EQ(params.embedded(), c.embedded) << c.database;
    }
}

TEST(ConnectionDefinition, ReadsTheKalderSection)
{
    TempFolder folder;
    platform::IniFile ini(folder.path() + "connections.ini");
    ini.write("Other", "Database", "/elsewhere.fdb");
    ini.write("Kalder", "Database", "server/3051:/data/kalder.fdb");
    ini.write("Kalder", "User", "CLERK");
    ini.write("Kalder", "Password", "secret");
    ini.write("Kalder", "Role", "PAYABLES");
    ini.write("Kalder", "Dialect", "3");
    db::ConnectionParams params = db::readConnectionDefinition(folder.path() + "connections.ini");
    EXPECT_EQ(params.database, "server/3051:/data/kalder.fdb");
    EXPECT_EQ(params.user, "CLERK");
    EXPECT_EQ(params.password, "secret");
    EXPECT_EQ(params.role, "PAYABLES");
    EXPECT_EQ(params.dialect, 3);
    EXPECT_FALSE(params.embedded());
}

TEST(ConnectionDefinition, MissingFileSectionOrDatabaseNamesTheFileAndTheDefinition)
{
    TempFolder folder;
    const std::string path = folder.path() + "connections.ini";
    std::string missingFile = errorOf([&] { db::readConnectionDefinition(path); });
    EXPECT_TRUE(contains(missingFile, path)) << missingFile;
    EXPECT_TRUE(contains(missingFile, "\"Kalder\"")) << missingFile;

    platform::IniFile(path).write("Other", "Database", "/x.fdb");
    std::string missingSection = errorOf([&] { db::readConnectionDefinition(path); });
    EXPECT_TRUE(contains(missingSection, path)) << missingSection;
    EXPECT_TRUE(contains(missingSection, "\"Kalder\"")) << missingSection;

    platform::IniFile(path).write("Kalder", "User", "SYSDBA");
    std::string noDatabase = errorOf([&] { db::readConnectionDefinition(path); });
    EXPECT_TRUE(contains(noDatabase, "Database")) << noDatabase;

    platform::IniFile(path).write("Kalder", "Database", "/x.fdb");
    platform::IniFile(path).write("Kalder", "Dialect", "three");
    std::string badDialect = errorOf([&] { db::readConnectionDefinition(path); });
    EXPECT_TRUE(contains(badDialect, "'three'")) << badDialect;
}

TEST(Connection, AMissingDatabaseFileReportsTheDriversText)
{
    TempFolder folder;
    db::ConnectionParams params;
    params.database = folder.path() + "missing.fdb";
    std::string error = errorOf([&] { db::Connection connection(params); });
    EXPECT_TRUE(contains(error, "missing.fdb")) << error;
    EXPECT_TRUE(contains(error, "No such file or directory")) << error;
}

TEST(Connection, AnUnreachableServerFailsFastWithTheDriversText)
{
    db::ConnectionParams params;
    params.database = "127.0.0.1/3999:/x.fdb";
    params.password = "masterkey";
    auto start = std::chrono::steady_clock::now();
    std::string error = errorOf([&] { db::Connection connection(params); });
    auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(contains(error, "Unable to complete network request to host \"127.0.0.1\"")) << error;
    EXPECT_LT(elapsed, std::chrono::seconds(10));
}

TEST(Connection, ConnectsThroughTheWrittenDefinition)
{
    TestDatabase database;
    TempFolder folder;
    database.writeConnectionFile(folder.path());
    db::Connection connection(db::readConnectionDefinition(folder.path() + "connections.ini"));
    EXPECT_EQ(connection.lookup("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'PROVIDER'"), "1");
    EXPECT_NE(connection.connectionId(), database.connection().connectionId());
}

class ConnectionTest : public ::testing::Test {
protected:
    TestDatabase database;
    db::Connection& connection = database.connection();
};

TEST_F(ConnectionTest, AFailingStatementCarriesTheServersMessage)
{
    std::string syntax = errorOf([&] { connection.execute("selec PROVIDER_ID from PROVIDER"); });
    EXPECT_EQ(syntax, "Dynamic SQL Error\n-SQL error code = -104\n-Token unknown - line 1, column 1\n-selec");

    std::string missingTable = errorOf([&] { connection.query("select X from NO_SUCH_TABLE"); });
    EXPECT_TRUE(contains(missingTable, "Table unknown")) << missingTable;
    EXPECT_TRUE(contains(missingTable, "NO_SUCH_TABLE")) << missingTable;

    // The connection stays usable after a failure.
    EXPECT_EQ(connection.lookup("select 1 from RDB$DATABASE"), "1");
}

TEST_F(ConnectionTest, ExecuteReturnsTheRowsItChanged)
{
    EXPECT_EQ(connection.execute("CREATE TABLE T (ID INTEGER, NAME VARCHAR(10))"), 0);
    // A DDL statement and an insert into its new table, each committed on its own.
    EXPECT_EQ(connection.execute("INSERT INTO T VALUES (1, 'A')"), 1);
    EXPECT_EQ(connection.execute("INSERT INTO T SELECT ID + 1, NAME FROM T"), 1);
    EXPECT_EQ(connection.execute("INSERT INTO T SELECT ID + 2, NAME FROM T"), 2);
    EXPECT_EQ(connection.execute("UPDATE T SET NAME = 'B' WHERE ID > 1"), 3);
    EXPECT_EQ(connection.execute("DELETE FROM T WHERE ID = 99"), 0);
    EXPECT_EQ(connection.execute("select ID from T"), 0);
    EXPECT_EQ(connection.query("select ID from T order by ID").rowCount(), 4u);
}

TEST_F(ConnectionTest, AnAutoCommittedStatementIsVisibleToAnotherConnectionAtOnce)
{
    auto other = database.connectAgain();
    connection.execute(db::SqlLines{"insert into SLAVE_ITEM (STORE_ID, STORE_NAME)", " values ('S01', 'A')"});
    EXPECT_EQ(other->lookup("select STORE_NAME from SLAVE_ITEM where STORE_ID = 'S01'"), "A");
    other->execute("update SLAVE_ITEM set STORE_NAME = 'B' where STORE_ID = 'S01'");
    EXPECT_EQ(connection.lookup("select STORE_NAME from SLAVE_ITEM where STORE_ID = 'S01'"), "B");
}

TEST_F(ConnectionTest, LookupReadsTheFirstColumnOfTheFirstRowOrNothing)
{
    EXPECT_EQ(connection.lookup("select STORE_NAME from SLAVE_ITEM"), "");
    connection.execute("insert into SLAVE_ITEM (STORE_ID, STORE_NAME) values ('S02', 'Two')");
    connection.execute("insert into SLAVE_ITEM (STORE_ID, STORE_NAME) values ('S01', 'One')");
    EXPECT_EQ(connection.lookup("select STORE_NAME, STORE_ID from SLAVE_ITEM order by STORE_ID"), "One");
}

TEST_F(ConnectionTest, TheConnectionIdIsTheServersAndDiffersPerAttachment)
{
    long long id = connection.connectionId();
    EXPECT_GT(id, 0);
    EXPECT_EQ(connection.connectionId(), id);
    EXPECT_NE(database.connectAgain()->connectionId(), id);
}

} // namespace
