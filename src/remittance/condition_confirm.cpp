#include "remittance/condition_confirm.h"

#include "remittance/remittance_grid.h"
#include "remittance/selection_sql.h"
#include "remittance/work_table_layout.h"
#include "text/big5.h"
#include "text/blank.h"
#include "text/combo_key.h"
#include "text/dates.h"
#include "work/store_list.h"

namespace remittance {

namespace {

// A progress line at the gauge's current value.
void line(work::ProgressDisplay& progress, const std::string& mark)
{
    work::progressLine(progress, progress.gaugeValue(), mark);
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

int listStoreGroups(db::Executor& database, Books books)
{
    // The list of own-store books has one store group, the own store's.
    return books == Books::OwnStore ? 1 : static_cast<int>(work::readStores(database).size());
}

void confirmRemittance(RemittanceDesk& desk, const ConfirmConditions& conditions, const ConfirmOutputs& outputs)
{
    db::Connection& database = desk.database;
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
    if (text::isBlank(selection.accountKey)) {
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

    database.execute(createTable(names.tableD, summaryColumns(listStoreGroups(database, selection.books))));
    work::progressLine(progress, 3);

    database.execute(createSelectionView(names.viewA, selection));
    line(progress, "0");

    // The tables exist now (their DDL committed); their rows are filled in one transaction:
    // WorkTableA by one statement that computes every column, WorkTableB beside it.
    db::Transaction fill(database);
    if (fill.execute(fillBillTable(names.tableA, selection)) == 0) {
        fill.rollback();
        desk.messages.inform("查無資料........");
        desk.grid.clear();
        desk.workTables.dropAll();
        return;
    }
    line(progress, "1");
    fill.execute(fillBillProviderPairs(names.tableB, selection));
    work::progressLine(progress, 4);
    line(progress, "2");
    work::progressLine(progress, 5);
    work::progressLine(progress, 6);
    openRemittanceGrid(fill, desk.grid, names.tableA);
    fill.commit();
    if (outputs.showFileNames)
        outputs.showFileNames(
            splitExportFileName(desk.grid.isEmpty() ? std::string() : desk.grid.text(0, "EXPORT_FILE")));
    line(progress, "1");
    line(progress, "2");
    work::progressLine(progress, 7);
    line(progress, "1");
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
