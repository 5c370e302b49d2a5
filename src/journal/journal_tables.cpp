#include "journal/journal_tables.h"

#include "text/error.h"

namespace journal {

const std::vector<std::string>& journalDefinition()
{
    static const std::vector<std::string> statements = {
        "CREATE GENERATOR PAY_RUN_SEQ",
        "CREATE EXCEPTION E_PAY_JOURNAL_KEPT 'The payment journal is kept as written: its rows are never changed or "
        "deleted'",
        "CREATE TABLE PAY_RUN (\n"
        "  RUN_ID BIGINT NOT NULL PRIMARY KEY,\n"
        "  KIND VARCHAR(12) NOT NULL,\n"
        "  BOOKS VARCHAR(20),\n"
        "  RUN_AT TIMESTAMP DEFAULT CURRENT_TIMESTAMP,\n"
        "  DB_USER VARCHAR(63),\n"
        "  DB_ROLE VARCHAR(63),\n"
        "  HOST_NAME VARCHAR(255),\n"
        "  ATTACHMENT_ID BIGINT,\n"
        "  RUN_DATE VARCHAR(10),\n"
        "  CONDITIONS VARCHAR(2000),\n"
        "  REASON VARCHAR(400),\n"
        "  BILL_COUNT INTEGER,\n"
        "  BILL_SUM DOUBLE PRECISION,\n"
        "  LEFT_OUT_COUNT INTEGER,\n"
        "  FILE_COUNT INTEGER,\n"
        "  PREV_RUN_ID BIGINT,\n"
        "  RUN_HASH CHAR(64))",
        // A journal of an earlier version gets the seal's columns.
        "ALTER TABLE PAY_RUN ADD PREV_RUN_ID BIGINT",
        "ALTER TABLE PAY_RUN ADD RUN_HASH CHAR(64)",
        "CREATE TABLE PAY_RUN_BILL (\n"
        "  RUN_ID BIGINT NOT NULL,\n"
        "  BOOK VARCHAR(20) NOT NULL,\n"
        "  BILL_KEY VARCHAR(20) NOT NULL,\n"
        "  PROVIDER_ID VARCHAR(20),\n"
        "  AMOUNT DOUBLE PRECISION,\n"
        "  STAMP_BEFORE VARCHAR(20),\n"
        "  STAMP_AFTER VARCHAR(20))",
        "CREATE INDEX IX_PAY_RUN_BILL_RUN ON PAY_RUN_BILL (RUN_ID)",
        "CREATE INDEX IX_PAY_RUN_BILL_KEY ON PAY_RUN_BILL (BILL_KEY)",
        "CREATE TABLE PAY_RUN_FILE (\n"
        "  RUN_ID BIGINT NOT NULL,\n"
        "  FILE_NO INTEGER NOT NULL,\n"
        "  FOLDER VARCHAR(255) NOT NULL,\n"
        "  FILE_NAME VARCHAR(255) NOT NULL,\n"
        "  TEMP_NAME VARCHAR(255) NOT NULL,\n"
        "  RECORDS INTEGER,\n"
        "  BYTE_SIZE BIGINT,\n"
        "  SHA256 CHAR(64),\n"
        "  BYTES BLOB SUB_TYPE 0,\n"
        "  PRIMARY KEY (RUN_ID, FILE_NO))",
        "CREATE TABLE PAY_RUN_PLACED (\n"
        "  RUN_ID BIGINT NOT NULL,\n"
        "  FILE_NO INTEGER NOT NULL,\n"
        "  OUTCOME VARCHAR(12) NOT NULL,\n"
        "  PLACED_AT TIMESTAMP DEFAULT CURRENT_TIMESTAMP,\n"
        "  HOST_NAME VARCHAR(255))",
        "CREATE INDEX IX_PAY_RUN_PLACED_RUN ON PAY_RUN_PLACED (RUN_ID, FILE_NO)",
        "CREATE TABLE PAY_RUN_CHEQUE (\n"
        "  RUN_ID BIGINT NOT NULL,\n"
        "  CHEQUE_ID VARCHAR(20) NOT NULL,\n"
        "  STATE_BEFORE VARCHAR(10),\n"
        "  STATE_AFTER VARCHAR(10))",
        "CREATE INDEX IX_PAY_RUN_CHEQUE_ID ON PAY_RUN_CHEQUE (CHEQUE_ID)",
        "CREATE TRIGGER PAY_RUN_KEPT FOR PAY_RUN BEFORE UPDATE OR DELETE AS\n"
        "BEGIN EXCEPTION E_PAY_JOURNAL_KEPT; END",
        "CREATE TRIGGER PAY_RUN_BILL_KEPT FOR PAY_RUN_BILL BEFORE UPDATE OR DELETE AS\n"
        "BEGIN EXCEPTION E_PAY_JOURNAL_KEPT; END",
        "CREATE TRIGGER PAY_RUN_PLACED_KEPT FOR PAY_RUN_PLACED BEFORE UPDATE OR DELETE AS\n"
        "BEGIN EXCEPTION E_PAY_JOURNAL_KEPT; END",
        "CREATE TRIGGER PAY_RUN_CHEQUE_KEPT FOR PAY_RUN_CHEQUE BEFORE UPDATE OR DELETE AS\n"
        "BEGIN EXCEPTION E_PAY_JOURNAL_KEPT; END",
        // A file row takes its bytes in pieces within its press and is sealed by its checksum.
        "CREATE TRIGGER PAY_RUN_FILE_KEPT FOR PAY_RUN_FILE BEFORE UPDATE OR DELETE AS\n"
        "BEGIN\n"
        "  IF (DELETING OR OLD.SHA256 IS NOT NULL) THEN EXCEPTION E_PAY_JOURNAL_KEPT;\n"
        "END",
        "GRANT SELECT, INSERT ON PAY_RUN TO PUBLIC",
        "GRANT SELECT, INSERT ON PAY_RUN_BILL TO PUBLIC",
        "GRANT SELECT, INSERT, UPDATE ON PAY_RUN_FILE TO PUBLIC",
        "GRANT SELECT, INSERT ON PAY_RUN_PLACED TO PUBLIC",
        "GRANT SELECT, INSERT ON PAY_RUN_CHEQUE TO PUBLIC",
        "GRANT USAGE ON GENERATOR PAY_RUN_SEQ TO PUBLIC",
    };
    return statements;
}

bool journalTablesPresent(db::Executor& database)
{
    return database.lookup("SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME = 'PAY_RUN' AND "
                           "RDB$FIELD_NAME IN ('PREV_RUN_ID', 'RUN_HASH')") == "2" &&
           database.lookup("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME IN "
                           "('PAY_RUN', 'PAY_RUN_BILL', 'PAY_RUN_FILE', 'PAY_RUN_PLACED', 'PAY_RUN_CHEQUE')") == "5";
}

std::string ensureJournalTables(db::Connection& database)
{
    if (journalTablesPresent(database))
        return {};
    // One by one, committed each: the server builds an object's metadata at its commit. A
    // statement that fails (an object left by an earlier attempt, or made at this moment by
    // another workstation) does not stop the rest; what counts is that the tables are there.
    std::string firstError;
    for (const std::string& statement : journalDefinition()) {
        try {
            database.execute(statement);
        } catch (const text::UserError& error) {
            if (firstError.empty())
                firstError = error.what();
        }
    }
    if (!journalTablesPresent(database))
        throw text::UserError("資料庫尚無付款日誌資料表 (PAY_RUN 等),程式也無法建立,在建立之前不能匯款或開票。"
                              "請資料庫管理者處理。\n" +
                              firstError);
    return "資料庫原本沒有(或缺少部分)付款日誌,程式已建立付款日誌資料表 PAY_RUN、PAY_RUN_BILL、"
           "PAY_RUN_FILE、PAY_RUN_PLACED、PAY_RUN_CHEQUE:此後每次匯款、開票、匯款日清空與支票作廢都記在其中。";
}

} // namespace journal
