// Faults in the middle of a remit press: a statement that fails half-way through the stamps, a
// connection lost while the press runs, a bank folder that cannot take the transfer file.
// Whatever fails, the clerk sees an error, no transfer file is left half written, and no bill
// is stamped that no transfer record carries.
#include "platform/failpoint.h"
#include "text/error.h"
#include "workstation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include <sys/mount.h>

namespace server_tests {
namespace {

class RemitFaults : public ::testing::Test {
protected:
    TestDatabase books;
    SharedBooks bills{books.connection()};

    // Runs the press and returns the error it showed ("" when it went through).
    std::string pressShows(Workstation& station, const std::string& date = "2024/02/01")
    {
        try {
            station.remitAll(date);
        } catch (const text::UserError& error) {
            return error.what();
        }
        return "";
    }

    // Every file in a folder (names), to find half-written or temporary leftovers.
    static std::vector<std::string> filesIn(const std::string& folder)
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        return names;
    }

    // Nothing stamped, no transfer file: the books and the bank folder as before the press.
    void expectNothingRemitted(Workstation& station)
    {
        EXPECT_TRUE(bills.stamped().empty());
        EXPECT_TRUE(station.transferRecords().empty());
    }
};

// A statement of the press fails at the fourth bill (a trigger standing in for any server
// error half-way through the stamps).
TEST_F(RemitFaults, AStatementFailingHalfWayRollsEveryStampBack)
{
    bills.addBills(1, 8);
    books.connection().execute("CREATE EXCEPTION E_BOOKS_CLOSED 'The payment books are closed for audit'");
    books.connection().execute(db::SqlLines{"CREATE TRIGGER PAY_MASTER_AUDIT FOR PAY_MASTER BEFORE UPDATE AS BEGIN",
                                            " IF (NEW.MASTERBILLID = 'B1004') THEN EXCEPTION E_BOOKS_CLOSED;", "END"});
    Workstation station(books);
    station.confirm();

    const std::string shown = pressShows(station);
    EXPECT_NE(shown.find("The payment books are closed for audit"), std::string::npos) << shown;
    expectNothingRemitted(station);
    EXPECT_TRUE(filesIn(station.bank.path()).empty());
}

// The workstation's connection is cut by the server while its press waits for a bill another
// clerk holds: the press fails with the server's word and the server drops what it stamped.
TEST_F(RemitFaults, AConnectionLostDuringThePressLeavesNothingStamped)
{
    bills.addBills(1, 8);
    Workstation station(books);
    station.confirm();
    const long long attachment = station.database().connectionId();

    std::unique_ptr<db::Connection> holder = books.connectAgain();
    db::Transaction holding(*holder);
    holding.execute("UPDATE PAY_MASTER SET PAGE_ID = 'HELD' WHERE MASTERBILLID = 'B1006'");

    std::string shown;
    std::thread press([&] { shown = pressShows(station); });
    // Wait until the press is stuck on the held bill, having stamped the bills before it.
    bool waiting = false;
    for (int i = 0; i < 200 && !waiting; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
        waiting = books.connection().lookup("SELECT COUNT(*) FROM MON$STATEMENTS WHERE MON$ATTACHMENT_ID = " +
                                            std::to_string(attachment) + " AND MON$STATE = 1") != "0";
    }
    EXPECT_TRUE(waiting) << "the press never reached the held bill";
    // The administrator's (or a dying network's) cut of that attachment.
    books.connection().execute("DELETE FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID = " + std::to_string(attachment));
    press.join();
    holding.rollback();

    EXPECT_FALSE(shown.empty());
    EXPECT_TRUE(shown.find("shutdown") != std::string::npos || shown.find("connection") != std::string::npos) << shown;
    expectNothingRemitted(station);
    EXPECT_TRUE(filesIn(station.bank.path()).empty());
}

// The connection is cut after the transfer files are written (under their temporary names)
// but before the stamps commit: the files go again and the bank's batch file is never started, so the bank software
// cannot send bills that stay unstamped.
TEST_F(RemitFaults, StampsThatDoNotCommitTakeTheirTransferFilesAlongAndStartNoBatchFile)
{
    bills.addBills(1, 4);
    Workstation station(books);
    const std::string marker = station.bank.path() + "RMTR.BAT.ran";
    const std::string batch = station.bank.path() + "RMTR.BAT";
    std::ofstream(batch) << "#!/bin/sh\ntouch '" << marker << "'\n";
    std::filesystem::permissions(batch, std::filesystem::perms::owner_all);
    station.confirm();
    const long long attachment = station.database().connectionId();
    bool filesWereThere = false;
    platform::setFailpointHook([&](std::string_view point) {
        if (point != "before-commit")
            return;
        filesWereThere = filesIn(station.bank.path()).size() == 2; // the batch file and the waiting file
        books.connection().execute("DELETE FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID = " +
                                   std::to_string(attachment));
    });
    const std::string shown = pressShows(station);
    platform::setFailpointHook(nullptr);

    EXPECT_FALSE(shown.empty());
    EXPECT_TRUE(filesWereThere);
    expectNothingRemitted(station);
    EXPECT_EQ(filesIn(station.bank.path()), std::vector<std::string>{"RMTR.BAT"});
    std::this_thread::sleep_for(std::chrono::milliseconds(500)); // a started batch file would have run
    EXPECT_FALSE(std::filesystem::exists(marker));
}

// The bank folder named on the tab is not a folder at all: a path under a regular file.
TEST_F(RemitFaults, ABankPathUnderAFileStopsThePressBeforeAnyStamp)
{
    bills.addBills(1, 6);
    Workstation station(books);
    const std::string notAFolder = station.bank.path() + "bank.lnk";
    std::ofstream(notAFolder) << "a shortcut, not a folder";
    station.bankPath = notAFolder + "/";
    station.confirm();

    const std::string shown = pressShows(station);
    EXPECT_NE(shown.find("Unable to write to"), std::string::npos) << shown;
    EXPECT_NE(shown.find("ABC.TXT"), std::string::npos) << shown;
    EXPECT_TRUE(bills.stamped().empty());
    EXPECT_EQ(filesIn(station.bank.path()), std::vector<std::string>{"bank.lnk"});

    // Once the clerk fixes the path, the same bills go out in one file.
    station.bankPath = station.bank.path();
    station.confirm();
    EXPECT_EQ(pressShows(station), "");
    EXPECT_EQ(bills.stamped().size(), 6u);
    EXPECT_EQ(station.transferRecords().size(), 6u);
}

// A bank folder on a disk that fills up while the file is written (a tiny tmpfs): no partial
// file and no stamp. Needs the right to mount, which test machines running as root have.
TEST_F(RemitFaults, ADiskFullWhileWritingLeavesNoPartialFileAndNoStamp)
{
    TempFolder mountPoint;
    if (mount("tmpfs", mountPoint.path().c_str(), "tmpfs", 0, "size=8k") != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here";
    struct Unmount {
        std::string path;
        ~Unmount() { umount(path.c_str()); }
    } unmount{mountPoint.path()};

    bills.addBills(1, 120); // about 21 KB of records for 8 KB of disk
    Workstation station(books);
    station.bankPath = mountPoint.path();
    station.confirm();

    const std::string shown = pressShows(station);
    EXPECT_NE(shown.find("Unable to write to"), std::string::npos) << shown;
    EXPECT_TRUE(bills.stamped().empty());
    EXPECT_TRUE(filesIn(mountPoint.path()).empty()) << "no partial or temporary file";
}

} // namespace
} // namespace server_tests
