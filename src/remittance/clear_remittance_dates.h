#pragma once
// "匯款日清空" (BitBtn1Click, hidden until F1): clears the remittance date of every bill of the
// ticked rows' providers in the condition confirm's selection (WorkTableB), in every store.
#include "remittance/remittance_conditions.h"
#include "remittance/remittance_desk.h"

namespace remittance {

// `books` is bsSkinRadioGroup13 as it stands at the press. The clearing of one press commits
// as a whole.
void clearRemittanceDates(RemittanceDesk& desk, Books books);

} // namespace remittance
