#pragma once
// Reports as the page tests see them: a stand-in report library installed in a test's
// executable folder keeps a copy of every hand-over, and handedReports() reads them back.
#include "db/record_set.h"

#include <string>
#include <vector>

namespace testing_support {

struct HandedReport {
    std::string reportName;   // rpt_name
    std::string templatePath; // path: exe folder + "rtm/" + template file
    std::string dataFile;     // tempfile as written in rpttemp.ini
    std::string headerFile;   // tempfile2 as written in rpttemp.ini
    db::RecordSet data;       // temp.cds as it was at the call
    db::RecordSet header;     // temp2.cds as it was at the call
};

// Copies the stand-in library into `folder` (trailing '/') as "Vistrel.DLL"; without
// ShowForm when withShowForm is false.
void installFakeReportLibrary(const std::string& folder, bool withShowForm = true);

// Every report the stand-in was handed in `folder`, in call order.
std::vector<HandedReport> handedReports(const std::string& folder);

} // namespace testing_support
