// The remittance list as the report library receives it, and the end of the run.
#include "transfer_output_fixture.h"

#include "text/error.h"

namespace remittance_tests {
namespace {

namespace fs = std::filesystem;

class ReportOutputTest : public OutputFixture {
protected:
    std::string header(const testing_support::HandedReport& report, const char* field)
    {
        return text::big5ToUtf8(report.header.text(0, field));
    }
};

TEST_F(ReportOutputTest, HandsTheListAndHeaderOverAndEndsTheRun)
{
    for (const auto& [id, store, amount] : {std::tuple{"B1", "01", 100.0}, std::tuple{"B2", "01", 200.0},
                                            std::tuple{"B3", "01", 300.0}, std::tuple{"B4", "02", 50.0}}) {
        Bill b;
        b.billId = id;
        b.storeId = store;
        b.amt2 = amount;
        addBill(b);
    }
    const std::string tableC = tables.names().tableC, tableD = tables.names().tableD;
    ASSERT_TRUE(grid.isOpen());

    run(controls());

    const auto handed = reports();
    ASSERT_EQ(handed.size(), 1u);
    const auto& report = handed[0];
    EXPECT_EQ(report.reportName, "FormTolvane");
    EXPECT_EQ(report.templatePath, exe.path() + "rtm/P99_0005_02.rtm");
    ASSERT_EQ(report.data.rowCount(), 3u);
    EXPECT_EQ(report.data.text(0, "ID"), "001");
    EXPECT_DOUBLE_EQ(report.data.number(0, "AMT202"), 50);
    EXPECT_DOUBLE_EQ(report.data.number(0, "QTY_T"), 2);
    EXPECT_EQ(report.data.text(2, "ID"), "003");
    EXPECT_GE(report.data.columnIndex("AMT_T"), 0);

    // Field0..Field12, one field per store, Field91..Field93, in this order.
    std::vector<std::string> names;
    for (const auto& column : report.header.columns())
        names.push_back(column.name);
    std::vector<std::string> expectedNames;
    for (int i = 0; i <= 12; ++i)
        expectedNames.push_back("Field" + std::to_string(i));
    for (const char* name : {"Field101", "Field102", "Field91", "Field92", "Field93"})
        expectedNames.push_back(name);
    EXPECT_EQ(names, expectedNames);
    EXPECT_EQ(header(report, "Field101"), "Store One");
    EXPECT_EQ(header(report, "Field102"), "Store Two");

    // The run is over: grid closed, every work table gone.
    EXPECT_FALSE(grid.isOpen());
    EXPECT_FALSE(tableExists(tableC));
    EXPECT_FALSE(tableExists(tableD));
    EXPECT_FALSE(tableExists(tables.names().tableA));
}

TEST_F(ReportOutputTest, HeaderValues)
{
    // Paying bank 017: two bills at 017 (same bank), one at 016 and one at 812 (other banks).
    const std::tuple<const char*, const char*, double> bills[] = {
        {"B1", "0170012", 1000000}, {"B2", "0179999", 234567.4}, {"B3", "0160001", 1500}, {"B4", "8120001", 2500.5}};
    for (const auto& [id, bankId, amount] : bills) {
        Bill b;
        b.billId = id;
        b.bankId = bankId;
        b.amt2 = amount;
        b.pBankId = "0170001";
        addBill(b);
    }
    auto c = controls();
    c.fromDateText = "2016/2/1";
    c.toDateText = "2016/02/29";
    c.storeComboText = "02,Store Two";
    run(c);

    const auto report = reports().at(0);
    EXPECT_EQ(header(report, "Field0"), "廠商批次匯款明細表");
    EXPECT_EQ(header(report, "Field1"), "2016/02/01");
    EXPECT_EQ(header(report, "Field2"), "2016/02/29");
    EXPECT_EQ(header(report, "Field3"), "2");
    EXPECT_EQ(header(report, "Field4"), "1,234,567");
    EXPECT_EQ(header(report, "Field5"), "2");
    EXPECT_EQ(header(report, "Field6"), "4,001"); // 4000.5 rounds half away from zero
    EXPECT_EQ(header(report, "Field7"), "測試公司");
    EXPECT_EQ(header(report, "Field8"), "");
    EXPECT_EQ(header(report, "Field9"), "分店資料:02,Store Two");
    EXPECT_EQ(header(report, "Field10"), "匯款日期:2016/02/29");
    EXPECT_EQ(header(report, "Field11"), "4");
    EXPECT_EQ(header(report, "Field12"), "1,238,568");
    for (const char* field : {"Field91", "Field92", "Field93"})
        EXPECT_EQ(header(report, field), "");
    // The list shows the inter-bank group only, the counts cover the whole run.
    EXPECT_EQ(report.data.rowCount(), 3u); // B1, B2, B4 of provider P001 in one month: 001..003
}

TEST_F(ReportOutputTest, StoreLineOfTheHeader)
{
    struct Case {
        int books;
        const char* combo;
        const char* line;
    };
    const Case cases[] = {
        {1, "02,Store Two", "分店資料:02,Store Two"},
        {1, "", "分店資料:全部"},
        {1, "Store Two", "分店資料:全部"},    // no comma: no key
        {1, " ,Store Two", "分店資料:全部"},  // a blank key
        {0, "02,Store Two", "分店資料:全部"}, // own-store books
    };
    for (const auto& c : cases) {
        useStores({{"01", "Store One"}, {"02", "Store Two"}});
        addBill(Bill{});
        auto controlsOfCase = controls();
        controlsOfCase.books = c.books;
        controlsOfCase.storeComboText = c.combo;
        run(controlsOfCase);
        EXPECT_EQ(header(reports().back(), "Field9"), c.line) << c.books << " " << c.combo;
    }
}

TEST_F(ReportOutputTest, ReportDateWhenTheListIsEmpty)
{
    struct Case {
        const char* name;
        bool files;
        const char* date;
        const char* field10;
    };
    const Case cases[] = {
        {"records were written", true, "2016/02/29", "匯款日期:050229"},
        {"records were written, ROC 99", true, "2010/12/31", "匯款日期:991231"},
        {"no file", false, "2016/02/29", "匯款日期:2016/02/29"},
    };
    for (const auto& c : cases) {
        useStores({{"01", "Store One"}, {"02", "Store Two"}});
        Bill sameBank; // the list shows the inter-bank group, which is empty
        sameBank.bankId = "0160001";
        addBill(sameBank);
        auto controlsOfCase = controls();
        controlsOfCase.makeTransferFiles = c.files;
        controlsOfCase.remittanceDateText = c.date;
        run(controlsOfCase);
        const auto report = reports().back();
        EXPECT_TRUE(report.data.isEmpty()) << c.name;
        EXPECT_EQ(header(report, "Field10"), c.field10) << c.name;
        EXPECT_EQ(header(report, "Field11"), "1") << c.name;
    }
}

TEST_F(ReportOutputTest, NoStoreGivesAnEmptyListAndNoStoreField)
{
    useStores({});
    addBill(Bill{});
    run(controls());
    const auto report = reports().at(0);
    EXPECT_TRUE(report.data.isEmpty());
    EXPECT_LT(report.header.columnIndex("Field101"), 0);
    EXPECT_EQ(header(report, "Field11"), "1");
    EXPECT_FALSE(grid.isOpen());
}

TEST_F(ReportOutputTest, TwelveStoresAllReachTheHeader)
{
    std::vector<std::pair<std::string, std::string>> stores;
    for (int i = 1; i <= 12; ++i)
        stores.push_back({(i < 10 ? "0" : "") + std::to_string(i), "Store " + std::to_string(i)});
    useStores(stores);
    Bill last;
    last.storeId = "12";
    addBill(last);
    run(controls());
    const auto report = reports().at(0);
    EXPECT_EQ(header(report, "Field112"), "Store 12");
    EXPECT_EQ(header(report, "Field110"), "Store 10");
    ASSERT_EQ(report.data.rowCount(), 1u);
    EXPECT_DOUBLE_EQ(report.data.number(0, "AMT212"), 1000);
}

TEST_F(ReportOutputTest, LibraryThatCannotBeLoadedStillEndsTheRun)
{
    TempFolder withoutLibrary;
    report::Bridge noLibrary(withoutLibrary.path());
    addBill(Bill{});
    const std::string tableC = tables.names().tableC;
    try {
        remittance::runRemittanceOutput({.controls = controls(),
                                         .database = db(),
                                         .workTables = tables,
                                         .progress = progress,
                                         .messages = messages,
                                         .reports = noLibrary,
                                         .grid = grid});
        FAIL() << "no error without the report library";
    } catch (const text::UserError& error) {
        EXPECT_STREQ(error.what(), "Unable to Load DLL");
    }
    EXPECT_FALSE(grid.isOpen());
    EXPECT_FALSE(tableExists(tableC));
    EXPECT_TRUE(fs::exists(withoutLibrary.path() + "temp.cds"));
}

TEST_F(ReportOutputTest, ProgressLinesAndGauge)
{
    addBill(Bill{});
    progress.lines.clear();
    progress.gaugeHistory.clear();
    run(controls());
    EXPECT_EQ(progress.lines, (std::vector<std::string>{"CAST7 .....", "CAST7 .....2", "CAST7 .....5", "CAST7 .....6",
                                                        "CAST7 .....7", "暫存資料建置中....", "報表模組載入中...."}));
    ASSERT_FALSE(progress.gaugeHistory.empty());
    EXPECT_EQ(progress.gaugeHistory.front(), 7);
    EXPECT_EQ(progress.gaugeHistory.back(), 10);
    EXPECT_EQ(progress.gaugeValue(), 10);
}

} // namespace
} // namespace remittance_tests
