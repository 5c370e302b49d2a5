#include "remittance/remittance_report_table.h"

#include "db/sql.h"
#include "remittance/work_table_layout.h"
#include "text/big5.h"
#include "text/numbers.h"

namespace remittance {
namespace {

// The columns a new row of WorkTableD takes from the bill that creates it, in two lines.
const char* const copiedColumns1 =
    "BILL_YM,PROVIDER_ID,PROVIDER_NAME,BANK_ID,BANK_NAME,BANK_TITLE,BANK_ACCID,PROVIDER_PHONE,BANK_ID2,BANK_DATE,";
const char* const copiedColumns2 =
    "ACNT_ID,P_BANK_ID,P_BANK_NAME,P_ACNT_NO,P_ACNT_NAME,ACNT_AMT,EXPORT_FILE,P_BANK_ID2,CON_PEOPLE,";

// "A,B,C," with every column prefixed by `qualifier`.
std::string qualified(const std::string& qualifier, const std::string& columns)
{
    std::string out;
    std::size_t start = 0;
    while (start < columns.size()) {
        const std::size_t comma = columns.find(',', start);
        out += qualifier + columns.substr(start, comma - start) + ",";
        start = comma + 1;
    }
    return out;
}

// "STORE_ID IN ('01','02',...)": the bills of the listed stores (the list is not empty).
std::string storeCondition(const std::vector<Store>& stores, const std::string& qualifier)
{
    std::string condition = qualifier + "STORE_ID IN (";
    for (std::size_t i = 0; i < stores.size(); ++i)
        condition += (i ? "," : "") + db::quote(stores[i].id);
    return condition + ")";
}

} // namespace

std::vector<Store> listStores(db::Executor& database, bool jointBooks)
{
    if (!jointBooks)
        return {{"", text::big5("本店")}};
    return work::readStores(database);
}

ReportTableFill fillReportTable(db::Connection& database, const work::WorkNames& names,
                                const std::vector<Store>& stores, BankGroup group)
{
    if (stores.empty())
        return {};
    // S: the bills of the listed stores, numbered within provider, month and store (keys and
    // amount only). G: one row per provider, month and number, with each store's amount,
    // count and bill; the first listed store that has a bill lends the row its data. Each store
    // has at most one bill per number, so MAX picks that bill's value.
    std::string targetStores, sourceStores, amountTotal, countTotal, firstBill;
    for (std::size_t position = 1; position <= stores.size(); ++position) {
        const std::string ee = text::twoDigits(static_cast<int>(position));
        targetStores += ",AMT2" + ee + ",QTY2" + ee;
        sourceStores += ",COALESCE(G.R_A" + ee + ", 0),COALESCE(G.R_Q" + ee + ", 0)";
        amountTotal += (position > 1 ? " + " : "") + ("COALESCE(G.R_A" + ee + ", 0)");
        countTotal += (position > 1 ? " + " : "") + ("COALESCE(G.R_Q" + ee + ", 0)");
        firstBill += (position > 1 ? ", " : "") + ("G.R_K" + ee);
    }
    // COALESCE needs two arguments; a single store's bill is its own first.
    const std::string firstKey = stores.size() > 1 ? "COALESCE(" + firstBill + ")" : firstBill;
    db::SqlLines insert;
    insert << "INSERT INTO " + names.tableD + "(" << copiedColumns1 << copiedColumns2;
    insert << "ID" + targetStores + ",AMT_T,QTY_T)";
    insert << "SELECT " + qualified("C.", copiedColumns1) << qualified("C.", copiedColumns2);
    insert << "CASE WHEN G.R_SEQ < 1000 THEN LPAD(CAST(G.R_SEQ AS VARCHAR(20)), 3, '0') "
              "ELSE CAST(G.R_SEQ AS VARCHAR(20)) END" +
                  sourceStores + ",";
    insert << amountTotal + "," << countTotal;
    insert << "FROM (SELECT S.R_SEQ";
    for (std::size_t position = 1; position <= stores.size(); ++position) {
        const std::string ee = text::twoDigits(static_cast<int>(position));
        const std::string store = db::quote(stores[position - 1].id);
        insert << "  ,MAX(CASE WHEN S.STORE_ID = " + store + " THEN S.AMT2 END) AS R_A" + ee;
        insert << "  ,MAX(CASE WHEN S.STORE_ID = " + store + " THEN 1 END) AS R_Q" + ee;
        insert << "  ,MAX(CASE WHEN S.STORE_ID = " + store + " THEN S.K END) AS R_K" + ee;
    }
    insert << "  FROM (SELECT B.RDB$DB_KEY AS K, B.PROVIDER_ID, B.BILL_YM, B.STORE_ID, B.AMT2,";
    insert << "        ROW_NUMBER() OVER (PARTITION BY B.PROVIDER_ID, B.BILL_YM, B.STORE_ID ORDER BY B.MASTERBILLID) "
              "AS R_SEQ";
    insert << "        FROM " + names.tableC + " B";
    insert << "        WHERE " + storeCondition(stores, "B.") + "  AND " + bankGroupCondition(group) + ") S";
    insert << "  GROUP BY S.PROVIDER_ID, S.BILL_YM, S.R_SEQ";
    insert << ") G";
    insert << "JOIN " + names.tableC + " C ON C.RDB$DB_KEY = " + firstKey;

    ReportTableFill fill;
    db::Transaction transaction(database);
    transaction.execute(insert);
    // The report date: the last bill of the last listed store that has bills, in the order
    // the list numbers them.
    const auto last =
        transaction.query(db::SqlLines{"SELECT FIRST 1 BANK_DATE FROM " + names.tableC,
                                       "WHERE " + storeCondition(stores, "") + "  AND " + bankGroupCondition(group),
                                       "ORDER BY STORE_ID DESC, PROVIDER_ID DESC, BILL_YM DESC, MASTERBILLID DESC"});
    transaction.commit();
    if (!last.isEmpty()) {
        fill.readBills = true;
        fill.lastBankDate = last.text(0, "BANK_DATE");
    }
    return fill;
}

} // namespace remittance
