#include "remittance/condition_confirm.h"

#include "remittance/remittance_grid.h"
#include "remittance/selection_sql.h"
#include "remittance/work_table_layout.h"
#include "text/big5.h"
#include "text/combo_key.h"
#include "text/dates.h"

namespace remittance {

namespace {

bool blankAfterTrim(const std::string& value)
{
    return value.find_first_not_of(' ') == std::string::npos;
}

// A progress line at the gauge's current value.
void line(work::ProgressDisplay& progress, const std::string& mark)
{
    work::progressLine(progress, progress.gaugeValue(), mark);
}

void fillStoreNames(db::Executor& database, const std::string& tableA, Books books)
{
    if (books == Books::OwnStore)
        database.execute("UPDATE " + tableA + " SET STORE_NAME = " + db::quote(text::big5("本店")));
    else
        database.execute(db::SqlLines{"UPDATE " + tableA + " SET STORE_NAME = ",
                                      "(SELECT STORE_NAME FROM SLAVE_ITEM WHERE STORE_ID = " + tableA + ".STORE_ID)"});
}

// SET col = (SELECT source FROM table WHERE key = tableA.key), ... for each pair.
db::SqlLines copyByKey(const std::string& tableA, const std::string& table, const std::string& key,
                       const std::vector<std::pair<std::string, std::string>>& columns)
{
    db::SqlLines sql;
    sql << "UPDATE " + tableA + " SET ";
    for (std::size_t i = 0; i < columns.size(); ++i)
        sql << columns[i].first + " = (SELECT " + columns[i].second + " FROM " + table + " WHERE " + key + " = " +
                   tableA + "." + key + ")" + (i + 1 < columns.size() ? "," : "");
    return sql;
}

// The list's conditions as the journal keeps them (Big5).
std::string listedConditions(const Selection& selection)
{
    static const char* const kStates[] = {"未 匯 款", "已 匯 款", "不分匯款"};
    return text::big5(std::string("狀態 ") + kStates[static_cast<int>(selection.state)] + "; ") + selection.dateColumn +
           " " + selection.from + "~" + selection.to + text::big5("; 帳戶 ") + selection.accountKey +
           text::big5("; 分店 ") + selection.storeKey +
           text::big5(selection.books == Books::Joint ? "; 聯合匯款" : "; 本店匯款");
}

void warnAboutBankData(const db::RecordSet& grid, work::Messages& messages)
{
    for (std::size_t r = 0; r < grid.rowCount(); ++r) {
        if (grid.text(r, "BANK_ID").empty() || grid.text(r, "BANK_ACCID").empty() ||
            grid.text(r, "BANK_TITLE").empty()) {
            messages.inform(text::big5ToUtf8(grid.text(r, "PROVIDER_ID")) + "_銀行資料有問題!!!");
            return;
        }
    }
}

} // namespace

void confirmRemittance(RemittanceDesk& desk, const ConfirmConditions& conditions, const ConfirmOutputs& outputs)
{
    confirmRemittance(desk, desk.database, conditions, outputs);
}

void confirmRemittance(RemittanceDesk& desk, db::Executor& database, const ConfirmConditions& conditions,
                       const ConfirmOutputs& outputs)
{
    work::ProgressDisplay& progress = desk.progress;
    desk.run.forget();

    Selection selection;
    selection.state = conditions.state;
    selection.books = conditions.books;
    selection.dateColumn = conditions.dateColumn == 1 ? "BILL_DATE" : "PAY_DATE";

    desk.workTables.prologue(progress, true);
    const work::WorkNames& names = desk.workTables.names();

    selection.from = text::dateStringFromEdit(conditions.fromDateText);
    selection.to = text::dateStringFromEdit(conditions.toDateText);
    selection.accountKey = text::comboKey(conditions.accountComboText);
    selection.storeKey = text::comboKey(conditions.storeComboText);
    if (blankAfterTrim(selection.accountKey)) {
        desk.messages.inform("[ 帳戶代號 ] 欄位不可空白....");
        return;
    }

    work::progressMessage(progress, 1, text::big5("檢視資料清除中...."));
    database.execute(createTable(names.tableA, billColumns()));
    work::progressLine(progress, 2);
    database.execute(createTable(names.tableB, {{"MASTERBILLID", "VARCHAR(20)"}, {"PROVIDER_ID", "VARCHAR(10)"},
                                                         {"BANK_DATE", "VARCHAR(10)"}}));
    database.execute(createTable(names.tableC, billColumns()));
    line(progress, "2");

    const std::size_t stores = database.query("SELECT * FROM SLAVE_ITEM ORDER BY STORE_ID").rowCount();
    database.execute(createTable(names.tableD, summaryColumns(static_cast<int>(stores))));
    work::progressLine(progress, 3);

    database.execute(createSelectionView(names.viewA, selection));
    line(progress, "0");

    if (database.query("SELECT * FROM " + names.viewA).isEmpty()) {
        desk.messages.inform("查無資料........");
        desk.grid.clear();
        desk.workTables.dropAll();
        return;
    }
    line(progress, "1");
    database.execute(fillBillProviderPairs(names.tableB, selection));

    work::progressLine(progress, 4);
    database.execute(db::SqlLines{
        "INSERT INTO " + names.tableA +
            " (BILL_DATE, BILL_YM, PAY_DATE, MASTERBILLID, PROVIDER_ID, PROVIDER_NAME, BANK_DATE, AMT, AMT2, STORE_ID) ",
        "SELECT BILL_DATE, BILL_YM, PAY_DATE, MASTERBILLID, PROVIDER_ID, PROVIDER_NAME, BANK_DATE, BANK_IO, BANK_IO, "
        "STORE_ID ",
        "FROM " + names.viewA});
    line(progress, "2");

    fillStoreNames(database, names.tableA, selection.books);
    work::progressLine(progress, 5);

    database.execute(copyByKey(names.tableA, "PROVIDER", "PROVIDER_ID",
                               {{"PROVIDER_PHONE", "PROVIDER_PHONE"},
                                {"BANK_ID", "BANK_ID"},
                                {"BANK_NAME", "BANK_NAME"},
                                {"BANK_TITLE", "BANK_TITLE"},
                                {"BANK_ACCID", "BANK_ACCID"},
                                {"ACNT_AMT", "ACNT_AMT"}}));
    database.execute("UPDATE " + names.tableA + " SET ACNT_ID = " + db::quote(selection.accountKey));
    work::progressLine(progress, 6);

    database.execute(copyByKey(names.tableA, "BANK_ACCOUNT", "ACNT_ID",
                               {{"P_BANK_ID", "BANK_ID"},
                                {"P_BANK_NAME", "BANK_NAME"},
                                {"P_ACNT_NO", "ACNT_NO"},
                                {"P_ACNT_NAME", "ACNT_NAME"},
                                {"EXPORT_FILE", "EXPORT_FILE"},
                                {"CON_PEOPLE", "CON_PEOPLE"}}));

    const db::RecordSet firstRows = database.query("SELECT * FROM " + names.tableA);
    if (outputs.showFileNames)
        outputs.showFileNames(splitExportFileName(firstRows.isEmpty() ? std::string() : firstRows.text(0, "EXPORT_FILE")));
    line(progress, "1");

    database.execute("UPDATE " + names.tableA + " SET AMT2 = AMT - ACNT_AMT");
    line(progress, "2");
    database.execute("UPDATE " + names.tableA + " SET P_BANK_ID2 = SUBSTR(P_BANK_ID,1,3), BANK_ID2 = SUBSTR(BANK_ID,1,3)");
    work::progressLine(progress, 7);

    line(progress, "1");
    openRemittanceGrid(database, desk.grid, names.tableA);
    desk.run.stamp = work::RunStamp::take(database, names, {names.tableA, names.tableB, names.tableC, names.tableD});
    desk.run.state = selection.state;
    desk.run.books = selection.books;
    desk.run.conditions = listedConditions(selection);

    warnAboutBankData(desk.grid, desk.messages);

    line(progress, "2");
    if (outputs.enableSelectAll)
        outputs.enableSelectAll();
}

} // namespace remittance
