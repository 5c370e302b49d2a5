#include "cheque/roc_due_date.h"

#include "text/dates.h"
#include "text/numbers.h"

namespace cheque {

RocDueDate rocDueDate(std::string_view dueDate)
{
    const auto year = text::parseInteger(dueDate.substr(0, 4));
    // Read as a date and written back in full, so "2016/2/9" prints as 2016/02/09.
    const std::string date = text::dateStringFromEdit(dueDate);
    RocDueDate roc;
    roc.yyyy = std::to_string(text::rocYear(static_cast<int>(year)));
    roc.mm = date.substr(5, 2);
    roc.dd = date.substr(8, 2);
    roc.ymd = roc.yyyy + date.substr(4, 3) + date.substr(7, 3);
    return roc;
}

} // namespace cheque
