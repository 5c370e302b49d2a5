#pragma once
// The collaborators every remittance handler works with, handed in by the page.
#include "db/connection.h"
#include "db/record_set.h"
#include "remittance/listed_run.h"
#include "remittance/output_routine.h"
#include "report/bridge.h"
#include "work/messages.h"
#include "work/progress.h"
#include "work/work_tables.h"

namespace remittance {

struct RemittanceDesk {
    db::Connection& database;
    work::WorkTables& workTables;
    work::ProgressDisplay& progress; // the tab's gauge and status memo
    work::Messages& messages;
    db::RecordSet& grid;     // what the remittance grid shows
    ListedRun& run;          // which condition confirm the grid belongs to
    report::Bridge& reports; // the remittance list's hand-over
};

// True while the grid is open and it and the window's work tables still belong to the
// condition confirm that listed it.
inline bool listStillOnScreen(RemittanceDesk& desk)
{
    return desk.grid.isOpen() && desk.run.stamp.holds(desk.database, desk.workTables.names());
}

// The output routine's request on this desk's collaborators.
inline OutputRequest outputRequest(RemittanceDesk& desk, const OutputControls& controls)
{
    return {.controls = controls,
            .database = desk.database,
            .workTables = desk.workTables,
            .progress = desk.progress,
            .messages = desk.messages,
            .reports = desk.reports,
            .grid = desk.grid};
}

} // namespace remittance
