#pragma once
// Temporary folders for tests: plain C++, so the tests that need no database (those that also
// run on Windows) use them without the database's support code.
#include <string>

namespace testing_support {

// Creates a fresh folder below the system's temporary folder; returns it with its trailing
// separator.
std::string createTempFolder();
// Removes a folder and everything in it; quietly does nothing when it cannot.
void removeFolder(const std::string& folder);

// A fresh temporary folder (with its trailing separator) removed when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

} // namespace testing_support
