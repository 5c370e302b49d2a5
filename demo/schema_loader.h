#pragma once
// Runs an isql-style script (statements ended by ';', "SET TERM" changing the terminator for
// PSQL bodies, "--" and "/* */" comments) statement by statement, each committed on its own.
#include "db/connection.h"

#include <string>

namespace demo {

void runScript(db::Connection& connection, const std::string& script);
// Reads demo/schema.sql (or the given file) and runs it.
void createSchema(db::Connection& connection, const std::string& schemaFile = DESK_SCHEMA_FILE_DEFAULT);

} // namespace demo
