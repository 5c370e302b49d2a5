#pragma once
// What the window reads from the back office when it is shown, and the fee housekeeping it
// does then: statements below the window, which only fills its combo boxes from them.
#include "db/executor.h"

#include <string>
#include <vector>

namespace work {

// REP_TITLE of the first PUB_PARAM row; empty when the table has no rows.
std::string readReportTitle(db::Executor& database);
// "ACNT_ID,ACNT_NAME" entries of the bank accounts, in account order.
std::vector<std::string> bankAccountEntries(db::Executor& database);
// "STORE_ID,STORE_NAME" entries of the stores, in store order.
std::vector<std::string> storeEntries(db::Executor& database);
// Providers without a remittance fee get fee 0.
void clearMissingProviderFees(db::Executor& database);

} // namespace work
