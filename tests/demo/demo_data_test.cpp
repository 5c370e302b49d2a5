// The demo data: what the desk's pages need to find in it, and the same data from the same
// seed.
#include "support/test_database.h"

#include "db/sql.h"
#include "demo/demo_data.h"
#include "demo/demo_database.h"
#include "text/big5.h"
#include "text/dates.h"
#include "text/error.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <fstream>
#include <map>
#include <memory>

namespace {

using testing_support::TempFolder;
using testing_support::TestDatabase;
using text::big5;

constexpr long long billsPerBook = 1500;

std::string todayText()
{
    return text::toDateString(text::today());
}

std::string daysBeforeToday(int days)
{
    using namespace std::chrono;
    const text::Date t = text::today();
    const year_month_day day(sys_days(year(t.year) / month(static_cast<unsigned>(t.month)) / t.day) -
                             std::chrono::days(days));
    return text::toDateString({static_cast<int>(day.year()), static_cast<int>(static_cast<unsigned>(day.month())),
                               static_cast<int>(static_cast<unsigned>(day.day()))});
}

// One generated database shared by the read-only checks below.
class DemoData : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        database_ = new TestDatabase;
        demo::DemoOptions options;
        options.bills = billsPerBook;
        demo::generateDemoData(database_->connection(), options);
    }
    static void TearDownTestSuite()
    {
        delete database_;
        database_ = nullptr;
    }

    static db::Connection& connection() { return database_->connection(); }
    static long long count(const std::string& sql) { return std::stoll(connection().lookup(sql)); }

    static TestDatabase* database_;
};

TestDatabase* DemoData::database_ = nullptr;

TEST_F(DemoData, CompanyTitleAndStores)
{
    EXPECT_EQ(count("SELECT COUNT(*) FROM PUB_PARAM"), 1);
    EXPECT_EQ(text::big5ToUtf8(connection().lookup("SELECT REP_TITLE FROM PUB_PARAM")), "大統百貨股份有限公司");

    const db::RecordSet stores = connection().query("SELECT STORE_ID, STORE_NAME FROM SLAVE_ITEM ORDER BY STORE_ID");
    EXPECT_EQ(stores.rowCount(), 8u); // the default
    EXPECT_EQ(stores.text(0, 0), "01");
    EXPECT_EQ(text::big5ToUtf8(stores.text(0, 1)), "台北中山店");
    for (std::size_t row = 0; row < stores.rowCount(); ++row) {
        const std::string name = text::big5ToUtf8(stores.text(row, 1));
        EXPECT_EQ(name.substr(name.size() - 3), "店") << name;
    }
}

TEST_F(DemoData, ProvidersCarryBankDataWithTheCasesTheDeskMustHandle)
{
    EXPECT_EQ(count("SELECT COUNT(*) FROM PROVIDER"), 200);
    EXPECT_EQ(count("SELECT COUNT(*) FROM PROVIDER WHERE PROVIDER_NAME LIKE '%''%'"), 1);
    EXPECT_EQ(
        count("SELECT COUNT(*) FROM PROVIDER WHERE PROVIDER_NAME = " + db::quote(big5("O'Neil 進口食品有限公司"))), 1);

    const long long sameBank = count("SELECT COUNT(*) FROM PROVIDER WHERE BANK_ID LIKE '016%'");
    EXPECT_GT(sameBank, 20);
    EXPECT_GT(count("SELECT COUNT(*) FROM PROVIDER WHERE BANK_ID NOT LIKE '016%'"), 20);

    // A few providers lack a bank code, account number or account holder.
    const long long incomplete = count(
        "SELECT COUNT(*) FROM PROVIDER WHERE STRLEN(BANK_ID) = 0 OR STRLEN(BANK_ACCID) = 0 OR STRLEN(BANK_TITLE) = 0");
    EXPECT_GE(incomplete, 3);
    EXPECT_LE(incomplete, 10);

    // Fees of 10, 15 and 30, and some not recorded yet for the start-up clean-up.
    EXPECT_GT(count("SELECT COUNT(*) FROM PROVIDER WHERE ACNT_AMT IS NULL"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM PROVIDER WHERE ACNT_AMT NOT IN (0, 10, 15, 30)"), 0);
    for (const char* fee : {"10", "15", "30"})
        EXPECT_GT(count(std::string("SELECT COUNT(*) FROM PROVIDER WHERE ACNT_AMT = ") + fee), 0) << fee;
    EXPECT_GT(count("SELECT COUNT(*) FROM PROVIDER WHERE FAX_YN = 'Y'"), 0);
    EXPECT_GT(count("SELECT COUNT(*) FROM PROVIDER WHERE FAX_YN = 'N'"), 0);
}

TEST_F(DemoData, BankCodesAndAccountNumbersAreDigits)
{
    const db::RecordSet rows = connection().query(
        "SELECT BANK_ID, BANK_ACCID FROM PROVIDER WHERE STRLEN(BANK_ID) > 0 AND STRLEN(BANK_ACCID) > 0");
    ASSERT_GT(rows.rowCount(), 150u);
    const auto allDigits = [](const std::string& s) {
        return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    int leadingZeros = 0;
    for (std::size_t row = 0; row < rows.rowCount(); ++row) {
        const std::string bank = rows.text(row, 0);
        const std::string account = rows.text(row, 1);
        EXPECT_EQ(bank.size(), 7u) << bank;
        EXPECT_TRUE(allDigits(bank)) << bank;
        EXPECT_GE(account.size(), 10u) << account;
        EXPECT_LE(account.size(), 14u) << account;
        EXPECT_TRUE(allDigits(account)) << account;
        if (account[0] == '0')
            ++leadingZeros;
    }
    EXPECT_GT(leadingZeros, 0);
}

TEST_F(DemoData, ThreePayingAccountsNameTheirTwoTransferFiles)
{
    const db::RecordSet accounts = connection().query(
        "SELECT ACNT_ID, ACNT_NAME, BANK_ID, BANK_NAME, ACNT_NO, EXPORT_FILE, CON_PEOPLE FROM BANK_ACCOUNT");
    ASSERT_EQ(accounts.rowCount(), 3u);
    for (std::size_t row = 0; row < accounts.rowCount(); ++row) {
        for (std::size_t col = 0; col < accounts.columnCount(); ++col)
            EXPECT_FALSE(accounts.text(row, col).empty()) << accounts.column(col).name;
        const std::string file = accounts.text(row, 5);
        const auto dash = file.find('-');
        ASSERT_NE(dash, std::string::npos) << file;
        EXPECT_GT(dash, 0u);
        EXPECT_LT(dash + 1, file.size());
    }
    EXPECT_EQ(count("SELECT COUNT(*) FROM BANK_ACCOUNT WHERE EXPORT_FILE = 'ABC-DEF'"), 1);
}

TEST_F(DemoData, BothBooksHoldAYearOfBillsEndingToday)
{
    const std::string today = todayText();
    for (const std::string book : {"PAY_MASTER", "PAY_MASTERU"}) {
        SCOPED_TRACE(book);
        EXPECT_EQ(count("SELECT COUNT(*) FROM " + book), billsPerBook);
        EXPECT_EQ(connection().lookup("SELECT MAX(BILL_DATE) FROM " + book), today);
        EXPECT_GT(count("SELECT COUNT(*) FROM " + book + " WHERE BILL_DATE = " + db::quote(today)), 0);
        EXPECT_GT(count("SELECT COUNT(*) FROM " + book + " WHERE PAY_DATE = " + db::quote(today)), 0);
        const std::string first = connection().lookup("SELECT MIN(BILL_DATE) FROM " + book);
        EXPECT_GE(first, daysBeforeToday(365));
        EXPECT_LE(first, daysBeforeToday(358));
        EXPECT_EQ(count("SELECT COUNT(*) FROM " + book + " WHERE PAY_DATE < BILL_DATE"), 0);
        EXPECT_EQ(count("SELECT COUNT(*) FROM " + book +
                        " B WHERE NOT EXISTS (SELECT 1 FROM PROVIDER P WHERE P.PROVIDER_ID = B.PROVIDER_ID AND "
                        "P.PROVIDER_NAME = B.PROVIDER_NAME)"),
                  0);
        EXPECT_EQ(count("SELECT COUNT(*) FROM " + book +
                        " B WHERE NOT EXISTS (SELECT 1 FROM BANK_ACCOUNT A WHERE A.ACNT_ID = B.ACNT_ID)"),
                  0);
    }
    EXPECT_EQ(count("SELECT COUNT(*) FROM PAY_MASTERU U WHERE NOT EXISTS (SELECT 1 FROM SLAVE_ITEM S WHERE S.STORE_ID "
                    "= U.STORE_ID)"),
              0);
    EXPECT_EQ(count("SELECT COUNT(DISTINCT STORE_ID) FROM PAY_MASTERU"), 8);
    EXPECT_EQ(count("SELECT COUNT(*) FROM PAY_MASTERU WHERE SECBILLID <> STORE_ID || MASTERBILLID"), 0);
}

TEST_F(DemoData, BillsMixCashTransferAndCheque)
{
    struct MixCase {
        const char* what;
        const char* condition;
    };
    const std::vector<MixCase> mix{
        {"cash only", "CASH_AMT <> 0 AND BANK_IO = 0 AND PAGE_AMT = 0"},
        {"transfer only", "CASH_AMT = 0 AND BANK_IO > 0 AND PAGE_AMT = 0"},
        {"cheque only", "CASH_AMT = 0 AND BANK_IO = 0 AND PAGE_AMT <> 0"},
        {"transfer and cash", "CASH_AMT <> 0 AND BANK_IO <> 0"},
        {"cheque and cash", "CASH_AMT <> 0 AND PAGE_AMT <> 0"},
        {"transfer and cheque", "BANK_IO <> 0 AND PAGE_AMT <> 0"},
        {"nothing to pay", "CASH_AMT = 0 AND BANK_IO = 0 AND PAGE_AMT = 0"},
        {"credit note", "BANK_IO < 0"},
        {"stamped", "STRLEN(BANK_DATE) > 0"},
        {"unstamped, empty", "BANK_DATE = ''"},
        {"unstamped, NULL", "BANK_DATE IS NULL"},
    };
    for (const std::string book : {"PAY_MASTER", "PAY_MASTERU"})
        for (const MixCase& m : mix)
            EXPECT_GT(count("SELECT COUNT(*) FROM " + book + " WHERE " + m.condition), 0) << book << ": " << m.what;

    // Bills that are still to pay in the future are never stamped.
    EXPECT_EQ(count("SELECT COUNT(*) FROM PAY_MASTER WHERE PAGE_AMT = 0 AND PAY_DATE > " + db::quote(todayText()) +
                    " AND STRLEN(BANK_DATE) > 0"),
              0);
    // Only bills with a cheque amount carry a cheque number and due date.
    EXPECT_EQ(
        count("SELECT COUNT(*) FROM PAY_MASTER WHERE PAGE_AMT = 0 AND (PAGE_ID IS NOT NULL OR EXPDATE IS NOT NULL)"),
        0);
    EXPECT_EQ(
        count("SELECT COUNT(*) FROM PAY_MASTER WHERE PAGE_AMT <> 0 AND (STRLEN(PAGE_ID) = 0 OR STRLEN(EXPDATE) = 0)"),
        0);
}

TEST_F(DemoData, ChequesPayTheBillsThatCarryTheirNumbers)
{
    EXPECT_EQ(count("SELECT COUNT(*) FROM PAY_MASTER B WHERE PAGE_ID IS NOT NULL AND NOT EXISTS (SELECT 1 FROM CHKPAY "
                    "C WHERE C.ID = B.PAGE_ID)"),
              0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM PAY_MASTERU B WHERE PAGE_ID IS NOT NULL AND NOT EXISTS (SELECT 1 FROM CHKPAY "
                    "C WHERE C.ID = B.PAGE_ID)"),
              0);
    EXPECT_GT(count("SELECT COUNT(*) FROM CHKPAY C WHERE EXISTS (SELECT 1 FROM PAY_MASTER B WHERE B.PAGE_ID = C.ID)"),
              10);

    // Each cheque's amount is the sum of its bills' cheque amounts, and they fall due with it.
    EXPECT_EQ(count("SELECT COUNT(*) FROM CHKPAY C WHERE C.CURRAMT <> "
                    " COALESCE((SELECT SUM(B.PAGE_AMT) FROM PAY_MASTER B WHERE B.PAGE_ID = C.ID), 0) + "
                    " COALESCE((SELECT SUM(B.PAGE_AMT) FROM PAY_MASTERU B WHERE B.PAGE_ID = C.ID), 0)"
                    " AND (EXISTS (SELECT 1 FROM PAY_MASTER B WHERE B.PAGE_ID = C.ID)"
                    "   OR EXISTS (SELECT 1 FROM PAY_MASTERU B WHERE B.PAGE_ID = C.ID))"),
              0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM PAY_MASTER B JOIN CHKPAY C ON C.ID = B.PAGE_ID WHERE B.EXPDATE <> C.EXPDATE "
                    "OR B.PROVIDER_ID <> C.PROVIDER_ID OR B.ACNT_ID <> C.ACNT_ID"),
              0);

    // Advance payments: cheques that no bill refers to.
    EXPECT_GT(count("SELECT COUNT(*) FROM CHKPAY C WHERE NOT EXISTS (SELECT 1 FROM PAY_MASTER B WHERE B.PAGE_ID = C.ID)"
                    " AND NOT EXISTS (SELECT 1 FROM PAY_MASTERU B WHERE B.PAGE_ID = C.ID)"),
              0);

    // Cheque numbers are two letters and seven digits, within the cheque grid's ten bytes.
    const db::RecordSet cheques =
        connection().query("SELECT ID, RCVDATE, EXPDATE, ADVDATE, CHKTITLE, ACNT_NO, BANK_NAME, MEMO FROM CHKPAY");
    for (std::size_t row = 0; row < cheques.rowCount(); ++row) {
        const std::string id = cheques.text(row, 0);
        ASSERT_EQ(id.size(), 9u) << id;
        EXPECT_TRUE(std::isupper(static_cast<unsigned char>(id[0])) && std::isupper(static_cast<unsigned char>(id[1])))
            << id;
        EXPECT_LE(cheques.text(row, 1), cheques.text(row, 2)) << id << ": due before issued";
        for (std::size_t col = 4; col < cheques.columnCount(); ++col)
            EXPECT_FALSE(cheques.text(row, col).empty()) << id;
    }
    EXPECT_GT(count("SELECT COUNT(*) FROM CHKPAY WHERE ADVDATE IS NOT NULL"), 0);
}

TEST_F(DemoData, ChineseTextsRoundTripAsBig5)
{
    const std::string id = connection().lookup("SELECT PROVIDER_ID FROM PROVIDER WHERE PROVIDER_NAME LIKE 'O''Neil%'");
    ASSERT_FALSE(id.empty());
    EXPECT_EQ(text::big5ToUtf8(
                  connection().lookup("SELECT PROVIDER_NAME FROM PROVIDER WHERE PROVIDER_ID = " + db::quote(id))),
              "O'Neil 進口食品有限公司");

    // Every name decodes cleanly (no replacement character) and encodes back to its bytes.
    const db::RecordSet names =
        connection().query("SELECT PROVIDER_NAME, BANK_NAME, BANK_TITLE FROM PROVIDER WHERE BANK_NAME IS NOT NULL");
    for (std::size_t row = 0; row < names.rowCount(); ++row) {
        for (std::size_t col = 0; col < names.columnCount(); ++col) {
            const std::string bytes = names.text(row, col);
            const std::string utf8 = text::big5ToUtf8(bytes);
            EXPECT_EQ(utf8.find("\xEF\xBF\xBD"), std::string::npos) << utf8;
            EXPECT_EQ(text::utf8ToBig5(utf8), bytes);
        }
    }
    EXPECT_EQ(text::big5ToUtf8(connection().lookup("SELECT BANK_NAME FROM BANK_ACCOUNT WHERE ACNT_ID = '101'")),
              "高雄銀行三民分行");
}

// Everything a table holds, as one text per row, in key order.
std::vector<std::string> dump(db::Connection& connection, const std::string& table, const std::string& key)
{
    const db::RecordSet rows = connection.query("SELECT * FROM " + table + " ORDER BY " + key);
    std::vector<std::string> out;
    for (std::size_t row = 0; row < rows.rowCount(); ++row) {
        std::string line;
        for (std::size_t col = 0; col < rows.columnCount(); ++col)
            line += (rows.isNull(row, col) ? std::string("<null>") : rows.text(row, col)) + "|";
        out.push_back(line);
    }
    return out;
}

TEST(DemoDataSeed, TheSameSeedGivesTheSameDataAndAnotherSeedOtherData)
{
    demo::DemoOptions options;
    options.bills = 200;
    TestDatabase first, second, third;
    demo::generateDemoData(first.connection(), options);
    demo::generateDemoData(second.connection(), options);
    options.seed += 1;
    demo::generateDemoData(third.connection(), options);

    const std::map<std::string, std::string> tables{
        {"PROVIDER", "PROVIDER_ID"}, {"PAY_MASTER", "MASTERBILLID"}, {"PAY_MASTERU", "SECBILLID"}, {"CHKPAY", "ID"}};
    for (const auto& [table, key] : tables) {
        const auto rows = dump(first.connection(), table, key);
        EXPECT_FALSE(rows.empty()) << table;
        EXPECT_EQ(rows, dump(second.connection(), table, key)) << table;
        EXPECT_NE(rows, dump(third.connection(), table, key)) << table;
    }
}

TEST(DemoDataOptions, StoreCountsFromSixToTwelve)
{
    for (int stores : {6, 12}) {
        TestDatabase database;
        demo::DemoOptions options;
        options.stores = stores;
        options.bills = 300;
        demo::generateDemoData(database.connection(), options);
        EXPECT_EQ(database.connection().lookup("SELECT COUNT(*) FROM SLAVE_ITEM"), std::to_string(stores));
        EXPECT_EQ(database.connection().lookup("SELECT MAX(STORE_ID) FROM SLAVE_ITEM"),
                  stores < 10 ? "0" + std::to_string(stores) : std::to_string(stores));
    }
    for (int stores : {5, 13}) {
        TestDatabase database;
        demo::DemoOptions options;
        options.stores = stores;
        EXPECT_THROW(demo::generateDemoData(database.connection(), options), text::UserError) << stores;
        EXPECT_EQ(database.connection().lookup("SELECT COUNT(*) FROM SLAVE_ITEM"), "0");
    }
}

TEST(DemoDataOptions, ABookMayBeEmpty)
{
    TestDatabase database;
    demo::DemoOptions options;
    options.bills = 0;
    demo::generateDemoData(database.connection(), options);
    EXPECT_EQ(database.connection().lookup("SELECT COUNT(*) FROM PAY_MASTER"), "0");
    EXPECT_EQ(database.connection().lookup("SELECT COUNT(*) FROM PROVIDER"), "200");
}

TEST(DemoDatabase, IsCreatedWholeAndNeverOverwritesAFile)
{
    TempFolder folder;
    db::ConnectionParams params;
    params.database = folder.path() + "demo.fdb";
    demo::DemoOptions options;
    options.bills = 50;
    {
        const auto connection = demo::createDemoDatabase(params, options);
        EXPECT_EQ(connection->lookup("SELECT COUNT(*) FROM PAY_MASTERU"), "50");
        EXPECT_EQ(
            connection->lookup("SELECT COUNT(*) FROM RDB$FUNCTIONS WHERE RDB$FUNCTION_NAME IN ('STRLEN', 'SUBSTR')"),
            "2");
    }

    const std::string other = folder.path() + "other.fdb";
    std::ofstream(other) << "not a database";
    params.database = other;
    EXPECT_THROW(demo::createDemoDatabase(params, options), text::UserError);
    std::ifstream kept(other);
    std::string content;
    std::getline(kept, content);
    EXPECT_EQ(content, "not a database");
}

TEST(DemoDatabase, AFailedFillLeavesNoFileBehind)
{
    TempFolder folder;
    db::ConnectionParams params;
    params.database = folder.path() + "broken.fdb";
    demo::DemoOptions options;
    options.stores = 99;
    EXPECT_THROW(demo::createDemoDatabase(params, options), text::UserError);
    EXPECT_FALSE(std::ifstream(params.database).good());
}

} // namespace
