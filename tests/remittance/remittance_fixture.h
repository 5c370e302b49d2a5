#pragma once
// A remittance desk over a fresh test database, with helpers that write the few stores,
// providers, accounts and bills a case needs. Texts in helpers are UTF-8 and stored as Big5.
#include "db/sql.h"
#include "remittance/condition_confirm.h"
#include "remittance/listed_run.h"
#include "remittance/remittance_desk.h"
#include "report/bridge.h"
#include "support/recording.h"
#include "support/report_capture.h"
#include "support/test_database.h"
#include "text/big5.h"
#include "work/work_tables.h"

#include <gtest/gtest.h>
#include <string>

namespace testing_support {

class RemittanceFixture : public ::testing::Test {
protected:
    TestDatabase database;
    TempFolder exeFolder;
    work::WorkTables tables{database.connection(), work::connectionSuffix(database.connection().connectionId()),
                            report::handOverFiles(exeFolder.path())};
    RecordingProgress progress;
    RecordingMessages messages;
    db::RecordSet grid;
    remittance::ListedRun run;
    report::Bridge reports{exeFolder.path()};
    remittance::RemittanceDesk desk{database.connection(), tables, progress, messages, grid, run, reports};
    bool reportLibraryInstalled = [this] {
        installFakeReportLibrary(exeFolder.path());
        return true;
    }();
    remittance::ExportFileNames shownNames;
    bool selectAllEnabled = false;

    db::Connection& db() { return database.connection(); }

    void exec(const std::string& utf8) { db().execute(text::big5(utf8)); }

    void addStore(const std::string& id, const std::string& name)
    {
        exec("INSERT INTO SLAVE_ITEM (STORE_ID, STORE_NAME) VALUES (" + db::quote(id) + ", " + db::quote(name) + ")");
    }

    struct Provider {
        std::string id, name = "供應商", bankId = "0170001", bankName = "台灣銀行", title = "戶名",
                        accountNo = "00123456789";
        double fee = 0;
    };
    void addProvider(const Provider& p)
    {
        exec("INSERT INTO PROVIDER (PROVIDER_ID, PROVIDER_NAME, PROVIDER_PHONE, BANK_ID, BANK_NAME, BANK_TITLE, "
             "BANK_ACCID, ACNT_AMT) VALUES (" +
             db::quote(p.id) + ", " + db::quote(p.name) + ", '02-1234', " + db::quote(p.bankId) + ", " +
             db::quote(p.bankName) + ", " + db::quote(p.title) + ", " + db::quote(p.accountNo) + ", " +
             std::to_string(p.fee) + ")");
    }
    void addProvider(const std::string& id, double fee = 0)
    {
        Provider p;
        p.id = id;
        p.fee = fee;
        addProvider(p);
    }

    void addAccount(const std::string& id, const std::string& exportFile = "ABC-DEF")
    {
        exec("INSERT INTO BANK_ACCOUNT (ACNT_ID, ACNT_NAME, BANK_ID, BANK_NAME, ACNT_NO, EXPORT_FILE, CON_PEOPLE) "
             "VALUES (" +
             db::quote(id) + ", '總公司帳戶', '0160002', '付款銀行', '998877', " + db::quote(exportFile) +
             ", 'CONTACT')");
    }

    struct Bill {
        std::string key, provider = "P1", billDate = "2024/01/10", payDate = "2024/01/20", account = "A1", store = "",
                         bankDate = "";
        double bankIo = 1000;
        bool joint = false;
        bool bankDateNull = true;
    };
    void addBill(const Bill& b)
    {
        const std::string bankDate = b.bankDate.empty() && b.bankDateNull ? "NULL" : db::quote(b.bankDate);
        if (b.joint)
            exec("INSERT INTO PAY_MASTERU (SECBILLID, MASTERBILLID, STORE_ID, BILL_DATE, PAY_DATE, PROVIDER_ID, "
                 "PROVIDER_NAME, ACNT_ID, BANK_DATE, BANK_IO) VALUES (" +
                 db::quote(b.key) + ", " + db::quote("M" + b.key) + ", " + db::quote(b.store) + ", " +
                 db::quote(b.billDate) + ", " + db::quote(b.payDate) + ", " + db::quote(b.provider) + ", '供應商', " +
                 db::quote(b.account) + ", " + bankDate + ", " + std::to_string(b.bankIo) + ")");
        else
            exec("INSERT INTO PAY_MASTER (MASTERBILLID, STORE_ID, BILL_DATE, PAY_DATE, PROVIDER_ID, PROVIDER_NAME, "
                 "ACNT_ID, BANK_DATE, BANK_IO) VALUES (" +
                 db::quote(b.key) + ", " + db::quote(b.store) + ", " + db::quote(b.billDate) + ", " +
                 db::quote(b.payDate) + ", " + db::quote(b.provider) + ", '供應商', " + db::quote(b.account) + ", " +
                 bankDate + ", " + std::to_string(b.bankIo) + ")");
    }
    void addBill(const std::string& key, double bankIo = 1000, const std::string& provider = "P1")
    {
        Bill b;
        b.key = key;
        b.bankIo = bankIo;
        b.provider = provider;
        addBill(b);
    }

    // The usual conditions: January 2024 by payment date, account A1, all stores, own books.
    remittance::ConfirmConditions conditions() const
    {
        remittance::ConfirmConditions c;
        c.fromDateText = "2024/01/01";
        c.toDateText = "2024/01/31";
        c.accountComboText = text::big5("A1,總公司帳戶");
        return c;
    }

    void confirm(const remittance::ConfirmConditions& c)
    {
        remittance::ConfirmOutputs outputs;
        outputs.showFileNames = [this](const remittance::ExportFileNames& names) { shownNames = names; };
        outputs.enableSelectAll = [this] { selectAllEnabled = true; };
        remittance::confirmRemittance(desk, c, outputs);
    }

    // BANK_DATE of a bill ("<null>" for NULL).
    std::string bankDate(const std::string& table, const std::string& keyColumn, const std::string& key)
    {
        const db::RecordSet rows =
            db().query("SELECT BANK_DATE FROM " + table + " WHERE " + keyColumn + " = " + db::quote(key));
        if (rows.isEmpty())
            return "<no bill>";
        return rows.isNull(0, 0) ? "<null>" : rows.text(0, 0);
    }
    std::string ownBankDate(const std::string& key) { return bankDate("PAY_MASTER", "MASTERBILLID", key); }
    std::string jointBankDate(const std::string& key) { return bankDate("PAY_MASTERU", "SECBILLID", key); }

    bool tableExists(const std::string& name)
    {
        return !db().lookup("SELECT RDB$RELATION_NAME FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = " + db::quote(name))
                    .empty();
    }

    // The rows of a work table in key order.
    db::RecordSet rowsOf(const std::string& table, const std::string& orderBy = "MASTERBILLID")
    {
        return db().query("SELECT * FROM " + table + " ORDER BY " + orderBy);
    }

    std::vector<std::string> column(const db::RecordSet& rows, const std::string& name)
    {
        std::vector<std::string> values;
        for (std::size_t r = 0; r < rows.rowCount(); ++r)
            values.push_back(rows.text(r, name));
        return values;
    }

    void tick(const std::string& key)
    {
        for (std::size_t r = 0; r < grid.rowCount(); ++r)
            if (grid.text(r, "MASTERBILLID") == key)
                grid.setText(r, "CHKED", "Y");
    }
};

} // namespace testing_support
