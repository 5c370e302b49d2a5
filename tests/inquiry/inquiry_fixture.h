#pragma once
// A fresh database with the inquiry tab's collaborators around it, and small helpers that
// insert exactly the stores, providers, accounts and bills a case needs.
#include "db/sql.h"
#include "inquiry/inquiry_run.h"
#include "report/bridge.h"
#include "support/recording.h"
#include "support/test_database.h"
#include "text/big5.h"
#include "work/work_tables.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace inquiry_testing {

using testing_support::RecordingMessages;
using testing_support::RecordingProgress;
using testing_support::TempFolder;
using testing_support::TestDatabase;

// A bill of either book; SECBILLID and STORE_ID only matter in the joint book.
struct Bill {
    std::string id;
    std::string provider = "P01";
    double cash = 0, remit = 0, cheque = 0;
    std::string payDate = "2026/01/10";
    std::string billDate = "2026/01/10";
    std::optional<std::string> bankDate; // nullopt: NULL
    std::string account = "A1";
    std::string store; // joint book
    std::string secId; // joint book; defaults to "S" + id
    std::string providerName = "Provider";
};

inline std::string sqlValue(const std::optional<std::string>& value)
{
    return value ? db::quote(*value) : "NULL";
}

class InquiryFixture : public ::testing::Test {
protected:
    TestDatabase database;
    TempFolder exeFolder;
    RecordingProgress progress;
    RecordingMessages messages;
    db::RecordSet grid;
    work::WorkTables tables{database.connection(), "_9", report::handOverFiles(exeFolder.path())};
    inquiry::InquiryDesk services{database.connection(), tables, progress, messages, grid};
    inquiry::InquiryConditions conditions;

    void SetUp() override
    {
        conditions.dateFromText = "2026/01/01";
        conditions.dateToText = "2026/01/31";
        addAccount("A1", "0123456", "ABC-DEF");
    }

    db::Connection& db() { return database.connection(); }

    void addStore(const std::string& id, const std::string& utf8Name)
    {
        db().execute("INSERT INTO SLAVE_ITEM (STORE_ID, STORE_NAME) VALUES (" + db::quote(id) + "," +
                     db::quote(text::big5(utf8Name)) + ")");
    }
    void addProvider(const std::string& id, const std::string& utf8Name, double fee = 30, const std::string& fax = "N",
                     const std::string& bankId = "0161234")
    {
        db().execute("INSERT INTO PROVIDER (PROVIDER_ID, PROVIDER_NAME, PROVIDER_PHONE, BANK_ID, BANK_NAME, BANK_TITLE,"
                     " BANK_ACCID, ACNT_AMT, FAX_YN) VALUES (" +
                     db::quote(id) + "," + db::quote(text::big5(utf8Name)) + ",'02-1234'," + db::quote(bankId) + "," +
                     db::quote(text::big5("台灣銀行")) + "," + db::quote(text::big5(utf8Name)) + ",'12345678'," +
                     std::to_string(fee) + "," + db::quote(fax) + ")");
    }
    void addAccount(const std::string& id, const std::string& bankId, const std::string& exportFile)
    {
        db().execute(
            "INSERT INTO BANK_ACCOUNT (ACNT_ID, ACNT_NAME, BANK_ID, BANK_NAME, ACNT_NO, EXPORT_FILE, CON_PEOPLE)"
            " VALUES (" +
            db::quote(id) + ",'Own account'," + db::quote(bankId) + ",'Bank','99887766'," + db::quote(exportFile) +
            ",'Lin')");
    }
    void addBill(const Bill& b)
    {
        db().execute("INSERT INTO PAY_MASTER (MASTERBILLID, BILL_DATE, PAY_DATE, PROVIDER_ID, PROVIDER_NAME, ACNT_ID,"
                     " BANK_DATE, CASH_AMT, BANK_IO, PAGE_AMT, EXPDATE) VALUES (" +
                     db::quote(b.id) + "," + db::quote(b.billDate) + "," + db::quote(b.payDate) + "," +
                     db::quote(b.provider) + "," + db::quote(b.providerName) + "," + db::quote(b.account) + "," +
                     sqlValue(b.bankDate) + "," + std::to_string(b.cash) + "," + std::to_string(b.remit) + "," +
                     std::to_string(b.cheque) + ",'2026/02/28')");
    }
    void addJointBill(const Bill& b)
    {
        db().execute("INSERT INTO PAY_MASTERU (SECBILLID, MASTERBILLID, STORE_ID, BILL_DATE, PAY_DATE, PROVIDER_ID,"
                     " PROVIDER_NAME, ACNT_ID, BANK_DATE, CASH_AMT, BANK_IO, PAGE_AMT, EXPDATE) VALUES (" +
                     db::quote(b.secId.empty() ? "S" + b.id : b.secId) + "," + db::quote(b.id) + "," +
                     db::quote(b.store) + "," + db::quote(b.billDate) + "," + db::quote(b.payDate) + "," +
                     db::quote(b.provider) + "," + db::quote(b.providerName) + "," + db::quote(b.account) + "," +
                     sqlValue(b.bankDate) + "," + std::to_string(b.cash) + "," + std::to_string(b.remit) + "," +
                     std::to_string(b.cheque) + ",'2026/02/28')");
    }

    // The grid's rows as "bill/FLAG" (UTF-8), in grid order.
    std::vector<std::string> gridRows() const
    {
        std::vector<std::string> rows;
        for (std::size_t r = 0; r < grid.rowCount(); ++r)
            rows.push_back(grid.text(r, "MASTERBILLID") + "/" + text::big5ToUtf8(grid.text(r, "FLAG")));
        return rows;
    }

    db::RecordSet statistics()
    {
        return db().query("SELECT * FROM " + tables.names().tableB + " ORDER BY PROVIDER_ID, STORE_ID_01");
    }

    bool relationExists(const std::string& name)
    {
        return !name.empty() &&
               !db().query("SELECT RDB$RELATION_NAME FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = " + db::quote(name))
                    .isEmpty();
    }
};

} // namespace inquiry_testing
