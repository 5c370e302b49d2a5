#include "journal/file_delivery.h"

#include "journal/journal_tables.h"
#include "journal/sha256.h"
#include "platform/failpoint.h"
#include "platform/file_replace.h"
#include "platform/paths.h"
#include "text/big5.h"
#include "text/error.h"

#include <filesystem>
#include <map>
#include <optional>
#include <regex>
#include <set>

namespace journal {
namespace {

// temporaryName's form: the run id and the attachment id are its two groups.
const std::regex& temporaryNamePattern()
{
    static const std::regex pattern(R"(^.*\.run([0-9]+)-([0-9]+)\.tmp$)");
    return pattern;
}

[[noreturn]] void unableToWrite(const std::string& path)
{
    throw text::UserError(text::formatMessage("Unable to write to %s", platform::pathForDisplay(path)));
}

void notePlaced(db::Executor& database, long long runId, int fileNo, const char* outcome)
{
    database.execute("INSERT INTO PAY_RUN_PLACED (RUN_ID, FILE_NO, OUTCOME, HOST_NAME) VALUES (" +
                     std::to_string(runId) + ", " + std::to_string(fileNo) + ", " + db::quote(outcome) + ", " +
                     db::quote(hostName()) + ")");
}

// Places the bytes at folder + name: the temporary file when it holds them, else a fresh
// copy through the temporary name. Another workstation recovering the same run may move the
// temporary file into place first: a target that then holds the bytes is what was wanted.
void place(const FileEntry& file, const std::string& sha)
{
    const std::string target = file.folder + file.name;
    const std::string temporary = file.folder + file.tempName;
    std::string waiting;
    if (platform::readWholeFile(temporary, waiting) != platform::ReadResult::Read || sha256Hex(waiting) != sha) {
        if (!platform::writeFileFlushed(temporary, file.bytes))
            unableToWrite(target);
    }
    platform::failpoint("before-placing-rename");
    if (const auto renamed = platform::renameOver(temporary, target); renamed != platform::RenameResult::Renamed) {
        std::string there;
        const bool placed = renamed == platform::RenameResult::SourceMissing &&
                            platform::readWholeFile(target, there) == platform::ReadResult::Read;
        if (!placed || sha256Hex(there) != sha) {
            platform::removeFileQuietly(temporary);
            unableToWrite(target);
        }
    }
    if (!platform::flushFolder(file.folder))
        unableToWrite(target);
}

} // namespace

std::string temporaryName(const std::string& name, long long runId, long long attachmentId)
{
    return name + ".run" + std::to_string(runId) + "-" + std::to_string(attachmentId) + ".tmp";
}

void writeTemporaries(std::span<const FileEntry> files)
{
    std::size_t written = 0;
    const auto refuse = [&](const FileEntry& file) {
        for (std::size_t i = 0; i < written; ++i)
            removeTemporary(files[i]);
        unableToWrite(file.folder + file.name);
    };
    for (const FileEntry& file : files) {
        if (!platform::isReplaceable(file.folder + file.name) ||
            !platform::writeFileFlushed(file.folder + file.tempName, file.bytes))
            refuse(file);
        ++written;
    }
    std::set<std::string> flushed;
    for (const FileEntry& file : files)
        if (flushed.insert(file.folder).second && !platform::flushFolder(file.folder))
            refuse(file);
}

void writeTemporary(const FileEntry& file)
{
    writeTemporaries(std::span(&file, 1));
}

void removeTemporary(const FileEntry& file)
{
    platform::removeFileQuietly(file.folder + file.tempName);
}

std::vector<std::string> putInPlace(db::Executor& database, long long runId, std::span<const FileEntry> files)
{
    std::vector<std::string> problems(files.size());
    std::vector<bool> moved(files.size(), false);
    for (std::size_t i = 0; i < files.size(); ++i) {
        const FileEntry& file = files[i];
        const std::string target = file.folder + file.name;
        const std::string temporary = file.folder + file.tempName;
        // The press wrote and flushed the temporary file moments ago: it is renamed as it is.
        const auto renamed = platform::renameOver(temporary, target);
        if (renamed == platform::RenameResult::Renamed) {
            moved[i] = true;
            continue;
        }
        try {
            if (renamed != platform::RenameResult::SourceMissing) {
                platform::removeFileQuietly(temporary);
                unableToWrite(target);
            }
            place(file, sha256Hex(file.bytes)); // a recovery elsewhere took it: the bytes anew
            moved[i] = true;
        } catch (const text::UserError& error) {
            problems[i] = error.what();
        }
    }
    std::set<std::string> flushed;
    for (std::size_t i = 0; i < files.size(); ++i)
        if (moved[i] && flushed.insert(files[i].folder).second && !platform::flushFolder(files[i].folder))
            for (std::size_t j = 0; j < files.size(); ++j)
                if (moved[j] && files[j].folder == files[i].folder)
                    problems[j] = text::formatMessage("Unable to write to %s",
                                                      platform::pathForDisplay(files[j].folder + files[j].name));
    platform::failpoint("after-rename");

    std::string notes;
    for (std::size_t i = 0; i < files.size(); ++i)
        if (problems[i].empty())
            notes += "INSERT INTO PAY_RUN_PLACED (RUN_ID, FILE_NO, OUTCOME, HOST_NAME) VALUES (" +
                     std::to_string(runId) + ", " + std::to_string(i + 1) + ", 'PLACED', " + db::quote(hostName()) +
                     "); ";
    if (!notes.empty()) {
        try {
            database.execute("EXECUTE BLOCK AS BEGIN " + notes + "END");
        } catch (const text::UserError& error) {
            // In place but not noted: the next recovery writes the same bytes again and notes them.
            for (std::string& problem : problems)
                if (problem.empty())
                    problem = error.what();
        }
    }
    return problems;
}

RecoveryReport recoverFiles(db::Connection& database, const std::vector<std::string>& folders)
{
    RecoveryReport report;
    std::set<std::string> foldersToSweep(folders.begin(), folders.end());

    // A run whose workstation is still attached, other than this one, has just committed and
    // is putting its files in place itself: they are left to it, temporary files included.
    // The server is asked which attachments live only when there is a run to judge.
    std::optional<std::pair<long long, std::set<long long>>> attachments; // this one, those alive
    const auto anotherLiveWorkstation = [&](long long writer) {
        if (!attachments) {
            attachments.emplace(database.connectionId(), std::set<long long>{});
            const db::RecordSet alive = database.query("SELECT MON$ATTACHMENT_ID FROM MON$ATTACHMENTS");
            for (std::size_t r = 0; r < alive.rowCount(); ++r)
                attachments->second.insert(static_cast<long long>(alive.number(r, 0)));
        }
        return writer != attachments->first && attachments->second.count(writer) != 0;
    };
    std::set<std::string> leftToTheirPress; // temporary names

    db::SqlLines unplaced;
    unplaced << "SELECT F.RUN_ID, F.FILE_NO, F.FOLDER, F.FILE_NAME, F.TEMP_NAME, F.SHA256, ";
    unplaced << " (SELECT MIN(L.RUN_ID) FROM PAY_RUN_FILE L WHERE L.FOLDER = F.FOLDER ";
    unplaced << "   AND L.FILE_NAME = F.FILE_NAME AND L.RUN_ID > F.RUN_ID), R.ATTACHMENT_ID ";
    unplaced << "FROM PAY_RUN_FILE F LEFT JOIN PAY_RUN R ON R.RUN_ID = F.RUN_ID ";
    unplaced
        << "WHERE NOT EXISTS (SELECT 1 FROM PAY_RUN_PLACED P WHERE P.RUN_ID = F.RUN_ID AND P.FILE_NO = F.FILE_NO) ";
    unplaced << "ORDER BY F.RUN_ID, F.FILE_NO";
    const db::RecordSet rows = database.query(unplaced);
    for (std::size_t r = 0; r < rows.rowCount(); ++r) {
        const long long runId = static_cast<long long>(rows.number(r, 0));
        const int fileNo = static_cast<int>(rows.number(r, 1));
        FileEntry file;
        file.folder = rows.text(r, 2);
        file.name = rows.text(r, 3);
        file.tempName = rows.text(r, 4);
        const std::string sha = rows.text(r, 5);
        foldersToSweep.insert(file.folder);
        if (!rows.isNull(r, 7) && anotherLiveWorkstation(static_cast<long long>(rows.number(r, 7)))) {
            leftToTheirPress.insert(file.tempName);
            continue;
        }
        if (!rows.isNull(r, 6)) {
            notePlaced(database, runId, fileNo, "OVERTAKEN");
            platform::removeFileQuietly(file.folder + file.tempName);
            report.overtaken.push_back("第 " + std::to_string(runId) + " 次付款作業的檔案 " +
                                       platform::pathForDisplay(file.folder + file.name) +
                                       " 未能放入銀行資料夾,已被第 " + rows.text(r, 6) +
                                       " 次作業的同名檔案取代:請查核該次匯款是否已送銀行。");
            continue;
        }
        file.bytes = fileBytes(database, runId, fileNo);
        if (sha256Hex(file.bytes) != sha)
            throw text::UserError("付款日誌中第 " + std::to_string(runId) + " 次作業的檔案 " +
                                  platform::pathForDisplay(file.name) + " 與其檢查碼不符,無法補放。");
        place(file, sha);
        notePlaced(database, runId, fileNo, "RESTORED");
        report.restored.push_back(file.folder + file.name);
    }

    // Temporary files: of a committed run (placed above or earlier) they are spent; of a run
    // not in the journal they are removed once the workstation that wrote them is gone.
    for (const std::string& folder : foldersToSweep) {
        std::error_code error;
        std::vector<std::filesystem::path> found;
        for (const auto& entry :
             std::filesystem::directory_iterator(platform::nativePath(folder.empty() ? "." : folder), error))
            found.push_back(entry.path());
        bool removedHere = false;
        for (const std::filesystem::path& path : found) {
            std::smatch match;
            const std::string name = platform::pathString(path.filename());
            if (!std::regex_match(name, match, temporaryNamePattern()) || leftToTheirPress.count(name))
                continue;
            const std::string runId = match[1].str();
            const std::string attachment = match[2].str();
            const bool committed = database.lookup("SELECT COUNT(*) FROM PAY_RUN WHERE RUN_ID = " + runId) != "0";
            const bool writerAlive =
                !committed &&
                database.lookup("SELECT COUNT(*) FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID = " + attachment) != "0";
            if (writerAlive)
                continue;
            if (std::filesystem::remove(path, error)) {
                ++report.removedTemporaries;
                removedHere = true;
            }
        }
        // A removal is made lasting; a folder left as it was costs the press no disk wait.
        if (removedHere)
            platform::flushFolder(folder);
    }
    return report;
}

std::string recoveryMessage(const RecoveryReport& report)
{
    std::string message;
    if (!report.restored.empty()) {
        message += "上次中斷的付款作業已提交,其匯款檔已依付款日誌補放:";
        for (const std::string& path : report.restored)
            message += "\n" + platform::pathForDisplay(path);
    }
    for (const std::string& line : report.overtaken)
        message += (message.empty() ? "" : "\n") + line;
    return message;
}

bool isTemporaryName(const std::string& name)
{
    return std::regex_match(name, temporaryNamePattern());
}

std::string prepareJournal(db::Connection& database, const std::vector<std::string>& folders)
{
    std::string notice = ensureJournalTables(database);
    const std::string recovered = recoveryMessage(recoverFiles(database, folders));
    if (!recovered.empty())
        notice += (notice.empty() ? "" : "\n") + recovered;
    return notice;
}

} // namespace journal
