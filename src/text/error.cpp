#include "text/error.h"

namespace text {

std::string formatMessage(std::string_view pattern, std::string_view value)
{
    std::string message(pattern);
    const auto at = message.find("%s");
    if (at != std::string::npos)
        message.replace(at, 2, value);
    return message;
}

} // namespace text
