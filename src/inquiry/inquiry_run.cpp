#include "inquiry/inquiry_run.h"

#include "db/sql.h"
#include "inquiry/inquiry_statistics.h"
#include "inquiry/inquiry_tables.h"
#include "text/big5.h"
#include "text/blank.h"
#include "text/combo_key.h"
#include "text/dates.h"
#include "work/payee_completion.h"

#include <string>

namespace inquiry {

namespace {

struct RunValues {
    std::string dateColumn;
    std::string dateFrom, dateTo;
    std::string providerText;
    std::string storeKey;
};

// The book aliased "a", its provider "B" and its paying account "C".
const work::PayeeSources kPayee{.book = "A", .provider = "B", .account = "C"};

// The bills the run selects, on the book joined with its provider: the condition lines
// shared by the view and by the fill of WorkTableA.
std::vector<std::string> selectionLines(Scope scope)
{
    const bool allStores = scope == Scope::AllStores;
    std::vector<std::string> lines;
    lines.push_back(std::string(allStores ? "FROM PAY_MASTERU A" : "FROM PAY_MASTER A") + work::providerJoin(kPayee));
    return lines;
}

std::vector<std::string> conditionLines(Scope scope, const InquiryConditions& c, const RunValues& v)
{
    const bool allStores = scope == Scope::AllStores;
    std::vector<std::string> lines;
    // The bill-number range tests MASTERBILLID in either book.
    if (c.condition == ByBillRange)
        lines.push_back(" WHERE  a.MASTERBILLID BETWEEN " + db::quote(c.billFrom) + " AND " + db::quote(c.billTo));
    else
        lines.push_back(" WHERE  a." + v.dateColumn + " BETWEEN " + db::quote(v.dateFrom) + " AND " +
                        db::quote(v.dateTo));
    if (!text::isBlank(v.providerText))
        lines.push_back(" AND a.PROVIDER_ID = " + db::quote(v.providerText));
    if (allStores && !text::isBlank(v.storeKey))
        lines.push_back(" AND a.STORE_ID    = " + db::quote(v.storeKey));
    switch (c.paymentKind) {
    case Remittance:
    case RemittanceFax: lines.push_back("  AND a.BANK_IO  <> 0 "); break;
    case Cheque: lines.push_back("  AND a.PAGE_AMT <> 0 "); break;
    case Cash: lines.push_back("  AND a.CASH_AMT <> 0 "); break;
    default: break;
    }
    if (c.processingState == 0)
        lines.push_back("  AND " + db::byteLength("a.BANK_DATE") + " = 0  ");
    else if (c.processingState == 1)
        lines.push_back("  AND " + db::byteLength("a.BANK_DATE") + " > 0 ");
    return lines;
}

// The selected bills: the own store's book, or the joint book whose rows carry SECBILLID as
// their bill number and the store of each bill.
db::SqlLines createView(Scope scope, const InquiryConditions& c, const RunValues& v, const std::string& view)
{
    const bool allStores = scope == Scope::AllStores;
    db::SqlLines sql;
    sql << "CREATE VIEW " + view + "("
        << "MASTERBILLID,PROVIDER_ID,PROVIDER_NAME,BANK_DATE,BILL_DATE,PAY_DATE,CASH_AMT,PAGE_AMT,EXPDATE,ACNT_ID,"
        << "PRE_PAY,TAKE_PRE,TOT_DISCOUNT,TOT_PATCH,PATCH_AMT,OVER_PAY,TOTAL_PLUS,BANK_IO,FAX_YN,STORE_ID"
        << ") AS SELECT "
        << std::string(allStores ? "a.SECBILLID" : "a.MASTERBILLID") + ",a.PROVIDER_ID,a.PROVIDER_NAME,a.BANK_DATE,a." +
               v.dateColumn + ",a.PAY_DATE,a.CASH_AMT,a.PAGE_AMT,a.EXPDATE,a.ACNT_ID,"
        << (allStores
                ? "a.PRE_PAY,a.TAKE_PRE,a.TOT_DISCOUNT,a.TOT_PATCH,'0',a.OVER_PAY,a.TOTAL_PLUS,a.BANK_IO,B.FAX_YN,a."
                  "STORE_ID"
                : "a.PRE_PAY,a.TAKE_PRE,a.TOT_DISCOUNT,a.TOT_PATCH,'0',a.OVER_PAY,a.TOTAL_PLUS,a.BANK_IO,B.FAX_YN,'' ");
    for (std::string& line : selectionLines(scope))
        sql << std::move(line);
    for (std::string& line : conditionLines(scope, c, v))
        sql << std::move(line);
    return sql;
}

// The row kinds, in the order their rows were always added: cash, remittance, cheque. A
// bill yields one row per kind whose amount is not zero.
db::SqlLines rowKinds()
{
    const auto kind = [](int n, const char* flag, const char* flagId) {
        return "SELECT " + std::to_string(n) + " AS N, CAST(" + db::quote(text::big5(flag)) +
               " AS VARCHAR(10)) AS FLAG, CAST(" + db::quote(text::big5(flagId)) +
               " AS VARCHAR(10)) AS FLAG_ID FROM RDB$DATABASE";
    };
    return {"(" + kind(0, "現金", "0.現金"), " UNION ALL " + kind(1, "匯款", "1.匯款"),
            " UNION ALL " + kind(2, "支票", "2.支票") + ") K"};
}

// WorkTableA in one statement: per selected bill and row kind, the bill's columns with its
// provider's, its paying account's and its store's, and the derived amounts and bank prefixes.
db::SqlLines fillDetailRows(Scope scope, const InquiryConditions& c, const RunValues& v, const std::string& tableA)
{
    const bool allStores = scope == Scope::AllStores;
    db::SqlLines sql;
    sql << "INSERT INTO " + tableA +
               "(FLAG,FLAG_ID,FLAG_ID2,ACNT_ID,BILL_DATE,PAY_DATE,MASTERBILLID,PROVIDER_ID,PROVIDER_NAME,BANK_DATE,AMT,"
               "AMT2,CASH_AMT,PAGE_AMT,EXPDATE,STORE_ID,"
        << " STORE_NAME," + work::payeeColumns() + ")"
        << "SELECT K.FLAG,K.FLAG_ID," + db::quote(text::big5("貨款")) + ",a.ACNT_ID,a." + v.dateColumn +
               ",a.PAY_DATE," + (allStores ? "a.SECBILLID" : "a.MASTERBILLID") +
               ",a.PROVIDER_ID,a.PROVIDER_NAME,a.BANK_DATE,a.BANK_IO,a.BANK_IO - "
               "B.ACNT_AMT,a.CASH_AMT,a.PAGE_AMT,a.EXPDATE," +
               (allStores ? "a.STORE_ID," : "'',")
        << " S.STORE_NAME," + work::payeeValues(kPayee);
    for (std::string& line : selectionLines(scope))
        sql << std::move(line);
    sql << work::accountJoin(kPayee, "a.ACNT_ID");
    sql << std::string(" LEFT OUTER JOIN SLAVE_ITEM S ON S.STORE_ID = ") + (allStores ? "a.STORE_ID " : "'' ");
    // A left join keeps the bills as the outer stream, so the book is read once.
    sql << " LEFT OUTER JOIN ";
    const db::SqlLines kinds = rowKinds();
    for (const std::string& line : kinds.lines())
        sql << line;
    sql << std::string(" ON (K.N = 0 AND a.CASH_AMT <> 0) OR (K.N = 1 AND a.BANK_IO <> 0") +
               (c.paymentKind == RemittanceFax ? " AND B.FAX_YN = 'Y'" : "") + ") OR (K.N = 2 AND a.PAGE_AMT <> 0)";
    for (std::string& line : conditionLines(scope, c, v))
        sql << std::move(line);
    sql << "  AND K.N IS NOT NULL ";
    return sql;
}

} // namespace

void confirm(const InquiryConditions& conditions, InquiryDesk& desk)
{
    if (conditions.dataSelection == OwnStore)
        run(Scope::OwnStore, conditions, desk);
    else if (conditions.dataSelection == AllStores)
        run(Scope::AllStores, conditions, desk);
}

void run(Scope scope, const InquiryConditions& c, InquiryDesk& s)
{
    RunValues v;
    v.dateColumn = c.condition == ByBillDate ? "BILL_DATE" : "PAY_DATE";
    if (c.condition == ByBillRange && (c.billFrom.empty() || c.billTo.empty())) {
        s.messages.inform("[單據區間] 欄位不可空白.......");
        return;
    }

    s.workTables.prologue(s.progress, false);
    const work::WorkNames& names = s.workTables.names();

    // Both dates are read on every run, also for a bill-number range.
    v.dateFrom = text::dateStringFromEdit(c.dateFromText);
    v.dateTo = text::dateStringFromEdit(c.dateToText);
    v.providerText = c.providerText;
    v.storeKey = text::comboKey(c.storeText);
    progressMessage(s.progress, 1, text::big5("檢視資料清除中...."));

    s.database.execute(createDetailTable(names.tableA));
    progressLine(s.progress, 3);

    s.database.execute(createView(scope, c, v, names.viewA));
    progressLine(s.progress, 3, "0");
    const bool statistics = c.reportFormat == ProviderStatistics;
    const StatisticsPlan plan = statistics ? planStatistics(s.database, scope) : StatisticsPlan{};
    if (statistics)
        s.database.execute(createStatisticsTable(names.tableB, plan.groups()));

    // The tables exist now (their DDL committed); their rows are filled in one transaction, so
    // a failure or a cancel leaves no half-filled table.
    db::Transaction fill(s.database);
    if (fill.execute(fillDetailRows(scope, c, v, names.tableA)) == 0 &&
        fill.lookup("SELECT FIRST 1 * FROM " + names.viewA).empty()) {
        // Only the first row matters (its bill number is empty exactly when no bill was
        // selected). Bills whose three amounts are all 0 yield no row but still count.
        fill.rollback();
        s.messages.inform("查無資料........");
        s.grid.clear();
        s.workTables.dropAll();
        return;
    }
    for (const char* kind : {"現金", "匯款", "支票"})
        progressLine(s.progress, 4, text::big5(kind));
    progressLine(s.progress, 5);
    progressLine(s.progress, 6);
    progressLine(s.progress, 6, "1");
    progressLine(s.progress, 6, "2");

    progressLine(s.progress, 7);
    const db::SqlLines grid{"SELECT *  FROM " + names.tableA, "ORDER BY PAY_DATE,FLAG_ID,ACNT_ID,PROVIDER_ID"};
    progressLine(s.progress, 7, "1");
    openGrid(fill, grid, s.grid);
    progressLine(s.progress, 7, "2");

    if (statistics) {
        progressLine(s.progress, 8);
        progressLine(s.progress, 8, "1");
        fill.execute(fillStatistics(plan, names));
        progressLine(s.progress, 8, "2");
    }
    fill.commit();
}

} // namespace inquiry
