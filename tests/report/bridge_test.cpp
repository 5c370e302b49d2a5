// The report hand-over through the bridge, with the stand-in library that keeps what it gets.
#include "report/bridge.h"
#include "support/recording.h"
#include "support/report_capture.h"
#include "support/test_database.h"
#include "text/big5.h"
#include "text/error.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using testing_support::HandedReport;
using testing_support::TempFolder;
using testing_support::TestDatabase;

namespace {

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The keys of one section in file order.
std::vector<std::string> keysOfSection(const std::string& iniText, const std::string& section)
{
    std::vector<std::string> keys;
    std::istringstream in(iniText);
    std::string line;
    bool inside = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line.front() == '[') {
            inside = line == "[" + section + "]";
            continue;
        }
        const auto eq = line.find('=');
        if (inside && eq != std::string::npos)
            keys.push_back(line.substr(0, eq));
    }
    return keys;
}

class BridgeTest : public ::testing::Test {
protected:
    TestDatabase database;
    TempFolder exe;
    work::WorkTables tables{database.connection(), "_1", report::handOverFiles(exe.path())};
    db::RecordSet grid;
    db::RecordSet data;

    void SetUp() override
    {
        // A run's work tables and the grid it opened, as a page leaves them before printing.
        tables.names().viewA = "VIEW_A101010_1";
        tables.names().tableA = "TMP_A101010_1";
        tables.names().tableC = "TMP_C101010_1";
        database.connection().execute("CREATE TABLE TMP_A101010_1 (PROVIDER_ID VARCHAR(10), AMT2 DOUBLE PRECISION)");
        database.connection().execute("CREATE TABLE TMP_C101010_1 (PROVIDER_ID VARCHAR(10))");
        database.connection().execute("CREATE VIEW VIEW_A101010_1 AS SELECT PROVIDER_ID FROM TMP_A101010_1");
        database.connection().execute("INSERT INTO TMP_A101010_1 VALUES ('P001', 1500)");
        grid = database.connection().query("SELECT * FROM TMP_A101010_1");
        data = grid;
    }

    bool exists(const std::string& name)
    {
        return !database.connection()
                    .query("SELECT RDB$RELATION_NAME FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = " + db::quote(name))
                    .isEmpty();
    }
    bool runIsOver()
    {
        return !grid.isOpen() && !exists("VIEW_A101010_1") && !exists("TMP_A101010_1") && !exists("TMP_C101010_1");
    }
    bool runIsIntact()
    {
        return grid.isOpen() && grid.rowCount() == 1 && exists("VIEW_A101010_1") && exists("TMP_A101010_1") &&
               exists("TMP_C101010_1");
    }

    report::ReportRequest request(const std::string& templateFile, int fields)
    {
        report::ReportRequest r;
        r.templateFile = templateFile;
        r.data = &data;
        r.headerFieldCount = fields;
        r.header["Field0"] = text::big5("帳款資料查詢報表");
        return r;
    }
};

TEST_F(BridgeTest, WritesTheFourKeysInOrderAndKeepsTheRestOfRpttempIni)
{
    {
        std::ofstream ini(exe.path() + "rpttemp.ini", std::ios::binary);
        ini << "; kept by hand\r\n[printer]\r\nname=Back office laser\r\n\r\n[rpttemp]\r\nrpt_name=Old\r\n";
    }
    testing_support::installFakeReportLibrary(exe.path());
    report::Bridge bridge(exe.path());

    bridge.launch(request("Tolvane_01.rtm", 20), grid, tables);

    const std::string ini = readFile(exe.path() + "rpttemp.ini");
    EXPECT_NE(ini.find("; kept by hand\r\n[printer]\r\nname=Back office laser\r\n"), std::string::npos) << ini;
    EXPECT_EQ(keysOfSection(ini, "rpttemp"), (std::vector<std::string>{"rpt_name", "path", "tempfile", "tempfile2"}));

    const auto handed = testing_support::handedReports(exe.path());
    ASSERT_EQ(handed.size(), 1u);
    EXPECT_EQ(handed[0].reportName, "FormTolvane");
    EXPECT_EQ(handed[0].templatePath, exe.path() + "rtm/Tolvane_01.rtm");
    EXPECT_EQ(bridge.lastTemplatePath(), exe.path() + "rtm/Tolvane_01.rtm");
    EXPECT_EQ(handed[0].dataFile, exe.path() + "temp.cds");
    EXPECT_EQ(handed[0].headerFile, exe.path() + "temp2.cds");
    ASSERT_EQ(handed[0].data.rowCount(), 1u);
    EXPECT_EQ(handed[0].data.text(0, "PROVIDER_ID"), "P001");
    EXPECT_EQ(handed[0].data.number(0, "AMT2"), 1500);
    EXPECT_EQ(handed[0].header.text(0, "Field0"), text::big5("帳款資料查詢報表"));
    // The hand-over files stay for the library, and the run is over.
    EXPECT_TRUE(std::filesystem::exists(exe.path() + "temp.cds"));
    EXPECT_TRUE(std::filesystem::exists(exe.path() + "temp2.cds"));
    EXPECT_TRUE(runIsOver());
}

struct HeaderKind {
    const char* templateFile;
    int fields;
    std::vector<std::string> stores; // UTF-8
};

TEST_F(BridgeTest, EachReportKindHandsOverItsOwnHeaderLayoutOneAfterAnother)
{
    testing_support::installFakeReportLibrary(exe.path());
    report::Bridge bridge(exe.path());
    const std::vector<HeaderKind> kinds = {
        {"P99_0005_02.rtm", 13, {"台北店", "新竹店", "高雄店"}},
        {"P99_000502.rtm", 18, {}},
        {"Tolvane_03.rtm", 20, {}},
        {"P99_0005_02.rtm", 13, {"台北店"}},
    };
    for (const HeaderKind& kind : kinds) {
        report::ReportRequest r = request(kind.templateFile, kind.fields);
        for (const auto& store : kind.stores)
            r.storeNames.push_back(text::big5(store));
        r.header["Field91"] = "not for the library";
        bridge.launch(r, grid, tables);
    }

    const auto handed = testing_support::handedReports(exe.path());
    ASSERT_EQ(handed.size(), kinds.size());
    for (std::size_t k = 0; k < kinds.size(); ++k) {
        SCOPED_TRACE(kinds[k].templateFile);
        const db::RecordSet& header = handed[k].header;
        std::vector<std::string> expected;
        for (int i = 0; i < kinds[k].fields; ++i)
            expected.push_back("Field" + std::to_string(i));
        for (std::size_t s = 0; s < kinds[k].stores.size(); ++s)
            expected.push_back("Field" + std::to_string(101 + s));
        for (const char* note : {"Field91", "Field92", "Field93"})
            expected.push_back(note);
        std::vector<std::string> names;
        for (const db::Column& c : header.columns()) {
            names.push_back(c.name);
            EXPECT_EQ(c.type, db::FieldType::String) << c.name;
            EXPECT_EQ(c.size, c.name.size() == 7 && c.name.rfind("Field9", 0) == 0 ? 200u : 50u) << c.name;
        }
        EXPECT_EQ(names, expected);
        ASSERT_EQ(header.rowCount(), 1u);
        for (std::size_t s = 0; s < kinds[k].stores.size(); ++s)
            EXPECT_EQ(header.text(0, "Field" + std::to_string(101 + s)), text::big5(kinds[k].stores[s]));
        for (const char* note : {"Field91", "Field92", "Field93"})
            EXPECT_EQ(header.text(0, note), "");
        EXPECT_EQ(header.text(0, "Field1"), "");
        EXPECT_EQ(handed[k].templatePath, exe.path() + "rtm/" + kinds[k].templateFile);
    }
}

TEST_F(BridgeTest, HeaderValuesAreCutToTheirFieldWithoutSplittingACharacter)
{
    report::ReportRequest r = request("Tolvane_02.rtm", 20);
    // 49 single bytes and then a double-byte character: byte 50 would be its lead byte.
    r.header["Field1"] = std::string(49, 'A') + text::big5("號");
    r.header["Field2"] = std::string(60, 'B');
    const db::RecordSet header = report::buildHeader(r);
    EXPECT_EQ(header.text(0, "Field1"), std::string(49, 'A') + " ");
    EXPECT_EQ(header.text(0, "Field2"), std::string(50, 'B'));
}

TEST_F(BridgeTest, WithoutTheLibraryTheLaunchSaysUnableToLoadDllAndStillEndsTheRun)
{
    report::Bridge bridge(exe.path());
    try {
        bridge.launch(request("Tolvane_01.rtm", 20), grid, tables);
        FAIL() << "the launch went through without a library";
    } catch (const text::UserError& e) {
        EXPECT_STREQ(e.what(), "Unable to Load DLL");
    }
    EXPECT_TRUE(std::filesystem::exists(exe.path() + "rpttemp.ini"));
    EXPECT_TRUE(runIsOver());
}

TEST_F(BridgeTest, ALibraryWithoutShowFormShowsNothingSaysNothingAndEndsTheRun)
{
    testing_support::installFakeReportLibrary(exe.path(), false);
    report::Bridge bridge(exe.path());
    EXPECT_NO_THROW(bridge.launch(request("Tolvane_01.rtm", 20), grid, tables));
    EXPECT_TRUE(testing_support::handedReports(exe.path()).empty());
    EXPECT_TRUE(runIsOver());
}

TEST_F(BridgeTest, AFileThatCannotBeWrittenStopsTheLaunchAndLeavesTheRunAsItWas)
{
    testing_support::installFakeReportLibrary(exe.path());
    struct Case {
        const char* what;
        std::string folder;
        std::string blockedFile; // made a folder so that it cannot be written as a file
        std::string message;     // empty: the file error's own text, whatever it is
    };
    const std::vector<Case> cases = {
        {"missing folder", exe.path() + "gone/", "", "Unable to write to " + exe.path() + "gone/rpttemp.ini"},
        {"temp.cds blocked", exe.path(), "temp.cds", ""},
        {"temp2.cds blocked", exe.path(), "temp2.cds", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (!c.blockedFile.empty())
            std::filesystem::create_directory(c.folder + c.blockedFile);
        report::Bridge bridge(c.folder);
        try {
            bridge.launch(request("Tolvane_01.rtm", 20), grid, tables);
            ADD_FAILURE() << "the launch went through";
        } catch (const text::UserError& e) {
            if (!c.message.empty())
                EXPECT_EQ(std::string(e.what()), c.message);
            else
                EXPECT_NE(std::string(e.what()), "");
        }
        EXPECT_TRUE(runIsIntact());
        EXPECT_TRUE(testing_support::handedReports(exe.path()).empty());
        if (!c.blockedFile.empty())
            std::filesystem::remove(c.folder + c.blockedFile);
    }
}

// The window's run prologue deletes the record-set files of the last hand-over, so that a
// report never shows an earlier run's rows; rpttemp.ini stays, with the clerk's other keys.
TEST_F(BridgeTest, PrologueDeletesTheReportHandOverFiles)
{
    for (const char* name : {"temp.cds", "temp2.cds", "rpttemp.ini"})
        std::ofstream(exe.path() + name) << "x";
    testing_support::RecordingProgress progress;
    tables.prologue(progress, false);
    EXPECT_FALSE(std::ifstream(exe.path() + "temp.cds").good());
    EXPECT_FALSE(std::ifstream(exe.path() + "temp2.cds").good());
    EXPECT_TRUE(std::ifstream(exe.path() + "rpttemp.ini").good());
    tables.dropAll();
}

} // namespace
