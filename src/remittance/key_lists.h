#pragma once
// Bill keys written into statements as quoted IN lists, cut into lists the server accepts.
#include <string>
#include <vector>

namespace remittance {

// The keys in lists of at most `perList` keys each: "'k1', 'k2', ..." (quoted).
std::vector<std::string> quotedKeyLists(const std::vector<std::string>& keys, std::size_t perList = 1000);

// Condition lines "column NOT IN (...)" that leave out every key given (none for no keys),
// the first beginning with `firstKeyword` ("WHERE" or "AND"), the others with "AND".
std::vector<std::string> excludingKeys(const std::string& column, const std::vector<std::string>& keys,
                                       const std::string& firstKeyword);

} // namespace remittance
