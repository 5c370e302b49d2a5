#pragma once
// The statements that select the bills of a remittance condition confirm: the view
// WorkViewA over the chosen books, and the fill of WorkTableB, which shares the view's
// conditions except the store.
#include "db/sql.h"
#include "remittance/remittance_conditions.h"

#include <string>
#include <vector>

namespace remittance {

// The condition lines, the first beginning "WHERE"; the store line only when asked and a
// store key is given.
std::vector<std::string> selectionConditions(const Selection& selection, bool withStore);

db::SqlLines createSelectionView(const std::string& viewName, const Selection& selection);

db::SqlLines fillBillProviderPairs(const std::string& tableB, const Selection& selection);

} // namespace remittance
