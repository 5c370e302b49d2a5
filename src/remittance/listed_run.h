#pragma once
// What the remittance grid on screen was listed from: the run stamp of its condition
// confirm, the remittance state and books it listed, and its conditions as the clerk set
// them (for the payment journal).
#include "remittance/remittance_conditions.h"
#include "work/run_stamp.h"

#include <string>

namespace remittance {

struct ListedRun {
    work::RunStamp stamp;
    RemittanceState state = RemittanceState::NotRemitted;
    // The keys of the two books are different numbers, so a press with the other book chosen
    // must not stamp or clear by this list's keys.
    Books books = Books::OwnStore;
    std::string conditions; // Big5

    void forget() { stamp.clear(); }
};

// The message of this tab for a grid that no condition confirm stands behind.
inline const char* const kConfirmAgain = "請重新 條件確認...... ";

} // namespace remittance
