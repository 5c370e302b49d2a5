#include "remittance/clear_remittance_dates.h"

#include "work/press_transaction.h"

#include <set>

namespace remittance {

void clearRemittanceDates(RemittanceDesk& desk, Books books)
{
    const work::WorkNames& names = desk.workTables.names();
    if (!desk.run.inStep(desk.database, desk.grid, names) || desk.run.books() != books) {
        desk.messages.inform(kConfirmAgain);
        return;
    }
    const db::RecordSet& grid = desk.grid;
    // Two ticked rows of one provider clear the same bills: once is enough.
    std::set<std::string> done;
    db::Transaction transaction(desk.database, work::pressTransactionOptions());
    for (std::size_t r = 0; r < grid.rowCount(); ++r) {
        if (grid.text(r, "CHKED") != "Y")
            continue;
        const std::string provider = grid.text(r, "PROVIDER_ID");
        if (!done.insert(provider).second)
            continue;
        const db::RecordSet bills =
            transaction.query("SELECT * FROM " + names.tableB + " WHERE PROVIDER_ID = " + db::quote(provider));
        for (std::size_t b = 0; b < bills.rowCount(); ++b) {
            const std::string key = db::quote(bills.text(b, "MASTERBILLID"));
            transaction.execute(db::SqlLines{"UPDATE PAY_MASTER  SET ", "BANK_DATE = NULL", "WHERE  MASTERBILLID  = " + key});
            if (books == Books::Joint)
                transaction.execute(db::SqlLines{"UPDATE PAY_MASTERU  SET ", "BANK_DATE = NULL", "WHERE  SECBILLID  = " + key});
        }
    }
    transaction.commit();
}

} // namespace remittance
