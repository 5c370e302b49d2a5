#pragma once
// Names a worksheet tab may carry: at most 31 characters, none of []:*?/\ and not starting or
// ending with an apostrophe, unique within the workbook (case-insensitively, as Excel compares).
#include <string>
#include <vector>

namespace sheet {

// The name cut to fit with `suffix` (e.g. " (2)") appended, characters a tab refuses replaced
// by '_'; "Sheet" for a name with nothing left.
std::string tabName(const std::string& utf8, const std::string& suffix = {});

// `wanted` made unique against `taken` by a suffix " (2)", " (3)", ...; the result is added to `taken`.
std::string uniqueTabName(const std::string& wanted, std::vector<std::string>& taken);

} // namespace sheet
