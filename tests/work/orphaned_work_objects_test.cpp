// Work tables and views of workstations that are gone are dropped by the next run prologue of
// any clerk; those of attachments still alive stay, also when the clerk running the prologue
// cannot see them in the monitoring view.
#include "work/orphaned_work_objects.h"
#include "support/recording.h"
#include "support/test_database.h"
#include "work/work_tables.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using testing_support::RecordingProgress;
using testing_support::TempFolder;
using testing_support::TestDatabase;

namespace {

bool relationExists(db::Executor& database, const std::string& name)
{
    return !database.query("SELECT RDB$RELATION_NAME FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = " + db::quote(name))
                .isEmpty();
}

// One clerk's running program: its own attachment (as `user`), its work tables named with its
// attachment's suffix, a run that made the view and the four tables.
class Workstation {
public:
    Workstation(const db::ConnectionParams& params, const std::string& clock)
        : connection_(std::make_unique<db::Connection>(params)),
          tables_(std::make_unique<work::WorkTables>(*connection_, work::connectionSuffix(connection_->connectionId())))
    {
        tables_->setClock([clock] { return clock; });
    }

    db::Connection& database() { return *connection_; }

    // A run prologue, then the run's view and tables, as a remittance confirm makes them.
    void run()
    {
        tables_->prologue(progress_, true);
        const work::WorkNames& n = tables_->names();
        for (const std::string* table : {&n.tableA, &n.tableB, &n.tableC, &n.tableD})
            connection_->execute("CREATE TABLE " + *table + " (MASTERBILLID VARCHAR(20))");
        connection_->execute("CREATE VIEW " + n.viewA + " AS SELECT MASTERBILLID FROM " + n.tableA);
        names_ = n;
    }

    std::vector<std::string> objects() const
    {
        return {names_.viewA, names_.tableA, names_.tableB, names_.tableC, names_.tableD};
    }

    // The program is killed: the attachment ends, nothing of the run is dropped.
    void kill()
    {
        tables_.reset();
        connection_.reset();
    }

private:
    TempFolder exe_;
    RecordingProgress progress_;
    std::unique_ptr<db::Connection> connection_;
    std::unique_ptr<work::WorkTables> tables_;
    work::WorkNames names_;
};

class OrphanedWorkObjectsTest : public ::testing::Test {
protected:
    TestDatabase books;

    bool onServer() const { return !books.params().embedded(); }

    // A clerk's log-in that is neither SYSDBA nor the database's owner: on a server the user is
    // made by SYSDBA; the embedded engine takes the name as given. Either way SYSDBA grants
    // what a clerk's run needs to make its work tables.
    db::ConnectionParams ordinaryClerk(const std::string& user)
    {
        db::ConnectionParams params = books.params();
        params.user = user;
        if (onServer()) {
            params.password = "pw" + user;
            books.connection().execute("CREATE OR ALTER USER " + user + " PASSWORD " + db::quote(params.password));
        }
        books.connection().execute("GRANT CREATE TABLE TO USER " + user);
        books.connection().execute("GRANT CREATE VIEW TO USER " + user);
        return params;
    }

    std::size_t existing(Workstation& observer, const std::vector<std::string>& names)
    {
        std::size_t count = 0;
        for (const std::string& name : names)
            count += relationExists(observer.database(), name) ? 1 : 0;
        return count;
    }

    void TearDown() override
    {
        if (onServer()) {
            for (const char* user : {"CLERK1", "CLERK2"}) {
                try {
                    books.connection().execute(std::string("DROP USER ") + user);
                } catch (const std::exception&) {
                    // not made by this case
                }
            }
        }
    }
};

TEST_F(OrphanedWorkObjectsTest, KilledWorkstationsViewAndTablesGoAtTheNextRunOfAnyClerk)
{
    Workstation killed(books.params(), "080000");
    killed.run();
    const std::vector<std::string> leftBehind = killed.objects();
    Workstation alive(books.params(), "080001");
    alive.run();
    killed.kill();

    Workstation clerk(books.params(), "090000");
    ASSERT_EQ(existing(clerk, leftBehind), 5u);
    clerk.run();
    EXPECT_EQ(existing(clerk, leftBehind), 0u) << "the killed workstation's view and tables stay";
    EXPECT_EQ(existing(clerk, alive.objects()), 5u) << "a live workstation's run lost its tables";
    EXPECT_EQ(existing(clerk, clerk.objects()), 5u);
}

TEST_F(OrphanedWorkObjectsTest, OrdinaryClerkSweepsOnlyWhatItCanJudge)
{
    const db::ConnectionParams clerk1Login = ordinaryClerk("CLERK1");
    const db::ConnectionParams clerk2Login = ordinaryClerk("CLERK2");
    Workstation clerk1Alive(clerk1Login, "080000");
    clerk1Alive.run();
    Workstation clerk1Killed(clerk1Login, "080001");
    clerk1Killed.run();
    const std::vector<std::string> clerk1LeftBehind = clerk1Killed.objects();
    Workstation sysdbaKilled(books.params(), "080002");
    sysdbaKilled.run();
    const std::vector<std::string> sysdbaLeftBehind = sysdbaKilled.objects();
    clerk1Killed.kill();
    sysdbaKilled.kill();

    // CLERK2 sees only its own attachments: CLERK1's live one is not in its monitoring view,
    // so it must not take CLERK1's tables for orphans (nor anyone else's).
    Workstation clerk2(clerk2Login, "090000");
    const db::RecordSet seen = clerk2.database().query("SELECT MON$USER FROM MON$ATTACHMENTS");
    for (std::size_t r = 0; r < seen.rowCount(); ++r)
        ASSERT_EQ(seen.text(r, 0).substr(0, 6), "CLERK2") << "the case needs a clerk who sees only his own";
    clerk2.run();
    EXPECT_EQ(existing(clerk2, clerk1Alive.objects()), 5u) << "a live clerk's tables were dropped";
    EXPECT_EQ(existing(clerk2, clerk1LeftBehind), 5u);
    EXPECT_EQ(existing(clerk2, sysdbaLeftBehind), 5u);
    EXPECT_EQ(existing(clerk2, clerk2.objects()), 5u);

    // CLERK1 sees every attachment of its own name: its killed workstation's objects go.
    Workstation clerk1Again(clerk1Login, "090001");
    clerk1Again.run();
    EXPECT_EQ(existing(clerk1Again, clerk1LeftBehind), 0u);
    EXPECT_EQ(existing(clerk1Again, clerk1Alive.objects()), 5u);
    EXPECT_EQ(existing(clerk1Again, clerk2.objects()), 5u);
    EXPECT_EQ(existing(clerk1Again, sysdbaLeftBehind), 5u);

    // SYSDBA sees every attachment: the rest of the orphans go, every live run's tables stay.
    Workstation sysdba(books.params(), "090002");
    sysdba.run();
    EXPECT_EQ(existing(sysdba, sysdbaLeftBehind), 0u);
    for (Workstation* live : std::vector<Workstation*>{&clerk1Alive, &clerk2, &clerk1Again})
        EXPECT_EQ(existing(sysdba, live->objects()), 5u);
}

TEST(WorkObjectNames, CarryTheAttachmentIdInBase36)
{
    const std::pair<const char*, long long> cases[] = {
        {"TMP_A134012_2Z", 107},
        {"VIEW_A000000_1", 1},
        {"TMP_D235959_10", 36},
        {"TMP_B090507_1Y2P0IJ32E8E7", 9223372036854775807LL},
    };
    for (const auto& [name, id] : cases) {
        ASSERT_TRUE(work::attachmentOfWorkObject(name).has_value()) << name;
        EXPECT_EQ(*work::attachmentOfWorkObject(name), id) << name;
    }
    for (const char* other : {"TMP_E134012_2Z", "TMP_A13401_2Z", "TMP_A134012", "TMP_A134012_", "TMP_A134012_2z",
                              "VIEW_B134012_1", "PAY_MASTER", "TMP_A134012_ZZZZZZZZZZZZZZ"})
        EXPECT_FALSE(work::attachmentOfWorkObject(other).has_value()) << other;
}

} // namespace
