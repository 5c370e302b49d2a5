#include "app/role_gate.h"

#include <QPushButton>
#include <QWidget>

namespace app {
namespace {

struct GatedButton {
    const char* objectName;
    work::DeskAction action;
};

// The pages' presses that change the payment books, by component name.
const GatedButton kGatedButtons[] = {
    {"bsSkinButton8", work::DeskAction::Remit},         // 全部匯款
    {"bsSkinButton9", work::DeskAction::Remit},         // 選擇性匯款
    {"BitBtn1", work::DeskAction::ClearDates},          // 匯款日清空 (remittance)
    {"bsSkinButton12", work::DeskAction::IssueCheques}, // 全部開票
    {"bsSkinButton13", work::DeskAction::IssueCheques}, // 選擇性開票
    {"BitBtn2", work::DeskAction::ClearDates},          // 匯款日清空 (cheques)
    {"bsSkinButton24", work::DeskAction::VoidCheque},   // 支票作廢
};

} // namespace

void applyDeskRole(QWidget& window, const work::DeskRole& role)
{
    for (const GatedButton& gated : kGatedButtons) {
        auto* button = window.findChild<QPushButton*>(QString::fromLatin1(gated.objectName));
        if (!button)
            continue;
        const std::string refusal = role.refusal(gated.action);
        button->setEnabled(refusal.empty());
        button->setToolTip(QString::fromUtf8(refusal.c_str()));
    }
}

} // namespace app
