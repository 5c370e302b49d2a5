#include "remittance/clear_remittance_dates.h"

#include "journal/file_delivery.h"
#include "journal/payment_journal.h"
#include "remittance/bill_stamping.h"
#include "text/big5.h"
#include "work/press_transaction.h"

#include <set>

namespace remittance {

std::vector<std::string> ClearResult::messages() const
{
    std::vector<std::string> shown;
    if (!recoveryNotice.empty())
        shown.push_back(recoveryNotice);
    if (outcome == Outcome::ConfirmAgain)
        shown.push_back(kConfirmAgain);
    else if (!leftOut.empty())
        shown.push_back(leftOutMessage(leftOut));
    return shown;
}

ClearResult clearRemittanceDates(RemittanceDesk& desk, Books books)
{
    ClearResult result;
    if (!listStillOnScreen(desk) || desk.run.books != books)
        return result;
    result.outcome = ClearResult::Outcome::Cleared;

    // Two ticked rows of one provider clear the same bills: once is enough.
    const db::RecordSet& grid = desk.grid;
    std::set<std::string> seen;
    std::vector<std::string> providers;
    for (std::size_t r = 0; r < grid.rowCount(); ++r)
        if (grid.text(r, "CHKED") == "Y" && seen.insert(grid.text(r, "PROVIDER_ID")).second)
            providers.push_back(grid.text(r, "PROVIDER_ID"));
    if (providers.empty())
        return result;

    result.recoveryNotice = journal::prepareJournal(desk.database, {});
    const long long runId = journal::newRunId(desk.database);

    db::Transaction transaction(desk.database, work::pressTransactionOptions());
    StampRequest request;
    request.runId = runId;
    request.listTable = desk.workTables.names().tableB;
    request.books = books;
    request.listHasAmounts = false;
    request.providers = providers;
    const std::vector<ChangedBill> changed = stampBills(transaction, request);

    const db::RecordSet cleared =
        transaction.query("SELECT PROVIDER_ID, BILL_KEY FROM PAY_RUN_BILL WHERE RUN_ID = " + std::to_string(runId) +
                          " AND BOOK = " + db::quote(booksTable(books)) + " ORDER BY PROVIDER_ID, BILL_KEY");
    for (std::size_t r = 0; r < cleared.rowCount(); ++r)
        result.cleared.push_back({cleared.text(r, 0), cleared.text(r, 1)});
    if (!cleared.isEmpty() || !changed.empty()) {
        journal::RunEntry run;
        run.kind = journal::RunKind::Clearing;
        run.books = booksTable(books);
        run.conditions = desk.run.conditions + text::big5("; 匯款日清空");
        run.leftOutCount = static_cast<int>(changed.size());
        journal::recordRun(transaction, runId, run, 0);
    }
    transaction.commit();
    if (!cleared.isEmpty())
        result.runId = runId;

    const db::RecordSet listed =
        desk.database.query("SELECT MASTERBILLID, PROVIDER_ID FROM " + desk.workTables.names().tableB);
    for (const ChangedBill& bill : changed) {
        std::string provider;
        for (std::size_t r = 0; r < listed.rowCount() && provider.empty(); ++r)
            if (listed.text(r, 0) == bill.key)
                provider = listed.text(r, 1);
        result.leftOut.push_back({provider, bill.key, bill.stampNow});
    }
    return result;
}

} // namespace remittance
