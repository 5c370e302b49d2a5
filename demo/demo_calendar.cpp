#include "demo/demo_parts.h"

#include "text/dates.h"

namespace demo {

std::string dateText(std::chrono::sys_days day)
{
    const std::chrono::year_month_day ymd(day);
    return text::toDateString({static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
                               static_cast<int>(static_cast<unsigned>(ymd.day()))});
}

std::chrono::sys_days todayDay()
{
    const text::Date today = text::today();
    return std::chrono::sys_days(std::chrono::year(today.year) /
                                 std::chrono::month(static_cast<unsigned>(today.month)) /
                                 std::chrono::day(static_cast<unsigned>(today.day)));
}

} // namespace demo
