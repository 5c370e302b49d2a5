// A stand-in for the report library in the page tests: instead of showing the report it keeps
// a copy of everything it was handed (rpttemp.ini and the two files it names) under
// "<its own folder>/shown/<n>/", n counting the calls, so that a test can read what a page
// printed. Built once with the entry ShowForm and once without it.
#include <dlfcn.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

fs::path ownFolder()
{
    Dl_info info{};
    dladdr(reinterpret_cast<void*>(&ownFolder), &info);
    return fs::path(info.dli_fname ? info.dli_fname : "").parent_path();
}

// The value of key in section [rpttemp]; enough of the INI syntax for the file the bridge writes.
std::string handOverValue(const fs::path& ini, const std::string& key)
{
    std::ifstream in(ini, std::ios::binary);
    std::string line;
    bool inSection = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line.front() == '[') {
            inSection = line == "[rpttemp]";
            continue;
        }
        const auto eq = line.find('=');
        if (inSection && eq != std::string::npos && line.substr(0, eq) == key)
            return line.substr(eq + 1);
    }
    return {};
}

void keepHandOver()
{
    const fs::path folder = ownFolder();
    const fs::path ini = folder / "rpttemp.ini";
    int n = 1;
    while (fs::exists(folder / "shown" / std::to_string(n)))
        ++n;
    const fs::path target = folder / "shown" / std::to_string(n);
    std::error_code ignored;
    fs::create_directories(target, ignored);
    fs::copy_file(ini, target / "rpttemp.ini", ignored);
    fs::copy_file(handOverValue(ini, "tempfile"), target / "temp.cds", ignored);
    fs::copy_file(handOverValue(ini, "tempfile2"), target / "temp2.cds", ignored);
}

} // namespace

#ifndef FAKE_VISTREL_WITHOUT_SHOWFORM
extern "C" __attribute__((visibility("default"))) void ShowForm()
{
    keepHandOver();
}
#else
// Keeps the copying code referenced so both variants build from one source.
extern "C" __attribute__((visibility("default"))) void SomethingElse()
{
    keepHandOver();
}
#endif
