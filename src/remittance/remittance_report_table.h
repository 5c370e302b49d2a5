#pragma once
// WorkTableD, the rows of the remittance list: one row per provider, month and sequence
// number, carrying for every store the amount and count of that store's bill with this
// sequence number (the k-th bill of the provider in the month at that store), then the row
// totals.
#include "db/connection.h"
#include "work/work_tables.h"

#include <string>
#include <vector>

namespace remittance {

struct Store {
    std::string id;   // STORE_ID
    std::string name; // STORE_NAME
};

// Every store of SLAVE_ITEM in STORE_ID order: the store columns of WorkTableD and the store
// names of the report header follow this list, however many stores there are.
std::vector<Store> readStoreList(db::Executor& database);

// bsSkinRadioGroup16: which bank group the list shows.
enum class ReportBankGroup { InterBank = 0, SameBank = 1 };
std::string bankFilter(ReportBankGroup group); // the condition line appended to the bill query

struct ReportTableFill {
    bool readBills = false;   // at least one bill of the chosen group at a listed store
    std::string lastBankDate; // BANK_DATE of the last bill read (the report date)
};

// Fills WorkTableD from WorkTableC (rows only; zeros and totals follow).
// Bills are numbered within provider, month and store in bill-key order. Uses one set-based
// statement when the bills allow it (setBasedFillApplies), the bill-by-bill statements
// otherwise; both leave the same rows.
ReportTableFill fillReportTable(db::Connection& database, const work::WorkNames& names,
                                const std::vector<Store>& stores, ReportBankGroup group);

// The bill-by-bill fill: per bill a look-up of its row, then an update of the store's
// columns or the insert of a new row, all in one transaction.
ReportTableFill fillReportTableBillByBill(db::Connection& database, const work::WorkNames& names,
                                          const std::vector<Store>& stores, ReportBankGroup group);

// The same rows from one INSERT ... SELECT that numbers the bills with ROW_NUMBER().
ReportTableFill fillReportTableSetBased(db::Connection& database, const work::WorkNames& names,
                                        const std::vector<Store>& stores, ReportBankGroup group);

// True when every bill at a listed store has a provider, a month and a bill key, and no
// provider, bill key and store occur twice: then both fills leave the same rows. Otherwise
// the bill-by-bill statements decide (a repeated bill makes their sub-select fail).
bool setBasedFillApplies(db::Executor& database, const work::WorkNames& names, const std::vector<Store>& stores);

// Missing amounts and counts of every store become 0, as does a missing AMT_T.
void zeroMissingStoreValues(db::Executor& database, const std::string& workTableD, std::size_t storeCount);
// AMT_T and QTY_T take the row's totals over all stores. The first store's columns are
// always named: WorkTableD has them also when there is no store.
void totalReportRows(db::Executor& database, const std::string& workTableD, std::size_t storeCount);

} // namespace remittance
