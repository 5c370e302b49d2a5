#pragma once
// The remittance condition confirm as a sequence of single statements, each committed on its
// own: the view, the fill of WorkTableA from it, then one UPDATE pass over WorkTableA per
// column group (store names, provider data, account key, account data, net amount, bank
// prefixes), with the back office's STRLEN and SUBSTR. The program builds the same tables
// with set-based statements; this sequence is the reference the tests hold it to.
#include "remittance/condition_confirm.h"

namespace remittance_reference {

void prescribedConfirm(remittance::RemittanceDesk& desk, const remittance::ConfirmConditions& conditions,
                       const remittance::ConfirmOutputs& outputs);

} // namespace remittance_reference
