#pragma once
// The header of a cheque print: the report title and the characters a cheque form writes the
// amount in words with (digits, zero, the units, the closing words and the negative sign).
#include <map>
#include <string>

namespace cheque {

inline constexpr int kHeaderFieldCount = 18; // Field0 .. Field17

// Field name -> Big5 value; fields not listed stay empty.
std::map<std::string, std::string> chequeHeader(const std::string& reportTitle);

} // namespace cheque
