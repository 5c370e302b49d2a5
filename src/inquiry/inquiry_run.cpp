#include "inquiry/inquiry_run.h"

#include "db/sql.h"
#include "inquiry/inquiry_statistics.h"
#include "inquiry/inquiry_tables.h"
#include "text/big5.h"
#include "text/combo_key.h"
#include "text/dates.h"

#include <string>

namespace inquiry {

namespace {

struct RunValues {
    std::string dateColumn;
    std::string dateFrom, dateTo;
    std::string providerText;
    std::string storeKey;
};

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
        << std::string(allStores ? "a.SECBILLID" : "a.MASTERBILLID") + ",a.PROVIDER_ID,a.PROVIDER_NAME,a.BANK_DATE,a."
               + v.dateColumn + ",a.PAY_DATE,a.CASH_AMT,a.PAGE_AMT,a.EXPDATE,a.ACNT_ID,"
        << (allStores ? "a.PRE_PAY,a.TAKE_PRE,a.TOT_DISCOUNT,a.TOT_PATCH,'0',a.OVER_PAY,a.TOTAL_PLUS,a.BANK_IO,B.FAX_YN,a.STORE_ID"
                      : "a.PRE_PAY,a.TAKE_PRE,a.TOT_DISCOUNT,a.TOT_PATCH,'0',a.OVER_PAY,a.TOTAL_PLUS,a.BANK_IO,B.FAX_YN,'' ")
        << (allStores ? "FROM PAY_MASTERU A LEFT OUTER JOIN PROVIDER B ON A.PROVIDER_ID = B.PROVIDER_ID "
                      : "FROM PAY_MASTER A LEFT OUTER JOIN PROVIDER B ON A.PROVIDER_ID = B.PROVIDER_ID ");
    // The bill-number range tests MASTERBILLID in either book.
    if (c.condition == ByBillRange)
        sql << " WHERE  a.MASTERBILLID BETWEEN " + db::quote(c.billFrom) + " AND " + db::quote(c.billTo);
    else
        sql << " WHERE  a." + v.dateColumn + " BETWEEN " + db::quote(v.dateFrom) + " AND " + db::quote(v.dateTo);
    if (!isBlank(v.providerText))
        sql << " AND a.PROVIDER_ID = " + db::quote(v.providerText);
    if (allStores && !isBlank(v.storeKey))
        sql << " AND a.STORE_ID    = " + db::quote(v.storeKey);
    switch (c.paymentKind) {
    case Remittance:
    case RemittanceFax: sql << "  AND a.BANK_IO  <> 0 "; break;
    case Cheque: sql << "  AND a.PAGE_AMT <> 0 "; break;
    case Cash: sql << "  AND a.CASH_AMT <> 0 "; break;
    default: break;
    }
    if (c.processingState == 0)
        sql << "  AND STRLEN(a.BANK_DATE) = 0  ";
    else if (c.processingState == 1)
        sql << "  AND STRLEN(a.BANK_DATE) > 0 ";
    return sql;
}

struct RowKind {
    const char* flag;
    const char* flagId;
    const char* amountColumn;
    bool remittance;
};

// One row per bill and kind whose amount is not zero, in this order.
const RowKind kRowKinds[] = {
    {"現金", "0.現金", "CASH_AMT", false},
    {"匯款", "1.匯款", "BANK_IO", true},
    {"支票", "2.支票", "PAGE_AMT", false},
};

void insertRows(db::Executor& database, const work::WorkNames& names, const RowKind& kind, bool faxOnly,
                work::ProgressDisplay& progress)
{
    progressLine(progress, 4, text::big5(kind.flag));
    db::SqlLines sql;
    sql << "INSERT INTO " + names.tableA
               + "(FLAG,FLAG_ID,FLAG_ID2,ACNT_ID,BILL_DATE,PAY_DATE,MASTERBILLID,PROVIDER_ID,PROVIDER_NAME,BANK_DATE,AMT,AMT2,CASH_AMT,PAGE_AMT,EXPDATE,STORE_ID)"
        << "SELECT " + db::quote(text::big5(kind.flag)) + "," + db::quote(text::big5(kind.flagId)) + ","
               + db::quote(text::big5("貨款"))
               + ",ACNT_ID,BILL_DATE,PAY_DATE,MASTERBILLID,PROVIDER_ID,PROVIDER_NAME,BANK_DATE,BANK_IO,BANK_IO,CASH_AMT,PAGE_AMT,EXPDATE,STORE_ID"
        << " FROM " + names.viewA
        << "WHERE " + std::string(kind.amountColumn) + " <> 0 ";
    if (faxOnly)
        sql << "  AND FAX_YN  =  'Y' ";
    database.execute(sql);
}

void completeRows(db::Executor& database, const std::string& a, work::ProgressDisplay& progress)
{
    progressLine(progress, 5);
    const std::string byProvider = "FROM PROVIDER WHERE PROVIDER_ID = " + a + ".PROVIDER_ID)";
    database.execute(db::SqlLines{
        "UPDATE " + a + " SET ",
        " PROVIDER_PHONE = (SELECT PROVIDER_PHONE " + byProvider + ", ",
        " BANK_ID        = (SELECT BANK_ID        " + byProvider + ", ",
        " BANK_NAME      = (SELECT BANK_NAME      " + byProvider + ", ",
        " BANK_TITLE     = (SELECT BANK_TITLE     " + byProvider + ", ",
        " BANK_ACCID     = (SELECT BANK_ACCID     " + byProvider + ",",
        " ACNT_AMT       = (SELECT ACNT_AMT       " + byProvider,
    });

    progressLine(progress, 6);
    const std::string byAccount = "FROM BANK_ACCOUNT WHERE ACNT_ID = " + a + ".ACNT_ID)";
    database.execute(db::SqlLines{
        "UPDATE " + a + " SET ",
        " P_BANK_ID    = (SELECT BANK_ID     " + byAccount + ", ",
        " P_BANK_NAME  = (SELECT BANK_NAME   " + byAccount + ", ",
        " P_ACNT_NO    = (SELECT ACNT_NO     " + byAccount + ", ",
        " P_ACNT_NAME  = (SELECT ACNT_NAME   " + byAccount + ", ",
        " EXPORT_FILE  = (SELECT EXPORT_FILE " + byAccount + ", ",
        " CON_PEOPLE   = (SELECT CON_PEOPLE  " + byAccount,
    });
    progressLine(progress, 6, "1");

    database.execute(db::SqlLines{"UPDATE " + a + " SET ", " AMT2     = AMT  - ACNT_AMT  "});
    progressLine(progress, 6, "2");

    database.execute(db::SqlLines{"UPDATE " + a + " SET ", " P_BANK_ID2 = SUBSTR(P_BANK_ID,1,3) ,",
                                  " BANK_ID2   = SUBSTR(BANK_ID,1,3)"});
    database.execute(db::SqlLines{
        "UPDATE " + a + " SET ",
        " STORE_NAME = (SELECT STORE_NAME FROM SLAVE_ITEM WHERE STORE_ID = " + a + ".STORE_ID)"});
}

} // namespace

void confirm(const InquiryConditions& conditions, InquiryServices& services)
{
    if (conditions.dataSelection == OwnStore)
        run(Scope::OwnStore, conditions, services);
    else if (conditions.dataSelection == AllStores)
        run(Scope::AllStores, conditions, services);
}

void run(Scope scope, const InquiryConditions& c, InquiryServices& s)
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

    // Only the first row matters (its bill number is empty exactly when no bill was selected),
    // so only the first row is fetched.
    if (s.database.lookup("SELECT FIRST 1 * FROM " + names.viewA).empty()) {
        s.messages.inform("查無資料........");
        s.grid.clear();
        s.workTables.dropAll();
        return;
    }

    // All kinds run whatever the payment kind: the view has already narrowed the bills, so a
    // remittance bill that also paid cash yields both rows.
    for (const RowKind& kind : kRowKinds)
        insertRows(s.database, names, kind, kind.remittance && c.paymentKind == RemittanceFax, s.progress);

    completeRows(s.database, names.tableA, s.progress);

    progressLine(s.progress, 7);
    const db::SqlLines grid{"SELECT *  FROM " + names.tableA, "ORDER BY PAY_DATE,FLAG_ID,ACNT_ID,PROVIDER_ID"};
    progressLine(s.progress, 7, "1");
    openGrid(s.database, grid, s.grid);
    progressLine(s.progress, 7, "2");

    if (c.reportFormat == ProviderStatistics) {
        if (scope == Scope::OwnStore)
            buildOwnStoreStatistics(s.database, names, s.progress);
        else
            buildAllStoresStatistics(s.database, names, s.progress);
    }
}

} // namespace inquiry
