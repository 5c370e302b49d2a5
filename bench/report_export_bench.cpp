// The remittance list of 20,000 rows exported as an Excel workbook, against the PDF export of
// the same laid-out report in the same run: the workbook should take at most twice as long.
// Each export runs twice, alternating, and the faster of each pair counts, so that a moment
// of load on the shared machine does not decide the ratio.
#include "report/bridge.h"
#include "report/report_fixtures.h"
#include "vistrel/report_document.h"
#include "vistrel/report_workbook.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>

namespace {

double seconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 20000, stores = 10;
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "report_export_bench";
    std::filesystem::create_directories(folder);
    const QString pdf = QString::fromStdString((folder / "list.pdf").string());
    const QString xlsx = QString::fromStdString((folder / "list.xlsx").string());

    const db::RecordSet list = report_fixtures::remittanceList(stores, rows);
    const vistrel::ReportDocument document(vistrel::loadTemplate(std::string(DESK_BIN_DIR) + "rtm/P99_0005_02.rtm"),
                                           list, report::buildHeader(report_fixtures::remittanceRequest(list, stores)));

    double pdfTime = 1e9, excelTime = 1e9;
    for (int round = 0; round < 2; ++round) {
        pdfTime = std::min(pdfTime, seconds([&] { vistrel::exportPdf(document, pdf); }));
        excelTime = std::min(excelTime, seconds([&] { vistrel::exportExcel(document, xlsx); }));
    }
    const auto pdfBytes = std::filesystem::file_size(pdf.toStdString());
    const auto xlsxBytes = std::filesystem::file_size(xlsx.toStdString());
    const double ratio = excelTime / pdfTime;

    std::printf("remittance list: %d rows, %d stores, %d pages\n", rows, stores, document.pageCount());
    std::printf("baseline  PDF export     %7.3f s  (%.1f MB)\n", pdfTime, pdfBytes / 1e6);
    std::printf("excel     xlsx export    %7.3f s  (%.1fx baseline, target <= 2x, %.1f MB)\n", excelTime, ratio,
                xlsxBytes / 1e6);
    std::filesystem::remove_all(folder);
    return ratio <= 2 ? 0 : 1;
}
