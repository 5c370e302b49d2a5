#pragma once
// Steps the cheque presses share (inside the cheque module only).
#include "cheque/cheque_desk.h"

#include <string>

namespace cheque {

// Shows "請重新 條件確認...... " and returns false when the list is not current.
bool requireCurrentList(ChequeDesk& desk);
// The journal's tables, created when the database predates them; the clerk's notice.
std::string journalReady(ChequeDesk& desk);
void fillRocColumns(ChequeDesk& desk, const db::RecordSet& listed);
// The printing routine: the issued cheques of this run. `mark` (Big5) goes on every page of
// the list a reprint from the journal prints.
void printIssued(ChequeDesk& desk, const PrintOptions& options, const std::string& mark = {});
// The print hand-over after the commit; its failure goes into the result.
void handOverPrint(ChequeDesk& desk, const PrintOptions& options, IssueResult& result);

} // namespace cheque
