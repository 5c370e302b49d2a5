// The preview window: the report's pages in a view that draws only what is on screen, with a
// tool bar for paging, zoom, printing and PDF export.
#include "vistrel/preview_dialog.h"

#include "vistrel/page_view.h"
#include "vistrel/save_excel.h"

#include "text/error.h"

#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QSpinBox>
#include <QToolBar>
#include <QVBoxLayout>

namespace vistrel {
namespace {

class PreviewDialog : public QDialog {
public:
    PreviewDialog(const ReportDocument& document, QWidget* parent)
        : QDialog(parent), document_(document)
    {
        setObjectName(QStringLiteral("VistrelPreview"));
        setWindowTitle(QStringLiteral("報表預覽"));
        setModal(true);

        preview_ = new PageView(document, this);
        preview_->setObjectName(QStringLiteral("PreviewPages"));

        auto* bar = new QToolBar(this);
        bar->addAction(QStringLiteral("第一頁"), this, [this] { preview_->setCurrentPage(1); });
        bar->addAction(QStringLiteral("上一頁"), this, [this] { preview_->setCurrentPage(preview_->currentPage() - 1); });
        page_ = new QSpinBox(bar);
        page_->setObjectName(QStringLiteral("PageNumber"));
        page_->setRange(1, std::max(1, document.pageCount()));
        bar->addWidget(page_);
        total_ = new QLabel(QStringLiteral(" / %1 ").arg(document.pageCount()), bar);
        bar->addWidget(total_);
        bar->addAction(QStringLiteral("下一頁"), this, [this] { preview_->setCurrentPage(preview_->currentPage() + 1); });
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
        resize(1000, 760);
        preview_->setFocus();
    }

private:
    void print()
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setFullPage(true);
        printer.setPageLayout(pageLayoutOf(document_));
        QPrintDialog dialog(&printer, this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        guarded([&] { paintAllPages(document_, printer, printer.resolution() / 25.4, "The printer could not be started"); });
    }
    void savePdf()
    {
        const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("匯出 PDF"), QString(),
                                                          QStringLiteral("PDF (*.pdf)"));
        if (!path.isEmpty())
            guarded([&] { exportPdf(document_, path); });
    }
    template <class F>
    void guarded(F work)
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
