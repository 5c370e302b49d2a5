#pragma once
// The columns of the remittance run's work tables. WorkTableA and WorkTableC share one
// layout of 38 columns; WorkTableD wraps part of it around one column group per store.
#include "db/sql.h"

#include <string>
#include <vector>

namespace remittance {

struct WorkColumn {
    std::string name;
    std::string type; // as written in CREATE TABLE
};

// The 38 columns of WorkTableA (and WorkTableC), in table order.
const std::vector<WorkColumn>& billColumns();

// The columns of WorkTableD for `storeCount` store groups (at least one group is built).
std::vector<WorkColumn> summaryColumns(int storeCount);

// CREATE TABLE {name} ( ... ) with one line per column.
db::SqlLines createTable(const std::string& name, const std::vector<WorkColumn>& columns);

// The copy of WorkTableA rows into WorkTableC: the 38 columns named on both sides. With a
// non-empty `bankDateValue` the select list carries that quoted value in place of BANK_DATE.
// `conditionLines` (each with its own leading blank) follow the FROM line.
db::SqlLines copyBillRows(const std::string& tableA, const std::string& tableC, const std::string& bankDateValue,
                          const std::vector<std::string>& conditionLines);

} // namespace remittance
