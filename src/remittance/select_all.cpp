#include "remittance/select_all.h"

#include "remittance/remittance_grid.h"

namespace remittance {

void selectAll(RemittanceDesk& desk)
{
    const work::WorkNames& names = desk.workTables.names();
    if (!listStillOnScreen(desk)) {
        desk.messages.inform(kConfirmAgain);
        return;
    }
    work::ProgressDisplay& progress = desk.progress;
    work::progressLine(progress, progress.gaugeValue(), "0");
    desk.database.execute("UPDATE " + names.tableA + " SET CHKED = 'Y'");
    work::progressLine(progress, progress.gaugeValue(), "1");
    openRemittanceGrid(desk.database, desk.grid, names.tableA);
    work::progressLine(progress, progress.gaugeValue(), "2");
}

} // namespace remittance
