#include "platform/process.h"
#include "support/test_database.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

class StartDetachedTest : public testing::Test {
protected:
    testing_support::TempFolder folder;
    std::string marker = folder.path() + "marker";

    std::string writeScript(const std::string& name, const std::string& body, mode_t mode = 0755)
    {
        const auto path = folder.path() + name;
        std::ofstream(path) << body;
        ::chmod(path.c_str(), mode);
        return path;
    }
    // The marker's content once the script has written it; empty after the time limit.
    std::string waitForMarker(std::chrono::seconds limit = std::chrono::seconds(10)) const
    {
        const auto end = Clock::now() + limit;
        while (Clock::now() < end) {
            if (std::filesystem::exists(marker)) {
                std::ifstream in(marker);
                std::ostringstream content;
                content << in.rdbuf();
                return content.str();
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return {};
    }
};

// The script writes the marker under another name first, so that it appears complete.
const std::string markerScript = "#!/bin/sh\n"
                                 "echo \"$(pwd) $PPID\" > marker.part\n"
                                 "mv marker.part marker\n";

TEST_F(StartDetachedTest, RunsTheProgramInItsFolderAsNobodysChild)
{
    testing_support::TempFolder workFolder;
    const auto script = writeScript("RMTR.BAT", "#!/bin/sh\n"
                                                "echo \"$(pwd) $PPID\" > " + marker + ".part\n"
                                                "mv " + marker + ".part " + marker + "\n");
    ASSERT_TRUE(platform::startDetached(script, workFolder.path()));
    const auto content = waitForMarker();
    ASSERT_FALSE(content.empty()) << "the program did not run";
    std::istringstream fields(content);
    std::string workingFolder;
    pid_t parent = 0;
    fields >> workingFolder >> parent;
    EXPECT_EQ(std::filesystem::path(workingFolder), std::filesystem::path(workFolder.path()).parent_path());
    EXPECT_NE(parent, ::getpid());
}

TEST_F(StartDetachedTest, AScriptWithoutInterpreterLineRunsThroughTheShell)
{
    const auto script = writeScript("RTTR.BAT", "echo \"$(pwd) $PPID\" > marker.part\nmv marker.part marker\n");
    ASSERT_TRUE(platform::startDetached(script, folder.path()));
    EXPECT_FALSE(waitForMarker().empty());
}

TEST_F(StartDetachedTest, DoesNotWaitForTheProgram)
{
    const auto script = writeScript("slow.sh", "#!/bin/sh\nsleep 2\n" + markerScript.substr(10));
    const auto start = Clock::now();
    ASSERT_TRUE(platform::startDetached(script, folder.path()));
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1500));
    EXPECT_FALSE(std::filesystem::exists(marker));
    EXPECT_FALSE(waitForMarker().empty()); // it finishes on its own
}

TEST_F(StartDetachedTest, ReportsWhatCannotBeStarted)
{
    const auto notExecutable = writeScript("plain.txt", markerScript, 0644);
    const auto script = writeScript("RMTR.BAT", markerScript);
    EXPECT_FALSE(platform::startDetached(notExecutable, folder.path()));
    EXPECT_FALSE(platform::startDetached(folder.path() + "missing.BAT", folder.path()));
    EXPECT_FALSE(platform::startDetached(folder.path(), folder.path())); // a folder
    EXPECT_FALSE(platform::startDetached(script, folder.path() + "no-such-folder/"));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(std::filesystem::exists(marker));
}

} // namespace
