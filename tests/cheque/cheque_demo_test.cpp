// A whole cheque run on the generated demo book: every cheque of the year listed with its ROC
// due date, issued, and printed with the bills they pay stamped.
#include "cheque_fixture.h"

#include "cheque/roc_due_date.h"
#include "demo/demo_data.h"
#include "text/dates.h"

using cheque_testing::ChequeDeskTest;

namespace {

TEST_F(ChequeDeskTest, DemoBookListsIssuesAndPrintsEveryChequeOfTheYear)
{
    testing_support::installFakeReportLibrary(exeFolder.path());
    demo::DemoOptions options;
    options.stores = 6;
    options.providers = 20;
    options.bills = 400;
    demo::generateDemoData(db(), options);
    const std::string cheques = db().lookup("SELECT COUNT(*) FROM CHKPAY");
    ASSERT_NE(cheques, "0");

    text::Date today = text::today();
    const std::string end = text::toDateString({today.year + 1, 12, 31});
    cheque::confirm(desk, range("1990/01/01", end));
    ASSERT_EQ(std::to_string(grid.rowCount()), cheques);
    EXPECT_TRUE(messages.informed.empty());
    for (std::size_t row = 0; row < grid.rowCount(); ++row) {
        const std::string due = grid.text(row, "EXPDATE");
        EXPECT_EQ(grid.text(row, "YMD"), cheque::rocDueDate(due).ymd) << due;
    }

    // The demo book holds cheques issued already: the clerk means to issue them again.
    messages.reasons.push_back(std::string("年度重開"));
    cheque::issueAll(desk, issueOn("2030/01/02", cheque::SortOrder::Provider, cheque::ChequeForm::Three));
    EXPECT_EQ(db().lookup("SELECT COUNT(*) FROM PAY_MASTER WHERE PAGE_ID IN (SELECT ID FROM CHKPAY) "
                          "AND BANK_DATE IS DISTINCT FROM '2030/01/02'"),
              "0");
    const auto reports = testing_support::handedReports(exeFolder.path());
    ASSERT_EQ(reports.size(), 1u);
    ASSERT_EQ(std::to_string(reports[0].data.rowCount()), cheques);
    for (std::size_t row = 1; row < reports[0].data.rowCount(); ++row)
        EXPECT_LE(reports[0].data.text(row - 1, "PROVIDER_ID"), reports[0].data.text(row, "PROVIDER_ID"));
}

} // namespace
