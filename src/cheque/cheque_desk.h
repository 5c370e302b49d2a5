#pragma once
// The cheque tab's work: list the cheques of a range into the work tables and the grid,
// issue them (stamp the bills they pay and collect them for the print), clear issue stamps,
// and print the issued cheques through the report library.
#include "cheque/cheque_options.h"
#include "cheque/list_stamp.h"
#include "db/connection.h"
#include "db/record_set.h"
#include "report/bridge.h"
#include "work/messages.h"
#include "work/progress.h"
#include "work/work_tables.h"

namespace cheque {

class ChequeDesk {
public:
    // `grid` is the record set the tab's grid shows (ClientDataSet21).
    ChequeDesk(db::Connection& database, work::WorkTables& tables, work::ProgressDisplay& progress,
               work::Messages& messages, report::Bridge& reports, db::RecordSet& grid);

    // "條件確認" (bsSkinButton10Click).
    void confirm(const ListConditions& conditions);
    // "全部開票" (bsSkinButton12Click): every listed cheque, then the print.
    void issueAll(const IssueOptions& options);
    // "選擇性開票" (bsSkinButton13Click): the ticked cheques, then the print.
    void issueTicked(const IssueOptions& options);
    // "匯款日清空" (BitBtn2Click): takes the issue stamp off the ticked cheques' bills.
    void clearTicked();
    // The printing routine (SpeedButton5Click): the issued cheques of this run.
    void print(const PrintOptions& options);

    // The grid shows the list of the latest condition confirm and its tables still exist.
    bool listIsCurrent();

private:
    // Shows "請重新 條件確認...... " and returns false when the list is not current.
    bool requireCurrentList();
    void issue(const IssueOptions& options, bool tickedOnly);
    void fillRocColumns(const db::RecordSet& listed);
    void printIssued(const PrintOptions& options);
    bool ticked(std::size_t row) const;

    db::Connection& database_;
    work::WorkTables& tables_;
    work::ProgressDisplay& progress_;
    work::Messages& messages_;
    report::Bridge& reports_;
    db::RecordSet& grid_;
    ListStamp listed_;
};

} // namespace cheque
