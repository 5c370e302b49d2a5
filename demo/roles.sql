/*
  Who may do what at the settlement desk, enforced by the database itself, so a clerk with a
  SQL tool and the same credentials gets no further than the window lets them.

  The three roles (a user works under one of them by connecting with that role):
  - DESK_CLERK      出納  reads the books, lists, remits, issues cheques, reads and adds to the
                         payment journal, creates and drops its own work tables;
  - DESK_SUPERVISOR 主管  all of the clerk's, plus taking a stamp off a bill or changing it:
                         clearing remittance dates, voiding cheques, remitting again;
  - DESK_AUDITOR    稽核  reads the books and the journal; its work tables serve its
                         inquiries and change nothing of the books.
  SYSDBA, the database owner and RDB$ADMIN stay unrestricted (they administer the database).

  Run once on the chain's database by its administrator: scripts/desk-admin roles DATABASE.
  Running it again is harmless: every statement is a CREATE OR ALTER, a GRANT, or a CREATE
  of what does not exist yet.
*/

SET TERM ^ ;

EXECUTE BLOCK AS
BEGIN
  IF (NOT EXISTS (SELECT 1 FROM RDB$ROLES WHERE RDB$ROLE_NAME = 'DESK_CLERK')) THEN
    EXECUTE STATEMENT 'CREATE ROLE DESK_CLERK';
  IF (NOT EXISTS (SELECT 1 FROM RDB$ROLES WHERE RDB$ROLE_NAME = 'DESK_SUPERVISOR')) THEN
    EXECUTE STATEMENT 'CREATE ROLE DESK_SUPERVISOR';
  IF (NOT EXISTS (SELECT 1 FROM RDB$ROLES WHERE RDB$ROLE_NAME = 'DESK_AUDITOR')) THEN
    EXECUTE STATEMENT 'CREATE ROLE DESK_AUDITOR';
END^

SET TERM ; ^
COMMIT;

CREATE OR ALTER EXCEPTION DESK_NOT_PERMITTED
  'This change of a payment stamp needs the supervisor role DESK_SUPERVISOR';

/* Reading the books: every role. */
GRANT SELECT ON PUB_PARAM    TO ROLE DESK_CLERK, ROLE DESK_SUPERVISOR, ROLE DESK_AUDITOR;
GRANT SELECT ON SLAVE_ITEM   TO ROLE DESK_CLERK, ROLE DESK_SUPERVISOR, ROLE DESK_AUDITOR;
GRANT SELECT ON BANK_ACCOUNT TO ROLE DESK_CLERK, ROLE DESK_SUPERVISOR, ROLE DESK_AUDITOR;
GRANT SELECT ON PROVIDER     TO ROLE DESK_CLERK, ROLE DESK_SUPERVISOR, ROLE DESK_AUDITOR;
GRANT SELECT ON PAY_MASTER   TO ROLE DESK_CLERK, ROLE DESK_SUPERVISOR, ROLE DESK_AUDITOR;
GRANT SELECT ON PAY_MASTERU  TO ROLE DESK_CLERK, ROLE DESK_SUPERVISOR, ROLE DESK_AUDITOR;
GRANT SELECT ON CHKPAY       TO ROLE DESK_CLERK, ROLE DESK_SUPERVISOR, ROLE DESK_AUDITOR;

/* The back office's text functions, used by the desk's statements. */
GRANT EXECUTE ON FUNCTION STRLEN TO ROLE DESK_CLERK, ROLE DESK_SUPERVISOR, ROLE DESK_AUDITOR;
GRANT EXECUTE ON FUNCTION SUBSTR TO ROLE DESK_CLERK, ROLE DESK_SUPERVISOR, ROLE DESK_AUDITOR;

/* Stamping: only the stamp column, and only the paying roles. What a clerk may not do with
   it (change or remove a stamp) the guard triggers below refuse. */
GRANT UPDATE (BANK_DATE) ON PAY_MASTER  TO ROLE DESK_CLERK, ROLE DESK_SUPERVISOR;
GRANT UPDATE (BANK_DATE) ON PAY_MASTERU TO ROLE DESK_CLERK, ROLE DESK_SUPERVISOR;
/* The window sets a provider's missing remittance fee to 0 when it opens. */
GRANT UPDATE (ACNT_AMT) ON PROVIDER TO ROLE DESK_CLERK, ROLE DESK_SUPERVISOR;

/* Work tables and views of each run: created, filled and dropped by their owner. */
GRANT CREATE TABLE TO ROLE DESK_CLERK;
GRANT CREATE VIEW  TO ROLE DESK_CLERK;
GRANT CREATE TABLE TO ROLE DESK_SUPERVISOR;
GRANT CREATE VIEW  TO ROLE DESK_SUPERVISOR;
GRANT CREATE TABLE TO ROLE DESK_AUDITOR;
GRANT CREATE VIEW  TO ROLE DESK_AUDITOR;

/*
  A stamp once set is the record that a bill was paid. Setting it on an unstamped bill is the
  clerk's work; changing or removing it (clearing, voiding, remitting again) is the
  supervisor's. The triggers refuse everyone else, whatever tool they use.
*/
SET TERM ^ ;

CREATE OR ALTER TRIGGER PAY_MASTER_STAMP_GUARD FOR PAY_MASTER
ACTIVE BEFORE UPDATE POSITION 0
AS
BEGIN
  IF (COALESCE(OLD.BANK_DATE, '') <> ''
      AND COALESCE(NEW.BANK_DATE, '') <> COALESCE(OLD.BANK_DATE, '')
      AND CURRENT_ROLE NOT IN ('DESK_SUPERVISOR', 'RDB$ADMIN')
      AND CURRENT_USER <> 'SYSDBA'
      AND CURRENT_USER IS DISTINCT FROM
          (SELECT TRIM(RDB$OWNER_NAME) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'PAY_MASTER')) THEN
    EXCEPTION DESK_NOT_PERMITTED;
END^

CREATE OR ALTER TRIGGER PAY_MASTERU_STAMP_GUARD FOR PAY_MASTERU
ACTIVE BEFORE UPDATE POSITION 0
AS
BEGIN
  IF (COALESCE(OLD.BANK_DATE, '') <> ''
      AND COALESCE(NEW.BANK_DATE, '') <> COALESCE(OLD.BANK_DATE, '')
      AND CURRENT_ROLE NOT IN ('DESK_SUPERVISOR', 'RDB$ADMIN')
      AND CURRENT_USER <> 'SYSDBA'
      AND CURRENT_USER IS DISTINCT FROM
          (SELECT TRIM(RDB$OWNER_NAME) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'PAY_MASTERU')) THEN
    EXCEPTION DESK_NOT_PERMITTED;
END^

SET TERM ; ^

GRANT USAGE ON EXCEPTION DESK_NOT_PERMITTED TO TRIGGER PAY_MASTER_STAMP_GUARD;
GRANT USAGE ON EXCEPTION DESK_NOT_PERMITTED TO TRIGGER PAY_MASTERU_STAMP_GUARD;
COMMIT;
