#include "inquiry/inquiry_tables.h"
#include "inquiry_fixture.h"
#include "text/numbers.h"

#include <algorithm>

namespace inquiry_testing {
namespace {

using Rows = std::vector<std::string>;

class AcrossStoresRunTest : public InquiryFixture {
protected:
    void SetUp() override
    {
        InquiryFixture::SetUp();
        conditions.dataSelection = inquiry::AllStores;
        addProvider("P01", "甲廠商", 10);
        addProvider("P02", "乙廠商", 20);
    }
    void run() { inquiry::runAllStores(conditions, services); }
};

TEST_F(AcrossStoresRunTest, RowsShowTheJointNumberAndTheStore)
{
    addStore("01", "台北店");
    addJointBill({.id = "M1", .cash = 5, .store = "01", .secId = "J100"});
    run();
    ASSERT_EQ(gridRows(), Rows{"J100/現金"});
    EXPECT_EQ(grid.text(0, "STORE_ID"), "01");
    EXPECT_EQ(text::big5ToUtf8(grid.text(0, "STORE_NAME")), "台北店");
}

TEST_F(AcrossStoresRunTest, BillRangeTestsTheStoreNumberWhileRowsShowTheJointNumber)
{
    addStore("01", "台北店");
    addJointBill({.id = "M1", .cash = 5, .store = "01", .secId = "Z9"});
    addJointBill({.id = "M5", .cash = 5, .store = "01", .secId = "A1"});
    conditions.condition = inquiry::ByBillRange;
    conditions.billFrom = "M0";
    conditions.billTo = "M2";
    run();
    EXPECT_EQ(gridRows(), Rows{"Z9/現金"});
}

TEST_F(AcrossStoresRunTest, StoreKeyLimitsTheBillsAndAnEntryWithoutCommaDoesNot)
{
    addStore("01", "台北店");
    addStore("02", "台中店");
    addJointBill({.id = "M1", .cash = 5, .store = "01"});
    addJointBill({.id = "M2", .cash = 5, .store = "02"});
    conditions.storeText = text::big5("02,台中店");
    run();
    EXPECT_EQ(gridRows(), Rows{"SM2/現金"});
    conditions.storeText = "02";
    run();
    EXPECT_EQ(gridRows().size(), 2u);
}

TEST_F(AcrossStoresRunTest, StatisticsHaveOneGroupPerStoreWithNullSumsWhereAProviderHasNoBills)
{
    addStore("01", "台北店");
    addStore("02", "台中店");
    addJointBill({.id = "M1", .provider = "P01", .cash = 5, .remit = 100, .store = "01"});
    addJointBill({.id = "M2", .provider = "P01", .cheque = 7, .store = "02"});
    addJointBill({.id = "M3", .provider = "P02", .remit = 50, .store = "02"});
    conditions.reportFormat = inquiry::ProviderStatistics;
    run();
    const db::RecordSet stats = statistics();
    ASSERT_EQ(stats.rowCount(), 2u);
    for (std::size_t r = 0; r < 2; ++r) {
        EXPECT_EQ(stats.text(r, "STORE_ID_01"), "01");
        EXPECT_EQ(text::big5ToUtf8(stats.text(r, "STORE_NAME_01")), "台北店");
        EXPECT_EQ(stats.text(r, "STORE_ID_02"), "02");
        EXPECT_EQ(text::big5ToUtf8(stats.text(r, "STORE_NAME_02")), "台中店");
    }
    // P01: two rows of M1 in store 01 (cash and remittance), one cheque row in store 02.
    EXPECT_EQ(stats.text(0, "PROVIDER_ID"), "P01");
    EXPECT_EQ(stats.number(0, "AMT2_01"), 180);
    EXPECT_EQ(stats.number(0, "CASH_AMT_01"), 10);
    EXPECT_EQ(stats.number(0, "PAGE_AMT_01"), 0);
    EXPECT_EQ(stats.number(0, "AMT2_02"), -10);
    EXPECT_EQ(stats.number(0, "PAGE_AMT_02"), 7);
    // P02 only in store 02.
    EXPECT_EQ(stats.text(1, "PROVIDER_ID"), "P02");
    EXPECT_TRUE(stats.isNull(1, stats.fieldIndex("AMT2_01")));
    EXPECT_TRUE(stats.isNull(1, stats.fieldIndex("CASH_AMT_01")));
    EXPECT_TRUE(stats.isNull(1, stats.fieldIndex("PAGE_AMT_01")));
    EXPECT_EQ(stats.number(1, "AMT2_02"), 30);
    // The table carries the grid's amount columns too, as the own store's table does.
    EXPECT_GE(stats.columnIndex("AMT2"), 0);
    EXPECT_GE(stats.columnIndex("CASH_AMT"), 0);
    EXPECT_GE(stats.columnIndex("PAGE_AMT"), 0);
    EXPECT_LT(stats.columnIndex("STORE_ID_03"), 0);
}

TEST_F(AcrossStoresRunTest, StoreKeyStillYieldsAGroupPerStore)
{
    addStore("01", "台北店");
    addStore("02", "台中店");
    addStore("03", "高雄店");
    addJointBill({.id = "M1", .provider = "P01", .cash = 5, .store = "01"});
    addJointBill({.id = "M2", .provider = "P01", .cash = 6, .store = "03"});
    conditions.reportFormat = inquiry::ProviderStatistics;
    conditions.storeText = text::big5("03,高雄店");
    run();
    const db::RecordSet stats = statistics();
    ASSERT_EQ(stats.rowCount(), 1u);
    EXPECT_EQ(stats.text(0, "STORE_ID_01"), "01");
    EXPECT_EQ(text::big5ToUtf8(stats.text(0, "STORE_NAME_02")), "台中店");
    EXPECT_TRUE(stats.isNull(0, stats.fieldIndex("CASH_AMT_01")));
    EXPECT_TRUE(stats.isNull(0, stats.fieldIndex("CASH_AMT_02")));
    EXPECT_EQ(stats.number(0, "CASH_AMT_03"), 6);
}

TEST_F(AcrossStoresRunTest, SingleStoreGivesARowPerProviderAndStoreIdIncludingUnknownStores)
{
    addStore("01", "台北店");
    addJointBill({.id = "M1", .provider = "P01", .cash = 5, .store = "01"});
    addJointBill({.id = "M2", .provider = "P01", .cash = 6, .store = "77"});
    addJointBill({.id = "M3", .provider = "P01", .cash = 1, .store = "77"});
    conditions.reportFormat = inquiry::ProviderStatistics;
    run();
    const db::RecordSet stats = statistics();
    ASSERT_EQ(stats.rowCount(), 2u);
    EXPECT_EQ(stats.text(0, "STORE_ID_01"), "01");
    EXPECT_EQ(text::big5ToUtf8(stats.text(0, "STORE_NAME_01")), "台北店");
    EXPECT_EQ(stats.number(0, "CASH_AMT_01"), 5);
    EXPECT_EQ(stats.text(1, "STORE_ID_01"), "77");
    EXPECT_TRUE(stats.isNull(1, stats.fieldIndex("STORE_NAME_01")));
    EXPECT_EQ(stats.number(1, "CASH_AMT_01"), 7);
    EXPECT_LT(stats.columnIndex("STORE_ID_02"), 0);
}

TEST_F(AcrossStoresRunTest, NoStoresKeepsOneGroup)
{
    addJointBill({.id = "M1", .provider = "P01", .cash = 5, .store = "01"});
    conditions.reportFormat = inquiry::ProviderStatistics;
    run();
    const db::RecordSet stats = statistics();
    ASSERT_EQ(stats.rowCount(), 1u);
    EXPECT_EQ(stats.text(0, "STORE_ID_01"), "01");
    EXPECT_TRUE(stats.isNull(0, stats.fieldIndex("STORE_NAME_01")));
}

TEST_F(AcrossStoresRunTest, HundredthStoreGroupCarriesTheSuffix100)
{
    EXPECT_EQ(text::twoDigits(1), "01");
    EXPECT_EQ(text::twoDigits(99), "99");
    EXPECT_EQ(text::twoDigits(100), "100");
    for (int n = 1; n <= 100; ++n) {
        char id[8];
        std::snprintf(id, sizeof id, "S%03d", n);
        addStore(id, "分店");
    }
    addJointBill({.id = "M1", .provider = "P01", .cheque = 9, .store = "S100"});
    conditions.reportFormat = inquiry::ProviderStatistics;
    run();
    const db::RecordSet stats = statistics();
    ASSERT_EQ(stats.rowCount(), 1u);
    EXPECT_EQ(stats.text(0, "STORE_ID_100"), "S100");
    EXPECT_EQ(stats.number(0, "PAGE_AMT_100"), 9);
    EXPECT_TRUE(stats.isNull(0, stats.fieldIndex("PAGE_AMT_99")));
}

TEST_F(AcrossStoresRunTest, StoreNameWithAQuoteIsWrittenAsItself)
{
    addStore("01", "O'Brien");
    addStore("02", "台中店");
    addJointBill({.id = "M1", .provider = "P01", .cash = 5, .store = "01"});
    conditions.reportFormat = inquiry::ProviderStatistics;
    run();
    EXPECT_EQ(statistics().text(0, "STORE_NAME_01"), "O'Brien");
}

TEST_F(AcrossStoresRunTest, OwnStoreBookIsNotRead)
{
    addStore("01", "台北店");
    addBill({.id = "B1", .cash = 5});
    run();
    EXPECT_EQ(messages.informed, Rows{"查無資料........"});
}

} // namespace
} // namespace inquiry_testing
