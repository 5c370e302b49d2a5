// The printing routine: the issued cheques in the chosen order, the header with the numeral
// characters, handed to the report library; the run ends with the grid closed and the work
// tables dropped.
#include "cheque/desk_steps.h"

#include "cheque/cheque_header.h"
#include "cheque/cheque_table.h"
#include "journal/payment_journal.h"
#include "text/big5.h"
#include "text/error.h"

namespace cheque {

void printIssued(ChequeDesk& desk, const PrintOptions& options, const std::string& mark)
{
    const db::RecordSet issued = desk.database.query(db::SqlLines{
        "SELECT *  FROM " + desk.workTables.names().tableC,
        // A voided cheque is never printed as valid again, whichever list holds it.
        "WHERE NOT " + journal::chequeVoided(desk.workTables.names().tableC + ".ID"), orderByLine(options.order)});
    work::progressMessage(desk.progress, 3, text::big5("暫存資料建置中..."));

    report::ReportRequest request;
    request.templateFile = templateFile(options.form);
    request.data = &issued;
    request.headerFieldCount = kHeaderFieldCount;
    request.header = chequeHeader(options.reportTitle);
    request.header["Field0"] = mark;
    work::progressMessage(desk.progress, 4, text::big5("報表模組載入中..."));

    desk.progress.setGauge(5, desk.progress.gaugeMaximum());
    desk.reports.launch(request, desk.grid, desk.workTables);
    desk.list.stamp.clear();
    desk.list.usedUp = false;
}

void handOverPrint(ChequeDesk& desk, const PrintOptions& options, IssueResult& result)
{
    // Once the stamps have committed, a print that cannot be handed over does not undo the
    // issue: it is part of what the press did and goes back with the rest of the result, so
    // the clerk learns both. The list stays used up; pressing again prints it again.
    try {
        printIssued(desk, options);
    } catch (const text::UserError& failure) {
        result.printFailure = failure.what();
        result.printFailureCause = failure.cause();
        result.canReprint = desk.list.usedUp && desk.grid.isOpen();
    }
}

} // namespace cheque
