#pragma once
// The completion of a work table of bills with the payee's and the payer's bank data: the
// provider's phone, bank, account holder, account number and remittance fee from PROVIDER,
// the paying account's bank, number, name, export file and contact from BANK_ACCOUNT, and the
// three-byte bank prefixes. The remittance and the inquiry runs fill the same columns from
// the same joins; this is the one statement piece both use.
#include <string>

namespace work {

struct PayeeSources {
    std::string book;     // alias of the bill book in the statement (its PROVIDER_ID is joined)
    std::string provider; // alias given to PROVIDER
    std::string account;  // alias given to BANK_ACCOUNT
};

// The target columns, comma-separated, without a trailing comma.
std::string payeeColumns();
// The select list that fills payeeColumns(), in the same order.
std::string payeeValues(const PayeeSources& sources);
// " LEFT OUTER JOIN PROVIDER p ON p.PROVIDER_ID = b.PROVIDER_ID "
std::string providerJoin(const PayeeSources& sources);
// " LEFT OUTER JOIN BANK_ACCOUNT a ON a.ACNT_ID = " + accountKey + " ": the paying account is
// the one a run chose (a quoted key) or each bill's own (its ACNT_ID column).
std::string accountJoin(const PayeeSources& sources, const std::string& accountKey);

} // namespace work
