#include "app/role_gate.h"

#include <QPushButton>

namespace app {

void applyDeskRole(const std::vector<std::pair<QPushButton*, work::DeskAction>>& presses, const work::DeskRole& role)
{
    for (const auto& [button, action] : presses) {
        if (!button)
            continue;
        const std::string refusal = role.refusal(action);
        button->setEnabled(refusal.empty());
        button->setToolTip(QString::fromUtf8(refusal.c_str()));
    }
}

} // namespace app
