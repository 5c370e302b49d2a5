#include "prescribed_runs.h"

#include "db/sql.h"
#include "inquiry/inquiry_tables.h"
#include "text/big5.h"
#include "text/blank.h"
#include "text/combo_key.h"
#include "text/dates.h"

#include <cstdio>
#include <string>

namespace inquiry_reference {

using namespace inquiry;

namespace statistics {

namespace {

const char* const kStoreList = "SELECT STORE_ID,STORE_NAME FROM SLAVE_ITEM ORDER BY STORE_ID";

// One column group per store of the chain; a chain without store ids keeps one group.
int storeCount(const db::RecordSet& stores)
{
    if (stores.isEmpty() || stores.text(0, "STORE_ID").empty())
        return 1;
    return static_cast<int>(stores.rowCount());
}

// Group n holds the store's id and name on every row and the provider's sums over that
// store's rows (null where it has none).
void fillStoreGroup(db::Executor& database, const work::WorkNames& names, int group, const std::string& storeId,
                    const std::string& storeName)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%02d", group);
    const std::string nn = digits;
    const std::string rows = names.tableA + " WHERE PROVIDER_ID = " + names.tableB +
                             ".PROVIDER_ID  AND STORE_ID = " + db::quote(storeId) + "),";
    database.execute(db::SqlLines{
        "UPDATE " + names.tableB + " SET ",
        "AMT2_" + nn + " =(SELECT SUM(AMT2)     FROM " + rows,
        "CASH_AMT_" + nn + " =(SELECT SUM(CASH_AMT) FROM " + rows,
        "PAGE_AMT_" + nn + " =(SELECT SUM(PAGE_AMT) FROM " + rows,
        "STORE_ID_" + nn + " = " + db::quote(storeId) + ",",
        "STORE_NAME_" + nn + " = " + db::quote(storeName),
    });
}

} // namespace

void buildOwnStoreStatistics(db::Executor& database, const work::WorkNames& names, work::ProgressDisplay& progress)
{
    progressLine(progress, 8);
    database.execute(createStatisticsTable(names.tableB, 1));
    progressLine(progress, 8, "1");
    database.execute(db::SqlLines{
        "INSERT INTO " + names.tableB + "(PROVIDER_ID,PROVIDER_NAME,AMT2_01,CASH_AMT_01,PAGE_AMT_01)",
        "SELECT PROVIDER_ID,PROVIDER_NAME,SUM(AMT2) as AMT2_01,SUM(CASH_AMT) as CASH_AMT_01,SUM(PAGE_AMT) as "
        "PAGE_AMT_01",
        " FROM " + names.tableA,
        "GROUP BY PROVIDER_ID,PROVIDER_NAME",
    });
    database.execute(db::SqlLines{
        "UPDATE " + names.tableB + " SET ",
        "STORE_ID_01 = " + db::quote("9999") + ",",
        "STORE_NAME_01 = " + db::quote(text::big5("本店")),
    });
    progressLine(progress, 8, "2");
}

void buildAllStoresStatistics(db::Executor& database, const work::WorkNames& names, work::ProgressDisplay& progress)
{
    progressLine(progress, 8);
    const int groups = storeCount(database.query(kStoreList));
    database.execute(createStatisticsTable(names.tableB, groups));
    progressLine(progress, 8, "1");

    if (groups >= 2) {
        database.execute(db::SqlLines{
            "INSERT INTO " + names.tableB + "(PROVIDER_ID,PROVIDER_NAME)",
            "SELECT DISTINCT PROVIDER_ID,PROVIDER_NAME",
            " FROM " + names.tableA,
        });
        progressLine(progress, 8, "2");
        // Each store's sums look the detail rows up by provider and store; without an index
        // every look-up would read the whole month. The index goes with its table.
        database.execute("CREATE INDEX X" + names.tableA + " ON " + names.tableA + " (PROVIDER_ID, STORE_ID)");
        const db::RecordSet stores = database.query(kStoreList);
        for (std::size_t row = 0; row < stores.rowCount(); ++row)
            fillStoreGroup(database, names, static_cast<int>(row) + 1, stores.text(row, "STORE_ID"),
                           stores.text(row, "STORE_NAME"));
        return;
    }

    // One group: a row per provider and store id, so bills of stores missing from SLAVE_ITEM
    // still show, with no store name.
    database.execute(db::SqlLines{
        "INSERT INTO " + names.tableB + "(PROVIDER_ID,PROVIDER_NAME,STORE_ID_01,AMT2_01,CASH_AMT_01,PAGE_AMT_01)",
        "SELECT PROVIDER_ID,PROVIDER_NAME,STORE_ID,SUM(AMT2) as AMT2,SUM(CASH_AMT) as CASH_AMT,SUM(PAGE_AMT) as "
        "PAGE_AMT",
        " FROM " + names.tableA,
        "GROUP BY PROVIDER_ID,PROVIDER_NAME,STORE_ID",
    });
    progressLine(progress, 8, "2");
    database.execute(db::SqlLines{
        "UPDATE " + names.tableB + " SET ",
        "STORE_NAME_01 = (SELECT STORE_NAME FROM SLAVE_ITEM WHERE  STORE_ID = " + names.tableB + ".STORE_ID_01)",
    });
}

} // namespace statistics

using statistics::buildAllStoresStatistics;
using statistics::buildOwnStoreStatistics;

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
        << std::string(allStores ? "a.SECBILLID" : "a.MASTERBILLID") + ",a.PROVIDER_ID,a.PROVIDER_NAME,a.BANK_DATE,a." +
               v.dateColumn + ",a.PAY_DATE,a.CASH_AMT,a.PAGE_AMT,a.EXPDATE,a.ACNT_ID,"
        << (allStores
                ? "a.PRE_PAY,a.TAKE_PRE,a.TOT_DISCOUNT,a.TOT_PATCH,'0',a.OVER_PAY,a.TOTAL_PLUS,a.BANK_IO,B.FAX_YN,a."
                  "STORE_ID"
                : "a.PRE_PAY,a.TAKE_PRE,a.TOT_DISCOUNT,a.TOT_PATCH,'0',a.OVER_PAY,a.TOTAL_PLUS,a.BANK_IO,B.FAX_YN,'' ")
        << (allStores ? "FROM PAY_MASTERU A LEFT OUTER JOIN PROVIDER B ON A.PROVIDER_ID = B.PROVIDER_ID "
                      : "FROM PAY_MASTER A LEFT OUTER JOIN PROVIDER B ON A.PROVIDER_ID = B.PROVIDER_ID ");
    // The bill-number range tests MASTERBILLID in either book.
    if (c.condition == ByBillRange)
        sql << " WHERE  a.MASTERBILLID BETWEEN " + db::quote(c.billFrom) + " AND " + db::quote(c.billTo);
    else
        sql << " WHERE  a." + v.dateColumn + " BETWEEN " + db::quote(v.dateFrom) + " AND " + db::quote(v.dateTo);
    if (!text::isBlank(v.providerText))
        sql << " AND a.PROVIDER_ID = " + db::quote(v.providerText);
    if (allStores && !text::isBlank(v.storeKey))
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
    sql << "INSERT INTO " + names.tableA +
               "(FLAG,FLAG_ID,FLAG_ID2,ACNT_ID,BILL_DATE,PAY_DATE,MASTERBILLID,PROVIDER_ID,PROVIDER_NAME,BANK_DATE,AMT,"
               "AMT2,CASH_AMT,PAGE_AMT,EXPDATE,STORE_ID)"
        << "SELECT " + db::quote(text::big5(kind.flag)) + "," + db::quote(text::big5(kind.flagId)) + "," +
               db::quote(text::big5("貨款")) +
               ",ACNT_ID,BILL_DATE,PAY_DATE,MASTERBILLID,PROVIDER_ID,PROVIDER_NAME,BANK_DATE,BANK_IO,BANK_IO,CASH_AMT,"
               "PAGE_AMT,EXPDATE,STORE_ID"
        << " FROM " + names.viewA << "WHERE " + std::string(kind.amountColumn) + " <> 0 ";
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
    database.execute(
        db::SqlLines{"UPDATE " + a + " SET ",
                     " STORE_NAME = (SELECT STORE_NAME FROM SLAVE_ITEM WHERE STORE_ID = " + a + ".STORE_ID)"});
}

} // namespace

void prescribedRun(Scope scope, const InquiryConditions& c, InquiryDesk& s)
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

} // namespace inquiry_reference
