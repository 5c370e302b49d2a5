#pragma once
// Cheques are printed in whole dollars (NT$ 244,503 for 244,502.50): before anything is
// printed, the clerk is told which listed cheques carry cents, so none is printed unnoticed.
#include "db/record_set.h"

#include <string>

namespace cheque {

// The message naming each listed cheque (ID, CURRAMT) whose amount has cents, with the amount
// it prints; empty when there is none. UTF-8.
std::string centsNotice(const db::RecordSet& listed);

} // namespace cheque
