#pragma once
// Stamping the remittance date into the payment books for bills listed in WorkTableA.
// A list made of bills not yet remitted claims each bill: the stamp takes a bill only while
// its BANK_DATE is still empty, so two clerks who listed the same bills cannot both send
// them to the bank. Runs inside the caller's transaction.
#include "db/executor.h"
#include "remittance/remittance_conditions.h"

#include <string>
#include <vector>

namespace remittance {

struct StampRequest {
    std::string tableA;           // WorkTableA of the run
    std::string remittanceDate;   // D, a date string
    Books books = Books::OwnStore;
    bool onlyUnstamped = false;   // the list was made with "未 匯 款"
    // The bill keys to stamp; empty `keys` with allRows stamps every row of WorkTableA.
    bool allRows = true;
    std::vector<std::string> keys;
};

// Stamps PAY_MASTER by MASTERBILLID and, for joint books, PAY_MASTERU by SECBILLID with the
// same key. Returns the keys that were left out because another stamp came first.
std::vector<std::string> stampBills(db::Executor& transaction, const StampRequest& request);

} // namespace remittance
