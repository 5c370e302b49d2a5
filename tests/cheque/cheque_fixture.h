#pragma once
// A cheque desk over a fresh database, with a recording progress display and message boxes,
// and the stand-in report library in the executable folder.
#include "cheque/cheque_desk.h"
#include "db/sql.h"
#include "report/bridge.h"
#include "support/recording.h"
#include "support/report_capture.h"
#include "support/test_database.h"
#include "text/big5.h"
#include "work/work_tables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cheque_testing {

struct Cheque {
    std::string id;
    std::string rcvDate, expDate, advDate;
    std::string providerId = "P01";
    std::string accountId = "01";
    std::string accountNo = "1234567";
    double amount = 1000;
    std::string title = "A"; // Big5
};

class ChequeDeskTest : public ::testing::Test {
protected:
    testing_support::TestDatabase database;
    testing_support::TempFolder exeFolder;
    testing_support::RecordingProgress progress;
    testing_support::RecordingMessages messages;
    work::WorkTables tables{database.connection(), "_1", report::handOverFiles(exeFolder.path())};
    report::Bridge bridge{exeFolder.path()};
    db::RecordSet grid; // ClientDataSet21
    cheque::ChequeDesk desk{database.connection(), tables, progress, messages, bridge, grid};

    db::Connection& db() { return database.connection(); }

    void addCheque(const Cheque& c)
    {
        auto orNull = [](const std::string& v) { return v == "NULL" ? v : db::quote(v); };
        db().execute(db::SqlLines{
            "INSERT INTO CHKPAY (ID, RCVDATE, EXPDATE, ADVDATE, PROVIDER_ID, PROVIDER_NAME, CHKTITLE,",
            " ACNT_ID, ACNT_NO, BANK_NAME, CURRAMT, MEMO, REMARK2) VALUES (",
            db::quote(c.id) + ", " + orNull(c.rcvDate) + ", " + orNull(c.expDate) + ", " + orNull(c.advDate) + ", ",
            db::quote(c.providerId) + ", " + db::quote(text::big5("供應商") + c.providerId) + ", " +
                db::quote(c.title) + ", ",
            db::quote(c.accountId) + ", " + db::quote(c.accountNo) + ", " + db::quote(text::big5("台灣銀行")) + ", ",
            std::to_string(c.amount) + ", 'memo', 'r2')"});
    }

    void addBill(const std::string& billId, const std::string& chequeId, const std::string& bankDate = "NULL")
    {
        db().execute("INSERT INTO PAY_MASTER (MASTERBILLID, PAGE_ID, BANK_DATE) VALUES (" + db::quote(billId) + ", " +
                     db::quote(chequeId) + ", " + (bankDate == "NULL" ? bankDate : db::quote(bankDate)) + ")");
    }

    // The bill's stamp; "<null>" when it has none.
    std::string bankDate(const std::string& billId)
    {
        const db::RecordSet rows =
            db().query("SELECT BANK_DATE FROM PAY_MASTER WHERE MASTERBILLID = " + db::quote(billId));
        return rows.isNull(0, 0) ? "<null>" : rows.text(0, 0);
    }

    bool relationExists(const std::string& name)
    {
        return !name.empty() &&
               !db().query("SELECT RDB$RELATION_NAME FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = " + db::quote(name))
                    .isEmpty();
    }

    static cheque::ListConditions range(const std::string& from, const std::string& to, const std::string& account = {},
                                        cheque::DateColumn column = cheque::DateColumn::Due,
                                        cheque::SortOrder order = cheque::SortOrder::ChequeNumber)
    {
        return cheque::ListConditions{column, from, to, account, order};
    }

    static cheque::IssueOptions issueOn(const std::string& date,
                                        cheque::SortOrder order = cheque::SortOrder::ChequeNumber,
                                        cheque::ChequeForm form = cheque::ChequeForm::One)
    {
        return cheque::IssueOptions{date, cheque::PrintOptions{form, order, text::big5("大統百貨")}};
    }

    std::vector<std::string> column(const db::RecordSet& records, const std::string& name) const
    {
        std::vector<std::string> values;
        for (std::size_t row = 0; row < records.rowCount(); ++row)
            values.push_back(records.text(row, name));
        return values;
    }

    void tick(const std::string& id)
    {
        for (std::size_t row = 0; row < grid.rowCount(); ++row)
            if (grid.text(row, "ID") == id)
                grid.setText(row, "CHKED", "Y");
    }
};

} // namespace cheque_testing
