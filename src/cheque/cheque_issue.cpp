// Issuing: the bills each cheque pays get the issue date, the issued cheques are collected in
// the issued table, then printed. Clearing takes the date off again.
#include "cheque/cheque_desk.h"

#include "cheque/cheque_table.h"
#include "db/sql.h"

namespace cheque {
namespace {

db::SqlLines stampBills(const std::string& chequeId, const std::string& issueDate)
{
    return {"UPDATE PAY_MASTER  SET ", "BANK_DATE = " + db::quote(issueDate),
            "WHERE  PAGE_ID  = " + db::quote(chequeId)};
}

db::SqlLines clearBills(const std::string& chequeId)
{
    return {"UPDATE PAY_MASTER  SET ", "BANK_DATE = NULL", "WHERE  PAGE_ID  = " + db::quote(chequeId)};
}

} // namespace

bool ChequeDesk::ticked(std::size_t row) const
{
    return grid_.text(row, "CHKED") == "Y";
}

void ChequeDesk::issueAll(const IssueOptions& options)
{
    issue(options, false);
}

void ChequeDesk::issueTicked(const IssueOptions& options)
{
    issue(options, true);
}

void ChequeDesk::issue(const IssueOptions& options, bool tickedOnly)
{
    if (!requireCurrentList())
        return;
    progress_.clear();
    progress_.setGauge(1, 5);
    work::progressLine(progress_, 1);

    const work::WorkNames& names = tables_.names();
    const std::size_t idColumn = grid_.fieldIndex("ID");
    // One press stamps and collects all of its cheques or none: a failure half-way must not
    // leave bills stamped for cheques that were never collected for printing.
    db::Transaction transaction(database_);
    for (std::size_t row = 0; row < grid_.rowCount(); ++row) {
        if (tickedOnly && !ticked(row))
            continue;
        const std::string id = grid_.text(row, idColumn);
        transaction.execute(stampBills(id, options.issueDateText));
        if (tickedOnly)
            transaction.execute(copyIssuedCheques(names.tableC, names.tableA).add("  WHERE ID = " + db::quote(id)));
    }
    if (!tickedOnly)
        transaction.execute(copyIssuedCheques(names.tableC, names.tableA));
    transaction.commit();

    work::progressLine(progress_, 2);
    printIssued(options.print);
}

void ChequeDesk::clearTicked()
{
    if (!requireCurrentList())
        return;
    const std::size_t idColumn = grid_.fieldIndex("ID");
    db::Transaction transaction(database_);
    for (std::size_t row = 0; row < grid_.rowCount(); ++row) {
        if (ticked(row))
            transaction.execute(clearBills(grid_.text(row, idColumn)));
    }
    transaction.commit();
}

} // namespace cheque
