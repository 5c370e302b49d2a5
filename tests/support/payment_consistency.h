#pragma once
// The books against the bank folders after any number of presses, crashes and recoveries:
// what the crash tests and the soak run both hold the desk to.
//  - every bill stamped is in exactly one record of a transfer file in place;
//  - every file in place holds the very bytes a committed run journalled for that folder and
//    name, and each of its records carries a bill that run stamped, still as the run left it;
//  - no temporary file is left in the folders;
//  - no work table or view of an attachment that no longer exists is left in the database.
#include "db/executor.h"

#include <functional>
#include <string>
#include <vector>

namespace testing_support {

struct PaymentScope {
    std::vector<std::string> bankFolders; // every folder the presses wrote to
    std::string billCondition = "1 = 1";  // the PAY_MASTER bills under check, as an SQL condition
    // The MASTERBILLID a 175-byte transfer record carries (the tests give each bill a
    // provider of its own whose account number names the bill).
    std::function<std::string(const std::string& record)> billKeyOf;
};

struct PaymentConsistency {
    std::vector<std::string> findings; // empty when everything holds
    long stampedBills = 0;
    long filesInPlace = 0;
    long records = 0;
};

// Everything but the work objects.
PaymentConsistency checkBooksAgainstFolders(db::Executor& database, const PaymentScope& scope);

// Work tables and views whose attachment the server no longer lists.
std::vector<std::string> orphanedWorkObjects(db::Executor& database);

// Both: the check after every workstation has started again or closed.
PaymentConsistency checkPaymentConsistency(db::Executor& database, const PaymentScope& scope);

} // namespace testing_support
