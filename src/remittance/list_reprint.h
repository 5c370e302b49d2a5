#pragma once
// Printing a journalled remit run's remittance list again: its bills from the books (each with
// the stamp the run gave it) into the run's work tables, the list printed with 補印, the run's
// date and number on every page, and the reprint journalled as a run of its own.
#include "remittance/output_routine.h"
#include "remittance/remittance_desk.h"

#include <string>

namespace remittance {

struct ListReprint {
    std::size_t bills = 0; // bills on the list
    long long runId = 0;   // the reprint's own journal run
    std::string journalNotice;
};

// `tab` gives the report's bank group and title. Ends whatever list the tab had, as every
// print does. Throws text::UserError when the run is not a remit or none of its bills is left
// in the books.
ListReprint reprintRemittanceList(RemittanceDesk& desk, long long runId, const OutputControls& tab);

} // namespace remittance
