// The payment journal read back for the clerk: runs listed newest first and filtered, a run's
// files made again byte for byte, and a bank folder checked file by file before it goes to
// the bank.
#include "journal/files_again.h"
#include "journal/folder_check.h"
#include "journal/run_chain.h"
#include "journal/run_register.h"
#include "platform/file_replace.h"
#include "remit_fixture.h"
#include "remittance/list_reprint.h"
#include "text/error.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <map>

using testing::ElementsAre;

namespace testing_support {
namespace {

namespace fs = std::filesystem;

class PaymentRegister : public Remit {
protected:
    // The bank folder's files after a press: name -> bytes.
    std::map<std::string, std::string> bankFiles()
    {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(bank.path())) {
            std::string bytes;
            if (entry.is_regular_file() &&
                platform::readWholeFile(entry.path().string(), bytes) == platform::ReadResult::Read)
                files[entry.path().filename().string()] = bytes;
        }
        return files;
    }

    std::vector<std::string> listedKinds(const journal::RunFilter& filter)
    {
        const db::RecordSet runs = journal::listRuns(db(), filter);
        std::vector<std::string> kinds;
        for (std::size_t r = 0; r < runs.rowCount(); ++r)
            kinds.push_back(runs.text(r, "KIND"));
        return kinds;
    }

    // A remit of every bill, then a clearing of B1's provider: two runs.
    void remitThenClear()
    {
        confirm(conditions());
        remit(RemitScope::AllRows, options());
        auto listed = conditions();
        listed.state = RemittanceState::Remitted;
        confirm(listed);
        tick("B2");
        clear(Books::OwnStore);
    }
};

TEST_F(PaymentRegister, RunsAreListedNewestFirstAndFilteredByKindDayBooksAndUser)
{
    remitThenClear();
    EXPECT_THAT(listedKinds({}), ElementsAre("CLEAR", "REMIT"));
    journal::RunFilter remits;
    remits.kind = journal::RunKind::Remit;
    EXPECT_THAT(listedKinds(remits), ElementsAre("REMIT"));

    const std::string today =
        db().lookup("SELECT REPLACE(CAST(CURRENT_DATE AS VARCHAR(10)), '-', '/') FROM RDB$DATABASE");
    journal::RunFilter onlyToday{today, today, {}, "PAY_MASTER", db().lookup("SELECT CURRENT_USER FROM RDB$DATABASE")};
    EXPECT_EQ(listedKinds(onlyToday).size(), 2u);
    journal::RunFilter other = onlyToday;
    other.books = "PAY_MASTERU";
    EXPECT_TRUE(listedKinds(other).empty());
    other = onlyToday;
    other.from = other.to = "2001/01/01";
    EXPECT_TRUE(listedKinds(other).empty());
    other = onlyToday;
    other.user = "SOMEONE_ELSE";
    EXPECT_TRUE(listedKinds(other).empty());

    // The remit's detail: its bills with their stamps before and after, and its files.
    const db::RecordSet runs = journal::listRuns(db(), remits);
    const long long runId = std::stoll(runs.text(0, "RUN_ID"));
    EXPECT_EQ(runs.text(0, "KIND_NAME"), text::big5("匯款"));
    EXPECT_EQ(runs.text(0, "BILL_COUNT"), "3");
    const db::RecordSet bills = journal::runBills(db(), runId);
    EXPECT_THAT(column(bills, "BILL_KEY"), ElementsAre("B1", "B2", "B3"));
    EXPECT_THAT(column(bills, "STAMP_AFTER"), ElementsAre(kDate, kDate, kDate));
    const std::vector<journal::RunFile> files = journal::runFiles(db(), runId);
    ASSERT_FALSE(files.empty());
    for (const journal::RunFile& file : files)
        EXPECT_EQ(journal::checkInFolder(file), journal::FileVerdict::Matches) << file.name;
}

TEST_F(PaymentRegister, FilesMadeAgainAreTheBytesTheRunWroteAndNeverReplaceUnasked)
{
    confirm(conditions());
    remit(RemitScope::AllRows, options());
    const std::map<std::string, std::string> written = bankFiles();
    ASSERT_FALSE(written.empty());
    const long long runId = lastResult.runId;

    // By default into a folder of the run's own, beside the live names.
    const std::string again = journal::filesAgainFolder(bank.path(), runId);
    EXPECT_EQ(again, bank.path() + "RUN" + std::to_string(runId) + "/");
    EXPECT_TRUE(journal::filesAgainWouldReplace(db(), runId, again).empty());
    const std::vector<std::string> paths = journal::writeFilesAgain(db(), runId, again);
    ASSERT_EQ(paths.size(), written.size());
    for (const auto& [name, bytes] : written) {
        std::string made;
        ASSERT_EQ(platform::readWholeFile(again + name, made), platform::ReadResult::Read) << name;
        EXPECT_EQ(made, bytes) << name;
    }
    // Into the bank folder itself, the live names are named before anything is written.
    std::vector<std::string> live;
    for (const auto& [name, bytes] : written)
        live.push_back(name);
    EXPECT_EQ(journal::filesAgainWouldReplace(db(), runId, bank.path()), live);
    // A run without files has nothing to make.
    auto listed = conditions();
    listed.state = RemittanceState::Remitted;
    confirm(listed);
    tick("B2");
    clear(Books::OwnStore);
    const long long clearing = std::stoll(db().lookup("SELECT MAX(RUN_ID) FROM PAY_RUN WHERE KIND = 'CLEAR'"));
    EXPECT_THROW(journal::writeFilesAgain(db(), clearing, again), text::UserError);
}

TEST_F(PaymentRegister, VerifyingAFolderTellsMatchingChangedAndUnknownFiles)
{
    // Two runs: B1 into ABC.TXT, then the rest (two providers, two records) into XYZ.TXT.
    confirm(conditions());
    tick("B1");
    remit(RemitScope::TickedRows, options());
    const long long firstRun = lastResult.runId;
    confirm(conditions());
    auto second = options();
    second.interBankFileName = "XYZ";
    remit(RemitScope::AllRows, second);
    const std::map<std::string, std::string> written = bankFiles();
    ASSERT_EQ(written.size(), 2u);
    const std::string keptName = written.begin()->first;
    const std::string changedName = written.rbegin()->first;
    ASSERT_EQ(changedName, "XYZ.TXT");

    // One file edited in its second record, one not written by any run, one as written.
    std::string edited = written.at(changedName);
    const std::size_t secondRecord = edited.find('\n') + 1;
    ASSERT_LT(secondRecord + 5, edited.size()) << "the file needs two records";
    edited[secondRecord + 3] = edited[secondRecord + 3] == '9' ? '8' : '9';
    ASSERT_TRUE(platform::replaceWholeFile(bank.path() + changedName, edited));
    ASSERT_TRUE(platform::replaceWholeFile(bank.path() + "OTHER.TXT", "not from the desk\r\n"));

    const std::vector<journal::FolderFileCheck> checks = journal::verifyFolder(db(), bank.path());
    std::map<std::string, journal::FolderFileCheck> byName;
    for (const journal::FolderFileCheck& check : checks)
        byName[check.name] = check;
    ASSERT_EQ(byName.size(), written.size() + 1);
    EXPECT_EQ(byName[keptName].verdict, journal::FileVerdict::Matches);
    EXPECT_EQ(byName[keptName].runId, firstRun);
    EXPECT_EQ(byName[changedName].verdict, journal::FileVerdict::Changed);
    EXPECT_EQ(byName[changedName].runId, lastResult.runId);
    EXPECT_EQ(byName[changedName].firstDifferingRecord, 2);
    EXPECT_EQ(byName["OTHER.TXT"].verdict, journal::FileVerdict::Unknown);
    EXPECT_EQ(byName["OTHER.TXT"].runId, 0);
    EXPECT_THROW(journal::verifyFolder(db(), bank.path() + "no-such-folder/"), text::UserError);
}

// A remit run's list printed again: its bills as the books hold them with the stamps the run
// gave them (a later clearing notwithstanding), every page marked 補印 with the run's date and
// number, and the reprint journalled as a run of its own.
TEST_F(PaymentRegister, ARemitRunsListPrintedAgainCarriesItsBillsAndTheMark)
{
    confirm(conditions());
    tick("B1");
    tick("B3");
    remit(RemitScope::TickedRows, options());
    const long long runId = lastResult.runId;
    const std::size_t before = handedReports(exeFolder.path()).size();
    exec("UPDATE PAY_MASTER SET BANK_DATE = NULL WHERE MASTERBILLID = 'B3'"); // cleared since

    const remittance::ListReprint reprint = remittance::reprintRemittanceList(desk, runId, options());
    EXPECT_EQ(reprint.bills, 2u);
    const auto reports = handedReports(exeFolder.path());
    ASSERT_EQ(reports.size(), before + 1);
    const HandedReport& list = reports.back();
    EXPECT_EQ(list.templatePath, exeFolder.path() + "rtm/P99_0005_02.rtm");
    EXPECT_EQ(text::big5ToUtf8(list.header.text(0, "Field8")),
              "補印 原匯款日 " + std::string(kDate) + " 付款紀錄 " + std::to_string(runId));
    EXPECT_EQ(list.header.text(0, "Field1"), "2024/01/01"); // the range the run was listed with
    EXPECT_EQ(list.header.text(0, "Field11"), "2");
    // The original list carried no mark.
    EXPECT_EQ(reports[before - 1].header.text(0, "Field8"), "");
    const db::RecordSet runs =
        db().query("SELECT KIND, REASON FROM PAY_RUN WHERE RUN_ID = " + std::to_string(reprint.runId));
    EXPECT_EQ(runs.text(0, 0), "REPRINT");
    EXPECT_EQ(text::big5ToUtf8(runs.text(0, 1)), "補印付款紀錄 " + std::to_string(runId));
    // Only a remit run has a list to print again.
    EXPECT_THROW(remittance::reprintRemittanceList(desk, reprint.runId, options()), text::UserError);
}

// Three runs of the journal: a remit of B1, a clearing of it, a remit of B2 and B3.
class JournalSeal : public PaymentRegister {
protected:
    std::vector<long long> runs;

    void makeRuns()
    {
        confirm(conditions());
        tick("B1");
        remit(RemitScope::TickedRows, options());
        auto listed = conditions();
        listed.state = RemittanceState::Remitted;
        confirm(listed);
        tick("B1");
        clear(Books::OwnStore);
        confirm(conditions());
        tick("B2");
        tick("B3");
        auto second = options();
        second.interBankFileName = "XYZ";
        remit(RemitScope::TickedRows, second);
        const db::RecordSet ids = db().query("SELECT RUN_ID FROM PAY_RUN ORDER BY RUN_ID");
        for (std::size_t r = 0; r < ids.rowCount(); ++r)
            runs.push_back(std::stoll(ids.text(r, 0)));
    }
};

TEST_F(JournalSeal, RunsAsThePressesWroteThemHoldTheChain)
{
    makeRuns();
    ASSERT_EQ(runs.size(), 3u);
    const journal::ChainReport report = journal::verifyChain(db());
    EXPECT_EQ(report.runsChecked, 3);
    EXPECT_EQ(report.unsealedRuns, 0);
    EXPECT_EQ(report.firstBrokenRun, 0) << report.problem;
    EXPECT_TRUE(report.booksDiffer.empty()) << testing::PrintToString(report.booksDiffer);
    // Each run names the one before it.
    EXPECT_EQ(db().lookup("SELECT PREV_RUN_ID FROM PAY_RUN WHERE RUN_ID = " + std::to_string(runs[2])),
              std::to_string(runs[1]));
}

// A hand edit past the triggers (an administrator's SQL tool) breaks the chain at exactly the
// run whose rows were edited.
struct HandEdit {
    const char* what;
    int run;                             // index of the edited run
    std::vector<std::string> statements; // "%RUN%" stands for that run's id
};

class JournalSealBreaks : public JournalSeal, public testing::WithParamInterface<HandEdit> {};

TEST_P(JournalSealBreaks, AtTheEditedRun)
{
    makeRuns();
    ASSERT_EQ(runs.size(), 3u);
    for (const char* trigger : {"PAY_RUN_KEPT", "PAY_RUN_BILL_KEPT", "PAY_RUN_FILE_KEPT"})
        db().execute(std::string("ALTER TRIGGER ") + trigger + " INACTIVE");
    for (std::string statement : GetParam().statements) {
        const std::size_t at = statement.find("%RUN%");
        if (at != std::string::npos)
            statement.replace(at, 5, std::to_string(runs[static_cast<std::size_t>(GetParam().run)]));
        db().execute(statement);
    }
    const journal::ChainReport report = journal::verifyChain(db());
    EXPECT_EQ(report.firstBrokenRun, runs[static_cast<std::size_t>(GetParam().run)]) << report.problem;
    EXPECT_FALSE(report.problem.empty());
}

INSTANTIATE_TEST_SUITE_P(
    HandEdits, JournalSealBreaks,
    testing::Values(
        HandEdit{"BillStamp", 1, {"UPDATE PAY_RUN_BILL SET STAMP_AFTER = '2024/01/01' WHERE RUN_ID = %RUN%"}},
        HandEdit{"BillAmount", 2, {"UPDATE PAY_RUN_BILL SET AMOUNT = AMOUNT + 0.001 WHERE RUN_ID = %RUN%"}},
        HandEdit{"StoredFileBytes", 0, {"UPDATE PAY_RUN_FILE SET BYTES = x'41' WHERE RUN_ID = %RUN%"}},
        HandEdit{"RunReason", 1, {"UPDATE PAY_RUN SET REASON = 'x' WHERE RUN_ID = %RUN%"}},
        // The count and sum stand beside the seal: the bill rows must still give them.
        HandEdit{"RunBillCount", 2, {"UPDATE PAY_RUN SET BILL_COUNT = BILL_COUNT + 1 WHERE RUN_ID = %RUN%"}},
        HandEdit{"RunBillSum", 0, {"UPDATE PAY_RUN SET BILL_SUM = BILL_SUM - 1 WHERE RUN_ID = %RUN%"}},
        // The run before is gone: the run that names it breaks.
        HandEdit{"RunBeforeDeleted",
                 2,
                 {"DELETE FROM PAY_RUN WHERE RUN_ID = (SELECT PREV_RUN_ID FROM PAY_RUN WHERE RUN_ID = %RUN%)"}}),
    [](const testing::TestParamInfo<HandEdit>& info) { return std::string(info.param.what); });

TEST_F(JournalSeal, ABookStampChangedByHandIsNamedWithTheRunThatLeftIt)
{
    makeRuns();
    db().execute("UPDATE PAY_MASTER SET BANK_DATE = '2030/01/01' WHERE MASTERBILLID = 'B3'");
    const journal::ChainReport report = journal::verifyChain(db());
    EXPECT_EQ(report.firstBrokenRun, 0) << report.problem;
    ASSERT_EQ(report.booksDiffer.size(), 1u);
    EXPECT_THAT(report.booksDiffer[0], testing::HasSubstr("PAY_MASTER B3"));
    EXPECT_THAT(report.booksDiffer[0], testing::HasSubstr(std::to_string(runs[2])));
    EXPECT_THAT(report.booksDiffer[0], testing::HasSubstr("帳冊現為 2030/01/01"));
}

TEST(FirstDifferingRecord, CountsRecordsUpToTheFirstDifferentByte)
{
    EXPECT_EQ(journal::firstDifferingRecord("a\nb\nc\n", "a\nb\nc\n"), 0);
    EXPECT_EQ(journal::firstDifferingRecord("a\nb\nc\n", "x\nb\nc\n"), 1);
    EXPECT_EQ(journal::firstDifferingRecord("a\nb\nc\n", "a\nb\nx\n"), 3);
    EXPECT_EQ(journal::firstDifferingRecord("a\nb\n", "a\nb\nc\n"), 3); // a record added at the end
    EXPECT_EQ(journal::firstDifferingRecord("a\nb\nc\n", "a\n"), 2);    // records cut off
}

} // namespace
} // namespace testing_support
