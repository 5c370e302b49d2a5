#pragma once
// The remittance condition confirm (bsSkinButton6Click): builds this run's view and work
// tables, fills WorkTableA with the selected bills completed with provider and paying-account
// data, opens the grid on it and names the transfer files.
#include "remittance/export_file_names.h"
#include "remittance/remittance_conditions.h"
#include "remittance/remittance_desk.h"

#include <functional>

namespace remittance {

// What the run sets on the tab besides the grid and the progress display.
struct ConfirmOutputs {
    std::function<void(const ExportFileNames&)> showFileNames; // the three file-name edits
    std::function<void()> enableSelectAll;                      // bsSkinButton17
};

void confirmRemittance(RemittanceDesk& desk, const ConfirmConditions& conditions, const ConfirmOutputs& outputs);
// The same, with the run's own statements sent through `statements` (which must reach
// desk.database), so a caller can watch or time them.
void confirmRemittance(RemittanceDesk& desk, db::Executor& statements, const ConfirmConditions& conditions,
                       const ConfirmOutputs& outputs);

} // namespace remittance
