// The preview window: the report's pages in a view that draws only what is on screen, with a
// tool bar for paging, zoom, printing and PDF export.
#include "vistrel/preview_dialog.h"

#include "vistrel/page_view.h"
#include "vistrel/save_excel.h"

#include "text/error.h"

#include <QApplication>
#include <QDate>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QSpinBox>
#include <QStandardPaths>
#include <QToolBar>
#include <QVBoxLayout>

namespace vistrel {
namespace {

// The folder the clerk last saved a PDF to in this program run. The library is loaded anew
// for every report, so it is kept on the application, which outlives the library.
const char* const kLastPdfFolder = "vistrelLastPdfFolder";

QString pdfFolder()
{
    const QString last = qApp->property(kLastPdfFolder).toString();
    if (!last.isEmpty() && QDir(last).exists())
        return last;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath();
}

void rememberPdfFolder(const QString& folder)
{
    qApp->setProperty(kLastPdfFolder, folder);
}

class PreviewDialog : public QDialog {
public:
    PreviewDialog(const ReportDocument& document, QWidget* parent) : QDialog(parent), document_(document)
    {
        setObjectName(QStringLiteral("VistrelPreview"));
        setWindowTitle(QStringLiteral("報表預覽"));
        setModal(true);

        preview_ = new PageView(document, this);
        preview_->setObjectName(QStringLiteral("PreviewPages"));

        auto* bar = new QToolBar(this);
        bar->addAction(QStringLiteral("第一頁"), this, [this] { preview_->setCurrentPage(1); });
        bar->addAction(QStringLiteral("上一頁"), this,
                       [this] { preview_->setCurrentPage(preview_->currentPage() - 1); });
        page_ = new QSpinBox(bar);
        page_->setObjectName(QStringLiteral("PageNumber"));
        page_->setRange(1, std::max(1, document.pageCount()));
        bar->addWidget(page_);
        total_ = new QLabel(QStringLiteral(" / %1 ").arg(document.pageCount()), bar);
        bar->addWidget(total_);
        bar->addAction(QStringLiteral("下一頁"), this,
                       [this] { preview_->setCurrentPage(preview_->currentPage() + 1); });
        bar->addAction(QStringLiteral("最末頁"), this, [this] { preview_->setCurrentPage(preview_->pageCount()); });
        bar->addSeparator();
        bar->addAction(QStringLiteral("放大"), this, [this] { preview_->zoomIn(); });
        bar->addAction(QStringLiteral("縮小"), this, [this] { preview_->zoomOut(); });
        bar->addAction(QStringLiteral("整頁"), this, [this] { preview_->fitInView(); });
        bar->addAction(QStringLiteral("頁寬"), this, [this] { preview_->fitToWidth(); });
        bar->addSeparator();
        bar->addAction(QStringLiteral("列印"), this, [this] { print(); });
        bar->addAction(QStringLiteral("匯出 PDF"), this, [this] { savePdf(); });
        bar->addAction(QStringLiteral("匯出 Excel"), this, [this] { guarded([&] { saveExcelAs(document_, this); }); });
        bar->addSeparator();
        bar->addAction(QStringLiteral("關閉"), this, &QDialog::accept);

        connect(page_, &QSpinBox::valueChanged, preview_, &PageView::setCurrentPage);
        connect(preview_, &PageView::currentPageChanged, this, [this](int page) {
            const QSignalBlocker quiet(page_);
            page_->setValue(page);
        });

        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(bar);
        layout->addWidget(preview_);
        fitToScreen();
        preview_->setFocus();
    }

private:
    // As large as suits a page, but never past the screen: on a 1366x768 desktop the whole
    // window, its frame and its scroll bars stay in view.
    void fitToScreen()
    {
        QSize size(1000, 760);
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect room = screen->availableGeometry();
            // The frame the window manager adds is not known before the window is shown.
            constexpr int frameWidth = 16, frameHeight = 40;
            size = size.boundedTo(QSize(room.width() - frameWidth, room.height() - frameHeight));
            resize(size);
            move(room.left() + (room.width() - size.width() - frameWidth) / 2,
                 room.top() + (room.height() - size.height() - frameHeight) / 2);
            return;
        }
        resize(size);
    }

    void print()
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setFullPage(true);
        printer.setPageLayout(pageLayoutOf(document_));
        QPrintDialog dialog(&printer, this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        guarded([&] {
            paintAllPages(document_, printer, printer.resolution() / 25.4, "The printer could not be started");
        });
    }
    void savePdf()
    {
        const QString suggested = QDir(pdfFolder()).filePath(suggestedPdfName(document_.title(), QDate::currentDate()));
        QString path =
            QFileDialog::getSaveFileName(this, QStringLiteral("匯出 PDF"), suggested, QStringLiteral("PDF (*.pdf)"));
        if (path.isEmpty())
            return;
        if (QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".pdf");
        bool saved = false;
        guarded([&] {
            exportPdf(document_, path);
            saved = true;
        });
        if (!saved)
            return;
        rememberPdfFolder(QFileInfo(path).absolutePath());
        QMessageBox::information(this, windowTitle(),
                                 QStringLiteral("報表已存成 PDF:\n%1").arg(QDir::toNativeSeparators(path)));
    }
    template <class F> void guarded(F work)
    {
        try {
            work();
        } catch (const std::exception& e) {
            QMessageBox::critical(this, windowTitle(), QString::fromUtf8(e.what()));
        }
    }

    const ReportDocument& document_;
    PageView* preview_ = nullptr;
    QSpinBox* page_ = nullptr;
    QLabel* total_ = nullptr;
};

} // namespace

QString suggestedPdfName(const QString& title, const QDate& date)
{
    QString name = title.trimmed();
    // Characters no file name may hold on the clerk's systems become blanks.
    for (QChar& c : name)
        if (QStringLiteral("\\/:*?\"<>|").contains(c) || c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    name = name.simplified();
    if (name.isEmpty())
        name = QStringLiteral("報表");
    return name + QLatin1Char('_') + date.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".pdf");
}

std::unique_ptr<QDialog> makePreview(const ReportDocument& document, QWidget* parent)
{
    return std::make_unique<PreviewDialog>(document, parent);
}

void showPreview(const ReportDocument& document, QWidget* parent)
{
    PreviewDialog dialog(document, parent);
    dialog.exec();
}

} // namespace vistrel
