#pragma once
// The remittance condition confirm ("條件確認"): builds this run's view and work
// tables, fills WorkTableA with the selected bills completed with provider and paying-account
// data, opens the grid on it and names the transfer files. The tables are created first (each
// DDL statement commits on its own); their rows are then filled by set-based statements in one
// transaction, so a failure leaves empty tables, never half-filled ones.
#include "remittance/export_file_names.h"
#include "remittance/remittance_conditions.h"
#include "remittance/remittance_desk.h"

#include <functional>

namespace remittance {

// What the run sets on the tab besides the grid and the progress display.
struct ConfirmOutputs {
    std::function<void(const ExportFileNames&)> showFileNames; // the three file-name edits
    std::function<void()> enableSelectAll;                     // the "全選" button
};

void confirmRemittance(RemittanceDesk& desk, const ConfirmConditions& conditions, const ConfirmOutputs& outputs);

// The store column groups of the remittance list (WorkTableD): the own store's alone for the
// own-store books, one per store of SLAVE_ITEM for the joint books.
int listStoreGroups(db::Executor& database, Books books);

} // namespace remittance
