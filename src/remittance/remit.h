#pragma once
// The remit press, one module operation: "全部匯款" remits every row of
// the grid, "選擇性匯款" the rows whose CHKED is "Y". The press checks
// that every row it would stamp lands in exactly one transfer record, asks before remitting
// rows the list shows as remitted already, claims each bill by its listed state, stamps it
// (when "產生匯款檔案" is ticked), copies the rows into WorkTableC, writes the transfer files
// under temporary names, journals the run with the files' bytes, commits, puts the files in
// place, starts the bank's batch files and hands the remittance list to the report library.
// A crash at any step is finished or undone by the journal's recovery (journal/file_delivery.h).
#include "remittance/output_routine.h"
#include "remittance/remittance_desk.h"
#include "remittance/transfer_record_check.h"

#include <string>
#include <vector>

namespace remittance {

enum class RemitScope { AllRows, TickedRows };

struct BillOnList {
    std::string providerId, billId; // Big5
};

// A bill left out because its state changed since the list was made.
struct LeftOutBill {
    std::string providerId, billId; // Big5
    std::string stampNow;           // its BANK_DATE now, "" when none or unknown
};

struct WrittenFile {
    std::string path; // where it was put
    int records = 0;
};

struct RemitResult {
    enum class Outcome {
        Remitted,     // committed (or, with the switch off, copied and reported)
        ConfirmAgain, // no condition confirm stands behind the grid: "請重新 條件確認...... "
        Refused,      // rows no file could carry: `refused` says which and why; nothing changed
        Declined,     // the clerk answered "no" to remitting remitted rows again; nothing changed
    };
    Outcome outcome = Outcome::ConfirmAgain;
    long long runId = 0;             // the journal's run, 0 when nothing was journalled
    std::vector<BillOnList> stamped; // bills stamped by this press
    std::vector<LeftOutBill> leftOut;
    std::vector<RefusedRow> refused;
    std::vector<WrittenFile> files;
    // The files of bank groups this press had no bill for: none written, and a file of that
    // name already in the folder is an earlier one, not this press's.
    std::vector<std::string> notWritten;
    std::string recoveryNotice;               // UTF-8: what recovery before the press did, "" for nothing
    std::vector<std::string> placingProblems; // UTF-8: a file that could not be put in place after the commit

    // The messages for the clerk, in the order to show them (UTF-8): what went wrong or needs
    // a look; none after a press that went through as asked.
    std::vector<std::string> messages() const;
    // After a press that stamped bills, what it did: the bills and each file written where
    // with its records (UTF-8), shown after the messages; "" otherwise.
    std::string summary() const;
};

// `tab` are the remittance tab's controls as they stand at the press (the switch, the
// remittance date and the books among them). Throws text::UserError for an invalid date, a
// failing statement, a bank folder that cannot take the files (nothing stamped then) and a
// failing report launch (the stamps and files stand then).
RemitResult remit(RemittanceDesk& desk, RemitScope scope, const OutputControls& tab);

// The message naming bills left out (UTF-8).
std::string leftOutMessage(const std::vector<LeftOutBill>& bills);

} // namespace remittance
