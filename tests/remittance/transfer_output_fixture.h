#pragma once
// A remittance run at the point where the output routine takes over: the stores, the work
// tables of a condition confirm, WorkTableC filled with the bills just remitted, a report
// folder with the stand-in report library and a bank folder.
#include "db/sql.h"
#include "platform/paths.h"
#include "remittance/output_routine.h"
#include "remittance/transfer_files.h"
#include "remittance/work_table_layout.h"
#include "report/bridge.h"
#include "support/recording.h"
#include "support/report_capture.h"
#include "support/test_database.h"
#include "text/big5.h"
#include "text/numbers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace remittance_tests {

using testing_support::RecordingMessages;
using testing_support::RecordingProgress;
using testing_support::TempFolder;
using testing_support::TestDatabase;

// One remitted bill, as the stamping copied it into WorkTableC (texts Big5).
struct Bill {
    std::string billId = "B001";
    std::string providerId = "P001";
    std::string providerName = "Provider";
    std::string billDate = "2016/02/10";
    std::string billYm = "2016/02";
    std::optional<std::string> bankId = std::string("0170012");
    std::string bankName = "Bank";
    std::string bankTitle = "Holder";
    std::string bankAccId = "12345";
    std::optional<double> amt2 = 1000.0;
    std::string storeId = "01";
    std::string bankDate = "2016/02/29";
    std::string acntId = "A1";
    std::string pBankId = "0170001";
    std::string pAcntName = "Payer";
    std::string conPeople = "CP";
};

inline std::string sqlText(const std::optional<std::string>& value)
{
    return value ? db::quote(*value) : "NULL";
}

inline std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

inline bool waitForFile(const std::string& path, std::chrono::milliseconds bound = std::chrono::seconds(10))
{
    const auto until = std::chrono::steady_clock::now() + bound;
    while (std::chrono::steady_clock::now() < until) {
        if (std::filesystem::exists(path))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return std::filesystem::exists(path);
}

class OutputFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        testing_support::installFakeReportLibrary(exe.path());
        useStores({{"01", "Store One"}, {"02", "Store Two"}});
    }

    // Replaces SLAVE_ITEM and makes the work tables of a new condition confirm for it.
    void useStores(const std::vector<std::pair<std::string, std::string>>& stores)
    {
        db().execute("DELETE FROM SLAVE_ITEM");
        for (const auto& [id, name] : stores)
            db().execute("INSERT INTO SLAVE_ITEM (STORE_ID, STORE_NAME) VALUES (" + db::quote(id) + ", " +
                         db::quote(name) + ")");
        tables.prologue(progress, true);
        const auto& names = tables.names();
        db().execute(remittance::createTable(names.tableA, remittance::billColumns()));
        db().execute(remittance::createTable(names.tableC, remittance::billColumns()));
        db().execute(
            remittance::createTable(names.tableD, remittance::summaryColumns(static_cast<int>(stores.size()))));
        grid = db().query("SELECT * FROM " + names.tableA);
    }

    void addBill(const Bill& b, const std::string& table = {})
    {
        const std::string target = table.empty() ? tables.names().tableC : table;
        db().execute(db::SqlLines{
            "INSERT INTO " + target + " (MASTERBILLID, PROVIDER_ID, PROVIDER_NAME, BILL_DATE, BILL_YM, BANK_ID,",
            " BANK_NAME, BANK_TITLE, BANK_ACCID, AMT2, AMT, ACNT_AMT, STORE_ID, BANK_DATE, ACNT_ID, P_BANK_ID,",
            " P_ACNT_NAME, CON_PEOPLE, BANK_ID2, P_BANK_ID2)",
            "VALUES (" + db::quote(b.billId) + ", " + db::quote(b.providerId) + ", " + db::quote(b.providerName) +
                ", " + db::quote(b.billDate) + ", " + db::quote(b.billYm) + ", " + sqlText(b.bankId) + ",",
            " " + db::quote(b.bankName) + ", " + db::quote(b.bankTitle) + ", " + db::quote(b.bankAccId) + ", " +
                (b.amt2 ? text::formatPlain(*b.amt2) : "NULL") + ", 0, 0, " + db::quote(b.storeId) + ", " +
                db::quote(b.bankDate) + ", " + db::quote(b.acntId) + ", " + db::quote(b.pBankId) + ",",
            " " + db::quote(b.pAcntName) + ", " + db::quote(b.conPeople) + ", " +
                (b.bankId ? db::quote(b.bankId->substr(0, 3)) : "''") + ", " + db::quote(b.pBankId.substr(0, 3)) +
                ")"});
    }

    // The tab as a clerk leaves it: files on, both names, the bank folder, dates.
    remittance::OutputControls controls() const
    {
        remittance::OutputControls c;
        c.makeTransferFiles = true;
        c.bankPath = bank.path();
        c.interBankFileName = "ABC";
        c.sameBankFileName = "DEF";
        c.fromDateText = "2016/02/01";
        c.toDateText = "2016/02/29";
        c.remittanceDateText = "2016/02/29";
        c.reportBankGroup = 0;
        c.books = 1;
        c.storeComboText = "";
        c.reportTitle = text::big5("測試公司");
        return c;
    }

    // The files of WorkTableC as the press builds them, laid straight into the bank folder
    // (these tests look at their records and names, not at how the press delivers them),
    // the batch files started, then the output routine's report.
    void run(const remittance::OutputControls& c)
    {
        const remittance::OutputDates dates = remittance::readOutputDates(c);
        std::string rocDate;
        if (c.makeTransferFiles) {
            const remittance::TransferFiles files =
                remittance::buildTransferFiles(db(), tables.names().tableC,
                                               {.bankPath = c.bankPath,
                                                .defaultBankFolder = platform::defaultBankFolder(),
                                                .interBankFileName = c.interBankFileName,
                                                .sameBankFileName = c.sameBankFileName,
                                                .remittanceDate = dates.remittanceDate});
            std::vector<std::string> batchFiles;
            for (const remittance::TransferFile& file : files.files) {
                if (file.records > 0)
                    std::ofstream(files.folder + file.name, std::ios::binary) << file.content;
                batchFiles.push_back(file.batchFile);
            }
            remittance::startBatchFiles(batchFiles, c.bankPath);
            rocDate = files.rocDate;
        }
        remittance::runRemittanceOutput({.controls = c,
                                         .database = db(),
                                         .workTables = tables,
                                         .progress = progress,
                                         .messages = messages,
                                         .reports = bridge,
                                         .grid = grid},
                                        rocDate);
    }

    bool tableExists(const std::string& name)
    {
        return !db().lookup("SELECT RDB$RELATION_NAME FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = " + db::quote(name))
                    .empty();
    }

    std::vector<testing_support::HandedReport> reports() { return testing_support::handedReports(exe.path()); }

    db::Connection& db() { return database.connection(); }

    TestDatabase database;
    TempFolder exe;  // the executable folder of the report hand-over
    TempFolder bank; // the bank folder
    RecordingProgress progress;
    RecordingMessages messages;
    work::WorkTables tables{database.connection(), "_T", report::handOverFiles(exe.path())};
    report::Bridge bridge{exe.path()};
    db::RecordSet grid; // ClientDataSet11
};

} // namespace remittance_tests
