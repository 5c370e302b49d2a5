#pragma once
// The provider statistics table (WorkTableB) of an inquiry run: one column group for the own
// store, or one per store of SLAVE_ITEM across stores.
#include "db/executor.h"
#include "work/progress.h"
#include "work/work_tables.h"

namespace inquiry {

void buildOwnStoreStatistics(db::Executor& database, const work::WorkNames& names, work::ProgressDisplay& progress);
void buildAllStoresStatistics(db::Executor& database, const work::WorkNames& names, work::ProgressDisplay& progress);

} // namespace inquiry
