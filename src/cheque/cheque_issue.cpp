// The issue press: which cheques, the question before issuing one again, the claims by listed
// state and the stamps in one bounded transaction, the list used up at the commit, the print.
// Clearing takes the date off again.
#include "cheque/cheque_desk.h"

#include "cheque/issue_messages.h"
#include "cheque/issue_state.h"
#include "db/sql.h"
#include "journal/file_delivery.h"
#include "journal/payment_journal.h"
#include "text/big5.h"
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

std::string trimmed(std::string value)
{
    value.erase(value.find_last_not_of(' ') + 1);
    return value;
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

std::string ChequeDesk::journalReady()
{
    return journal::prepareJournal(database_, {});
}

bool ChequeDesk::ticked(std::size_t row) const
{
    return grid_.text(row, "CHKED") == "Y";
}

std::vector<ChequeState> ChequeDesk::chosenCheques(IssueScope scope) const
{
    // A cheque number listed twice is pressed once, with the state of its first row.
    std::vector<ChequeState> chosen;
    std::set<std::string> seen;
    for (std::size_t row = 0; row < grid_.rowCount(); ++row) {
        if (scope == IssueScope::TickedRows && !ticked(row))
            continue;
        const std::string id = grid_.text(row, "ID");
        if (seen.insert(id).second)
            chosen.push_back({id, trimmed(grid_.text(row, kIssueStateField))});
    }
    return chosen;
}

IssueResult ChequeDesk::issue(IssueScope scope, const IssueOptions& options)
{
    IssueResult result;
    if (!requireCurrentList())
        return result;
    if (usedUp_)
        return reprintUsedUpList(options.print);

    progress_.clear();
    progress_.setGauge(1, 5);
    work::progressLine(progress_, 1);
    result.issueDate = options.issueDateText;

    std::vector<ChequeState> chosen;
    std::vector<ChequeState> fresh, issuedBefore;
    for (ChequeState& cheque : chosenCheques(scope)) {
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
        const std::optional<std::string> reason = messages_.askWithReason(reissueQuestion(issuedBefore));
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

    claim(chosen, issuedBefore, options.issueDateText, result);
    result.outcome = IssueResult::Outcome::Issued;

    work::progressLine(progress_, 2);
    handOverPrint(options.print, result);
    return result;
}

void ChequeDesk::claim(const std::vector<ChequeState>& cheques, const std::vector<ChequeState>& issuedBefore,
                       const std::string& issueDate, IssueResult& result)
{
    const work::WorkNames& names = tables_.names();
    result.journalNotice = journalReady();
    const long long runId = journal::newRunId(database_);
    std::vector<std::string> claimed;
    std::vector<ChangedCheque> changed;
    // One press stamps and collects all of its cheques or none, and gives up unchanged when
    // another workstation holds their bills for longer than the press waits.
    db::Transaction transaction(database_, work::pressTransactionOptions());
    for (std::size_t from = 0; from < cheques.size(); from += kChequesPerClaim) {
        const std::vector<ChequeState> part(cheques.begin() + static_cast<std::ptrdiff_t>(from),
                                            cheques.begin() + static_cast<std::ptrdiff_t>(
                                                std::min(cheques.size(), from + kChequesPerClaim)));
        const db::RecordSet rows = transaction.query(claimCheques(part, issueDate, names.tableA, names.tableC, runId));
        for (std::size_t r = 0; r < rows.rowCount(); ++r) {
            if (rows.text(r, "CLAIMED") == "1")
                claimed.push_back(trimmed(rows.text(r, "ID")));
            else
                changed.push_back({trimmed(rows.text(r, "ID")), part[r].state, trimmed(rows.text(r, "NOW_STATE"))});
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
        run.conditions = listedConditions_;
        run.reason = reissueRecord(result.reissueReason, result.reissued);
        run.leftOutCount = static_cast<int>(changed.size());
        journal::recordRun(transaction, runId, run, 0);
        result.runId = runId;
    }
    transaction.commit();
    // From here the list is used up: whatever becomes of the print, these stamps stand, and
    // a press on this list prints again instead of issuing again.
    usedUp_ = true;
    usedUpCount_ = claimed.size();
}

IssueResult ChequeDesk::reprintUsedUpList(const PrintOptions& options)
{
    IssueResult result;
    if (!messages_.confirm(reprintQuestion(usedUpCount_))) {
        result.outcome = IssueResult::Outcome::ReprintDeclined;
        return result;
    }
    result.outcome = IssueResult::Outcome::Reprinted;
    progress_.clear();
    progress_.setGauge(2, 5);
    handOverPrint(options, result);
    return result;
}

std::string ChequeDesk::clearTicked()
{
    if (!requireCurrentList())
        return {};
    const std::size_t idColumn = grid_.fieldIndex("ID");
    std::vector<std::string> cheques;
    for (std::size_t row = 0; row < grid_.rowCount(); ++row)
        if (ticked(row))
            cheques.push_back(grid_.text(row, idColumn));
    if (cheques.empty())
        return {};
    const std::string notice = journalReady();
    const long long runId = journal::newRunId(database_);
    db::Transaction transaction(database_, work::pressTransactionOptions());
    for (const std::string& cheque : cheques) {
        // Each stamp taken off is journalled as it was, before it goes.
        transaction.execute(journal::billEntriesSelect(runId) +
                            "'PAY_MASTER', MASTERBILLID, PROVIDER_ID, PAGE_AMT, BANK_DATE, NULL FROM PAY_MASTER "
                            "WHERE PAGE_ID = " + db::quote(cheque) + " AND COALESCE(BANK_DATE, '') <> ''");
        transaction.execute(clearBills(cheque));
    }
    if (transaction.lookup("SELECT COUNT(*) FROM PAY_RUN_BILL WHERE RUN_ID = " + std::to_string(runId)) != "0") {
        journal::RunEntry run;
        run.kind = journal::RunKind::Clearing;
        run.books = "PAY_MASTER";
        run.conditions = listedConditions_ + "; " + text::big5("匯款日清空");
        journal::recordRun(transaction, runId, run, 0);
    }
    transaction.commit();
    return notice;
}

VoidResult ChequeDesk::voidTicked()
{
    VoidResult result;
    if (!requireCurrentList())
        return result;
    result.outcome = VoidResult::Outcome::NothingChosen;
    std::vector<ChequeState> voidable;
    for (const ChequeState& cheque : chosenCheques(IssueScope::TickedRows))
        (cheque.state.empty() || cheque.state == voidedState() ? result.notVoidable : voidable).push_back(cheque);
    if (voidable.empty())
        return result;
    const std::optional<std::string> reason = messages_.askWithReason(voidQuestion(voidable));
    if (!reason || reason->empty())
        return result;
    result.reason = text::utf8ToBig5(*reason);

    result.journalNotice = journalReady();
    const long long runId = journal::newRunId(database_);
    db::Transaction transaction(database_, work::pressTransactionOptions());
    for (std::size_t from = 0; from < voidable.size(); from += kChequesPerClaim) {
        const std::vector<ChequeState> part(voidable.begin() + static_cast<std::ptrdiff_t>(from),
                                            voidable.begin() + static_cast<std::ptrdiff_t>(
                                                std::min(voidable.size(), from + kChequesPerClaim)));
        const db::RecordSet rows = transaction.query(voidCheques(part, runId));
        for (std::size_t r = 0; r < rows.rowCount(); ++r) {
            if (rows.text(r, "VOIDED") == "1")
                result.voided.push_back(trimmed(rows.text(r, "ID")));
            else
                result.changedSinceListed.push_back(
                    {trimmed(rows.text(r, "ID")), part[r].state, trimmed(rows.text(r, "NOW_STATE"))});
        }
    }
    if (!result.voided.empty()) {
        journal::RunEntry run;
        run.kind = journal::RunKind::Void;
        run.books = "PAY_MASTER";
        run.conditions = listedConditions_;
        run.reason = result.reason;
        run.leftOutCount = static_cast<int>(result.changedSinceListed.size());
        journal::recordRun(transaction, runId, run, 0);
        result.runId = runId;
    }
    transaction.commit();
    result.outcome = VoidResult::Outcome::Voided;

    // The list shows them voided from now on.
    for (std::size_t row = 0; row < grid_.rowCount(); ++row)
        if (std::find(result.voided.begin(), result.voided.end(), grid_.text(row, "ID")) != result.voided.end())
            grid_.setText(row, kIssueStateField, voidedState());
    return result;
}

} // namespace cheque
