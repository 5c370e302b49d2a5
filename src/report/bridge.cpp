// The report launch: header, rpttemp.ini, the two record-set files, then the library call,
// with the clean-up that follows the library load whatever happens.
#include "report/bridge.h"

#include "platform/ini_file.h"
#include "platform/library.h"
#include "platform/paths.h"
#include "platform/scope_exit.h"
#include "text/error.h"

namespace report {

HandOverFiles handOverFileNames(const std::string& exeFolder)
{
    return {exeFolder + "temp.cds", exeFolder + "temp2.cds"};
}

std::vector<std::string> handOverFiles(const std::string& exeFolder)
{
    const HandOverFiles files = handOverFileNames(exeFolder);
    return {files.data, files.header};
}

Bridge::Bridge(std::string exeFolder, std::string libraryFile)
    : exeFolder_(std::move(exeFolder)), libraryFile_(std::move(libraryFile))
{
}

void Bridge::launch(const ReportRequest& request, db::RecordSet& gridToClose, work::WorkTables& tables)
{
    const db::RecordSet header = buildHeader(request);
    templatePath_ = exeFolder_ + "rtm" + platform::separator() + request.templateFile;

    const auto [dataFile, headerFile] = handOverFileNames(exeFolder_);
    platform::IniFile handOver(exeFolder_ + "rpttemp.ini");
    handOver.write("rpttemp", "rpt_name", "FormTolvane");
    handOver.write("rpttemp", "path", templatePath_);
    handOver.write("rpttemp", "tempfile", dataFile);
    handOver.write("rpttemp", "tempfile2", headerFile);

    const db::RecordSet noRows;
    (request.data ? *request.data : noRows).save(dataFile);
    header.save(headerFile);

    platform::Library library(exeFolder_ + libraryFile_);
    // From the load on the launch ends the page's run: the library goes, the grid empties
    // and the work tables are dropped, also when the library is missing or fails.
    platform::ScopeExit cleanUp([&] {
        library.unload();
        gridToClose.clear();
        tables.dropAll();
    });

    if (!library.loaded())
        throw text::UserError("Unable to Load DLL", library.errorText());
    // A library without the entry shows nothing and says nothing.
    if (auto showForm = reinterpret_cast<void (*)()>(library.symbol("ShowForm")))
        showForm();
}

} // namespace report
