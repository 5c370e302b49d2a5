#include "remittance/transfer_files.h"

#include "db/sql.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "remittance/bank_group.h"
#include "remittance/transfer_file_record.h"
#include "remittance/transfer_record_check.h"
#include "text/error.h"

namespace remittance {
namespace {

struct GroupFile {
    std::string fileName;  // base name from the tab; empty: the group is skipped
    std::string condition; // the WHERE line of its bills
    std::string batchFile; // the bank's batch file started after it
    db::RecordSet bills;
};

// The rows a record could not carry, listed in one message before anything is written.
void refuseUnwritableRows(const std::vector<GroupFile>& groups)
{
    std::vector<RefusedRow> refused;
    for (const GroupFile& group : groups) {
        for (std::size_t r = 0; r < group.bills.rowCount(); ++r) {
            const TransferRow row = transferRowAt(group.bills, r);
            auto problems = transferRecordProblems({.bankId = row.bankId,
                                                    .accountNo = row.bankAccId,
                                                    .accountHolder = row.bankTitle,
                                                    .amount = row.amount,
                                                    .contact = row.conPeople,
                                                    .payerName = row.pAcntName});
            if (!problems.empty())
                refused.push_back(
                    {group.bills.text(r, "PROVIDER_ID"), group.bills.text(r, "MASTERBILLID"), std::move(problems)});
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

TransferFiles buildTransferFiles(db::Executor& database, const std::string& workTableC,
                                 const TransferFileSettings& settings)
{
    std::vector<GroupFile> groups;
    if (!settings.interBankFileName.empty())
        groups.push_back(
            {settings.interBankFileName, "WHERE " + bankGroupCondition(BankGroup::InterBank), "RMTR.BAT", {}});
    if (!settings.sameBankFileName.empty())
        groups.push_back(
            {settings.sameBankFileName, "WHERE " + bankGroupCondition(BankGroup::SameBank), "RTTR.BAT", {}});

    TransferFiles files;
    files.folder = settings.bankPath.empty() ? settings.defaultBankFolder : settings.bankPath;
    bool anyBills = false;
    for (GroupFile& group : groups) {
        // Only what a record and a refusal need: the sort then carries a few columns, not all.
        group.bills = database.query(db::SqlLines{
            "SELECT PROVIDER_ID,MASTERBILLID,CON_PEOPLE,BANK_ID,BANK_ACCID,BANK_TITLE,AMT2,P_ACNT_NAME  FROM " +
                workTableC,
            group.condition, "ORDER BY ACNT_ID,BILL_DATE,PROVIDER_ID"});
        anyBills = anyBills || !group.bills.isEmpty();
    }
    if (anyBills) {
        files.rocDate = rocDateField(settings.remittanceDate);
        refuseUnwritableRows(groups);
    }
    for (const GroupFile& group : groups) {
        TransferFile file;
        file.name = group.fileName + ".TXT";
        file.batchFile = settings.bankPath + group.batchFile;
        file.content = transferFileContent(files.rocDate, group.bills);
        file.records = static_cast<int>(group.bills.rowCount());
        files.files.push_back(std::move(file));
    }
    return files;
}

void startBatchFiles(const std::vector<std::string>& batchFiles, const std::string& bankPath)
{
    for (const std::string& batchFile : batchFiles)
        (void)platform::startDetached(batchFile, bankPath);
}

} // namespace remittance
