// The remittance condition confirm against a real database: what it selects, how it completes
// the rows, the work tables it leaves, and what the clerk sees.
#include "remittance/export_file_names.h"
#include "remittance/remittance_grid.h"
#include "remittance/work_table_layout.h"
#include "remittance_fixture.h"
#include "text/error.h"
#include "text/numbers.h"

#include <gmock/gmock.h>

using testing::ElementsAre;
using testing::ElementsAreArray;

namespace testing_support {
namespace {

using remittance::Books;
using remittance::RemittanceState;

class ConditionConfirm : public RemittanceFixture {
protected:
    void SetUp() override
    {
        addAccount("A1");
        addProvider("P1", 0);
    }
    std::vector<std::string> listedKeys() { return column(rowsOf(tables.names().tableA), "MASTERBILLID"); }
};

TEST_F(ConditionConfirm, StateChoosesByRemittanceStamp)
{
    Bill b;
    b.key = "NULLDATE";
    addBill(b);
    b.key = "EMPTYDATE";
    b.bankDateNull = false;
    addBill(b);
    b.key = "STAMPED";
    b.bankDate = "2024/01/05";
    addBill(b);

    const struct {
        RemittanceState state;
        std::vector<std::string> keys;
    } cases[] = {
        {RemittanceState::NotRemitted, {"EMPTYDATE", "NULLDATE"}},
        {RemittanceState::Remitted, {"STAMPED"}},
        {RemittanceState::Either, {"EMPTYDATE", "NULLDATE", "STAMPED"}},
    };
    for (const auto& c : cases) {
        auto conditions = this->conditions();
        conditions.state = c.state;
        confirm(conditions);
        EXPECT_EQ(listedKeys(), c.keys) << static_cast<int>(c.state);
        EXPECT_EQ(grid.rowCount(), c.keys.size());
    }
}

TEST_F(ConditionConfirm, DateColumnRangeAccountAndBankAmount)
{
    Bill b;
    b.key = "BYPAY"; // paid in January, billed in December
    b.billDate = "2023/12/28";
    addBill(b);
    b.key = "BYBILL"; // billed in January, paid in February
    b.billDate = "2024/01/31";
    b.payDate = "2024/02/01";
    addBill(b);
    b.key = "OTHERACNT";
    b.payDate = "2024/01/15";
    b.billDate = "2024/01/15";
    b.account = "A2";
    addBill(b);
    b.account = "A1";
    b.key = "ZERO";
    b.bankIo = 0;
    addBill(b);
    b.key = "NEGATIVE";
    b.bankIo = -250;
    addBill(b);

    auto conditions = this->conditions();
    confirm(conditions);
    EXPECT_THAT(listedKeys(), ElementsAre("BYPAY", "NEGATIVE"));

    conditions.dateColumn = 1;
    confirm(conditions);
    EXPECT_THAT(listedKeys(), ElementsAre("BYBILL", "NEGATIVE"));

    const db::RecordSet rows = rowsOf(tables.names().tableA);
    EXPECT_DOUBLE_EQ(rows.number(1, "AMT"), -250); // listed with a negative payable amount
    EXPECT_DOUBLE_EQ(rows.number(1, "AMT2"), -250);
}

TEST_F(ConditionConfirm, RangeWhoseFirstDayIsAfterItsLastFindsNothing)
{
    addBill("B1");
    auto conditions = this->conditions();
    confirm(conditions);
    ASSERT_TRUE(grid.isOpen());
    const work::WorkNames names = tables.names();

    conditions.fromDateText = "2024/01/31";
    conditions.toDateText = "2024/01/01";
    selectAllEnabled = false;
    confirm(conditions);
    EXPECT_THAT(messages.informed, ElementsAre("查無資料........"));
    EXPECT_FALSE(grid.isOpen());
    EXPECT_FALSE(selectAllEnabled);
    for (const std::string& name : {tables.names().viewA, tables.names().tableA, tables.names().tableB,
                                    tables.names().tableC, tables.names().tableD})
        EXPECT_FALSE(tableExists(name)) << name;
    EXPECT_EQ(progress.lines.back(), "CAST3 .....0");
    EXPECT_FALSE(!run.stamp.empty());
}

TEST_F(ConditionConfirm, FeeIsTakenOffEveryBillOfTheProvider)
{
    addProvider("P9", 100);
    addBill("B1", 5000, "P9");
    addBill("B2", 700, "P9");
    confirm(conditions());

    ASSERT_EQ(grid.rowCount(), 2u);
    const struct {
        const char* key;
        double amt, fee, amt2;
    } expected[] = {{"B1", 5000, 100, 4900}, {"B2", 700, 100, 600}};
    const db::RecordSet rows = rowsOf(tables.names().tableA);
    for (std::size_t r = 0; r < 2; ++r) {
        EXPECT_EQ(rows.text(r, "MASTERBILLID"), expected[r].key);
        EXPECT_DOUBLE_EQ(rows.number(r, "AMT"), expected[r].amt);
        EXPECT_DOUBLE_EQ(rows.number(r, "ACNT_AMT"), expected[r].fee);
        EXPECT_DOUBLE_EQ(rows.number(r, "AMT2"), expected[r].amt2);
    }
}

TEST_F(ConditionConfirm, RowsCarryProviderAndPayingAccountData)
{
    Provider p;
    p.id = "P2";
    p.bankId = "0160123";
    p.bankName = "聯行銀行";
    p.title = "甲公司";
    p.accountNo = "0012345";
    p.fee = 15;
    addProvider(p);
    addBill("B1", 1000, "P2");
    confirm(conditions());

    const db::RecordSet rows = rowsOf(tables.names().tableA);
    ASSERT_EQ(rows.rowCount(), 1u);
    const struct {
        const char* column;
        std::string value;
    } expected[] = {
        {"CHKED", ""},
        {"BILL_YM", "2024/01"},
        {"PROVIDER_PHONE", "02-1234"},
        {"BANK_ID", "0160123"},
        {"BANK_NAME", text::big5("聯行銀行")},
        {"BANK_TITLE", text::big5("甲公司")},
        {"BANK_ACCID", "0012345"},
        {"BANK_ID2", "016"},
        {"ACNT_ID", "A1"},
        {"P_BANK_ID", "0160002"},
        {"P_BANK_ID2", "016"},
        {"P_BANK_NAME", text::big5("付款銀行")},
        {"P_ACNT_NO", "998877"},
        {"P_ACNT_NAME", text::big5("總公司帳戶")},
        {"EXPORT_FILE", "ABC-DEF"},
        {"CON_PEOPLE", "CONTACT"},
        {"STORE_ID", ""},
        {"STORE_NAME", text::big5("本店")},
        {"FLAG", ""},
        {"BANK_IO", ""},
        {"BANK_DATE", ""},
    };
    for (const auto& e : expected)
        EXPECT_EQ(rows.text(0, e.column), e.value) << e.column;
    EXPECT_TRUE(rows.isNull(0, rows.fieldIndex("CHKED")));
    EXPECT_TRUE(rows.isNull(0, rows.fieldIndex("CASH_AMT")));
}

TEST_F(ConditionConfirm, JointBooksWithAStoreKeepAllStoresInWorkTableB)
{
    addStore("S1", "一店");
    addStore("S2", "二店");
    Bill b;
    b.joint = true;
    b.key = "J1";
    b.store = "S1";
    addBill(b);
    b.key = "J2";
    b.store = "S2";
    addBill(b);
    b.key = "J3";
    b.store = "S1";
    b.bankIo = 0; // never listed, never paired
    addBill(b);

    auto conditions = this->conditions();
    conditions.books = Books::Joint;
    conditions.storeComboText = text::big5("S1,一店");
    confirm(conditions);

    const db::RecordSet a = rowsOf(tables.names().tableA);
    EXPECT_THAT(column(a, "MASTERBILLID"), ElementsAre("J1")); // the joint key, not MJ1
    EXPECT_THAT(column(a, "STORE_ID"), ElementsAre("S1"));
    EXPECT_THAT(column(a, "STORE_NAME"), ElementsAre(text::big5("一店")));
    EXPECT_THAT(column(rowsOf(tables.names().tableB), "MASTERBILLID"), ElementsAre("J1", "J2"));

    conditions.storeComboText = "S1"; // typed without a comma: all stores
    confirm(conditions);
    EXPECT_THAT(column(rowsOf(tables.names().tableA), "MASTERBILLID"), ElementsAre("J1", "J2"));
}

TEST_F(ConditionConfirm, WorkTablesHaveTheirLayouts)
{
    addBill("B1");
    const auto columnsOf = [this](const std::string& table) {
        return column(db().query("SELECT RDB$FIELD_NAME FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME = " +
                                 db::quote(table) + " ORDER BY RDB$FIELD_POSITION"),
                      "RDB$FIELD_NAME");
    };
    const auto trimmed = [](std::vector<std::string> names) {
        for (auto& n : names)
            n.erase(n.find_last_not_of(' ') + 1);
        return names;
    };
    confirm(conditions());
    std::vector<std::string> bill;
    for (const auto& c : remittance::billColumns())
        bill.push_back(c.name);
    ASSERT_EQ(bill.size(), 38u);
    EXPECT_EQ(trimmed(columnsOf(tables.names().tableA)), bill);
    EXPECT_EQ(trimmed(columnsOf(tables.names().tableC)), bill);
    EXPECT_THAT(trimmed(columnsOf(tables.names().tableB)), ElementsAre("MASTERBILLID", "PROVIDER_ID", "BANK_DATE"));
    EXPECT_EQ(rowsOf(tables.names().tableC).rowCount(), 0u);
    EXPECT_EQ(rowsOf(tables.names().tableD).rowCount(), 0u);
}

TEST_F(ConditionConfirm, SummaryTableGetsOneGroupPerStoreOfJointBooks)
{
    Bill joint;
    joint.key = "B1";
    joint.joint = true;
    addBill(joint);
    auto jointConditions = conditions();
    jointConditions.books = remittance::Books::Joint;
    const auto storeGroups = [this] {
        std::vector<std::string> groups;
        const db::RecordSet fields = db().query(
            "SELECT RDB$FIELD_NAME FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME = " +
            db::quote(tables.names().tableD) + " AND RDB$FIELD_NAME STARTING WITH 'ID_' ORDER BY RDB$FIELD_POSITION");
        for (std::size_t r = 0; r < fields.rowCount(); ++r) {
            std::string name = fields.text(r, 0);
            groups.push_back(name.erase(name.find_last_not_of(' ') + 1));
        }
        return groups;
    };
    confirm(jointConditions);
    EXPECT_THAT(storeGroups(), ElementsAre("ID_01")); // no store at all: still one group

    addStore("S01", "一店");
    confirm(jointConditions);
    EXPECT_THAT(storeGroups(), ElementsAre("ID_01"));

    std::vector<std::string> twelve;
    for (int k = 2; k <= 12; ++k)
        addStore("S" + text::twoDigits(k), "店");
    for (int k = 1; k <= 12; ++k)
        twelve.push_back("ID_" + text::twoDigits(k));
    confirm(jointConditions);
    EXPECT_EQ(storeGroups(), twelve);

    // Own-store books list the one own store, whatever SLAVE_ITEM holds.
    addBill("B2");
    confirm(conditions());
    EXPECT_THAT(storeGroups(), ElementsAre("ID_01"));
}

TEST(SummaryColumns, GroupsSitBetweenTheBillColumns)
{
    const auto columns = remittance::summaryColumns(2);
    std::vector<std::string> names;
    for (const auto& c : columns)
        names.push_back(c.name);
    ASSERT_EQ(names.size(), 8u + 18u + 6u + 2u + 13u);
    EXPECT_EQ(names[7], "ID");
    EXPECT_EQ(names[8], "BANK_ID");
    EXPECT_EQ(names[25], "STORE_NAME");
    EXPECT_THAT(std::vector<std::string>(names.begin() + 26, names.begin() + 34),
                ElementsAre("AMT201", "QTY201", "ID_01", "AMT202", "QTY202", "ID_02", "AMT_T", "QTY_T"));
    EXPECT_EQ(names[34], "FLAG");
    EXPECT_EQ(names.back(), "AMT");
    EXPECT_EQ(text::twoDigits(100), "100");
    EXPECT_EQ(remittance::summaryColumns(0).size(), remittance::summaryColumns(1).size());
}

TEST(ExportFileNames, SplitOnDashes)
{
    const struct {
        const char* name;
        const char* interBank;
        const char* sameBank;
    } cases[] = {
        {"ABC-DEF", "ABC", "DEF"}, {"AA-BB-DD", "AA", "DD"}, {"", "", ""},
        {"-XYZ", "-XYZ", "XYZ"},   {"ABC-", "ABC", ""},      {"SINGLE", "SINGLE", ""},
    };
    for (const auto& c : cases) {
        const auto names = remittance::splitExportFileName(c.name);
        EXPECT_EQ(names.exportFile, c.name);
        EXPECT_EQ(names.interBank, c.interBank) << c.name;
        EXPECT_EQ(names.sameBank, c.sameBank) << c.name;
    }
}

TEST_F(ConditionConfirm, FileNamesComeFromThePayingAccount)
{
    addAccount("A2", "AA-BB-DD");
    Bill b;
    b.key = "B1";
    b.account = "A2";
    addBill(b);
    auto conditions = this->conditions();
    conditions.accountComboText = "A2,x";
    confirm(conditions);
    EXPECT_EQ(shownNames.exportFile, "AA-BB-DD");
    EXPECT_EQ(shownNames.interBank, "AA");
    EXPECT_EQ(shownNames.sameBank, "DD");
}

TEST_F(ConditionConfirm, WarnsAboutTheFirstProviderWithIncompleteBankData)
{
    Provider p;
    p.id = "P2";
    p.accountNo = "";
    addProvider(p);
    p.id = "P3";
    p.accountNo = "123";
    p.title = "";
    addProvider(p);
    addBill("B1", 1000, "P1");
    addBill("B2", 1000, "P2");
    addBill("B3", 1000, "P3");
    addBill("B4", 1000, "P404"); // no such provider
    confirm(conditions());
    EXPECT_THAT(messages.informed, ElementsAre("P2_銀行資料有問題!!!"));
    EXPECT_EQ(grid.rowCount(), 4u);
    EXPECT_TRUE(selectAllEnabled);
}

TEST_F(ConditionConfirm, FullRunWritesItsProgressAndOpensTheGrid)
{
    addBill("B2", 1000, "P1");
    addProvider("P0", 0);
    addBill("B1", 1000, "P0");
    confirm(conditions());
    EXPECT_THAT(progress.lines,
                ElementsAre("檢視資料清除中....", "CAST2 .....", "CAST2 .....2", "CAST3 .....", "CAST3 .....0",
                            "CAST3 .....1", "CAST4 .....", "CAST4 .....2", "CAST5 .....", "CAST6 .....", "CAST6 .....1",
                            "CAST6 .....2", "CAST7 .....", "CAST7 .....1", "CAST7 .....2"));
    EXPECT_EQ(progress.gaugeValue(), 7);
    EXPECT_EQ(progress.gaugeMaximum(), 10);
    EXPECT_TRUE(messages.informed.empty());
    EXPECT_TRUE(selectAllEnabled);
    // Provider order, and the columns as the grid shows them, every one of them in the rows.
    ASSERT_EQ(grid.rowCount(), 2u);
    EXPECT_EQ(grid.text(0, "PROVIDER_ID"), "P0");
    const work::GridColumns& shown = remittance::remittanceGridFields();
    ASSERT_GE(shown.size(), 8u);
    EXPECT_EQ(shown[0].name, "CHKED");
    EXPECT_EQ(shown[7].caption, "匯款帳戶");
    EXPECT_EQ(shown[2].width, 22);
    EXPECT_FALSE(shown[8].visible);
    EXPECT_NO_THROW(work::checkGridColumns(grid, shown));
    EXPECT_TRUE(!run.stamp.empty());
}

TEST_F(ConditionConfirm, BlankAccountStopsAfterThePrologue)
{
    addBill("B1");
    confirm(conditions());
    const work::WorkNames before = tables.names();
    ASSERT_EQ(grid.rowCount(), 1u);

    for (const char* account : {"", "A1", " ,name"}) {
        messages.informed.clear();
        auto conditions = this->conditions();
        conditions.accountComboText = account;
        confirm(conditions);
        EXPECT_THAT(messages.informed, ElementsAre("[ 帳戶代號 ] 欄位不可空白....")) << account;
        EXPECT_EQ(grid.rowCount(), 1u); // the previous rows stay on screen
        EXPECT_FALSE(tableExists(before.tableA));
        EXPECT_FALSE(tableExists(tables.names().tableA));
        EXPECT_TRUE(progress.lines.empty());
        EXPECT_FALSE(!run.stamp.empty());
    }
}

TEST_F(ConditionConfirm, InvalidDateStopsWithItsMessage)
{
    auto conditions = this->conditions();
    conditions.toDateText = "2024/13/01";
    try {
        confirm(conditions);
        FAIL() << "no error";
    } catch (const text::UserError& error) {
        EXPECT_STREQ(error.what(), "'2024/13/01' is not a valid date");
    }
    EXPECT_FALSE(tableExists(tables.names().tableA));
}

} // namespace
} // namespace testing_support
