// WorkTableD: one row per provider, month and sequence with an amount/count pair per store,
// filled by the list's one statement and held to the result of the documented bill-by-bill
// statements (prescribed_list.h).
#include "prescribed_list.h"
#include "transfer_output_fixture.h"

#include "remittance/remittance_report_table.h"

namespace remittance_tests {
namespace {

using remittance::BankGroup;

class ReportTableTest : public OutputFixture {
protected:
    // The program's fill of WorkTableD for joint books.
    remittance::ReportTableFill build(BankGroup group)
    {
        return remittance::fillReportTable(db(), tables.names(), work::readStores(db()), group);
    }

    // The documented bill-by-bill statements into the table named in `names`, with zeros and
    // totals: the reference result.
    remittance::ReportTableFill buildByBills(BankGroup group, const work::WorkNames& names)
    {
        const auto stores = work::readStores(db());
        const auto result = remittance_reference::prescribedListFill(db(), names, stores, group);
        remittance_reference::zeroMissingStoreValues(db(), names.tableD, stores.size());
        remittance_reference::totalReportRows(db(), names.tableD, stores.size());
        return result;
    }

    db::RecordSet rows(const std::string& table)
    {
        return db().query("SELECT * FROM " + table + " ORDER BY BILL_YM, PROVIDER_ID, ID, AMT201, AMT_T");
    }

    // A second WorkTableD for the reference result.
    work::WorkNames secondTable(int storeCount)
    {
        work::WorkNames names = tables.names();
        names.tableD += "X";
        db().execute(remittance::createTable(names.tableD, remittance::summaryColumns(storeCount)));
        return names;
    }

    void expectSameRows(const db::RecordSet& expected, const db::RecordSet& actual)
    {
        ASSERT_EQ(expected.rowCount(), actual.rowCount());
        ASSERT_EQ(expected.columnCount(), actual.columnCount());
        for (std::size_t r = 0; r < expected.rowCount(); ++r)
            for (std::size_t c = 0; c < expected.columnCount(); ++c) {
                EXPECT_EQ(expected.isNull(r, c), actual.isNull(r, c)) << "row " << r << " " << expected.column(c).name;
                EXPECT_EQ(expected.text(r, c), actual.text(r, c)) << "row " << r << " " << expected.column(c).name;
            }
    }

    void addAt(const std::string& billId, const std::string& store, double amount, const std::string& month = "2016/02",
               const std::string& provider = "P1")
    {
        Bill b;
        b.billId = billId;
        b.storeId = store;
        b.amt2 = amount;
        b.billYm = month;
        b.providerId = provider;
        b.providerName = "Name of " + provider;
        addBill(b);
    }
};

TEST_F(ReportTableTest, ThreeBillsAtOneStoreAndOneAtAnother)
{
    addAt("B1", "01", 100);
    addAt("B2", "01", 200);
    addAt("B3", "01", 300);
    addAt("B4", "02", 50);
    const auto fill = build(BankGroup::InterBank);
    EXPECT_TRUE(fill.readBills);
    EXPECT_EQ(fill.lastBankDate, "2016/02/29");

    const auto d = rows(tables.names().tableD);
    ASSERT_EQ(d.rowCount(), 3u);
    struct Expected {
        const char* id;
        double amt01, qty01, amt02, qty02, amtT, qtyT;
    };
    const Expected expected[] = {
        {"001", 100, 1, 50, 1, 150, 2}, {"002", 200, 1, 0, 0, 200, 1}, {"003", 300, 1, 0, 0, 300, 1}};
    for (std::size_t r = 0; r < 3; ++r) {
        const auto& e = expected[r];
        EXPECT_EQ(d.text(r, "ID"), e.id);
        EXPECT_EQ(d.text(r, "PROVIDER_ID"), "P1");
        EXPECT_EQ(d.text(r, "PROVIDER_NAME"), "Name of P1");
        EXPECT_EQ(d.text(r, "BILL_YM"), "2016/02");
        EXPECT_EQ(d.text(r, "BANK_DATE"), "2016/02/29");
        EXPECT_DOUBLE_EQ(d.number(r, "AMT201"), e.amt01) << e.id;
        EXPECT_DOUBLE_EQ(d.number(r, "QTY201"), e.qty01) << e.id;
        EXPECT_DOUBLE_EQ(d.number(r, "AMT202"), e.amt02) << e.id;
        EXPECT_DOUBLE_EQ(d.number(r, "QTY202"), e.qty02) << e.id;
        EXPECT_DOUBLE_EQ(d.number(r, "AMT_T"), e.amtT) << e.id;
        EXPECT_DOUBLE_EQ(d.number(r, "QTY_T"), e.qtyT) << e.id;
        // Not carried into the list: the bill's own key and store, the per-store ids.
        EXPECT_TRUE(d.isNull(r, d.fieldIndex("MASTERBILLID")));
        EXPECT_TRUE(d.isNull(r, d.fieldIndex("STORE_ID")));
        EXPECT_TRUE(d.isNull(r, d.fieldIndex("ID_01")));
    }
}

TEST_F(ReportTableTest, MonthsAndProvidersAreSeparateGroups)
{
    addAt("B1", "01", 10, "2016/01");
    addAt("B2", "01", 20, "2016/02");
    addAt("B3", "01", 30, "2016/02");
    addAt("B4", "02", 40, "2016/01", "P2");
    build(BankGroup::InterBank);
    const auto d = rows(tables.names().tableD);
    std::vector<std::string> keys;
    for (std::size_t r = 0; r < d.rowCount(); ++r)
        keys.push_back(d.text(r, "BILL_YM") + " " + d.text(r, "PROVIDER_ID") + " " + d.text(r, "ID") + " " +
                       d.text(r, "AMT_T"));
    EXPECT_EQ(keys, (std::vector<std::string>{"2016/01 P1 001 10", "2016/01 P2 001 40", "2016/02 P1 001 20",
                                              "2016/02 P1 002 30"}));
}

TEST_F(ReportTableTest, RowTakesItsDataFromTheFirstStoresBill)
{
    Bill atOne;
    atOne.billId = "B1";
    atOne.bankName = "X1";
    addBill(atOne);
    for (const char* id : {"B8", "B9"}) {
        Bill atTwo;
        atTwo.billId = id;
        atTwo.storeId = "02";
        atTwo.bankName = std::string("Y") + id;
        atTwo.bankDate = std::string("2016/03/0") + id[1];
        addBill(atTwo);
    }
    const auto fill = build(BankGroup::InterBank);
    const auto d = rows(tables.names().tableD);
    ASSERT_EQ(d.rowCount(), 2u);
    EXPECT_EQ(d.text(0, "BANK_NAME"), "X1");
    EXPECT_EQ(d.text(1, "BANK_NAME"), "YB9");
    EXPECT_DOUBLE_EQ(d.number(0, "QTY_T"), 2);
    EXPECT_DOUBLE_EQ(d.number(1, "QTY201"), 0);
    // The report date is the last bill of the last store read.
    EXPECT_EQ(fill.lastBankDate, "2016/03/09");
}

TEST_F(ReportTableTest, BankGroupChoosesTheBills)
{
    Bill inter;
    inter.billId = "I1";
    inter.providerId = "PI";
    addBill(inter);
    Bill same;
    same.billId = "S1";
    same.providerId = "PS";
    same.bankId = "0160001";
    addBill(same);
    Bill noBank;
    noBank.billId = "N1";
    noBank.providerId = "PN";
    noBank.bankId.reset();
    addBill(noBank);

    build(BankGroup::SameBank);
    auto d = rows(tables.names().tableD);
    ASSERT_EQ(d.rowCount(), 1u);
    EXPECT_EQ(d.text(0, "PROVIDER_ID"), "PS");

    db().execute("DELETE FROM " + tables.names().tableD);
    build(BankGroup::InterBank);
    d = rows(tables.names().tableD);
    ASSERT_EQ(d.rowCount(), 1u);
    EXPECT_EQ(d.text(0, "PROVIDER_ID"), "PI");
}

TEST_F(ReportTableTest, NoStoreLeavesTheListEmpty)
{
    useStores({});
    addAt("B1", "01", 100);
    const auto fill = build(BankGroup::InterBank);
    EXPECT_FALSE(fill.readBills);
    EXPECT_TRUE(rows(tables.names().tableD).isEmpty());
}

TEST_F(ReportTableTest, MoreThanTenStoresEachHaveTheirColumns)
{
    std::vector<std::pair<std::string, std::string>> stores;
    for (int i = 1; i <= 12; ++i) {
        char id[8];
        std::snprintf(id, sizeof id, "S%02d", i);
        stores.push_back({id, std::string("Store ") + id});
    }
    useStores(stores);
    addAt("B1", "S12", 120);
    addAt("B2", "S11", 110);
    addAt("B3", "S01", 10);
    build(BankGroup::InterBank);
    const auto d = rows(tables.names().tableD);
    ASSERT_EQ(d.rowCount(), 1u);
    EXPECT_DOUBLE_EQ(d.number(0, "AMT212"), 120);
    EXPECT_DOUBLE_EQ(d.number(0, "AMT211"), 110);
    EXPECT_DOUBLE_EQ(d.number(0, "AMT201"), 10);
    EXPECT_DOUBLE_EQ(d.number(0, "AMT_T"), 240);
    EXPECT_DOUBLE_EQ(d.number(0, "QTY_T"), 3);
}

// A mixed book: providers with bills in several months and stores, both bank groups, an
// amount missing, a bill without bank code, a bill at a store that is not listed.
void addMixedBook(const std::function<void(const Bill&)>& add)
{
    int n = 0;
    const char* providers[] = {"P1", "P2", "P3"};
    const char* months[] = {"2016/01", "2016/02"};
    const char* stores[] = {"01", "02", "03"};
    for (int p = 0; p < 3; ++p)
        for (int m = 0; m < 2; ++m)
            for (int s = 0; s < 3; ++s) {
                const int count = (p * 7 + m * 3 + s * 5) % 4; // 0 to 3 bills
                for (int k = 0; k < count; ++k) {
                    Bill b;
                    char id[16];
                    std::snprintf(id, sizeof id, "K%03d", 97 - n); // keys against insertion order
                    b.billId = id;
                    b.providerId = providers[p];
                    b.providerName = std::string("Name ") + providers[p] + " " + stores[s];
                    b.billYm = months[m];
                    b.storeId = stores[s];
                    b.bankId = (n % 3 == 0) ? "0160002" : "0170003";
                    b.bankName = std::string("Bank ") + id;
                    b.amt2 = 100 + n * 11.5;
                    b.bankDate = std::string("2016/03/") + (n % 2 ? "01" : "02");
                    ++n;
                    add(b);
                }
            }
    Bill noAmount;
    noAmount.billId = "NOAMT";
    noAmount.amt2.reset();
    add(noAmount);
    Bill noBank;
    noBank.billId = "NOBANK";
    noBank.bankId.reset();
    add(noBank);
    Bill unlisted;
    unlisted.billId = "UNLISTED";
    unlisted.storeId = "99";
    add(unlisted);
}

TEST_F(ReportTableTest, ListEqualsTheDocumentedStatementsResult)
{
    useStores({{"01", "One"}, {"02", "Two"}, {"03", "Three"}});
    addMixedBook([this](const Bill& b) { addBill(b); });
    for (const auto group : {BankGroup::InterBank, BankGroup::SameBank}) {
        const auto reference = secondTable(3);
        const auto expected = buildByBills(group, reference);
        db().execute("DELETE FROM " + tables.names().tableD);
        const auto actual = build(group);
        EXPECT_EQ(expected.readBills, actual.readBills);
        EXPECT_EQ(expected.lastBankDate, actual.lastBankDate);
        const auto expectedRows = rows(reference.tableD);
        EXPECT_GT(expectedRows.rowCount(), 5u);
        expectSameRows(expectedRows, rows(tables.names().tableD));
        db().execute("DROP TABLE " + reference.tableD);
    }
}

// The documented statements lose a bill without provider code (their look-up and insert
// compare it with '', which NULL never equals); the list keeps it, in a group of its own.
TEST_F(ReportTableTest, BillWithoutProviderCodeIsListed)
{
    useStores({{"01", "One"}, {"02", "Two"}});
    addAt("B1", "01", 100);
    addAt("B3", "02", 300);
    Bill noProvider;
    noProvider.billId = "B2";
    noProvider.amt2 = 200;
    addBill(noProvider);
    db().execute("UPDATE " + tables.names().tableC + " SET PROVIDER_ID = NULL WHERE MASTERBILLID = 'B2'");
    build(BankGroup::InterBank);
    const auto d = rows(tables.names().tableD);
    ASSERT_EQ(d.rowCount(), 2u);
    EXPECT_TRUE(d.isNull(0, d.fieldIndex("PROVIDER_ID")));
    EXPECT_DOUBLE_EQ(d.number(0, "AMT_T"), 200);
    EXPECT_EQ(d.text(1, "PROVIDER_ID"), "P1");
    EXPECT_DOUBLE_EQ(d.number(1, "AMT_T"), 400);
    EXPECT_DOUBLE_EQ(d.number(1, "QTY_T"), 2);
}

// A bill whose BILL_DATE is missing has no month (BILL_YM is NULL). Its provider's bills without
// month are numbered as one month and lined up across the stores like any other month; the
// documented statements, which look rows up by BILL_YM = '', would give each such bill a row
// of its own.
TEST_F(ReportTableTest, BillsWithoutMonthAreOneGroup)
{
    useStores({{"01", "One"}, {"02", "Two"}});
    addAt("B1", "01", 100);
    addAt("B2", "02", 200);
    addAt("B3", "01", 300);
    db().execute("UPDATE " + tables.names().tableC + " SET BILL_YM = NULL");
    build(BankGroup::InterBank);
    const auto d = rows(tables.names().tableD);
    ASSERT_EQ(d.rowCount(), 2u);
    EXPECT_TRUE(d.isNull(0, d.fieldIndex("BILL_YM")));
    EXPECT_EQ(d.text(0, "ID"), "001");
    EXPECT_DOUBLE_EQ(d.number(0, "AMT201"), 100);
    EXPECT_DOUBLE_EQ(d.number(0, "AMT202"), 200);
    EXPECT_DOUBLE_EQ(d.number(0, "QTY_T"), 2);
    EXPECT_EQ(d.text(1, "ID"), "002");
    EXPECT_DOUBLE_EQ(d.number(1, "AMT201"), 300);
    EXPECT_DOUBLE_EQ(d.number(1, "QTY202"), 0);
}

// The numbering grows with the bills: a provider with a thousand bills in a month at one store
// gets the numbers 001 to 1000, the last one written in full.
TEST_F(ReportTableTest, SequenceBeyondThreeDigits)
{
    useStores({{"01", "One"}});
    db().execute("EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN WHILE (I < 1000) DO BEGIN "
                 "INSERT INTO " +
                 tables.names().tableC +
                 " (MASTERBILLID, PROVIDER_ID, BILL_YM, STORE_ID, BANK_ID, AMT2) "
                 "VALUES (LPAD(:I, 6, '0'), 'P1', '2016/02', '01', '0170001', 1); I = I + 1; END END");
    build(BankGroup::InterBank);
    const auto d = db().query("SELECT ID, AMT_T FROM " + tables.names().tableD + " ORDER BY CHAR_LENGTH(ID), ID");
    ASSERT_EQ(d.rowCount(), 1000u);
    EXPECT_EQ(d.text(0, "ID"), "001");
    EXPECT_EQ(d.text(998, "ID"), "999");
    EXPECT_EQ(d.text(999, "ID"), "1000");
}

} // namespace
} // namespace remittance_tests
