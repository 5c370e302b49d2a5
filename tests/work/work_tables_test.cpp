#include "work/work_tables.h"
#include "support/recording.h"
#include "support/test_database.h"
#include "text/error.h"

#include <gtest/gtest.h>

#include <fstream>

using testing_support::RecordingProgress;
using testing_support::TempFolder;
using testing_support::TestDatabase;

namespace {

bool relationExists(db::Executor& database, const std::string& name)
{
    return !database.query("SELECT RDB$RELATION_NAME FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = " + db::quote(name))
                .isEmpty();
}

class WorkTablesTest : public ::testing::Test {
protected:
    TestDatabase database;
    TempFolder exeFolder;
    RecordingProgress progress;
    work::WorkTables tables{database.connection(), "_7"};
    int drops = 0;

    void SetUp() override
    {
        tables.setClock([] { return std::string("090507"); });
        tables.setOnDrop([this] { ++drops; });
    }
};

TEST_F(WorkTablesTest, NamesTakePrefixTimeAndConnectionSuffix)
{
    tables.prologue(progress, true);
    EXPECT_EQ(tables.names().viewA, "VIEW_A090507_7");
    EXPECT_EQ(tables.names().tableA, "TMP_A090507_7");
    EXPECT_EQ(tables.names().tableB, "TMP_B090507_7");
    EXPECT_EQ(tables.names().tableC, "TMP_C090507_7");
    EXPECT_EQ(tables.names().tableD, "TMP_D090507_7");
    // Firebird 3 identifiers hold at most 31 bytes, even with a long connection id.
    EXPECT_EQ(work::connectionSuffix(35), "_Z");
    EXPECT_EQ(work::connectionSuffix(36), "_10");
    work::WorkTables longSuffix(database.connection(), work::connectionSuffix(9223372036854775807LL));
    longSuffix.setClock([] { return std::string("235959"); });
    EXPECT_LE(longSuffix.formName("VIEW_A").size(), 31u);
}

TEST_F(WorkTablesTest, FirstPrologueFindsNothingAndSecondDropsLeftoversOfAnEarlierRun)
{
    // Objects an earlier program run left behind under the names this run will use.
    database.connection().execute("CREATE TABLE TMP_A090507_7 (X INTEGER)");
    database.connection().execute("CREATE TABLE TMP_D090507_7 (X INTEGER)");
    database.connection().execute("CREATE VIEW VIEW_A090507_7 AS SELECT X FROM TMP_A090507_7");

    tables.prologue(progress, true);

    EXPECT_EQ(drops, 2);
    EXPECT_FALSE(relationExists(database.connection(), "VIEW_A090507_7"));
    EXPECT_FALSE(relationExists(database.connection(), "TMP_A090507_7"));
    EXPECT_FALSE(relationExists(database.connection(), "TMP_D090507_7"));
    EXPECT_EQ(progress.gaugeValue(), 0);
    EXPECT_EQ(progress.gaugeMaximum(), 10);
    EXPECT_EQ(progress.clears, 1);
}

TEST_F(WorkTablesTest, PrologueWithoutTableDKeepsTheOldNameAndDropsTheOldTable)
{
    tables.prologue(progress, true);
    database.connection().execute("CREATE TABLE " + tables.names().tableD + " (X INTEGER)");
    database.connection().execute("CREATE TABLE " + tables.names().tableA + " (X INTEGER)");

    tables.setClock([] { return std::string("101010"); });
    tables.prologue(progress, false);

    EXPECT_EQ(tables.names().tableA, "TMP_A101010_7");
    EXPECT_EQ(tables.names().tableD, "TMP_D090507_7");
    EXPECT_FALSE(relationExists(database.connection(), "TMP_D090507_7"));
    EXPECT_FALSE(relationExists(database.connection(), "TMP_A090507_7"));
}

TEST_F(WorkTablesTest, PrologueDeletesTheFilesItWasGiven)
{
    for (const char* name : {"a.cds", "b.cds", "kept.ini"})
        std::ofstream(exeFolder.path() + name) << "x";
    work::WorkTables withFiles{database.connection(), "_8", {exeFolder.path() + "a.cds", exeFolder.path() + "b.cds"}};
    withFiles.prologue(progress, false);
    EXPECT_FALSE(std::ifstream(exeFolder.path() + "a.cds").good());
    EXPECT_FALSE(std::ifstream(exeFolder.path() + "b.cds").good());
    EXPECT_TRUE(std::ifstream(exeFolder.path() + "kept.ini").good());
    withFiles.dropAll();
}

TEST_F(WorkTablesTest, ARefusedDropStopsAndKeepsLaterObjectsAndNames)
{
    tables.prologue(progress, true);
    db::Connection& connection = database.connection();
    connection.execute("CREATE TABLE " + tables.names().tableA + " (X INTEGER)");
    connection.execute("CREATE TABLE " + tables.names().tableB + " (X INTEGER)");
    // A view of someone else's that depends on table A makes its drop fail.
    connection.execute("CREATE VIEW OTHER_VIEW AS SELECT X FROM " + tables.names().tableA);

    EXPECT_THROW(tables.dropAll(), text::UserError);
    EXPECT_TRUE(relationExists(connection, tables.names().tableA));
    EXPECT_TRUE(relationExists(connection, tables.names().tableB));
    EXPECT_EQ(tables.names().tableB, "TMP_B090507_7");
}

TEST(WorkTablesAcrossConnections, RunsStartedInTheSameSecondKeepTheirOwnTables)
{
    TestDatabase database;
    auto second = database.connectAgain();
    RecordingProgress progress;
    work::WorkTables first(database.connection(), work::connectionSuffix(database.connection().connectionId()));
    work::WorkTables other(*second, work::connectionSuffix(second->connectionId()));
    first.setClock([] { return std::string("120000"); });
    other.setClock([] { return std::string("120000"); });

    first.prologue(progress, true);
    database.connection().execute("CREATE TABLE " + first.names().tableA + " (X INTEGER)");
    other.prologue(progress, true);
    second->execute("CREATE TABLE " + other.names().tableA + " (X INTEGER)");

    EXPECT_NE(first.names().tableA, other.names().tableA);
    EXPECT_TRUE(relationExists(database.connection(), first.names().tableA));
    EXPECT_TRUE(relationExists(database.connection(), other.names().tableA));
}

} // namespace
