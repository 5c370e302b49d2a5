#pragma once
// The inquiry runs as sequences of single statements, each committed on its own: one INSERT
// per row kind from the view, one UPDATE pass over WorkTableA per column group (provider,
// paying account, net amount, bank prefixes with the back office's SUBSTR, store name), and
// the statistics as a DISTINCT insert followed by one correlated UPDATE per store. The
// program builds the same tables with set-based statements; these sequences are the
// reference the tests hold it to.
#include "inquiry/inquiry_run.h"

namespace inquiry_reference {

void prescribedRun(inquiry::Scope scope, const inquiry::InquiryConditions& conditions, inquiry::InquiryDesk& services);

} // namespace inquiry_reference
