#pragma once
// Stamping (or clearing) the remittance date in the payment books for listed bills. Every
// press claims each bill by the state the list showed: the stamp takes a bill only while its
// BANK_DATE is still as listed, compared and set in one statement, so two clerks who listed
// the same bills cannot both send them to the bank, and a clearing never undoes another
// clerk's fresh stamp. Each bill taken is journalled in the same pass. Runs inside the
// press's transaction.
#include "db/executor.h"
#include "remittance/remittance_conditions.h"

#include <optional>
#include <string>
#include <vector>

namespace remittance {

struct StampRequest {
    long long runId = 0;                // the journal's run
    std::string listTable;              // WorkTableA (remit) or WorkTableB (clearing): keys and listed BANK_DATE
    std::optional<std::string> newDate; // D; nullopt clears the stamp
    Books books = Books::OwnStore;
    bool listHasAmounts = true; // WorkTableA carries AMT2; WorkTableB does not
    // The bill keys to take; `allRows` takes every row of the list table.
    bool allRows = true;
    std::vector<std::string> keys;
    // Providers whose listed bills are taken (clearing); empty for none.
    std::vector<std::string> providers;
};

// A bill whose state changed since it was listed.
struct ChangedBill {
    std::string key;
    std::string stampNow; // its BANK_DATE now ("" when none)
};

// Stamps the books' bill by its key (PAY_MASTERU by SECBILLID for joint books, and then
// PAY_MASTER by MASTERBILLID with the same key). Returns the bills left out because their
// state changed since the list, or because another press holds them and committed first.
std::vector<ChangedBill> stampBills(db::Executor& transaction, const StampRequest& request);

} // namespace remittance
