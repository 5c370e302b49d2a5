// The condition confirm: the cheques of a range into the work tables, the ROC due-date
// columns, and the grid over them.
#include "cheque/desk_steps.h"

#include "cheque/cheque_table.h"
#include "cheque/issue_state.h"
#include "cheque/roc_due_date.h"
#include "db/sql.h"
#include "text/big5.h"
#include "text/blank.h"
#include "text/combo_key.h"
#include "text/dates.h"

#include <vector>

namespace cheque {
namespace {

db::SqlLines copyCheques(const std::string& table, const std::string& dateColumn, const std::string& start,
                         const std::string& end, const std::string& accountKey)
{
    db::SqlLines sql = copyFromChequeBook(table);
    sql << "  WHERE  " + dateColumn + " BETWEEN " + db::quote(start) + " AND " + db::quote(end);
    if (!text::isBlank(accountKey))
        sql << "  AND  ACNT_ID = " + db::quote(accountKey);
    return sql;
}

} // namespace

void confirm(ChequeDesk& desk, const ListConditions& conditions)
{
    // From here on the rows on screen belong to no list until this run opens the grid anew.
    desk.list.stamp.clear();
    desk.list.usedUp = false;
    const std::string dateColumn = dateColumnName(conditions.dateColumn);
    desk.workTables.prologue(desk.progress, false);
    const std::string start = text::dateStringFromEdit(conditions.startDateText);
    const std::string end = text::dateStringFromEdit(conditions.endDateText);
    const std::string accountKey = text::comboKey(conditions.accountComboText);
    const work::WorkNames& names = desk.workTables.names();
    desk.list.conditions = dateColumn + " " + start + "~" + end + (accountKey.empty() ? "" : " ACNT_ID " + accountKey);

    work::progressMessage(desk.progress, 1, text::big5("檢視資料清除中...."));
    desk.database.execute(createListedTable(names.tableA));
    work::progressLine(desk.progress, 2);
    desk.database.execute(createIssuedTable(names.tableC));
    work::progressLine(desk.progress, 3);
    desk.database.execute(copyCheques(names.tableA, dateColumn, start, end, accountKey));
    work::progressLine(desk.progress, 4);

    const db::RecordSet listed = desk.database.query("SELECT * FROM " + names.tableA);
    // The due date is the third column; a list whose first cheque has none is no list.
    if (listed.isEmpty() || listed.text(0, 2).empty()) {
        desk.messages.inform("無資料...........");
        desk.grid.clear();
        desk.workTables.dropAll();
        return;
    }
    work::progressLine(desk.progress, 5);
    fillRocColumns(desk, listed);

    work::progressLine(desk.progress, 6);
    // The listed table's columns, then each cheque's issue state from its bills' stamps.
    desk.grid = desk.database.query(listWithIssueState(names.tableA, orderByLine(conditions.order)));
    work::checkGridColumns(desk.grid, gridFields());
    work::progressLine(desk.progress, 6, "2");
    desk.list.stamp = work::RunStamp::take(desk.database, names, {names.tableA, names.tableC});
}

void fillRocColumns(ChequeDesk& desk, const db::RecordSet& listed)
{
    struct Update {
        std::string id;
        RocDueDate roc;
    };
    // Every row is read and converted first, in the order the database returned them, so a
    // malformed due date stops the run before any row is written; the writes then go in one
    // transaction. A cheque number listed twice gets the values of the row read last, as the
    // updates run in reading order.
    std::vector<Update> updates;
    const std::size_t idColumn = listed.fieldIndex("ID");
    const std::size_t dueColumn = listed.fieldIndex("EXPDATE");
    for (std::size_t row = 0; row < listed.rowCount(); ++row) {
        const std::string id = listed.text(row, idColumn);
        const std::string due = listed.text(row, dueColumn);
        if (due == kBlankDueDate) {
            desk.messages.inform("[ " + text::big5ToUtf8(id) + " ] 支票到期日 格式有誤......");
            continue;
        }
        updates.push_back({id, rocDueDate(due)});
    }

    const std::string& table = desk.workTables.names().tableA;
    db::Transaction transaction(desk.database);
    for (const Update& update : updates) {
        transaction.execute(
            db::SqlLines{"UPDATE " + table + " SET ", " YMD   = " + db::quote(update.roc.ymd) + ", ",
                         " YYYY  = " + db::quote(update.roc.yyyy) + ", ", " MM    = " + db::quote(update.roc.mm) + ", ",
                         " DD    = " + db::quote(update.roc.dd), "  WHERE ID = " + db::quote(update.id)});
    }
    transaction.commit();
}

bool listIsCurrent(ChequeDesk& desk)
{
    return desk.grid.isOpen() && desk.list.stamp.holds(desk.database, desk.workTables.names());
}

bool requireCurrentList(ChequeDesk& desk)
{
    if (listIsCurrent(desk))
        return true;
    desk.messages.inform("請重新 條件確認...... ");
    return false;
}

} // namespace cheque
