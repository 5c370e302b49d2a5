#include "platform/ini_file.h"
#include "support/temp_folder.h"
#include "text/big5.h"
#include "text/error.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

using platform::IniFile;

std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

class IniFileTest : public testing::Test {
protected:
    testing_support::TempFolder folder;
    std::string path = folder.path() + "Bill.ini";

    IniFile withContent(const std::string& bytes)
    {
        writeBytes(path, bytes);
        return IniFile(path);
    }
    std::vector<std::string> folderEntries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

const std::string billIni = "; settlement desk\r\n"
                            "[FormPayAcc]\r\n"
                            "acc_check=1\r\n"
                            "BANK_PATH = /home/clerk/bank/ \r\n"
                            "bsSkinRadioGroup13=0\r\n"
                            "\r\n"
                            "; printer of the back office\r\n"
                            "[Printer]\r\n"
                            "name=Laser=A4\r\n";

TEST_F(IniFileTest, ReadsValuesWithTheProfileRules)
{
    const auto ini = withContent(billIni + "[formpayacc]\r\nacc_check=9\r\n");
    struct Case {
        const char* section;
        const char* key;
        const char* value;
    };
    const Case cases[] = {
        {"FormPayAcc", "acc_check", "1"},
        {"FORMPAYACC", "Bank_Path", "/home/clerk/bank/"}, // names ignore case, value trimmed
        {"Printer", "name", "Laser=A4"},                  // the first '=' ends the key
        {"Printer", "acc_check", "fallback"},             // keys belong to their section
        {"Missing", "acc_check", "fallback"},
        {"FormPayAcc", "settlement desk", "fallback"}, // a comment holds no key
        {"FormPayAcc", "missing", "fallback"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.section << "/" << c.key);
        EXPECT_EQ(ini.read(c.section, c.key, "fallback"), c.value);
    }
    EXPECT_EQ(ini.read("Printer", "missing"), "");
}

TEST_F(IniFileTest, AMissingFileReadsAsDefaults)
{
    const IniFile ini(folder.path() + "none.ini");
    EXPECT_EQ(ini.read("FormPayAcc", "BANK_PATH", "C:\\"), "C:\\");
    EXPECT_EQ(ini.read("FormPayAcc", "BANK_PATH"), "");
}

TEST_F(IniFileTest, WritingAValueChangesThatValueOnly)
{
    auto ini = withContent(billIni);
    ini.write("FormPayAcc", "BANK_PATH", "/srv/bank/");
    ini.write("formpayacc", "ACC_CHECK", "0"); // the key keeps its spelling in the file
    ini.write("Printer", "name", "");
    EXPECT_EQ(readBytes(path), "; settlement desk\r\n"
                               "[FormPayAcc]\r\n"
                               "acc_check=0\r\n"
                               "BANK_PATH = /srv/bank/\r\n"
                               "bsSkinRadioGroup13=0\r\n"
                               "\r\n"
                               "; printer of the back office\r\n"
                               "[Printer]\r\n"
                               "name=\r\n");
    EXPECT_EQ(ini.read("FormPayAcc", "BANK_PATH"), "/srv/bank/");
    EXPECT_EQ(ini.read("Printer", "name", "x"), "");
}

TEST_F(IniFileTest, ANewKeyGoesAfterTheLastKeyOfItsSection)
{
    auto ini = withContent(billIni);
    ini.write("FormPayAcc", "last_run", "2016/02/29");
    ini.write("Printer", "copies", "2");
    EXPECT_EQ(readBytes(path), "; settlement desk\r\n"
                               "[FormPayAcc]\r\n"
                               "acc_check=1\r\n"
                               "BANK_PATH = /home/clerk/bank/ \r\n"
                               "bsSkinRadioGroup13=0\r\n"
                               "last_run=2016/02/29\r\n"
                               "\r\n"
                               "; printer of the back office\r\n"
                               "[Printer]\r\n"
                               "name=Laser=A4\r\n"
                               "copies=2\r\n");
}

TEST_F(IniFileTest, ANewKeyInASectionWithoutKeysFollowsItsHeader)
{
    auto ini = withContent("[rpttemp]\r\n\r\n[other]\r\nx=1\r\n");
    ini.write("rpttemp", "rpt_name", "P99");
    EXPECT_EQ(readBytes(path), "[rpttemp]\r\nrpt_name=P99\r\n\r\n[other]\r\nx=1\r\n");
}

TEST_F(IniFileTest, ANewSectionIsAppended)
{
    struct Case {
        std::string before, after;
    };
    const Case cases[] = {
        {billIni, billIni + "\r\n[rpttemp]\r\nrpt_name=P99\r\n"},
        {"[a]\r\nx=1", "[a]\r\nx=1\r\n\r\n[rpttemp]\r\nrpt_name=P99\r\n"}, // no final line end
        {"[a]\nx=1\n\n", "[a]\nx=1\n\n[rpttemp]\nrpt_name=P99\n"},         // LF file, blank end
        {"", "[rpttemp]\r\nrpt_name=P99\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before);
        auto ini = withContent(c.before);
        ini.write("rpttemp", "rpt_name", "P99");
        EXPECT_EQ(readBytes(path), c.after);
    }
}

TEST_F(IniFileTest, AFileWithLinuxLineEndsKeepsThem)
{
    auto ini = withContent("[FormPayAcc]\nacc_check=1\n[x]\ny=2");
    ini.write("FormPayAcc", "acc_check", "0");
    ini.write("FormPayAcc", "BANK_PATH", "/srv/");
    ini.write("x", "z", "3");
    EXPECT_EQ(readBytes(path), "[FormPayAcc]\nacc_check=0\nBANK_PATH=/srv/\n[x]\ny=2\nz=3\n");
}

TEST_F(IniFileTest, FirstStartCreatesTheFileWithWindowsLineEnds)
{
    IniFile ini(path);
    ini.write("FormPayAcc", "acc_check", "1");
    ini.write("FormPayAcc", "BANK_PATH", "C:\\");
    ini.write("FormPayAcc", "bsSkinRadioGroup13", "0");
    EXPECT_EQ(readBytes(path), "[FormPayAcc]\r\nacc_check=1\r\nBANK_PATH=C:\\\r\nbsSkinRadioGroup13=0\r\n");
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"Bill.ini"}); // no temporary left
}

TEST_F(IniFileTest, Big5NamesAndValuesKeepTheirBytes)
{
    // The second byte of "包" is ']' and of "功" is '\\': neither may end a name.
    const auto section = text::big5("包裝");
    const auto key = text::big5("功能");
    const auto value = text::big5("許功蓋 C:\\");
    IniFile ini(path);
    ini.write(section, key, value);
    ini.write("other", "k", "v");
    EXPECT_EQ(ini.read(section, key), value);
    EXPECT_EQ(ini.read(section, "k", "none"), "none");
    EXPECT_EQ(readBytes(path), "[" + section + "]\r\n" + key + "=" + value + "\r\n\r\n[other]\r\nk=v\r\n");
}

#ifndef _WIN32
TEST_F(IniFileTest, AWriteKeepsTheFilePermissionsAndFollowsALink)
{
    writeBytes(path, "[a]\r\nx=1\r\n");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    const std::string link = folder.path() + "link.ini";
    ASSERT_EQ(::symlink(path.c_str(), link.c_str()), 0);
    IniFile(link).write("a", "x", "2");
    struct stat status {};
    ASSERT_EQ(::lstat(link.c_str(), &status), 0);
    EXPECT_TRUE(S_ISLNK(status.st_mode));
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(readBytes(path), "[a]\r\nx=2\r\n");
}
#endif

void expectUnableToWrite(const std::string& path)
{
    SCOPED_TRACE(path);
    IniFile ini(path);
    try {
        ini.write("FormPayAcc", "acc_check", "1");
        ADD_FAILURE() << "written";
    } catch (const text::UserError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + path);
    }
}

TEST_F(IniFileTest, AReadOnlyFileIsNotWrittenAndStaysAsItWas)
{
    writeBytes(path, billIni);
    namespace fs = std::filesystem;
    // chmod 0444 here, the read-only attribute on Windows: refused even for root.
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    expectUnableToWrite(path);
    EXPECT_EQ(readBytes(path), billIni);
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"Bill.ini"});
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add); // so the folder can go
}

TEST_F(IniFileTest, AFolderThatCannotHoldTheFileIsReported)
{
    // Root writes into any folder regardless of its mode bits, so the folders used here are
    // ones nobody can write into: a path below a regular file, the kernel's /proc, a folder
    // that does not exist, the name of a folder.
    writeBytes(folder.path() + "file.ini", "x");
    expectUnableToWrite(folder.path() + "file.ini/Bill.ini");
#ifndef _WIN32
    expectUnableToWrite("/proc/Bill.ini");
#endif
    expectUnableToWrite(folder.path() + "missing/Bill.ini");
    std::filesystem::create_directory(folder.path() + "rtm");
    expectUnableToWrite(folder.path() + "rtm");
}

#ifdef _WIN32
TEST_F(IniFileTest, ABig5FileNameReachesTheDiskAsItsCharacters)
{
    // The name goes to Windows as UTF-16, whatever code page the machine runs with.
    IniFile ini(folder.path() + text::big5("匯款設定.ini"));
    ini.write("FormPayAcc", "acc_check", "1");
    EXPECT_TRUE(
        std::filesystem::exists(std::filesystem::path(folder.path()) / std::filesystem::path(u8"匯款設定.ini")));
    EXPECT_EQ(ini.read("FormPayAcc", "acc_check"), "1");
}
#else
TEST_F(IniFileTest, AReadOnlyFolderIsReportedForAClerk)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into a read-only folder; covered by the cases above";
    writeBytes(path, billIni);
    ASSERT_EQ(::chmod(folder.path().c_str(), 0555), 0);
    expectUnableToWrite(path);
    ::chmod(folder.path().c_str(), 0755);
    EXPECT_EQ(readBytes(path), billIni);
}
#endif

} // namespace
