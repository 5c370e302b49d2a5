#include "text/dates.h"

#include "text/big5.h"
#include "text/error.h"

#include <cstdio>
#include <ctime>

namespace text {
namespace {

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

bool isSeparator(char c)
{
    return c == '/' || c == '-' || c == '.';
}

// One part of the edit text: blanks around it are what the mask leaves where digits were
// deleted; inside it only digits count, between minDigits and maxDigits of them.
bool parsePart(std::string_view part, std::size_t minDigits, std::size_t maxDigits, int& out)
{
    while (!part.empty() && part.front() == ' ')
        part.remove_prefix(1);
    while (!part.empty() && part.back() == ' ')
        part.remove_suffix(1);
    if (part.size() < minDigits || part.size() > maxDigits)
        return false;
    out = 0;
    for (const char c : part) {
        if (c < '0' || c > '9')
            return false;
        out = out * 10 + (c - '0');
    }
    return true;
}

bool parseEditText(std::string_view text, Date& date)
{
    std::string_view parts[3];
    std::size_t count = 0, start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || isSeparator(text[i])) {
            if (count == 3)
                return false;
            parts[count++] = text.substr(start, i - start);
            start = i + 1;
        }
    }
    return count == 3 && parsePart(parts[0], 4, 4, date.year) && parsePart(parts[1], 1, 2, date.month) &&
           parsePart(parts[2], 1, 2, date.day) && isValidDate(date);
}

} // namespace

bool isValidDate(const Date& d)
{
    return d.year >= 1 && d.year <= 9999 && d.month >= 1 && d.month <= 12 && d.day >= 1 &&
           d.day <= daysInMonth(d.year, d.month);
}

Date parseDateEditText(std::string_view editText)
{
    Date date;
    if (!parseEditText(editText, date))
        throw UserError(formatMessage("'%s' is not a valid date", big5ToUtf8(editText)));
    return date;
}

std::string dateStringFromEdit(std::string_view editText)
{
    return toDateString(parseDateEditText(editText));
}

std::string toDateString(const Date& d)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d", d.year, d.month, d.day);
    return buffer;
}

bool parseDateString(std::string_view s, Date& out)
{
    if (s.size() != 10 || s[4] != '/' || s[7] != '/')
        return false;
    Date d;
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (s[i] < '0' || s[i] > '9')
            return false;
    auto number = [&](std::size_t from, std::size_t length) {
        int n = 0;
        for (std::size_t i = from; i < from + length; ++i)
            n = n * 10 + (s[i] - '0');
        return n;
    };
    d.year = number(0, 4);
    d.month = number(5, 2);
    d.day = number(8, 2);
    if (!isValidDate(d))
        return false;
    out = d;
    return true;
}

std::tm localTimeNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return local;
}

Date today()
{
    const std::tm local = localTimeNow();
    return Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

int rocYear(int gregorianYear)
{
    return gregorianYear - 1911;
}

} // namespace text
