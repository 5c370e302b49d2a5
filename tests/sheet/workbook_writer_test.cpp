// Workbooks written by the sheet module and read back by openpyxl: titles, captions, Chinese
// text, numbers with their formats, totals, frozen captions, fitted widths, and a table longer
// than a sheet split over several with a note (the limit made small here).
#include "sheet/workbook_writer.h"
#include "sheet/sheet_names.h"
#include "support/test_database.h"
#include "support/workbook_reader.h"
#include "text/error.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using testing_support::ReadSheet;
using testing_support::readWorkbook;

namespace {

// Rows of a provider, an amount and a count: amount 1000 * (row + 1) + 0.4, count row % 3.
sheet::Table providerTable(std::size_t rows,
                           std::vector<std::string> titles = {"康樂生活百貨股份有限公司", "廠商付款明細"})
{
    sheet::Table t;
    t.name = "付款明細";
    t.titleLines = std::move(titles);
    t.captions = {"廠商名稱", "金額", "筆數", "code"};
    t.rowCount = rows;
    t.row = [](std::size_t row, std::vector<sheet::Cell>& cells) {
        cells[0] = sheet::Cell::ofText(row % 2 ? "大統食品股份有限公司" : "永興紙業行");
        cells[1] = sheet::Cell::ofNumber(1000.0 * double(row + 1) + 0.4, sheet::NumberFormat::Grouped);
        if (row % 3)
            cells[2] = sheet::Cell::ofNumber(double(row % 3), sheet::NumberFormat::Whole);
        cells[3] = sheet::Cell::ofText("R" + std::to_string(row + 1));
    };
    t.totalsLabel = "合計";
    return t;
}

TEST(WorkbookWriter, TitlesCaptionsTextsNumbersAndTotalsReadBack)
{
    testing_support::TempFolder folder;
    const std::string path = folder.path() + "list.xlsx";
    sheet::writeWorkbook(path, {providerTable(4)});

    const std::vector<ReadSheet> sheets = readWorkbook(path);
    ASSERT_EQ(sheets.size(), 1u);
    const ReadSheet& s = sheets[0];
    EXPECT_EQ(s.name, "付款明細");
    EXPECT_EQ(s.at(1, 1).text, "康樂生活百貨股份有限公司");
    EXPECT_EQ(s.at(2, 1).text, "廠商付款明細");
    EXPECT_EQ(s.rowTexts(3), std::vector<std::string>{}); // a blank row above the captions
    EXPECT_EQ(s.rowTexts(4), (std::vector<std::string>{"廠商名稱", "金額", "筆數", "code"}));
    EXPECT_EQ(s.freezePanes, "A5"); // the title and captions stay in view
    // Rows 5 to 8: texts as strings, amounts and counts as numbers in their formats.
    EXPECT_EQ(s.at(5, 1).type, 's');
    EXPECT_EQ(s.at(5, 1).text, "永興紙業行");
    EXPECT_EQ(s.at(6, 1).text, "大統食品股份有限公司");
    for (int r = 5; r <= 8; ++r) {
        EXPECT_EQ(s.at(r, 2).type, 'n') << r;
        EXPECT_EQ(s.at(r, 2).format, "#,##0") << r;
        EXPECT_DOUBLE_EQ(s.at(r, 2).number, 1000.0 * (r - 4) + 0.4) << r;
    }
    EXPECT_EQ(s.at(5, 3).type, 0); // an empty cell stays empty, not a 0 or ""
    EXPECT_EQ(s.at(6, 3).format, "0");
    EXPECT_DOUBLE_EQ(s.at(6, 3).number, 1);
    // The totals row sums the number columns over all rows.
    EXPECT_EQ(s.lastRow(), 9);
    EXPECT_EQ(s.at(9, 1).text, "合計");
    EXPECT_DOUBLE_EQ(s.at(9, 2).number, 10001.6);
    EXPECT_EQ(s.at(9, 2).format, "#,##0");
    EXPECT_DOUBLE_EQ(s.at(9, 3).number, 0 + 1 + 2 + 0);
    EXPECT_EQ(s.at(9, 4).type, 0);
    // Widths fit the widest text: ten Chinese characters take twenty units, "R4" two.
    ASSERT_TRUE(s.widths.count(1) && s.widths.count(4));
    EXPECT_GE(s.widths.at(1), 20);
    EXPECT_LT(s.widths.at(4), 10);
}

// A table longer than a sheet continues on further sheets, each with the titles, a note of
// which rows it holds and the captions; the totals follow the last row on the last sheet.
struct SplitCase {
    std::size_t rows;
    std::size_t sheets;
};

class WorkbookSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(WorkbookSplit, RowsBeyondTheSheetLimitContinueOnFurtherSheets)
{
    // 12 rows a sheet: 2 titles, a blank row and the captions leave 7 data rows and the totals
    // row unsplit; a split sheet also carries its note, leaving 6.
    const sheet::SheetLimits limits{12};
    const SplitCase c = GetParam();
    const sheet::Table table = providerTable(c.rows);
    EXPECT_EQ(sheet::sheetsNeeded(table, limits), c.sheets);

    testing_support::TempFolder folder;
    const std::string path = folder.path() + "split.xlsx";
    sheet::writeWorkbook(path, {table}, limits);
    const std::vector<ReadSheet> sheets = readWorkbook(path);
    ASSERT_EQ(sheets.size(), c.sheets);

    std::vector<std::string> codes;
    double total = 0;
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        const ReadSheet& s = sheets[i];
        EXPECT_EQ(s.name, i == 0 ? std::string("付款明細") : "付款明細 (" + std::to_string(i + 1) + ")");
        EXPECT_LE(s.lastRow(), 12) << s.name;
        EXPECT_EQ(s.at(1, 1).text, "康樂生活百貨股份有限公司");
        const int captions = s.rowStartingWith("廠商名稱");
        ASSERT_GT(captions, 0) << s.name;
        EXPECT_EQ(s.freezePanes, "A" + std::to_string(captions + 1));
        if (c.sheets > 1)
            EXPECT_NE(s.at(3, 1).text.find("本表共 " + std::to_string(c.rows) + " 筆"), std::string::npos)
                << s.at(3, 1).text;
        else
            EXPECT_EQ(s.at(3, 1).type, 0);
        for (int r = captions + 1; r <= s.lastRow(); ++r) {
            if (s.at(r, 1).text == "合計") {
                EXPECT_EQ(i + 1, sheets.size()) << "totals before the last sheet";
                EXPECT_EQ(r, s.lastRow());
                total = s.at(r, 2).number;
            } else {
                codes.push_back(s.at(r, 4).text);
            }
        }
    }
    // Every row once, in order.
    ASSERT_EQ(codes.size(), c.rows);
    for (std::size_t r = 0; r < c.rows; ++r)
        EXPECT_EQ(codes[r], "R" + std::to_string(r + 1));
    double expected = 0;
    for (std::size_t r = 0; r < c.rows; ++r)
        expected += 1000.0 * double(r + 1) + 0.4;
    EXPECT_DOUBLE_EQ(total, expected);
}

INSTANTIATE_TEST_SUITE_P(Limits, WorkbookSplit,
                         ::testing::Values(SplitCase{0, 1}, SplitCase{7, 1}, SplitCase{8, 2}, SplitCase{12, 2},
                                           SplitCase{13, 3}, SplitCase{25, 5}));

TEST(WorkbookSplit, TheNoteSaysWhichRowsASheetHolds)
{
    testing_support::TempFolder folder;
    const std::string path = folder.path() + "note.xlsx";
    sheet::writeWorkbook(path, {providerTable(8)}, {12});
    const std::vector<ReadSheet> sheets = readWorkbook(path);
    ASSERT_EQ(sheets.size(), 2u);
    EXPECT_EQ(sheets[0].at(3, 1).text,
              "本表共 8 筆，超過一張工作表 12 列的上限，分 2 張工作表列出；本張為第 1 至 6 筆");
    EXPECT_EQ(sheets[1].at(3, 1).text,
              "本表共 8 筆，超過一張工作表 12 列的上限，分 2 張工作表列出；本張為第 7 至 8 筆");
}

TEST(WorkbookSplit, ALimitWithoutRoomForARowIsRefused)
{
    testing_support::TempFolder folder;
    EXPECT_THROW(sheet::writeWorkbook(folder.path() + "none.xlsx", {providerTable(3)}, {5}), text::UserError);
    EXPECT_FALSE(fs::exists(folder.path() + "none.xlsx"));
}

TEST(WorkbookWriter, TabNamesFitTheFormat)
{
    std::vector<std::string> taken;
    EXPECT_EQ(sheet::uniqueTabName("匯款統計", taken), "匯款統計");
    EXPECT_EQ(sheet::uniqueTabName("匯款統計", taken), "匯款統計 (2)");
    EXPECT_EQ(sheet::uniqueTabName("a/b:c[d]*?\\", taken), "a_b_c_d____");
    EXPECT_EQ(sheet::uniqueTabName("", taken), "Sheet");
    const std::string longName(40, 'x');
    EXPECT_EQ(sheet::uniqueTabName(longName, taken), std::string(31, 'x'));
    EXPECT_EQ(sheet::uniqueTabName(longName, taken), std::string(27, 'x') + " (2)");
    EXPECT_EQ(sheet::uniqueTabName("X" + std::string(30, 'x'), taken),
              std::string(27, 'x').replace(0, 1, "X") + " (3)");
    EXPECT_EQ(sheet::xlsxPath("/tmp/list"), "/tmp/list.xlsx");
    EXPECT_EQ(sheet::xlsxPath("/tmp/list.XLSX"), "/tmp/list.XLSX");
}

TEST(WorkbookWriter, ControlCharactersAreLeftOutAndNamesAreUnique)
{
    testing_support::TempFolder folder;
    const std::string path = folder.path() + "two.xlsx";
    sheet::Table table = providerTable(1, {std::string("備註\x01\x02一")});
    sheet::writeWorkbook(path, {table, table});
    const std::vector<ReadSheet> sheets = readWorkbook(path);
    ASSERT_EQ(sheets.size(), 2u);
    EXPECT_EQ(sheets[0].at(1, 1).text, "備註一");
    EXPECT_EQ(sheets[1].name, "付款明細 (2)");
}

TEST(WorkbookWriter, AFailedWriteLeavesTheEarlierFileAndNoPartOfTheNewOne)
{
    testing_support::TempFolder folder;
    const std::string missing = folder.path() + "no-such-folder/list.xlsx";
    try {
        sheet::writeWorkbook(missing, {providerTable(2)});
        ADD_FAILURE() << "a workbook in a missing folder was reported written";
    } catch (const text::UserError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + missing);
    }
    // A row that fails half-way: the file of that name keeps its earlier content.
    const std::string path = folder.path() + "list.xlsx";
    std::ofstream(path) << "earlier";
    sheet::Table failing = providerTable(3);
    failing.row = [](std::size_t row, std::vector<sheet::Cell>&) {
        if (row == 2)
            throw text::UserError("the third row cannot be read");
    };
    EXPECT_THROW(sheet::writeWorkbook(path, {failing}), text::UserError);
    std::ifstream in(path);
    std::string content;
    std::getline(in, content);
    EXPECT_EQ(content, "earlier");
    for (const auto& entry : fs::directory_iterator(folder.path()))
        EXPECT_EQ(entry.path().filename(), "list.xlsx") << "left behind: " << entry.path();
}

} // namespace
