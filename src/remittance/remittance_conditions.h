#pragma once
// The remittance tab's conditions as the clerk set them, read from the controls by the page.
// Texts are Big5 bytes as shown; dates and combo texts are raw and parsed by the run.
#include <string>

namespace remittance {

// Which bills by their remittance stamp.
enum class RemittanceState { NotRemitted = 0, Remitted = 1, Either = 2 };
// Own-store books PAY_MASTER or the joint books PAY_MASTERU.
enum class Books { OwnStore = 0, Joint = 1 };

struct ConfirmConditions {
    RemittanceState state = RemittanceState::NotRemitted;
    int dateColumn = 0; // 0 PAY_DATE, 1 BILL_DATE
    std::string fromDateText;
    std::string toDateText;
    std::string accountComboText;
    std::string storeComboText;
    Books books = Books::OwnStore;
};

// The selection once the texts are read: what the view and WorkTableB are built from.
struct Selection {
    RemittanceState state = RemittanceState::NotRemitted;
    std::string dateColumn; // "PAY_DATE" or "BILL_DATE"
    std::string from, to;   // date strings
    std::string accountKey;
    std::string storeKey; // blank for all stores
    Books books = Books::OwnStore;
    // Set for a list printed again: the bills this journal run touched, whatever their dates,
    // state and account, each with its own paying account.
    long long journalRun = 0;
};

// The payment book of a choice and its bill key.
inline const char* booksTable(Books books)
{
    return books == Books::Joint ? "PAY_MASTERU" : "PAY_MASTER";
}
inline const char* booksKey(Books books)
{
    return books == Books::Joint ? "SECBILLID" : "MASTERBILLID";
}

} // namespace remittance
