#include "remittance/transfer_files.h"

#include "db/sql.h"
#include "platform/file_replace.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "remittance/transfer_file_record.h"
#include "remittance/transfer_record_check.h"
#include "text/error.h"

namespace remittance {
namespace {

struct BankGroup {
    std::string fileName;    // base name from the tab; empty: the group is skipped
    std::string condition;   // the WHERE line of its bills
    std::string batchFile;   // the bank's batch file started after it
    db::RecordSet bills;
};

// The rows a record could not carry, listed in one message before anything is written.
void refuseUnwritableRows(const std::vector<BankGroup>& groups)
{
    std::vector<RefusedRow> refused;
    for (const BankGroup& group : groups) {
        for (std::size_t r = 0; r < group.bills.rowCount(); ++r) {
            const TransferRow row = transferRowAt(group.bills, r);
            auto problems = transferRecordProblems(
                {.bankId = row.bankId, .accountNo = row.bankAccId, .accountHolder = row.bankTitle, .amount = row.amount});
            if (!problems.empty())
                refused.push_back({group.bills.text(r, "PROVIDER_ID"), group.bills.text(r, "MASTERBILLID"),
                                   std::move(problems)});
        }
    }
    if (!refused.empty())
        throw text::UserError(refusedRowsMessage(refused));
}

} // namespace

std::string transferFileContent(const std::string& rocDate, const db::RecordSet& bills)
{
    std::string content;
    content.reserve(bills.rowCount() * (transferRecordWidth + 2));
    for (std::size_t r = 0; r < bills.rowCount(); ++r)
        content += transferRecord(rocDate, transferRowAt(bills, r)) + "\r\n";
    return content;
}

void writeTransferFile(const std::string& path, const std::string& content)
{
    if (!platform::replaceWholeFile(path, content))
        throw text::UserError(text::formatMessage("Unable to write to %s", platform::pathForDisplay(path)));
}

TransferFilesOutcome writeTransferFiles(db::Executor& database, const std::string& workTableC,
                                        const TransferFileSettings& settings)
{
    std::vector<BankGroup> groups;
    if (!settings.interBankFileName.empty())
        groups.push_back({settings.interBankFileName, "WHERE BANK_ID NOT LIKE  '016%' ", "RMTR.BAT", {}});
    if (!settings.sameBankFileName.empty())
        groups.push_back({settings.sameBankFileName, "WHERE BANK_ID LIKE  '016%' ", "RTTR.BAT", {}});

    TransferFilesOutcome outcome;
    bool anyBills = false;
    for (BankGroup& group : groups) {
        group.bills = database.query(db::SqlLines{
            "SELECT *  FROM " + workTableC, group.condition, "ORDER BY ACNT_ID,BILL_DATE,PROVIDER_ID"});
        anyBills = anyBills || !group.bills.isEmpty();
    }
    if (anyBills) {
        outcome.rocDate = rocDateField(settings.remittanceDate);
        refuseUnwritableRows(groups);
    }

    // The bank path is expected to end with its separator: nothing is put between it and
    // the name, as the bank's own set-up writes these paths.
    const std::string folder = settings.bankPath.empty() ? settings.defaultBankFolder : settings.bankPath;
    for (const BankGroup& group : groups) {
        if (!group.bills.isEmpty()) {
            const std::string path = folder + group.fileName + ".TXT";
            writeTransferFile(path, transferFileContent(outcome.rocDate, group.bills));
            outcome.writtenFiles.push_back(path);
        }
        // Started also when the group had no bill; whether it runs is the bank software's
        // business and is not reported.
        outcome.batchFiles.push_back(settings.bankPath + group.batchFile);
    }
    return outcome;
}

void startBatchFiles(const TransferFilesOutcome& outcome, const std::string& bankPath)
{
    for (const std::string& batchFile : outcome.batchFiles)
        (void)platform::startDetached(batchFile, bankPath);
}

void discardTransferFiles(const TransferFilesOutcome& outcome)
{
    for (const std::string& path : outcome.writtenFiles)
        platform::removeFileQuietly(path);
}

} // namespace remittance
