#pragma once
// Profile (INI) files edited in place, with the semantics of the Windows profile API the
// system was written against: a write goes to the file at once, creates the file or section
// when needed, and leaves every other byte (other sections and keys, comments, order, CR LF
// line ends) as it was. Keys and section names compare case-insensitively.
#include <string>

namespace platform {

class IniFile {
public:
    explicit IniFile(std::string path);
    const std::string& path() const { return path_; }

    // The value of key in section, or `fallback` when the file, section or key is missing.
    std::string read(const std::string& section, const std::string& key, const std::string& fallback = {}) const;
    // Writes one key; throws text::UserError "Unable to write to %s" (the file's path).
    void write(const std::string& section, const std::string& key, const std::string& value);

private:
    std::string path_;
};

} // namespace platform
