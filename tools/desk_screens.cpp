// desk_screens <database file> <folder>: drives the real main window on a copy of the demo
// database as a clerk would (each page's condition confirm, ticks, the provider lookup, an
// inquiry print with its preview and print dialog, a refused remittance with its marked rows,
// a remittance with its list and the files it wrote) and saves a screenshot of the whole
// screen at each step, taken by ImageMagick's `import`, into <folder>.
// Message boxes are answered with their default button; those a step expects are photographed.
#include "app/journal_page.h"
#include "app/main_window.h"
#include "db/connection.h"
#include "platform/paths.h"
#include "ui/data_grid.h"
#include "ui/date_edit.h"
#include "ui/qt_translations.h"
#include "ui/radio_group.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDialog>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolTip>

#include <cstdio>
#include <functional>

namespace {

QString outputFolder;
int shots = 0;

void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void shoot(const QString& name)
{
    settle(700);
    const QString file = outputFolder + QLatin1Char('/') + name + QStringLiteral(".png");
    if (QProcess::execute(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), file}) == 0)
        ++shots;
    else
        std::fprintf(stderr, "import failed for %s\n", qPrintable(file));
}

// Runs `act` once on the first modal widget that `matches`, as soon as it is up.
void whenModal(const std::function<bool(QWidget*)>& matches, const std::function<void(QWidget*)>& act)
{
    auto* poll = new QTimer;
    poll->setInterval(100);
    QObject::connect(poll, &QTimer::timeout, [poll, matches, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !matches(modal))
            return;
        poll->stop();
        poll->deleteLater();
        act(modal);
    });
    poll->start();
}

template <class T> bool is(QWidget* w)
{
    return qobject_cast<T*>(w) != nullptr;
}

QAction* action(QWidget* dialog, const QString& caption)
{
    for (QAction* a : dialog->findChildren<QAction*>())
        if (a->text() == caption)
            return a;
    return nullptr;
}

void key(Qt::Key k)
{
    if (QWidget* focus = QApplication::focusWidget()) {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
        QApplication::sendEvent(focus, &press);
        QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier);
        QApplication::sendEvent(focus, &release);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: desk_screens <database file> <folder>\n");
        return 2;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("付款覆核-匯款-開票作業"));
    ui::installQtTranslations(application);
    outputFolder = QString::fromLocal8Bit(argv[2]);

    db::ConnectionParams params;
    params.database = argv[1];
    db::Connection database(params);
    // The program's folder: the report library and its templates; Bill.ini is not written.
    app::MainWindow window(database, platform::exeFolder());
    window.show();
    settle(1500);
    QTemporaryDir bankFolder;

    // Message boxes: every one answered; the one a step expects (`expectedBox`) photographed
    // under the step's name, any other one's text printed, so that a retake shows surprises.
    QString expectedBox;
    QTimer answerer;
    answerer.setInterval(150);
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || box->property("answering").toBool())
            return;
        box->setProperty("answering", true);
        if (!expectedBox.isEmpty()) {
            shoot(expectedBox);
            expectedBox.clear();
        } else {
            std::fprintf(stderr, "unexpected message box: %s\n", qPrintable(box->text()));
        }
        box->done(box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::Ok);
    });
    answerer.start();

    const auto find = [&window](const char* name) { return window.findChild<QWidget*>(QString::fromLatin1(name)); };
    const auto date = [&](const char* name, const QDate& d) {
        static_cast<ui::DateEdit*>(find(name))->setText(d.toString(QStringLiteral("yyyy/MM/dd")));
    };
    const auto press = [&](const char* name) { static_cast<QPushButton*>(find(name))->click(); };
    const QDate today = QDate::currentDate();
    const QDate monthStart(today.addMonths(-1).year(), today.addMonths(-1).month(), 1);

    // 1. The remittance page after a condition confirm, three rows ticked with Space.
    window.pages()->setCurrentIndex(0);
    date("bsSkinDateEdit11", monthStart);
    date("bsSkinDateEdit12", today);
    static_cast<QLineEdit*>(find("bsSkinEdit15"))->setText(bankFolder.path() + QLatin1Char('/'));
    static_cast<QComboBox*>(find("bsSkinComboBox11"))->setCurrentIndex(0);
    press("bsSkinButton6");
    settle(500);
    find("wwDBGrid1")->setFocus();
    auto* remittanceGrid = static_cast<ui::DataGrid*>(find("wwDBGrid1"));
    remittanceGrid->setCurrentIndex(remittanceGrid->model()->index(0, 1));
    for (int i = 0; i < 3; ++i) {
        key(Qt::Key_Space);
        key(Qt::Key_Down);
    }
    shoot(QStringLiteral("01-remittance-page"));

    // 2. The cheque page after a condition confirm on the cheques to issue in the coming month
    // (by 開票日期: the demo book has those still to issue, beside a few issued already), with
    // its notice of amounts with cents.
    window.pages()->setCurrentIndex(1);
    static_cast<ui::RadioGroup*>(find("bsSkinRadioGroup21"))->setItemIndex(1);
    date("bsSkinDateEdit21", today.addDays(-8));
    date("bsSkinDateEdit22", today.addDays(31));
    static_cast<QComboBox*>(find("bsSkinComboBox21"))->setCurrentIndex(0);
    expectedBox = QStringLiteral("02-cheque-cents-notice");
    press("bsSkinButton10");
    settle(500);
    shoot(QStringLiteral("03-cheque-page"));

    // 3. The inquiry page after a condition confirm.
    window.pages()->setCurrentIndex(2);
    date("bsSkinDateEdit31", monthStart);
    date("bsSkinDateEdit32", today);
    press("bsSkinButton14");
    settle(500);
    shoot(QStringLiteral("04-inquiry-page"));

    // 4. Its print: the preview at its default zoom, the print dialog, the PDF save dialog.
    whenModal([](QWidget* w) { return w->objectName() == QStringLiteral("VistrelPreview"); },
              [](QWidget* preview) {
                  shoot(QStringLiteral("05-report-preview"));
                  whenModal(is<QPrintDialog>, [](QWidget* dialog) {
                      shoot(QStringLiteral("06-print-dialog"));
                      static_cast<QDialog*>(dialog)->reject();
                  });
                  if (QAction* print = action(preview, QStringLiteral("列印")))
                      print->trigger();
                  whenModal(is<QFileDialog>, [](QWidget* dialog) {
                      shoot(QStringLiteral("07-pdf-save-dialog"));
                      static_cast<QDialog*>(dialog)->reject();
                  });
                  if (QAction* pdf = action(preview, QStringLiteral("匯出 PDF")))
                      pdf->trigger();
                  static_cast<QDialog*>(preview)->accept();
              });
    press("bsSkinButton16");
    settle(500);

    // 5. The provider lookup opened with F4, after a search.
    press("bsSkinButton14");
    settle(300);
    find("bsSkinEdit5")->setFocus();
    whenModal([](QWidget* w) { return w->objectName() == QStringLiteral("Frmgetdata"); },
              [](QWidget* lookup) {
                  settle(300);
                  auto* fields = lookup->findChild<QComboBox*>(QStringLiteral("ComboBox1"));
                  fields->setCurrentIndex(1);
                  lookup->findChild<ui::RadioGroup*>(QStringLiteral("RadioGroup1"))->setItemIndex(2); // 其中有
                  lookup->findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("食品"));
                  lookup->findChild<QPushButton*>(QStringLiteral("SearchButton"))->click();
                  shoot(QStringLiteral("08-provider-lookup"));
                  lookup->findChild<QPushButton*>(QStringLiteral("CancelButton"))->click();
              });
    key(Qt::Key_F4);
    settle(300);

    // 6. A remittance of every row of a fresh list, refused for the rows no transfer file can
    // carry (the demo book has providers without bank data and bills with negative amounts):
    // its message, then the rows marked in the grid, one with its reason as a tooltip.
    window.pages()->setCurrentIndex(0);
    press("bsSkinButton6");
    settle(500);
    remittanceGrid->setFocus();
    remittanceGrid->setCurrentIndex(remittanceGrid->model()->index(0, 1));
    for (int i = 0; i < 4; ++i) {
        key(Qt::Key_Space);
        key(Qt::Key_Down);
    }
    expectedBox = QStringLiteral("09-remittance-refused-message");
    press("bsSkinButton8");
    settle(500);
    ui::RecordSetModel& remittanceRows = remittanceGrid->recordModel();
    int firstMarked = -1;
    for (int r = 0; r < remittanceRows.rowCount() && firstMarked < 0; ++r)
        if (!remittanceRows.rowAlert(r).isEmpty())
            firstMarked = r;
    if (firstMarked >= 0) {
        const QModelIndex name = remittanceRows.index(firstMarked, 2);
        remittanceGrid->scrollTo(name, QAbstractItemView::PositionAtCenter);
        settle(300);
        const QPoint at = remittanceGrid->visualRect(name).center();
        QHelpEvent hover(QEvent::ToolTip, at, remittanceGrid->viewport()->mapToGlobal(at));
        QApplication::sendEvent(remittanceGrid->viewport(), &hover);
    } else {
        std::fprintf(stderr, "the remittance of every row was not refused: no marked rows\n");
    }
    shoot(QStringLiteral("10-remittance-refused-rows"));
    QToolTip::hideText();

    // 7. The clerk unticks the marked rows among the ticked ones and remits the rest: the list
    // in the preview, the message naming the files written, the page afterwards.
    for (int r = 0; r < remittanceRows.rowCount(); ++r)
        if (!remittanceRows.rowAlert(r).isEmpty() &&
            remittanceRows.index(r, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked) {
            remittanceGrid->setCurrentIndex(remittanceRows.index(r, 1));
            key(Qt::Key_Space);
        }
    remittanceGrid->scrollToTop();
    whenModal([](QWidget* w) { return w->objectName() == QStringLiteral("VistrelPreview"); },
              [](QWidget* preview) {
                  shoot(QStringLiteral("11-remittance-list-preview"));
                  static_cast<QDialog*>(preview)->accept();
              });
    expectedBox = QStringLiteral("12-remittance-files-message");
    press("bsSkinButton9");
    settle(500);
    shoot(QStringLiteral("13-remittance-page-after-remit"));

    // 8. The journal tab listing the runs, the remittance's files in its detail.
    auto* journal = window.findChild<QWidget*>(QStringLiteral("bsSkinTabSheet5"));
    window.pages()->setCurrentWidget(journal);
    press("bsSkinButton41");
    settle(500);
    if (auto* detail = journal->findChild<QTabWidget*>())
        detail->setCurrentIndex(1); // 檔案
    shoot(QStringLiteral("14-journal-page"));

    // 9. Before the folder goes to the bank: a file no run wrote lies beside the run's files.
    {
        QFile stray(bankFolder.path() + QStringLiteral("/OLD.TXT"));
        if (stray.open(QIODevice::WriteOnly))
            stray.write("not written by the desk\r\n");
    }
    auto* journalPage = static_cast<app::JournalPage*>(journal);
    journalPage->setFolderChooser([&](const QString&, const QString&) { return bankFolder.path() + QLatin1Char('/'); });
    press("bsSkinButton43");
    settle(500);
    shoot(QStringLiteral("15-journal-folder-check"));
    expectedBox = QStringLiteral("16-journal-seal-check");
    press("bsSkinButton44");
    settle(500);

    std::printf("%d screenshots in %s\n", shots, qPrintable(outputFolder));
    return 0;
}
