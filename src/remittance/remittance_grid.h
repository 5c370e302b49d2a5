#pragma once
// The remittance grid's record set: how the grid shows it and its statement.
#include "db/executor.h"
#include "db/record_set.h"
#include "work/grid_columns.h"

#include <string>
#include <vector>

namespace remittance {

// The eight shown fields with their titles and widths, then the hidden ones.
const work::GridColumns& remittanceGridFields();

// Closes the record set and opens it again on "SELECT * FROM {WorkTableA} ORDER BY PROVIDER_ID".
void openRemittanceGrid(db::Executor& database, db::RecordSet& grid, const std::string& tableA);

} // namespace remittance
