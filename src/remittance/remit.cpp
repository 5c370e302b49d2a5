#include "remittance/remit.h"

#include "journal/file_delivery.h"
#include "journal/payment_journal.h"
#include "platform/failpoint.h"
#include "platform/log.h"
#include "platform/paths.h"
#include "remittance/bank_group.h"
#include "remittance/bill_stamping.h"
#include "remittance/key_lists.h"
#include "remittance/transfer_files.h"
#include "remittance/work_table_layout.h"
#include "text/big5.h"
#include "text/blank.h"
#include "text/error.h"
#include "text/numbers.h"
#include "work/press_transaction.h"

#include <future>
#include <map>
#include <memory>
#include <set>

namespace remittance {

namespace {

Books booksOf(const OutputControls& tab)
{
    return tab.books == 1 ? Books::Joint : Books::OwnStore;
}

std::vector<std::size_t> rowsToRemit(const db::RecordSet& grid, RemitScope scope)
{
    std::vector<std::size_t> rows;
    const std::size_t checked = grid.fieldIndex("CHKED");
    for (std::size_t r = 0; r < grid.rowCount(); ++r)
        if (scope == RemitScope::AllRows || grid.text(r, checked) == "Y")
            rows.push_back(r);
    return rows;
}

// Every row the press would stamp must land in exactly one record of one file: values the
// record can carry, a file name for its bank group, and two names that differ.
std::vector<RefusedRow> rowsNoFileCarries(const db::RecordSet& grid, const std::vector<std::size_t>& rows,
                                          const OutputControls& tab)
{
    const bool sameNames = !tab.interBankFileName.empty() && tab.interBankFileName == tab.sameBankFileName;
    // Found by name once: a press checks thousands of rows.
    const std::size_t bankId = grid.fieldIndex("BANK_ID"), accountNo = grid.fieldIndex("BANK_ACCID"),
                      holder = grid.fieldIndex("BANK_TITLE"), amount = grid.fieldIndex("AMT2"),
                      contact = grid.fieldIndex("CON_PEOPLE"), payer = grid.fieldIndex("P_ACNT_NAME");
    std::vector<RefusedRow> refused;
    for (const std::size_t r : rows) {
        TransferValues values;
        values.bankId = grid.text(r, bankId);
        values.accountNo = grid.text(r, accountNo);
        values.accountHolder = grid.text(r, holder);
        values.amount = grid.number(r, amount);
        values.contact = grid.text(r, contact);
        values.payerName = grid.text(r, payer);
        std::vector<std::string> problems = transferRecordProblems(values);
        const bool sameBank = bankGroupOf(values.bankId) == BankGroup::SameBank;
        if (sameBank && tab.sameBankFileName.empty())
            problems.push_back("聯行檔名空白(銀行代號 016 開頭的單據寫入聯行檔)");
        if (!sameBank && tab.interBankFileName.empty())
            problems.push_back("跨行檔名空白");
        if (sameNames)
            problems.push_back("跨行與聯行檔名相同,後寫的檔案會蓋掉先寫的");
        if (!problems.empty())
            refused.push_back({grid.text(r, "PROVIDER_ID"), grid.text(r, "MASTERBILLID"), std::move(problems)});
    }
    return refused;
}

// Rows the list shows as remitted already, for the question before remitting them again.
std::string remittedAgainQuestion(const db::RecordSet& grid, const std::vector<std::size_t>& rows)
{
    std::string listed;
    std::size_t count = 0;
    const std::size_t stamp = grid.fieldIndex("BANK_DATE");
    for (const std::size_t r : rows) {
        const std::string earlier = grid.text(r, stamp);
        if (text::isBlank(earlier))
            continue;
        if (++count <= 40)
            listed += "\n廠商 " + text::big5ToUtf8(grid.text(r, "PROVIDER_ID")) + " 單據 " +
                      text::big5ToUtf8(grid.text(r, "MASTERBILLID")) + " 已於 " + text::big5ToUtf8(earlier) + " 匯款";
    }
    if (count == 0)
        return {};
    if (count > 40)
        listed += "\n另有 " + std::to_string(count - 40) + " 筆未列出";
    return "下列單據先前已匯款,確定要再次匯款嗎?" + listed;
}

std::string conditionsText(const ListedRun& run, const OutputControls& tab, RemitScope scope)
{
    // Big5 like the list's conditions; the bank folder as the file system names it.
    return run.conditions +
           text::big5(std::string("; ") + (scope == RemitScope::AllRows ? "全部匯款" : "選擇性匯款") +
                      "; 產生匯款檔案 " + (tab.makeTransferFiles ? "Y" : "N") + "; 路徑 ") +
           tab.bankPath + text::big5("; 跨行檔名 ") + tab.interBankFileName + text::big5("; 聯行檔名 ") +
           tab.sameBankFileName;
}

// The press's files under their temporary names: written and flushed, or none at all.
struct PendingFiles {
    std::vector<journal::FileEntry> entries;
    bool written = false;

    void removeAll()
    {
        for (const journal::FileEntry& entry : entries)
            journal::removeTemporary(entry);
    }
};

// Asks a fresh connection whether the press committed, after the answer to its commit was
// lost; returns that connection when it did, nullptr when it did not. The server's word is
// final; when it cannot be reached the clerk is told to wait for recovery rather than remit
// again.
std::unique_ptr<db::Connection> committedAfterLostAnswer(db::Connection& database, long long runId,
                                                         const std::string& lost)
{
    try {
        auto fresh = std::make_unique<db::Connection>(database.params());
        if (journal::runCommitted(*fresh, runId))
            return fresh;
        return nullptr;
    } catch (const text::UserError& error) {
        throw text::UserError("匯款提交的回覆遺失,且無法再連上資料庫確認第 " + std::to_string(runId) +
                              " 次作業是否已提交。請勿重新匯款:下次開啟程式時會依付款日誌完成或清除本次作業。\n" +
                              lost + "\n" + error.what());
    }
}

} // namespace

std::string leftOutMessage(const std::vector<LeftOutBill>& bills)
{
    std::string message = "下列單據已由他人匯款或在清單產生後變更,本次未再處理,也未列入匯款檔及報表:";
    for (const LeftOutBill& bill : bills) {
        message += "\n廠商 " + text::big5ToUtf8(bill.providerId) + " 單據 " + text::big5ToUtf8(bill.billId);
        if (!bill.stampNow.empty())
            message += " 現匯款日 " + text::big5ToUtf8(bill.stampNow);
    }
    return message;
}

namespace {

// How many bills, each file's full path (the bank path as typed, then the name) with its
// records, then the groups that wrote none.
std::string writtenFilesMessage(std::size_t stampedBills, const std::vector<WrittenFile>& files,
                                const std::vector<std::string>& notWritten)
{
    std::string message = "本次匯款 " + text::formatGrouped(static_cast<double>(stampedBills)) + " 筆單據,";
    message += files.empty() ? "沒有寫出匯款檔。" : "匯款檔寫入:";
    for (const WrittenFile& file : files)
        message += "\n" + platform::pathForDisplay(file.path) + "  " +
                   text::formatGrouped(static_cast<double>(file.records)) + " 筆";
    for (const std::string& path : notWritten)
        message += "\n" + platform::pathForDisplay(path) + "  本次沒有單據,未寫出(資料夾中若有同名檔,是先前的檔案)";
    return message;
}

} // namespace

std::vector<std::string> RemitResult::messages() const
{
    std::vector<std::string> shown;
    if (!recoveryNotice.empty())
        shown.push_back(recoveryNotice);
    switch (outcome) {
    case Outcome::ConfirmAgain: shown.push_back(kConfirmAgain); break;
    case Outcome::Refused:
        shown.push_back(refusedRowsMessage(refused) + "\n(這些單據已在表格中標示,滑鼠停在該列可看原因。)");
        break;
    case Outcome::Declined: break;
    case Outcome::Remitted:
        if (!leftOut.empty())
            shown.push_back(leftOutMessage(leftOut));
        for (const std::string& problem : placingProblems)
            shown.push_back(problem);
        break;
    }
    return shown;
}

std::string RemitResult::summary() const
{
    if (outcome != Outcome::Remitted || runId == 0) // nothing stamped, no file written
        return {};
    return writtenFilesMessage(stamped.size(), files, notWritten);
}

RemitResult remit(RemittanceDesk& desk, RemitScope scope, const OutputControls& tab)
{
    const OutputDates dates = readOutputDates(tab);
    const std::string& date = dates.remittanceDate;
    const Books books = booksOf(tab);
    RemitResult result;
    if (!listStillOnScreen(desk) || desk.run.books != books)
        return result; // ConfirmAgain

    const db::RecordSet& grid = desk.grid;
    const std::vector<std::size_t> rows = rowsToRemit(grid, scope);
    const bool stampBooks = tab.makeTransferFiles;
    if (stampBooks) {
        result.refused = rowsNoFileCarries(grid, rows, tab);
        if (!result.refused.empty()) {
            result.outcome = RemitResult::Outcome::Refused;
            return result;
        }
        // Remitting a bill again is a deliberate act: the question defaults to "no".
        const std::string question = remittedAgainQuestion(grid, rows);
        if (!question.empty() && !desk.messages.confirm(question)) {
            result.outcome = RemitResult::Outcome::Declined;
            return result;
        }
    }

    const std::string bankPath = tab.bankPath;
    const std::string folder = bankPath.empty() ? platform::defaultBankFolder() : bankPath;
    long long runId = 0;
    if (stampBooks) {
        result.recoveryNotice = journal::prepareJournal(desk.database, {folder});
        runId = journal::newRunId(desk.database);
    }
    const long long attachment = stampBooks ? desk.database.connectionId() : 0;

    std::vector<std::string> keys;
    if (scope == RemitScope::TickedRows)
        for (const std::size_t r : rows)
            keys.push_back(grid.text(r, "MASTERBILLID"));

    const work::WorkNames names = desk.workTables.names();
    db::Transaction transaction(desk.database, work::pressTransactionOptions());
    std::vector<ChangedBill> changed;
    if (stampBooks) {
        StampRequest stamp;
        stamp.runId = runId;
        stamp.listTable = names.tableA;
        stamp.newDate = date;
        stamp.books = books;
        stamp.allRows = scope == RemitScope::AllRows;
        stamp.keys = keys;
        changed = stampBills(transaction, stamp);
    }
    std::vector<std::string> leftOutKeys;
    for (const ChangedBill& bill : changed)
        leftOutKeys.push_back(bill.key);
    if (scope == RemitScope::AllRows) {
        const std::vector<std::string> exclusion = excludingKeys("MASTERBILLID", leftOutKeys, "WHERE");
        if (stampBooks) {
            db::SqlLines update{"UPDATE " + names.tableA + "  SET ", "BANK_DATE = " + db::quote(date)};
            for (const std::string& line : exclusion)
                update << line;
            transaction.execute(update);
        }
        transaction.execute(copyBillRows(names.tableA, names.tableC, {}, exclusion));
    } else {
        // Ticked rows reach WorkTableC carrying the remittance date, stamped or not.
        for (const std::string& list : quotedKeyLists(keys)) {
            std::vector<std::string> conditions = {"WHERE MASTERBILLID IN (" + list + ") "};
            for (std::string& line : excludingKeys("MASTERBILLID", leftOutKeys, "AND"))
                conditions.push_back(std::move(line));
            transaction.execute(copyBillRows(names.tableA, names.tableC, date, conditions));
        }
    }

    TransferFiles files;
    PendingFiles pending;
    if (stampBooks) {
        files = buildTransferFiles(transaction, names.tableC,
                                   {.bankPath = bankPath,
                                    .defaultBankFolder = platform::defaultBankFolder(),
                                    .interBankFileName = tab.interBankFileName,
                                    .sameBankFileName = tab.sameBankFileName,
                                    .remittanceDate = date});
        for (const TransferFile& file : files.files) {
            if (file.records == 0) {
                // A group without bills writes no file; an earlier one stays as it was.
                result.notWritten.push_back(files.folder + file.name);
                continue;
            }
            journal::FileEntry entry;
            entry.folder = files.folder;
            entry.name = file.name;
            entry.tempName = journal::temporaryName(file.name, runId, attachment);
            entry.records = file.records;
            entry.bytes = file.content;
            pending.entries.push_back(std::move(entry));
        }
        // A file that cannot be written takes the ones written before it along.
        try {
            // The files are written and flushed to disk while the journal takes their bytes and
            // seals the run: the flushes wait on the disk, the journal on the server. Both end
            // before the commit.
            std::future<void> written =
                std::async(std::launch::async, [&entries = pending.entries] { journal::writeTemporaries(entries); });
            for (std::size_t i = 0; i < pending.entries.size(); ++i)
                journal::recordFile(transaction, runId, static_cast<int>(i + 1), pending.entries[i]);
            journal::RunEntry run;
            run.kind = journal::RunKind::Remit;
            run.books = booksTable(books);
            run.runDate = date;
            run.conditions = conditionsText(desk.run, tab, scope);
            run.leftOutCount = static_cast<int>(changed.size());
            journal::recordRun(transaction, runId, run, static_cast<int>(pending.entries.size()));
            written.get();
            platform::failpoint("after-temp-files");
            platform::failpoint("before-commit");
        } catch (...) {
            pending.removeAll();
            throw;
        }
    }

    std::unique_ptr<db::Connection> reconnected;
    try {
        transaction.commit();
        platform::failpoint("after-commit");
    } catch (const text::UserError& lost) {
        // The commit may have gone through with only its answer lost: the journal decides.
        if (stampBooks)
            reconnected = committedAfterLostAnswer(desk.database, runId, lost.what());
        if (!reconnected) {
            pending.removeAll();
            throw;
        }
    }
    db::Connection& live = reconnected ? *reconnected : desk.database;
    // The grid has been remitted: a second press must not stamp or copy it again.
    desk.run.forget();
    result.outcome = RemitResult::Outcome::Remitted;
    result.runId = runId;

    const std::size_t keyColumn = grid.fieldIndex("MASTERBILLID"), providerColumn = grid.fieldIndex("PROVIDER_ID");
    std::map<std::string, std::string> providerOfLeftOut;
    for (const std::string& key : leftOutKeys)
        providerOfLeftOut[key];
    for (const std::size_t r : rows) {
        const std::string key = grid.text(r, keyColumn);
        if (const auto left = providerOfLeftOut.find(key); left != providerOfLeftOut.end())
            left->second = grid.text(r, providerColumn);
        else if (stampBooks)
            result.stamped.push_back({grid.text(r, providerColumn), key});
    }
    for (const ChangedBill& bill : changed)
        result.leftOut.push_back({providerOfLeftOut[bill.key], bill.key, bill.stampNow});

    // After the commit the files go into place; one that cannot is put there by the next
    // recovery, and its batch file waits for it.
    std::set<std::string> unplaced;
    const std::vector<std::string> placing = journal::putInPlace(live, runId, pending.entries);
    for (std::size_t i = 0; i < pending.entries.size(); ++i) {
        const journal::FileEntry& entry = pending.entries[i];
        if (placing[i].empty()) {
            result.files.push_back({entry.folder + entry.name, entry.records});
            continue;
        }
        unplaced.insert(entry.name);
        result.placingProblems.push_back(placing[i] + "\n本次匯款已提交並記入付款日誌(第 " + std::to_string(runId) +
                                         " 次),此檔案將於下次作業時依日誌補放;請勿重新匯款。");
    }
    platform::failpoint("after-place");
    if (platform::logging()) {
        std::string line = "remit run " + std::to_string(runId) + ": " + std::to_string(result.stamped.size()) +
                           " bills stamped " + date + ", " + std::to_string(result.leftOut.size()) + " left out";
        for (const auto& file : result.files)
            line += ", " + platform::logText(file.path, 300) + " (" + std::to_string(file.records) + " records)";
        for (const std::string& problem : result.placingProblems)
            line += "; not in place: " + problem;
        platform::log("remittance", platform::LogLevel::Info, line);
    }
    std::vector<std::string> batchFiles;
    for (const TransferFile& file : files.files)
        if (!unplaced.count(file.name))
            batchFiles.push_back(file.batchFile);
    startBatchFiles(batchFiles, bankPath);

    if (reconnected) {
        // The window's own connection is gone with the answer: the list cannot be printed.
        result.placingProblems.push_back("資料庫連線在提交時中斷;經重新連線確認本次匯款(第 " + std::to_string(runId) +
                                         " 次)已提交,匯款檔已放入銀行資料夾。匯款明細表未能列印。");
        return result;
    }

    runRemittanceOutput(outputRequest(desk, tab), files.rocDate);
    return result;
}

} // namespace remittance
