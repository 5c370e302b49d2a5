#include "platform/paths.h"
#include "support/test_database.h"
#include "text/big5.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <pwd.h>
#include <unistd.h>

namespace {

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

TEST(Paths, PathsForMessages)
{
    EXPECT_EQ(platform::pathForDisplay("/srv/bank/RMTR.BAT"), "/srv/bank/RMTR.BAT");
    EXPECT_EQ(platform::pathForDisplay("/srv/匯款/"), "/srv/匯款/");              // UTF-8 file names
    EXPECT_EQ(platform::pathForDisplay("/srv/" + text::big5("匯款") + "/"), "/srv/匯款/"); // typed Big5
}

} // namespace
