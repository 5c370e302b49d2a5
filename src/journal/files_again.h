#pragma once
// Making a run's transfer files again, byte for byte, from the journal: for a bank that lost
// a file, or a folder cleaned too early. They go into a folder the clerk picks, by default a
// sub-folder named after the run beside the bank's live names, never over them unasked.
#include "db/executor.h"

#include <string>
#include <vector>

namespace journal {

// "<bank folder>RUN<id>/": where a run's files are made again unless the clerk says otherwise.
std::string filesAgainFolder(const std::string& bankFolder, long long runId);

// The names of the run's files that already exist in `folder` (the question before they are
// replaced).
std::vector<std::string> filesAgainWouldReplace(db::Executor& database, long long runId, const std::string& folder);

// Writes each of the run's files into `folder` (created when missing), each through a
// temporary file and a rename, and checks every one against the journal's SHA-256. Returns
// the full paths written. Throws text::UserError naming the file that could not be written,
// or when the run wrote no file.
std::vector<std::string> writeFilesAgain(db::Executor& database, long long runId, const std::string& folder);

} // namespace journal
