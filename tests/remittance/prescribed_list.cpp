#include "prescribed_list.h"

#include "db/sql.h"
#include "remittance/work_table_layout.h"

#include <cstdio>

namespace remittance_reference {

using namespace remittance;

namespace {

const char* const copiedColumns1 =
    "BILL_YM,PROVIDER_ID,PROVIDER_NAME,BANK_ID,BANK_NAME,BANK_TITLE,BANK_ACCID,PROVIDER_PHONE,BANK_ID2,BANK_DATE,";
const char* const copiedColumns2 =
    "ACNT_ID,P_BANK_ID,P_BANK_NAME,P_ACNT_NO,P_ACNT_NAME,ACNT_AMT,EXPORT_FILE,P_BANK_ID2,CON_PEOPLE,";

// The column suffix of the store at `position` in the store list (1-based).
std::string storeSuffix(std::size_t position)
{
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%02zu", position);
    return buffer;
}

// The bank filter of the bill query, as the list's statements write it.
std::string bankFilter(BankGroup group)
{
    return group == BankGroup::InterBank ? "  AND BANK_ID NOT LIKE  '016%' " : "  AND BANK_ID LIKE  '016%' ";
}

std::string sequenceText(long long counter)
{
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%03lld", counter);
    return buffer;
}

// "STORE_ID IN ('01','02',...)": the bills of the listed stores (the list is not empty).
} // namespace

ReportTableFill prescribedListFill(db::Connection& database, const work::WorkNames& names,
                                   const std::vector<Store>& stores, BankGroup group)
{
    ReportTableFill fill;
    db::Transaction transaction(database);
    for (std::size_t position = 1; position <= stores.size(); ++position) {
        const std::string& storeId = stores[position - 1].id;
        const std::string ee = storeSuffix(position);
        // Within a provider and month the bill key decides the sequence, so that a list
        // printed twice numbers the bills the same way.
        const auto bills = transaction.query(
            db::SqlLines{"SELECT *  FROM " + names.tableC + " WHERE STORE_ID  = " + db::quote(storeId) +
                         bankFilter(group) + " ORDER BY PROVIDER_ID,BILL_YM,MASTERBILLID"});
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
                "SELECT * FROM " + names.tableD, "WHERE PROVIDER_ID  = " + db::quote(provider),
                "  AND BILL_YM      = " + db::quote(month), "  AND ID           = " + db::quote(sequence)});
            if (!existing.isEmpty() && !existing.text(0, "PROVIDER_ID").empty()) {
                transaction.execute(db::SqlLines{
                    "UPDATE " + names.tableD + " SET ", "QTY2" + ee + " ='1' ,",
                    "AMT2" + ee + " =(SELECT AMT2 FROM " + names.tableC, "WHERE PROVIDER_ID  = " + db::quote(provider),
                    "  AND MASTERBILLID = " + db::quote(billId), "  AND BILL_YM      = " + db::quote(month),
                    "  AND STORE_ID     = " + db::quote(storeId) + ")", "WHERE PROVIDER_ID  = " + db::quote(provider),
                    "  AND BILL_YM      = " + db::quote(month), "  AND ID           = " + db::quote(sequence)});
            } else {
                transaction.execute(db::SqlLines{"INSERT INTO " + names.tableD + "(", copiedColumns1, copiedColumns2,
                                                 "AMT2" + ee + ",QTY2" + ee + ",ID)", "SELECT ", copiedColumns1,
                                                 copiedColumns2, "AMT2,'1'," + db::quote(sequence) + " ",
                                                 "FROM " + names.tableC, "WHERE PROVIDER_ID  = " + db::quote(provider),
                                                 "  AND MASTERBILLID = " + db::quote(billId),
                                                 "  AND STORE_ID     = " + db::quote(storeId)});
            }
        }
    }
    transaction.commit();
    return fill;
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

} // namespace remittance_reference
