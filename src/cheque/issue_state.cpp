#include "cheque/issue_state.h"

#include "cheque/cheque_table.h"
#include "journal/payment_journal.h"
#include "text/big5.h"

namespace cheque {

std::string partlyIssued()
{
    return text::big5("部分");
}

std::string voidedState()
{
    return text::big5("作廢");
}

std::string reissueMark()
{
    return text::big5("補印");
}

std::string issueStateOf(const std::string& chequeIdExpression)
{
    // A NULL stamp and an empty one both mean "not issued".
    const std::string stamp = "COALESCE(P.BANK_DATE, '')";
    return "(CASE WHEN " + journal::chequeVoided(chequeIdExpression) + " THEN CAST(" + db::quote(voidedState()) +
           " AS VARCHAR(10)) ELSE "
           "(SELECT CASE WHEN COUNT(*) = 0 THEN CAST('' AS VARCHAR(10)) "
           "WHEN MIN(" +
           stamp + ") = MAX(" + stamp + ") THEN CAST(MIN(" + stamp +
           ") AS VARCHAR(10)) "
           "ELSE CAST(" +
           db::quote(partlyIssued()) +
           " AS VARCHAR(10)) END "
           "FROM PAY_MASTER P WHERE P.PAGE_ID = " +
           chequeIdExpression + ") END)";
}

db::SqlLines listWithIssueState(const std::string& listedTable, const std::string& orderBy)
{
    return {"SELECT W.*, " + issueStateOf("W.ID") + " AS " + kIssueStateField + " FROM " + listedTable + " W", orderBy};
}

namespace {

// The loop head over the cheques as listed: each cheque's number into K, its listed state into
// LISTED; its bills are locked first, so the state read next stays as it is until the commit.
void forEachListed(db::SqlLines& sql, const std::vector<ChequeState>& listed)
{
    sql << "  FOR ";
    for (std::size_t i = 0; i < listed.size(); ++i) {
        sql << std::string(i == 0 ? "    SELECT " : "    UNION ALL SELECT ") + "CAST(" + db::quote(listed[i].id) +
                   " AS VARCHAR(20)), CAST(" + db::quote(listed[i].state) + " AS VARCHAR(10)) FROM RDB$DATABASE ";
    }
    sql << "  INTO :K, :LISTED DO ";
    sql << "  BEGIN ";
    sql << "    FOR SELECT PAGE_ID FROM PAY_MASTER WHERE PAGE_ID = :K WITH LOCK INTO :HELD DO BEGIN END ";
    sql << "    NOW_STATE = " + issueStateOf(":K") + "; ";
    sql << "    ID = K; ";
}

} // namespace

db::SqlLines claimCheques(const std::vector<ChequeState>& listed, const std::string& issueDate,
                          const std::string& listedTable, const std::string& issuedTable, long long runId)
{
    db::SqlLines sql;
    sql << "EXECUTE BLOCK RETURNS (ID VARCHAR(20), NOW_STATE VARCHAR(10), CLAIMED SMALLINT) AS ";
    sql << "DECLARE K VARCHAR(20); ";
    sql << "DECLARE LISTED VARCHAR(10); ";
    sql << "DECLARE HELD VARCHAR(20); ";
    sql << "BEGIN ";
    forEachListed(sql, listed);
    sql << "    CLAIMED = 0; ";
    sql << "    IF (NOW_STATE = LISTED AND NOW_STATE <> " + db::quote(voidedState()) + ") THEN ";
    sql << "    BEGIN ";
    // The journal keeps each bill's stamp as found, so an earlier issue date stays on record.
    sql << "      " + journal::billEntriesSelect(runId) +
               "'PAY_MASTER', MASTERBILLID, PROVIDER_ID, PAGE_AMT, "
               "BANK_DATE, " +
               db::quote(issueDate) + " FROM PAY_MASTER WHERE PAGE_ID = :K; ";
    sql << "      UPDATE PAY_MASTER  SET BANK_DATE = " + db::quote(issueDate) + " WHERE  PAGE_ID  = :K; ";
    db::SqlLines copy = copyIssuedCheques(issuedTable, listedTable);
    copy << "  WHERE ID = :K; ";
    for (const std::string& line : copy.lines())
        sql << "      " + line + " ";
    sql << "      IF (LISTED <> '') THEN UPDATE " + issuedTable + " SET FLAG = " + db::quote(reissueMark()) +
               " WHERE ID = :K; ";
    sql << "      " + journal::chequeEntryStatement(runId, ":K", ":LISTED", db::quote(issueDate));
    sql << "      CLAIMED = 1; ";
    sql << "    END ";
    sql << "    SUSPEND; ";
    sql << "  END ";
    sql << "END";
    return sql;
}

db::SqlLines voidCheques(const std::vector<ChequeState>& listed, long long runId)
{
    // A bill's stamp before the latest cheque issue that stamped it; NULL when no journalled
    // issue did (an issue from before the journal: the bill was unpaid).
    const std::string stampBeforeIssue =
        "(SELECT FIRST 1 B.STAMP_BEFORE FROM PAY_RUN_BILL B JOIN PAY_RUN R ON R.RUN_ID = B.RUN_ID "
        "WHERE R.KIND = 'CHEQUE' AND B.BOOK = 'PAY_MASTER' AND B.BILL_KEY = P.MASTERBILLID ORDER BY B.RUN_ID DESC)";
    db::SqlLines sql;
    sql << "EXECUTE BLOCK RETURNS (ID VARCHAR(20), NOW_STATE VARCHAR(10), VOIDED SMALLINT) AS ";
    sql << "DECLARE K VARCHAR(20); DECLARE LISTED VARCHAR(10); DECLARE HELD VARCHAR(20); ";
    sql << "BEGIN ";
    forEachListed(sql, listed);
    sql << "    VOIDED = 0; ";
    sql << "    IF (NOW_STATE = LISTED AND NOW_STATE <> '' AND NOW_STATE <> " + db::quote(voidedState()) + ") THEN ";
    sql << "    BEGIN ";
    sql << "      " + journal::billEntriesSelect(runId) +
               "'PAY_MASTER', P.MASTERBILLID, P.PROVIDER_ID, P.PAGE_AMT, "
               "P.BANK_DATE, " +
               stampBeforeIssue + " FROM PAY_MASTER P WHERE P.PAGE_ID = :K; ";
    sql << "      UPDATE PAY_MASTER P SET P.BANK_DATE = " + stampBeforeIssue + " WHERE P.PAGE_ID = :K; ";
    sql << "      " + journal::chequeEntryStatement(runId, ":K", ":LISTED", db::quote(voidedState()));
    sql << "      VOIDED = 1; ";
    sql << "    END ";
    sql << "    SUSPEND; ";
    sql << "  END ";
    sql << "END";
    return sql;
}

} // namespace cheque
