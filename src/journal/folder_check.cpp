#include "journal/folder_check.h"

#include "journal/file_delivery.h"
#include "journal/sha256.h"
#include "platform/file_replace.h"
#include "platform/paths.h"
#include "text/big5.h"
#include "text/error.h"

#include <algorithm>
#include <filesystem>
#include <map>

namespace journal {
namespace {

struct JournalledFile {
    long long runId = 0;
    int fileNo = 0;
    std::string sha256;
};

// Every file the journal holds, by name, oldest run first: one small query, whatever the
// size of the folder.
std::map<std::string, std::vector<JournalledFile>> journalledFilesByName(db::Executor& database)
{
    const db::RecordSet rows =
        database.query("SELECT F.FILE_NAME, F.RUN_ID, F.FILE_NO, F.SHA256 FROM PAY_RUN_FILE F "
                       "WHERE EXISTS (SELECT 1 FROM PAY_RUN R WHERE R.RUN_ID = F.RUN_ID) ORDER BY F.RUN_ID, F.FILE_NO");
    std::map<std::string, std::vector<JournalledFile>> byName;
    for (std::size_t r = 0; r < rows.rowCount(); ++r)
        byName[rows.text(r, 0)].push_back({std::stoll(rows.text(r, 1)), std::stoi(rows.text(r, 2)), rows.text(r, 3)});
    return byName;
}

} // namespace

std::string verdictCaption(FileVerdict verdict)
{
    switch (verdict) {
    case FileVerdict::Matches: return text::big5("相符");
    case FileVerdict::Changed: return text::big5("已變更");
    case FileVerdict::Unknown: return text::big5("不明");
    case FileVerdict::Missing: return text::big5("不在");
    }
    return {};
}

int firstDifferingRecord(const std::string& expected, const std::string& actual)
{
    if (expected == actual)
        return 0;
    const auto parted = std::mismatch(expected.begin(), expected.end(), actual.begin(), actual.end());
    const std::size_t at = static_cast<std::size_t>(parted.first - expected.begin());
    return 1 + static_cast<int>(std::count(expected.begin(), expected.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
}

std::vector<FolderFileCheck> verifyFolder(db::Executor& database, const std::string& folder)
{
    namespace fs = std::filesystem;
    std::error_code error;
    std::vector<std::string> names;
    for (fs::directory_iterator entry(platform::nativePath(folder), error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = platform::pathString(entry->path().filename());
        std::error_code typeError;
        if (entry->is_regular_file(typeError) && !isTemporaryName(name))
            names.push_back(name);
    }
    if (error)
        throw text::UserError("無法讀取資料夾 " + platform::pathForDisplay(folder) + ": " + error.message());
    std::sort(names.begin(), names.end());

    const auto journalled = journalledFilesByName(database);
    std::vector<FolderFileCheck> checks;
    for (const std::string& name : names) {
        FolderFileCheck check;
        check.name = name;
        std::string bytes;
        const std::string path = platform::withTrailingSeparator(folder) + name;
        if (platform::readWholeFile(path, bytes) != platform::ReadResult::Read)
            throw text::UserError("無法讀取檔案 " + platform::pathForDisplay(path));
        const auto known = journalled.find(name);
        if (known != journalled.end()) {
            const std::string sha = sha256Hex(bytes);
            const auto& runs = known->second;
            const auto same = std::find_if(runs.rbegin(), runs.rend(),
                                           [&](const JournalledFile& file) { return file.sha256 == sha; });
            if (same != runs.rend()) {
                check.verdict = FileVerdict::Matches;
                check.runId = same->runId;
            } else {
                // Named like the latest run's file of that name, and other bytes.
                check.verdict = FileVerdict::Changed;
                check.runId = runs.back().runId;
                check.firstDifferingRecord =
                    firstDifferingRecord(fileBytes(database, runs.back().runId, runs.back().fileNo), bytes);
            }
        }
        checks.push_back(std::move(check));
    }
    return checks;
}

FileVerdict checkInFolder(const RunFile& file)
{
    std::string bytes;
    switch (platform::readWholeFile(file.folder + file.name, bytes)) {
    case platform::ReadResult::Missing: return FileVerdict::Missing;
    case platform::ReadResult::Failed: return FileVerdict::Unknown;
    case platform::ReadResult::Read: break;
    }
    return sha256Hex(bytes) == file.sha256 ? FileVerdict::Matches : FileVerdict::Changed;
}

} // namespace journal
