#include "text/numbers.h"

#include "text/big5.h"
#include "text/error.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace text {
namespace {

// A finite double as the shortest decimal digits that read back as the same double, with
// the count of digits before the decimal point. Rounding these digits, not the binary value,
// gives the answer a clerk expects: 2.675 is "2.68" although its binary value lies below it.
struct Decimal {
    bool negative = false;
    std::string digits;    // no leading zeros, empty for zero
    int pointPosition = 0; // digits before the point; may be negative or exceed digits.size()
};

Decimal toDecimal(double value)
{
    Decimal d;
    if (value == 0)
        return d;
    d.negative = value < 0;
    char buffer[64];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific);
    (void)ec;
    const std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
    const auto e = text.find('e');
    for (const char c : text.substr(0, e))
        if (c != '.')
            d.digits.push_back(c);
    d.pointPosition = std::stoi(std::string(text.substr(e + 1))) + 1;
    return d;
}

// Keeps `decimals` digits after the point, rounding the rest half away from zero.
void roundDecimal(Decimal& d, int decimals)
{
    const int keep = d.pointPosition + decimals;
    if (keep >= static_cast<int>(d.digits.size()))
        return;
    if (keep < 0) {
        d.digits.clear();
        return;
    }
    const bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
    d.digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9')
            d.digits[static_cast<std::size_t>(i--)] = '0';
        if (i >= 0) {
            ++d.digits[static_cast<std::size_t>(i)];
        } else {
            d.digits.insert(d.digits.begin(), '1');
            ++d.pointPosition;
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
}

std::string plainText(const Decimal& d)
{
    if (d.digits.empty())
        return "0";
    std::string integerPart, fraction;
    const int size = static_cast<int>(d.digits.size());
    if (d.pointPosition <= 0) {
        integerPart = "0";
        fraction = std::string(static_cast<std::size_t>(-d.pointPosition), '0') + d.digits;
    } else if (d.pointPosition >= size) {
        integerPart = d.digits + std::string(static_cast<std::size_t>(d.pointPosition - size), '0');
    } else {
        integerPart = d.digits.substr(0, static_cast<std::size_t>(d.pointPosition));
        fraction = d.digits.substr(static_cast<std::size_t>(d.pointPosition));
    }
    std::string result = d.negative ? "-" : "";
    result += integerPart;
    if (!fraction.empty())
        result += "." + fraction;
    return result;
}

std::string nonFinite(double value)
{
    return std::isnan(value) ? "NAN" : value < 0 ? "-INF" : "INF";
}

} // namespace

double roundHalfAwayFromZero(double value)
{
    // Taken apart by hand: the fraction value - trunc(value) is exact, so 0.49999999999999994
    // stays 0. The round() of the Windows C run-time adds 0.5 first and makes it 1.
    const double whole = std::trunc(value);
    if (std::fabs(value - whole) >= 0.5)
        return whole + (value < 0 ? -1.0 : 1.0);
    return whole;
}

std::int64_t roundToInt64(double value)
{
    const double rounded = roundHalfAwayFromZero(value);
    // 2^63 is exactly representable; every double below it in magnitude fits.
    constexpr double limit = 9223372036854775808.0;
    if (!(rounded >= -limit && rounded < limit))
        throw UserError("數值超出範圍: " + formatPlain(value));
    return static_cast<std::int64_t>(rounded);
}

namespace {

// "1234567" -> "1,234,567", a leading "-" kept in front.
std::string grouped(const std::string& wholeNumber)
{
    const std::size_t start = !wholeNumber.empty() && wholeNumber[0] == '-' ? 1 : 0;
    std::string result = wholeNumber.substr(0, start);
    const std::size_t length = wholeNumber.size() - start;
    for (std::size_t i = 0; i < length; ++i) {
        if (i > 0 && (length - i) % 3 == 0)
            result += ',';
        result += wholeNumber[start + i];
    }
    return result;
}

} // namespace

std::string formatGrouped(double value)
{
    if (!std::isfinite(value))
        return nonFinite(value);
    return grouped(plainText(toDecimal(roundHalfAwayFromZero(value))));
}

std::string formatGroupedCents(double value)
{
    if (!std::isfinite(value))
        return nonFinite(value);
    const std::string plain = formatPlain(value);
    const std::size_t point = plain.find('.');
    std::string cents = point == std::string::npos ? std::string() : plain.substr(point + 1);
    cents.resize(2, '0');
    return grouped(plain.substr(0, point)) + "." + cents;
}

bool hasCents(double value)
{
    return std::isfinite(value) && formatPlain(value).find('.') != std::string::npos;
}

std::string formatPlain(double value)
{
    if (!std::isfinite(value))
        return nonFinite(value);
    auto d = toDecimal(value);
    roundDecimal(d, 2);
    return plainText(d);
}

std::int64_t parseInteger(std::string_view text)
{
    std::string_view digits = text;
    bool negative = false;
    if (!digits.empty() && (digits[0] == '+' || digits[0] == '-')) {
        negative = digits[0] == '-';
        digits.remove_prefix(1);
    }
    bool valid = !digits.empty();
    std::uint64_t magnitude = 0;
    constexpr std::uint64_t maxMagnitude = std::uint64_t{1} << 63; // |INT64_MIN|
    for (const char c : digits) {
        if (c < '0' || c > '9' || magnitude > (maxMagnitude - (c - '0')) / 10) {
            valid = false;
            break;
        }
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (valid && !negative && magnitude == maxMagnitude)
        valid = false;
    if (!valid)
        throw UserError(formatMessage("'%s' is not a valid integer value", big5ToUtf8(text)));
    return negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
}

std::string twoDigits(int n)
{
    return (n >= 0 && n < 10 ? "0" : "") + std::to_string(n);
}

} // namespace text
