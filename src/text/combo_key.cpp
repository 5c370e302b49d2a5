#include "text/combo_key.h"

namespace text {

std::string comboKey(std::string_view big5)
{
    // A comma is ASCII and never a Big5 trail byte (those start at 0x40), so a plain search is safe.
    const auto comma = big5.find(',');
    if (comma == std::string_view::npos)
        return {};
    return std::string(big5.substr(0, comma));
}

} // namespace text
