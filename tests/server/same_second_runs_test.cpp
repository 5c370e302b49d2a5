// Two workstations whose condition confirms fall in the same second: each names its work tables
// with its own connection suffix, so neither run drops or fills the other's tables.
#include "inquiry/inquiry_run.h"
#include "workstation.h"

#include <gtest/gtest.h>

namespace server_tests {
namespace {

class SameSecondRuns : public ::testing::Test {
protected:
    TestDatabase books;
    SharedBooks bills{books.connection()};

    bool exists(const std::string& relation)
    {
        return books.connection().lookup("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = " +
                                         db::quote(relation)) == "1";
    }
    long long rows(const std::string& table)
    {
        return std::stoll(books.connection().lookup("SELECT COUNT(*) FROM " + table));
    }
};

TEST_F(SameSecondRuns, TwoRemittanceConfirmsKeepTheirOwnTables)
{
    bills.addBills(1, 5);
    Workstation first(books, "093015");
    Workstation second(books, "093015");

    first.confirm();
    second.confirm();

    const work::WorkNames& a = first.tables.names();
    const work::WorkNames& b = second.tables.names();
    EXPECT_NE(a.tableA, b.tableA);
    EXPECT_NE(a.viewA, b.viewA);
    EXPECT_EQ(a.tableA.substr(0, 11), "TMP_A093015");
    EXPECT_EQ(b.tableA.substr(0, 11), "TMP_A093015");
    // The second confirm's prologue dropped only its own names: the first run is intact.
    for (const std::string* name :
         {&a.viewA, &a.tableA, &a.tableB, &a.tableC, &a.tableD, &b.viewA, &b.tableA, &b.tableB, &b.tableC, &b.tableD})
        EXPECT_TRUE(exists(*name)) << *name;
    EXPECT_EQ(rows(a.tableA), 5);
    EXPECT_EQ(rows(b.tableA), 5);
    EXPECT_EQ(first.grid.rowCount(), 5u);
    EXPECT_TRUE(remittance::listStillOnScreen(first.desk));
    EXPECT_TRUE(remittance::listStillOnScreen(second.desk));

    // A third run of the first workstation in the same second replaces only its own tables.
    first.confirm();
    EXPECT_TRUE(exists(b.tableA));
    EXPECT_EQ(rows(b.tableA), 5);
    EXPECT_TRUE(remittance::listStillOnScreen(second.desk));

    // Closing one window drops its tables and leaves the other's.
    first.tables.dropAll();
    EXPECT_FALSE(exists(a.tableA));
    EXPECT_FALSE(exists(a.viewA));
    EXPECT_TRUE(exists(b.tableA));
    EXPECT_TRUE(exists(b.viewA));
}

TEST_F(SameSecondRuns, AnInquiryOnOneWorkstationLeavesTheOtherRemittanceRun)
{
    bills.addBills(1, 3);
    Workstation clerk(books, "120000");
    Workstation inquirer(books, "120000");
    clerk.confirm();

    db::RecordSet inquiryGrid;
    inquiry::InquiryDesk services{inquirer.database(), inquirer.tables, inquirer.progress, inquirer.messages,
                                  inquiryGrid};
    inquiry::InquiryConditions conditions;
    conditions.dateFromText = "2024/01/01";
    conditions.dateToText = "2024/01/31";
    inquiry::runOwnStore(conditions, services);
    EXPECT_EQ(inquiryGrid.rowCount(), 3u);

    EXPECT_NE(inquirer.tables.names().tableA, clerk.tables.names().tableA);
    EXPECT_TRUE(exists(clerk.tables.names().tableA));
    EXPECT_TRUE(remittance::listStillOnScreen(clerk.desk));

    // The clerk can still remit the listed bills.
    clerk.remitAll("2024/02/01");
    EXPECT_EQ(bills.stamped().size(), 3u);
    EXPECT_EQ(clerk.transferRecords().size(), 3u);
    EXPECT_TRUE(clerk.messages.informed.empty());
}

} // namespace
} // namespace server_tests
