// The printing routine: the issued cheques in the chosen order, the header with the numeral
// characters, handed to the report library; the run ends with the grid closed and the work
// tables dropped.
#include "cheque/cheque_desk.h"

#include "cheque/cheque_header.h"
#include "cheque/cheque_table.h"
#include "journal/payment_journal.h"
#include "text/big5.h"
#include "text/error.h"

namespace cheque {

void ChequeDesk::printIssued(const PrintOptions& options, const std::string& mark)
{
    const db::RecordSet issued = database_.query(
        db::SqlLines{"SELECT *  FROM " + tables_.names().tableC,
                     // A voided cheque is never printed as valid again, whichever list holds it.
                     "WHERE NOT " + journal::chequeVoided(tables_.names().tableC + ".ID"),
                     orderByLine(options.order)});
    work::progressMessage(progress_, 3, text::big5("暫存資料建置中..."));

    report::ReportRequest request;
    request.templateFile = templateFile(options.form);
    request.data = &issued;
    request.headerFieldCount = kHeaderFieldCount;
    request.header = chequeHeader(options.reportTitle);
    request.header["Field0"] = mark;
    work::progressMessage(progress_, 4, text::big5("報表模組載入中..."));

    progress_.setGauge(5, progress_.gaugeMaximum());
    reports_.launch(request, grid_, tables_);
    listed_.clear();
    usedUp_ = false;
}

void ChequeDesk::handOverPrint(const PrintOptions& options, IssueResult& result)
{
    // Once the stamps have committed, a print that cannot be handed over does not undo the
    // issue: it is part of what the press did and goes back with the rest of the result, so
    // the clerk learns both. The list stays used up; pressing again prints it again.
    try {
        printIssued(options);
    } catch (const text::UserError& failure) {
        result.printFailure = failure.what();
        result.printFailureCause = failure.cause();
        result.canReprint = usedUp_ && grid_.isOpen();
    }
}

} // namespace cheque
