// The desk's presses under real roles: a clerk lists and remits through the very press the page
// calls, and the journal names that clerk and role; a clerk's clearing and re-remitting are
// refused by the database; nobody changes or deletes a journal row.
#include "support/desk_users.h"
#include "workstation.h"

#include <gtest/gtest.h>

#include <exception>
#include <string>

namespace {

using testing_support::connectAs;
using testing_support::deskUserName;
using testing_support::TestDatabase;
using namespace server_tests;

class DeskRolesPress : public ::testing::Test {
protected:
    void SetUp() override { bills_.addBills(1, 3); }

    TestDatabase books_;
    SharedBooks bills_{books_.connection()};
};

TEST_F(DeskRolesPress, AClerkListsAndRemitsAndTheJournalNamesTheClerkAndRole)
{
    const std::string user = deskUserName("DESK_CLERK");
    Workstation clerk(connectAs(books_, user, "DESK_CLERK"));
    clerk.confirm();
    ASSERT_EQ(clerk.grid.rowCount(), 3u) << testing::PrintToString(clerk.messages.informed);
    const remittance::RemitResult result = clerk.remitAll("2024/02/01");
    ASSERT_EQ(result.outcome, remittance::RemitResult::Outcome::Remitted) << testing::PrintToString(clerk.messages.informed);
    EXPECT_EQ(result.stamped.size(), 3u);
    EXPECT_EQ(books_.connection().lookup("SELECT DB_USER || '/' || DB_ROLE FROM PAY_RUN WHERE RUN_ID = " +
                                         std::to_string(result.runId)),
              user + "/DESK_CLERK");
}

TEST_F(DeskRolesPress, AClerksRemitAgainIsRefusedAndASupervisorsGoesThrough)
{
    books_.connection().execute("UPDATE PAY_MASTER SET BANK_DATE = '2024/01/25'");
    Workstation clerk(connectAs(books_, deskUserName("DESK_CLERK"), "DESK_CLERK"));
    clerk.messages.answers = {true}; // "yes" to remitting remitted rows again
    clerk.confirm(remittance::RemittanceState::Remitted);
    ASSERT_EQ(clerk.grid.rowCount(), 3u);
    EXPECT_THROW(clerk.remitAll("2024/02/01"), std::exception);
    EXPECT_EQ(books_.connection().lookup("SELECT COUNT(*) FROM PAY_MASTER WHERE BANK_DATE = '2024/01/25'"), "3");

    Workstation supervisor(connectAs(books_, deskUserName("DESK_SUPERVISOR"), "DESK_SUPERVISOR"));
    supervisor.messages.answers = {true};
    supervisor.confirm(remittance::RemittanceState::Remitted);
    const remittance::RemitResult result = supervisor.remitAll("2024/02/01");
    EXPECT_EQ(result.outcome, remittance::RemitResult::Outcome::Remitted);
    EXPECT_EQ(books_.connection().lookup("SELECT COUNT(*) FROM PAY_MASTER WHERE BANK_DATE = '2024/02/01'"), "3");
}

TEST_F(DeskRolesPress, NobodyChangesOrDeletesAJournalRow)
{
    Workstation station(books_);
    station.confirm();
    const remittance::RemitResult result = station.remitAll("2024/02/01");
    ASSERT_EQ(result.outcome, remittance::RemitResult::Outcome::Remitted);
    const std::string run = std::to_string(result.runId);
    const std::string statements[] = {
        "UPDATE PAY_RUN SET BILL_COUNT = 0 WHERE RUN_ID = " + run,
        "DELETE FROM PAY_RUN WHERE RUN_ID = " + run,
        "UPDATE PAY_RUN_BILL SET STAMP_AFTER = NULL WHERE RUN_ID = " + run,
        "DELETE FROM PAY_RUN_BILL WHERE RUN_ID = " + run,
        "UPDATE PAY_RUN_FILE SET RECORDS = 0 WHERE RUN_ID = " + run,
        "DELETE FROM PAY_RUN_FILE WHERE RUN_ID = " + run,
    };
    for (const char* role : {"DESK_CLERK", "DESK_SUPERVISOR", "DESK_AUDITOR", ""}) {
        std::unique_ptr<db::Connection> connection =
            *role ? connectAs(books_, deskUserName(role), role) : books_.connectAgain(); // "" : the administrator
        for (const std::string& sql : statements)
            EXPECT_THROW(connection->execute(sql), std::exception) << (*role ? role : "SYSDBA") << ": " << sql;
    }
    EXPECT_EQ(books_.connection().lookup("SELECT BILL_COUNT FROM PAY_RUN WHERE RUN_ID = " + run), "3");
}

} // namespace
