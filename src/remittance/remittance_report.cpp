#include "remittance/remittance_report.h"

#include "remittance/remittance_report_header.h"
#include "remittance/remittance_report_table.h"
#include "text/big5.h"

namespace remittance {

void runRemittanceReport(const OutputRequest& request, const RemittanceReportInput& dates)
{
    auto& progress = request.progress;
    const auto& names = request.workTables.names();
    const auto group = request.controls.reportBankGroup == 1 ? BankGroup::SameBank : BankGroup::InterBank;

    progress.setGauge(7, progress.gaugeMaximum());
    work::progressLine(progress, 7);
    const auto stores = listStores(request.database, request.controls.books == 1);
    work::progressLine(progress, 7, "2");

    const auto fill = fillReportTable(request.database, names, stores, group);
    // The fill leaves the zeros and the row totals in place.
    work::progressLine(progress, 7, "5");
    work::progressLine(progress, 7, "6");
    work::progressLine(progress, 7, "7");

    // The rows the report prints.
    const db::RecordSet data =
        request.database.query(db::SqlLines{"SELECT *  FROM " + names.tableD, "ORDER BY BILL_YM,PROVIDER_ID,ID"});
    work::progressMessage(progress, 8, text::big5("暫存資料建置中...."));

    report::ReportRequest report;
    report.templateFile = "P99_0005_02.rtm";
    report.data = &data;
    report.headerFieldCount = 13;
    for (const auto& store : stores)
        report.storeNames.push_back(store.name);
    report.header = remittanceHeader(request.database, names.tableC,
                                     {.fromDate = dates.fromDate,
                                      .toDate = dates.toDate,
                                      .books = request.controls.books,
                                      .storeComboText = request.controls.storeComboText,
                                      .reportTitle = request.controls.reportTitle,
                                      .reportDate = fill.readBills ? fill.lastBankDate : dates.fallbackReportDate,
                                      .reprintMark = dates.reprintMark});
    work::progressMessage(progress, 9, text::big5("報表模組載入中...."));

    progress.setGauge(10, progress.gaugeMaximum());
    request.reports.launch(report, request.grid, request.workTables);
}

} // namespace remittance
