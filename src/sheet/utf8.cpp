#include "sheet/utf8.h"

namespace sheet {
namespace {

std::size_t sequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 1;
}

} // namespace

std::vector<std::string> utf8Characters(std::string_view utf8)
{
    std::vector<std::string> out;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t n = std::min(sequenceLength(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
        out.emplace_back(utf8.substr(i, n));
        i += n;
    }
    return out;
}

double displayWidth(std::string_view utf8)
{
    double width = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t n = sequenceLength(lead);
        // Everything from U+1100 on that takes three or more bytes is drawn wide in the
        // fonts a Traditional Chinese desktop uses; Latin, Greek and Cyrillic stay narrow.
        width += n >= 3 ? 2 : 1;
        i += n;
    }
    return width;
}

std::string cellText(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (char c : utf8)
        if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n')
            out += c;
    return out;
}

} // namespace sheet
