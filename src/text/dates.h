#pragma once
// Date strings "yyyy/mm/dd" (ten bytes, zero-padded) and ROC years.
#include <ctime>
#include <string>
#include <string_view>

namespace text {

struct Date {
    int year = 0, month = 0, day = 0;
    bool operator==(const Date&) const = default;
};

bool isValidDate(const Date& d);

// Parses a date edit's text (year/month/day with '/', '-' or '.', blanks around parts allowed,
// as the "yyyy/mm/dd" mask leaves them where digits were deleted; a four-digit year, month and
// day with one or two digits). Throws UserError "'%s' is not a valid date" with the text as
// typed (the edit text is Big5 like every text; the message is UTF-8).
Date parseDateEditText(std::string_view editText);
// Returns the ten-byte date string; throws as parseDateEditText does.
std::string dateStringFromEdit(std::string_view editText);

std::string toDateString(const Date& d);             // "2016/02/29"
bool parseDateString(std::string_view s, Date& out); // strict "yyyy/mm/dd"
Date today();
// The broken-down local time of now (the C library's thread-safe form on each system).
std::tm localTimeNow();

int rocYear(int gregorianYear); // year - 1911

} // namespace text
