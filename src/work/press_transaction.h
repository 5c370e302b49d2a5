#pragma once
// The transaction of a press that changes the payment books (remit, clear remittance dates,
// issue cheques, clear issue dates). Another workstation's press may hold the same bills: the
// press waits a few seconds at most for them, then stops with a message that says so, and its
// transaction rolls back, so nothing of it is changed. The window never freezes on a lock.
#include "db/connection.h"

namespace work {

inline constexpr int kPressLockWaitSeconds = 5;

// UTF-8, as the message box shows it.
inline constexpr const char* kBillsHeldElsewhere =
    "另一個工作站正在處理這些帳單，本次未做任何變更。請稍後再按一次......";

inline db::TransactionOptions pressTransactionOptions()
{
    return db::TransactionOptions{kPressLockWaitSeconds, kBillsHeldElsewhere};
}

} // namespace work
