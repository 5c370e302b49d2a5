#pragma once
// What one bank transfer record can carry. The remittance stamping refuses rows that fail
// before anything is stamped, and the transfer-file writer checks again before it writes, so
// no bill is stamped as remitted that no transfer file can carry.
#include <string>
#include <vector>

namespace remittance {

// The values of a remitted row that go into a transfer record (Big5 as stored).
struct TransferValues {
    std::string bankId;        // BANK_ID: present, at most 7 bytes
    std::string accountNo;     // BANK_ACCID: 1 to 14 digits
    std::string accountHolder; // BANK_TITLE: present
    double amount = 0;         // AMT2: once rounded to whole dollars, above 0 and below 10^12
    std::string contact;       // CON_PEOPLE of the paying account
    std::string payerName;     // P_ACNT_NAME of the paying account
};

// The reasons (UTF-8, for the clerk) why the record cannot carry these values; empty when it can.
// A control byte (below 0x20: CR, LF, NUL, ...) in any text would break the fixed-width line.
std::vector<std::string> transferRecordProblems(const TransferValues& values);

// A failing row for the message that lists them.
struct RefusedRow {
    std::string providerId;            // Big5
    std::string billId;                // Big5
    std::vector<std::string> problems; // UTF-8
};

// One message saying that nothing was remitted, what the clerk can do (untick the rows or mend
// their data), and listing the failing providers and bills and why (the first `maxListed`
// rows in full, then how many more there are).
std::string refusedRowsMessage(const std::vector<RefusedRow>& rows, std::size_t maxListed = 40);

} // namespace remittance
