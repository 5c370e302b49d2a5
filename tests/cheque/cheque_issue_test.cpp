// Issuing and clearing: the stamps on the bills, the issued cheques handed to the print, and
// the refusal when the grid no longer belongs to the latest condition confirm.
#include "cheque_fixture.h"

#include "text/error.h"

#include <filesystem>
#include <functional>

using cheque_testing::Cheque;
using cheque_testing::ChequeDeskTest;
using testing_support::handedReports;
using testing_support::installFakeReportLibrary;

namespace {

using Ids = std::vector<std::string>;

class ChequeIssueTest : public ChequeDeskTest {
protected:
    void SetUp() override
    {
        installFakeReportLibrary(exeFolder.path());
        addCheque({"C1", "", "2024/05/10", "", "P02", "01", "200"});
        addCheque({"C2", "", "2024/05/11", "", "P01", "01", "300"});
        addCheque({"C3", "", "2024/05/12", "", "P03", "01", "100"});
        addBill("B1", "C1");
        addBill("B2", "C1");
        addBill("B3", "C2", "2024/01/01");
        addBill("B4", "C3");
        addBill("B9", "OTHER");
        // C4 is paid by no bill.
        addCheque({"C4", "", "2024/05/13", "", "P04", "01", "400"});
        // C2's bill carries an old stamp, so C2 is listed as issued: the presses here issue it
        // again, each after a yes with a reason.
        messages.reasons.assign(10, std::string("卡紙"));
        cheque::confirm(desk, range("2024/05/01", "2024/05/31"));
        ASSERT_EQ(grid.rowCount(), 4u);
    }

    Ids stamps()
    {
        Ids values;
        for (const char* bill : {"B1", "B2", "B3", "B4", "B9"})
            values.push_back(bankDate(bill));
        return values;
    }

    Ids printedIds()
    {
        const auto reports = handedReports(exeFolder.path());
        return reports.empty() ? Ids{"<no print>"} : column(reports.back().data, "ID");
    }
};

TEST_F(ChequeIssueTest, IssuingAllStampsEveryListedChequesBillsAndPrintsThemAll)
{
    cheque::issueAll(desk, issueOn("2024/06/30"));
    EXPECT_EQ(stamps(), (Ids{"2024/06/30", "2024/06/30", "2024/06/30", "2024/06/30", "<null>"}));
    // By account number, then id; the cheque no bill carries is printed too.
    EXPECT_EQ(printedIds(), (Ids{"C3", "C1", "C2", "C4"}));
}

TEST_F(ChequeIssueTest, IssuingTickedStampsAndPrintsOnlyTheTicked)
{
    tick("C2");
    tick("C4");
    cheque::issueTicked(desk, issueOn("2024/06/30", cheque::SortOrder::Provider));
    EXPECT_EQ(stamps(), (Ids{"<null>", "<null>", "2024/06/30", "<null>", "<null>"}));
    EXPECT_EQ(printedIds(), (Ids{"C2", "C4"}));
}

TEST_F(ChequeIssueTest, NoTickStampsNothingAndPrintsAnEmptyListWithTheFullHeader)
{
    cheque::issueTicked(desk, issueOn("2024/06/30"));
    EXPECT_EQ(stamps(), (Ids{"<null>", "<null>", "2024/01/01", "<null>", "<null>"}));
    const auto reports = handedReports(exeFolder.path());
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].data.isEmpty());
    EXPECT_TRUE(reports[0].data.isOpen()); // the issued table's columns, no rows
    EXPECT_EQ(reports[0].header.text(0, "Field1"), text::big5("壹"));
    EXPECT_EQ(reports[0].header.text(0, "Field17"), text::big5("負"));
}

TEST_F(ChequeIssueTest, ReissuingOverwritesTheStampWithTheNewDate)
{
    cheque::issueAll(desk, issueOn("2024/06/30"));
    cheque::confirm(desk, range("2024/05/01", "2024/05/31"));
    tick("C1");
    cheque::issueTicked(desk, issueOn("2024/07/15"));
    EXPECT_EQ(stamps(), (Ids{"2024/07/15", "2024/07/15", "2024/06/30", "2024/06/30", "<null>"}));
}

TEST_F(ChequeIssueTest, PrintedRowsFollowTheOrderChosenAtPrintTime)
{
    // Listed by cheque number, printed by provider.
    cheque::issueAll(desk, issueOn("2024/06/30", cheque::SortOrder::Provider));
    const auto reports = handedReports(exeFolder.path());
    ASSERT_EQ(reports.size(), 1u);
    const db::RecordSet& data = reports[0].data;
    EXPECT_EQ(column(data, "ID"), (Ids{"C2", "C1", "C3", "C4"}));
    EXPECT_EQ(column(data, "PROVIDER_ID"), (Ids{"P01", "P02", "P03", "P04"}));
    // Every column of the issued table goes over, ROC pieces included.
    for (const char* field : {"RCVDATE", "EXPDATE", "ADVDATE", "CHKTITLE", "ACNT_ID", "ACNT_NO", "BANK_NAME", "CURRAMT",
                              "YMD", "YYYY", "MM", "DD", "MEMO", "REMARK2", "FLAG", "CHKED"})
        EXPECT_GE(data.columnIndex(field), 0) << field;
    EXPECT_EQ(data.text(0, "YMD"), "113/05/11");
    EXPECT_EQ(data.text(0, "YYYY"), "113");
    EXPECT_DOUBLE_EQ(data.number(0, "CURRAMT"), 1000);
}

TEST_F(ChequeIssueTest, HeaderCarriesTheTitleAndEveryNumeralCharacter)
{
    cheque::issueAll(desk, issueOn("2024/06/30"));
    const auto reports = handedReports(exeFolder.path());
    ASSERT_EQ(reports.size(), 1u);
    const db::RecordSet& header = reports[0].header;
    ASSERT_EQ(header.rowCount(), 1u);
    const std::pair<const char*, const char*> expected[] = {
        {"Field0", ""},    {"Field1", "壹"},    {"Field2", "貳"},        {"Field3", "參"},  {"Field4", "肆"},
        {"Field5", "伍"},  {"Field6", "陸"},    {"Field7", "柒"},        {"Field8", "捌"},  {"Field9", "玖"},
        {"Field10", "零"}, {"Field11", "元整"}, {"Field12", "大統百貨"}, {"Field13", "拾"}, {"Field14", "佰"},
        {"Field15", "仟"}, {"Field16", "萬"},   {"Field17", "負"},       {"Field91", ""},   {"Field92", ""},
        {"Field93", ""},
    };
    for (const auto& [field, value] : expected)
        EXPECT_EQ(header.text(0, field), text::big5(value)) << field;
    // Eighteen numbered fields and the three notes, nothing else.
    EXPECT_EQ(header.columnCount(), 21u);
    EXPECT_EQ(header.columnIndex("Field18"), -1);
}

TEST_F(ChequeIssueTest, TemplateFollowsTheChosenForm)
{
    const std::pair<cheque::ChequeForm, std::string> forms[] = {
        {cheque::ChequeForm::One, "P99_000502.rtm"},
        {cheque::ChequeForm::Two, "Tolvane_21.rtm"},
        {cheque::ChequeForm::Three, "Tolvane_22.rtm"},
    };
    std::size_t n = 0;
    for (const auto& [form, file] : forms) {
        if (n > 0)
            cheque::confirm(desk, range("2024/05/01", "2024/05/31"));
        cheque::issueAll(desk, issueOn("2024/06/30", cheque::SortOrder::ChequeNumber, form));
        const auto reports = handedReports(exeFolder.path());
        ASSERT_EQ(reports.size(), ++n);
        EXPECT_EQ(reports.back().reportName, "FormTolvane");
        EXPECT_EQ(reports.back().templatePath, exeFolder.path() + "rtm/" + file);
    }
}

TEST_F(ChequeIssueTest, PrintingEndsTheRunAndProgressFollowsIt)
{
    EXPECT_EQ(cheque::issueAll(desk, issueOn("2024/06/30")).printFailure, "");
    EXPECT_FALSE(grid.isOpen());
    EXPECT_FALSE(relationExists(tables.names().tableA));
    EXPECT_FALSE(relationExists(tables.names().tableC));
    EXPECT_EQ(progress.lines, (Ids{"CAST1 .....", "CAST2 .....", "暫存資料建置中...", "報表模組載入中..."}));
    EXPECT_EQ(progress.gaugeMaximum(), 5);
    EXPECT_EQ(progress.gaugeValue(), 5);

    // A second press without a new condition confirm finds no list.
    messages.informed.clear();
    cheque::issueAll(desk, issueOn("2024/07/01"));
    EXPECT_EQ(messages.informed, (Ids{"請重新 條件確認...... "}));
    EXPECT_EQ(handedReports(exeFolder.path()).size(), 1u);
}

TEST_F(ChequeIssueTest, MissingLibraryStillEmptiesTheGridAndDropsTheTables)
{
    std::filesystem::remove(exeFolder.path() + "Vistrel.DLL");
    const cheque::IssueResult result = cheque::issueAll(desk, issueOn("2024/06/30"));
    EXPECT_EQ(result.printFailure, "Unable to Load DLL");
    EXPECT_FALSE(result.canReprint); // the run has ended
    EXPECT_FALSE(grid.isOpen());
    EXPECT_FALSE(relationExists(tables.names().tableA));
    EXPECT_FALSE(relationExists(tables.names().tableC));
    // The stamps of the press stay: they were committed before the print.
    EXPECT_EQ(bankDate("B1"), "2024/06/30");
}

TEST_F(ChequeIssueTest, LibraryWithoutShowFormEndsTheRunSilently)
{
    installFakeReportLibrary(exeFolder.path(), false);
    cheque::issueAll(desk, issueOn("2024/06/30"));
    EXPECT_TRUE(handedReports(exeFolder.path()).empty());
    EXPECT_TRUE(messages.informed.empty());
    EXPECT_FALSE(grid.isOpen());
    EXPECT_FALSE(relationExists(tables.names().tableC));
}

TEST_F(ChequeIssueTest, FailureHalfWayLeavesNoBillStampedAndNothingPrinted)
{
    // The server refuses the stamp of the third cheque's bill, after two cheques' stamps.
    db().execute("CREATE EXCEPTION BILL_LOCKED 'bill locked by audit'");
    db().execute(db::SqlLines{"CREATE TRIGGER PAY_MASTER_AUDIT FOR PAY_MASTER BEFORE UPDATE AS", "BEGIN",
                              "  IF (NEW.PAGE_ID = 'C2') THEN EXCEPTION BILL_LOCKED;", "END"});
    const Ids before = stamps();
    EXPECT_THROW(cheque::issueAll(desk, issueOn("2024/06/30")), text::UserError);
    EXPECT_EQ(stamps(), before);
    EXPECT_EQ(db().lookup("SELECT COUNT(*) FROM " + tables.names().tableC), "0");
    EXPECT_TRUE(handedReports(exeFolder.path()).empty());
    // The list stays, so the clerk can try again once the cause is gone.
    EXPECT_TRUE(grid.isOpen());
    EXPECT_TRUE(cheque::listIsCurrent(desk));
}

TEST_F(ChequeIssueTest, ClearingTakesTheStampOffTheTickedChequesBillsOnly)
{
    db().execute("UPDATE PAY_MASTER SET BANK_DATE = '2024/06/30'");
    tick("C1");
    tick("C4");
    cheque::clearTicked(desk);
    EXPECT_EQ(stamps(), (Ids{"<null>", "<null>", "2024/06/30", "2024/06/30", "2024/06/30"}));
    // No print, no message, the list stays as it was.
    EXPECT_TRUE(handedReports(exeFolder.path()).empty());
    EXPECT_TRUE(messages.informed.empty());
    EXPECT_EQ(grid.rowCount(), 4u);
}

// The report hand-over fails ("Unable to write" to rpttemp.ini) after the stamps committed: the
// list is used up. Once the cause is fixed, pressing again prints the issued cheques again,
// each once, after the clerk's yes, and stamps nothing.
TEST_F(ChequeIssueTest, FailedHandOverUsesTheListUpAndPressingAgainReprintsEachChequeOnce)
{
    const std::string handOver = exeFolder.path() + "rpttemp.ini";
    std::filesystem::create_directory(handOver); // a folder where the file must go
    const cheque::IssueResult first = cheque::issueAll(desk, issueOn("2024/06/30"));
    EXPECT_EQ(first.outcome, cheque::IssueResult::Outcome::Issued);
    EXPECT_EQ(first.issued, (Ids{"C3", "C1", "C2", "C4"}));
    EXPECT_EQ(first.printFailure.rfind("Unable to write to ", 0), 0u) << first.printFailure;
    EXPECT_TRUE(first.canReprint);
    EXPECT_TRUE(cheque::listIsUsedUp(desk));
    EXPECT_TRUE(handedReports(exeFolder.path()).empty());
    const Ids stamped{"2024/06/30", "2024/06/30", "2024/06/30", "2024/06/30", "<null>"};
    EXPECT_EQ(stamps(), stamped);

    // "No" to the reprint: nothing happens, the list stays used up.
    std::filesystem::remove(handOver);
    messages.answers = {false};
    EXPECT_EQ(cheque::issueTicked(desk, issueOn("2024/07/15")).outcome, cheque::IssueResult::Outcome::ReprintDeclined);
    EXPECT_TRUE(handedReports(exeFolder.path()).empty());

    // "Yes": printed again, each cheque once, with no new stamp and no re-issue question.
    messages.answers = {true};
    const cheque::IssueResult again = cheque::issueAll(desk, issueOn("2024/07/15"));
    EXPECT_EQ(again.outcome, cheque::IssueResult::Outcome::Reprinted);
    EXPECT_TRUE(again.issued.empty());
    EXPECT_EQ(again.printFailure, "");
    EXPECT_EQ(messages.asked.size(), 2u);
    EXPECT_EQ(messages.askedWithReason.size(), 1u); // only the first press asked about C2
    EXPECT_EQ(stamps(), stamped);
    ASSERT_EQ(handedReports(exeFolder.path()).size(), 1u);
    EXPECT_EQ(printedIds(), (Ids{"C3", "C1", "C2", "C4"}));
    // The print ended the run.
    EXPECT_FALSE(grid.isOpen());
}

// Issuing and clearing act only on the list of the latest condition confirm, while its
// tables still exist; every other state is refused without a change.
TEST_F(ChequeIssueTest, OutOfStepListIsRefused)
{
    // Every run names its tables from its own second, as a clock that moves on does.
    int second = 0;
    const auto movingClock = [&second] { return "1000" + std::to_string(10 + second++); };
    struct Case {
        const char* name;
        std::function<void()> disturb;
    };
    const Case cases[] = {
        {"another tab's run dropped the tables", [&] { tables.prologue(progress, true); }},
        {"another run made new tables under the very same names",
         [&] {
             tables.setClock([] { return std::string("101010"); });
             cheque::confirm(desk, range("2024/05/01", "2024/05/31"));
             tick("C1");
             tables.prologue(progress, false); // same second, same names
             db().execute("CREATE TABLE " + tables.names().tableA + " (ID VARCHAR(20), CHKED VARCHAR(2))");
             db().execute("CREATE TABLE " + tables.names().tableC + " (ID VARCHAR(20))");
         }},
        {"a later confirm stopped on its dates",
         [&] { EXPECT_THROW(cheque::confirm(desk, range("2024/05/01", "")), text::UserError); }},
        {"the work tables were dropped", [&] { tables.dropAll(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tables.setClock(movingClock);
        cheque::confirm(desk, range("2024/05/01", "2024/05/31"));
        ASSERT_TRUE(cheque::listIsCurrent(desk));
        tick("C1");
        c.disturb();
        ASSERT_TRUE(grid.isOpen()); // the rows are still on screen

        messages.informed.clear();
        cheque::issueAll(desk, issueOn("2024/06/30"));
        cheque::issueTicked(desk, issueOn("2024/06/30"));
        db().execute("UPDATE PAY_MASTER SET BANK_DATE = '2024/02/02' WHERE MASTERBILLID = 'B1'");
        cheque::clearTicked(desk);
        EXPECT_EQ(messages.informed, Ids(3, "請重新 條件確認...... "));
        EXPECT_EQ(stamps(), (Ids{"2024/02/02", "<null>", "2024/01/01", "<null>", "<null>"}));
        EXPECT_TRUE(handedReports(exeFolder.path()).empty());
        db().execute("UPDATE PAY_MASTER SET BANK_DATE = NULL WHERE MASTERBILLID = 'B1'");
    }
}

TEST_F(ChequeIssueTest, NoListAtAllIsRefused)
{
    grid.clear();
    cheque::clearTicked(desk);
    cheque::issueTicked(desk, issueOn("2024/06/30"));
    EXPECT_EQ(messages.informed, Ids(2, "請重新 條件確認...... "));
    EXPECT_EQ(stamps(), (Ids{"<null>", "<null>", "2024/01/01", "<null>", "<null>"}));
}

} // namespace
