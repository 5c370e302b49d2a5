#include "support/report_capture.h"

#include "platform/ini_file.h"

#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;

namespace testing_support {

void installFakeReportLibrary(const std::string& folder, bool withShowForm)
{
    const fs::path library = withShowForm ? DESK_FAKE_VISTREL : DESK_FAKE_VISTREL_NO_ENTRY;
    fs::copy_file(library, fs::path(folder) / "Vistrel.DLL", fs::copy_options::overwrite_existing);
}

std::vector<HandedReport> handedReports(const std::string& folder)
{
    std::vector<HandedReport> reports;
    for (int n = 1;; ++n) {
        const fs::path shown = fs::path(folder) / "shown" / std::to_string(n);
        if (!fs::exists(shown))
            break;
        const platform::IniFile ini((shown / "rpttemp.ini").string());
        HandedReport report;
        report.reportName = ini.read("rpttemp", "rpt_name");
        report.templatePath = ini.read("rpttemp", "path");
        report.dataFile = ini.read("rpttemp", "tempfile");
        report.headerFile = ini.read("rpttemp", "tempfile2");
        if (fs::exists(shown / "temp.cds"))
            report.data = db::RecordSet::load((shown / "temp.cds").string());
        if (fs::exists(shown / "temp2.cds"))
            report.header = db::RecordSet::load((shown / "temp2.cds").string());
        reports.push_back(std::move(report));
    }
    return reports;
}

} // namespace testing_support
