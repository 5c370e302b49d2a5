#pragma once
// The one exception type of the system: its what() is the UTF-8 text the clerk must see.
#include <stdexcept>
#include <string>

namespace text {

class UserError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    // `cause`: what lies behind the message (a loader's or the system's own words), shown
    // beneath it and kept in the log.
    UserError(const std::string& message, std::string cause) : std::runtime_error(message), cause_(std::move(cause)) {}
    const std::string& cause() const { return cause_; }

private:
    std::string cause_;
};

// The text an error box shows: the message, and its cause beneath it when there is one.
std::string shownText(const std::exception& error);

// Replaces the first "%s" of a message pattern with a value, as the system's messages are written.
std::string formatMessage(std::string_view pattern, std::string_view value);

} // namespace text
