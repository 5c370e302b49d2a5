// Printing a journalled cheque run again: its cheques from the books into the work tables,
// marked 補印 with the run's date and number, printed as the cheque issue list (格式二), and
// the reprint journalled.
#include "cheque/desk_steps.h"

#include "cheque/cheque_table.h"
#include "cheque/issue_state.h"
#include "db/sql.h"
#include "journal/file_delivery.h"
#include "journal/payment_journal.h"
#include "text/big5.h"
#include "text/error.h"
#include "work/press_transaction.h"

namespace cheque {

ReprintResult reprintRun(ChequeDesk& desk, long long runId, const std::string& reportTitle)
{
    const std::string run = std::to_string(runId);
    const db::RecordSet original = desk.database.query("SELECT KIND, RUN_DATE FROM PAY_RUN WHERE RUN_ID = " + run);
    if (original.isEmpty() || original.text(0, 0) != journal::kindName(journal::RunKind::ChequeIssue))
        throw text::UserError("付款紀錄 " + run + " 不是開票紀錄,沒有支票可補印");
    const std::string issueDate = original.text(0, 1);

    ReprintResult result;
    const db::RecordSet voided =
        desk.database.query("SELECT DISTINCT C.CHEQUE_ID FROM PAY_RUN_CHEQUE C WHERE C.RUN_ID = " + run + " AND " +
                            journal::chequeVoided("C.CHEQUE_ID") + " ORDER BY C.CHEQUE_ID");
    for (std::size_t r = 0; r < voided.rowCount(); ++r)
        result.voided.push_back(voided.text(r, 0));

    // The run's cheques as the books hold them, into the tables a list would have.
    desk.list.stamp.clear();
    desk.list.usedUp = false;
    desk.workTables.prologue(desk.progress, false);
    const work::WorkNames& names = desk.workTables.names();
    desk.database.execute(createListedTable(names.tableA));
    desk.database.execute(createIssuedTable(names.tableC));
    db::SqlLines copy = copyFromChequeBook(names.tableA);
    copy << "  WHERE ID IN (SELECT CHEQUE_ID FROM PAY_RUN_CHEQUE WHERE RUN_ID = " + run + ")";
    copy << "  AND NOT " + journal::chequeVoided("CHKPAY.ID");
    desk.database.execute(copy);
    const db::RecordSet listed = desk.database.query("SELECT * FROM " + names.tableA + " ORDER BY ID");
    if (listed.isEmpty()) {
        desk.workTables.dropAll();
        throw text::UserError("付款紀錄 " + run + " 的支票都已作廢或不在支票資料中,沒有可補印的支票");
    }
    fillRocColumns(desk, listed);
    for (std::size_t r = 0; r < listed.rowCount(); ++r)
        result.printed.push_back(listed.text(r, "ID"));
    desk.database.execute(copyIssuedCheques(names.tableC, names.tableA));
    desk.database.execute("UPDATE " + names.tableC + " SET FLAG = " + db::quote(reissueMark()));

    // The reprint is a run of its own: which cheques went to paper again, and from which run.
    result.journalNotice = journalReady(desk);
    result.runId = journal::newRunId(desk.database);
    {
        db::Transaction transaction(desk.database, work::pressTransactionOptions());
        for (const std::string& id : result.printed)
            transaction.execute(
                "EXECUTE BLOCK AS BEGIN " +
                journal::chequeEntryStatement(result.runId, db::quote(id), db::quote(issueDate), db::quote(issueDate)) +
                "END");
        journal::RunEntry entry;
        entry.kind = journal::RunKind::Reprint;
        entry.books = "PAY_MASTER";
        entry.runDate = issueDate;
        entry.reason = text::big5("補印付款紀錄 ") + run;
        journal::recordRun(transaction, result.runId, entry, 0);
        transaction.commit();
    }

    desk.grid = desk.database.query(listWithIssueState(names.tableA, orderByLine(SortOrder::ChequeNumber)));
    work::checkGridColumns(desk.grid, gridFields());
    PrintOptions options;
    options.form = ChequeForm::Two;
    options.order = SortOrder::ChequeNumber;
    options.reportTitle = reportTitle;
    printIssued(desk, options, text::big5("補印 原開票日 ") + issueDate + text::big5(" 付款紀錄 ") + run);
    return result;
}

} // namespace cheque
