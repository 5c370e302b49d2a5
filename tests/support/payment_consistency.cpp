#include "support/payment_consistency.h"

#include "db/sql.h"
#include "journal/sha256.h"
#include "work/orphaned_work_objects.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace testing_support {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kRecordWidth = 175; // and CR LF

std::string trimmed(std::string value)
{
    value.erase(value.find_last_not_of(' ') + 1);
    return value;
}

bool endsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::string bytesOf(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string sameFolder(const std::string& folder)
{
    std::error_code ignored;
    return fs::weakly_canonical(fs::path(folder), ignored).string();
}

// The committed runs' journalled files: folder, name and checksum -> run.
std::map<std::string, long long> journalledFiles(db::Executor& database)
{
    const db::RecordSet rows = database.query("SELECT F.RUN_ID, F.FOLDER, F.FILE_NAME, F.SHA256 FROM PAY_RUN_FILE F "
                                              "WHERE EXISTS (SELECT 1 FROM PAY_RUN R WHERE R.RUN_ID = F.RUN_ID)");
    std::map<std::string, long long> runs;
    for (std::size_t r = 0; r < rows.rowCount(); ++r)
        runs[sameFolder(rows.text(r, 1)) + "|" + trimmed(rows.text(r, 2)) + "|" + trimmed(rows.text(r, 3))] =
            static_cast<long long>(rows.number(r, 0));
    return runs;
}

} // namespace

PaymentConsistency checkBooksAgainstFolders(db::Executor& database, const PaymentScope& scope)
{
    PaymentConsistency result;
    auto& found = result.findings;

    std::map<std::string, std::string> stamps; // bill key -> BANK_DATE ("" when unstamped)
    const db::RecordSet bills =
        database.query("SELECT MASTERBILLID, BANK_DATE FROM PAY_MASTER WHERE " + scope.billCondition);
    for (std::size_t r = 0; r < bills.rowCount(); ++r)
        stamps[trimmed(bills.text(r, 0))] = bills.isNull(r, 1) ? "" : trimmed(bills.text(r, 1));

    // run|key|stamp after, of every bill a committed run stamped in the own-store books.
    std::set<std::string> runStamps;
    const db::RecordSet runBills =
        database.query("SELECT B.RUN_ID, B.BILL_KEY, B.STAMP_AFTER FROM PAY_RUN_BILL B "
                       "WHERE B.BOOK = 'PAY_MASTER' AND EXISTS (SELECT 1 FROM PAY_RUN R WHERE R.RUN_ID = B.RUN_ID)");
    for (std::size_t r = 0; r < runBills.rowCount(); ++r)
        runStamps.insert(runBills.text(r, 0) + "|" + trimmed(runBills.text(r, 1)) + "|" +
                         (runBills.isNull(r, 2) ? "" : trimmed(runBills.text(r, 2))));
    const std::map<std::string, long long> runOfFile = journalledFiles(database);

    std::map<std::string, int> records; // bill key -> records in files in place
    for (const std::string& folder : scope.bankFolders) {
        std::error_code error;
        std::vector<fs::path> paths;
        for (const auto& entry : fs::directory_iterator(folder, error))
            if (entry.is_regular_file())
                paths.push_back(entry.path());
        if (error)
            found.push_back("cannot read the bank folder " + folder + ": " + error.message());
        std::sort(paths.begin(), paths.end());
        for (const fs::path& path : paths) {
            const std::string name = path.filename().string();
            if (endsWith(name, ".tmp")) {
                found.push_back("temporary file left: " + path.string());
                continue;
            }
            if (!endsWith(name, ".TXT"))
                continue; // the bank's batch files
            ++result.filesInPlace;
            const std::string content = bytesOf(path);
            if (content.size() % (kRecordWidth + 2) != 0)
                found.push_back(name + " is not whole records");
            const auto run = runOfFile.find(sameFolder(folder) + "|" + name + "|" + journal::sha256Hex(content));
            if (run == runOfFile.end())
                found.push_back(path.string() + " is not a file any committed run journalled there");
            for (std::size_t at = 0; at + kRecordWidth + 2 <= content.size(); at += kRecordWidth + 2) {
                const std::string record = content.substr(at, kRecordWidth);
                const std::string bill = scope.billKeyOf(record);
                ++result.records;
                ++records[bill];
                const auto stamp = stamps.find(bill);
                if (stamp == stamps.end() || stamp->second.empty()) {
                    found.push_back(name + " carries bill " + bill + ", which is not stamped");
                    continue;
                }
                if (run != runOfFile.end() &&
                    !runStamps.count(std::to_string(run->second) + "|" + bill + "|" + stamp->second))
                    found.push_back(name + " (run " + std::to_string(run->second) + ") carries bill " + bill +
                                    " stamped " + stamp->second + ", which that run did not stamp so");
            }
        }
    }
    for (const auto& [bill, stamp] : stamps) {
        if (stamp.empty())
            continue;
        ++result.stampedBills;
        const int count = records.count(bill) ? records.at(bill) : 0;
        if (count != 1)
            found.push_back("bill " + bill + " stamped " + stamp + " is in " + std::to_string(count) + " records");
    }
    return result;
}

std::vector<std::string> orphanedWorkObjects(db::Executor& database)
{
    const db::RecordSet relations =
        database.query("SELECT RDB$RELATION_NAME FROM RDB$RELATIONS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 AND "
                       "(RDB$RELATION_NAME STARTING WITH 'TMP_' OR RDB$RELATION_NAME STARTING WITH 'VIEW_A')");
    const db::RecordSet attachments = database.query("SELECT MON$ATTACHMENT_ID FROM MON$ATTACHMENTS");
    std::set<long long> alive;
    for (std::size_t r = 0; r < attachments.rowCount(); ++r)
        alive.insert(static_cast<long long>(attachments.number(r, 0)));
    std::vector<std::string> orphans;
    for (std::size_t r = 0; r < relations.rowCount(); ++r) {
        const std::string name = trimmed(relations.text(r, 0));
        const auto attachment = work::attachmentOfWorkObject(name);
        if (attachment && !alive.count(*attachment))
            orphans.push_back(name);
    }
    return orphans;
}

PaymentConsistency checkPaymentConsistency(db::Executor& database, const PaymentScope& scope)
{
    PaymentConsistency result = checkBooksAgainstFolders(database, scope);
    for (const std::string& name : orphanedWorkObjects(database))
        result.findings.push_back("work table or view left by a workstation that is gone: " + name);
    return result;
}

} // namespace testing_support
