#pragma once
// The provider statistics table (WorkTableB) of an inquiry run: one column group for the own
// store, or one per store of SLAVE_ITEM across stores. The table is created before the run's
// rows are filled and filled by one grouped statement in the run's transaction.
#include "db/executor.h"
#include "db/sql.h"
#include "work/store_list.h"
#include "work/work_tables.h"

#include <string>
#include <vector>

namespace inquiry {

enum class Scope;

struct StatisticsPlan {
    bool allStores = false;
    std::vector<work::Store> stores; // SLAVE_ITEM in STORE_ID order (across stores)
    // One column group per store of the chain; the own store, or a chain without store ids,
    // keeps one group.
    int groups() const
    {
        if (!allStores || stores.empty() || stores.front().id.empty())
            return 1;
        return static_cast<int>(stores.size());
    }
};

StatisticsPlan planStatistics(db::Executor& database, Scope scope);

// INSERT INTO WorkTableB ... SELECT ... FROM WorkTableA GROUP BY ...:
// - own store: a row per provider code and name, group 01 "9999" / 本店;
// - across stores with several groups: a row per provider code and name, group n holding the
//   n-th store's id and name and the provider's sums over that store's rows (null where it
//   has none; a provider without code has none);
// - across stores with one group: a row per provider code, name and store id, the store's
//   name from SLAVE_ITEM.
db::SqlLines fillStatistics(const StatisticsPlan& plan, const work::WorkNames& names);

} // namespace inquiry
