#pragma once
// The payment journal's tables: the one record of what was paid. A row per committed press
// (PAY_RUN, its id from the generator PAY_RUN_SEQ), a row per bill it touched (PAY_RUN_BILL,
// the stamp before and after), a row per file it wrote (PAY_RUN_FILE: folder, name, records,
// size, SHA-256 and the bytes), and a row each time a file was put in its place or found
// overtaken by a later run's file of the same name (PAY_RUN_PLACED), and a row per cheque a
// cheque run issued or voided (PAY_RUN_CHEQUE). Clerks insert into them;
// triggers refuse every change and deletion (a file row takes its bytes in pieces and is
// sealed by its checksum).
#include "db/connection.h"

#include <string>
#include <vector>

namespace journal {

// The statements that create the journal, in order (the same as at the end of the demo schema).
const std::vector<std::string>& journalDefinition();

bool journalTablesPresent(db::Executor& database);

// Creates the journal in a database that lacks it (the chain's database predates it), or the
// tables a journal of an earlier version lacks.
// Returns the message for the clerk when it created them, "" when they were there. Throws
// text::UserError with the server's reason when they cannot be created.
std::string ensureJournalTables(db::Connection& database);

} // namespace journal
