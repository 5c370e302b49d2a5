#include "inquiry/inquiry_conditions.h"

namespace inquiry {

bool isBlank(std::string_view big5)
{
    for (const char c : big5)
        if (static_cast<unsigned char>(c) > ' ')
            return false;
    return true;
}

} // namespace inquiry
