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

std::string shownText(const std::exception& error)
{
    const auto* own = dynamic_cast<const UserError*>(&error);
    if (!own || own->cause().empty())
        return error.what();
    return std::string(error.what()) + "\n" + own->cause();
}

} // namespace text
