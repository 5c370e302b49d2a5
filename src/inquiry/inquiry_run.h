#pragma once
// The inquiry runs of the condition-confirm button: the own store's payment book
// or the joint book of all stores. Each splits the
// selected bills into cash, remittance and cheque rows in WorkTableA, completes them with
// provider, account and store data, shows them in the grid record set and, for provider
// statistics, sums them per provider (and store) in WorkTableB.
#include "db/connection.h"
#include "db/record_set.h"
#include "inquiry/inquiry_conditions.h"
#include "work/messages.h"
#include "work/progress.h"
#include "work/work_tables.h"

namespace inquiry {

// The tab's collaborators, as the window hands them over.
struct InquiryServices {
    db::Connection& database;
    work::WorkTables& workTables;
    work::ProgressDisplay& progress;
    work::Messages& messages;
    db::RecordSet& grid; // what the inquiry grid shows
};

enum class Scope { OwnStore, AllStores };

// "條件確認": the run of the chosen data selection; any other selection does nothing.
void confirm(const InquiryConditions& conditions, InquiryServices& services);

void run(Scope scope, const InquiryConditions& conditions, InquiryServices& services);
inline void runOwnStore(const InquiryConditions& c, InquiryServices& s) { run(Scope::OwnStore, c, s); }
inline void runAllStores(const InquiryConditions& c, InquiryServices& s) { run(Scope::AllStores, c, s); }

} // namespace inquiry
