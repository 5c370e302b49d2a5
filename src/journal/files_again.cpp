#include "journal/files_again.h"

#include "journal/payment_journal.h"
#include "journal/run_register.h"
#include "journal/sha256.h"
#include "platform/file_replace.h"
#include "platform/paths.h"
#include "text/error.h"

#include <filesystem>

namespace journal {

std::string filesAgainFolder(const std::string& bankFolder, long long runId)
{
    return platform::withTrailingSeparator(bankFolder) + "RUN" + std::to_string(runId) + platform::separator();
}

std::vector<std::string> filesAgainWouldReplace(db::Executor& database, long long runId, const std::string& folder)
{
    std::vector<std::string> existing;
    for (const RunFile& file : runFiles(database, runId)) {
        std::error_code error;
        if (std::filesystem::exists(platform::nativePath(platform::withTrailingSeparator(folder) + file.name), error))
            existing.push_back(file.name);
    }
    return existing;
}

std::vector<std::string> writeFilesAgain(db::Executor& database, long long runId, const std::string& folder)
{
    const std::vector<RunFile> files = runFiles(database, runId);
    if (files.empty())
        throw text::UserError("付款紀錄 " + std::to_string(runId) + " 沒有匯款檔案");
    const std::string target = platform::withTrailingSeparator(folder);
    std::error_code error;
    std::filesystem::create_directories(platform::nativePath(target), error);
    std::vector<std::string> written;
    for (const RunFile& file : files) {
        const std::string bytes = fileBytes(database, runId, file.fileNo);
        // A journal that no longer agrees with its own checksum makes no file.
        if (sha256Hex(bytes) != file.sha256 || static_cast<long long>(bytes.size()) != file.size)
            throw text::UserError("付款紀錄 " + std::to_string(runId) + " 的檔案 " + file.name +
                                  " 與其檢查碼不符,未重建");
        const std::string path = target + file.name;
        if (!platform::replaceWholeFile(path, bytes))
            throw text::UserError("Unable to write to " + platform::pathForDisplay(path));
        written.push_back(path);
    }
    return written;
}

} // namespace journal
