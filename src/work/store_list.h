#pragma once
// The chain's stores as every page lists them: the store combo, the store column groups of
// the work tables and the store names in the reports all follow this one list.
#include "db/executor.h"

#include <string>
#include <vector>

namespace work {

struct Store {
    std::string id;   // STORE_ID
    std::string name; // STORE_NAME (a NULL reads as empty)
};

// Every store of SLAVE_ITEM in STORE_ID order.
std::vector<Store> readStores(db::Executor& database);

} // namespace work
