// The preview window over a long report: it opens showing its first page without drawing
// the others, and its paging and zoom buttons move the view and draw only what comes into it.
#include "report/bridge.h"
#include "report_fixtures.h"
#include "vistrel/page_view.h"
#include "vistrel/preview_dialog.h"
#include "vistrel/report_document.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDialog>
#include <QPainter>
#include <QPdfWriter>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>

using namespace report_fixtures;

namespace {

class PreviewTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "test_report";
        static char* argv[] = {name, nullptr};
        app = new QApplication(argc, argv);
        // About sixteen rows a page: a list of 3,300 rows over 200 pages.
        const db::RecordSet list = remittanceList(10, 3300);
        document = new vistrel::ReportDocument(vistrel::loadTemplate(std::string(DESK_BIN_DIR) + "rtm/P99_0005_02.rtm"),
                                               list, report::buildHeader(remittanceRequest(list, 10)));
    }
    static void TearDownTestSuite()
    {
        delete document;
        delete app;
    }

    // Opens the preview modally, runs `clerk` on it once its first page is drawn, then closes it.
    void whileOpen(const std::function<void(QDialog&, vistrel::PageView&)>& clerk)
    {
        bool ran = false;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            auto* view = dialog ? dialog->findChild<vistrel::PageView*>(QStringLiteral("PreviewPages")) : nullptr;
            if (ran || !view || view->pagesPainted() == 0)
                return;
            ran = true;
            clerk(*dialog, *view);
            dialog->close();
        });
        poll.start();
        vistrel::showPreview(*document, nullptr);
        EXPECT_TRUE(ran) << "the preview closed before its first page was drawn";
    }

    static void press(QDialog& dialog, const QString& caption)
    {
        for (QAction* action : dialog.findChildren<QAction*>())
            if (action->text() == caption) {
                action->trigger();
                QApplication::processEvents();
                return;
            }
        ADD_FAILURE() << "no button " << caption.toStdString();
    }

    static QApplication* app;
    static vistrel::ReportDocument* document;
};

QApplication* PreviewTest::app = nullptr;
vistrel::ReportDocument* PreviewTest::document = nullptr;

TEST_F(PreviewTest, OpensOnTheFirstPageDrawingOnlyThePagesInView)
{
    ASSERT_GE(document->pageCount(), 200);
    whileOpen([](QDialog& dialog, vistrel::PageView& view) {
        EXPECT_EQ(view.currentPage(), 1);
        EXPECT_LE(view.pagesPainted(), 3) << "pages drawn before the first one was shown";
        const auto* number = dialog.findChild<QSpinBox*>(QStringLiteral("PageNumber"));
        ASSERT_NE(number, nullptr);
        EXPECT_EQ(number->value(), 1);
        EXPECT_EQ(number->maximum(), document->pageCount());
    });
}

TEST_F(PreviewTest, AtItsDefaultZoomTheScreenShowsWhatThePdfShows)
{
    // How many texts the PDF cuts at their boxes on each of the first pages (a column too
    // narrow for ten stores' totals is cut on paper too); the screen must cut exactly those.
    QTemporaryDir folder;
    QPdfWriter writer(folder.filePath(QStringLiteral("list.pdf")));
    writer.setResolution(vistrel::kPdfDotsPerInch);
    writer.setPageLayout(vistrel::pageLayoutOf(*document));
    QPainter painter(&writer);
    std::vector<int> pdfCut;
    for (int page = 0; page < 4; ++page) {
        if (page > 0)
            writer.newPage();
        pdfCut.push_back(document->paintPage(painter, page, vistrel::kPdfDotsPerInch / 25.4));
    }
    painter.end();
    const auto pdfCutOfFirst = [&pdfCut](int pages) {
        int cut = 0;
        for (int page = 0; page < pages && page < static_cast<int>(pdfCut.size()); ++page)
            cut += pdfCut[static_cast<std::size_t>(page)];
        return cut;
    };

    whileOpen([&](QDialog& dialog, vistrel::PageView& view) {
        ASSERT_LE(view.pagesPainted(), 4);
        EXPECT_EQ(view.textsCut(), pdfCutOfFirst(view.pagesPainted()))
            << "texts cut on screen at zoom " << view.zoom() << " over " << view.pagesPainted() << " pages";
        // The window, scroll bars included, fits the screen it opens on.
        const QRect screen = dialog.screen()->availableGeometry();
        EXPECT_LE(dialog.width(), screen.width());
        EXPECT_LE(dialog.height(), screen.height());
        EXPECT_TRUE(view.verticalScrollBar()->isVisible());
        EXPECT_TRUE(screen.contains(view.verticalScrollBar()->mapToGlobal(QPoint(0, 0))));
        // Drawn again at a smaller zoom: still cut only where the PDF is.
        const int paintedBefore = view.pagesPainted(), cutBefore = view.textsCut();
        press(dialog, QStringLiteral("縮小"));
        view.viewport()->repaint();
        const int painted = view.pagesPainted() - paintedBefore;
        ASSERT_GT(painted, 0);
        EXPECT_EQ(view.textsCut() - cutBefore, pdfCutOfFirst(painted)) << "at zoom " << view.zoom();
    });
}

TEST_F(PreviewTest, AnExportedPdfIsOfferedUnderTheReportsTitleAndTheDate)
{
    EXPECT_EQ(document->title(), QStringLiteral("廠商批次匯款明細表"));
    EXPECT_EQ(vistrel::suggestedPdfName(document->title(), QDate(2026, 12, 10)),
              QStringLiteral("廠商批次匯款明細表_20261210.pdf"));
    EXPECT_EQ(vistrel::suggestedPdfName(QStringLiteral(" A/B: 表 "), QDate(2026, 1, 2)),
              QStringLiteral("A B 表_20260102.pdf"));
    EXPECT_EQ(vistrel::suggestedPdfName(QString(), QDate(2026, 1, 2)), QStringLiteral("報表_20260102.pdf"));
}

TEST_F(PreviewTest, PagingDrawsOnlyThePagesItShows)
{
    whileOpen([](QDialog& dialog, vistrel::PageView& view) {
        auto* number = dialog.findChild<QSpinBox*>(QStringLiteral("PageNumber"));
        ASSERT_NE(number, nullptr);
        const int last = document->pageCount();
        struct Step {
            const char* button;
            int page;
        };
        const std::vector<Step> steps = {{"最末頁", last}, {"上一頁", last - 1}, {"第一頁", 1}, {"下一頁", 2}};
        for (const Step& step : steps) {
            SCOPED_TRACE(step.button);
            press(dialog, QString::fromUtf8(step.button));
            view.viewport()->repaint();
            EXPECT_EQ(view.currentPage(), step.page);
            EXPECT_EQ(number->value(), step.page);
        }
        // Typing a page number goes there.
        number->setValue(100);
        view.viewport()->repaint();
        EXPECT_EQ(view.currentPage(), 100);
        // Five places visited, a page or two in view at each: far from all pages.
        EXPECT_LE(view.pagesPainted(), 12);
    });
}

TEST_F(PreviewTest, ZoomKeepsThePageAndDrawsItAgainAtTheNewSize)
{
    whileOpen([](QDialog& dialog, vistrel::PageView& view) {
        dialog.findChild<QSpinBox*>(QStringLiteral("PageNumber"))->setValue(50);
        const double fitWidth = view.zoom();
        const int before = view.pagesPainted();
        press(dialog, QStringLiteral("放大"));
        view.viewport()->repaint();
        EXPECT_GT(view.zoom(), fitWidth);
        EXPECT_GT(view.pagesPainted(), before) << "page 50 not drawn again at the new zoom";
        EXPECT_EQ(view.currentPage(), 50);
        press(dialog, QStringLiteral("縮小"));
        press(dialog, QStringLiteral("縮小"));
        EXPECT_LT(view.zoom(), fitWidth);
        press(dialog, QStringLiteral("整頁"));
        // A whole landscape page fits in the view's height and width.
        EXPECT_LE(document->pageHeightMm() * view.zoom(), view.viewport()->height());
        EXPECT_LE(document->pageWidthMm() * view.zoom(), view.viewport()->width());
        press(dialog, QStringLiteral("頁寬"));
        EXPECT_DOUBLE_EQ(view.zoom(), fitWidth);
        EXPECT_EQ(view.currentPage(), 50);
        EXPECT_LE(view.pagesPainted(), 16);
    });
}

} // namespace
