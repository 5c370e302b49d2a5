// Several workstations on one database for a bounded time, then a consistency check.
//
//   soak [workstations (4)] [seconds (300)] [database]
//
// Each simulated workstation runs in a thread of its own with its own connection, work tables
// (named with its connection suffix), executable folder (with the stand-in report library) and
// bank folder, and loops: new bills come in, a remittance condition confirm lists every
// unremitted bill of the soak account, the clerk remits all of them or a random half, and an
// inquiry lists the month. The lists of the workstations overlap all the time, so their
// stamps race for the same bills.
//
// The database is a file path (embedded engine) or host[/port]:path on a server; the password
// comes from DESK_SOAK_PASSWORD (or DESK_TEST_PASSWORD). Without the argument a database is
// made in a temporary folder, on the server DESK_TEST_SERVER names when it is set. A missing
// database is created with the schema and the demo data. The soak's own bills (account
// "SOAK", keys "SOAK...") of an earlier soak are removed at the start.
//
// Figures: runs held per minute (condition confirms, remits, inquiries) with all workstations,
// as a ratio to a short single-workstation baseline measured first in the same run.
// The check: every stamped soak bill lies in exactly one transfer record, written by the
// workstation whose date it carries; every transfer record belongs to a stamped bill; no work
// table or view (TMP_..., VIEW_A...) is left once every workstation has closed.
// Exit code 0 when the check holds.
#include "db/connection.h"
#include "db/sql.h"
#include "demo/demo_database.h"
#include "inquiry/inquiry_run.h"
#include "remittance/condition_confirm.h"
#include "remittance/output_routine.h"
#include "remittance/remit.h"
#include "remittance/remittance_desk.h"
#include "remittance/listed_run.h"
#include "report/bridge.h"
#include "support/report_capture.h"
#include "text/big5.h"
#include "text/error.h"
#include "work/messages.h"
#include "work/progress.h"
#include "work/work_tables.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kBillsPerFeed = 12;
const char* const kFromDate = "2031/05/01";
const char* const kToDate = "2031/05/31";

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string makeTempFolder(const std::string& stem)
{
    std::string pattern = (fs::temp_directory_path() / (stem + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    return pattern + "/";
}

// Messages a workstation would show: counted, never waited for.
class CountingMessages : public work::Messages {
public:
    void inform(const std::string& utf8) override
    {
        ++informed;
        last = utf8;
    }
    bool confirm(const std::string&) override { return true; }
    int informed = 0;
    std::string last;
};

// What one workstation did and wrote.
struct Ledger {
    long confirms = 0, remits = 0, inquiries = 0;
    long leftOutMessages = 0;
    std::map<std::string, long> errors;       // message -> times
    std::map<long long, int> filed;           // soak bill serial -> records written by this workstation
    long long records = 0;
};

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string stampDate(int station) { return "2031/06/" + std::string(station < 9 ? "0" : "") + std::to_string(station + 1); }
// The date field of the transfer records: ROC year 120 written as its last two digits.
std::string rocDate(int station) { return "20" + stampDate(station).substr(5, 2) + stampDate(station).substr(8, 2); }

class Workstation {
public:
    Workstation(const db::ConnectionParams& params, int number, std::atomic<long long>& serials)
        : number_(number), serials_(serials), connection_(std::make_unique<db::Connection>(params)),
          exe_(makeTempFolder("desk-soak-exe")), bank_(makeTempFolder("desk-soak-bank")),
          tables_(*connection_, work::connectionSuffix(connection_->connectionId()), exe_),
          reports_(exe_), desk_{*connection_, tables_, progress_, messages_, grid_, run_, reports_},
          random_(static_cast<unsigned>(number * 7919 + 17))
    {
        testing_support::installFakeReportLibrary(exe_);
    }

    ~Workstation()
    {
        std::error_code ignored;
        fs::remove_all(exe_, ignored);
        fs::remove_all(bank_, ignored);
    }

    // The window's close: its work tables go, then the connection.
    void close()
    {
        guarded("close", [&] { tables_.dropAll(); });
        connection_.reset();
    }

    void loop(Clock::time_point until)
    {
        while (Clock::now() < until) {
            guarded("feed", [&] { feed(); });
            if (guarded("condition confirm", [&] { confirm(); }))
                ++ledger.confirms;
            if (!grid_.isEmpty() && guarded("remit", [&] { remit(); }))
                ++ledger.remits;
            collectTransferFile();
            if (guarded("inquiry", [&] { inquire(); }))
                ++ledger.inquiries;
            std::error_code ignored;
            fs::remove_all(exe_ + "shown", ignored); // the stand-in library's copies
        }
    }

    Ledger ledger;

private:
    template <typename Body>
    bool guarded(const char* step, Body&& body)
    {
        try {
            body();
            return true;
        } catch (const std::exception& error) {
            std::string text = error.what();
            for (char& c : text)
                if (c == '\n')
                    c = ' ';
            ++ledger.errors[std::string(step) + ": " + text];
            return false;
        }
    }

    // New bills come in: each with a provider of its own whose account number is the bill's
    // serial, so every transfer record names its bill.
    void feed()
    {
        const long long first = serials_.fetch_add(kBillsPerFeed);
        const long long last = first + kBillsPerFeed - 1;
        connection_->execute(db::SqlLines{
            "EXECUTE BLOCK AS DECLARE I BIGINT = " + std::to_string(first) + "; BEGIN",
            " WHILE (I <= " + std::to_string(last) + ") DO BEGIN",
            "  INSERT INTO PROVIDER (PROVIDER_ID, PROVIDER_NAME, BANK_ID, BANK_NAME, BANK_TITLE, BANK_ACCID, ACNT_AMT)",
            "  VALUES ('SK' || :I, 'Soak provider', '0170001', 'Bank', 'Holder', :I, 0);",
            "  INSERT INTO PAY_MASTER (MASTERBILLID, STORE_ID, BILL_DATE, PAY_DATE, PROVIDER_ID, PROVIDER_NAME,",
            "   ACNT_ID, BANK_DATE, BANK_IO)",
            "  VALUES ('SOAK' || :I, '01', '2031/05/10', '2031/05/15', 'SK' || :I, 'Soak provider', 'SOAK', NULL,",
            "   100 + MOD(:I, 900));",
            "  I = I + 1;",
            " END",
            "END"});
    }

    void confirm()
    {
        remittance::ConfirmConditions c;
        c.fromDateText = kFromDate;
        c.toDateText = kToDate;
        c.accountComboText = "SOAK,Soak account";
        remittance::confirmRemittance(desk_, c, {});
    }

    remittance::OutputControls outputControls() const
    {
        remittance::OutputControls c;
        c.bankPath = bank_;
        c.interBankFileName = "SOAKX";
        c.sameBankFileName = "SOAKY";
        c.fromDateText = kFromDate;
        c.toDateText = kToDate;
        c.remittanceDateText = stampDate(number_);
        return c;
    }

    // "全部匯款" or "選擇性匯款" over a random half: the press the page runs.
    void remit()
    {
        const bool all = random_() % 2 == 0;
        if (!all)
            for (std::size_t r = 0; r < grid_.rowCount(); ++r)
                grid_.setText(r, "CHKED", random_() % 2 ? "Y" : "N");
        const remittance::RemitResult result = remittance::remit(
            desk_, all ? remittance::RemitScope::AllRows : remittance::RemitScope::TickedRows, outputControls());
        if (!result.leftOut.empty())
            ++ledger.leftOutMessages;
    }

    // Whatever the press left in the bank folder is this workstation's: its records are
    // counted, then the file goes so the next press starts from an empty folder.
    void collectTransferFile()
    {
        for (const char* name : {"SOAKX.TXT", "SOAKY.TXT"}) {
            const std::string path = bank_ + name;
            if (!fs::exists(path))
                continue;
            const std::string content = readFile(path);
            for (std::size_t at = 0; at + 177 <= content.size(); at += 177) {
                const std::string record = content.substr(at, 175);
                ++ledger.records;
                if (record.substr(0, 6) != rocDate(number_))
                    ++ledger.errors["a transfer record with another workstation's date: " + record.substr(0, 6)];
                ++ledger.filed[std::stoll(record.substr(27, 14))];
            }
            if (content.size() % 177 != 0)
                ++ledger.errors["a transfer file that is not whole records"];
            fs::remove(path);
        }
    }

    void inquire()
    {
        inquiry::InquiryServices services{*connection_, tables_, progress_, messages_, inquiryGrid_};
        inquiry::InquiryConditions conditions;
        conditions.dateFromText = kFromDate;
        conditions.dateToText = kToDate;
        inquiry::runOwnStore(conditions, services);
    }

    int number_;
    std::atomic<long long>& serials_;
    std::unique_ptr<db::Connection> connection_;
    std::string exe_, bank_;
    work::WorkTables tables_;
    work::NullProgress progress_;
    CountingMessages messages_;
    db::RecordSet grid_, inquiryGrid_;
    remittance::ListedRun run_;
    report::Bridge reports_;
    remittance::RemittanceDesk desk_;
    std::mt19937 random_;
};

struct Phase {
    double minutes = 0;
    std::vector<Ledger> ledgers;
    long runs() const
    {
        long total = 0;
        for (const Ledger& l : ledgers)
            total += l.confirms + l.remits + l.inquiries;
        return total;
    }
    double runsPerMinute() const { return minutes > 0 ? runs() / minutes : 0; }
};

Phase runPhase(const db::ConnectionParams& params, int stations, double seconds, std::atomic<long long>& serials)
{
    std::vector<std::unique_ptr<Workstation>> desks;
    for (int i = 0; i < stations; ++i)
        desks.push_back(std::make_unique<Workstation>(params, i, serials));
    const auto start = Clock::now();
    const auto until = start + std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
    std::vector<std::thread> threads;
    for (auto& desk : desks)
        threads.emplace_back([&desk, until] { desk->loop(until); });
    for (auto& thread : threads)
        thread.join();
    Phase phase;
    phase.minutes = std::chrono::duration<double>(Clock::now() - start).count() / 60.0;
    for (auto& desk : desks) {
        desk->close();
        phase.ledgers.push_back(desk->ledger);
    }
    return phase;
}

void removeEarlierSoak(db::Connection& connection)
{
    connection.execute("DELETE FROM PAY_MASTER WHERE ACNT_ID = 'SOAK'");
    connection.execute("DELETE FROM PROVIDER WHERE PROVIDER_ID STARTING WITH 'SK'");
    connection.execute("DELETE FROM BANK_ACCOUNT WHERE ACNT_ID = 'SOAK'");
    connection.execute("INSERT INTO BANK_ACCOUNT (ACNT_ID, ACNT_NAME, BANK_ID, BANK_NAME, ACNT_NO, EXPORT_FILE, "
                       "CON_PEOPLE) VALUES ('SOAK', 'Soak account', '0160002', 'Paying bank', '998877', "
                       "'SOAKX-SOAKY', 'SOAK')");
}

// The consistency check over both phases; prints each finding and returns whether it held.
bool check(db::Connection& connection, const std::vector<const Phase*>& phases)
{
    bool held = true;
    auto fail = [&held](const std::string& what) {
        if (held)
            std::printf("check findings:\n");
        held = false;
        std::printf("  %s\n", what.c_str());
    };

    // serial -> (station, records) over every workstation of every phase.
    std::map<long long, std::vector<int>> filedBy;
    for (const Phase* phase : phases)
        for (std::size_t s = 0; s < phase->ledgers.size(); ++s)
            for (const auto& [serial, count] : phase->ledgers[s].filed)
                for (int i = 0; i < count; ++i)
                    filedBy[serial].push_back(static_cast<int>(s));

    const db::RecordSet bills = connection.query(
        "SELECT MASTERBILLID, BANK_DATE FROM PAY_MASTER WHERE ACNT_ID = 'SOAK' ORDER BY MASTERBILLID");
    long stamped = 0, unstamped = 0;
    std::map<long long, bool> isStamped;
    for (std::size_t r = 0; r < bills.rowCount(); ++r) {
        const long long serial = std::stoll(bills.text(r, 0).substr(4));
        const std::string date = bills.text(r, 1);
        const bool stampedBill = !date.empty();
        isStamped[serial] = stampedBill;
        if (!stampedBill) {
            ++unstamped;
            if (filedBy.count(serial))
                fail("bill SOAK" + std::to_string(serial) + " is in a transfer file but not stamped");
            continue;
        }
        ++stamped;
        const auto found = filedBy.find(serial);
        if (found == filedBy.end()) {
            fail("bill SOAK" + std::to_string(serial) + " is stamped " + date + " but in no transfer file");
            continue;
        }
        if (found->second.size() != 1)
            fail("bill SOAK" + std::to_string(serial) + " is in " + std::to_string(found->second.size()) +
                 " transfer records");
        else if (stampDate(found->second.front()) != date)
            fail("bill SOAK" + std::to_string(serial) + " is stamped " + date + " but filed by workstation " +
                 std::to_string(found->second.front() + 1));
    }
    for (const auto& [serial, stations] : filedBy)
        if (!isStamped.count(serial))
            fail("a transfer record for the unknown bill SOAK" + std::to_string(serial));

    const std::string left = connection.lookup(
        "SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME STARTING WITH 'TMP_' "
        "OR RDB$RELATION_NAME STARTING WITH 'VIEW_A'");
    if (left != "0")
        fail(left + " work tables or views left after the last close");

    std::printf("bills: %zu soak bills, %ld stamped, %ld still unremitted; work tables left: %s\n",
                bills.rowCount(), stamped, unstamped, left.c_str());
    return held;
}

void printPhase(const char* title, const Phase& phase)
{
    std::printf("%s: %zu workstation(s), %.2f min, %ld runs, %.1f runs/min\n", title, phase.ledgers.size(),
                phase.minutes, phase.runs(), phase.runsPerMinute());
    for (std::size_t s = 0; s < phase.ledgers.size(); ++s) {
        const Ledger& l = phase.ledgers[s];
        long errors = 0;
        for (const auto& [text, count] : l.errors)
            errors += count;
        std::printf("  workstation %zu: %ld confirms, %ld remits, %ld inquiries, %lld transfer records, "
                    "%ld left-out messages, %ld errors\n",
                    s + 1, l.confirms, l.remits, l.inquiries, l.records, l.leftOutMessages, errors);
        for (const auto& [text, count] : l.errors)
            std::printf("    %ldx %s\n", count, text.c_str());
    }
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const int stations = argc > 1 ? std::max(1, std::atoi(argv[1])) : 4;
        const double seconds = argc > 2 ? std::max(1.0, std::atof(argv[2])) : 300.0;
        std::string folder;
        db::ConnectionParams params;
        params.password = environment("DESK_SOAK_PASSWORD");
        if (params.password.empty())
            params.password = environment("DESK_TEST_PASSWORD");
        if (argc > 3) {
            params.database = argv[3];
        } else {
            folder = makeTempFolder("desk-soak");
            const std::string server = environment("DESK_TEST_SERVER");
            params.database = (server.empty() ? "" : server + ":") + folder + "soak.fdb";
        }
        if (params.embedded())
            params.password.clear();

        std::unique_ptr<db::Connection> connection;
        try {
            connection = std::make_unique<db::Connection>(params);
        } catch (const text::UserError&) {
            std::printf("creating %s with the schema and the demo data...\n", params.database.c_str());
            std::fflush(stdout);
            connection = demo::createDemoDatabase(params, demo::DemoOptions{});
        }
        removeEarlierSoak(*connection);
        std::printf("soak on %s: %d workstations for %.0f s\n", params.database.c_str(), stations, seconds);
        std::fflush(stdout);

        std::atomic<long long> serials{100000};
        const double baselineSeconds = std::min(30.0, std::max(5.0, seconds / 10));
        const Phase baseline = runPhase(params, 1, baselineSeconds, serials);
        const Phase soak = runPhase(params, stations, seconds, serials);

        printPhase("baseline", baseline);
        printPhase("soak", soak);
        std::printf("runs held per minute: %.1f with %d workstations, %.1f with one: ratio %.2f\n",
                    soak.runsPerMinute(), stations, baseline.runsPerMinute(),
                    baseline.runsPerMinute() > 0 ? soak.runsPerMinute() / baseline.runsPerMinute() : 0.0);

        const bool held = check(*connection, {&baseline, &soak});
        std::printf("consistency check: %s\n", held ? "held" : "FAILED");
        connection.reset();
        if (!folder.empty()) {
            std::error_code ignored;
            fs::remove_all(folder, ignored);
        }
        return held ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "soak: %s\n", error.what());
        return 2;
    }
}
