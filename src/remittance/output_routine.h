#pragma once
// The remittance output routine: the last step of every remit press.
// The press has written the bank transfer files of the bills just remitted (WorkTableC) and
// started the bank's batch files; the routine builds the remittance list per provider, month
// and store in WorkTableD, and hands it to the report library. When the report closes (or cannot be
// shown) the remittance grid is closed and every work table is dropped: the run is over.
#include "db/connection.h"
#include "db/record_set.h"
#include "report/bridge.h"
#include "work/messages.h"
#include "work/progress.h"
#include "work/work_tables.h"

#include <string>

namespace remittance {

// What the routine reads from the remittance tab and the window, as the page found it.
// Texts are Big5 bytes exactly as typed or shown, except the folder and file names, which are
// in the file system's own encoding; date texts are the raw edit texts.
struct OutputControls {
    bool makeTransferFiles = true;  // "產生匯款檔案"
    std::string bankPath;           // "路徑檔名": the bank folder, joined as typed
    std::string interBankFileName;  // base name of the inter-bank file
    std::string sameBankFileName;   // base name of the same-bank (016) file
    std::string fromDateText;       // start of the date range
    std::string toDateText;         // end of the date range
    std::string remittanceDateText; // "匯款日期"
    int reportBankGroup = 0;        // 0 "跨 銀 行", 1 "本 銀 行"
    int books = 0;                  // 0 "本店匯款", 1 "聯合匯款"
    std::string storeComboText;     // the whole text of the store combo
    std::string reportTitle;        // ReportTitle of the window (PUB_PARAM)
};

// The controls and the collaborators of one call.
struct OutputRequest {
    OutputControls controls;
    db::Connection& database;
    work::WorkTables& workTables;    // names of WorkTableC/WorkTableD; dropped at the end
    work::ProgressDisplay& progress; // the tab's gauge and status memo
    work::Messages& messages;
    report::Bridge& reports;
    db::RecordSet& grid; // what the remittance grid shows: closed at the end
};

// The dates of the routine, all read before anything is written, so a mistyped one stops it
// with nothing changed (the invalid-date message).
struct OutputDates {
    std::string fromDate, toDate, remittanceDate;
};
OutputDates readOutputDates(const OutputControls& controls);

// The report half of the routine, run by the remit press once its stamps are committed and
// its files are in place (`rocDate`: the records' date, "" when no file was written). The
// transfer files are written only by the press, which journals them (remit_press.h).
// Throws text::UserError (a failing statement, "Unable to Load DLL"). Errors before the
// report library is loaded leave the grid and the work tables as they were; from the
// library load on they are closed and dropped whatever happens.
void runRemittanceOutput(const OutputRequest& request, const std::string& rocDate = {});

} // namespace remittance
