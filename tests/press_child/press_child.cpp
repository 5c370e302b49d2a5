// A workstation as a process of its own, for the crash tests: it starts as the program starts
// (the journal's recovery of the bank folder), then, unless told only to recover, lists the
// unremitted January 2024 bills of account A1 and presses "全部匯款". A failpoint named in
// DESK_FAILPOINT kills it at a step of the press.
//
//   press_child recover|remit <database> <bank folder> <exe folder> <date> <inter-bank name>
//
// The password comes from DESK_TEST_PASSWORD. Exit 0 when the step went through, 3 when the
// press showed an error (printed), 2 for a wrong call.
#include "journal/file_delivery.h"
#include "journal/journal_tables.h"
#include "remittance/condition_confirm.h"
#include "remittance/remit.h"
#include "report/bridge.h"
#include "support/recording.h"
#include "text/big5.h"
#include "text/error.h"
#include "work/progress.h"
#include "work/work_tables.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 7)
        return 2;
    const std::string mode = argv[1];
    db::ConnectionParams params;
    params.database = argv[2];
    const char* password = std::getenv("DESK_TEST_PASSWORD");
    params.password = password ? password : "";
    const std::string bank = argv[3], exe = argv[4], date = argv[5], interBank = argv[6];
    try {
        db::Connection database(params);
        const std::string recovered = journal::recoveryMessage(journal::recoverFiles(database, {bank}));
        if (!recovered.empty())
            std::printf("recovery: %s\n", recovered.c_str());
        if (mode == "recover")
            return 0;

        work::WorkTables tables(database, work::connectionSuffix(database.connectionId()), report::handOverFiles(exe));
        testing_support::RecordingProgress progress;
        testing_support::RecordingMessages messages;
        db::RecordSet grid;
        remittance::ListedRun run;
        report::Bridge reports(exe);
        remittance::RemittanceDesk desk{database, tables, progress, messages, grid, run, reports};

        remittance::ConfirmConditions conditions;
        conditions.fromDateText = "2024/01/01";
        conditions.toDateText = "2024/01/31";
        conditions.accountComboText = text::big5("A1,總公司帳戶");
        remittance::confirmRemittance(desk, conditions, {});

        remittance::OutputControls tab;
        tab.bankPath = bank;
        tab.interBankFileName = interBank;
        tab.sameBankFileName = "DEF";
        tab.fromDateText = "2024/01/01";
        tab.toDateText = "2024/01/31";
        tab.remittanceDateText = date;
        const remittance::RemitResult result = remittance::remit(desk, remittance::RemitScope::AllRows, tab);
        for (const std::string& message : result.messages())
            std::printf("%s\n", message.c_str());
        tables.dropAll();
        return 0;
    } catch (const std::exception& error) {
        std::printf("error: %s\n", error.what());
        return 3;
    }
}
