#include "remittance/output_routine.h"

#include "platform/paths.h"
#include "remittance/remittance_report.h"
#include "remittance/transfer_files.h"
#include "text/dates.h"

namespace remittance {

namespace {

struct OutputDates {
    RemittanceReportDates report;
    std::string remittanceDate;
};

// All three dates are read before anything is written, so a mistyped one stops the routine
// with nothing changed.
OutputDates readDates(const OutputControls& controls)
{
    OutputDates dates;
    dates.report.fromDate = text::dateStringFromEdit(controls.fromDateText);
    dates.report.toDate = text::dateStringFromEdit(controls.toDateText);
    dates.remittanceDate = text::dateStringFromEdit(controls.remittanceDateText);
    dates.report.fallbackReportDate = dates.remittanceDate;
    return dates;
}

TransferFilesOutcome writeFiles(const OutputControls& controls, db::Executor& source, const std::string& workTableC,
                                const std::string& remittanceDate)
{
    return writeTransferFiles(source, workTableC,
                              {.bankPath = controls.bankPath,
                               .defaultBankFolder = platform::defaultBankFolder(),
                               .interBankFileName = controls.interBankFileName,
                               .sameBankFileName = controls.sameBankFileName,
                               .remittanceDate = remittanceDate});
}

} // namespace

void writeOutputTransferFiles(OutputControls& controls, db::Executor& source, const std::string& workTableC)
{
    const OutputDates dates = readDates(controls);
    if (!controls.makeTransferFiles)
        return;
    controls.transferFiles = writeFiles(controls, source, workTableC, dates.remittanceDate);
    controls.transferRocDate = controls.transferFiles.rocDate;
    controls.transferFilesWritten = true;
}

void discardOutputTransferFiles(const OutputControls& controls)
{
    if (controls.transferFilesWritten)
        discardTransferFiles(controls.transferFiles);
}

void runRemittanceOutput(const OutputRequest& request)
{
    const OutputControls& controls = request.controls;
    OutputDates dates = readDates(controls);

    std::string rocDate = controls.transferRocDate;
    if (controls.makeTransferFiles && !controls.transferFilesWritten) {
        const TransferFilesOutcome written =
            writeFiles(controls, request.database, request.workTables.names().tableC, dates.remittanceDate);
        rocDate = written.rocDate;
        startBatchFiles(written, controls.bankPath);
    } else if (controls.transferFilesWritten) {
        // Written inside the press's transaction, which has committed by now.
        startBatchFiles(controls.transferFiles, controls.bankPath);
    }
    // The list shows the records' date when it has no bill of its own to take it from.
    if (controls.makeTransferFiles && !rocDate.empty())
        dates.report.fallbackReportDate = rocDate;

    runRemittanceReport(request, dates.report);
}

} // namespace remittance
