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

// The inquiry tab's desk: the collaborators every run and report works with, handed in by
// the page.
struct InquiryDesk {
    db::Connection& database;
    work::WorkTables& workTables;
    work::ProgressDisplay& progress;
    work::Messages& messages;
    db::RecordSet& grid; // what the inquiry grid shows
};

enum class Scope { OwnStore, AllStores };

// "條件確認": the run of the chosen data selection; any other selection does nothing.
void confirm(const InquiryConditions& conditions, InquiryDesk& desk);

void run(Scope scope, const InquiryConditions& conditions, InquiryDesk& desk);
inline void runOwnStore(const InquiryConditions& c, InquiryDesk& s)
{
    run(Scope::OwnStore, c, s);
}
inline void runAllStores(const InquiryConditions& c, InquiryDesk& s)
{
    run(Scope::AllStores, c, s);
}

} // namespace inquiry
