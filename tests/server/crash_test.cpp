// A press killed at each of its steps, as kill -9 or a power cut would stop a workstation: a
// process of its own runs the press and dies at a named step; a fresh process then starts,
// recovers from the journal, and the books and the bank folder agree: every bill stamped by a
// committed run is in exactly one record of a file in place, every record of a file in place
// belongs to a committed run and a stamped bill, and no temporary file is left; after the next
// run of any clerk no work table of the killed workstation is left either. Needs the
// private server (two processes on one database).
#include "workstation.h"

#include "support/payment_consistency.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include <sys/wait.h>
#include <unistd.h>

namespace server_tests {
namespace {

namespace fs = std::filesystem;

struct Exit {
    bool killed = false;
    int code = -1;
};

// Runs the workstation process to its end.
Exit runChild(const std::vector<std::string>& args, const std::string& failpoint)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (failpoint.empty())
            ::unsetenv("DESK_FAILPOINT");
        else
            ::setenv("DESK_FAILPOINT", failpoint.c_str(), 1);
        std::vector<char*> argv;
        const std::string program = std::string(DESK_BIN_DIR) + "press_child";
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    Exit exit;
    exit.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    exit.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return exit;
}

class Crash : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        if (!books.params().embedded())
            return;
        GTEST_SKIP() << "two processes on one database need the private server (DESK_TEST_SERVER)";
    }

    TestDatabase books;
    SharedBooks bills{books.connection()};
    TempFolder exe, bank;

    Exit child(const std::string& mode, const std::string& failpoint, const std::string& date = "2024/02/01",
               const std::string& interBank = "ABC")
    {
        return runChild({mode, books.params().database, bank.path(), exe.path(), date, interBank}, failpoint);
    }

    // The books against the bank folder (and, with `workObjects`, the database's work
    // objects); returns the findings.
    std::vector<std::string> findings(bool workObjects = false)
    {
        testing_support::PaymentScope scope;
        scope.bankFolders = {bank.path()};
        scope.billKeyOf = [](const std::string& record) { return SharedBooks::key(SharedBooks::billOf(record)); };
        return (workObjects ? testing_support::checkPaymentConsistency(books.connection(), scope)
                            : testing_support::checkBooksAgainstFolders(books.connection(), scope))
            .findings;
    }
};

TEST_P(Crash, AFreshStartFinishesOrUndoesThePressKilledAtThisStep)
{
    const std::string point = GetParam();
    bills.addBills(1, 6);
    bills.bankAtSameBank(5, 6);
    testing_support::installFakeReportLibrary(exe.path());

    const Exit killed = child("remit", point + ":kill");
    ASSERT_TRUE(killed.killed) << "the press did not reach " << point << " (exit " << killed.code << ")";
    const bool committed = books.connection().lookup("SELECT COUNT(*) FROM PAY_RUN") != "0";
    EXPECT_EQ(committed, point != "after-temp-files" && point != "before-commit");

    // Before any recovery the check sees what the kill left: the waiting temporary files and,
    // of a committed run, stamped bills that no file in place carries.
    const std::vector<std::string> left = findings();
    const bool waiting = point == "after-temp-files" || point == "before-commit" || point == "after-commit";
    EXPECT_EQ(!left.empty(), waiting) << ::testing::PrintToString(left);
    if (waiting) {
        EXPECT_THAT(left, ::testing::Contains(::testing::HasSubstr("temporary file left")));
    }
    if (point == "after-commit") {
        EXPECT_THAT(left, ::testing::Contains(::testing::HasSubstr("is in 0 records")));
    }

    ASSERT_EQ(child("recover", "").code, 0);
    EXPECT_EQ(findings(), std::vector<std::string>{});
    EXPECT_EQ(bills.stamped().size(), committed ? 6u : 0u);

    // Another clerk then remits whatever is still unremitted under another file name: still
    // every stamped bill in exactly one record (the killed press's waiting files are gone),
    // and that clerk's run has swept the killed workstation's work tables.
    ASSERT_EQ(child("remit", "", "2024/02/02", "GHI").code, 0);
    EXPECT_EQ(findings(true), std::vector<std::string>{});
    EXPECT_EQ(bills.stamped().size(), 6u);
}

INSTANTIATE_TEST_SUITE_P(EveryStep, Crash,
                         ::testing::Values("after-temp-files", "before-commit", "after-commit", "after-rename",
                                           "after-place"),
                         [](const auto& info) {
                             std::string name = info.param;
                             name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
                             return name;
                         });

} // namespace
} // namespace server_tests
