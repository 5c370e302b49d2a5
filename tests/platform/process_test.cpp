#include "platform/process.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

class StartDetachedTest : public testing::Test {
protected:
    testing_support::TempFolder folder;
    std::string marker = folder.path() + "marker";

#ifndef _WIN32
    std::string writeScript(const std::string& name, const std::string& body, mode_t mode = 0755)
    {
        const auto path = folder.path() + name;
        std::ofstream(path) << body;
        ::chmod(path.c_str(), mode);
        return path;
    }
#endif
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

#ifdef _WIN32

// A batch file with Windows line ends, as the bank's software writes them.
std::string writeBatch(const std::string& path, const std::vector<std::string>& lines)
{
    std::ofstream out(path, std::ios::binary);
    for (const auto& line : lines)
        out << line << "\r\n";
    return path;
}

std::string withoutTrailingSeparator(std::string path)
{
    while (!path.empty() && (path.back() == '\\' || path.back() == '\r' || path.back() == '\n' || path.back() == ' '))
        path.pop_back();
    return path;
}

TEST_F(StartDetachedTest, RunsTheBatchFileThroughTheInterpreterInItsFolder)
{
    // Blanks in both folders: the command line keeps each path whole.
    const std::string bankFolder = folder.path() + "bank files\\";
    const std::string workFolder = folder.path() + "work folder\\";
    std::filesystem::create_directory(bankFolder);
    std::filesystem::create_directory(workFolder);
    const auto batch = writeBatch(bankFolder + "RMTR.BAT", {"@echo off", "echo %CD%> \"" + marker + ".part\"",
                                                            "move \"" + marker + ".part\" \"" + marker + "\" > nul"});
    ASSERT_TRUE(platform::startDetached(batch, workFolder));
    const auto content = waitForMarker();
    ASSERT_FALSE(content.empty()) << "the batch file did not run";
    EXPECT_EQ(withoutTrailingSeparator(content), withoutTrailingSeparator(workFolder));
}

TEST_F(StartDetachedTest, DoesNotWaitForTheBatchFile)
{
    // The batch file ends only once the test has seen the start return.
    const auto batch =
        writeBatch(folder.path() + "RTTR.BAT", {"@echo off", ":wait", "if not exist go goto wait",
                                                "echo done> marker.part", "move marker.part marker > nul"});
    const auto start = Clock::now();
    ASSERT_TRUE(platform::startDetached(batch, folder.path()));
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1500));
    EXPECT_FALSE(std::filesystem::exists(marker));
    std::ofstream(folder.path() + "go") << "go";
    EXPECT_FALSE(waitForMarker(std::chrono::seconds(30)).empty()); // it finishes on its own
}

TEST_F(StartDetachedTest, ReportsWhatCannotBeStarted)
{
    const std::vector<std::string> lines = {"@echo off", "echo run> marker"};
    const auto notProgram = writeBatch(folder.path() + "plain.txt", lines);
    const auto batch = writeBatch(folder.path() + "RMTR.BAT", lines);
    EXPECT_FALSE(platform::startDetached(notProgram, folder.path()));
    EXPECT_FALSE(platform::startDetached(folder.path() + "missing.BAT", folder.path()));
    EXPECT_FALSE(platform::startDetached(folder.path(), folder.path())); // a folder
    EXPECT_FALSE(platform::startDetached(batch, folder.path() + "no-such-folder\\"));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_FALSE(std::filesystem::exists(marker));
}

#else

// The script writes the marker under another name first, so that it appears complete.
const std::string markerScript = "#!/bin/sh\n"
                                 "echo \"$(pwd) $PPID\" > marker.part\n"
                                 "mv marker.part marker\n";

TEST_F(StartDetachedTest, RunsTheProgramInItsFolderAsNobodysChild)
{
    testing_support::TempFolder workFolder;
    const auto script = writeScript("RMTR.BAT", "#!/bin/sh\n"
                                                "echo \"$(pwd) $PPID\" > " +
                                                    marker +
                                                    ".part\n"
                                                    "mv " +
                                                    marker + ".part " + marker + "\n");
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

#endif

} // namespace
