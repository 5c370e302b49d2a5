#pragma once
// The one exception type of the system: its what() is the UTF-8 text the clerk must see.
#include <stdexcept>
#include <string>

namespace text {

class UserError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Replaces the first "%s" of a message pattern with a value, as the system's messages are written.
std::string formatMessage(std::string_view pattern, std::string_view value);

} // namespace text
