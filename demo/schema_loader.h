#pragma once
// Runs an isql-style script (statements ended by ';', "SET TERM" changing the terminator for
// PSQL bodies, "--" and "/* */" comments) statement by statement, each committed on its own.
#include "db/connection.h"

#include <string>

namespace demo {

void runScript(db::Connection& connection, const std::string& script);
// Reads demo/schema.sql (or the given file) and runs it, then the desk's roles and their
// grants (demo/roles.sql; an empty `rolesFile` leaves them out).
void createSchema(db::Connection& connection, const std::string& schemaFile = DESK_SCHEMA_FILE_DEFAULT,
                  const std::string& rolesFile = DESK_ROLES_FILE_DEFAULT);

} // namespace demo
