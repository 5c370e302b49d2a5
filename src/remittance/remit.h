#pragma once
// The two remit buttons: "全部匯款" (bsSkinButton8Click) remits every row of the grid,
// "選擇性匯款" (bsSkinButton9Click) the rows whose CHKED is "Y". Stamps (when
// "產生匯款檔案" is ticked) and the copies into WorkTableC commit together, then the
// remittance output routine runs on WorkTableC.
#include "remittance/remittance_conditions.h"
#include "remittance/remittance_desk.h"

#include <functional>
#include <string>

namespace remittance {

enum class RemitScope { AllRows, TickedRows };

struct RemitOptions {
    std::string remittanceDateText; // bsSkinDateEdit13 "匯款日期"
    bool stampBooks = true;         // bsSkinCheckRadioBox11 "產生匯款檔案"
    Books books = Books::OwnStore;  // bsSkinRadioGroup13 as it stands at the press
};

// `outputRoutine` is the remittance output routine (SpeedButton1Click); it runs last, and
// only when something was committed.
void remit(RemittanceDesk& desk, RemitScope scope, const RemitOptions& options,
           const std::function<void()>& outputRoutine);

} // namespace remittance
