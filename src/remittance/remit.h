#pragma once
// The two remit buttons: "全部匯款" (bsSkinButton8Click) remits every row of the grid,
// "選擇性匯款" (bsSkinButton9Click) the rows whose CHKED is "Y". Stamps (when
// "產生匯款檔案" is ticked) and the copies into WorkTableC commit together, then the
// remittance output routine runs on WorkTableC.
#include "db/executor.h"
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
    // Runs inside the press's transaction once WorkTableC holds its bills, before the commit;
    // what it throws rolls every stamp back. The transfer files are written here (reading
    // WorkTableC through `transaction`), so no bill is stamped that no file carries, also
    // when the bank folder cannot take them.
    std::function<void(db::Executor& transaction)> beforeCommit;
    // Runs when the press's transaction did not commit after beforeCommit had begun: the
    // transfer files written for stamps that were rolled back are removed here.
    std::function<void()> afterRollback;
};

// `outputRoutine` is the remittance output routine (SpeedButton1Click); it runs last, and
// only when something was committed.
void remit(RemittanceDesk& desk, RemitScope scope, const RemitOptions& options,
           const std::function<void()>& outputRoutine);

} // namespace remittance
