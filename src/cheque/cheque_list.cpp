// The condition confirm: the cheques of a range into the work tables, the ROC due-date
// columns, and the grid over them.
#include "cheque/cheque_desk.h"

#include "cheque/cheque_table.h"
#include "cheque/issue_state.h"
#include "cheque/roc_due_date.h"
#include "db/sql.h"
#include "text/big5.h"
#include "text/combo_key.h"
#include "text/dates.h"

#include <vector>

namespace cheque {
namespace {

bool blankAfterTrim(const std::string& value)
{
    return value.find_first_not_of(" \t") == std::string::npos;
}

db::SqlLines copyCheques(const std::string& table, const std::string& dateColumn, const std::string& start,
                         const std::string& end, const std::string& accountKey)
{
    db::SqlLines sql = copyFromChequeBook(table);
    sql << "  WHERE  " + dateColumn + " BETWEEN " + db::quote(start) + " AND " + db::quote(end);
    if (!blankAfterTrim(accountKey))
        sql << "  AND  ACNT_ID = " + db::quote(accountKey);
    return sql;
}

} // namespace

ChequeDesk::ChequeDesk(db::Connection& database, work::WorkTables& tables, work::ProgressDisplay& progress,
                       work::Messages& messages, report::Bridge& reports, db::RecordSet& grid)
    : database_(database), tables_(tables), progress_(progress), messages_(messages), reports_(reports), grid_(grid)
{
}

void ChequeDesk::confirm(const ListConditions& conditions)
{
    // From here on the rows on screen belong to no list until this run opens the grid anew.
    listed_.clear();
    usedUp_ = false;
    const std::string dateColumn = dateColumnName(conditions.dateColumn);
    tables_.prologue(progress_, false);
    const std::string start = text::dateStringFromEdit(conditions.startDateText);
    const std::string end = text::dateStringFromEdit(conditions.endDateText);
    const std::string accountKey = text::comboKey(conditions.accountComboText);
    const work::WorkNames& names = tables_.names();
    listedConditions_ = dateColumn + " " + start + "~" + end + (accountKey.empty() ? "" : " ACNT_ID " + accountKey);

    work::progressMessage(progress_, 1, text::big5("檢視資料清除中...."));
    database_.execute(createListedTable(names.tableA));
    work::progressLine(progress_, 2);
    database_.execute(createIssuedTable(names.tableC));
    work::progressLine(progress_, 3);
    database_.execute(copyCheques(names.tableA, dateColumn, start, end, accountKey));
    work::progressLine(progress_, 4);

    const db::RecordSet listed = database_.query("SELECT * FROM " + names.tableA);
    // The due date is the third column; a list whose first cheque has none is no list.
    if (listed.isEmpty() || listed.text(0, 2).empty()) {
        messages_.inform("無資料...........");
        grid_.clear();
        tables_.dropAll();
        return;
    }
    work::progressLine(progress_, 5);
    fillRocColumns(listed);

    work::progressLine(progress_, 6);
    // The listed table's columns, then each cheque's issue state from its bills' stamps.
    grid_ = database_.query(listWithIssueState(names.tableA, orderByLine(conditions.order)));
    grid_.declareFields(gridFields());
    work::progressLine(progress_, 6, "2");
    listed_ = work::RunStamp::take(database_, names, {names.tableA, names.tableC});
}

void ChequeDesk::fillRocColumns(const db::RecordSet& listed)
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
            messages_.inform("[ " + text::big5ToUtf8(id) + " ] 支票到期日 格式有誤......");
            continue;
        }
        updates.push_back({id, rocDueDate(due)});
    }

    const std::string& table = tables_.names().tableA;
    db::Transaction transaction(database_);
    for (const Update& update : updates) {
        transaction.execute(db::SqlLines{"UPDATE " + table + " SET ",
                                         " YMD   = " + db::quote(update.roc.ymd) + ", ",
                                         " YYYY  = " + db::quote(update.roc.yyyy) + ", ",
                                         " MM    = " + db::quote(update.roc.mm) + ", ",
                                         " DD    = " + db::quote(update.roc.dd),
                                         "  WHERE ID = " + db::quote(update.id)});
    }
    transaction.commit();
}

bool ChequeDesk::listIsCurrent()
{
    return grid_.isOpen() && listed_.holds(database_, tables_.names());
}

bool ChequeDesk::requireCurrentList()
{
    if (listIsCurrent())
        return true;
    messages_.inform("請重新 條件確認...... ");
    return false;
}

} // namespace cheque
