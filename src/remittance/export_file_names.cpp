#include "remittance/export_file_names.h"

namespace remittance {

ExportFileNames splitExportFileName(const std::string& exportFile)
{
    ExportFileNames names;
    names.exportFile = exportFile;
    if (exportFile.empty())
        return names;
    const auto firstDash = exportFile.find('-');
    names.interBank = exportFile.substr(0, firstDash);
    if (names.interBank.empty())
        names.interBank = exportFile;
    const auto lastDash = exportFile.rfind('-');
    if (lastDash != std::string::npos)
        names.sameBank = exportFile.substr(lastDash + 1);
    return names;
}

} // namespace remittance
