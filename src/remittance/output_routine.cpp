#include "remittance/output_routine.h"

namespace remittance {

void runRemittanceOutput(const OutputRequest& request)
{
    // Every remittance run ends here: the grid empties and the work tables go, so the next
    // remittance needs a new condition confirm.
    request.grid.clear();
    request.workTables.dropAll();
}

} // namespace remittance
