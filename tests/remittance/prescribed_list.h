#pragma once
// The remittance list's WorkTableD built bill by bill: per bill of each store a look-up of its
// row, then an update of the store's columns or the insert of a new row; then one update for
// the zeros and one for the row totals. The program fills the same table with one statement;
// this sequence is the reference the tests hold it to, on bills that occur once each with a
// provider code, as WorkTableC holds them.
#include "remittance/remittance_report_table.h"

namespace remittance_reference {

remittance::ReportTableFill prescribedListFill(db::Connection& database, const work::WorkNames& names,
                                               const std::vector<remittance::Store>& stores,
                                               remittance::BankGroup group);
void zeroMissingStoreValues(db::Executor& database, const std::string& workTableD, std::size_t storeCount);
void totalReportRows(db::Executor& database, const std::string& workTableD, std::size_t storeCount);

} // namespace remittance_reference
