// The issue press: which cheques, the question before issuing one again, the claims by listed
// state and the stamps in one bounded transaction, the list used up at the commit, the print.
// Clearing takes the date off again.
#include "cheque/desk_steps.h"

#include "cheque/issue_messages.h"
#include "cheque/issue_state.h"
#include "db/sql.h"
#include "journal/file_delivery.h"
#include "journal/payment_journal.h"
#include "text/big5.h"
#include "text/blank.h"
#include "work/press_transaction.h"

#include <algorithm>
#include <set>

namespace cheque {
namespace {

// Cheques per claiming statement: keeps the statement text and its union of literal rows well
// inside the server's limits.
constexpr std::size_t kChequesPerClaim = 100;

db::SqlLines clearBills(const std::string& chequeId)
{
    return {"UPDATE PAY_MASTER  SET ", "BANK_DATE = NULL", "WHERE  PAGE_ID  = " + db::quote(chequeId)};
}

// The journal's reason of a re-issue: the clerk's words, then each cheque issued again with
// its earlier issue state (Big5).
std::string reissueRecord(const std::string& reason, const std::vector<ChequeState>& reissued)
{
    if (reissued.empty())
        return {};
    std::string record = reason + "; " + text::big5("前次開票") + ":";
    for (const ChequeState& cheque : reissued)
        record += " " + cheque.id + " " + cheque.state;
    return record;
}

} // namespace

std::string journalReady(ChequeDesk& desk)
{
    return journal::prepareJournal(desk.database, {});
}

namespace {

bool ticked(const ChequeDesk& desk, std::size_t row)
{
    return desk.grid.text(row, "CHKED") == "Y";
}

std::vector<ChequeState> chosenCheques(const ChequeDesk& desk, IssueScope scope)
{
    // A cheque number listed twice is pressed once, with the state of its first row.
    std::vector<ChequeState> chosen;
    std::set<std::string> seen;
    for (std::size_t row = 0; row < desk.grid.rowCount(); ++row) {
        if (scope == IssueScope::TickedRows && !ticked(desk, row))
            continue;
        const std::string id = desk.grid.text(row, "ID");
        if (seen.insert(id).second)
            chosen.push_back({id, text::trimmedRight(desk.grid.text(row, kIssueStateField))});
    }
    return chosen;
}

// Stamps and collects the cheques still as listed, in one bounded transaction with the
// journal's rows of the run; afterwards the list is used up.
void claim(ChequeDesk& desk, const std::vector<ChequeState>& cheques, const std::vector<ChequeState>& issuedBefore,
           const std::string& issueDate, IssueResult& result);
IssueResult reprintUsedUpList(ChequeDesk& desk, const PrintOptions& options);

} // namespace

IssueResult issue(ChequeDesk& desk, IssueScope scope, const IssueOptions& options)
{
    IssueResult result;
    if (!requireCurrentList(desk))
        return result;
    if (desk.list.usedUp)
        return reprintUsedUpList(desk, options.print);

    desk.progress.clear();
    desk.progress.setGauge(1, 5);
    work::progressLine(desk.progress, 1);
    result.issueDate = options.issueDateText;

    std::vector<ChequeState> chosen;
    std::vector<ChequeState> fresh, issuedBefore;
    for (ChequeState& cheque : chosenCheques(desk, scope)) {
        if (cheque.state == voidedState()) {
            result.voided.push_back(cheque.id);
            continue;
        }
        (cheque.state.empty() ? fresh : issuedBefore).push_back(cheque);
        chosen.push_back(cheque);
    }
    if (chosen.empty() && !result.voided.empty()) { // only voided cheques: nothing to issue or print
        result.outcome = IssueResult::Outcome::NothingChosen;
        return result;
    }
    if (!issuedBefore.empty()) {
        const std::optional<std::string> reason = desk.messages.askWithReason(reissueQuestion(issuedBefore));
        if (reason) {
            result.reissueReason = text::utf8ToBig5(*reason);
        } else {
            result.declined = issuedBefore;
            chosen = fresh;
            if (chosen.empty()) {
                result.outcome = IssueResult::Outcome::NothingChosen;
                return result;
            }
        }
    }

    claim(desk, chosen, issuedBefore, options.issueDateText, result);
    result.outcome = IssueResult::Outcome::Issued;

    work::progressLine(desk.progress, 2);
    handOverPrint(desk, options.print, result);
    return result;
}

namespace {

void claim(ChequeDesk& desk, const std::vector<ChequeState>& cheques, const std::vector<ChequeState>& issuedBefore,
           const std::string& issueDate, IssueResult& result)
{
    const work::WorkNames& names = desk.workTables.names();
    result.journalNotice = journalReady(desk);
    const long long runId = journal::newRunId(desk.database);
    std::vector<std::string> claimed;
    std::vector<ChangedCheque> changed;
    // One press stamps and collects all of its cheques or none, and gives up unchanged when
    // another workstation holds their bills for longer than the press waits.
    db::Transaction transaction(desk.database, work::pressTransactionOptions());
    for (std::size_t from = 0; from < cheques.size(); from += kChequesPerClaim) {
        const std::vector<ChequeState> part(
            cheques.begin() + static_cast<std::ptrdiff_t>(from),
            cheques.begin() + static_cast<std::ptrdiff_t>(std::min(cheques.size(), from + kChequesPerClaim)));
        const db::RecordSet rows = transaction.query(claimCheques(part, issueDate, names.tableA, names.tableC, runId));
        for (std::size_t r = 0; r < rows.rowCount(); ++r) {
            if (rows.text(r, "CLAIMED") == "1")
                claimed.push_back(text::trimmedRight(rows.text(r, "ID")));
            else
                changed.push_back({text::trimmedRight(rows.text(r, "ID")), part[r].state,
                                   text::trimmedRight(rows.text(r, "NOW_STATE"))});
        }
    }
    result.issued = claimed;
    result.changedSinceListed = changed;
    for (const ChequeState& cheque : issuedBefore)
        if (std::find(claimed.begin(), claimed.end(), cheque.id) != claimed.end())
            result.reissued.push_back(cheque);
    if (!claimed.empty()) {
        journal::RunEntry run;
        run.kind = journal::RunKind::ChequeIssue;
        run.books = "PAY_MASTER";
        run.runDate = issueDate;
        run.conditions = desk.list.conditions;
        run.reason = reissueRecord(result.reissueReason, result.reissued);
        run.leftOutCount = static_cast<int>(changed.size());
        journal::recordRun(transaction, runId, run, 0);
        result.runId = runId;
    }
    transaction.commit();
    // From here the list is used up: whatever becomes of the print, these stamps stand, and
    // a press on this list prints again instead of issuing again.
    desk.list.usedUp = true;
    desk.list.usedUpCount = claimed.size();
}

IssueResult reprintUsedUpList(ChequeDesk& desk, const PrintOptions& options)
{
    IssueResult result;
    if (!desk.messages.confirm(reprintQuestion(desk.list.usedUpCount))) {
        result.outcome = IssueResult::Outcome::ReprintDeclined;
        return result;
    }
    result.outcome = IssueResult::Outcome::Reprinted;
    desk.progress.clear();
    desk.progress.setGauge(2, 5);
    handOverPrint(desk, options, result);
    return result;
}

} // namespace

std::string clearTicked(ChequeDesk& desk)
{
    if (!requireCurrentList(desk))
        return {};
    const std::size_t idColumn = desk.grid.fieldIndex("ID");
    std::vector<std::string> cheques;
    for (std::size_t row = 0; row < desk.grid.rowCount(); ++row)
        if (ticked(desk, row))
            cheques.push_back(desk.grid.text(row, idColumn));
    if (cheques.empty())
        return {};
    const std::string notice = journalReady(desk);
    const long long runId = journal::newRunId(desk.database);
    db::Transaction transaction(desk.database, work::pressTransactionOptions());
    for (const std::string& cheque : cheques) {
        // Each stamp taken off is journalled as it was, before it goes.
        transaction.execute(journal::billEntriesSelect(runId) +
                            "'PAY_MASTER', MASTERBILLID, PROVIDER_ID, PAGE_AMT, BANK_DATE, NULL FROM PAY_MASTER "
                            "WHERE PAGE_ID = " +
                            db::quote(cheque) + " AND COALESCE(BANK_DATE, '') <> ''");
        transaction.execute(clearBills(cheque));
    }
    if (transaction.lookup("SELECT COUNT(*) FROM PAY_RUN_BILL WHERE RUN_ID = " + std::to_string(runId)) != "0") {
        journal::RunEntry run;
        run.kind = journal::RunKind::Clearing;
        run.books = "PAY_MASTER";
        run.conditions = desk.list.conditions + "; " + text::big5("匯款日清空");
        journal::recordRun(transaction, runId, run, 0);
    }
    transaction.commit();
    return notice;
}

VoidResult voidTicked(ChequeDesk& desk)
{
    VoidResult result;
    if (!requireCurrentList(desk))
        return result;
    result.outcome = VoidResult::Outcome::NothingChosen;
    std::vector<ChequeState> voidable;
    for (const ChequeState& cheque : chosenCheques(desk, IssueScope::TickedRows))
        (cheque.state.empty() || cheque.state == voidedState() ? result.notVoidable : voidable).push_back(cheque);
    if (voidable.empty())
        return result;
    const std::optional<std::string> reason = desk.messages.askWithReason(voidQuestion(voidable));
    if (!reason || reason->empty())
        return result;
    result.reason = text::utf8ToBig5(*reason);

    result.journalNotice = journalReady(desk);
    const long long runId = journal::newRunId(desk.database);
    db::Transaction transaction(desk.database, work::pressTransactionOptions());
    for (std::size_t from = 0; from < voidable.size(); from += kChequesPerClaim) {
        const std::vector<ChequeState> part(
            voidable.begin() + static_cast<std::ptrdiff_t>(from),
            voidable.begin() + static_cast<std::ptrdiff_t>(std::min(voidable.size(), from + kChequesPerClaim)));
        const db::RecordSet rows = transaction.query(voidCheques(part, runId));
        for (std::size_t r = 0; r < rows.rowCount(); ++r) {
            if (rows.text(r, "VOIDED") == "1")
                result.voided.push_back(text::trimmedRight(rows.text(r, "ID")));
            else
                result.changedSinceListed.push_back({text::trimmedRight(rows.text(r, "ID")), part[r].state,
                                                     text::trimmedRight(rows.text(r, "NOW_STATE"))});
        }
    }
    if (!result.voided.empty()) {
        journal::RunEntry run;
        run.kind = journal::RunKind::Void;
        run.books = "PAY_MASTER";
        run.conditions = desk.list.conditions;
        run.reason = result.reason;
        run.leftOutCount = static_cast<int>(result.changedSinceListed.size());
        journal::recordRun(transaction, runId, run, 0);
        result.runId = runId;
    }
    transaction.commit();
    result.outcome = VoidResult::Outcome::Voided;

    // The list shows them voided from now on.
    for (std::size_t row = 0; row < desk.grid.rowCount(); ++row)
        if (std::find(result.voided.begin(), result.voided.end(), desk.grid.text(row, "ID")) != result.voided.end())
            desk.grid.setText(row, kIssueStateField, voidedState());
    return result;
}

} // namespace cheque
