#pragma once
// SHA-256 of a byte string, as 64 lower-case hex digits: the checksum the payment journal
// keeps of every transfer file, so a file rebuilt from the journal is known to be the one
// the press wrote.
#include <string>
#include <string_view>

namespace journal {

std::string sha256Hex(std::string_view bytes);

} // namespace journal
