#include "platform/file_replace.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

namespace fs = std::filesystem;
using platform::RenameResult;

std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

class FileReplaceTest : public testing::Test {
protected:
    testing_support::TempFolder folder;

    std::string write(const std::string& name, const std::string& bytes)
    {
        std::ofstream(folder.path() + name, std::ios::binary) << bytes;
        return folder.path() + name;
    }
    std::vector<std::string> entries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder.path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    void makeReadOnly(const std::string& path)
    {
        fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    }
    void TearDown() override
    {
        // A read-only file would keep the folder from going on Windows.
        for (const auto& entry : fs::directory_iterator(folder.path()))
            fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add);
    }
};

TEST_F(FileReplaceTest, AReplacementTakesTheOldFilesPlaceWhole)
{
    const auto path = write("Bill.ini", "old content that is longer than the new one\r\n");
    const std::string bytes("[a]\r\nx=\xB2\x7B\0\r\n", 12); // Big5 and a zero byte pass unchanged
    ASSERT_TRUE(platform::replaceWholeFile(path, bytes));
    EXPECT_EQ(readBytes(path), bytes);
    ASSERT_TRUE(platform::replaceWholeFile(folder.path() + "new.ini", "n=1\r\n")); // created
    EXPECT_EQ(readBytes(folder.path() + "new.ini"), "n=1\r\n");
    EXPECT_EQ(entries(), (std::vector<std::string>{"Bill.ini", "new.ini"})); // no temporary left
    std::string read;
    ASSERT_EQ(platform::readWholeFile(path, read), platform::ReadResult::Read);
    EXPECT_EQ(read, bytes);
    EXPECT_EQ(platform::readWholeFile(folder.path() + "none.ini", read), platform::ReadResult::Missing);
    EXPECT_EQ(platform::readWholeFile(folder.path(), read), platform::ReadResult::Failed); // a folder
}

TEST_F(FileReplaceTest, ReadOnlyFilesAndFoldersAreNotReplaceable)
{
    const auto plain = write("RMTR.TXT", "x");
    const auto kept = write("KEPT.TXT", "kept by the bank");
    makeReadOnly(kept);
    fs::create_directory(folder.path() + "RUN1");
    EXPECT_TRUE(platform::isReplaceable(plain));
    EXPECT_TRUE(platform::isReplaceable(folder.path() + "missing.TXT"));
    EXPECT_FALSE(platform::isReplaceable(kept));
    EXPECT_FALSE(platform::isReplaceable(folder.path() + "RUN1"));
    EXPECT_FALSE(platform::replaceWholeFile(kept, "new"));
    EXPECT_EQ(readBytes(kept), "kept by the bank");
}

TEST_F(FileReplaceTest, AFlushedFileIsRenamedOverTheOldOneInOneStep)
{
    const auto target = write("RMTR.TXT", "yesterday's transfers");
    const std::string temporary = folder.path() + "RMTR.TXT.run1-1.tmp";
    ASSERT_TRUE(platform::writeFileFlushed(temporary, "today's transfers"));
    EXPECT_TRUE(platform::flushFolder(folder.path()));
    EXPECT_EQ(platform::renameOver(temporary, target), RenameResult::Renamed);
    EXPECT_EQ(readBytes(target), "today's transfers");
    EXPECT_EQ(entries(), std::vector<std::string>{"RMTR.TXT"});
    // Moved meanwhile (another workstation's recovery): told apart from a failure.
    EXPECT_EQ(platform::renameOver(temporary, target), RenameResult::SourceMissing);
    fs::create_directory(folder.path() + "RUN1");
    fs::create_directory(folder.path() + "RUN1" + static_cast<char>(fs::path::preferred_separator) + "inside");
    ASSERT_TRUE(platform::writeFileFlushed(temporary, "x"));
    EXPECT_EQ(platform::renameOver(temporary, folder.path() + "RUN1"), RenameResult::Failed); // a folder stays
    EXPECT_TRUE(fs::is_directory(folder.path() + "RUN1"));
}

TEST_F(FileReplaceTest, WritingWhereNoFileCanBeIsRefused)
{
    write("file.txt", "x");
    EXPECT_FALSE(platform::writeFileFlushed(folder.path() + "missing/RMTR.TXT", "x"));
    EXPECT_FALSE(platform::writeFileFlushed(folder.path() + "file.txt/RMTR.TXT", "x"));
    EXPECT_FALSE(platform::flushFolder(folder.path() + "missing"));
    EXPECT_EQ(entries(), std::vector<std::string>{"file.txt"});
}

} // namespace
