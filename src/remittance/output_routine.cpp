#include "remittance/output_routine.h"

#include "remittance/remittance_report.h"
#include "text/dates.h"

namespace remittance {

OutputDates readOutputDates(const OutputControls& controls)
{
    OutputDates dates;
    dates.fromDate = text::dateStringFromEdit(controls.fromDateText);
    dates.toDate = text::dateStringFromEdit(controls.toDateText);
    dates.remittanceDate = text::dateStringFromEdit(controls.remittanceDateText);
    return dates;
}

void runRemittanceOutput(const OutputRequest& request, const std::string& rocDate)
{
    const OutputDates dates = readOutputDates(request.controls);
    RemittanceReportInput report;
    report.fromDate = dates.fromDate;
    report.toDate = dates.toDate;
    // The list shows the records' date when it has no bill of its own to take it from.
    report.fallbackReportDate = request.controls.makeTransferFiles && !rocDate.empty() ? rocDate : dates.remittanceDate;
    runRemittanceReport(request, report);
}

} // namespace remittance
