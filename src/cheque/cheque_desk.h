#pragma once
// The cheque tab's work: list the cheques of a range into the work tables and the grid,
// issue them (stamp the bills they pay and collect them for the print), clear issue stamps,
// and print the issued cheques through the report library.
#include "cheque/cheque_options.h"
#include "cheque/issue_result.h"
#include "work/run_stamp.h"
#include "db/connection.h"
#include "db/record_set.h"
#include "report/bridge.h"
#include "work/messages.h"
#include "work/progress.h"
#include "work/work_tables.h"

namespace cheque {

class ChequeDesk {
public:
    // `grid` is the record set the tab's grid shows.
    ChequeDesk(db::Connection& database, work::WorkTables& tables, work::ProgressDisplay& progress,
               work::Messages& messages, report::Bridge& reports, db::RecordSet& grid);

    // "條件確認": lists the cheques of the conditions.
    void confirm(const ListConditions& conditions);
    // The issue press, "全部開票" and "選擇性開票":
    // cheques the list shows as issued are issued again only after a Yes with a reason; the
    // bills of each cheque still as listed get the issue date and the cheque goes to the issued
    // table, all in one transaction with the press's journal run, waiting a few seconds at most
    // for another workstation; from that commit the list is used up; then the issued cheques
    // are handed to the print.
    // A used-up list pressed again prints its cheques again (after a Yes), never issues them.
    // A failed print hand-over is in the result, with the committed issue.
    IssueResult issue(IssueScope scope, const IssueOptions& options);
    IssueResult issueAll(const IssueOptions& options) { return issue(IssueScope::AllRows, options); }
    IssueResult issueTicked(const IssueOptions& options) { return issue(IssueScope::TickedRows, options); }
    // "匯款日清空": takes the issue stamp off the ticked cheques' bills, in one
    // transaction with its journal run. Returns the journal's notice ("" unless its tables had
    // to be created).
    std::string clearTicked();
    // "支票作廢": the ticked issued cheques, after the clerk gives a reason, go back to their
    // bills' stamps from before the issue, in one transaction with the void run's journal;
    // from then on they are never issued or printed again. Cheques whose bills changed since
    // the list was made are left out and named.
    VoidResult voidTicked();
    // "補印" from the payment journal: the cheque issue list of journalled cheque run `runId`
    // (its cheques as the books hold them now, voided ones left out), every page marked 補印
    // with that run's date and number; the reprint is journalled as a run of its own. It
    // ends whatever list the tab had, as every print does. Throws text::UserError when the
    // run is not a cheque issue or none of its cheques can be printed.
    ReprintResult reprintRun(long long runId, const std::string& reportTitle);

    // The grid shows the list of the latest condition confirm and its tables still exist.
    bool listIsCurrent();
    // The list's stamps committed: pressing again reprints, never issues.
    bool listIsUsedUp() const { return usedUp_; }

private:
    // Shows "請重新 條件確認...... " and returns false when the list is not current.
    bool requireCurrentList();
    std::vector<ChequeState> chosenCheques(IssueScope scope) const;
    // Stamps and collects the cheques still as listed, in one bounded transaction with the
    // journal's rows of the run; afterwards the list is used up.
    void claim(const std::vector<ChequeState>& cheques, const std::vector<ChequeState>& issuedBefore,
               const std::string& issueDate, IssueResult& result);
    // The journal's tables, created when the database predates them; the clerk's notice.
    std::string journalReady();
    IssueResult reprintUsedUpList(const PrintOptions& options);
    void fillRocColumns(const db::RecordSet& listed);
    // `mark` (Big5) goes on every page of the list a reprint from the journal prints.
    void printIssued(const PrintOptions& options, const std::string& mark = {});
    // The print hand-over after the commit; its failure goes into the result.
    void handOverPrint(const PrintOptions& options, IssueResult& result);
    bool ticked(std::size_t row) const;

    db::Connection& database_;
    work::WorkTables& tables_;
    work::ProgressDisplay& progress_;
    work::Messages& messages_;
    report::Bridge& reports_;
    db::RecordSet& grid_;
    work::RunStamp listed_; // the listed and issued tables of the condition confirm on screen
    std::string listedConditions_; // the list's conditions as the journal records them
    bool usedUp_ = false;
    std::size_t usedUpCount_ = 0;
};

} // namespace cheque
