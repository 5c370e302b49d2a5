#include "remittance/selection_sql.h"

namespace remittance {

namespace {

bool blankAfterTrim(const std::string& value)
{
    return value.find_first_not_of(' ') == std::string::npos;
}

} // namespace

std::vector<std::string> selectionConditions(const Selection& selection, bool withStore)
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

db::SqlLines createSelectionView(const std::string& viewName, const Selection& selection)
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
    for (const std::string& line : selectionConditions(selection, true))
        sql << line;
    return sql;
}

db::SqlLines fillBillProviderPairs(const std::string& tableB, const Selection& selection)
{
    db::SqlLines sql;
    sql << "INSERT INTO " + tableB + " (MASTERBILLID, PROVIDER_ID, BANK_DATE) ";
    sql << std::string("SELECT ") + booksKey(selection.books) + ", PROVIDER_ID, BANK_DATE FROM " + booksTable(selection.books) + " ";
    for (const std::string& line : selectionConditions(selection, false))
        sql << line;
    return sql;
}

} // namespace remittance
