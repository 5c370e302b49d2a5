#include "sheet/sheet_names.h"

#include "sheet/utf8.h"

#include <algorithm>
#include <cctype>

namespace sheet {
namespace {

constexpr std::size_t kTabCharacters = 31;

std::string lowerAscii(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

} // namespace

std::string tabName(const std::string& utf8, const std::string& suffix)
{
    std::vector<std::string> characters = utf8Characters(utf8);
    for (std::string& c : characters)
        if (c.size() == 1 &&
            (std::string("[]:*?/\\").find(c[0]) != std::string::npos || static_cast<unsigned char>(c[0]) < 0x20))
            c = "_";
    while (!characters.empty() && (characters.front() == " " || characters.front() == "'"))
        characters.erase(characters.begin());
    while (!characters.empty() && (characters.back() == " " || characters.back() == "'"))
        characters.pop_back();
    if (characters.empty())
        characters = utf8Characters("Sheet");
    const std::size_t room = kTabCharacters - std::min(kTabCharacters, utf8Characters(suffix).size());
    if (characters.size() > room)
        characters.resize(room);
    std::string out;
    for (const std::string& c : characters)
        out += c;
    return out + suffix;
}

std::string uniqueTabName(const std::string& wanted, std::vector<std::string>& taken)
{
    auto isTaken = [&taken](const std::string& name) {
        return std::any_of(taken.begin(), taken.end(),
                           [&](const std::string& t) { return lowerAscii(t) == lowerAscii(name); });
    };
    std::string name = tabName(wanted);
    for (int n = 2; isTaken(name); ++n)
        name = tabName(wanted, " (" + std::to_string(n) + ")");
    taken.push_back(name);
    return name;
}

} // namespace sheet
