#pragma once
// The bank transfer files of one remittance: the bills of WorkTableC go to the file of their
// bank group (bank_group.h), same-bank or inter-bank; a bill without bank code to neither.
// After each file the bank's batch file is started. Built here
// in memory; the remit press writes them by the journal's protocol (journal/file_delivery.h).
#include "db/executor.h"

#include <string>
#include <vector>

namespace remittance {

struct TransferFileSettings {
    std::string bankPath;          // "路徑檔名" as typed; files are bank path + name + ".TXT"
    std::string defaultBankFolder; // used in place of an empty bank path for the files
    std::string interBankFileName; // the inter-bank file name; empty: no inter-bank file, no RMTR.BAT
    std::string sameBankFileName;  // the same-bank file name; empty: no same-bank file, no RTTR.BAT
    std::string remittanceDate;    // date string "yyyy/mm/dd"
};

// One bank group whose name edit is not empty.
struct TransferFile {
    std::string name;      // base name + ".TXT"
    std::string batchFile; // bank path + "RMTR.BAT" or "RTTR.BAT": started also for an empty group
    std::string content;   // the records, each ended by CR LF ("" when the group has no bill)
    int records = 0;
};

struct TransferFiles {
    // The bank path is expected to end with its separator: nothing is put between it and
    // the name, as the bank's own set-up writes these paths.
    std::string folder;
    // The ROC date text of the records, set when a group has bills (the report shows it when
    // its own list is empty); empty otherwise.
    std::string rocDate;
    std::vector<TransferFile> files;
};

// The records of `bills` (rows of WorkTableC), each ended by CR LF.
std::string transferFileContent(const std::string& rocDate, const db::RecordSet& bills);

// Reads WorkTableC per bank group (through `database`, which may be the press's transaction)
// and builds the files. A row the record layout cannot hold stops everything with one
// message listing each such bill.
TransferFiles buildTransferFiles(db::Executor& database, const std::string& workTableC,
                                 const TransferFileSettings& settings);

// Starts the bank's batch files, not waiting for them; a missing or failing one is not
// reported. Called once the stamps of the files' bills are committed and the files are in
// place, so the bank software never sends a file whose bills a failed commit left unstamped.
void startBatchFiles(const std::vector<std::string>& batchFiles, const std::string& bankPath);

} // namespace remittance
