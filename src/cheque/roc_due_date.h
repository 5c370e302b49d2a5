#pragma once
// The due date of a cheque as the cheque forms print it: the ROC year (Gregorian year less
// 1911, no leading zeros), two-digit month and day, and all three joined with slashes.
#include <string>
#include <string_view>

namespace cheque {

struct RocDueDate {
    std::string ymd;  // "105/02/29"
    std::string yyyy; // "105"
    std::string mm;   // "02"
    std::string dd;   // "29"
};

// What a date edit leaves in the column when its date was wiped: such a cheque is listed
// without ROC columns.
inline constexpr std::string_view kBlankDueDate = "    /  /";

// Throws text::UserError with the integer message when the first four bytes are no year, and
// with the date message when the whole is no date.
RocDueDate rocDueDate(std::string_view dueDate);

} // namespace cheque
