#include "remittance/key_lists.h"

#include "db/sql.h"

namespace remittance {

std::vector<std::string> quotedKeyLists(const std::vector<std::string>& keys, std::size_t perList)
{
    std::vector<std::string> lists;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (i % perList == 0)
            lists.emplace_back();
        else
            lists.back() += ", ";
        lists.back() += db::quote(keys[i]);
    }
    return lists;
}

std::vector<std::string> excludingKeys(const std::string& column, const std::vector<std::string>& keys,
                                       const std::string& firstKeyword)
{
    std::vector<std::string> lines;
    for (const std::string& list : quotedKeyLists(keys))
        lines.push_back((lines.empty() ? firstKeyword : std::string("AND")) + " " + column + " NOT IN (" + list + ") ");
    return lines;
}

} // namespace remittance
