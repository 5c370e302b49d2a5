#include "remittance/bill_stamping.h"

#include "remittance/key_lists.h"

namespace remittance {

namespace {

// One server-side pass over the bills of WorkTableA: per bill the claiming UPDATE, whose row
// count tells whether this stamp got the bill, then the second book's stamp for joint books.
// The bills not got come back as rows.
db::SqlLines stampingBlock(const StampRequest& request, const std::string& keyList)
{
    const std::string date = db::quote(request.remittanceDate);
    const bool joint = request.books == Books::Joint;
    // The book the list was read from decides whether this stamp got the bill.
    const std::string claimTable = booksTable(request.books);
    const std::string claimKey = booksKey(request.books);

    db::SqlLines sql;
    sql << "EXECUTE BLOCK RETURNS (LEFT_OUT VARCHAR(20)) AS ";
    sql << "DECLARE K VARCHAR(20); ";
    sql << "BEGIN ";
    sql << "  FOR SELECT MASTERBILLID FROM " + request.tableA + " ";
    if (!keyList.empty())
        sql << "  WHERE MASTERBILLID IN (" + keyList + ") ";
    sql << "  INTO :K DO ";
    sql << "  BEGIN ";
    if (request.onlyUnstamped) {
        sql << "    UPDATE " + claimTable + "  SET BANK_DATE = " + date + " WHERE  " + claimKey + "  = :K ";
        sql << "    AND (BANK_DATE IS NULL OR STRLEN(BANK_DATE) = 0); ";
        sql << "    IF (ROW_COUNT = 0) THEN ";
        sql << "    BEGIN LEFT_OUT = K; SUSPEND; END ";
        if (joint) {
            sql << "    ELSE ";
            sql << "      UPDATE PAY_MASTER  SET BANK_DATE = " + date + " WHERE  MASTERBILLID  = :K; ";
        }
        // A bill another clerk's press holds is waited for, a few seconds at most. When that
        // press commits its stamp the server reports the conflict, and the bill is left out
        // here like one found stamped (the block's own changes to it are undone with the
        // handler). When the wait runs out instead, the server reports the same codes but the
        // bill is still unstamped as committed: the other press holds it yet, so the error
        // goes on and the whole press stops unchanged with the message of its transaction.
        sql << "    WHEN GDSCODE deadlock, GDSCODE update_conflict, GDSCODE lock_conflict DO ";
        sql << "    BEGIN ";
        sql << "      IF (EXISTS(SELECT 1 FROM " + claimTable + " WHERE  " + claimKey + "  = :K ";
        sql << "        AND (BANK_DATE IS NULL OR STRLEN(BANK_DATE) = 0))) THEN EXCEPTION; ";
        sql << "      LEFT_OUT = K; SUSPEND; ";
        sql << "    END ";
    } else {
        sql << "    UPDATE PAY_MASTER  SET BANK_DATE = " + date + " WHERE  MASTERBILLID  = :K; ";
        if (joint)
            sql << "    UPDATE PAY_MASTERU  SET BANK_DATE = " + date + " WHERE  SECBILLID  = :K; ";
    }
    sql << "  END ";
    sql << "END";
    return sql;
}

} // namespace

std::vector<std::string> stampBills(db::Executor& transaction, const StampRequest& request)
{
    std::vector<std::string> lists;
    if (request.allRows)
        lists.emplace_back();
    else
        lists = quotedKeyLists(request.keys);

    std::vector<std::string> leftOut;
    for (const std::string& list : lists) {
        const db::RecordSet rows = transaction.query(stampingBlock(request, list));
        for (std::size_t r = 0; r < rows.rowCount(); ++r)
            leftOut.push_back(rows.text(r, 0));
    }
    return leftOut;
}

} // namespace remittance
