#pragma once
// A generated back-office book for tests that compare two ways of building the same work
// tables: both payment books, stores listed and missing, providers and accounts with and
// without their data, NULLs where the schema allows them, quotes in texts and Big5
// characters whose trail byte is a quote-like or wildcard byte. Deterministic for a seed.
#include "db/connection.h"

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// Which stores SLAVE_ITEM lists.
enum class StoreList {
    Several,      // four stores, one of them without a name
    None,         // an empty SLAVE_ITEM
    One,          // a single store
    EmptyIdFirst, // the first store in STORE_ID order has the empty id
};

struct BookOptions {
    StoreList stores = StoreList::Several;
    int billsPerBook = 160;
    std::uint32_t seed = 1;
};

// The ids of what the book holds, for choosing conditions.
struct GeneratedBook {
    std::vector<std::string> storeIds;    // listed in SLAVE_ITEM
    std::vector<std::string> accountIds;  // A1 (complete), A2 (NULLs), A9 (bills only: missing)
    std::vector<std::string> providerIds; // in PROVIDER; bills also name missing and NULL providers
    std::string firstDay, lastDay;        // the range of PAY_DATE and BILL_DATE
};

GeneratedBook generateBook(db::Executor& database, const BookOptions& options);

} // namespace testing_support
