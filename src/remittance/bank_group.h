#pragma once
// The two bank groups of a remittance. A provider whose bank code begins with "016" banks with
// the paying bank itself: its bills go to the same-bank transfer file (then RTTR.BAT) and the
// same-bank list; every other bill goes to the inter-bank ones (RMTR.BAT). The check before a
// remit, the transfer files and the list all take the rule from here.
#include <string>
#include <string_view>

namespace remittance {

// The "匯款報表" option's items in order: which group the list shows.
enum class BankGroup { InterBank = 0, SameBank = 1 };

BankGroup bankGroupOf(std::string_view bankId);

// The statement condition on BANK_ID that selects the group's bills, ending in a blank:
// "BANK_ID NOT LIKE  '016%' " or "BANK_ID LIKE  '016%' ". A bill without bank code is in
// neither group.
std::string bankGroupCondition(BankGroup group);

} // namespace remittance
