// The one entry of the report library. It shows the report named in rpttemp.ini as a modal
// print preview and returns when the clerk closes it. With the environment variable
// VISTREL_PDF set to a file path it writes the whole report to that PDF instead and shows
// nothing (tests, benchmarks and headless runs).
#include "vistrel/hand_over.h"
#include "vistrel/preview_dialog.h"
#include "vistrel/report_document.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

void runReport()
{
    const vistrel::HandOver handOver = vistrel::readHandOver(vistrel::libraryFolder() + "rpttemp.ini");
    const vistrel::ReportDocument document(vistrel::loadTemplate(handOver.templatePath),
                                           db::RecordSet::load(handOver.dataFile),
                                           db::RecordSet::load(handOver.headerFile));
    const char* pdf = std::getenv("VISTREL_PDF");
    if (pdf && *pdf)
        vistrel::exportPdf(document, QString::fromLocal8Bit(pdf));
    else
        vistrel::showPreview(document, QApplication::activeWindow());
}

void tell(const std::string& utf8)
{
    if (std::getenv("VISTREL_PDF") || !qobject_cast<QApplication*>(QCoreApplication::instance()))
        std::fprintf(stderr, "Vistrel: %s\n", utf8.c_str());
    else
        QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Vistrel"), QString::fromStdString(utf8));
}

} // namespace

extern "C" Q_DECL_EXPORT void ShowForm()
{
    // The program's own Qt instance when there is one; a caller without Qt gets one for the
    // duration of the report.
    static int argc = 1;
    static char name[] = "Vistrel";
    static char* argv[] = {name, nullptr};
    std::unique_ptr<QApplication> own;
    if (!QCoreApplication::instance())
        own = std::make_unique<QApplication>(argc, argv);
    // The program relies on no result and no error from the library: a report that cannot
    // be shown is told to the clerk here and the call returns.
    try {
        runReport();
    } catch (const std::exception& e) {
        tell(e.what());
    } catch (...) {
        tell("unexpected failure");
    }
}
