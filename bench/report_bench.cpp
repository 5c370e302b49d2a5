// The remittance list of 20,000 rows: time to the first preview page (files loaded, template
// laid out, the preview window shown until its first page has been drawn) and the whole PDF
// export, each also as a ratio to loading the two hand-over files, measured in the same run.
#include "report/bridge.h"
#include "report/report_fixtures.h"
#include "vistrel/preview_dialog.h"
#include "vistrel/report_document.h"

#include "vistrel/page_view.h"

#include <QApplication>
#include <QDialog>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    // A smaller list may be asked for on the command line, to profile a run.
    const int rows = argc > 1 ? std::atoi(argv[1]) : 20000, stores = 10;
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "report_bench";
    std::filesystem::create_directories(folder);
    const std::string dataFile = (folder / "temp.cds").string(), headerFile = (folder / "temp2.cds").string();
    const std::string templateFile = std::string(DESK_BIN_DIR) + "rtm/P99_0005_02.rtm";

    const db::RecordSet list = report_fixtures::remittanceList(stores, rows);
    const report::ReportRequest request = report_fixtures::remittanceRequest(list, stores);
    list.save(dataFile);
    report::buildHeader(request).save(headerFile);

    // Baseline: reading the two files the library is handed; a few tens of milliseconds on a
    // shared machine, so the median of three reads.
    std::vector<double> loads;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 3; ++i) {
        start = std::chrono::steady_clock::now();
        const db::RecordSet data = db::RecordSet::load(dataFile);
        const db::RecordSet header = db::RecordSet::load(headerFile);
        loads.push_back(secondsSince(start));
    }
    std::sort(loads.begin(), loads.end());
    const double load = loads[1];

    // First preview page: load, lay out, show the preview window and wait for its first page.
    start = std::chrono::steady_clock::now();
    vistrel::ReportDocument document(vistrel::loadTemplate(templateFile), db::RecordSet::load(dataFile),
                                     db::RecordSet::load(headerFile));
    const double layout = secondsSince(start);
    const std::unique_ptr<QDialog> preview = vistrel::makePreview(document, nullptr);
    auto* pages = preview->findChild<vistrel::PageView*>(QStringLiteral("PreviewPages"));
    preview->show();
    while (pages->pagesPainted() == 0)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double firstPage = secondsSince(start);
    const int pagesDrawn = pages->pagesPainted();
    preview->close();

    start = std::chrono::steady_clock::now();
    vistrel::exportPdf(document, QString::fromStdString((folder / "list.pdf").string()));
    const double pdf = secondsSince(start);
    const auto pdfBytes = std::filesystem::file_size(folder / "list.pdf");

    std::printf("remittance list: %d rows, %d stores, %d pages\n", rows, stores, document.pageCount());
    std::printf("baseline  load temp.cds + temp2.cds   %7.3f s\n", load);
    std::printf("layout    template + pagination       %7.3f s\n", layout);
    std::printf("preview   first page shown            %7.3f s  (%.1fx baseline, target < 3 s, %d of %d pages drawn)\n",
                firstPage, firstPage / load, pagesDrawn, document.pageCount());
    std::printf("pdf       whole export                %7.3f s  (%.1fx baseline, target < 10 s, %.1f MB)\n", pdf,
                pdf / load, pdfBytes / 1e6);
    std::filesystem::remove_all(folder);
    return firstPage < 3 && pdf < 10 ? 0 : 1;
}
