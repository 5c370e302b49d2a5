#pragma once
// The window follows the connection's desk role: a press the role may not make is disabled,
// and its tooltip says which role it needs. The database refuses the same presses anyway;
// this only spares the clerk a refusal after the fact.
#include "work/desk_role.h"

#include <utility>
#include <vector>

class QPushButton;

namespace app {

void applyDeskRole(const std::vector<std::pair<QPushButton*, work::DeskAction>>& presses, const work::DeskRole& role);

} // namespace app
