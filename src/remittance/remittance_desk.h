#pragma once
// The collaborators every remittance handler works with, handed in by the page.
#include "db/connection.h"
#include "db/record_set.h"
#include "remittance/run_token.h"
#include "work/messages.h"
#include "work/progress.h"
#include "work/work_tables.h"

namespace remittance {

struct RemittanceDesk {
    db::Connection& database;
    work::WorkTables& workTables;
    work::ProgressDisplay& progress; // bsSkinGauge11 / bsSkinMemo11
    work::Messages& messages;
    db::RecordSet& grid;             // ClientDataSet11
    RunToken& run;                   // which condition confirm the grid belongs to
};

} // namespace remittance
