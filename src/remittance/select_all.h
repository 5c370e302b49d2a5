#pragma once
// "全選": ticks every row in WorkTableA and reopens the grid on it,
// replacing whatever was ticked or cleared by hand.
#include "remittance/remittance_desk.h"

namespace remittance {

void selectAll(RemittanceDesk& desk);

} // namespace remittance
