#pragma once
// The header values of the remittance list: title, date range, the run's counts and sums by
// transfer kind, the company title, the store line and the report date.
#include "db/executor.h"

#include <map>
#include <string>

namespace remittance {

struct ReportHeaderInput {
    std::string fromDate, toDate; // the date range as date strings
    int books = 0;                // the books option: 1 for the joint books
    std::string storeComboText;   // the store combo's whole text
    std::string reportTitle;      // ReportTitle
    std::string reportDate;       // shown after "匯款日期:"
    std::string reprintMark;      // Field8: on every page of a list printed again
};

// Field0 to Field12 (Big5). The counts and sums cover every bill of WorkTableC, whichever
// bank group the list shows.
std::map<std::string, std::string> remittanceHeader(db::Executor& database, const std::string& workTableC,
                                                    const ReportHeaderInput& input);

} // namespace remittance
