#pragma once
// A remittance desk with three bills of January on one account, pressed the way the page
// presses: the press function, its messages shown as the page shows them.
#include "platform/failpoint.h"
#include "remittance/clear_remittance_dates.h"
#include "remittance/remit.h"
#include "remittance_fixture.h"

#include <optional>

namespace testing_support {

using remittance::Books;
using remittance::RemitScope;
using remittance::RemittanceState;

inline const char* const kDate = "2024/02/01";

class Remit : public RemittanceFixture {
protected:
    int outputRuns = 0;
    TempFolder bank;
    remittance::RemitResult lastResult;
    // WorkTableA and WorkTableC as the press left them, read just before its report ends the
    // run and drops them.
    std::optional<db::RecordSet> listAfterPress, copiedByPress;

    void SetUp() override
    {
        addAccount("A1");
        addProvider("P1", 10);
        addProvider("P2", 0);
        addBill("B1", 1000, "P1");
        addBill("B2", 2000, "P2");
        addBill("B3", 3000, "P1");
        platform::setFailpointHook([this](std::string_view point) {
            if (point == "after-place") {
                listAfterPress = rowsOf(tables.names().tableA);
                copiedByPress = rowsOf(tables.names().tableC);
            }
        });
    }
    void TearDown() override { platform::setFailpointHook(nullptr); }

    // The remittance tab as the clerk leaves it: January's range, both file names, the bank folder.
    remittance::OutputControls options(bool stamp = true, Books books = Books::OwnStore) const
    {
        remittance::OutputControls o;
        o.remittanceDateText = kDate;
        o.makeTransferFiles = stamp;
        o.books = books == Books::Joint ? 1 : 0;
        o.bankPath = bank.path();
        o.interBankFileName = "ABC";
        o.sameBankFileName = "DEF";
        o.fromDateText = "2024/01/01";
        o.toDateText = "2024/01/31";
        o.reportTitle = text::big5("測試公司");
        return o;
    }

    // The press as the page runs it, its messages shown as the page shows them.
    void remit(RemitScope scope, const remittance::OutputControls& o)
    {
        const std::size_t before = handedReports(exeFolder.path()).size();
        lastResult = remittance::remit(desk, scope, o);
        for (const std::string& message : lastResult.messages())
            messages.inform(message);
        outputRuns += static_cast<int>(handedReports(exeFolder.path()).size() - before);
    }

    void clear(Books books)
    {
        for (const std::string& message : remittance::clearRemittanceDates(desk, books).messages())
            messages.inform(message);
    }

    db::RecordSet copied() { return copiedByPress ? *copiedByPress : rowsOf(tables.names().tableC); }
    db::RecordSet listAfter() { return listAfterPress ? *listAfterPress : rowsOf(tables.names().tableA); }
};

} // namespace testing_support
