#pragma once
// What an issue press did, for the page to show.

#include <string>
#include <vector>

namespace cheque {

// "全部開票" takes every listed cheque, "選擇性開票" the ticked ones.
enum class IssueScope { AllRows, TickedRows };

// A cheque with the issue state of its bills: "" not issued, a date string, or "部分" (Big5)
// when its bills carry different stamps.
struct ChequeState {
    std::string id;    // Big5
    std::string state; // Big5
};

// A cheque the list showed in one state whose bills are in another by the time of the press.
struct ChangedCheque {
    std::string id;
    std::string listedState;
    std::string currentState;
};

struct IssueResult {
    enum class Outcome {
        NoList,         // no current list: "請重新 條件確認...... " was shown
        NothingChosen,  // the clerk said no to every cheque the press would have issued
        Issued,         // the stamps committed (and the print was handed over or failed)
        Reprinted,      // the used-up list's cheques were printed again, nothing stamped
        ReprintDeclined // the used-up list was pressed again and the clerk said no to a reprint
    };
    Outcome outcome = Outcome::NoList;
    std::string issueDate;           // the date stamped
    std::vector<std::string> issued; // cheque numbers stamped, in grid order
    // Among `issued`: cheques that were issued before, with their earlier issue state, and the
    // reason the clerk gave for issuing them again (Big5). The journal records these.
    std::vector<ChequeState> reissued;
    std::string reissueReason;
    std::vector<ChequeState> declined;             // issued before, and the clerk said no
    std::vector<ChangedCheque> changedSinceListed; // left out: another press got there first
    std::vector<std::string> voided;               // left out: voided cheques are never issued again
    // The hand-over of the print failed after the stamps committed (UTF-8, the error's text);
    // the list stays used up and its cheques can be printed again without a new issue.
    std::string printFailure;
    std::string printFailureCause; // what lies behind it (the loader's words), "" when nothing

    // After a failed hand-over: the list is still on screen, so pressing again reprints it.
    // A failure from the library's load on has ended the run (grid emptied, tables dropped).
    bool canReprint = false;
    // The payment journal's run of this press (0 when nothing was stamped), and what the
    // clerk is told when the journal's tables had to be created first ("" otherwise).
    long long runId = 0;
    std::string journalNotice;
};

// What a void press did.
struct VoidResult {
    enum class Outcome {
        NoList,        // no current list: "請重新 條件確認...... " was shown
        NothingChosen, // no ticked cheque can be voided, or the clerk gave no reason
        Voided         // the bills went back to their stamps from before the issue
    };
    Outcome outcome = Outcome::NoList;
    std::vector<std::string> voided;               // cheque numbers voided, in grid order
    std::vector<ChequeState> notVoidable;          // ticked but not issued, or voided already
    std::vector<ChangedCheque> changedSinceListed; // left out: another press changed them
    std::string reason;                            // Big5, as the clerk gave it
    long long runId = 0;
    std::string journalNotice;
};

// What a reprint from the journal did.
struct ReprintResult {
    std::vector<std::string> printed; // cheque numbers, in print order
    std::vector<std::string> voided;  // left out: voided since the run
    long long runId = 0;              // the reprint's own journal run
    std::string journalNotice;
};

} // namespace cheque
