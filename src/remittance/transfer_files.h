#pragma once
// The bank transfer files of one remittance: the bills of WorkTableC whose provider banks
// at a bank code beginning with "016" go to the same-bank file, all other bills with a bank
// code to the inter-bank file; after each file the bank's batch file is started.
#include "db/executor.h"

#include <string>
#include <vector>

namespace remittance {

struct TransferFileSettings {
    std::string bankPath;           // bsSkinEdit15 as typed; files are bank path + name + ".TXT"
    std::string defaultBankFolder;  // used in place of an empty bank path for the files
    std::string interBankFileName;  // bsSkinEdit_FILEa; empty: no inter-bank file, no RMTR.BAT
    std::string sameBankFileName;   // bsSkinEdit_FILEb; empty: no same-bank file, no RTTR.BAT
    std::string remittanceDate;     // date string "yyyy/mm/dd"
};

struct TransferFilesOutcome {
    // The ROC date text of the records, set when a file query found rows (the report shows
    // it when its own list is empty); empty otherwise.
    std::string rocDate;
    std::vector<std::string> writtenFiles; // the transfer files written, full paths
    std::vector<std::string> batchFiles;   // the bank's batch files to start, in order
};

// The records of `bills` (rows of WorkTableC), each ended by CR LF.
std::string transferFileContent(const std::string& rocDate, const db::RecordSet& bills);

// Replaces the file `path` with `content` through a temporary file renamed over it, so a
// failure never leaves a truncated transfer file; throws "Unable to write to %s".
void writeTransferFile(const std::string& path, const std::string& content);

// Every row that goes into a file is checked before the first file is written; a row the
// record layout cannot hold stops everything with one message listing each such bill.
// The batch files are not started here: see startBatchFiles.
TransferFilesOutcome writeTransferFiles(db::Executor& database, const std::string& workTableC,
                                        const TransferFileSettings& settings);

// Starts the bank's batch files of a write, not waiting for them; a missing or failing one is
// not reported. Called once the stamps of the files' bills are committed, so the bank software
// never sends a file whose bills a failed commit left unstamped.
void startBatchFiles(const TransferFilesOutcome& outcome, const std::string& bankPath);

// Removes the transfer files of a write whose stamps did not commit.
void discardTransferFiles(const TransferFilesOutcome& outcome);

} // namespace remittance
