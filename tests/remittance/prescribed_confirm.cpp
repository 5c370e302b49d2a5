#include "prescribed_confirm.h"

#include "remittance/remittance_grid.h"
#include "remittance/work_table_layout.h"
#include "text/big5.h"
#include "text/combo_key.h"
#include "text/dates.h"

namespace remittance_reference {

using namespace remittance;

namespace {

bool blankAfterTrim(const std::string& value)
{
    return value.find_first_not_of(' ') == std::string::npos;
}

void line(work::ProgressDisplay& progress, const std::string& mark)
{
    work::progressLine(progress, progress.gaugeValue(), mark);
}

std::vector<std::string> conditionLines(const Selection& selection, bool withStore)
{
    std::vector<std::string> lines;
    lines.push_back("WHERE " + selection.dateColumn + " BETWEEN " + db::quote(selection.from) + " AND " +
                    db::quote(selection.to) + " ");
    lines.push_back("AND ACNT_ID = " + db::quote(selection.accountKey) + " ");
    if (withStore && !blankAfterTrim(selection.storeKey))
        lines.push_back("AND STORE_ID = " + db::quote(selection.storeKey) + " ");
    lines.push_back("AND BANK_IO <> 0 ");
    if (selection.state == RemittanceState::NotRemitted)
        lines.push_back("AND STRLEN(BANK_DATE) = 0 ");
    else if (selection.state == RemittanceState::Remitted)
        lines.push_back("AND STRLEN(BANK_DATE) > 0 ");
    return lines;
}

db::SqlLines createView(const std::string& viewName, const Selection& selection)
{
    const bool joint = selection.books == Books::Joint;
    db::SqlLines sql;
    sql << "CREATE VIEW " + viewName + " ";
    sql << "(MASTERBILLID, BILL_DATE, BILL_YM, PAY_DATE, PROVIDER_ID, PROVIDER_NAME, BANK_DATE, ";
    sql << " CASH_AMT, PAGE_AMT, PRE_PAY, TAKE_PRE, TOT_DISCOUNT, TOT_PATCH, PATCH_AMT, ";
    sql << " OVER_PAY, TOTAL_PLUS, BANK_IO, STORE_ID) ";
    sql << std::string("AS SELECT ") + (joint ? "SECBILLID" : "MASTERBILLID") +
               ", BILL_DATE, SUBSTR(BILL_DATE,1,7), PAY_DATE, PROVIDER_ID, PROVIDER_NAME, BANK_DATE, ";
    sql << " CASH_AMT, PAGE_AMT, PRE_PAY, TAKE_PRE, TOT_DISCOUNT, TOT_PATCH, '0', ";
    sql << std::string(" OVER_PAY, TOTAL_PLUS, BANK_IO, ") + (joint ? "STORE_ID " : "'' ");
    sql << std::string("FROM ") + booksTable(selection.books) + " ";
    for (const std::string& line : conditionLines(selection, true))
        sql << line;
    return sql;
}

db::SqlLines fillPairs(const std::string& tableB, const Selection& selection)
{
    db::SqlLines sql;
    sql << "INSERT INTO " + tableB + " (MASTERBILLID, PROVIDER_ID, BANK_DATE) ";
    sql << std::string("SELECT ") + booksKey(selection.books) + ", PROVIDER_ID, BANK_DATE FROM " +
               booksTable(selection.books) + " ";
    for (const std::string& line : conditionLines(selection, false))
        sql << line;
    return sql;
}

void fillStoreNames(db::Executor& database, const std::string& tableA, Books books)
{
    if (books == Books::OwnStore)
        database.execute("UPDATE " + tableA + " SET STORE_NAME = " + db::quote(text::big5("本店")));
    else
        database.execute(db::SqlLines{"UPDATE " + tableA + " SET STORE_NAME = ",
                                      "(SELECT STORE_NAME FROM SLAVE_ITEM WHERE STORE_ID = " + tableA + ".STORE_ID)"});
}

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

void prescribedConfirm(RemittanceDesk& desk, const ConfirmConditions& conditions, const ConfirmOutputs& outputs)
{
    db::Executor& database = desk.database;
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
    database.execute(createTable(
        names.tableB, {{"MASTERBILLID", "VARCHAR(20)"}, {"PROVIDER_ID", "VARCHAR(10)"}, {"BANK_DATE", "VARCHAR(10)"}}));
    database.execute(createTable(names.tableC, billColumns()));
    line(progress, "2");

    // The list of own-store books has the one group of the own store.
    const std::size_t stores = selection.books == Books::OwnStore
                                   ? 1
                                   : database.query("SELECT * FROM SLAVE_ITEM ORDER BY STORE_ID").rowCount();
    database.execute(createTable(names.tableD, summaryColumns(static_cast<int>(stores))));
    work::progressLine(progress, 3);

    database.execute(createView(names.viewA, selection));
    line(progress, "0");

    if (database.query("SELECT * FROM " + names.viewA).isEmpty()) {
        desk.messages.inform("查無資料........");
        desk.grid.clear();
        desk.workTables.dropAll();
        return;
    }
    line(progress, "1");
    database.execute(fillPairs(names.tableB, selection));

    work::progressLine(progress, 4);
    database.execute(db::SqlLines{
        "INSERT INTO " + names.tableA +
            " (BILL_DATE, BILL_YM, PAY_DATE, MASTERBILLID, PROVIDER_ID, PROVIDER_NAME, BANK_DATE, AMT, AMT2, "
            "STORE_ID) ",
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
        outputs.showFileNames(
            splitExportFileName(firstRows.isEmpty() ? std::string() : firstRows.text(0, "EXPORT_FILE")));
    line(progress, "1");

    database.execute("UPDATE " + names.tableA + " SET AMT2 = AMT - ACNT_AMT");
    line(progress, "2");
    database.execute("UPDATE " + names.tableA +
                     " SET P_BANK_ID2 = SUBSTR(P_BANK_ID,1,3), BANK_ID2 = SUBSTR(BANK_ID,1,3)");
    work::progressLine(progress, 7);

    line(progress, "1");
    openRemittanceGrid(database, desk.grid, names.tableA);
    desk.run.stamp = work::RunStamp::take(database, names, {names.tableA, names.tableB, names.tableC, names.tableD});
    desk.run.state = selection.state;
    desk.run.books = selection.books;

    warnAboutBankData(desk.grid, desk.messages);

    line(progress, "2");
    if (outputs.enableSelectAll)
        outputs.enableSelectAll();
}

} // namespace remittance_reference
