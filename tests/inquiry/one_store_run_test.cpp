#include "inquiry_fixture.h"

#include "text/error.h"

#include <algorithm>
#include <cmath>

namespace inquiry_testing {
namespace {

using Rows = std::vector<std::string>;

class OneStoreRunTest : public InquiryFixture {
protected:
    void run() { inquiry::runOwnStore(conditions, services); }
};

TEST_F(OneStoreRunTest, CashOnlyBillYieldsOneCashRowWithTheFeeTakenOffNothing)
{
    addProvider("P01", "甲廠商", 30);
    addBill({.id = "B1", .cash = 100});
    run();
    ASSERT_EQ(gridRows(), Rows{"B1/現金"});
    EXPECT_EQ(grid.number(0, "AMT"), 0);
    EXPECT_EQ(grid.number(0, "AMT2"), -30);
    EXPECT_EQ(grid.number(0, "CASH_AMT"), 100);
    EXPECT_EQ(text::big5ToUtf8(grid.text(0, "FLAG_ID")), "0.現金");
    EXPECT_TRUE(messages.informed.empty());
}

TEST_F(OneStoreRunTest, RemittanceAndChequeBillYieldsTwoRowsAndCountsTwiceInTheStatistics)
{
    addProvider("P01", "甲廠商", 30);
    addBill({.id = "B1", .remit = 500, .cheque = 300});
    conditions.reportFormat = inquiry::ProviderStatistics;
    run();
    ASSERT_EQ(gridRows(), (Rows{"B1/匯款", "B1/支票"}));
    for (std::size_t r = 0; r < 2; ++r) {
        EXPECT_EQ(grid.number(r, "AMT"), 500);
        EXPECT_EQ(grid.number(r, "AMT2"), 470);
        EXPECT_EQ(grid.number(r, "CASH_AMT"), 0);
        EXPECT_EQ(grid.number(r, "PAGE_AMT"), 300);
    }
    const db::RecordSet stats = statistics();
    ASSERT_EQ(stats.rowCount(), 1u);
    EXPECT_EQ(stats.text(0, "PROVIDER_ID"), "P01");
    EXPECT_EQ(stats.number(0, "PAGE_AMT_01"), 600);
    EXPECT_EQ(stats.number(0, "AMT2_01"), 940);
    EXPECT_EQ(stats.number(0, "CASH_AMT_01"), 0);
    EXPECT_EQ(stats.text(0, "STORE_ID_01"), "9999");
    EXPECT_EQ(text::big5ToUtf8(stats.text(0, "STORE_NAME_01")), "本店");
    EXPECT_TRUE(stats.isNull(0, stats.fieldIndex("AMT2")));
}

TEST_F(OneStoreRunTest, BillWithAllAmountsZeroPassesButYieldsNoRowAndNoMessage)
{
    addProvider("P01", "甲廠商");
    addBill({.id = "B1"});
    run();
    EXPECT_TRUE(grid.isOpen());
    EXPECT_TRUE(grid.isEmpty());
    EXPECT_TRUE(messages.informed.empty());
    EXPECT_TRUE(relationExists(tables.names().tableA));
}

// B1 cash only; B2 remittance and cash of a provider marked for fax; B3 remittance of a
// provider without fax; B4 cheque only.
struct KindCase {
    int kind;
    Rows rows;
};

class PaymentKindTest : public OneStoreRunTest, public ::testing::WithParamInterface<KindCase> {};

TEST_P(PaymentKindTest, SelectsBillsByKindAndSplitsThemIntoRows)
{
    addProvider("P01", "甲廠商", 30, "N");
    addProvider("P02", "乙廠商", 30, "Y");
    addBill({.id = "B1", .provider = "P01", .cash = 100});
    addBill({.id = "B2", .provider = "P02", .cash = 50, .remit = 200});
    addBill({.id = "B3", .provider = "P01", .remit = 300});
    addBill({.id = "B4", .provider = "P01", .cheque = 400});
    conditions.paymentKind = GetParam().kind;
    run();
    Rows rows = gridRows();
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(Kinds, PaymentKindTest,
                         ::testing::Values(KindCase{inquiry::AllKinds,
                                                    {"B1/現金", "B2/匯款", "B2/現金", "B3/匯款", "B4/支票"}},
                                           KindCase{inquiry::Remittance, {"B2/匯款", "B2/現金", "B3/匯款"}},
                                           KindCase{inquiry::Cheque, {"B4/支票"}},
                                           // The view narrows the bills; each selected bill then yields all its rows.
                                           KindCase{inquiry::Cash, {"B1/現金", "B2/匯款", "B2/現金"}},
                                           // Remittance rows only where the provider is marked for fax; the
                                           // bill's other rows regardless.
                                           KindCase{inquiry::RemittanceFax, {"B2/匯款", "B2/現金"}}));

struct StateCase {
    int state;
    Rows bills;
};

class ProcessingStateTest : public OneStoreRunTest, public ::testing::WithParamInterface<StateCase> {};

TEST_P(ProcessingStateTest, SelectsByStamp)
{
    addProvider("P01", "甲廠商");
    addBill({.id = "B1", .cash = 10, .bankDate = std::nullopt});
    addBill({.id = "B2", .cash = 10, .bankDate = ""});
    addBill({.id = "B3", .cash = 10, .bankDate = "2026/01/20"});
    conditions.processingState = GetParam().state;
    run();
    Rows bills;
    for (std::size_t r = 0; r < grid.rowCount(); ++r)
        bills.push_back(grid.text(r, "MASTERBILLID"));
    std::sort(bills.begin(), bills.end());
    EXPECT_EQ(bills, GetParam().bills);
}

INSTANTIATE_TEST_SUITE_P(States, ProcessingStateTest,
                         ::testing::Values(StateCase{0, {"B1", "B2"}}, StateCase{1, {"B3"}},
                                           StateCase{2, {"B1", "B2", "B3"}}));

TEST_F(OneStoreRunTest, WriteOffDateComparesAndStoresTheBillDate)
{
    addProvider("P01", "甲廠商");
    // Paid in January, written off in February, and the other way round.
    addBill({.id = "B1", .cash = 10, .payDate = "2026/01/15", .billDate = "2026/02/03"});
    addBill({.id = "B2", .cash = 10, .payDate = "2026/02/15", .billDate = "2026/01/03"});

    run();
    ASSERT_EQ(gridRows(), Rows{"B1/現金"});
    EXPECT_EQ(grid.text(0, "BILL_DATE"), "2026/01/15");
    EXPECT_EQ(grid.text(0, "PAY_DATE"), "2026/01/15");

    conditions.condition = inquiry::ByBillDate;
    run();
    ASSERT_EQ(gridRows(), Rows{"B2/現金"});
    EXPECT_EQ(grid.text(0, "BILL_DATE"), "2026/01/03");
    EXPECT_EQ(grid.text(0, "PAY_DATE"), "2026/02/15");
}

TEST_F(OneStoreRunTest, BillRangeSelectsByNumberAndStoresThePayDate)
{
    addProvider("P01", "甲廠商");
    addBill({.id = "B1", .cash = 10, .payDate = "2025/06/01", .billDate = "2025/05/01"});
    addBill({.id = "B2", .cash = 10});
    addBill({.id = "B3", .cash = 10});
    conditions.condition = inquiry::ByBillRange;
    conditions.billFrom = "B1";
    conditions.billTo = "B2";
    run();
    ASSERT_EQ(gridRows(), (Rows{"B1/現金", "B2/現金"}));
    EXPECT_EQ(grid.text(0, "BILL_DATE"), "2025/06/01");
}

TEST_F(OneStoreRunTest, EmptyBillRangeIsRefusedBeforeAnythingChanges)
{
    tables.names().tableA = "TMP_KEEP";
    db().execute("CREATE TABLE TMP_KEEP (X INTEGER)");
    conditions.condition = inquiry::ByBillRange;
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"", "B2"}, {"B1", ""}}) {
        messages.informed.clear();
        conditions.billFrom = from;
        conditions.billTo = to;
        run();
        EXPECT_EQ(messages.informed, Rows{"[單據區間] 欄位不可空白......."});
        EXPECT_EQ(tables.names().tableA, "TMP_KEEP");
        EXPECT_TRUE(relationExists("TMP_KEEP"));
        EXPECT_EQ(progress.clears, 0);
    }
    // A blank counts as a bill number.
    conditions.billFrom = " ";
    conditions.billTo = " ";
    run();
    EXPECT_EQ(messages.informed.back(), "查無資料........");
}

TEST_F(OneStoreRunTest, NoBillShowsTheMessageClosesTheGridAndDropsTheTables)
{
    addProvider("P01", "甲廠商");
    addBill({.id = "B1", .cash = 10, .payDate = "2025/01/10"});
    grid = db().query("SELECT * FROM PROVIDER");
    run();
    EXPECT_EQ(messages.informed, Rows{"查無資料........"});
    EXPECT_FALSE(grid.isOpen());
    EXPECT_FALSE(relationExists(tables.names().tableA));
    EXPECT_FALSE(relationExists(tables.names().viewA));
}

TEST_F(OneStoreRunTest, ProviderMissingFromProviderTableGetsNullProviderDataAndNet)
{
    addBill({.id = "B1", .provider = "GONE", .remit = 200});
    run();
    ASSERT_EQ(gridRows(), Rows{"B1/匯款"});
    EXPECT_TRUE(grid.isNull(0, grid.fieldIndex("ACNT_AMT")));
    EXPECT_TRUE(grid.isNull(0, grid.fieldIndex("AMT2")));
    EXPECT_TRUE(grid.isNull(0, grid.fieldIndex("BANK_ID")));
    EXPECT_EQ(grid.number(0, "AMT"), 200);
}

TEST_F(OneStoreRunTest, RowsCarryProviderAccountAndBankPrefixes)
{
    addProvider("P01", "甲廠商", 15, "N", "0161234");
    addBill({.id = "B1", .remit = 1000});
    run();
    ASSERT_EQ(grid.rowCount(), 1u);
    EXPECT_EQ(grid.text(0, "BANK_ID"), "0161234");
    EXPECT_EQ(grid.text(0, "BANK_ID2"), "016");
    EXPECT_EQ(grid.text(0, "PROVIDER_PHONE"), "02-1234");
    EXPECT_EQ(grid.text(0, "BANK_ACCID"), "12345678");
    EXPECT_EQ(grid.text(0, "P_BANK_ID"), "0123456");
    EXPECT_EQ(grid.text(0, "P_BANK_ID2"), "012");
    EXPECT_EQ(grid.text(0, "P_ACNT_NO"), "99887766");
    EXPECT_EQ(grid.text(0, "P_ACNT_NAME"), "Own account");
    EXPECT_EQ(grid.text(0, "EXPORT_FILE"), "ABC-DEF");
    EXPECT_EQ(grid.text(0, "CON_PEOPLE"), "Lin");
    EXPECT_EQ(grid.number(0, "ACNT_AMT"), 15);
    EXPECT_EQ(grid.number(0, "AMT2"), 985);
    EXPECT_EQ(text::big5ToUtf8(grid.text(0, "FLAG_ID")), "1.匯款");
    EXPECT_TRUE(grid.text(0, "STORE_ID").empty());
    EXPECT_TRUE(grid.isNull(0, grid.fieldIndex("STORE_NAME")));
}

TEST_F(OneStoreRunTest, GridOrderIsPayDateKindAccountProvider)
{
    addAccount("A0", "0001111", "X-Y");
    addProvider("P01", "甲廠商");
    addProvider("P02", "乙廠商");
    addBill({.id = "B1", .provider = "P02", .cash = 1, .remit = 1, .payDate = "2026/01/12"});
    addBill({.id = "B2", .provider = "P01", .cheque = 1, .payDate = "2026/01/11"});
    addBill({.id = "B3", .provider = "P01", .cash = 1, .payDate = "2026/01/12"});
    addBill({.id = "B4", .provider = "P01", .cash = 1, .payDate = "2026/01/12", .account = "A0"});
    run();
    EXPECT_EQ(gridRows(), (Rows{"B2/支票", "B4/現金", "B3/現金", "B1/現金", "B1/匯款"}));
}

TEST_F(OneStoreRunTest, ProviderCodeIsComparedAsTypedAndBlanksAddNoCondition)
{
    addProvider("P01", "甲廠商");
    addProvider("P02", "乙廠商");
    addBill({.id = "B1", .provider = "P01", .cash = 1});
    addBill({.id = "B2", .provider = "P02", .cash = 1});
    conditions.providerText = "P02";
    run();
    EXPECT_EQ(gridRows(), Rows{"B2/現金"});
    conditions.providerText = "   ";
    run();
    EXPECT_EQ(gridRows().size(), 2u);
    conditions.providerText = " P02";
    run();
    EXPECT_EQ(messages.informed.back(), "查無資料........");
}

TEST_F(OneStoreRunTest, ProviderCodeWithAQuoteIsSearchedAsItself)
{
    addProvider("P'1", "甲廠商");
    addBill({.id = "B1", .provider = "P'1", .cash = 1});
    conditions.providerText = "P'1";
    run();
    EXPECT_EQ(gridRows(), Rows{"B1/現金"});
}

TEST_F(OneStoreRunTest, ProgressLinesAndGaugeValues)
{
    addProvider("P01", "甲廠商");
    addBill({.id = "B1", .cash = 1});
    conditions.reportFormat = inquiry::ProviderStatistics;
    run();
    const Rows expected{"檢視資料清除中....", "CAST3 .....",     "CAST3 .....0", "CAST4 .....現金",
                        "CAST4 .....匯款",    "CAST4 .....支票", "CAST5 .....",  "CAST6 .....",
                        "CAST6 .....1",       "CAST6 .....2",    "CAST7 .....",  "CAST7 .....1",
                        "CAST7 .....2",       "CAST8 .....",     "CAST8 .....1", "CAST8 .....2"};
    EXPECT_EQ(progress.lines, expected);
    EXPECT_EQ(progress.gaugeValue(), 8);
    EXPECT_EQ(progress.gaugeMaximum(), 10);
    std::vector<int> distinct;
    for (int v : progress.gaugeHistory)
        if (distinct.empty() || distinct.back() != v)
            distinct.push_back(v);
    EXPECT_EQ(distinct, (std::vector<int>{0, 1, 3, 4, 5, 6, 7, 8}));
}

TEST_F(OneStoreRunTest, InvalidDateFailsAfterThePrologue)
{
    tables.names().tableA = "TMP_OLD";
    db().execute("CREATE TABLE TMP_OLD (X INTEGER)");
    conditions.dateToText = "2026/13/45";
    try {
        run();
        FAIL() << "no error";
    } catch (const text::UserError& e) {
        EXPECT_EQ(std::string(e.what()), "'2026/13/45' is not a valid date");
    }
    EXPECT_FALSE(relationExists("TMP_OLD"));
}

TEST_F(OneStoreRunTest, DetailRunBuildsNoStatisticsTable)
{
    addProvider("P01", "甲廠商");
    addBill({.id = "B1", .cash = 1});
    run();
    EXPECT_TRUE(relationExists(tables.names().tableA));
    EXPECT_TRUE(relationExists(tables.names().viewA));
    EXPECT_FALSE(relationExists(tables.names().tableB));
    EXPECT_FALSE(relationExists(tables.names().tableC));
}

TEST_F(OneStoreRunTest, ConfirmFollowsTheDataSelection)
{
    addProvider("P01", "甲廠商");
    addBill({.id = "B1", .cash = 1});
    addJointBill({.id = "J1", .cheque = 2, .store = "01"});
    conditions.dataSelection = inquiry::OwnStore;
    inquiry::confirm(conditions, services);
    EXPECT_EQ(gridRows(), Rows{"B1/現金"});
    conditions.dataSelection = inquiry::AllStores;
    inquiry::confirm(conditions, services);
    EXPECT_EQ(gridRows(), Rows{"SJ1/支票"});
    conditions.dataSelection = -1;
    inquiry::confirm(conditions, services);
    EXPECT_EQ(gridRows(), Rows{"SJ1/支票"});
}

} // namespace
} // namespace inquiry_testing
