// Who may do what, enforced by the database: each statement is run directly as a clerk, a
// supervisor and an auditor (real users with passwords on the test server), as someone with a
// SQL tool and the same credentials would, and must be allowed or refused as the roles say.
#include "support/desk_users.h"
#include "support/test_database.h"
#include "work/desk_role.h"

#include <gtest/gtest.h>

#include <exception>
#include <map>
#include <memory>
#include <string>

namespace {

using testing_support::connectAs;
using testing_support::deskUserName;
using testing_support::TestDatabase;

class DeskRoles : public ::testing::Test {
protected:
    void SetUp() override
    {
        db::Connection& admin = database_.connection();
        admin.execute("INSERT INTO PROVIDER (PROVIDER_ID, PROVIDER_NAME) VALUES ('P1', 'Provider')");
        // B1 not yet paid, B2 remitted on 2026/12/01; the same two as joint bills.
        admin.execute("INSERT INTO PAY_MASTER (MASTERBILLID, PROVIDER_ID, BANK_IO) VALUES ('B1', 'P1', 100)");
        admin.execute("INSERT INTO PAY_MASTER (MASTERBILLID, PROVIDER_ID, BANK_IO, BANK_DATE) "
                      "VALUES ('B2', 'P1', 200, '2026/12/01')");
        admin.execute(
            "INSERT INTO PAY_MASTERU (SECBILLID, STORE_ID, PROVIDER_ID, BANK_IO) VALUES ('B1', '01', 'P1', 100)");
        admin.execute("INSERT INTO PAY_MASTERU (SECBILLID, STORE_ID, PROVIDER_ID, BANK_IO, BANK_DATE) "
                      "VALUES ('B2', '01', 'P1', 200, '2026/12/01')");
    }

    // Runs the statement as `role` in a transaction that is rolled back: whether the database
    // let it through is all that is asked.
    bool allowed(const std::string& role, const std::string& sql)
    {
        std::unique_ptr<db::Connection>& connection = connections_[role];
        if (!connection)
            connection = connectAs(database_, deskUserName(role), role);
        db::Transaction transaction(*connection);
        try {
            if (sql.rfind("SELECT", 0) == 0)
                transaction.query(sql);
            else
                transaction.execute(sql);
        } catch (const std::exception& refused) {
            lastRefusal_ = refused.what();
            return false;
        }
        transaction.rollback();
        return true;
    }

    TestDatabase database_;
    std::map<std::string, std::unique_ptr<db::Connection>> connections_;
    std::string lastRefusal_;
};

struct Case {
    const char* what;
    const char* sql;
    bool clerk, supervisor, auditor;
};

const Case kCases[] = {
    {"read the books", "SELECT COUNT(*) FROM PAY_MASTER", true, true, true},
    {"read the joint books", "SELECT COUNT(*) FROM PAY_MASTERU", true, true, true},
    {"list providers and accounts", "SELECT COUNT(*) FROM PROVIDER P JOIN BANK_ACCOUNT A ON A.ACNT_ID = P.ACNT_ID",
     true, true, true},
    {"use the text functions", "SELECT STRLEN(BANK_DATE), SUBSTR(MASTERBILLID, 1, 1) FROM PAY_MASTER", true, true,
     true},
    {"stamp an unpaid bill", "UPDATE PAY_MASTER SET BANK_DATE = '2026/12/10' WHERE MASTERBILLID = 'B1'", true, true,
     false},
    {"stamp an unpaid joint bill", "UPDATE PAY_MASTERU SET BANK_DATE = '2026/12/10' WHERE SECBILLID = 'B1'", true, true,
     false},
    {"clear a remittance date", "UPDATE PAY_MASTER SET BANK_DATE = NULL WHERE MASTERBILLID = 'B2'", false, true, false},
    {"clear it to an empty text", "UPDATE PAY_MASTER SET BANK_DATE = '' WHERE MASTERBILLID = 'B2'", false, true, false},
    {"clear a joint remittance date", "UPDATE PAY_MASTERU SET BANK_DATE = NULL WHERE SECBILLID = 'B2'", false, true,
     false},
    {"remit a remitted bill again", "UPDATE PAY_MASTER SET BANK_DATE = '2026/12/10' WHERE MASTERBILLID = 'B2'", false,
     true, false},
    {"remit a remitted joint bill again", "UPDATE PAY_MASTERU SET BANK_DATE = '2026/12/10' WHERE SECBILLID = 'B2'",
     false, true, false},
    {"change a bill's amount", "UPDATE PAY_MASTER SET BANK_IO = 1 WHERE MASTERBILLID = 'B1'", false, false, false},
    {"delete a bill", "DELETE FROM PAY_MASTER WHERE MASTERBILLID = 'B1'", false, false, false},
    {"add a bill", "INSERT INTO PAY_MASTER (MASTERBILLID) VALUES ('B9')", false, false, false},
    {"change a provider's bank account", "UPDATE PROVIDER SET BANK_ACCID = '1' WHERE PROVIDER_ID = 'P1'", false, false,
     false},
    {"set a missing remittance fee", "UPDATE PROVIDER SET ACNT_AMT = 0 WHERE ACNT_AMT IS NULL", true, true, false},
    {"create a work table", "CREATE TABLE TMP_A000000_ROLE (X INTEGER)", true, true, true},
    {"create a work view over the books", "CREATE VIEW VIEW_A000000_ROLE AS SELECT MASTERBILLID FROM PAY_MASTER", true,
     true, true},
};

TEST_F(DeskRoles, TheDatabaseAllowsEachRoleItsOwnWorkAndRefusesTheRest)
{
    for (const Case& c : kCases) {
        EXPECT_EQ(allowed("DESK_CLERK", c.sql), c.clerk) << "clerk: " << c.what << " " << lastRefusal_;
        EXPECT_EQ(allowed("DESK_SUPERVISOR", c.sql), c.supervisor) << "supervisor: " << c.what << " " << lastRefusal_;
        EXPECT_EQ(allowed("DESK_AUDITOR", c.sql), c.auditor) << "auditor: " << c.what << " " << lastRefusal_;
    }
}

TEST_F(DeskRoles, AClerkRefusedAClearingLeavesTheStampAsItWas)
{
    auto clerk = connectAs(database_, deskUserName("DESK_CLERK"), "DESK_CLERK");
    try {
        clerk->execute("UPDATE PAY_MASTER SET BANK_DATE = NULL WHERE PROVIDER_ID = 'P1'");
        FAIL() << "a clerk cleared remittance dates";
    } catch (const std::exception& refused) {
        EXPECT_NE(std::string(refused.what()).find("DESK_SUPERVISOR"), std::string::npos) << refused.what();
    }
    EXPECT_EQ(database_.connection().lookup("SELECT BANK_DATE FROM PAY_MASTER WHERE MASTERBILLID = 'B2'"),
              "2026/12/01");
}

TEST_F(DeskRoles, WorkTablesOfARunAreCreatedFilledAndDroppedByTheirOwner)
{
    auto clerk = connectAs(database_, deskUserName("DESK_CLERK"), "DESK_CLERK");
    clerk->execute(
        "CREATE VIEW VIEW_A000001_T AS SELECT MASTERBILLID, BANK_DATE FROM PAY_MASTER WHERE STRLEN(BANK_DATE) = 0");
    clerk->execute("CREATE TABLE TMP_A000001_T (MASTERBILLID VARCHAR(20))");
    clerk->execute("INSERT INTO TMP_A000001_T SELECT MASTERBILLID FROM VIEW_A000001_T");
    EXPECT_EQ(clerk->lookup("SELECT COUNT(*) FROM TMP_A000001_T"), "1");
    clerk->execute("DROP VIEW VIEW_A000001_T");
    clerk->execute("DROP TABLE TMP_A000001_T");
    EXPECT_EQ(database_.connection().lookup(
                  "SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME IN ('VIEW_A000001_T', 'TMP_A000001_T')"),
              "0");
}

TEST_F(DeskRoles, TheConnectionKnowsItsUserAndRole)
{
    const std::string user = deskUserName("DESK_AUDITOR");
    auto auditor = connectAs(database_, user, "DESK_AUDITOR");
    const work::DeskRole role = work::readDeskRole(*auditor);
    EXPECT_EQ(role.user(), user);
    EXPECT_EQ(role.kind(), work::DeskRole::Kind::Auditor);
    EXPECT_FALSE(role.may(work::DeskAction::Remit));
}

} // namespace
