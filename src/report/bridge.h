#pragma once
// The hand-over of a report to the report library: header record set, rpttemp.ini, the two
// record-set files, loading the library and calling ShowForm, and the clean-up that always
// runs afterwards (library released, launching grid closed, work tables dropped).
#include "db/record_set.h"
#include "work/work_tables.h"

#include <map>
#include <string>
#include <vector>

namespace report {

struct ReportRequest {
    std::string templateFile;                  // e.g. "P99_0005_02.rtm" (under "rtm/")
    const db::RecordSet* data = nullptr;       // saved as temp.cds
    int headerFieldCount = 0;                  // Field0..Field(N-1): 13, 18 or 20
    std::vector<std::string> storeNames;       // remittance only: Field101, Field102, ... (Big5)
    std::map<std::string, std::string> header; // field name -> Big5 value
};

// The two record-set files of a hand-over in `exeFolder` (with its trailing separator).
struct HandOverFiles {
    std::string data;   // exeFolder + "temp.cds"
    std::string header; // exeFolder + "temp2.cds"
};
HandOverFiles handOverFileNames(const std::string& exeFolder);
// Both, for the run prologue to delete (work::WorkTables), so that a report never shows the
// rows of an earlier run.
std::vector<std::string> handOverFiles(const std::string& exeFolder);

// The header record set of a request: N 50-byte fields, then Field101... (50 bytes each),
// then Field91..Field93 (200 bytes each, empty); one record.
db::RecordSet buildHeader(const ReportRequest& request);

class Bridge {
public:
    // exeFolder with its trailing separator; libraryFile is loaded from exeFolder.
    explicit Bridge(std::string exeFolder, std::string libraryFile = "Vistrel.DLL");

    // Runs the launch. Errors before the library is loaded leave grid and tables as they
    // were; from the load on, `gridToClose` is cleared and the work tables dropped whatever
    // happens. Throws text::UserError ("Unable to Load DLL", "Unable to write to %s", ...).
    void launch(const ReportRequest& request, db::RecordSet& gridToClose, work::WorkTables& tables);

    const std::string& lastTemplatePath() const { return templatePath_; } // ReportTemplatePath

private:
    std::string exeFolder_;
    std::string libraryFile_;
    std::string templatePath_;
};

} // namespace report
