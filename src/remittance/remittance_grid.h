#pragma once
// The remittance grid's record set: its declared fields and its statement.
#include "db/executor.h"
#include "db/record_set.h"

#include <string>
#include <vector>

namespace remittance {

// The eight shown fields with their titles and widths, then the hidden ones.
const std::vector<db::FieldDecl>& remittanceGridFields();

// Closes the record set and opens it again on "SELECT * FROM {WorkTableA} ORDER BY PROVIDER_ID".
void openRemittanceGrid(db::Executor& database, db::RecordSet& grid, const std::string& tableA);

} // namespace remittance
