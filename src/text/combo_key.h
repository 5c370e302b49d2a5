#pragma once
#include <string>
#include <string_view>

namespace text {

// The text of a combo box before its first comma; empty when it holds no comma.
std::string comboKey(std::string_view big5);

} // namespace text
