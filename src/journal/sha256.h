#pragma once
// SHA-256 of a byte string, as 64 lower-case hex digits: the checksum the payment journal
// keeps of every transfer file, so a file rebuilt from the journal is known to be the one
// the press wrote.
#include <string>
#include <string_view>

namespace journal {

// On the processor's SHA instructions where it has them.
std::string sha256Hex(std::string_view bytes);
// The same digest by the portable rounds alone; the tests hold the two to each other.
std::string sha256HexPortable(std::string_view bytes);

} // namespace journal
