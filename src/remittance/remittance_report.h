#pragma once
// The remittance list (廠商批次匯款明細表): the second half of the remittance output routine.
#include "remittance/output_routine.h"

#include <string>

namespace remittance {

struct RemittanceReportInput {
    std::string fromDate, toDate;   // the date range as date strings
    std::string fallbackReportDate; // shown when the list read no bill
    std::string reprintMark;        // Big5, on every page of a list printed again ("" otherwise)
};

// Builds WorkTableD from WorkTableC, the header, and hands both to the report library with
// the template "P99_0005_02.rtm". From the library load on, the grid is closed and the work
// tables are dropped whatever happens.
void runRemittanceReport(const OutputRequest& request, const RemittanceReportInput& input);

} // namespace remittance
