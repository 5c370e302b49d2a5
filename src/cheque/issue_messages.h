#pragma once
// What the cheque issue press says to the clerk (UTF-8; cheque numbers and dates are Big5 in
// the result and converted here).
#include "cheque/issue_result.h"

#include <string>
#include <vector>

namespace cheque {

// Asked before a press that would issue cheques the list shows as issued; names each with its
// issue date and asks for the reason of issuing it again.
std::string reissueQuestion(const std::vector<ChequeState>& issued);

// Asked when a used-up list is pressed again (its stamps committed, its print did not go out).
std::string reprintQuestion(std::size_t issuedCount);

// Names the cheques left out because their bills changed after the list was made; empty
// when there are none.
std::string changedSinceListedMessage(const IssueResult& result);

// The failed print hand-over and what the clerk can do; empty when the print went out.
std::string printFailureMessage(const IssueResult& result);

// Names the voided cheques a press left out; empty when there are none.
std::string voidedLeftOutMessage(const IssueResult& result);

// Asked before a void: the cheques with their issue dates, and the reason.
std::string voidQuestion(const std::vector<ChequeState>& cheques);

// What a void press did: voided, not voidable, changed since the list was made.
std::string voidResultMessage(const VoidResult& result);

} // namespace cheque
