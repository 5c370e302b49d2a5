#include "platform/paths.h"
#include "support/temp_folder.h"
#include "text/big5.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32

TEST(Paths, ExeFolderIsTheRunningProgramsFolderWithItsSeparator)
{
    EXPECT_EQ(platform::separator(), "\\");
    const auto folder = platform::exeFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_TRUE(std::filesystem::path(folder).is_absolute()) << folder;
    EXPECT_TRUE(platform::fileExists(folder + "test_platform.exe")) << folder;
}

TEST(Paths, DefaultBankFolderIsTheRootOfDriveC)
{
    EXPECT_EQ(platform::defaultBankFolder(), "C:\\");
}

TEST(Paths, PathsForMessages)
{
    EXPECT_EQ(platform::pathForDisplay("C:\\BANK\\RMTR.BAT"), "C:\\BANK\\RMTR.BAT");
    EXPECT_EQ(platform::pathForDisplay("C:\\" + text::big5("匯款") + "\\"), "C:\\匯款\\"); // Big5 names
}

#else

TEST(Paths, ExeFolderIsTheRunningProgramsFolderWithItsSeparator)
{
    EXPECT_EQ(platform::separator(), "/");
    const auto folder = platform::exeFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    const auto program = std::filesystem::read_symlink("/proc/self/exe");
    EXPECT_EQ(folder, program.parent_path().string() + "/");
    EXPECT_TRUE(platform::fileExists(folder + program.filename().string()));
}

// Sets an environment variable for one test and puts the old value back.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnvironment()
    {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(Paths, DefaultBankFolderIsTheHomeFolderWithItsSeparator)
{
    {
        ScopedEnvironment home("HOME", "/home/clerk");
        EXPECT_EQ(platform::defaultBankFolder(), "/home/clerk/");
    }
    {
        ScopedEnvironment home("HOME", "/home/clerk/");
        EXPECT_EQ(platform::defaultBankFolder(), "/home/clerk/");
    }
    {
        // Without HOME the account database still knows the folder.
        ScopedEnvironment home("HOME", nullptr);
        const passwd* user = ::getpwuid(::geteuid());
        ASSERT_NE(user, nullptr);
        std::string expected = user->pw_dir;
        if (expected.back() != '/')
            expected += '/';
        EXPECT_EQ(platform::defaultBankFolder(), expected);
    }
}

TEST(Paths, PathsForMessages)
{
    EXPECT_EQ(platform::pathForDisplay("/srv/bank/RMTR.BAT"), "/srv/bank/RMTR.BAT");
    EXPECT_EQ(platform::pathForDisplay("/srv/匯款/"), "/srv/匯款/");                       // UTF-8 file names
    EXPECT_EQ(platform::pathForDisplay("/srv/" + text::big5("匯款") + "/"), "/srv/匯款/"); // typed Big5
}

#endif

TEST(Paths, ASeparatorIsAddedOnlyWhereNoneEnds)
{
    const std::string s = platform::separator();
    // The second byte of "許" (B3 5C) is the byte of the Windows separator: it ends no folder.
    const std::string permit = text::big5("許");
    struct Case {
        std::string folder, expected;
    };
    const Case cases[] = {
        {"bank", "bank" + s},
        {"bank" + s, "bank" + s},
        {"bank" + permit, "bank" + permit + s},
        {"bank" + permit + s, "bank" + permit + s},
        {"", ""}, // the current folder stays itself
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        EXPECT_EQ(platform::withTrailingSeparator(c.folder), c.expected);
    }
}

TEST(Paths, TheModuleOfCodeInTheProgramIsTheProgramsFolder)
{
    EXPECT_EQ(platform::moduleFolder(reinterpret_cast<const void*>(&platform::exeFolder)), platform::exeFolder());
}

TEST(Paths, FilesExistAndAreRemovedQuietly)
{
    testing_support::TempFolder folder;
    const auto file = folder.path() + "temp.cds";
    const auto subfolder = folder.path() + "rtm";
    std::ofstream(file) << "x";
    std::filesystem::create_directory(subfolder);

    EXPECT_TRUE(platform::fileExists(file));
    EXPECT_FALSE(platform::fileExists(subfolder)); // a folder is not a file
    EXPECT_FALSE(platform::fileExists(folder.path() + "temp2.cds"));

    platform::removeFileQuietly(file);
    EXPECT_FALSE(std::filesystem::exists(file));
    platform::removeFileQuietly(file);      // gone already: nothing happens
    platform::removeFileQuietly(subfolder); // never a folder
    EXPECT_TRUE(std::filesystem::is_directory(subfolder));
}

} // namespace
