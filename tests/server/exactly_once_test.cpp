// Every payment exactly once, at the press the page calls: no bill stamped that no transfer
// record carries, no record for a bill that is not stamped, whatever the clerk typed, whatever
// another clerk did meanwhile and wherever the press fails.
#include "journal/file_delivery.h"
#include "journal/payment_journal.h"
#include "journal/sha256.h"
#include "platform/failpoint.h"
#include "remittance/clear_remittance_dates.h"
#include "text/error.h"
#include "workstation.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using testing::HasSubstr;

// Every fsync of the test program is noted with the path it flushed, so a test can tell
// whether a file and its folder reached the disk before the stamps committed.
namespace {
std::vector<std::string>* flushedPaths = nullptr;
}
extern "C" int fsync(int fd)
{
    using Real = int (*)(int);
    static const auto real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "fsync"));
    if (flushedPaths) {
        char target[4096] = {};
        const std::string link = "/proc/self/fd/" + std::to_string(fd);
        const ssize_t length = ::readlink(link.c_str(), target, sizeof target - 1);
        if (length > 0)
            flushedPaths->push_back(std::string(target, static_cast<std::size_t>(length)));
    }
    return real(fd);
}

namespace server_tests {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> filesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string withoutSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

class ExactlyOnce : public ::testing::Test {
protected:
    TestDatabase books;
    SharedBooks bills{books.connection()};

    void TearDown() override { platform::setFailpointHook(nullptr); }

    std::string pressShows(Workstation& station, const std::string& date = "2024/02/01")
    {
        try {
            station.remitAll(date);
        } catch (const text::UserError& error) {
            return error.what();
        }
        return "";
    }

    std::set<int> filed(Workstation& station)
    {
        std::set<int> found;
        for (const char* file : {"ABC.TXT", "DEF.TXT"})
            for (const std::string& record : station.transferRecords(file))
                EXPECT_TRUE(found.insert(SharedBooks::billOf(record)).second) << "a bill in two records";
        return found;
    }
};

// 1 and 8: the file names and values the clerk left. Each case names every row and why, and
// nothing is stamped or written.
TEST_F(ExactlyOnce, APressNoFileCouldCarryWholeIsRefusedNamingEveryRow)
{
    bills.addBills(1, 6);
    bills.bankAtSameBank(5, 6);
    struct Case {
        const char* what;
        std::string interBank, sameBank;
        int extraBill;          // a bill added for the case (0: none)
        std::vector<int> named; // bills the refusal must name
        const char* reason;
    } cases[] = {
        {"inter-bank name emptied", "", "DEF", 0, {1, 2, 3, 4}, "跨行檔名空白"},
        {"both names the same", "ABC", "ABC", 0, {1, 2, 3, 4, 5, 6}, "跨行與聯行檔名相同"},
        {"export name without '-': no same-bank name", "ABC", "", 0, {5, 6}, "聯行檔名空白"},
        {"blank export name", "", "", 0, {1, 2, 3, 4, 5, 6}, "檔名空白"},
        {"CR LF in the holder's name", "ABC", "DEF", 7, {7}, "戶名含控制字元"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.extraBill) {
            bills.addBills(c.extraBill, c.extraBill);
            books.connection().execute("UPDATE PROVIDER SET BANK_TITLE = 'Hold' || ASCII_CHAR(13) || ASCII_CHAR(10) "
                                       "|| 'er' WHERE PROVIDER_ID = 'P7'");
        }
        Workstation station(books);
        station.confirm();
        remittance::OutputControls tab = station.outputControls("2024/02/01");
        tab.interBankFileName = c.interBank;
        tab.sameBankFileName = c.sameBank;
        const remittance::RemitResult result = remittance::remit(station.desk, remittance::RemitScope::AllRows, tab);

        EXPECT_EQ(result.outcome, remittance::RemitResult::Outcome::Refused);
        std::set<std::string> named;
        for (const remittance::RefusedRow& row : result.refused)
            named.insert(row.billId);
        std::set<std::string> expected;
        for (const int bill : c.named)
            expected.insert(SharedBooks::key(bill));
        EXPECT_EQ(named, expected);
        ASSERT_FALSE(result.messages().empty());
        EXPECT_THAT(result.messages().back(), HasSubstr(c.reason));
        EXPECT_TRUE(bills.stamped().empty());
        EXPECT_TRUE(filesIn(station.bank.path()).empty());
    }
}

// 2: clerk B's list ("不分匯款") was made before clerk A remitted the same bills. B's press
// stamps nothing A stamped, writes no record for it and names the bills.
TEST_F(ExactlyOnce, AListOfEveryStateLeavesOutBillsRemittedSinceAndNamesThem)
{
    bills.addBills(1, 5);
    Workstation clerkA(books), clerkB(books);
    clerkB.confirm(remittance::RemittanceState::Either);
    clerkA.confirm();
    ASSERT_EQ(pressShows(clerkA, "2024/02/01"), "");

    bills.addBills(6, 6); // not in B's list
    ASSERT_EQ(pressShows(clerkB, "2024/02/02"), "");
    const std::map<int, std::string> stamped = bills.stamped();
    EXPECT_EQ(stamped.size(), 5u);
    for (const auto& [bill, date] : stamped)
        EXPECT_EQ(date, "2024/02/01") << bill;
    EXPECT_TRUE(clerkB.transferRecords().empty()) << "B's file carries bills A remitted";
    EXPECT_EQ(filed(clerkA), (std::set<int>{1, 2, 3, 4, 5}));
    ASSERT_FALSE(clerkB.messages.informed.empty());
    for (int bill = 1; bill <= 5; ++bill)
        EXPECT_THAT(clerkB.messages.informed.back(), HasSubstr(SharedBooks::key(bill)));
    EXPECT_THAT(clerkB.messages.informed.back(), HasSubstr("2024/02/01"));
}

// 2: the hidden clearing on a stale list leaves another clerk's fresh stamps alone.
TEST_F(ExactlyOnce, ClearingOnAStaleListLeavesStampsMadeSinceAndNamesThem)
{
    bills.addBills(1, 3);
    Workstation clerkA(books), clerkB(books);
    clerkB.confirm(remittance::RemittanceState::Either);
    clerkA.confirm();
    ASSERT_EQ(pressShows(clerkA), "");
    for (std::size_t r = 0; r < clerkB.grid.rowCount(); ++r)
        clerkB.grid.setText(r, "CHKED", "Y");

    const remittance::ClearResult result = remittance::clearRemittanceDates(clerkB.desk, remittance::Books::OwnStore);
    EXPECT_EQ(bills.stamped().size(), 3u);
    EXPECT_TRUE(result.cleared.empty());
    EXPECT_EQ(result.leftOut.size(), 3u);
    ASSERT_FALSE(result.messages().empty());
    EXPECT_THAT(result.messages().back(), HasSubstr(SharedBooks::key(2)));
}

// Rows the list shows as remitted already are remitted again only when the clerk says so;
// the question names them with their earlier dates.
TEST_F(ExactlyOnce, RemittingRowsListedAsRemittedAsksFirst)
{
    bills.addBills(1, 2);
    books.connection().execute("UPDATE PAY_MASTER SET BANK_DATE = '2024/01/25' WHERE MASTERBILLID = 'B1001'");
    Workstation station(books);
    station.confirm(remittance::RemittanceState::Either);
    station.messages.answers = {false};
    const remittance::RemitResult declined = station.remitAll("2024/02/01");
    EXPECT_EQ(declined.outcome, remittance::RemitResult::Outcome::Declined);
    ASSERT_EQ(station.messages.asked.size(), 1u);
    EXPECT_THAT(station.messages.asked[0], HasSubstr("B1001"));
    EXPECT_THAT(station.messages.asked[0], HasSubstr("2024/01/25"));
    EXPECT_THAT(station.messages.asked[0], testing::Not(HasSubstr("B1002")));
    EXPECT_EQ(bills.stamped(), (std::map<int, std::string>{{1, "2024/01/25"}}));
    EXPECT_TRUE(filesIn(station.bank.path()).empty());

    station.messages.answers = {true};
    EXPECT_EQ(station.remitAll("2024/02/01").outcome, remittance::RemitResult::Outcome::Remitted);
    EXPECT_EQ(bills.stamped(), (std::map<int, std::string>{{1, "2024/02/01"}, {2, "2024/02/01"}}));
}

// 3: the server commits but the answer is lost: the connection is cut right after the commit
// (as a dying network would), so the press meets the server's own error on its connection.
// It asks the journal on a fresh connection, finds the run, and puts its files in place.
TEST_F(ExactlyOnce, ACommitWhoseAnswerIsLostIsFoundInTheJournalAndItsFilesStay)
{
    bills.addBills(1, 4);
    Workstation station(books);
    station.confirm();
    const std::string attachment = std::to_string(station.database().connectionId());
    platform::setFailpointHook([&](std::string_view point) {
        if (point != "after-commit")
            return;
        books.connection().execute("DELETE FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID = " + attachment);
        station.database().lookup("SELECT COUNT(*) FROM RDB$DATABASE"); // the cut connection's error
        FAIL() << "the cut connection still answered";
    });
    const remittance::RemitResult result = station.remitAll("2024/02/01");
    platform::setFailpointHook(nullptr);

    EXPECT_EQ(result.outcome, remittance::RemitResult::Outcome::Remitted);
    EXPECT_EQ(bills.stamped().size(), 4u);
    EXPECT_EQ(filed(station), (std::set<int>{1, 2, 3, 4}));
    EXPECT_EQ(filesIn(station.bank.path()), std::vector<std::string>{"ABC.TXT"});
    EXPECT_EQ(books.connection().lookup("SELECT COUNT(*) FROM PAY_RUN WHERE RUN_ID = " + std::to_string(result.runId)),
              "1");
}

// 4: the second file cannot be written: nothing is stamped and the first file goes too.
TEST_F(ExactlyOnce, ASecondFileThatCannotBeWrittenTakesTheFirstAlong)
{
    bills.addBills(1, 4);
    bills.bankAtSameBank(3, 4);
    Workstation station(books);
    const std::string blocked = station.bank.path() + "DEF.TXT";
    std::ofstream(blocked) << "the bank software's file\r\n";
    ::chmod(blocked.c_str(), 0444);
    station.confirm();

    const std::string shown = pressShows(station);
    EXPECT_THAT(shown, HasSubstr("Unable to write to"));
    EXPECT_THAT(shown, HasSubstr("DEF.TXT"));
    EXPECT_TRUE(bills.stamped().empty());
    EXPECT_EQ(filesIn(station.bank.path()), std::vector<std::string>{"DEF.TXT"});
    EXPECT_EQ(readFile(blocked), "the bank software's file\r\n");
}

// 9: each file and its folder reach the disk before the stamps commit, and the folder again
// once the file has its name.
TEST_F(ExactlyOnce, FilesAndTheirFolderAreFlushedBeforeTheCommitAndAfterTheRename)
{
    bills.addBills(1, 3);
    Workstation station(books);
    station.confirm();
    std::vector<std::string> flushed;
    std::vector<std::string> beforeCommit;
    flushedPaths = &flushed;
    platform::setFailpointHook([&](std::string_view point) {
        if (point == "before-commit")
            beforeCommit = flushed;
    });
    const std::string shown = pressShows(station);
    flushedPaths = nullptr;
    ASSERT_EQ(shown, "");

    const std::string folder = withoutSlash(fs::canonical(station.bank.path()).string());
    const auto flushedFile = std::find_if(beforeCommit.begin(), beforeCommit.end(), [&](const std::string& path) {
        return path.rfind(folder + "/ABC.TXT.run", 0) == 0;
    });
    EXPECT_NE(flushedFile, beforeCommit.end()) << "the file was not flushed before the commit";
    EXPECT_NE(std::find(flushedFile, beforeCommit.end(), folder), beforeCommit.end())
        << "the folder was not flushed after the file before the commit";
    EXPECT_NE(std::find(flushed.begin() + static_cast<long>(beforeCommit.size()), flushed.end(), folder), flushed.end())
        << "the folder was not flushed after the rename";
}

// The journal holds what was paid: the run, each bill before and after, each file's bytes.
TEST_F(ExactlyOnce, TheJournalHoldsTheRunItsBillsAndTheFilesBytes)
{
    bills.addBills(1, 3);
    Workstation station(books);
    station.confirm();
    const remittance::RemitResult result = station.remitAll("2024/02/01");
    ASSERT_EQ(result.outcome, remittance::RemitResult::Outcome::Remitted);
    ASSERT_EQ(result.files.size(), 1u);
    EXPECT_EQ(result.files[0].records, 3);

    db::Connection& db = books.connection();
    const std::string run = std::to_string(result.runId);
    const db::RecordSet row = db.query("SELECT KIND, BOOKS, RUN_DATE, BILL_COUNT, BILL_SUM, FILE_COUNT, DB_USER, "
                                       "HOST_NAME, ATTACHMENT_ID FROM PAY_RUN WHERE RUN_ID = " +
                                       run);
    ASSERT_EQ(row.rowCount(), 1u);
    EXPECT_EQ(row.text(0, "KIND"), "REMIT");
    EXPECT_EQ(row.text(0, "BOOKS"), "PAY_MASTER");
    EXPECT_EQ(row.text(0, "RUN_DATE"), "2024/02/01");
    EXPECT_EQ(row.number(0, "BILL_COUNT"), 3);
    EXPECT_EQ(row.number(0, "BILL_SUM"), 101 + 102 + 103);
    EXPECT_EQ(row.number(0, "FILE_COUNT"), 1);
    EXPECT_FALSE(row.text(0, "DB_USER").empty());
    EXPECT_EQ(static_cast<long long>(row.number(0, "ATTACHMENT_ID")), station.database().connectionId());
    const db::RecordSet billRows = db.query("SELECT BILL_KEY, STAMP_BEFORE, STAMP_AFTER FROM PAY_RUN_BILL WHERE "
                                            "RUN_ID = " +
                                            run + " ORDER BY BILL_KEY");
    ASSERT_EQ(billRows.rowCount(), 3u);
    EXPECT_TRUE(billRows.isNull(0, 1));
    EXPECT_EQ(billRows.text(0, 2), "2024/02/01");
    const std::string content = readFile(station.bankPath + kInterBankFile);
    EXPECT_EQ(db.lookup("SELECT SHA256 FROM PAY_RUN_FILE WHERE RUN_ID = " + run), journal::sha256Hex(content));
    EXPECT_EQ(journal::fileBytes(db, result.runId, 1), content);
    // Kept as written.
    EXPECT_THROW(db.execute("DELETE FROM PAY_RUN_BILL WHERE RUN_ID = " + run), text::UserError);
    EXPECT_THROW(db.execute("UPDATE PAY_RUN_FILE SET FILE_NAME = 'X' WHERE RUN_ID = " + run), text::UserError);
}

// Recovery: a committed run whose file never reached the folder gets it from the journal;
// temporary files of a run that never committed go.
TEST_F(ExactlyOnce, RecoveryFinishesCommittedRunsAndRemovesWhatNeverCommitted)
{
    bills.addBills(1, 3);
    Workstation station(books);
    station.confirm();
    // The files' rename fails once the stamps are committed (a crash at that step).
    platform::setFailpointHook([](std::string_view point) {
        if (point == "after-commit")
            throw std::runtime_error("crash after the commit");
    });
    EXPECT_THROW(station.remitAll("2024/02/01"), std::runtime_error);
    platform::setFailpointHook(nullptr);
    EXPECT_EQ(bills.stamped().size(), 3u);
    ASSERT_EQ(filesIn(station.bank.path()).size(), 1u); // the waiting file
    const std::string orphan = station.bank.path() + "ABC.TXT.run999999-999999.tmp";
    std::ofstream(orphan) << "a run that never committed";

    const journal::RecoveryReport report = journal::recoverFiles(station.database(), {station.bank.path()});
    EXPECT_EQ(report.restored, std::vector<std::string>{station.bank.path() + "ABC.TXT"});
    EXPECT_EQ(filesIn(station.bank.path()), std::vector<std::string>{"ABC.TXT"});
    EXPECT_EQ(filed(station), (std::set<int>{1, 2, 3}));
    EXPECT_THAT(journal::recoveryMessage(report), HasSubstr("ABC.TXT"));
    // Once is enough.
    EXPECT_TRUE(journal::recoverFiles(station.database(), {station.bank.path()}).restored.empty());
}

// A committed run's file that never reached the folder, overtaken by a later run's file of
// the same name: not put back over it, and the clerk is told which run's file it was.
TEST_F(ExactlyOnce, AFileOvertakenByALaterRunOfTheSameNameIsNamedNotRestored)
{
    bills.addBills(1, 2);
    Workstation station(books);
    station.confirm();
    platform::setFailpointHook([](std::string_view point) {
        if (point == "after-commit")
            throw std::runtime_error("crash after the commit");
    });
    EXPECT_THROW(station.remitAll("2024/02/01"), std::runtime_error);
    platform::setFailpointHook(nullptr);
    const long long crashed = std::stoll(books.connection().lookup("SELECT MAX(RUN_ID) FROM PAY_RUN"));
    for (const std::string& name : filesIn(station.bank.path()))
        fs::remove(station.bank.path() + name); // the waiting file is lost with the disk's cache

    bills.addBills(3, 3);
    station.confirm();
    const remittance::RemitResult later = station.remitAll("2024/02/02");
    EXPECT_THAT(later.recoveryNotice, HasSubstr("ABC.TXT")) << "recovery before the press restores the file";
    // The press's own recovery put the crashed run's file in place before writing its own.
    EXPECT_EQ(filed(station), (std::set<int>{3}));

    // Now the other order: the later run is journalled first.
    books.connection().execute("INSERT INTO PAY_RUN_FILE (RUN_ID, FILE_NO, FOLDER, FILE_NAME, TEMP_NAME, RECORDS, "
                               "BYTE_SIZE, SHA256) VALUES (" +
                               std::to_string(crashed + 100) + ", 1, " + db::quote(station.bankPath) +
                               ", 'XYZ.TXT', 'XYZ.TXT.tmp', 0, 0, 'x')");
    books.connection().execute("INSERT INTO PAY_RUN_FILE (RUN_ID, FILE_NO, FOLDER, FILE_NAME, TEMP_NAME, RECORDS, "
                               "BYTE_SIZE, SHA256) VALUES (" +
                               std::to_string(crashed + 50) + ", 1, " + db::quote(station.bankPath) +
                               ", 'XYZ.TXT', 'XYZ.TXT.tmp', 0, 0, 'y')");
    books.connection().execute("INSERT INTO PAY_RUN_PLACED (RUN_ID, FILE_NO, OUTCOME) VALUES (" +
                               std::to_string(crashed + 100) + ", 1, 'PLACED')");
    const journal::RecoveryReport report = journal::recoverFiles(station.database(), {station.bank.path()});
    ASSERT_EQ(report.overtaken.size(), 1u);
    EXPECT_THAT(report.overtaken[0], HasSubstr(std::to_string(crashed + 50)));
    EXPECT_THAT(report.overtaken[0], HasSubstr(std::to_string(crashed + 100)));
    EXPECT_FALSE(fs::exists(station.bank.path() + "XYZ.TXT"));
}

// A press between its commit and putting its files in place has not crashed: another
// clerk's recovery at that moment leaves its files to it, tells its own clerk nothing, and
// the press puts them in place itself.
TEST_F(ExactlyOnce, AnotherClerksRecoveryLeavesALivePresssFilesToIt)
{
    bills.addBills(1, 3);
    Workstation a(books), b(books);
    a.confirm();
    journal::RecoveryReport meanwhile;
    platform::setFailpointHook([&](std::string_view point) {
        if (point == "after-commit")
            meanwhile = journal::recoverFiles(b.database(), {b.bank.path()});
    });
    const remittance::RemitResult result = a.remitAll("2024/02/01");
    platform::setFailpointHook(nullptr);
    EXPECT_TRUE(meanwhile.restored.empty());
    EXPECT_EQ(meanwhile.removedTemporaries, 0);
    EXPECT_EQ(journal::recoveryMessage(meanwhile), "");
    EXPECT_TRUE(result.placingProblems.empty());
    EXPECT_EQ(filesIn(a.bank.path()), std::vector<std::string>{"ABC.TXT"});
    EXPECT_EQ(filed(a), (std::set<int>{1, 2, 3}));
    EXPECT_EQ(books.connection().lookup("SELECT LIST(OUTCOME) FROM PAY_RUN_PLACED"), "PLACED");
}

// Two workstations recover the same crashed run at once (seen in the soak run with kills):
// the one whose waiting file the other moved into place first finds the file there and goes
// on, instead of failing its clerk's press with "Unable to write".
TEST_F(ExactlyOnce, ARecoveryOvertakenByAnotherRecoveryOfTheSameRunFindsTheFileInPlace)
{
    bills.addBills(1, 3);
    Workstation station(books);
    station.confirm();
    platform::setFailpointHook([](std::string_view point) {
        if (point == "after-commit")
            throw std::runtime_error("crash after the commit");
    });
    EXPECT_THROW(station.remitAll("2024/02/01"), std::runtime_error);
    const std::vector<std::string> waiting = filesIn(station.bank.path());
    ASSERT_EQ(waiting.size(), 1u);
    platform::setFailpointHook([&](std::string_view point) {
        if (point == "before-placing-rename") // the other workstation's recovery, a moment earlier
            fs::rename(station.bank.path() + waiting[0], station.bank.path() + kInterBankFile);
    });
    journal::RecoveryReport report;
    EXPECT_NO_THROW(report = journal::recoverFiles(station.database(), {station.bank.path()}));
    platform::setFailpointHook(nullptr);
    EXPECT_EQ(report.restored, std::vector<std::string>{station.bank.path() + kInterBankFile});
    EXPECT_EQ(filesIn(station.bank.path()), std::vector<std::string>{kInterBankFile});
    EXPECT_EQ(filed(station), (std::set<int>{1, 2, 3}));
}

} // namespace
} // namespace server_tests
