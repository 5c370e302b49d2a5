#include "remittance/list_reprint.h"

#include "journal/file_delivery.h"
#include "journal/payment_journal.h"
#include "remittance/condition_confirm.h"
#include "remittance/remittance_report.h"
#include "remittance/selection_sql.h"
#include "remittance/work_table_layout.h"
#include "text/big5.h"
#include "text/error.h"
#include "work/press_transaction.h"

#include <regex>

namespace remittance {

ListReprint reprintRemittanceList(RemittanceDesk& desk, long long runId, const OutputControls& tab)
{
    const std::string run = std::to_string(runId);
    const db::RecordSet original =
        desk.database.query("SELECT KIND, BOOKS, RUN_DATE, CONDITIONS FROM PAY_RUN WHERE RUN_ID = " + run);
    if (original.isEmpty() || original.text(0, 0) != journal::kindName(journal::RunKind::Remit))
        throw text::UserError("付款紀錄 " + run + " 不是匯款紀錄,沒有匯款明細表可補印");
    Selection selection;
    selection.books = original.text(0, 1) == booksTable(Books::Joint) ? Books::Joint : Books::OwnStore;
    selection.journalRun = runId;
    const std::string remittanceDate = original.text(0, 2);

    desk.run.forget();
    desk.workTables.prologue(desk.progress, true);
    const work::WorkNames& names = desk.workTables.names();
    desk.database.execute(createTable(names.tableA, billColumns()));
    desk.database.execute(createTable(names.tableC, billColumns()));
    desk.database.execute(createTable(names.tableD, summaryColumns(listStoreGroups(desk.database, selection.books))));

    ListReprint result;
    {
        db::Transaction fill(desk.database);
        result.bills = static_cast<std::size_t>(fill.execute(fillBillTable(names.tableA, selection)));
        // Each bill with the stamp this run gave it, whatever became of it since.
        fill.execute("UPDATE " + names.tableA +
                     " W SET BANK_DATE = (SELECT FIRST 1 B.STAMP_AFTER FROM PAY_RUN_BILL B "
                     "WHERE B.RUN_ID = " +
                     run + " AND B.BOOK = '" + booksTable(selection.books) + "' AND B.BILL_KEY = W.MASTERBILLID)");
        fill.execute(copyBillRows(names.tableA, names.tableC, {}, {}));
        fill.commit();
    }
    if (result.bills == 0) {
        desk.workTables.dropAll();
        throw text::UserError("付款紀錄 " + run + " 的單據已不在帳冊中,沒有可補印的匯款明細表");
    }

    result.journalNotice = journal::prepareJournal(desk.database, {});
    result.runId = journal::newRunId(desk.database);
    {
        db::Transaction transaction(desk.database, work::pressTransactionOptions());
        journal::RunEntry entry;
        entry.kind = journal::RunKind::Reprint;
        entry.books = booksTable(selection.books);
        entry.runDate = remittanceDate;
        entry.reason = text::big5("補印付款紀錄 ") + run;
        journal::recordRun(transaction, result.runId, entry, 0);
        transaction.commit();
    }

    // The list's heading shows the date range the run was listed with.
    RemittanceReportInput input;
    std::smatch range;
    const std::string conditions = original.text(0, 3);
    if (std::regex_search(conditions, range,
                          std::regex(R"(([0-9]{4}/[0-9]{2}/[0-9]{2})~([0-9]{4}/[0-9]{2}/[0-9]{2}))"))) {
        input.fromDate = range[1].str();
        input.toDate = range[2].str();
    }
    input.fallbackReportDate = remittanceDate;
    input.reprintMark = text::big5("補印 原匯款日 ") + remittanceDate + text::big5(" 付款紀錄 ") + run;
    OutputControls controls = tab;
    controls.books = selection.books == Books::Joint ? 1 : 0;
    controls.storeComboText.clear();
    runRemittanceReport(outputRequest(desk, controls), input);
    return result;
}

} // namespace remittance
