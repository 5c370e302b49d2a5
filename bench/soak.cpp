// Several workstations on one database for a bounded time, some of them killed on the way,
// then a consistency check.
//
//   soak [workstations (4)] [seconds (300)] [database] [--kills N]
//
// Each workstation is a process of its own (this program started again in workstation mode)
// with its own connection, work tables (named with its connection suffix), executable folder
// (with the stand-in report library) and bank folder. It starts as the program starts (the
// journal's recovery of its bank folder), then loops: new bills come in, a remittance
// condition confirm lists every unremitted bill of the soak account, the clerk remits all of
// them or a random half, and an inquiry lists the month. The lists of the workstations
// overlap all the time, so their stamps race for the same bills. Every press writes files of
// names of its own, so that every file a press puts in place stays there for the check.
//
// With --kills N, N times at a random moment within the first four fifths of the soak a
// random workstation is killed with SIGKILL and a fresh workstation process starts in its
// place on the same bank folder; its start, and every press of any workstation, finishes or
// undoes what the journal says, and the next run prologue of any workstation drops the killed
// one's work tables. Every other kill strikes at once, wherever the workstation is; the others
// are aimed at a step of its next press (a random one of the steps the crash tests name),
// since a press of a few bills spends too little of its time between writing its files and
// putting them in place for blind kills to land there often.
//
// The database is host[/port]:path on a server (several processes cannot share the embedded
// engine's file); the password comes from DESK_SOAK_PASSWORD (or DESK_TEST_PASSWORD).
// Without the argument a database is made in a temporary folder on the server
// DESK_TEST_SERVER names. A missing database is created with the schema and the demo data.
// The soak's own bills (account "SOAK", keys "SOAK...") of an earlier soak are removed at
// the start.
//
// Figures: runs held per minute (condition confirms, remits, inquiries) with all workstations,
// as a ratio to a short single-workstation baseline measured first in the same run; kills,
// where they landed, and what the recoveries did.
// The check (tests/support/payment_consistency.h, shared with the crash tests): every stamped
// soak bill is in exactly one record of a file in place; every file in place holds the bytes
// a committed run journalled and each record a bill that run stamped; no temporary file and no
// work table or view of a workstation that is gone is left once every workstation has closed.
// Exit code 0 when the check holds.
#include "db/connection.h"
#include "db/sql.h"
#include "demo/demo_database.h"
#include "inquiry/inquiry_run.h"
#include "journal/file_delivery.h"
#include "journal/journal_tables.h"
#include "platform/failpoint.h"
#include "remittance/condition_confirm.h"
#include "remittance/listed_run.h"
#include "remittance/output_routine.h"
#include "remittance/remit.h"
#include "remittance/remittance_desk.h"
#include "report/bridge.h"
#include "support/payment_consistency.h"
#include "support/report_capture.h"
#include "text/big5.h"
#include "text/error.h"
#include "work/messages.h"
#include "work/progress.h"
#include "work/work_tables.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kBillsPerFeed = 12;
const char* const kFromDate = "2031/05/01";
const char* const kToDate = "2031/05/31";
const char* const kWorkstationMode = "--workstation";
// The steps of a press a kill can be aimed at (platform/failpoint.h).
const char* const kPressSteps[] = {"after-temp-files", "before-commit", "after-commit", "after-rename", "after-place"};
constexpr int kPressStepCount = 5;

// The step of its press at which this workstation process dies, -1 for none: set by the soak
// through SIGUSR1 with the step's number.
volatile std::sig_atomic_t aimedStep = -1;

void aimKill(int, siginfo_t* info, void*)
{
    aimedStep = info->si_value.sival_int;
}

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

long long epochMilliseconds()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::string oneLine(std::string text)
{
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

// What a workstation did, one line per event, appended with one write each, so that a kill
// loses at most the event it interrupted and the soak can tell where the kill landed.
class LedgerFile {
public:
    explicit LedgerFile(const std::string& path)
        : fd_(::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644))
    {
        if (fd_ < 0)
            throw std::runtime_error("cannot write the ledger " + path);
    }
    ~LedgerFile() { ::close(fd_); }
    LedgerFile(const LedgerFile&) = delete;
    LedgerFile& operator=(const LedgerFile&) = delete;

    void note(const std::string& line) const
    {
        const std::string whole = oneLine(line) + "\n";
        (void)!::write(fd_, whole.data(), whole.size());
    }

private:
    int fd_;
};

// Messages a workstation would show: counted, never waited for.
class CountingMessages : public work::Messages {
public:
    void inform(const std::string&) override {}
    bool confirm(const std::string&) override { return true; }
};

// The date a workstation stamps with: one of its own, so a record tells who wrote it.
std::string stampDate(int station)
{
    return "2031/06/" + std::string(station < 9 ? "0" : "") + std::to_string(station + 1);
}

struct WorkstationSetting {
    int number = 0;     // 0-based
    int generation = 0; // how many workstations ran in its place before
    std::string database, bank, exe, ledger;
    long long untilEpochMs = 0;
};

class Workstation {
public:
    Workstation(const db::ConnectionParams& params, const WorkstationSetting& setting)
        : setting_(setting), ledger_(setting.ledger), connection_(std::make_unique<db::Connection>(params)),
          tables_(*connection_, work::connectionSuffix(connection_->connectionId()),
                  report::handOverFiles(setting.exe)),
          reports_(setting.exe), desk_{*connection_, tables_, progress_, messages_, grid_, run_, reports_},
          random_(static_cast<unsigned>(setting.number * 7919 + setting.generation * 104729 + 17))
    {
    }

    // As the program starts: the journal's tables, then whatever a crash cut short.
    void start()
    {
        ledger_.note("phase start");
        journal::ensureJournalTables(*connection_);
        const journal::RecoveryReport report = journal::recoverFiles(*connection_, {setting_.bank});
        ledger_.note("started " + std::to_string(report.restored.size()) + " " +
                     std::to_string(report.removedTemporaries) + " " + std::to_string(report.overtaken.size()));
    }

    void loop()
    {
        while (epochMilliseconds() < setting_.untilEpochMs) {
            guarded("feed", [&] { feed(); });
            if (guarded("condition confirm", [&] { confirm(); }))
                ledger_.note("done confirm");
            if (!grid_.isEmpty() && guarded("remit", [&] { remit(); }))
                ledger_.note("done remit");
            if (guarded("inquiry", [&] { inquire(); }))
                ledger_.note("done inquiry");
            std::error_code ignored;
            fs::remove_all(setting_.exe + "shown", ignored); // the stand-in library's copies
        }
    }

    // The window's close: its work tables go, then the connection.
    void close()
    {
        ledger_.note("phase close");
        guarded("close", [&] { tables_.dropAll(); });
        connection_.reset();
        ledger_.note("closed");
    }

    const LedgerFile& ledger() const { return ledger_; }

private:
    template <typename Body> bool guarded(const char* step, Body&& body)
    {
        ledger_.note(std::string("phase ") + step);
        try {
            body();
            return true;
        } catch (const std::exception& error) {
            ledger_.note(std::string("error ") + step + ": " + error.what());
            return false;
        }
    }

    // New bills come in: each with a provider of its own whose account number is the bill's
    // serial, so every transfer record names its bill.
    void feed()
    {
        const long long last = std::stoll(
            connection_->lookup("SELECT GEN_ID(SOAK_SERIAL, " + std::to_string(kBillsPerFeed) + ") FROM RDB$DATABASE"));
        const long long first = last - kBillsPerFeed + 1;
        connection_->execute(db::SqlLines{
            "EXECUTE BLOCK AS DECLARE I BIGINT = " + std::to_string(first) + "; BEGIN",
            " WHILE (I <= " + std::to_string(last) + ") DO BEGIN",
            "  INSERT INTO PROVIDER (PROVIDER_ID, PROVIDER_NAME, BANK_ID, BANK_NAME, BANK_TITLE, BANK_ACCID, ACNT_AMT)",
            "  VALUES ('SK' || :I, 'Soak provider', '0170001', 'Bank', 'Holder', :I, 0);",
            "  INSERT INTO PAY_MASTER (MASTERBILLID, STORE_ID, BILL_DATE, PAY_DATE, PROVIDER_ID, PROVIDER_NAME,",
            "   ACNT_ID, BANK_DATE, BANK_IO)",
            "  VALUES ('SOAK' || :I, '01', '2031/05/10', '2031/05/15', 'SK' || :I, 'Soak provider', 'SOAK', NULL,",
            "   100 + MOD(:I, 900));", "  I = I + 1;", " END", "END"});
    }

    void confirm()
    {
        remittance::ConfirmConditions c;
        c.fromDateText = kFromDate;
        c.toDateText = kToDate;
        c.accountComboText = "SOAK,Soak account";
        remittance::confirmRemittance(desk_, c, {});
    }

    // Names no other press uses: workstation, generation and press number.
    remittance::OutputControls outputControls()
    {
        ++presses_;
        const std::string stem = "W" + std::to_string(setting_.number + 1) + "G" + std::to_string(setting_.generation) +
                                 "P" + std::to_string(presses_);
        remittance::OutputControls c;
        c.bankPath = setting_.bank;
        c.interBankFileName = stem + "X";
        c.sameBankFileName = stem + "Y";
        c.fromDateText = kFromDate;
        c.toDateText = kToDate;
        c.remittanceDateText = stampDate(setting_.number);
        return c;
    }

    // "全部匯款" or "選擇性匯款" over a random half: the press the page runs. Its steps go
    // into the ledger as the press reaches them.
    void remit()
    {
        const bool all = random_() % 2 == 0;
        if (!all)
            for (std::size_t r = 0; r < grid_.rowCount(); ++r)
                grid_.setText(r, "CHKED", random_() % 2 ? "Y" : "N");
        platform::setFailpointHook([this](std::string_view point) {
            ledger_.note("step " + std::string(point));
            if (aimedStep >= 0 && aimedStep < kPressStepCount && point == kPressSteps[aimedStep])
                std::raise(SIGKILL);
        });
        remittance::RemitResult result;
        try {
            result = remittance::remit(
                desk_, all ? remittance::RemitScope::AllRows : remittance::RemitScope::TickedRows, outputControls());
        } catch (...) {
            platform::setFailpointHook(nullptr);
            throw;
        }
        platform::setFailpointHook(nullptr);
        if (!result.recoveryNotice.empty())
            ledger_.note("press recovery " + result.recoveryNotice);
        if (!result.leftOut.empty())
            ledger_.note("left out");
        for (const std::string& problem : result.placingProblems)
            ledger_.note("error placing: " + problem);
    }

    void inquire()
    {
        inquiry::InquiryDesk services{*connection_, tables_, progress_, messages_, inquiryGrid_};
        inquiry::InquiryConditions conditions;
        conditions.dateFromText = kFromDate;
        conditions.dateToText = kToDate;
        inquiry::runOwnStore(conditions, services);
    }

    WorkstationSetting setting_;
    LedgerFile ledger_;
    std::unique_ptr<db::Connection> connection_;
    work::WorkTables tables_;
    work::NullProgress progress_;
    CountingMessages messages_;
    db::RecordSet grid_, inquiryGrid_;
    remittance::ListedRun run_;
    report::Bridge reports_;
    remittance::RemittanceDesk desk_;
    std::mt19937 random_;
    int presses_ = 0;
};

db::ConnectionParams paramsFor(const std::string& database)
{
    db::ConnectionParams params;
    params.database = database;
    params.password = environment("DESK_SOAK_PASSWORD");
    if (params.password.empty())
        params.password = environment("DESK_TEST_PASSWORD");
    return params;
}

// The workstation process: soak --workstation number generation database bank exe ledger until
int runWorkstation(int argc, char** argv)
{
    if (argc != 9)
        return 2;
    WorkstationSetting setting;
    setting.number = std::atoi(argv[2]);
    setting.generation = std::atoi(argv[3]);
    setting.database = argv[4];
    setting.bank = argv[5];
    setting.exe = argv[6];
    setting.ledger = argv[7];
    setting.untilEpochMs = std::atoll(argv[8]);
    struct sigaction aim {};
    aim.sa_sigaction = aimKill;
    aim.sa_flags = SA_SIGINFO | SA_RESTART;
    sigemptyset(&aim.sa_mask);
    ::sigaction(SIGUSR1, &aim, nullptr);
    try {
        Workstation station(paramsFor(setting.database), setting);
        station.start();
        station.loop();
        station.close();
        return 0;
    } catch (const std::exception& error) {
        LedgerFile(setting.ledger).note(std::string("error workstation: ") + error.what());
        return 3;
    }
}

// ---- The soak: starting, killing and replacing the workstation processes.

struct StationFolders {
    std::string bank, exe;
};

// What the workstations of a phase did, read back from their ledgers.
struct Tally {
    long confirms = 0, remits = 0, inquiries = 0, leftOut = 0;
    long startsRestored = 0, startsRemovedTemporaries = 0, startsOvertaken = 0, pressRecoveries = 0;
    std::map<std::string, long> errors;
    long runs() const { return confirms + remits + inquiries; }

    // Reads one ledger; returns the line its last event left, where a kill would have landed.
    std::string add(const std::string& path)
    {
        std::ifstream in(path);
        std::string line, last;
        while (std::getline(in, line)) {
            if (line.empty())
                continue;
            if (line == "done confirm")
                ++confirms;
            else if (line == "done remit")
                ++remits;
            else if (line == "done inquiry")
                ++inquiries;
            else if (line == "left out")
                ++leftOut;
            else if (line.rfind("press recovery", 0) == 0)
                ++pressRecoveries;
            else if (line.rfind("started ", 0) == 0) {
                long restored = 0, removed = 0, overtaken = 0;
                std::istringstream(line.substr(8)) >> restored >> removed >> overtaken;
                startsRestored += restored;
                startsRemovedTemporaries += removed;
                startsOvertaken += overtaken;
            } else if (line.rfind("error ", 0) == 0)
                ++errors[line.substr(6)];
            if (line.rfind("phase ", 0) == 0 || line.rfind("step ", 0) == 0)
                last = line;
            else if (line.rfind("done ", 0) == 0)
                last = "between runs";
        }
        return last;
    }
};

struct Phase {
    int stations = 0;
    double minutes = 0;
    int kills = 0;
    std::map<bool, int> aimedKills;      // at once (false), aimed at a press step (true)
    std::map<std::string, int> killedAt; // where each kill landed, from the ledger
    std::vector<int> exitCodes;          // of the processes that ended on their own
    Tally tally;
    double runsPerMinute() const { return minutes > 0 ? tally.runs() / minutes : 0; }
};

class Soak {
public:
    Soak(std::string self, std::string database, std::string ledgers)
        : self_(std::move(self)), database_(std::move(database)), ledgers_(std::move(ledgers))
    {
    }

    // Runs `stations` workstations for `seconds` with `kills` kills; every process has ended
    // when it returns.
    Phase run(const std::string& name, const std::vector<StationFolders>& folders, double seconds, int kills,
              std::mt19937& random)
    {
        Phase phase;
        phase.stations = static_cast<int>(folders.size());
        const auto start = Clock::now();
        const long long until = epochMilliseconds() + static_cast<long long>(seconds * 1000);
        std::vector<pid_t> pids(folders.size());
        std::vector<std::string> ledgers;
        // A workstation's generation counts on over the phases: its file names stay its own.
        const auto launch = [&](std::size_t s) {
            const int generation = generations_[folders[s].bank]++;
            const std::string ledger =
                ledgers_ + name + "-w" + std::to_string(s + 1) + "-g" + std::to_string(generation) + ".log";
            ledgers.push_back(ledger);
            pids[s] = spawn({kWorkstationMode, std::to_string(s), std::to_string(generation), database_,
                             folders[s].bank, folders[s].exe, ledger, std::to_string(until)});
            return ledger;
        };
        std::vector<std::string> current(folders.size());
        for (std::size_t s = 0; s < folders.size(); ++s)
            current[s] = launch(s);

        // The kill moments: random, within the first four fifths of the phase, so that the
        // fresh workstations still run (and sweep) before the end.
        std::vector<double> moments;
        std::uniform_real_distribution<double> when(0.05 * seconds, 0.8 * seconds);
        for (int k = 0; k < kills; ++k)
            moments.push_back(when(random));
        std::sort(moments.begin(), moments.end());
        for (const double moment : moments) {
            std::this_thread::sleep_until(start + std::chrono::milliseconds(static_cast<long long>(moment * 1000)));
            const std::size_t s = std::uniform_int_distribution<std::size_t>(0, folders.size() - 1)(random);
            const bool aimed = phase.kills % 2 == 1;
            if (aimed ? !killAtStep(pids[s], random) : ::kill(pids[s], SIGKILL) != 0)
                continue; // ended on its own meanwhile: reaped below
            int status = 0;
            ::waitpid(pids[s], &status, 0);
            ++phase.kills;
            ++phase.aimedKills[aimed];
            Tally scratch;
            const std::string landed = scratch.add(current[s]);
            ++phase.killedAt[landed.empty() ? "before its first step" : landed];
            current[s] = launch(s);
        }
        for (std::size_t s = 0; s < folders.size(); ++s) {
            int status = 0;
            ::waitpid(pids[s], &status, 0);
            phase.exitCodes.push_back(WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
        }
        phase.minutes = std::chrono::duration<double>(Clock::now() - start).count() / 60.0;
        for (const std::string& ledger : ledgers)
            phase.tally.add(ledger);
        return phase;
    }

private:
    // Aims a kill at a random step of the workstation's next press and waits for it to die
    // there; one that reaches no such step within half a minute is killed where it is.
    static bool killAtStep(pid_t pid, std::mt19937& random)
    {
        sigval step{};
        step.sival_int = std::uniform_int_distribution<int>(0, kPressStepCount - 1)(random);
        if (::sigqueue(pid, SIGUSR1, step) != 0)
            return false;
        const auto deadline = Clock::now() + std::chrono::seconds(30);
        while (Clock::now() < deadline) {
            siginfo_t info{};
            if (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid)
                return true; // dead, reaped by the caller
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return ::kill(pid, SIGKILL) == 0;
    }

    pid_t spawn(const std::vector<std::string>& args)
    {
        std::fflush(nullptr);
        const pid_t child = ::fork();
        if (child < 0)
            throw std::runtime_error("cannot start a workstation process");
        if (child == 0) {
            std::vector<char*> argv;
            argv.push_back(const_cast<char*>(self_.c_str()));
            for (const std::string& arg : args)
                argv.push_back(const_cast<char*>(arg.c_str()));
            argv.push_back(nullptr);
            ::execv(self_.c_str(), argv.data());
            ::_exit(127);
        }
        return child;
    }

    std::string self_, database_, ledgers_;
    std::map<std::string, int> generations_; // bank folder -> workstations started on it
};

void removeEarlierSoak(db::Connection& connection)
{
    connection.execute("DELETE FROM PAY_MASTER WHERE ACNT_ID = 'SOAK'");
    connection.execute("DELETE FROM PROVIDER WHERE PROVIDER_ID STARTING WITH 'SK'");
    connection.execute("DELETE FROM BANK_ACCOUNT WHERE ACNT_ID = 'SOAK'");
    connection.execute("INSERT INTO BANK_ACCOUNT (ACNT_ID, ACNT_NAME, BANK_ID, BANK_NAME, ACNT_NO, EXPORT_FILE, "
                       "CON_PEOPLE) VALUES ('SOAK', 'Soak account', '0160002', 'Paying bank', '998877', "
                       "'SOAKX-SOAKY', 'SOAK')");
    if (connection.lookup("SELECT COUNT(*) FROM RDB$GENERATORS WHERE RDB$GENERATOR_NAME = 'SOAK_SERIAL'") == "0")
        connection.execute("CREATE SEQUENCE SOAK_SERIAL");
    connection.execute("ALTER SEQUENCE SOAK_SERIAL RESTART WITH 100000");
}

void printPhase(const char* title, const Phase& phase)
{
    const Tally& t = phase.tally;
    std::printf("%s: %d workstation(s), %.2f min, %ld runs (%ld confirms, %ld remits, %ld inquiries), "
                "%.1f runs/min, %ld left-out messages\n",
                title, phase.stations, phase.minutes, t.runs(), t.confirms, t.remits, t.inquiries,
                phase.runsPerMinute(), t.leftOut);
    if (phase.kills > 0) {
        std::printf("  kills: %d (%d at once, %d aimed at a press step); where they landed:\n", phase.kills,
                    phase.aimedKills.count(false) ? phase.aimedKills.at(false) : 0,
                    phase.aimedKills.count(true) ? phase.aimedKills.at(true) : 0);
        for (const auto& [where, count] : phase.killedAt)
            std::printf("    %dx %s\n", count, where.c_str());
    }
    std::printf("  recoveries at workstation starts: %ld files put in place from the journal, %ld temporary "
                "files removed, %ld files overtaken; presses whose recovery did something: %ld\n",
                t.startsRestored, t.startsRemovedTemporaries, t.startsOvertaken, t.pressRecoveries);
    for (std::size_t s = 0; s < phase.exitCodes.size(); ++s)
        if (phase.exitCodes[s] != 0)
            std::printf("  workstation %zu ended with exit code %d\n", s + 1, phase.exitCodes[s]);
    for (const auto& [text, count] : t.errors)
        std::printf("  %ldx error %s\n", count, text.c_str());
}

int runSoak(int argc, char** argv)
{
    std::vector<std::string> positional;
    int kills = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--kills" && i + 1 < argc)
            kills = std::max(0, std::atoi(argv[++i]));
        else
            positional.push_back(arg);
    }
    const int stations = positional.size() > 0 ? std::max(1, std::atoi(positional[0].c_str())) : 4;
    const double seconds = positional.size() > 1 ? std::max(1.0, std::atof(positional[1].c_str())) : 300.0;
    std::string folder;
    db::ConnectionParams params;
    if (positional.size() > 2) {
        params = paramsFor(positional[2]);
    } else {
        const std::string server = environment("DESK_TEST_SERVER");
        if (server.empty())
            throw std::runtime_error("the workstations are processes of their own: give a database on a server "
                                     "or set DESK_TEST_SERVER");
        folder = makeTempFolder("desk-soak");
        params = paramsFor(server + ":" + folder + "soak.fdb");
    }
    if (params.embedded())
        throw std::runtime_error("the workstations are processes of their own: the database must be on a server "
                                 "(host[/port]:path), not a file of the embedded engine");

    std::unique_ptr<db::Connection> connection;
    try {
        connection = std::make_unique<db::Connection>(params);
    } catch (const text::UserError&) {
        std::printf("creating %s with the schema and the demo data...\n", params.database.c_str());
        std::fflush(stdout);
        connection = demo::createDemoDatabase(params, demo::DemoOptions{});
    }
    journal::ensureJournalTables(*connection);
    removeEarlierSoak(*connection);
    std::printf("soak on %s: %d workstations for %.0f s, %d kills\n", params.database.c_str(), stations, seconds,
                kills);
    std::fflush(stdout);

    const std::string ledgers = makeTempFolder("desk-soak-ledgers");
    std::vector<StationFolders> folders;
    for (int s = 0; s < stations; ++s) {
        folders.push_back({makeTempFolder("desk-soak-bank"), makeTempFolder("desk-soak-exe")});
        testing_support::installFakeReportLibrary(folders.back().exe);
    }
    std::mt19937 random(static_cast<unsigned>(epochMilliseconds()));
    Soak soak(fs::canonical("/proc/self/exe").string(), params.database, ledgers);
    const double baselineSeconds = std::min(30.0, std::max(5.0, seconds / 10));
    const Phase baseline = soak.run("baseline", {folders.front()}, baselineSeconds, 0, random);
    const Phase phase = soak.run("soak", folders, seconds, kills, random);

    printPhase("baseline", baseline);
    printPhase("soak", phase);
    std::printf("runs held per minute: %.1f with %d workstations, %.1f with one: ratio %.2f\n", phase.runsPerMinute(),
                stations, baseline.runsPerMinute(),
                baseline.runsPerMinute() > 0 ? phase.runsPerMinute() / baseline.runsPerMinute() : 0.0);

    testing_support::PaymentScope scope;
    for (const StationFolders& station : folders)
        scope.bankFolders.push_back(station.bank);
    scope.billCondition = "ACNT_ID = 'SOAK'";
    scope.billKeyOf = [](const std::string& record) {
        return "SOAK" + std::to_string(std::stoll(record.substr(27, 14)));
    };
    const testing_support::PaymentConsistency check = testing_support::checkPaymentConsistency(*connection, scope);
    const long bills = std::stol(connection->lookup("SELECT COUNT(*) FROM PAY_MASTER WHERE ACNT_ID = 'SOAK'"));
    std::printf("books: %ld soak bills, %ld stamped, %ld still unremitted; %ld transfer files in place with %ld "
                "records\n",
                bills, check.stampedBills, bills - check.stampedBills, check.filesInPlace, check.records);
    for (std::size_t i = 0; i < check.findings.size() && i < 50; ++i)
        std::printf("  finding: %s\n", check.findings[i].c_str());
    if (check.findings.size() > 50)
        std::printf("  ... and %zu findings more\n", check.findings.size() - 50);
    const bool held = check.findings.empty() && baseline.tally.runs() > 0 && phase.tally.remits > 0;
    std::printf("consistency check: %s\n", held ? "held" : "FAILED");

    connection.reset();
    std::error_code ignored;
    for (const StationFolders& station : folders) {
        fs::remove_all(station.bank, ignored);
        fs::remove_all(station.exe, ignored);
    }
    if (held)
        fs::remove_all(ledgers, ignored);
    else
        std::printf("the workstations' ledgers stay in %s\n", ledgers.c_str());
    if (!folder.empty())
        fs::remove_all(folder, ignored);
    return held ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        if (argc > 1 && std::string(argv[1]) == kWorkstationMode)
            return runWorkstation(argc, argv);
        return runSoak(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "soak: %s\n", error.what());
        return 2;
    }
}
