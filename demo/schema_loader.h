#pragma once
// Runs an isql-style script (statements ended by ';', "SET TERM" changing the terminator for
// PSQL bodies, "--" and "/* */" comments) statement by statement, each committed on its own.
#include "db/connection.h"

#include <string>

namespace demo {

void runScript(db::Connection& connection, const std::string& script);
// Runs the back-office schema (demo/schema.sql, or the given file), then the desk's roles and
// their grants (demo/roles.sql). Both scripts are built into the program.
void createSchema(db::Connection& connection);
void createSchema(db::Connection& connection, const std::string& schemaFile);

} // namespace demo
