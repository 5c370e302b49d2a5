#include "inquiry/inquiry_reports.h"
#include "inquiry_fixture.h"
#include "support/report_capture.h"
#include "text/error.h"

#include <map>

namespace inquiry_testing {
namespace {

using Rows = std::vector<std::string>;
using testing_support::handedReports;
using testing_support::installFakeReportLibrary;

class InquiryReportsTest : public InquiryFixture {
protected:
    report::Bridge bridge{exeFolder.path()};
    inquiry::ReportServices reports{bridge, text::big5("大同百貨股份有限公司")};

    void SetUp() override
    {
        InquiryFixture::SetUp();
        installFakeReportLibrary(exeFolder.path());
        addProvider("P01", "甲廠商", 10);
        addProvider("P02", "乙廠商", 20);
        addStore("01", "台北店");
        addStore("02", "台中店");
        addBill({.id = "B2", .provider = "P02", .cash = 5, .payDate = "2026/01/11"});
        addBill({.id = "B1", .provider = "P01", .remit = 100, .cheque = 3, .payDate = "2026/01/12"});
        addJointBill({.id = "M1", .provider = "P02", .cash = 5, .store = "02"});
        addJointBill({.id = "M2", .provider = "P01", .remit = 40, .store = "01"});
    }

    std::map<std::string, std::string> headerOf(const testing_support::HandedReport& handed) const
    {
        std::map<std::string, std::string> values;
        for (std::size_t c = 0; c < handed.header.columnCount(); ++c)
            values[handed.header.column(c).name] = text::big5ToUtf8(handed.header.text(0, c));
        return values;
    }
    std::vector<std::string> column(const db::RecordSet& records, const char* name) const
    {
        std::vector<std::string> values;
        for (std::size_t r = 0; r < records.rowCount(); ++r)
            values.push_back(text::big5ToUtf8(records.text(r, name)));
        return values;
    }
    void runAndPrint()
    {
        inquiry::confirm(conditions, services);
        inquiry::print(conditions, services, reports);
    }
};

TEST_F(InquiryReportsTest, DetailByDateHandsTheRowsInKindOrderWithTheHeader)
{
    conditions.processingState = 2;
    conditions.paymentKind = inquiry::AllKinds;
    runAndPrint();
    const auto handed = handedReports(exeFolder.path());
    ASSERT_EQ(handed.size(), 1u);
    EXPECT_EQ(handed[0].templatePath, exeFolder.path() + "rtm/Tolvane_01.rtm");
    EXPECT_EQ(column(handed[0].data, "FLAG_ID"), (Rows{"0.現金", "1.匯款", "2.支票"}));
    EXPECT_EQ(column(handed[0].data, "MASTERBILLID"), (Rows{"B2", "B1", "B1"}));
    // Every column of the table goes along, declared or not.
    EXPECT_GE(handed[0].data.columnIndex("STORE_NAME"), 0);
    EXPECT_GE(handed[0].data.columnIndex("FLAG_ID2"), 0);

    auto header = headerOf(handed[0]);
    EXPECT_EQ(handed[0].header.columnCount(), 23u);
    const std::map<std::string, std::string> expected{
        {"Field0", "帳款資料查詢報表"},
        {"Field1", "日期區間: 2026/01/01 ~ 2026/01/31"},
        {"Field2", "日期條件: 付款日期"},
        {"Field3", "處理條件: 不分處理"},
        {"Field4", "條件選項: 全部"},
        {"Field5", "報表格式: 明細報表"},
        {"Field6", "資料選擇: 本店資料"},
        {"Field7", "分店資料: 全部"},
        {"Field8", ""},
        {"Field9", "【P03C0107】"},
        {"Field10", ""},
        {"Field16", "大同百貨股份有限公司"},
        {"Field19", ""},
        {"Field91", ""},
        {"Field92", ""},
        {"Field93", ""},
    };
    for (const auto& [field, value] : expected)
        EXPECT_EQ(header[field], value) << field;
}

TEST_F(InquiryReportsTest, DetailByBillRangeIsOrderedByBillNumber)
{
    conditions.condition = inquiry::ByBillRange;
    conditions.billFrom = "B1";
    conditions.billTo = "B2";
    conditions.processingState = 0;
    conditions.paymentKind = inquiry::Cash;
    runAndPrint();
    const auto handed = handedReports(exeFolder.path());
    ASSERT_EQ(handed.size(), 1u);
    EXPECT_EQ(handed[0].templatePath, exeFolder.path() + "rtm/Tolvane_02.rtm");
    EXPECT_EQ(column(handed[0].data, "MASTERBILLID"), (Rows{"B2"}));
    auto header = headerOf(handed[0]);
    EXPECT_EQ(header["Field1"], "單據區間: B1 ~ B2");
    EXPECT_EQ(header["Field2"], "日期條件: 付款日期");
    EXPECT_EQ(header["Field3"], "處理條件: 未 處 理");
    EXPECT_EQ(header["Field4"], "條件選項: 現金");
}

TEST_F(InquiryReportsTest, BillRangeHeaderIsCutAtFiftyBytes)
{
    conditions.condition = inquiry::ByBillRange;
    conditions.billFrom = std::string(20, 'A');
    conditions.billTo = std::string(20, 'Z');
    const auto header = inquiry::reportHeader(conditions, "帳款資料查詢報表", {});
    // The bridge cuts header fields at their 50 bytes; the value itself is whole.
    EXPECT_EQ(header.at("Field1").size(), 10u + 20 + 3 + 20);
}

TEST_F(InquiryReportsTest, StatisticsAcrossStoresOpensAndPrintsInProviderOrder)
{
    conditions.dataSelection = inquiry::AllStores;
    conditions.reportFormat = inquiry::ProviderStatistics;
    conditions.condition = inquiry::ByBillDate;
    runAndPrint();
    const auto handed = handedReports(exeFolder.path());
    ASSERT_EQ(handed.size(), 1u);
    EXPECT_TRUE(messages.informed.empty());
    EXPECT_EQ(handed[0].templatePath, exeFolder.path() + "rtm/Tolvane_03.rtm");
    EXPECT_EQ(column(handed[0].data, "PROVIDER_ID"), (Rows{"P01", "P02"}));
    EXPECT_EQ(column(handed[0].data, "STORE_NAME_02"), (Rows{"台中店", "台中店"}));
    auto header = headerOf(handed[0]);
    EXPECT_EQ(header["Field0"], "廠商帳款查詢報表");
    EXPECT_EQ(header["Field2"], "日期條件: 沖帳日期");
    EXPECT_EQ(header["Field5"], "報表格式: 廠商統計");
    EXPECT_EQ(header["Field6"], "資料選擇: 聯合資料");
    EXPECT_EQ(header["Field7"], "分店資料: 全部");
}

TEST_F(InquiryReportsTest, StoreLineNamesTheWholeEntryOnlyForAllStores)
{
    conditions.storeText = text::big5("02,台中店");
    conditions.dataSelection = inquiry::AllStores;
    EXPECT_EQ(text::big5ToUtf8(inquiry::reportHeader(conditions, "t", {}).at("Field7")), "分店資料: 02,台中店");
    conditions.dataSelection = inquiry::OwnStore;
    EXPECT_EQ(text::big5ToUtf8(inquiry::reportHeader(conditions, "t", {}).at("Field7")), "分店資料: 全部");
    conditions.dataSelection = inquiry::AllStores;
    conditions.storeText = text::big5("  ,台中店");
    EXPECT_EQ(text::big5ToUtf8(inquiry::reportHeader(conditions, "t", {}).at("Field7")), "分店資料: 全部");
}

TEST_F(InquiryReportsTest, OwnStoreStatisticsPrintsTheOwnStoreGroup)
{
    conditions.reportFormat = inquiry::ProviderStatistics;
    runAndPrint();
    const auto handed = handedReports(exeFolder.path());
    ASSERT_EQ(handed.size(), 1u);
    EXPECT_EQ(column(handed[0].data, "STORE_NAME_01"), (Rows{"本店", "本店"}));
    EXPECT_EQ(handed[0].data.number(0, "PAGE_AMT_01"), 6);
}

TEST_F(InquiryReportsTest, ReportEndsTheInquiryAndASecondPrintFails)
{
    runAndPrint();
    EXPECT_FALSE(grid.isOpen());
    EXPECT_FALSE(relationExists(tables.names().tableA));
    EXPECT_FALSE(relationExists(tables.names().viewA));
    EXPECT_EQ(progress.lines.back(), "報表模組載入中...");
    EXPECT_EQ(progress.lines[progress.lines.size() - 2], "CAST7 .....3");

    EXPECT_THROW(inquiry::print(conditions, services, reports), text::UserError);
    EXPECT_FALSE(grid.isOpen());
    EXPECT_EQ(handedReports(exeFolder.path()).size(), 1u);
}

TEST_F(InquiryReportsTest, EmptyTableShowsNotQueriedAndKeepsTheTables)
{
    conditions.condition = inquiry::ByBillRange;
    conditions.billFrom = "B3"; // no bill in range: but the zero-amount bill below passes
    conditions.billTo = "B4";
    addBill({.id = "B3"});
    runAndPrint();
    EXPECT_EQ(messages.informed, Rows{"資料未查詢........"});
    EXPECT_TRUE(grid.isOpen());
    EXPECT_TRUE(grid.isEmpty());
    EXPECT_TRUE(relationExists(tables.names().tableA));
    EXPECT_TRUE(handedReports(exeFolder.path()).empty());
}

TEST_F(InquiryReportsTest, StatisticsAfterADetailRunFailsWithTheDatabaseError)
{
    inquiry::confirm(conditions, services);
    conditions.reportFormat = inquiry::ProviderStatistics;
    EXPECT_THROW(inquiry::print(conditions, services, reports), text::UserError);
    EXPECT_FALSE(grid.isOpen());
    EXPECT_TRUE(relationExists(tables.names().tableA));
}

TEST_F(InquiryReportsTest, InvalidDateStopsThePrintBeforeAnythingElse)
{
    inquiry::confirm(conditions, services);
    conditions.dateFromText = "    /  /  ";
    EXPECT_THROW(inquiry::print(conditions, services, reports), text::UserError);
    EXPECT_TRUE(grid.isOpen());
    EXPECT_EQ(grid.rowCount(), 3u);
    EXPECT_TRUE(relationExists(tables.names().tableA));
}

} // namespace
} // namespace inquiry_testing
