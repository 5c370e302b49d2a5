#pragma once
// A whole demo database in one call: a new database file, the back-office schema and the
// demo data.
#include "db/connection.h"
#include "demo/demo_data.h"

#include <memory>

namespace demo {

// Creates the database named by `params` and fills it. A database file that exists already
// is refused with a UserError and left as it is; a file this call created is removed again
// when filling it fails. Returns the attached connection.
std::unique_ptr<db::Connection> createDemoDatabase(const db::ConnectionParams& params, const DemoOptions& options);

} // namespace demo
