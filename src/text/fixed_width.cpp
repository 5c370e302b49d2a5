#include "text/fixed_width.h"

#include "text/big5.h"
#include "text/error.h"

namespace text {

std::string cutBytes(std::string_view big5, std::size_t width)
{
    if (big5.size() <= width)
        return std::string(big5);
    std::size_t at = 0;
    while (at < width) {
        const auto length = big5CharacterLength(big5, at);
        if (at + length > width) {
            // Half a character would be garbage in a bank record or a report header: the
            // blank keeps the width exact and drops the whole character.
            std::string cut(big5.substr(0, at));
            cut.append(width - at, ' ');
            return cut;
        }
        at += length;
    }
    return std::string(big5.substr(0, width));
}

std::string padRight(std::string_view big5, std::size_t width)
{
    auto result = cutBytes(big5, width);
    result.append(width - result.size(), ' ');
    return result;
}

std::string padLeft(std::string_view big5, std::size_t width)
{
    auto cut = cutBytes(big5, width);
    return std::string(width - cut.size(), ' ') + cut;
}

std::string zeroFilled(std::int64_t value, std::size_t width)
{
    const auto digits = std::to_string(value);
    if (value < 0 || digits.size() > width)
        throw UserError("數值 " + digits + " 無法填入 " + std::to_string(width) + " 位數的欄位");
    return std::string(width - digits.size(), '0') + digits;
}

} // namespace text
