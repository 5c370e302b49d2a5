#pragma once
// The issue state of a cheque, read from the stamps of the bills that pay it (PAY_MASTER rows
// whose PAGE_ID is the cheque number): empty when none is stamped (or no bill carries the
// number), the date when all carry the same one, "部分" when they differ. The list shows it
// and the press compares it, so both read it through the one expression here.
#include "cheque/issue_result.h"
#include "db/sql.h"

#include <string>
#include <vector>

namespace cheque {

// The grid's field for the state and its title.
inline constexpr const char* kIssueStateField = "ISSUED_ON";

// Big5 "部分".
std::string partlyIssued();
// Big5 "作廢": the state of a voided cheque.
std::string voidedState();

// The state as a scalar sub-select for the cheque number `chequeIdExpression` (a column such
// as "W.ID" or a variable such as ":K").
std::string issueStateOf(const std::string& chequeIdExpression);

// The grid's query: every column of the listed table, then the state.
db::SqlLines listWithIssueState(const std::string& listedTable, const std::string& orderBy);

// One pass of the press over some cheques, in the press's transaction: per cheque, its bills
// are locked (another workstation's press is waited for within the transaction's bound), the
// state is read again and compared with the listed one; only a cheque still as listed gets
// the issue date on its bills and its row copied from the listed to the issued table, marked
// "補印" there when it was issued before, and its bills journalled under run `runId` with
// their stamps before and after. Returns one row per cheque: ID, NOW_STATE, CLAIMED (1 or 0).
db::SqlLines claimCheques(const std::vector<ChequeState>& listed, const std::string& issueDate,
                          const std::string& listedTable, const std::string& issuedTable, long long runId);

// The void press's pass over some ticked cheques, in its transaction: per cheque, its bills
// are locked and the state compared with the listed one; only a cheque still as listed and
// issued has each bill's stamp put back to the one it had before its latest issue (journalled
// under `runId`) and is journalled as voided. Returns ID, NOW_STATE, VOIDED (1 or 0).
db::SqlLines voidCheques(const std::vector<ChequeState>& listed, long long runId);

// Big5 "補印": the FLAG of a re-issued cheque in the issued table, printed on the issue list.
std::string reissueMark();

} // namespace cheque
