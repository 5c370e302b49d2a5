#pragma once
// The remittance list's WorkTableD as the list's documented statements build it, bill by bill:
// per bill of each store a look-up of its row, then an update of the store's columns or the
// insert of a new row; then one update for the zeros and one for the row totals. The statements
// are replayed as written, with their own texts (bank filter, suffixes, sequence numbers); the
// one change is the bill key added to the bill query's order, which the documented order
// (provider, month) leaves to the server. This is the documented result the list's one
// implementation is held to, on what the data guarantees: WorkTableC holds each bill once (its
// key is the book's primary key, copied once by one press) and, for this comparison, with a
// provider code and a month.
#include "remittance/remittance_report_table.h"

namespace remittance_reference {

remittance::ReportTableFill prescribedListFill(db::Connection& database, const work::WorkNames& names,
                                               const std::vector<remittance::Store>& stores,
                                               remittance::BankGroup group);
void zeroMissingStoreValues(db::Executor& database, const std::string& workTableD, std::size_t storeCount);
void totalReportRows(db::Executor& database, const std::string& workTableD, std::size_t storeCount);

} // namespace remittance_reference
