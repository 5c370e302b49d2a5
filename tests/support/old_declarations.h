#pragma once
// STRLEN and SUBSTR declared as earlier versions of the schema declared them, for texts of up
// to 32765 bytes: databases created then keep these declarations.
#include "db/executor.h"

namespace testing_support {

inline void declareFunctionsAsBefore(db::Executor& database)
{
    database.execute("ALTER FUNCTION STRLEN (S VARCHAR(32765) CHARACTER SET NONE) RETURNS INTEGER AS "
                     "BEGIN RETURN COALESCE(OCTET_LENGTH(S), 0); END");
    database.execute("ALTER FUNCTION SUBSTR (S VARCHAR(32765) CHARACTER SET NONE, FIRST_POS INTEGER, LAST_POS INTEGER) "
                     "RETURNS VARCHAR(32765) CHARACTER SET NONE AS BEGIN "
                     "IF (S IS NULL OR FIRST_POS IS NULL OR LAST_POS IS NULL) THEN RETURN ''; "
                     "IF (FIRST_POS < 1 OR LAST_POS < FIRST_POS OR FIRST_POS > OCTET_LENGTH(S)) THEN RETURN ''; "
                     "RETURN SUBSTRING(S FROM FIRST_POS FOR LAST_POS - FIRST_POS + 1); END");
}

} // namespace testing_support
