#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace text {

// Half away from zero, to whole units: the one rounding rule for amounts.
double roundHalfAwayFromZero(double value);
std::int64_t roundToInt64(double value); // throws UserError outside the int64 range

// "#,##0": grouped whole number after rounding, e.g. 1234567.5 -> "1,234,568", -5 -> "-5".
std::string formatGrouped(double value);

// "#,##0.00": grouped with two decimals, rounded half away from zero on the value's shortest
// decimal form, e.g. 244502.5 -> "244,502.50".
std::string formatGroupedCents(double value);
// True when the amount has cents: it differs from its whole amount in the first two decimals.
bool hasCents(double value);

// Plain decimal without exponent for amounts in SQL text and files ("1234.5", "0", "-12"):
// at most two decimals, rounded half away from zero on the value's shortest decimal form
// (2.675 -> "2.68"), trailing zeros and a bare point dropped, never "-0".
std::string formatPlain(double value);

// Strict integer conversion: an optional sign and digits, nothing else (no blanks); throws
// UserError "'%s' is not a valid integer value" (the Big5 text shown decoded).
std::int64_t parseInteger(std::string_view text);

// A count with two digits at least: 1 -> "01", 12 -> "12", 100 -> "100". The suffix of a store
// column group (AMT201, ID_12) and the two-digit parts of dates and record fields.
std::string twoDigits(int n);

} // namespace text
