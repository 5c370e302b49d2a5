#include "remittance/selection_sql.h"

#include "text/big5.h"

namespace remittance {

namespace {

bool blankAfterTrim(const std::string& value)
{
    return value.find_first_not_of(' ') == std::string::npos;
}

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
                        " IN (SELECT BILL_KEY FROM PAY_RUN_BILL WHERE RUN_ID = " + std::to_string(selection.journalRun) +
                        " AND BOOK = '" + booksTable(selection.books) + "') ");
        return lines;
    }
    lines.push_back("WHERE b." + selection.dateColumn + " BETWEEN " + db::quote(selection.from) + " AND " +
                    db::quote(selection.to) + " ");
    lines.push_back("AND b.ACNT_ID = " + db::quote(selection.accountKey) + " ");
    if (withStore && !blankAfterTrim(selection.storeKey))
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
    sql << " STORE_ID, STORE_NAME,";
    sql << " PROVIDER_PHONE, BANK_ID, BANK_NAME, BANK_TITLE, BANK_ACCID, ACNT_AMT, BANK_ID2,";
    sql << " ACNT_ID, P_BANK_ID, P_BANK_NAME, P_ACNT_NO, P_ACNT_NAME, EXPORT_FILE, CON_PEOPLE, P_BANK_ID2) ";
    sql << std::string("SELECT b.BILL_DATE, ") + db::leadingBytes("b.BILL_DATE", 7) + ", b.PAY_DATE, b." +
               booksKey(selection.books) + ", b.PROVIDER_ID, b.PROVIDER_NAME, b.BANK_DATE, b.BANK_IO, " +
               "b.BANK_IO - p.ACNT_AMT, ";
    sql << (joint ? std::string(" b.STORE_ID, s.STORE_NAME, ") : " '', " + db::quote(text::big5("本店")) + ", ");
    sql << " p.PROVIDER_PHONE, p.BANK_ID, p.BANK_NAME, p.BANK_TITLE, p.BANK_ACCID, p.ACNT_AMT, " +
               db::leadingBytes("p.BANK_ID", 3) + ", ";
    // The paying account: the one chosen, or for a run printed again each bill's own.
    const std::string account = selection.journalRun != 0 ? std::string("b.ACNT_ID") : db::quote(selection.accountKey);
    sql << " " + account + ", a.BANK_ID, a.BANK_NAME, a.ACNT_NO, a.ACNT_NAME, " +
               "a.EXPORT_FILE, a.CON_PEOPLE, " + db::leadingBytes("a.BANK_ID", 3) + " ";
    sql << booksFrom(selection);
    sql << "LEFT JOIN PROVIDER p ON p.PROVIDER_ID = b.PROVIDER_ID ";
    sql << "LEFT JOIN BANK_ACCOUNT a ON a.ACNT_ID = " + account + " ";
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
    sql << std::string("SELECT b.") + booksKey(selection.books) + ", b.PROVIDER_ID, b.BANK_DATE " + booksFrom(selection);
    for (const std::string& line : selectionConditions(selection, false))
        sql << line;
    return sql;
}

} // namespace remittance
