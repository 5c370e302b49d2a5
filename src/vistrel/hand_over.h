#pragma once
// What the program hands the library: rpttemp.ini beside the library names the template and
// the two record-set files.
#include <string>

namespace vistrel {

struct HandOver {
    std::string reportName;   // rpt_name
    std::string templatePath; // path
    std::string dataFile;     // tempfile
    std::string headerFile;   // tempfile2
};

// Reads section "rpttemp" of the file; throws text::UserError when a key is missing.
HandOver readHandOver(const std::string& iniPath);

// The folder this library was loaded from, with its trailing separator: the program lays
// rpttemp.ini beside the library, which lies beside the executable.
std::string libraryFolder();

} // namespace vistrel
