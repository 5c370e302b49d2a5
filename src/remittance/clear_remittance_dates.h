#pragma once
// "匯款日清空" (hidden until F1): clears the remittance date of every bill of the
// ticked rows' providers in the condition confirm's selection (WorkTableB), in every store,
// as one module operation: each bill is claimed by the stamp the list saw, so a stamp another
// clerk made since is left alone and named; the clearing is journalled and commits as a whole.
#include "remittance/remit.h"

namespace remittance {

struct ClearResult {
    enum class Outcome { Cleared, ConfirmAgain };
    Outcome outcome = Outcome::ConfirmAgain;
    long long runId = 0;              // the journal's run, 0 when nothing was cleared
    std::vector<BillOnList> cleared;  // bills whose remittance date this press cleared
    std::vector<LeftOutBill> leftOut; // bills stamped or cleared by someone else since the list
    std::string recoveryNotice;       // UTF-8, "" for nothing

    std::vector<std::string> messages() const;
};

// `books` is the books option ("本店匯款"/"聯合匯款") as it stands at the press.
ClearResult clearRemittanceDates(RemittanceDesk& desk, Books books);

} // namespace remittance
