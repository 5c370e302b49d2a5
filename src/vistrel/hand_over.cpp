#include "vistrel/hand_over.h"

#include "platform/ini_file.h"
#include "platform/paths.h"
#include "text/error.h"

#include <dlfcn.h>

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
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&libraryFolder), &info) == 0 || !info.dli_fname)
        return platform::exeFolder();
    const std::string path = info.dli_fname;
    const std::size_t cut = path.find_last_of(platform::separator());
    return cut == std::string::npos ? platform::exeFolder() : path.substr(0, cut + 1);
}

} // namespace vistrel
