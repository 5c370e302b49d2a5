#pragma once
// One clerk's workstation on the shared books: its own attachment, its own work tables named
// with its connection suffix, its own executable folder with the stand-in report library, its
// own bank folder, progress display and message boxes, as the window gives a running program.
#include "db/connection.h"
#include "db/sql.h"
#include "remittance/condition_confirm.h"
#include "remittance/listed_run.h"
#include "remittance/output_routine.h"
#include "remittance/remit.h"
#include "remittance/remittance_desk.h"
#include "report/bridge.h"
#include "support/recording.h"
#include "support/report_capture.h"
#include "support/test_database.h"
#include "text/big5.h"
#include "work/work_tables.h"

#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace server_tests {

using testing_support::RecordingMessages;
using testing_support::RecordingProgress;
using testing_support::TempFolder;
using testing_support::TestDatabase;

// The account every case pays from; its export-file name gives the inter-bank file "ABC.TXT".
inline const char* const kAccount = "A1";
inline const char* const kInterBankFile = "ABC.TXT";

inline std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

class Workstation {
public:
    // `clock` fixes the time of day the work-table names are formed from ("" for the real one).
    explicit Workstation(const TestDatabase& books, const std::string& clock = {})
        : Workstation(books.connectAgain(), clock)
    {
    }
    // A workstation on a connection of its own, e.g. a clerk's with the clerk's role.
    explicit Workstation(std::unique_ptr<db::Connection> connection, const std::string& clock = {})
        : connection_(std::move(connection)),
          tables(*connection_, work::connectionSuffix(connection_->connectionId()), report::handOverFiles(exe.path())),
          reports(exe.path()), desk{*connection_, tables, progress, messages, grid, run, reports}
    {
        if (!clock.empty())
            tables.setClock([clock] { return clock; });
        testing_support::installFakeReportLibrary(exe.path());
    }

    db::Connection& database() { return *connection_; }

    // A condition confirm over the January 2024 bills of the account, own books; unremitted
    // ones unless another state is asked for.
    void confirm(remittance::RemittanceState state = remittance::RemittanceState::NotRemitted)
    {
        remittance::ConfirmConditions c;
        c.state = state;
        c.fromDateText = "2024/01/01";
        c.toDateText = "2024/01/31";
        c.accountComboText = text::big5(std::string(kAccount) + ",總公司帳戶");
        remittance::confirmRemittance(desk, c, {});
    }

    remittance::OutputControls outputControls(const std::string& date) const
    {
        remittance::OutputControls c;
        c.makeTransferFiles = true;
        c.bankPath = bankPath;
        c.interBankFileName = "ABC";
        c.sameBankFileName = "DEF";
        c.fromDateText = "2024/01/01";
        c.toDateText = "2024/01/31";
        c.remittanceDateText = date;
        c.reportTitle = text::big5("測試公司");
        return c;
    }

    // "全部匯款" with "產生匯款檔案" ticked: the very press the page runs. The messages of its
    // result are shown as the page shows them.
    remittance::RemitResult remitAll(const std::string& date)
    {
        remittance::RemitResult result = remittance::remit(desk, remittance::RemitScope::AllRows, outputControls(date));
        for (const std::string& message : result.messages())
            messages.inform(message);
        return result;
    }

    // The 175-byte records of the inter-bank file (CR LF removed); none when there is no file.
    std::vector<std::string> transferRecords(const std::string& file = kInterBankFile) const
    {
        std::vector<std::string> records;
        const std::string content = readFile(bankPath + file);
        for (std::size_t at = 0; at + 177 <= content.size(); at += 177)
            records.push_back(content.substr(at, 175));
        return records;
    }

private:
    std::unique_ptr<db::Connection> connection_;

public:
    TempFolder exe;  // the executable folder: report hand-over and the stand-in library
    TempFolder bank; // the bank folder
    std::string bankPath = bank.path();
    work::WorkTables tables;
    RecordingProgress progress;
    RecordingMessages messages;
    db::RecordSet grid; // ClientDataSet11
    remittance::ListedRun run;
    report::Bridge reports;
    remittance::RemittanceDesk desk;
};

// Bills of the shared books: bill i is paid to provider "P<i>", whose account number is i, so
// every transfer record tells which bill it carries.
class SharedBooks {
public:
    explicit SharedBooks(db::Connection& database) : database_(database)
    {
        database_.execute(text::big5("INSERT INTO BANK_ACCOUNT (ACNT_ID, ACNT_NAME, BANK_ID, BANK_NAME, ACNT_NO, "
                                     "EXPORT_FILE, CON_PEOPLE) VALUES ('A1', '總公司帳戶', '0160002', '付款銀行', "
                                     "'998877', 'ABC-DEF', 'CONTACT')"));
    }

    static std::string key(int bill) { return "B" + std::to_string(1000 + bill); }

    // Bills first..last, unremitted, due in January 2024, in one statement.
    void addBills(int first, int last)
    {
        database_.execute(db::SqlLines{
            "EXECUTE BLOCK AS DECLARE I INTEGER = " + std::to_string(first) + "; BEGIN",
            " WHILE (I <= " + std::to_string(last) + ") DO BEGIN",
            "  INSERT INTO PROVIDER (PROVIDER_ID, PROVIDER_NAME, BANK_ID, BANK_NAME, BANK_TITLE, BANK_ACCID, ACNT_AMT)",
            "  VALUES ('P' || :I, 'Provider', '0170001', 'Bank', 'Holder', :I, 0);",
            "  INSERT INTO PAY_MASTER (MASTERBILLID, STORE_ID, BILL_DATE, PAY_DATE, PROVIDER_ID, PROVIDER_NAME,",
            "   ACNT_ID, BANK_DATE, BANK_IO)",
            "  VALUES ('B' || (1000 + :I), '01', '2024/01/10', '2024/01/20', 'P' || :I, 'Provider', 'A1', NULL, 100 + "
            ":I);",
            "  I = I + 1;", " END", "END"});
    }

    // The providers of bills first..last bank at a same-bank (016) branch.
    void bankAtSameBank(int first, int last)
    {
        database_.execute(
            "UPDATE PROVIDER SET BANK_ID = '0160001' WHERE CAST(SUBSTRING(PROVIDER_ID FROM 2) AS INTEGER) "
            "BETWEEN " +
            std::to_string(first) + " AND " + std::to_string(last));
    }

    // Bill number -> BANK_DATE of every bill that carries a stamp.
    std::map<int, std::string> stamped()
    {
        const db::RecordSet rows = database_.query(
            "SELECT MASTERBILLID, BANK_DATE FROM PAY_MASTER WHERE BANK_DATE IS NOT NULL AND STRLEN(BANK_DATE) > 0");
        std::map<int, std::string> bills;
        for (std::size_t r = 0; r < rows.rowCount(); ++r)
            bills[std::stoi(rows.text(r, 0).substr(1)) - 1000] = rows.text(r, 1);
        return bills;
    }

    // The bill a transfer record carries: its provider's account number.
    static int billOf(const std::string& record) { return static_cast<int>(std::stoll(record.substr(27, 14))); }
    // The ROC date field of a record ("130201" for 2024/02/01).
    static std::string dateOf(const std::string& record) { return record.substr(0, 6); }

private:
    db::Connection& database_;
};

} // namespace server_tests
