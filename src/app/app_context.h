#pragma once
// What every page of the main window is given: the collaborators are built once by the
// window and passed in (no singletons).
#include "db/connection.h"
#include "report/bridge.h"
#include "ui/message_boxes.h"
#include "work/desk_role.h"
#include "work/work_tables.h"

#include <functional>
#include <string>

namespace app {

struct AppContext {
    db::Connection& database;
    work::WorkTables& workTables;
    report::Bridge& reports;
    ui::MessageBoxes& messages;
    std::string exeFolder;   // with trailing separator
    std::string reportTitle; // Big5, REP_TITLE of PUB_PARAM, set at show
    work::DeskRole role;     // who is at the desk: the connection's user and desk role
};

} // namespace app
