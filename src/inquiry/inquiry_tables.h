#pragma once
// The shapes the inquiry builds: the fields the grid record set declares, and the column lines
// of the detail table (WorkTableA) and the provider statistics table (WorkTableB).
#include "db/executor.h"
#include "db/record_set.h"
#include "db/sql.h"
#include "work/grid_columns.h"

#include <string>
#include <vector>

namespace inquiry {

// How the inquiry grid shows its record set, in order: the nine grid columns first.
const work::GridColumns& inquiryFields();

// Opens `sql` into the grid record set: closed first, so a failure leaves it closed.
void openGrid(db::Executor& database, const db::SqlLines& sql, db::RecordSet& grid);

// "CREATE TABLE <name> ( ", one line per column, ")".
db::SqlLines createDetailTable(const std::string& name);

// The statistics table with `groups` store column groups. Its trailing columns carry AMT2,
// CASH_AMT and PAGE_AMT whatever the number of groups, so the grid's declared fields and the
// statistics report find them on either run.
db::SqlLines createStatisticsTable(const std::string& name, int groups);

} // namespace inquiry
