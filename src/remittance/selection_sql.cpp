#include "remittance/selection_sql.h"

#include "text/big5.h"
#include "text/blank.h"
#include "work/payee_completion.h"

namespace remittance {

namespace {

std::string booksFrom(const Selection& selection)
{
    return std::string("FROM ") + booksTable(selection.books) + " b ";
}

} // namespace

std::vector<std::string> selectionConditions(const Selection& selection, bool withStore)
{
    std::vector<std::string> lines;
    if (selection.journalRun != 0) {
        lines.push_back(std::string("WHERE b.") + booksKey(selection.books) +
                        " IN (SELECT BILL_KEY FROM PAY_RUN_BILL WHERE RUN_ID = " +
                        std::to_string(selection.journalRun) + " AND BOOK = '" + booksTable(selection.books) + "') ");
        return lines;
    }
    lines.push_back("WHERE b." + selection.dateColumn + " BETWEEN " + db::quote(selection.from) + " AND " +
                    db::quote(selection.to) + " ");
    lines.push_back("AND b.ACNT_ID = " + db::quote(selection.accountKey) + " ");
    if (withStore && !text::isBlank(selection.storeKey))
        lines.push_back("AND b.STORE_ID = " + db::quote(selection.storeKey) + " ");
    lines.push_back("AND b.BANK_IO <> 0 ");
    if (selection.state == RemittanceState::NotRemitted)
        lines.push_back("AND " + db::byteLength("b.BANK_DATE") + " = 0 ");
    else if (selection.state == RemittanceState::Remitted)
        lines.push_back("AND " + db::byteLength("b.BANK_DATE") + " > 0 ");
    return lines;
}

db::SqlLines createSelectionView(const std::string& viewName, const Selection& selection)
{
    const bool joint = selection.books == Books::Joint;
    db::SqlLines sql;
    sql << "CREATE VIEW " + viewName + " ";
    sql << "(MASTERBILLID, BILL_DATE, BILL_YM, PAY_DATE, PROVIDER_ID, PROVIDER_NAME, BANK_DATE, ";
    sql << " CASH_AMT, PAGE_AMT, PRE_PAY, TAKE_PRE, TOT_DISCOUNT, TOT_PATCH, PATCH_AMT, ";
    sql << " OVER_PAY, TOTAL_PLUS, BANK_IO, STORE_ID) ";
    sql << std::string("AS SELECT b.") + booksKey(selection.books) + ", b.BILL_DATE, " +
               db::leadingBytes("b.BILL_DATE", 7) + ", b.PAY_DATE, b.PROVIDER_ID, b.PROVIDER_NAME, b.BANK_DATE, ";
    sql << " b.CASH_AMT, b.PAGE_AMT, b.PRE_PAY, b.TAKE_PRE, b.TOT_DISCOUNT, b.TOT_PATCH, '0', ";
    sql << std::string(" b.OVER_PAY, b.TOTAL_PLUS, b.BANK_IO, ") + (joint ? "b.STORE_ID " : "'' ");
    sql << booksFrom(selection);
    for (const std::string& line : selectionConditions(selection, true))
        sql << line;
    return sql;
}

db::SqlLines fillBillTable(const std::string& tableA, const Selection& selection)
{
    const bool joint = selection.books == Books::Joint;
    db::SqlLines sql;
    sql << "INSERT INTO " + tableA + " (";
    sql << " BILL_DATE, BILL_YM, PAY_DATE, MASTERBILLID, PROVIDER_ID, PROVIDER_NAME, BANK_DATE, AMT, AMT2,";
    sql << " STORE_ID, STORE_NAME, ACNT_ID,";
    sql << " " + work::payeeColumns() + ") ";
    sql << std::string("SELECT b.BILL_DATE, ") + db::leadingBytes("b.BILL_DATE", 7) + ", b.PAY_DATE, b." +
               booksKey(selection.books) + ", b.PROVIDER_ID, b.PROVIDER_NAME, b.BANK_DATE, b.BANK_IO, " +
               "b.BANK_IO - p.ACNT_AMT, ";
    sql << (joint ? std::string(" b.STORE_ID, s.STORE_NAME, ") : " '', " + db::quote(text::big5("本店")) + ", ");
    // The paying account: the one chosen, or for a run printed again each bill's own.
    const std::string account = selection.journalRun != 0 ? std::string("b.ACNT_ID") : db::quote(selection.accountKey);
    const work::PayeeSources payee{.book = "b", .provider = "p", .account = "a"};
    sql << " " + account + ", " + work::payeeValues(payee) + " ";
    sql << booksFrom(selection);
    sql << work::providerJoin(payee);
    sql << work::accountJoin(payee, account);
    if (joint)
        sql << "LEFT JOIN SLAVE_ITEM s ON s.STORE_ID = b.STORE_ID ";
    for (const std::string& line : selectionConditions(selection, true))
        sql << line;
    return sql;
}

db::SqlLines fillBillProviderPairs(const std::string& tableB, const Selection& selection)
{
    db::SqlLines sql;
    sql << "INSERT INTO " + tableB + " (MASTERBILLID, PROVIDER_ID, BANK_DATE) ";
    sql << std::string("SELECT b.") + booksKey(selection.books) + ", b.PROVIDER_ID, b.BANK_DATE " +
               booksFrom(selection);
    for (const std::string& line : selectionConditions(selection, false))
        sql << line;
    return sql;
}

} // namespace remittance
