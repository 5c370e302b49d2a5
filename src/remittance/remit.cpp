#include "remittance/remit.h"

#include "report/scope_exit.h"

#include "remittance/bill_stamping.h"
#include "remittance/key_lists.h"
#include "remittance/transfer_record_check.h"
#include "remittance/work_table_layout.h"
#include "text/big5.h"
#include "text/dates.h"
#include "work/press_transaction.h"

#include <set>

namespace remittance {

namespace {

std::vector<std::size_t> rowsToRemit(const db::RecordSet& grid, RemitScope scope)
{
    std::vector<std::size_t> rows;
    const std::size_t checked = grid.fieldIndex("CHKED");
    for (std::size_t r = 0; r < grid.rowCount(); ++r)
        if (scope == RemitScope::AllRows || grid.text(r, checked) == "Y")
            rows.push_back(r);
    return rows;
}

std::vector<RefusedRow> rowsNoTransferCanCarry(const db::RecordSet& grid, const std::vector<std::size_t>& rows)
{
    std::vector<RefusedRow> refused;
    for (const std::size_t r : rows) {
        TransferValues values;
        values.bankId = grid.text(r, "BANK_ID");
        values.accountNo = grid.text(r, "BANK_ACCID");
        values.accountHolder = grid.text(r, "BANK_TITLE");
        values.amount = grid.number(r, "AMT2");
        std::vector<std::string> problems = transferRecordProblems(values);
        if (!problems.empty())
            refused.push_back({grid.text(r, "PROVIDER_ID"), grid.text(r, "MASTERBILLID"), std::move(problems)});
    }
    return refused;
}

std::string leftOutMessage(const db::RecordSet& grid, const std::vector<std::size_t>& rows,
                           const std::vector<std::string>& leftOut)
{
    const std::set<std::string> keys(leftOut.begin(), leftOut.end());
    std::string message = "下列單據已由他人匯款,本次未再匯款,也未列入匯款檔及報表:";
    for (const std::size_t r : rows) {
        const std::string key = grid.text(r, "MASTERBILLID");
        if (keys.count(key))
            message += "\n廠商 " + text::big5ToUtf8(grid.text(r, "PROVIDER_ID")) + " 單據 " + text::big5ToUtf8(key);
    }
    return message;
}

} // namespace

void remit(RemittanceDesk& desk, RemitScope scope, const RemitOptions& options,
           const std::function<void()>& outputRoutine)
{
    const std::string date = text::dateStringFromEdit(options.remittanceDateText);
    const work::WorkNames names = desk.workTables.names();
    if (!desk.run.inStep(desk.database, desk.grid, names) || desk.run.books() != options.books) {
        desk.messages.inform(kConfirmAgain);
        return;
    }

    const std::vector<std::size_t> rows = rowsToRemit(desk.grid, scope);
    if (options.stampBooks) {
        const std::vector<RefusedRow> refused = rowsNoTransferCanCarry(desk.grid, rows);
        if (!refused.empty()) {
            desk.messages.inform(refusedRowsMessage(refused));
            return;
        }
    }

    std::vector<std::string> keys;
    if (scope == RemitScope::TickedRows)
        for (const std::size_t r : rows)
            keys.push_back(desk.grid.text(r, "MASTERBILLID"));

    db::Transaction transaction(desk.database, work::pressTransactionOptions());
    std::vector<std::string> leftOut;
    if (options.stampBooks) {
        StampRequest stamp;
        stamp.tableA = names.tableA;
        stamp.remittanceDate = date;
        stamp.books = options.books;
        stamp.onlyUnstamped = desk.run.state() == RemittanceState::NotRemitted;
        stamp.allRows = scope == RemitScope::AllRows;
        stamp.keys = keys;
        leftOut = stampBills(transaction, stamp);
    }
    if (scope == RemitScope::AllRows) {
        const std::vector<std::string> exclusion = excludingKeys("MASTERBILLID", leftOut, "WHERE");
        if (options.stampBooks) {
            db::SqlLines update{"UPDATE " + names.tableA + "  SET ", "BANK_DATE = " + db::quote(date)};
            for (const std::string& line : exclusion)
                update << line;
            transaction.execute(update);
        }
        transaction.execute(copyBillRows(names.tableA, names.tableC, {}, exclusion));
    } else {
        // Ticked rows reach WorkTableC carrying the remittance date, stamped or not.
        for (const std::string& list : quotedKeyLists(keys)) {
            std::vector<std::string> conditions = {"WHERE MASTERBILLID IN (" + list + ") "};
            for (std::string& line : excludingKeys("MASTERBILLID", leftOut, "AND"))
                conditions.push_back(std::move(line));
            transaction.execute(copyBillRows(names.tableA, names.tableC, date, conditions));
        }
    }
    bool committed = false;
    {
        report::ScopeExit undoOutside([&] {
            if (!committed && options.afterRollback)
                options.afterRollback();
        });
        if (options.beforeCommit)
            options.beforeCommit(transaction);
        transaction.commit();
        committed = true;
    }
    // The grid has been remitted: a second press must not stamp or copy it again.
    desk.run.forget();

    if (!leftOut.empty())
        desk.messages.inform(leftOutMessage(desk.grid, rows, leftOut));
    if (outputRoutine)
        outputRoutine();
}

} // namespace remittance
