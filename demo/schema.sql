/*
  The back-office tables the settlement desk reads and writes.

  Conventions of the back office:
  - character set NONE throughout: texts are Big5 bytes stored as they come, every
    width below counts bytes;
  - dates are ten-byte strings "yyyy/mm/dd", compared as text;
  - amounts are DOUBLE PRECISION;
  - a bill's BANK_DATE holds the date it was remitted or its cheque issued, and is
    empty or NULL while it is not processed.

  Widths of the copied columns match the work tables the desk builds from them, so a
  copy never overflows.
*/

/* Company parameters: one row. */
CREATE TABLE PUB_PARAM (
  REP_TITLE      VARCHAR(60),
  COMP_ID        VARCHAR(10),
  COMP_TEL       VARCHAR(20),
  COMP_ADDR      VARCHAR(80)
);

/* Stores of the chain. The desk reads the first two columns as id and name. */
CREATE TABLE SLAVE_ITEM (
  STORE_ID       VARCHAR(10) NOT NULL,
  STORE_NAME     VARCHAR(20),
  STORE_TEL      VARCHAR(20),
  CONSTRAINT PK_SLAVE_ITEM PRIMARY KEY (STORE_ID)
);

/* The company's own bank accounts that pay the providers. EXPORT_FILE names the
   bank's two transfer files as "interbank-samebank". */
CREATE TABLE BANK_ACCOUNT (
  ACNT_ID        VARCHAR(20) NOT NULL,
  ACNT_NAME      VARCHAR(50),
  BANK_ID        VARCHAR(10),
  BANK_NAME      VARCHAR(50),
  ACNT_NO        VARCHAR(20),
  EXPORT_FILE    VARCHAR(20),
  CON_PEOPLE     VARCHAR(20),
  CONSTRAINT PK_BANK_ACCOUNT PRIMARY KEY (ACNT_ID)
);

/* Providers (suppliers) with the bank account they are paid into. BANK_ID is the
   seven-digit bank and branch code, ACNT_AMT the remittance fee taken off every
   remitted bill. */
CREATE TABLE PROVIDER (
  PROVIDER_ID    VARCHAR(10) NOT NULL,
  PROVIDER_NAME  VARCHAR(50),
  PROVIDER_PHONE VARCHAR(20),
  PROVIDER_FAX   VARCHAR(20),
  PROVIDER_ADDR  VARCHAR(80),
  BANK_ID        VARCHAR(20),
  BANK_NAME      VARCHAR(50),
  BANK_TITLE     VARCHAR(50),
  BANK_ACCID     VARCHAR(20),
  ACNT_ID        VARCHAR(20),
  ACNT_AMT       DOUBLE PRECISION,
  FAX_YN         VARCHAR(1),
  CONSTRAINT PK_PROVIDER PRIMARY KEY (PROVIDER_ID)
);

CREATE INDEX IX_PROVIDER_NAME ON PROVIDER (PROVIDER_NAME);

/* The own store's payment bills. CASH_AMT is paid in cash, BANK_IO by bank
   transfer, PAGE_AMT by the cheque numbered PAGE_ID, due on EXPDATE. */
CREATE TABLE PAY_MASTER (
  MASTERBILLID   VARCHAR(20) NOT NULL,
  BILL_DATE      VARCHAR(10),
  PAY_DATE       VARCHAR(10),
  PROVIDER_ID    VARCHAR(10),
  PROVIDER_NAME  VARCHAR(50),
  STORE_ID       VARCHAR(10),
  ACNT_ID        VARCHAR(20),
  BANK_DATE      VARCHAR(10),
  CASH_AMT       DOUBLE PRECISION DEFAULT 0,
  BANK_IO        DOUBLE PRECISION DEFAULT 0,
  PAGE_AMT       DOUBLE PRECISION DEFAULT 0,
  PAGE_ID        VARCHAR(20),
  EXPDATE        VARCHAR(10),
  PRE_PAY        DOUBLE PRECISION DEFAULT 0,
  TAKE_PRE       DOUBLE PRECISION DEFAULT 0,
  TOT_DISCOUNT   DOUBLE PRECISION DEFAULT 0,
  TOT_PATCH      DOUBLE PRECISION DEFAULT 0,
  OVER_PAY       DOUBLE PRECISION DEFAULT 0,
  TOTAL_PLUS     DOUBLE PRECISION DEFAULT 0,
  CONSTRAINT PK_PAY_MASTER PRIMARY KEY (MASTERBILLID)
);

CREATE INDEX IX_PAY_MASTER_BILL_DATE ON PAY_MASTER (BILL_DATE);
CREATE INDEX IX_PAY_MASTER_PAY_DATE ON PAY_MASTER (PAY_DATE);
CREATE INDEX IX_PAY_MASTER_PROVIDER ON PAY_MASTER (PROVIDER_ID);
CREATE INDEX IX_PAY_MASTER_ACNT_ID ON PAY_MASTER (ACNT_ID);
CREATE INDEX IX_PAY_MASTER_PAGE_ID ON PAY_MASTER (PAGE_ID);
CREATE INDEX IX_PAY_MASTER_BANK_DATE ON PAY_MASTER (BANK_DATE);

/* The joint payment bills of all stores: SECBILLID is the joint key, MASTERBILLID
   the bill's number in its store. */
CREATE TABLE PAY_MASTERU (
  SECBILLID      VARCHAR(20) NOT NULL,
  MASTERBILLID   VARCHAR(20),
  STORE_ID       VARCHAR(10),
  BILL_DATE      VARCHAR(10),
  PAY_DATE       VARCHAR(10),
  PROVIDER_ID    VARCHAR(10),
  PROVIDER_NAME  VARCHAR(50),
  ACNT_ID        VARCHAR(20),
  BANK_DATE      VARCHAR(10),
  CASH_AMT       DOUBLE PRECISION DEFAULT 0,
  BANK_IO        DOUBLE PRECISION DEFAULT 0,
  PAGE_AMT       DOUBLE PRECISION DEFAULT 0,
  PAGE_ID        VARCHAR(20),
  EXPDATE        VARCHAR(10),
  PRE_PAY        DOUBLE PRECISION DEFAULT 0,
  TAKE_PRE       DOUBLE PRECISION DEFAULT 0,
  TOT_DISCOUNT   DOUBLE PRECISION DEFAULT 0,
  TOT_PATCH      DOUBLE PRECISION DEFAULT 0,
  OVER_PAY       DOUBLE PRECISION DEFAULT 0,
  TOTAL_PLUS     DOUBLE PRECISION DEFAULT 0,
  CONSTRAINT PK_PAY_MASTERU PRIMARY KEY (SECBILLID)
);

CREATE INDEX IX_PAY_MASTERU_MASTERBILLID ON PAY_MASTERU (MASTERBILLID);
CREATE INDEX IX_PAY_MASTERU_STORE_ID ON PAY_MASTERU (STORE_ID);
CREATE INDEX IX_PAY_MASTERU_BILL_DATE ON PAY_MASTERU (BILL_DATE);
CREATE INDEX IX_PAY_MASTERU_PAY_DATE ON PAY_MASTERU (PAY_DATE);
CREATE INDEX IX_PAY_MASTERU_PROVIDER ON PAY_MASTERU (PROVIDER_ID);
CREATE INDEX IX_PAY_MASTERU_ACNT_ID ON PAY_MASTERU (ACNT_ID);
CREATE INDEX IX_PAY_MASTERU_PAGE_ID ON PAY_MASTERU (PAGE_ID);
CREATE INDEX IX_PAY_MASTERU_BANK_DATE ON PAY_MASTERU (BANK_DATE);

/* Provider cheques: ID is the cheque number that the bills it pays carry in
   PAGE_ID. RCVDATE is the issue date, EXPDATE the due date, ADVDATE the date it
   may be cashed early. */
CREATE TABLE CHKPAY (
  ID             VARCHAR(20) NOT NULL,
  RCVDATE        VARCHAR(10),
  EXPDATE        VARCHAR(10),
  ADVDATE        VARCHAR(10),
  PROVIDER_ID    VARCHAR(10),
  PROVIDER_NAME  VARCHAR(50),
  CHKTITLE       VARCHAR(50),
  ACNT_ID        VARCHAR(20),
  ACNT_NO        VARCHAR(20),
  BANK_NAME      VARCHAR(50),
  CURRAMT        DOUBLE PRECISION DEFAULT 0,
  MEMO           VARCHAR(200),
  REMARK2        VARCHAR(50),
  CONSTRAINT PK_CHKPAY PRIMARY KEY (ID)
);

CREATE INDEX IX_CHKPAY_RCVDATE ON CHKPAY (RCVDATE);
CREATE INDEX IX_CHKPAY_EXPDATE ON CHKPAY (EXPDATE);
CREATE INDEX IX_CHKPAY_ADVDATE ON CHKPAY (ADVDATE);
CREATE INDEX IX_CHKPAY_PROVIDER ON CHKPAY (PROVIDER_ID);
CREATE INDEX IX_CHKPAY_ACNT_ID ON CHKPAY (ACNT_ID);

/*
  STRLEN and SUBSTR with the behaviour of the classic UDF library the desk's
  statements were written against (external UDFs are refused by current servers):
  - a NULL text reads as empty: STRLEN(NULL) = 0, SUBSTR(NULL, ...) = '';
  - SUBSTR's third argument is the END position (1-based, inclusive), not a length:
    SUBSTR(s, 1, n) is the first n bytes;
  - a start below 1, an end before the start, or a start past the text gives '';
  - lengths and positions count bytes (character set NONE).
  Texts up to 255 bytes, more than any column of the back office holds: every call passes
  its argument and result at the declared length, so a wider declaration only makes each
  call dearer. A longer text is refused with a string truncation error.
*/
SET TERM ^ ;

CREATE FUNCTION STRLEN (S VARCHAR(255) CHARACTER SET NONE)
RETURNS INTEGER
DETERMINISTIC
AS
BEGIN
  RETURN COALESCE(OCTET_LENGTH(S), 0);
END^

CREATE FUNCTION SUBSTR (S VARCHAR(255) CHARACTER SET NONE, FIRST_POS INTEGER, LAST_POS INTEGER)
RETURNS VARCHAR(255) CHARACTER SET NONE
DETERMINISTIC
AS
BEGIN
  IF (S IS NULL OR FIRST_POS IS NULL OR LAST_POS IS NULL) THEN
    RETURN '';
  IF (FIRST_POS < 1 OR LAST_POS < FIRST_POS OR FIRST_POS > OCTET_LENGTH(S)) THEN
    RETURN '';
  RETURN SUBSTRING(S FROM FIRST_POS FOR LAST_POS - FIRST_POS + 1);
END^

SET TERM ; ^
