// The back-office schema: the tables the desk reads and writes, in the widths its work
// tables copy them into.
#include "support/test_database.h"

#include "db/sql.h"

#include <gtest/gtest.h>

namespace {

using testing_support::TestDatabase;

struct ColumnCase {
    std::string table;
    std::string column;
    std::string type; // "VARCHAR" or "DOUBLE"
    int maxBytes = 0; // VARCHAR: at most this wide, so copies into work tables fit
};

class BackOfficeSchema : public ::testing::Test {
protected:
    // The type and declared width of a column, empty type when it is missing.
    std::pair<std::string, int> describe(const std::string& table, const std::string& column)
    {
        const db::RecordSet rows = database_.connection().query(db::SqlLines{
            "SELECT F.RDB$FIELD_TYPE, F.RDB$FIELD_LENGTH FROM RDB$RELATION_FIELDS R",
            "  JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = R.RDB$FIELD_SOURCE",
            " WHERE R.RDB$RELATION_NAME = " + db::quote(table) + " AND R.RDB$FIELD_NAME = " + db::quote(column),
        });
        if (rows.isEmpty())
            return {"", 0};
        const int type = static_cast<int>(rows.number(0, 0));
        return {type == 37   ? "VARCHAR"
                : type == 27 ? "DOUBLE"
                             : "type " + std::to_string(type),
                static_cast<int>(rows.number(0, 1))};
    }

    TestDatabase database_;
};

TEST_F(BackOfficeSchema, ColumnsFitTheWorkTablesTheyAreCopiedInto)
{
    std::vector<ColumnCase> cases;
    for (const std::string book : {"PAY_MASTER", "PAY_MASTERU"}) {
        for (const char* date : {"BILL_DATE", "PAY_DATE", "BANK_DATE", "EXPDATE"})
            cases.push_back({book, date, "VARCHAR", 10});
        for (const char* amount : {"CASH_AMT", "PAGE_AMT", "BANK_IO", "PRE_PAY", "TAKE_PRE", "TOT_DISCOUNT",
                                   "TOT_PATCH", "OVER_PAY", "TOTAL_PLUS"})
            cases.push_back({book, amount, "DOUBLE", 8});
        cases.push_back({book, "MASTERBILLID", "VARCHAR", 20});
        cases.push_back({book, "PROVIDER_ID", "VARCHAR", 10});
        cases.push_back({book, "PROVIDER_NAME", "VARCHAR", 50});
        cases.push_back({book, "ACNT_ID", "VARCHAR", 20});
        cases.push_back({book, "STORE_ID", "VARCHAR", 10});
        cases.push_back({book, "PAGE_ID", "VARCHAR", 20});
    }
    cases.push_back({"PAY_MASTERU", "SECBILLID", "VARCHAR", 20});
    for (const char* c : {"BANK_ID", "BANK_ACCID", "PROVIDER_PHONE", "ACNT_ID"})
        cases.push_back({"PROVIDER", c, "VARCHAR", 20});
    for (const char* c : {"PROVIDER_NAME", "BANK_NAME", "BANK_TITLE"})
        cases.push_back({"PROVIDER", c, "VARCHAR", 50});
    cases.push_back({"PROVIDER", "PROVIDER_ID", "VARCHAR", 10});
    cases.push_back({"PROVIDER", "ACNT_AMT", "DOUBLE", 8});
    cases.push_back({"PROVIDER", "FAX_YN", "VARCHAR", 10});
    for (const char* c : {"ACNT_ID", "ACNT_NO", "EXPORT_FILE", "CON_PEOPLE"})
        cases.push_back({"BANK_ACCOUNT", c, "VARCHAR", 20});
    for (const char* c : {"ACNT_NAME", "BANK_NAME"})
        cases.push_back({"BANK_ACCOUNT", c, "VARCHAR", 50});
    cases.push_back({"BANK_ACCOUNT", "BANK_ID", "VARCHAR", 10});
    cases.push_back({"SLAVE_ITEM", "STORE_ID", "VARCHAR", 10});
    cases.push_back({"SLAVE_ITEM", "STORE_NAME", "VARCHAR", 20});
    cases.push_back({"PUB_PARAM", "REP_TITLE", "VARCHAR", 100});
    for (const char* c : {"RCVDATE", "EXPDATE", "ADVDATE"})
        cases.push_back({"CHKPAY", c, "VARCHAR", 10});
    for (const char* c : {"ID", "ACNT_ID", "ACNT_NO"})
        cases.push_back({"CHKPAY", c, "VARCHAR", 20});
    for (const char* c : {"PROVIDER_NAME", "CHKTITLE", "BANK_NAME", "REMARK2"})
        cases.push_back({"CHKPAY", c, "VARCHAR", 50});
    cases.push_back({"CHKPAY", "PROVIDER_ID", "VARCHAR", 10});
    cases.push_back({"CHKPAY", "MEMO", "VARCHAR", 200});
    cases.push_back({"CHKPAY", "CURRAMT", "DOUBLE", 8});

    for (const ColumnCase& c : cases) {
        const auto [type, bytes] = describe(c.table, c.column);
        EXPECT_EQ(type, c.type) << c.table << "." << c.column;
        EXPECT_LE(bytes, c.maxBytes) << c.table << "." << c.column;
    }
}

TEST_F(BackOfficeSchema, TheStoreListReadsIdFirstAndNameSecond)
{
    const db::RecordSet stores = database_.connection().query("SELECT * FROM SLAVE_ITEM");
    ASSERT_GE(stores.columnCount(), 2u);
    EXPECT_EQ(stores.column(0).name, "STORE_ID");
    EXPECT_EQ(stores.column(1).name, "STORE_NAME");
}

TEST_F(BackOfficeSchema, KeysRefuseDuplicates)
{
    auto& connection = database_.connection();
    const std::vector<std::pair<std::string, std::string>> keyed{
        {"PAY_MASTER", "MASTERBILLID"}, {"PAY_MASTERU", "SECBILLID"}, {"PROVIDER", "PROVIDER_ID"},
        {"BANK_ACCOUNT", "ACNT_ID"},    {"SLAVE_ITEM", "STORE_ID"},   {"CHKPAY", "ID"},
    };
    for (const auto& [table, key] : keyed) {
        connection.execute("INSERT INTO " + table + " (" + key + ") VALUES ('K1')");
        EXPECT_ANY_THROW(connection.execute("INSERT INTO " + table + " (" + key + ") VALUES ('K1')")) << table;
    }
}

TEST_F(BackOfficeSchema, TextsKeepTheirBytes)
{
    // Character set NONE: Big5 bytes, including trail bytes in the ASCII range such as the
    // backslash of 許, go in and come out unchanged.
    const std::string name = "\xb3\x5c\xae\x61\xbb\xca"; // 許家銘 in Big5
    auto& connection = database_.connection();
    connection.execute("INSERT INTO PROVIDER (PROVIDER_ID, PROVIDER_NAME) VALUES ('F1', " + db::quote(name) + ")");
    EXPECT_EQ(connection.lookup("SELECT PROVIDER_NAME FROM PROVIDER WHERE PROVIDER_ID = 'F1'"), name);
    EXPECT_EQ(connection.lookup("SELECT STRLEN(PROVIDER_NAME) FROM PROVIDER WHERE PROVIDER_ID = 'F1'"), "6");
}

} // namespace
