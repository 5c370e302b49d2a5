#pragma once
// WorkTableD, the rows of the remittance list: one row per provider, month and sequence
// number, carrying for every store the amount and count of that store's bill with this
// sequence number (the k-th bill of the provider in the month at that store), then the row
// totals.
#include "db/connection.h"
#include "remittance/bank_group.h"
#include "work/store_list.h"
#include "work/work_tables.h"

#include <string>
#include <vector>

namespace remittance {

using work::Store;

struct ReportTableFill {
    bool readBills = false;   // at least one bill of the chosen group at a listed store
    std::string lastBankDate; // BANK_DATE of the last bill read (the report date)
};

// The store list of the list: for joint books every store of SLAVE_ITEM (work::readStores); for
// own-store books the one own store, whose bills carry the empty STORE_ID, named 本店.
std::vector<Store> listStores(db::Executor& database, bool jointBooks);

// Fills WorkTableD from WorkTableC with one INSERT ... SELECT, complete with zeros for the
// stores without a bill in a row and the row totals. WorkTableC holds each bill once (its
// rows are WorkTableA's, keyed by the book's primary key, copied by one press), so the bills
// are numbered within provider, month and store in bill-key order by ROW_NUMBER(); a row
// takes its provider and bank data from the bill of the first store in the list. The
// numbering sorts only the keys; the copied columns are fetched by each row's record key.
// Bills without a provider code form their own group instead of being lost.
ReportTableFill fillReportTable(db::Connection& database, const work::WorkNames& names,
                                const std::vector<Store>& stores, BankGroup group);

} // namespace remittance
