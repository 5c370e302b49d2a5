#include "remittance/bank_group.h"

namespace remittance {
namespace {

constexpr std::string_view kSameBankPrefix = "016";

} // namespace

BankGroup bankGroupOf(std::string_view bankId)
{
    return bankId.starts_with(kSameBankPrefix) ? BankGroup::SameBank : BankGroup::InterBank;
}

std::string bankGroupCondition(BankGroup group)
{
    const std::string pattern = "'" + std::string(kSameBankPrefix) + "%' ";
    return group == BankGroup::SameBank ? "BANK_ID LIKE  " + pattern : "BANK_ID NOT LIKE  " + pattern;
}

} // namespace remittance
