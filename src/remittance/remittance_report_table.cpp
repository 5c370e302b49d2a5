#include "remittance/remittance_report_table.h"

#include "db/sql.h"
#include "remittance/work_table_layout.h"

#include <cstdio>

namespace remittance {
namespace {

// The columns a new row of WorkTableD takes from the bill that creates it, in two lines.
const char* const copiedColumns1 =
    "BILL_YM,PROVIDER_ID,PROVIDER_NAME,BANK_ID,BANK_NAME,BANK_TITLE,BANK_ACCID,PROVIDER_PHONE,BANK_ID2,BANK_DATE,";
const char* const copiedColumns2 =
    "ACNT_ID,P_BANK_ID,P_BANK_NAME,P_ACNT_NO,P_ACNT_NAME,ACNT_AMT,EXPORT_FILE,P_BANK_ID2,CON_PEOPLE,";

// The column suffix of the store at `position` in the store list (1-based).
std::string storeSuffix(std::size_t position)
{
    return storeGroupSuffix(static_cast<int>(position));
}

std::string sequenceText(long long counter)
{
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%03lld", counter);
    return buffer;
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

std::vector<Store> readStoreList(db::Executor& database)
{
    const auto rows = database.query(db::SqlLines{"SELECT * FROM SLAVE_ITEM  ORDER BY STORE_ID  "});
    std::vector<Store> stores;
    stores.reserve(rows.rowCount());
    for (std::size_t r = 0; r < rows.rowCount(); ++r)
        stores.push_back({rows.text(r, "STORE_ID"), rows.text(r, "STORE_NAME")});
    return stores;
}

std::string bankFilter(ReportBankGroup group)
{
    return group == ReportBankGroup::InterBank ? "  AND BANK_ID NOT LIKE  '016%' " : "  AND BANK_ID LIKE  '016%' ";
}

ReportTableFill fillReportTable(db::Connection& database, const work::WorkNames& names,
                                const std::vector<Store>& stores, ReportBankGroup group)
{
    if (stores.empty())
        return {};
    return setBasedFillApplies(database, names, stores)
               ? fillReportTableSetBased(database, names, stores, group)
               : fillReportTableBillByBill(database, names, stores, group);
}

ReportTableFill fillReportTableBillByBill(db::Connection& database, const work::WorkNames& names,
                                          const std::vector<Store>& stores, ReportBankGroup group)
{
    ReportTableFill fill;
    db::Transaction transaction(database);
    for (std::size_t position = 1; position <= stores.size(); ++position) {
        const std::string& storeId = stores[position - 1].id;
        const std::string ee = storeSuffix(position);
        // Within a provider and month the bill key decides the sequence, so that a list
        // printed twice numbers the bills the same way.
        const auto bills = transaction.query(db::SqlLines{
            "SELECT *  FROM " + names.tableC + " WHERE STORE_ID  = " + db::quote(storeId) + bankFilter(group)
            + " ORDER BY PROVIDER_ID,BILL_YM,MASTERBILLID"});
        std::string groupKey;
        long long counter = 0;
        for (std::size_t r = 0; r < bills.rowCount(); ++r) {
            fill.readBills = true;
            fill.lastBankDate = bills.text(r, "BANK_DATE");
            const std::string provider = bills.text(r, "PROVIDER_ID");
            const std::string month = bills.text(r, "BILL_YM");
            const std::string billId = bills.text(r, "MASTERBILLID");
            if (provider + month != groupKey) {
                groupKey = provider + month;
                counter = 0;
            }
            const std::string sequence = sequenceText(++counter);

            const auto existing = transaction.query(db::SqlLines{
                "SELECT * FROM " + names.tableD,
                "WHERE PROVIDER_ID  = " + db::quote(provider),
                "  AND BILL_YM      = " + db::quote(month),
                "  AND ID           = " + db::quote(sequence)});
            if (!existing.isEmpty() && !existing.text(0, "PROVIDER_ID").empty()) {
                transaction.execute(db::SqlLines{
                    "UPDATE " + names.tableD + " SET ",
                    "QTY2" + ee + " ='1' ,",
                    "AMT2" + ee + " =(SELECT AMT2 FROM " + names.tableC,
                    "WHERE PROVIDER_ID  = " + db::quote(provider),
                    "  AND MASTERBILLID = " + db::quote(billId),
                    "  AND BILL_YM      = " + db::quote(month),
                    "  AND STORE_ID     = " + db::quote(storeId) + ")",
                    "WHERE PROVIDER_ID  = " + db::quote(provider),
                    "  AND BILL_YM      = " + db::quote(month),
                    "  AND ID           = " + db::quote(sequence)});
            } else {
                transaction.execute(db::SqlLines{
                    "INSERT INTO " + names.tableD + "(",
                    copiedColumns1,
                    copiedColumns2,
                    "AMT2" + ee + ",QTY2" + ee + ",ID)",
                    "SELECT ",
                    copiedColumns1,
                    copiedColumns2,
                    "AMT2,'1'," + db::quote(sequence) + " ",
                    "FROM " + names.tableC,
                    "WHERE PROVIDER_ID  = " + db::quote(provider),
                    "  AND MASTERBILLID = " + db::quote(billId),
                    "  AND STORE_ID     = " + db::quote(storeId)});
            }
        }
    }
    transaction.commit();
    return fill;
}

ReportTableFill fillReportTableSetBased(db::Connection& database, const work::WorkNames& names,
                                        const std::vector<Store>& stores, ReportBankGroup group)
{
    if (stores.empty())
        return {};
    // Innermost: the bills numbered within provider, month and store. Middle: per provider,
    // month and number, each store's amount and count, and which store comes first in the
    // list (its bill creates the row and lends it its provider and bank data).
    const std::string rowKey = "PARTITION BY S.PROVIDER_ID, S.BILL_YM, S.R_SEQ";
    const std::string partition = "OVER (" + rowKey + ")";
    db::SqlLines insert;
    insert << "INSERT INTO " + names.tableD + "(" << copiedColumns1 << copiedColumns2;
    std::string targetStores, sourceStores;
    for (std::size_t position = 1; position <= stores.size(); ++position) {
        const std::string ee = storeSuffix(position);
        targetStores += (position > 1 ? "," : "") + ("AMT2" + ee + ",QTY2" + ee);
        sourceStores += (position > 1 ? "," : "") + ("T.R_A" + ee + ",T.R_Q" + ee);
    }
    insert << targetStores + ",ID)";
    insert << "SELECT " << copiedColumns1 << copiedColumns2 << sourceStores + ",";
    insert << "CASE WHEN T.R_SEQ < 1000 THEN LPAD(CAST(T.R_SEQ AS VARCHAR(20)), 3, '0') "
              "ELSE CAST(T.R_SEQ AS VARCHAR(20)) END";
    insert << "FROM (SELECT S.*,";
    insert << "  ROW_NUMBER() OVER (" + rowKey + " ORDER BY S.STORE_ID) AS R_FIRST";
    for (std::size_t position = 1; position <= stores.size(); ++position) {
        const std::string ee = storeSuffix(position);
        const std::string store = db::quote(stores[position - 1].id);
        insert << "  ,MAX(CASE WHEN S.STORE_ID = " + store + " THEN S.AMT2 END) " + partition + " AS R_A" + ee;
        insert << "  ,MAX(CASE WHEN S.STORE_ID = " + store + " THEN 1 END) " + partition + " AS R_Q" + ee;
    }
    insert << "  FROM (SELECT C.*, ROW_NUMBER() OVER (PARTITION BY C.PROVIDER_ID, C.BILL_YM, C.STORE_ID "
              "ORDER BY C.MASTERBILLID) AS R_SEQ";
    insert << "        FROM " + names.tableC + " C";
    insert << "        WHERE " + storeCondition(stores, "C.") + bankFilter(group) + ") S";
    insert << ") T";
    insert << "WHERE T.R_FIRST = 1";

    ReportTableFill fill;
    db::Transaction transaction(database);
    transaction.execute(insert);
    // The report date: the bill the bill-by-bill fill reads last, i.e. the last bill of the
    // last listed store that has bills.
    const auto last = transaction.query(db::SqlLines{
        "SELECT FIRST 1 BANK_DATE FROM " + names.tableC,
        "WHERE " + storeCondition(stores, "") + bankFilter(group),
        "ORDER BY STORE_ID DESC, PROVIDER_ID DESC, BILL_YM DESC, MASTERBILLID DESC"});
    transaction.commit();
    if (!last.isEmpty()) {
        fill.readBills = true;
        fill.lastBankDate = last.text(0, "BANK_DATE");
    }
    return fill;
}

bool setBasedFillApplies(db::Executor& database, const work::WorkNames& names, const std::vector<Store>& stores)
{
    if (stores.empty())
        return true;
    const std::string atListedStore = storeCondition(stores, "");
    const auto incomplete = database.lookup(db::SqlLines{
        "SELECT COUNT(*) FROM " + names.tableC,
        "WHERE " + atListedStore,
        "  AND (PROVIDER_ID IS NULL OR PROVIDER_ID = '' OR BILL_YM IS NULL OR MASTERBILLID IS NULL)"});
    if (incomplete != "0")
        return false;
    // A bill taken again by its own insert (any bank group) breaks the numbering.
    const auto repeated = database.query(db::SqlLines{
        "SELECT FIRST 1 PROVIDER_ID FROM " + names.tableC,
        "WHERE " + atListedStore,
        "GROUP BY PROVIDER_ID, MASTERBILLID, STORE_ID",
        "HAVING COUNT(*) > 1"});
    return repeated.isEmpty();
}

void zeroMissingStoreValues(db::Executor& database, const std::string& workTableD, std::size_t storeCount)
{
    db::SqlLines zeros;
    zeros << "UPDATE " + workTableD + " SET ";
    for (std::size_t position = 1; position <= storeCount; ++position) {
        const std::string ee = storeSuffix(position);
        zeros << "AMT2" + ee + " = (CASE WHEN AMT2" + ee + " IS NULL  THEN 0  ELSE  AMT2" + ee + " END),";
        zeros << "QTY2" + ee + " = (CASE WHEN QTY2" + ee + " IS NULL  THEN 0  ELSE  QTY2" + ee + " END),";
    }
    zeros << " AMT_T   = (CASE WHEN AMT_T    IS NULL  THEN 0  ELSE AMT_T    END)";
    database.execute(zeros);
}

void totalReportRows(db::Executor& database, const std::string& workTableD, std::size_t storeCount)
{
    const std::size_t columns = storeCount == 0 ? 1 : storeCount;
    db::SqlLines totals;
    totals << "UPDATE " + workTableD + " SET ";
    totals << " AMT_T  = AMT201" + std::string(columns == 1 ? "," : "");
    for (std::size_t position = 2; position <= columns; ++position)
        totals << " + AMT2" + storeSuffix(position) + (position == columns ? "," : "");
    totals << " QTY_T  = QTY201";
    for (std::size_t position = 2; position <= columns; ++position)
        totals << " + QTY2" + storeSuffix(position);
    database.execute(totals);
}

} // namespace remittance
