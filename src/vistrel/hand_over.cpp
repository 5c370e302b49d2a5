#include "vistrel/hand_over.h"

#include "platform/ini_file.h"
#include "platform/paths.h"
#include "text/error.h"

namespace vistrel {

HandOver readHandOver(const std::string& iniPath)
{
    const platform::IniFile ini(iniPath);
    auto required = [&](const char* key) {
        std::string value = ini.read("rpttemp", key);
        if (value.empty())
            throw text::UserError("rpttemp.ini: key '" + std::string(key) + "' is missing in " + iniPath);
        return value;
    };
    HandOver h;
    h.reportName = ini.read("rpttemp", "rpt_name");
    h.templatePath = required("path");
    h.dataFile = required("tempfile");
    h.headerFile = required("tempfile2");
    return h;
}

std::string libraryFolder()
{
    return platform::moduleFolder(reinterpret_cast<const void*>(&libraryFolder));
}

} // namespace vistrel
