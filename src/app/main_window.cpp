#include "app/main_window.h"

#include "app/bill_settings.h"
#include "app/cheque_page.h"
#include "app/desk_log.h"
#include "app/inquiry_page.h"
#include "app/journal_page.h"
#include "app/remittance_page.h"
#include "app/role_gate.h"
#include "journal/file_delivery.h"
#include "platform/paths.h"
#include "text/error.h"
#include "ui/date_edit.h"
#include "ui/qt_text.h"
#include "ui/radio_group.h"
#include "work/startup_data.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

namespace app {

namespace {

std::string connectionSuffix(db::Connection& database)
{
    return work::connectionSuffix(database.connectionId());
}

} // namespace

MainWindow::MainWindow(db::Connection& database, std::string exeFolder, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint), messages_(this),
      workTables_(database, connectionSuffix(database), report::handOverFiles(exeFolder)), reports_(exeFolder)
{
    setObjectName(QStringLiteral("FormTolvane")); // the window's component name
    setWindowTitle(QStringLiteral("付款覆核-匯款-開票作業"));
    context_ = std::make_unique<AppContext>(
        AppContext{database, workTables_, reports_, messages_, std::move(exeFolder), {}, work::readDeskRole(database)});

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("bsSkinPageControl1"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tabs_);
    buildPages();
    connectWindowControls();
    for (const Page* page : listPages_)
        applyDeskRole(page->windowControls().gatedPresses, context_->role);
    logPresses(this);

    fitToScreen();
    // Form-level key preview: the window sees every key before the focused control.
    qApp->installEventFilter(this);
}

// Larger than the window was first drawn (893 x 522, where the grid showed two rows under
// the panels), as large as a 1366 x 768 desktop allows with the frame, centred.
void MainWindow::fitToScreen()
{
    QSize size(1280, 720);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect room = screen->availableGeometry();
        constexpr int frameWidth = 16, frameHeight = 40; // the window manager's, unknown before showing
        size =
            size.boundedTo(QSize(room.width() - frameWidth, room.height() - frameHeight)).expandedTo(QSize(893, 522));
        resize(size);
        move(room.left() + (room.width() - size.width() - frameWidth) / 2,
             room.top() + (room.height() - size.height() - frameHeight) / 2);
        return;
    }
    resize(size);
}

MainWindow::~MainWindow()
{
    qApp->removeEventFilter(this);
}

void MainWindow::buildPages()
{
    remittancePage_ = new RemittancePage(*context_, tabs_);
    listPages_ = {remittancePage_, new ChequePage(*context_, tabs_), new InquiryPage(*context_, tabs_)};
    tabs_->addTab(listPages_[0], QStringLiteral("批次匯款作業"));
    tabs_->addTab(listPages_[1], QStringLiteral("批次開票作業"));
    tabs_->addTab(listPages_[2], QStringLiteral("帳款查詢作業"));
    tabs_->addTab(new JournalPage(*context_, *remittancePage_, tabs_), QStringLiteral("付款紀錄"));
}

void MainWindow::connectWindowControls()
{
    for (const Page* page : listPages_) {
        const WindowControls controls = page->windowControls();
        connect(controls.exitButton, &QPushButton::clicked, this, &QWidget::close);
        // The condition edits in which Enter moves on and Esc moves back.
        for (QWidget* widget : controls.navigatingEdits) {
            if (auto* dateEdit = qobject_cast<ui::DateEdit*>(widget))
                widget = dateEdit->lineEdit();
            widget->setProperty("navigatesWithEnter", true);
        }
    }
    // Every drop of the work tables disables select-all; the remittance run enables it again.
    workTables_.setOnDrop([this] { remittancePage_->selectAllButton()->setEnabled(false); });
}

std::string MainWindow::billIniPath() const
{
    return context_->exeFolder + "Bill.ini";
}

void MainWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    prepareDesk();
}

void MainWindow::prepareDesk()
{
    tabs_->setCurrentIndex(0);
    // Any failing step is reported and skips the rest; the window opens all the same.
    messages_.guarded([this] {
        const BillSettings settings = readBillSettings(billIniPath());
        accCheck_ = settings.accCheck;
        QLineEdit* bankPath = remittancePage_->bankPathEdit();
        const BankPathText stored = bankPathText(settings.bankPath);
        bankPath->setText(ui::fromUtf8(stored.utf8));
        if (bankPath->text().isEmpty())
            bankPath->setText(QFile::decodeName(QByteArray::fromStdString(platform::defaultBankFolder())));
        if (!stored.problem.empty())
            messages_.inform(stored.problem);
        remittancePage_->booksGroup()->setItemIndex(booksIndex(settings));

        db::Executor& database = context_->database;
        context_->reportTitle = work::readReportTitle(database);
        const auto fill = [](QComboBox* combo, const std::vector<std::string>& entries) {
            if (!combo)
                return;
            for (const std::string& entry : entries)
                combo->addItem(ui::fromBig5(entry));
            combo->setCurrentIndex(-1);
            combo->setEditText(QString());
        };
        const std::vector<std::string> accounts = work::bankAccountEntries(database);
        const std::vector<std::string> stores = work::storeEntries(database);
        for (const Page* page : listPages_) {
            const WindowControls controls = page->windowControls();
            fill(controls.accountCombo, accounts);
            fill(controls.storeCombo, stores);
        }
        // Housekeeping of the paying roles; an auditor's connection may not write the books.
        if (context_->role.may(work::DeskAction::Remit))
            work::clearMissingProviderFees(database);
    });
    // The payment journal: created in a database that predates it, and any press a crash cut
    // short finished or undone before the clerk starts work.
    messages_.guarded([this] {
        const std::string folder = ui::toFileSystemPath(remittancePage_->bankPathEdit()->text());
        const std::string notice =
            journal::prepareJournal(context_->database, {folder.empty() ? platform::defaultBankFolder() : folder});
        if (!notice.empty())
            messages_.inform(notice);
    });
}

bool MainWindow::closeDesk()
{
    return messages_.guarded([this] {
        writeBillSettings(billIniPath(), accCheck_, storableBankPath(remittancePage_->bankPathEdit()->text()),
                          remittancePage_->booksGroup()->itemIndex());
        workTables_.dropAll();
    });
}

// The bank path as Bill.ini stores it, Big5. One that Big5 cannot hold (a character typed or
// read from an unreadable file) never keeps the clerk from closing: the stored one is kept.
std::optional<std::string> MainWindow::storableBankPath(const QString& typed)
{
    try {
        return ui::toBig5(typed);
    } catch (const text::UserError& e) {
        messages_.inform(std::string("路徑檔名無法以 Big5 存入 Bill.ini(") + e.what() + "),BANK_PATH 保留原來的內容。");
        return std::nullopt;
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (closeDesk())
        event->accept();
    else
        event->ignore(); // the clerk saw the error; the window stays open
}

void MainWindow::toggleHiddenButtons()
{
    // Both 匯款日清空 buttons together, as the remittance tab's shows or hides.
    const bool show = remittancePage_->windowControls().hiddenClearButton->isHidden();
    for (const Page* page : listPages_)
        if (QWidget* clear = page->windowControls().hiddenClearButton)
            clear->setVisible(show);
}

// Where a key pressed in this window is delivered first: the focused control, or the window
// itself while none of its controls has the focus.
const QWidget* MainWindow::firstKeyReceiver() const
{
    const QWidget* focus = QApplication::focusWidget();
    return focus && focus->window() == this ? focus : this;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this)
        return QWidget::eventFilter(watched, event);
    // An application-wide filter sees a key once per receiver it travels through: the focused
    // widget first, then each parent that the unhandled key is passed on to, up to the window.
    // Act only at the first of them, or F1 would toggle the buttons twice and show nothing.
    if (widget != firstKeyReceiver())
        return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_F1) {
        toggleHiddenButtons();
        return QWidget::eventFilter(watched, event);
    }
    if (widget->property("navigatesWithEnter").toBool()) {
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            focusNextChild();
        else if (key->key() == Qt::Key_Escape)
            focusPreviousChild();
    }
    // The key is not consumed: the edit still receives it.
    return QWidget::eventFilter(watched, event);
}

} // namespace app
