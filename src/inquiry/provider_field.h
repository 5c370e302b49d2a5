#pragma once
// The provider code field of the inquiry tab: the list of all providers the lookup dialog
// shows, and the name look-up when the clerk leaves the code edit.
#include "db/executor.h"
#include "db/record_set.h"
#include "work/grid_columns.h"

#include <string>

namespace inquiry {

// Every provider's code and name in code order.
db::RecordSet openProviderList(db::Executor& database);
// The fields the lookup dialog lists of it.
const work::GridColumns& providerListColumns();

// The name of the provider with exactly this code; "" when none matches (or its name is empty).
std::string providerName(db::Executor& database, const std::string& code);

} // namespace inquiry
