#pragma once
// The statements that select the bills of a remittance condition confirm: the view
// WorkViewA over the chosen books, the fill of WorkTableA with every bill completed from
// PROVIDER, BANK_ACCOUNT and SLAVE_ITEM in one INSERT ... SELECT, and the fill of WorkTableB,
// which shares the view's conditions except the store.
#include "db/sql.h"
#include "remittance/remittance_conditions.h"

#include <string>
#include <vector>

namespace remittance {

// The condition lines on the books aliased "b", the first beginning "WHERE"; the store line
// only when asked and a store key is given.
std::vector<std::string> selectionConditions(const Selection& selection, bool withStore);

db::SqlLines createSelectionView(const std::string& viewName, const Selection& selection);

// WorkTableA's rows: the view's bills joined with their provider, the paying account and
// (joint books) their store, every derived column computed in the select.
db::SqlLines fillBillTable(const std::string& tableA, const Selection& selection);

db::SqlLines fillBillProviderPairs(const std::string& tableB, const Selection& selection);

} // namespace remittance
