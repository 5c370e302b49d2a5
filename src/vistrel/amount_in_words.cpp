#include "vistrel/amount_in_words.h"

#include "text/numbers.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace vistrel {
namespace {

std::string headerText(const db::RecordSet& header, const char* field)
{
    const int c = header.columnIndex(field);
    if (c < 0 || header.rowCount() == 0)
        return {};
    std::string value = header.text(0, static_cast<std::size_t>(c));
    while (!value.empty() && value.back() == ' ')
        value.pop_back();
    return value;
}

} // namespace

Numerals numeralsFromHeader(const db::RecordSet& header)
{
    Numerals n;
    for (int d = 1; d <= 9; ++d)
        n.digit[d] = headerText(header, ("Field" + std::to_string(d)).c_str());
    n.digit[0] = headerText(header, "Field10");
    n.closing = headerText(header, "Field11");
    n.ten = headerText(header, "Field13");
    n.hundred = headerText(header, "Field14");
    n.thousand = headerText(header, "Field15");
    n.tenThousand = headerText(header, "Field16");
    n.negative = headerText(header, "Field17");
    return n;
}

std::string amountInWords(double amount, const Numerals& n)
{
    std::int64_t value = text::roundToInt64(amount);
    std::string words;
    if (value < 0) {
        words += n.negative;
        value = -value;
    }
    if (value == 0)
        return words + n.digit[0] + n.closing;

    // Groups of four digits, least significant first.
    std::vector<int> groups;
    for (std::int64_t v = value; v > 0; v /= 10000)
        groups.push_back(static_cast<int>(v % 10000));

    const std::string* placeUnit[4] = {&n.thousand, &n.hundred, &n.ten, nullptr};
    bool written = false;     // a digit has been written
    bool zeroPending = false; // zeros were passed since the last digit written
    for (std::size_t g = groups.size(); g-- > 0;) {
        const int group = groups[g];
        int divisor = 1000;
        for (int place = 0; place < 4; ++place, divisor /= 10) {
            const int d = group / divisor % 10;
            if (d == 0) {
                zeroPending = written;
                continue;
            }
            if (zeroPending)
                words += n.digit[0];
            zeroPending = false;
            words += n.digit[d];
            if (placeUnit[place])
                words += *placeUnit[place];
            written = true;
        }
        if (group != 0)
            for (std::size_t k = 0; k < g; ++k)
                words += n.tenThousand;
    }
    return words + n.closing;
}

} // namespace vistrel
