#pragma once
// The little UTF-8 handling the writer needs: characters one by one, the width a text takes in
// a column, and texts made safe for the file (control characters removed).
#include <string>
#include <string_view>
#include <vector>

namespace sheet {

// The characters of a UTF-8 text, each as its own bytes.
std::vector<std::string> utf8Characters(std::string_view utf8);

// Column width units a text takes: one for a narrow character, two for a wide one (CJK,
// full-width forms), as a Big5 text takes one or two bytes.
double displayWidth(std::string_view utf8);

// The text without control characters, which a worksheet cannot hold (tab and new line stay).
std::string cellText(std::string_view utf8);

} // namespace sheet
