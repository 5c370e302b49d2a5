// A cheque is issued once unless the clerk means it: the list shows each cheque's issue state,
// a press on issued cheques asks first (with a reason, "no" by default), a cheque another
// workstation issued after the list was made is left out and named, and a re-issue is marked
// on the issue list and journalled with its reason and earlier date, in the press's own
// transaction.
#include "cheque/cheque_table.h"
#include "cheque/issue_messages.h"
#include "cheque/issue_state.h"
#include "cheque_fixture.h"
#include "support/pdf_text.h"
#include "text/error.h"

#include <gmock/gmock.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

using cheque::IssueResult;
using cheque_testing::ChequeDeskTest;
using testing::HasSubstr;
using testing_support::handedReports;
using testing_support::installFakeReportLibrary;

namespace {

using Ids = std::vector<std::string>;

class ChequeReissueTest : public ChequeDeskTest {
protected:
    void SetUp() override
    {
        installFakeReportLibrary(exeFolder.path());
        addCheque({"C1", "", "2024/05/10", "", "P01", "01", "100"});
        addCheque({"C2", "", "2024/05/11", "", "P02", "01", "200"});
        addCheque({"C3", "", "2024/05/12", "", "P03", "01", "300"});
        addBill("B1", "C1");
        addBill("B2", "C2");
        addBill("B3", "C3");
        addBill("B4", "C3");
    }

    void list() { cheque::confirm(desk, range("2024/05/01", "2024/05/31")); }

    std::string issueState(const std::string& id)
    {
        for (std::size_t row = 0; row < grid.rowCount(); ++row)
            if (grid.text(row, "ID") == id)
                return text::big5ToUtf8(grid.text(row, cheque::kIssueStateField));
        return "<not listed>";
    }

    // The journal's runs of a kind, oldest first: "RUN_DATE|REASON|BILL_COUNT|LEFT_OUT_COUNT".
    Ids journalRuns(const std::string& kind)
    {
        const db::RecordSet runs = db().query(
            "SELECT RUN_DATE, REASON, BILL_COUNT, LEFT_OUT_COUNT FROM PAY_RUN WHERE KIND = " + db::quote(kind) +
            " ORDER BY RUN_ID");
        Ids found;
        for (std::size_t r = 0; r < runs.rowCount(); ++r)
            found.push_back(runs.text(r, 0) + "|" + text::big5ToUtf8(runs.text(r, 1)) + "|" + runs.text(r, 2) + "|" +
                            runs.text(r, 3));
        return found;
    }

    // A run's bills: "KEY BEFORE>AFTER", by key.
    Ids journalBills(long long runId)
    {
        const db::RecordSet bills =
            db().query("SELECT BILL_KEY, COALESCE(STAMP_BEFORE, '-'), COALESCE(STAMP_AFTER, '-') FROM PAY_RUN_BILL "
                       "WHERE RUN_ID = " +
                       std::to_string(runId) + " ORDER BY BILL_KEY");
        Ids found;
        for (std::size_t r = 0; r < bills.rowCount(); ++r)
            found.push_back(bills.text(r, 0) + " " + bills.text(r, 1) + ">" + bills.text(r, 2));
        return found;
    }

    Ids printed(std::size_t report) { return column(handedReports(exeFolder.path()).at(report).data, "ID"); }
};

TEST_F(ChequeReissueTest, ListShowsTheIssueDateEmptyOrPartlyFromTheBillsStamps)
{
    db().execute("UPDATE PAY_MASTER SET BANK_DATE = '2024/06/01' WHERE MASTERBILLID IN ('B1', 'B3')");
    list();
    EXPECT_EQ(issueState("C1"), "2024/06/01");
    EXPECT_EQ(issueState("C2"), "");
    EXPECT_EQ(issueState("C3"), "部分"); // B3 stamped, B4 not
    // The column comes after the columns the grid always had and is shown.
    const work::GridColumns fields = cheque::gridFields();
    std::vector<std::string> shown;
    for (const work::GridColumn& f : fields)
        if (f.visible)
            shown.push_back(f.name);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back(), cheque::kIssueStateField);
    EXPECT_EQ(shown[shown.size() - 2], "RCVDATE");
}

TEST_F(ChequeReissueTest, SecondListIssuesAgainOnlyAfterAYesWithAReasonAndMarksTheReissue)
{
    list();
    const IssueResult first = cheque::issueAll(desk, issueOn("2024/06/30"));
    EXPECT_EQ(first.issued, (Ids{"C1", "C2", "C3"}));
    EXPECT_TRUE(messages.askedWithReason.empty()); // nothing was issued before
    EXPECT_TRUE(first.reissued.empty());

    // The second list shows them issued. "No" (the default) issues none of them again.
    list();
    EXPECT_EQ(issueState("C2"), "2024/06/30");
    const IssueResult declined = cheque::issueAll(desk, issueOn("2024/07/01"));
    ASSERT_EQ(messages.askedWithReason.size(), 1u);
    for (const char* named : {"C1（開票日 2024/06/30）", "C2（開票日 2024/06/30）", "C3（開票日 2024/06/30）"})
        EXPECT_THAT(messages.askedWithReason[0], HasSubstr(named));
    EXPECT_EQ(declined.outcome, IssueResult::Outcome::NothingChosen);
    EXPECT_EQ(declined.declined.size(), 3u);
    EXPECT_EQ(bankDate("B2"), "2024/06/30");
    EXPECT_EQ(handedReports(exeFolder.path()).size(), 1u);
    EXPECT_EQ(journalRuns("CHEQUE"), (Ids{"2024/06/30||4|0"})); // the declined press journals nothing
    EXPECT_EQ(journalBills(first.runId),
              (Ids{"B1 ->2024/06/30", "B2 ->2024/06/30", "B3 ->2024/06/30", "B4 ->2024/06/30"}));

    // "Yes" with a reason: issued again, on the cheque issue list (格式二) marked 補印.
    messages.reasons.push_back(std::string("卡紙"));
    tick("C2");
    const IssueResult again =
        cheque::issueTicked(desk, issueOn("2024/07/01", cheque::SortOrder::ChequeNumber, cheque::ChequeForm::Two));
    EXPECT_EQ(again.outcome, IssueResult::Outcome::Issued);
    EXPECT_EQ(again.issued, (Ids{"C2"}));
    ASSERT_EQ(again.reissued.size(), 1u);
    EXPECT_EQ(again.reissued[0].id, "C2");
    EXPECT_EQ(again.reissued[0].state, "2024/06/30");
    EXPECT_EQ(again.reissueReason, text::big5("卡紙"));
    EXPECT_EQ(bankDate("B2"), "2024/07/01");
    EXPECT_EQ(bankDate("B1"), "2024/06/30");

    const auto reports = handedReports(exeFolder.path());
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[1].templatePath, exeFolder.path() + "rtm/Tolvane_21.rtm");
    EXPECT_EQ(column(reports[1].data, "ID"), (Ids{"C2"}));
    EXPECT_EQ(reports[1].data.text(0, "FLAG"), text::big5("補印"));
    // The first issue's lines carry no mark.
    for (std::size_t row = 0; row < reports[0].data.rowCount(); ++row)
        EXPECT_EQ(reports[0].data.text(row, "FLAG"), "");

    // The journal holds the re-issue as its own run: the reason, the earlier issue date, and
    // the bill's stamp before and after.
    EXPECT_EQ(journalRuns("CHEQUE"), (Ids{"2024/06/30||4|0", "2024/07/01|卡紙; 前次開票: C2 2024/06/30|1|0"}));
    EXPECT_EQ(journalBills(again.runId), (Ids{"B2 2024/06/30>2024/07/01"}));
}

TEST_F(ChequeReissueTest, NoToTheQuestionLeavesTheIssuedOutAndTheRestIssue)
{
    db().execute("UPDATE PAY_MASTER SET BANK_DATE = '2024/06/01' WHERE MASTERBILLID = 'B3'");
    list();
    const IssueResult result = cheque::issueAll(desk, issueOn("2024/06/30"));
    ASSERT_EQ(messages.askedWithReason.size(), 1u);
    EXPECT_THAT(messages.askedWithReason[0], HasSubstr("C3（開票日 部分）"));
    EXPECT_THAT(messages.askedWithReason[0], testing::Not(HasSubstr("C1")));
    EXPECT_EQ(result.issued, (Ids{"C1", "C2"}));
    ASSERT_EQ(result.declined.size(), 1u);
    EXPECT_EQ(result.declined[0].id, "C3");
    EXPECT_EQ(bankDate("B3"), "2024/06/01");
    EXPECT_EQ(bankDate("B4"), "<null>");
    EXPECT_EQ(printed(0), (Ids{"C1", "C2"}));
}

TEST_F(ChequeReissueTest, ChequeAnotherConnectionIssuedAfterTheListWasMadeIsLeftOutAndNamed)
{
    list();
    // Another workstation issues C2 (and clears nothing) after this list was made.
    auto other = database.connectAgain();
    other->execute("UPDATE PAY_MASTER SET BANK_DATE = '2024/06/15' WHERE PAGE_ID = 'C2'");

    const IssueResult result = cheque::issueAll(desk, issueOn("2024/06/30"));
    EXPECT_TRUE(messages.askedWithReason.empty()); // the list showed none issued
    EXPECT_EQ(result.issued, (Ids{"C1", "C3"}));
    ASSERT_EQ(result.changedSinceListed.size(), 1u);
    EXPECT_EQ(result.changedSinceListed[0].id, "C2");
    EXPECT_EQ(result.changedSinceListed[0].listedState, "");
    EXPECT_EQ(result.changedSinceListed[0].currentState, "2024/06/15");
    EXPECT_EQ(bankDate("B2"), "2024/06/15");
    EXPECT_EQ(printed(0), (Ids{"C1", "C3"}));
    const std::string message = cheque::changedSinceListedMessage(result);
    EXPECT_THAT(message, HasSubstr("C2（清單：未開票，現在：2024/06/15）"));
    EXPECT_EQ(journalRuns("CHEQUE"), (Ids{"2024/06/30||3|1"})); // B1, B3, B4; C2 left out
}

// The issue and its journal commit together or not at all: a journal the server refuses
// leaves every stamp as it was, the list not used up and nothing printed.
TEST_F(ChequeReissueTest, IssueWhoseJournalIsRefusedChangesNothing)
{
    db().execute("CREATE EXCEPTION E_TEST_REFUSED 'journal refused'");
    db().execute("CREATE TRIGGER TEST_REFUSE_RUN FOR PAY_RUN BEFORE INSERT AS BEGIN EXCEPTION E_TEST_REFUSED; END");
    list();
    EXPECT_THROW(cheque::issueAll(desk, issueOn("2024/06/30")), text::UserError);
    for (const char* bill : {"B1", "B2", "B3", "B4"})
        EXPECT_EQ(bankDate(bill), "<null>") << bill;
    EXPECT_EQ(db().lookup("SELECT COUNT(*) FROM PAY_RUN_BILL"), "0");
    EXPECT_FALSE(cheque::listIsUsedUp(desk));
    EXPECT_TRUE(handedReports(exeFolder.path()).empty());
}

// A voided cheque: its bills are unpaid again (their stamps from before the issue), the journal
// keeps who voided it and why, and it is never issued or printed again, whatever list holds it.
TEST_F(ChequeReissueTest, VoidedChequesBillsAreUnpaidAgainAndTheChequeIsNeverIssuedOrPrintedAgain)
{
    list();
    cheque::issueAll(desk, issueOn("2024/06/30"));
    ASSERT_EQ(bankDate("B3"), "2024/06/30");

    list();
    tick("C3");
    tick("C2");
    messages.reasons.push_back(std::string("金額開錯"));
    messages.reasons.push_back(std::string("不該出現")); // a second question would take this
    const cheque::VoidResult voided = cheque::voidTicked(desk);
    ASSERT_EQ(messages.askedWithReason.size(), 1u);
    EXPECT_THAT(messages.askedWithReason[0], HasSubstr("C3（開票日 2024/06/30）"));
    EXPECT_EQ(voided.outcome, cheque::VoidResult::Outcome::Voided);
    EXPECT_EQ(voided.voided, (Ids{"C2", "C3"}));
    for (const char* bill : {"B2", "B3", "B4"})
        EXPECT_EQ(bankDate(bill), "<null>") << bill;
    EXPECT_EQ(bankDate("B1"), "2024/06/30");
    EXPECT_EQ(issueState("C3"), "作廢"); // the list on screen shows it at once
    EXPECT_EQ(journalRuns("VOID"), (Ids{"|金額開錯|3|0"}));
    EXPECT_EQ(journalBills(voided.runId), (Ids{"B2 2024/06/30>-", "B3 2024/06/30>-", "B4 2024/06/30>-"}));
    EXPECT_EQ(db().lookup("SELECT COUNT(*) FROM PAY_RUN_CHEQUE WHERE RUN_ID = " + std::to_string(voided.runId) +
                          " AND STATE_AFTER = " + db::quote(text::big5("作廢"))),
              "2");

    // Voided again: nothing to void, and said so.
    tick("C3");
    const cheque::VoidResult again = cheque::voidTicked(desk);
    EXPECT_EQ(again.outcome, cheque::VoidResult::Outcome::NothingChosen);
    ASSERT_EQ(again.notVoidable.size(), 2u);

    // A new list shows them voided; issuing every cheque leaves them out, whatever the clerk
    // answers about the issued one.
    list();
    EXPECT_EQ(issueState("C2"), "作廢");
    messages.reasons.push_back(std::string("卡紙"));
    const IssueResult issued = cheque::issueAll(desk, issueOn("2024/07/01"));
    EXPECT_EQ(issued.voided, (Ids{"C2", "C3"}));
    EXPECT_EQ(issued.issued, (Ids{"C1"}));
    EXPECT_THAT(cheque::voidedLeftOutMessage(issued), HasSubstr("C3"));
    for (const char* bill : {"B2", "B3", "B4"})
        EXPECT_EQ(bankDate(bill), "<null>") << bill;
    EXPECT_EQ(printed(1), (Ids{"C1"}));
}

// A cheque whose bills another workstation changed after the list was made is not voided.
TEST_F(ChequeReissueTest, VoidLeavesOutAChequeChangedSinceTheList)
{
    list();
    cheque::issueAll(desk, issueOn("2024/06/30"));
    list();
    database.connectAgain()->execute("UPDATE PAY_MASTER SET BANK_DATE = '2024/07/02' WHERE PAGE_ID = 'C1'");
    tick("C1");
    tick("C2");
    messages.reasons.push_back(std::string("重複"));
    const cheque::VoidResult result = cheque::voidTicked(desk);
    EXPECT_EQ(result.voided, (Ids{"C2"}));
    ASSERT_EQ(result.changedSinceListed.size(), 1u);
    EXPECT_EQ(result.changedSinceListed[0].currentState, "2024/07/02");
    EXPECT_EQ(bankDate("B1"), "2024/07/02");
    EXPECT_THAT(cheque::voidResultMessage(result), HasSubstr("C1（清單：2024/06/30，現在：2024/07/02）"));
}

// Taking the issue stamp off again is journalled too, each bill with the stamp it had.
TEST_F(ChequeReissueTest, ClearingTheIssueStampIsJournalled)
{
    db().execute("UPDATE PAY_MASTER SET BANK_DATE = '2024/06/01' WHERE MASTERBILLID = 'B3'");
    list();
    tick("C3");
    tick("C2");
    EXPECT_EQ(cheque::clearTicked(desk), "");
    EXPECT_EQ(bankDate("B3"), "<null>");
    const Ids runs = journalRuns("CLEAR");
    ASSERT_EQ(runs, (Ids{"||1|0"}));
    const long long runId = std::stoll(db().lookup("SELECT RUN_ID FROM PAY_RUN WHERE KIND = 'CLEAR'"));
    EXPECT_EQ(journalBills(runId), (Ids{"B3 2024/06/01>-"})); // B2 and B4 had no stamp to take off
}

TEST_F(ChequeReissueTest, IssuedChequeChangedAgainAfterTheListIsLeftOutEvenAfterAYes)
{
    db().execute("UPDATE PAY_MASTER SET BANK_DATE = '2024/06/01' WHERE PAGE_ID = 'C1'");
    list();
    // Meanwhile another workstation cleared C1's stamp.
    database.connectAgain()->execute("UPDATE PAY_MASTER SET BANK_DATE = NULL WHERE PAGE_ID = 'C1'");
    messages.reasons.push_back(std::string("印壞"));
    const IssueResult result = cheque::issueAll(desk, issueOn("2024/06/30"));
    EXPECT_EQ(result.issued, (Ids{"C2", "C3"}));
    EXPECT_TRUE(result.reissued.empty());
    ASSERT_EQ(result.changedSinceListed.size(), 1u);
    EXPECT_EQ(result.changedSinceListed[0].listedState, "2024/06/01");
    EXPECT_EQ(bankDate("B1"), "<null>");
}

} // namespace

namespace {

using testing_support::pdfText;

// The line of the PDF text that holds `needle`.
std::string lineWith(const std::string& text, const std::string& needle)
{
    const std::size_t at = text.find(needle);
    if (at == std::string::npos)
        return "<no line with " + needle + ">";
    const std::size_t begin = text.rfind('\n', at) == std::string::npos ? 0 : text.rfind('\n', at) + 1;
    return text.substr(begin, text.find('\n', at) - begin);
}

// The real report library prints the press's cheque issue list (格式二): the re-issued line
// carries 補印, the others not; the cheque form (格式一) of the same re-issue stays clean.
TEST_F(ChequeReissueTest, IssueListPdfMarksTheReissuedLinesAndTheChequeFormStaysClean)
{
    namespace fs = std::filesystem;
    fs::remove(exeFolder.path() + "Vistrel.DLL");
    fs::copy_file(std::string(DESK_BIN_DIR) + "Vistrel.DLL", exeFolder.path() + "Vistrel.DLL");
    fs::copy(std::string(DESK_BIN_DIR) + "rtm", exeFolder.path() + "rtm");
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const auto printTo = [&](const std::string& pdf, cheque::ChequeForm form) {
        setenv("VISTREL_PDF", (exeFolder.path() + pdf).c_str(), 1);
        list();
        messages.reasons.push_back(std::string("卡紙"));
        const IssueResult result = cheque::issueAll(desk, issueOn("2024/07/01", cheque::SortOrder::ChequeNumber, form));
        unsetenv("VISTREL_PDF");
        EXPECT_EQ(result.printFailure, "");
        return pdfText(exeFolder.path() + pdf);
    };
    db().execute("UPDATE PAY_MASTER SET BANK_DATE = '2024/06/01' WHERE PAGE_ID = 'C2'");

    const std::string issueList = printTo("list.pdf", cheque::ChequeForm::Two);
    EXPECT_THAT(lineWith(issueList, "C2"), HasSubstr("補印")) << issueList;
    EXPECT_THAT(lineWith(issueList, "C1"), testing::Not(HasSubstr("補印"))) << issueList;
    EXPECT_THAT(lineWith(issueList, "C3"), testing::Not(HasSubstr("補印"))) << issueList;

    const std::string chequeForms = printTo("forms.pdf", cheque::ChequeForm::One);
    EXPECT_THAT(chequeForms, HasSubstr("C2"));
    EXPECT_THAT(chequeForms, testing::Not(HasSubstr("補印")));
}

// A cheque run printed again from the journal: the issue list of its cheques as the books hold
// them, every page marked 補印 with the run's date and number, voided cheques left out, and the
// reprint journalled as a run of its own.
TEST_F(ChequeReissueTest, ReprintFromTheJournalMarksEveryPageAndLeavesVoidedChequesOut)
{
    namespace fs = std::filesystem;
    fs::remove(exeFolder.path() + "Vistrel.DLL");
    fs::copy_file(std::string(DESK_BIN_DIR) + "Vistrel.DLL", exeFolder.path() + "Vistrel.DLL");
    fs::copy(std::string(DESK_BIN_DIR) + "rtm", exeFolder.path() + "rtm");
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Enough cheques for the list to run over several pages.
    for (int i = 10; i < 110; ++i) {
        addCheque({"D" + std::to_string(i), "", "2024/05/20", "", "P01", "01", "100"});
        addBill("DB" + std::to_string(i), "D" + std::to_string(i));
    }
    list();
    setenv("VISTREL_PDF", (exeFolder.path() + "issue.pdf").c_str(), 1);
    const IssueResult issued =
        cheque::issueAll(desk, issueOn("2024/06/30", cheque::SortOrder::ChequeNumber, cheque::ChequeForm::Two));
    ASSERT_EQ(issued.issued.size(), 103u);
    list();
    tick("C2");
    messages.reasons.push_back(std::string("作廢測試"));
    ASSERT_EQ(cheque::voidTicked(desk).voided, (Ids{"C2"}));

    setenv("VISTREL_PDF", (exeFolder.path() + "reprint.pdf").c_str(), 1);
    const cheque::ReprintResult reprint = cheque::reprintRun(desk, issued.runId, text::big5("大統百貨"));
    unsetenv("VISTREL_PDF");
    EXPECT_EQ(reprint.printed.size(), 102u);
    EXPECT_EQ(reprint.voided, (Ids{"C2"}));
    const std::string pdf = pdfText(exeFolder.path() + "reprint.pdf");
    const std::string mark = "補印 原開票日 2024/06/30 付款紀錄 " + std::to_string(issued.runId);
    std::size_t pages = 0;
    for (std::size_t from = 0; from < pdf.size();) {
        const std::size_t end = std::min(pdf.find('\f', from), pdf.size());
        const std::string page = pdf.substr(from, end - from);
        if (page.find_first_not_of(" \n") != std::string::npos) {
            ++pages;
            EXPECT_NE(page.find(mark), std::string::npos) << "page " << pages << ":\n" << page;
        }
        from = end + 1;
    }
    EXPECT_GE(pages, 2u);
    EXPECT_EQ(lineWith(pdf, "C2 "), "<no line with C2 >");
    // The original issue list carried no mark; the reprint is its own journal run.
    EXPECT_EQ(pdfText(exeFolder.path() + "issue.pdf").find("補印 原開票日"), std::string::npos);
    EXPECT_EQ(journalRuns("REPRINT"), (Ids{"2024/06/30|補印付款紀錄 " + std::to_string(issued.runId) + "|0|0"}));
    EXPECT_EQ(db().lookup("SELECT COUNT(*) FROM PAY_RUN_CHEQUE WHERE RUN_ID = " + std::to_string(reprint.runId)),
              "102");
    // Only a cheque run can be printed again.
    EXPECT_THROW(cheque::reprintRun(desk, reprint.runId, ""), text::UserError);
}

} // namespace
