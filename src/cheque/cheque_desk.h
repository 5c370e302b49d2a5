#pragma once
// The cheque tab's work: list the cheques of a range into the work tables and the grid,
// issue them (stamp the bills they pay and collect them for the print), clear issue stamps,
// void issued cheques, and print the issued cheques through the report library. Free
// functions over the tab's desk, as on the other tabs.
#include "cheque/cheque_options.h"
#include "cheque/issue_result.h"
#include "db/connection.h"
#include "db/record_set.h"
#include "report/bridge.h"
#include "work/messages.h"
#include "work/progress.h"
#include "work/run_stamp.h"
#include "work/work_tables.h"

#include <cstddef>
#include <string>

namespace cheque {

// What the cheque grid on screen was listed from.
struct ListedCheques {
    work::RunStamp stamp;   // the listed and issued tables of the condition confirm on screen
    std::string conditions; // the list's conditions as the journal records them (Big5)
    bool usedUp = false;    // its stamps committed: pressing again reprints, never issues
    std::size_t usedUpCount = 0;
};

// The collaborators every cheque press works with, handed in by the page, and the list on
// screen.
struct ChequeDesk {
    db::Connection& database;
    work::WorkTables& workTables;
    work::ProgressDisplay& progress;
    work::Messages& messages;
    report::Bridge& reports;
    db::RecordSet& grid; // what the cheque grid shows
    ListedCheques list = {};
};

// "條件確認": lists the cheques of the conditions.
void confirm(ChequeDesk& desk, const ListConditions& conditions);
// The issue press, "全部開票" and "選擇性開票": cheques the list shows as issued are issued
// again only after a Yes with a reason; the bills of each cheque still as listed get the issue
// date and the cheque goes to the issued table, all in one transaction with the press's
// journal run, waiting a few seconds at most for another workstation; from that commit the
// list is used up; then the issued cheques are handed to the print.
// A used-up list pressed again prints its cheques again (after a Yes), never issues them.
// A failed print hand-over is in the result, with the committed issue.
IssueResult issue(ChequeDesk& desk, IssueScope scope, const IssueOptions& options);
inline IssueResult issueAll(ChequeDesk& desk, const IssueOptions& options)
{
    return issue(desk, IssueScope::AllRows, options);
}
inline IssueResult issueTicked(ChequeDesk& desk, const IssueOptions& options)
{
    return issue(desk, IssueScope::TickedRows, options);
}
// "匯款日清空": takes the issue stamp off the ticked cheques' bills, in one transaction with
// its journal run. Returns the journal's notice ("" unless its tables had to be created).
std::string clearTicked(ChequeDesk& desk);
// "支票作廢": the ticked issued cheques, after the clerk gives a reason, go back to their
// bills' stamps from before the issue, in one transaction with the void run's journal;
// from then on they are never issued or printed again. Cheques whose bills changed since
// the list was made are left out and named.
VoidResult voidTicked(ChequeDesk& desk);
// "補印" from the payment journal: the cheque issue list of journalled cheque run `runId`
// (its cheques as the books hold them now, voided ones left out), every page marked 補印
// with that run's date and number; the reprint is journalled as a run of its own. It
// ends whatever list the tab had, as every print does. Throws text::UserError when the
// run is not a cheque issue or none of its cheques can be printed.
ReprintResult reprintRun(ChequeDesk& desk, long long runId, const std::string& reportTitle);

// The grid shows the list of the latest condition confirm and its tables still exist.
bool listIsCurrent(ChequeDesk& desk);
// The list's stamps committed: pressing again reprints, never issues.
inline bool listIsUsedUp(const ChequeDesk& desk)
{
    return desk.list.usedUp;
}

} // namespace cheque
