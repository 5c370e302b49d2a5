#include "app/journal_page.h"

#include "app/remittance_page.h"

#include "cheque/cheque_desk.h"
#include "journal/files_again.h"
#include "journal/folder_check.h"
#include "journal/run_chain.h"
#include "journal/run_register.h"
#include "platform/paths.h"
#include "remittance/list_reprint.h"
#include "remittance/remittance_desk.h"
#include "text/big5.h"
#include "text/dates.h"
#include "text/error.h"
#include "ui/data_grid.h"
#include "ui/date_edit.h"
#include "ui/named_widgets.h"
#include "ui/qt_text.h"
#include "ui/radio_group.h"

#include <QComboBox>
#include <QDate>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

namespace app {
namespace {

using ui::button;

// The kinds in the order of the kind list, after its first entry 全部.
constexpr journal::RunKind kListedKinds[] = {journal::RunKind::Remit, journal::RunKind::ChequeIssue,
                                             journal::RunKind::Clearing, journal::RunKind::Void,
                                             journal::RunKind::Reprint};

// A path as the grids show it: Big5, with characters Big5 has not replaced by '?'.
std::string pathAsBig5(const std::string& path)
{
    const std::string utf8 = platform::pathForDisplay(path);
    try {
        return text::utf8ToBig5(utf8);
    } catch (const text::UserError&) {
        std::string plain;
        for (const char c : utf8)
            plain += static_cast<unsigned char>(c) < 0x80 ? c : '?';
        return plain;
    }
}

// A date edit's text as a run-list bound: "" when blank (that end stays open).
std::string dateBound(const QString& editText)
{
    QString digits = editText;
    digits.remove(QLatin1Char('/')).remove(QLatin1Char(' '));
    return digits.isEmpty() ? std::string() : text::dateStringFromEdit(ui::toBig5(editText));
}

db::RecordSet filesTable(const std::vector<journal::RunFile>& files)
{
    db::RecordSet table({{"FILE_NO", db::FieldType::Integer, 8},
                         {"FOLDER", db::FieldType::String, 255},
                         {"FILE_NAME", db::FieldType::String, 255},
                         {"RECORDS", db::FieldType::Integer, 8},
                         {"BYTE_SIZE", db::FieldType::Integer, 8},
                         {"SHA256", db::FieldType::String, 64},
                         {"IN_FOLDER", db::FieldType::String, 12}});
    for (const journal::RunFile& file : files) {
        table.appendRow();
        const std::size_t row = table.rowCount() - 1;
        table.setNumber(row, "FILE_NO", file.fileNo);
        table.setText(row, "FOLDER", pathAsBig5(file.folder));
        table.setText(row, "FILE_NAME", pathAsBig5(file.name));
        table.setNumber(row, "RECORDS", file.records);
        table.setNumber(row, "BYTE_SIZE", static_cast<double>(file.size));
        table.setText(row, "SHA256", file.sha256);
        table.setText(row, "IN_FOLDER", journal::verdictCaption(journal::checkInFolder(file)));
    }
    return table;
}

db::RecordSet folderCheckTable(const std::vector<journal::FolderFileCheck>& checks)
{
    db::RecordSet table({{"FILE_NAME", db::FieldType::String, 255},
                         {"VERDICT", db::FieldType::String, 12},
                         {"RUN_ID", db::FieldType::String, 20},
                         {"FIRST_DIFFERENCE", db::FieldType::String, 40}});
    for (const journal::FolderFileCheck& check : checks) {
        table.appendRow();
        const std::size_t row = table.rowCount() - 1;
        table.setText(row, "FILE_NAME", pathAsBig5(check.name));
        table.setText(row, "VERDICT", journal::verdictCaption(check.verdict));
        if (check.runId != 0)
            table.setText(row, "RUN_ID", std::to_string(check.runId));
        if (check.firstDifferingRecord != 0)
            table.setText(row, "FIRST_DIFFERENCE",
                          text::big5("第 " + std::to_string(check.firstDifferingRecord) + " 筆起不同"));
    }
    return table;
}

const work::GridColumns& filesColumns()
{
    static const work::GridColumns columns = {
        {"FILE_NO", "序", 3},       {"FOLDER", "資料夾", 30},  {"FILE_NAME", "檔名", 14},    {"RECORDS", "筆數", 6},
        {"BYTE_SIZE", "位元組", 8}, {"SHA256", "SHA-256", 64}, {"IN_FOLDER", "資料夾中", 8},
    };
    return columns;
}

const work::GridColumns& folderCheckColumns()
{
    static const work::GridColumns columns = {
        {"FILE_NAME", "檔名", 20},
        {"VERDICT", "結果", 8},
        {"RUN_ID", "付款紀錄", 8},
        {"FIRST_DIFFERENCE", "差異", 16},
    };
    return columns;
}

} // namespace

JournalPage::JournalPage(AppContext& context, const RemittancePage& remittance, QWidget* parent)
    : Page(context, parent), remittance_(remittance), chooseFolder_([this](const QString& title, const QString& start) {
          return QFileDialog::getExistingDirectory(this, title, start);
      })
{
    runsGrid_ = new ui::DataGrid(runs_, journal::runColumns(), this);
    billsGrid_ = new ui::DataGrid(bills_, journal::runBillColumns(), this);
    filesGrid_ = new ui::DataGrid(files_, filesColumns(), this);
    folderCheckGrid_ = new ui::DataGrid(folderCheck_, folderCheckColumns(), this);
    detailTabs_ = new QTabWidget(this);
    detailTabs_->addTab(billsGrid_, QStringLiteral("單據"));
    detailTabs_->addTab(filesGrid_, QStringLiteral("檔案"));
    detailTabs_->addTab(folderCheckGrid_, QStringLiteral("資料夾驗證"));

    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(runsGrid_);
    split->addWidget(detailTabs_);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(buildConditions());
    layout->addWidget(split, 1);

    connect(listRunsButton_, &QPushButton::clicked, this, &JournalPage::onListRuns);
    connect(filesAgainButton_, &QPushButton::clicked, this, &JournalPage::onMakeFilesAgain);
    connect(verifyFolderButton_, &QPushButton::clicked, this, &JournalPage::onVerifyFolder);
    connect(verifyJournalButton_, &QPushButton::clicked, this, &JournalPage::onVerifyJournal);
    connect(reprintButton_, &QPushButton::clicked, this, &JournalPage::onReprintRun);
    chequePrint_ = std::make_unique<cheque::ChequeDesk>(context_.database, context_.workTables, reprintProgress_,
                                                        context_.messages, context_.reports, reprintedCheques_);
    connect(runsGrid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { showRunDetail(current.row()); });

    // The component names, the one place they are set.
    ui::setComponentNames({
        {this, "bsSkinTabSheet5"},
        {runsFromEdit_, "bsSkinDateEdit41"},
        {runsToEdit_, "bsSkinDateEdit42"},
        {kindCombo_, "bsSkinComboBox41"},
        {booksCombo_, "bsSkinComboBox42"},
        {userEdit_, "bsSkinEdit41"},
        {listRunsButton_, "bsSkinButton41"},
        {filesAgainButton_, "bsSkinButton42"},
        {verifyFolderButton_, "bsSkinButton43"},
        {verifyJournalButton_, "bsSkinButton44"},
        {reprintButton_, "bsSkinButton45"},
        {runsGrid_, "wwDBGrid41"},
        {billsGrid_, "wwDBGrid42"},
        {filesGrid_, "wwDBGrid43"},
        {folderCheckGrid_, "wwDBGrid44"},
        {detailTabs_, "bsSkinPageControl41"},
    });
}

JournalPage::~JournalPage() = default;

QWidget* JournalPage::buildConditions()
{
    auto* panel = new QWidget(this);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);

    // The month so far, as a clerk asks first.
    runsFromEdit_ = new ui::DateEdit(panel);
    runsToEdit_ = new ui::DateEdit(panel);
    const QDate today = QDate::currentDate();
    runsFromEdit_->setDate(today.year(), today.month(), 1);

    kindCombo_ = new QComboBox(panel);
    kindCombo_->addItem(QStringLiteral("全部"));
    for (const journal::RunKind kind : kListedKinds)
        kindCombo_->addItem(ui::fromBig5(journal::kindCaption(kind)));
    booksCombo_ = new QComboBox(panel);
    booksCombo_->addItems(
        {QStringLiteral("全部"), QStringLiteral("本店帳 PAY_MASTER"), QStringLiteral("聯合帳 PAY_MASTERU")});
    userEdit_ = new QLineEdit(panel);
    userEdit_->setPlaceholderText(QStringLiteral("全部"));
    userEdit_->setMaximumWidth(120);

    listRunsButton_ = button(QStringLiteral("查詢(&Q)"), panel);
    filesAgainButton_ = button(QStringLiteral("重建檔案(&R)"), panel);
    verifyFolderButton_ = button(QStringLiteral("驗證資料夾(&V)"), panel);
    verifyJournalButton_ = button(QStringLiteral("驗證紀錄(&J)"), panel);
    reprintButton_ = button(QStringLiteral("補印(&P)"), panel);

    row->addWidget(new QLabel(QStringLiteral("作業日期"), panel));
    row->addWidget(runsFromEdit_);
    row->addWidget(new QLabel(QStringLiteral("~"), panel));
    row->addWidget(runsToEdit_);
    row->addSpacing(8);
    row->addWidget(new QLabel(QStringLiteral("類別"), panel));
    row->addWidget(kindCombo_);
    row->addWidget(new QLabel(QStringLiteral("帳冊"), panel));
    row->addWidget(booksCombo_);
    row->addWidget(new QLabel(QStringLiteral("使用者"), panel));
    row->addWidget(userEdit_);
    row->addSpacing(8);
    row->addWidget(listRunsButton_);
    row->addWidget(filesAgainButton_);
    row->addWidget(verifyFolderButton_);
    row->addWidget(verifyJournalButton_);
    row->addWidget(reprintButton_);
    row->addStretch(1);
    return panel;
}

void JournalPage::refreshGrid()
{
    runsGrid_->reload();
    billsGrid_->reload();
    filesGrid_->reload();
    folderCheckGrid_->reload();
}

void JournalPage::onListRuns()
{
    context_.messages.guarded([this] {
        journal::RunFilter filter;
        filter.from = dateBound(runsFromEdit_->text());
        filter.to = dateBound(runsToEdit_->text());
        if (kindCombo_->currentIndex() > 0)
            filter.kind = kListedKinds[kindCombo_->currentIndex() - 1];
        static const char* const kBooks[] = {"", "PAY_MASTER", "PAY_MASTERU"};
        filter.books = kBooks[std::max(0, booksCombo_->currentIndex())];
        filter.user = ui::trimmedBlanks(userEdit_->text()).toUpper().toStdString();
        runs_ = journal::listRuns(context_.database, filter);
        bills_.clear();
        files_.clear();
        refreshGrid();
        if (runs_.rowCount() == 0) {
            context_.messages.inform("無資料...........");
            return;
        }
        runsGrid_->selectRow(0);
        showRunDetail(0);
    });
}

void JournalPage::showRunDetail(int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= runs_.rowCount())
        return;
    context_.messages.guarded([this, row] {
        const long long runId = std::stoll(runs_.text(static_cast<std::size_t>(row), "RUN_ID"));
        bills_ = journal::runBills(context_.database, runId);
        files_ = filesTable(journal::runFiles(context_.database, runId));
        billsGrid_->reload();
        filesGrid_->reload();
    });
}

long long JournalPage::chosenRunId() const
{
    const int row = runsGrid_->currentIndex().row();
    if (row < 0 || static_cast<std::size_t>(row) >= runs_.rowCount())
        throw text::UserError("請先選擇一筆付款紀錄");
    return std::stoll(runs_.text(static_cast<std::size_t>(row), "RUN_ID"));
}

std::string JournalPage::bankFolder() const
{
    const std::string folder = ui::toFileSystemPath(remittance_.bankPathEdit()->text());
    return folder.empty() ? platform::defaultBankFolder() : folder;
}

void JournalPage::onMakeFilesAgain()
{
    context_.messages.guarded([this] {
        const long long runId = chosenRunId();
        const std::vector<journal::RunFile> files = journal::runFiles(context_.database, runId);
        if (files.empty())
            throw text::UserError("付款紀錄 " + std::to_string(runId) + " 沒有匯款檔案");
        // Beside the bank's live names, in a folder of the run's own, unless the clerk says otherwise.
        std::string folder = journal::filesAgainFolder(files.front().folder, runId);
        if (!context_.messages.confirm("將付款紀錄 " + std::to_string(runId) + " 的檔案重建於\n" +
                                       platform::pathForDisplay(folder) + "\n嗎?(否:另選資料夾)")) {
            const QString chosen = chooseFolder_(QStringLiteral("重建檔案至資料夾"),
                                                 QFile::decodeName(QByteArray::fromStdString(files.front().folder)));
            if (chosen.isEmpty())
                return;
            folder = ui::toFileSystemPath(chosen);
        }
        const std::vector<std::string> existing = journal::filesAgainWouldReplace(context_.database, runId, folder);
        if (!existing.empty()) {
            std::string question = "下列檔案已在該資料夾,確定要以付款紀錄的內容覆蓋嗎?";
            for (const std::string& name : existing)
                question += "\n" + platform::pathForDisplay(name);
            if (!context_.messages.confirm(question))
                return;
        }
        std::string done = "已依付款紀錄 " + std::to_string(runId) + " 重建:";
        for (const std::string& path : journal::writeFilesAgain(context_.database, runId, folder))
            done += "\n" + platform::pathForDisplay(path);
        context_.messages.inform(done);
    });
}

void JournalPage::onVerifyFolder()
{
    context_.messages.guarded([this] {
        const QString chosen =
            chooseFolder_(QStringLiteral("驗證資料夾"), QFile::decodeName(QByteArray::fromStdString(bankFolder())));
        if (chosen.isEmpty())
            return;
        folderCheck_ = folderCheckTable(journal::verifyFolder(context_.database, ui::toFileSystemPath(chosen)));
        folderCheckGrid_->reload();
        detailTabs_->setCurrentWidget(folderCheckGrid_);
        if (folderCheck_.rowCount() == 0)
            context_.messages.inform("該資料夾沒有檔案");
    });
}

void JournalPage::onReprintRun()
{
    context_.messages.guarded([this] {
        const long long runId = chosenRunId();
        const std::string kind = runs_.text(static_cast<std::size_t>(runsGrid_->currentIndex().row()), "KIND");
        std::string said, notice;
        if (kind == journal::kindName(journal::RunKind::Remit)) {
            remittance::RemittanceDesk desk{context_.database, context_.workTables, reprintProgress_, context_.messages,
                                            reprintedBills_,   reprintedRun_,       context_.reports};
            remittance::OutputControls controls;
            // The list shows the bank group the remittance tab has chosen.
            controls.reportBankGroup = remittance_.reportBankGroup()->itemIndex();
            controls.reportTitle = context_.reportTitle;
            const remittance::ListReprint result = remittance::reprintRemittanceList(desk, runId, controls);
            said = "已補印付款紀錄 " + std::to_string(runId) + " 的匯款明細表，" + std::to_string(result.bills) +
                   " 筆單據（補印紀錄 " + std::to_string(result.runId) + "）。";
            notice = result.journalNotice;
        } else {
            const cheque::ReprintResult result = cheque::reprintRun(*chequePrint_, runId, context_.reportTitle);
            said = "已補印付款紀錄 " + std::to_string(runId) + " 的 " + std::to_string(result.printed.size()) +
                   " 張支票（補印紀錄 " + std::to_string(result.runId) + "）。";
            if (!result.voided.empty()) {
                said += "\n已作廢、未補印：";
                for (const std::string& id : result.voided)
                    said += " " + text::big5ToUtf8(id);
            }
            notice = result.journalNotice;
        }
        context_.messages.inform(notice.empty() ? said : notice + "\n" + said);
    });
}

void JournalPage::onVerifyJournal()
{
    context_.messages.guarded([this] {
        const journal::ChainReport report = journal::verifyChain(context_.database);
        std::string said;
        if (report.firstBrokenRun != 0)
            said = "付款紀錄 " + std::to_string(report.firstBrokenRun) + " 已被變更：" + report.problem +
                   "\n（已驗證到這一筆為止，共 " + std::to_string(report.runsChecked) + " 筆）";
        else
            said = "付款紀錄完整：" + std::to_string(report.runsChecked) + " 筆付款紀錄的封存鏈無誤。";
        if (report.unsealedRuns > 0)
            said += "\n其中最早的 " + std::to_string(report.unsealedRuns) + " 筆寫於封存之前，未能驗證。";
        if (!report.booksDiffer.empty()) {
            said += "\n\n下列單據的帳冊匯款日與最後一次付款紀錄不符：";
            constexpr std::size_t kListed = 40;
            for (std::size_t i = 0; i < report.booksDiffer.size() && i < kListed; ++i)
                said += "\n" + report.booksDiffer[i];
            if (report.booksDiffer.size() > kListed)
                said += "\n另有 " + std::to_string(report.booksDiffer.size() - kListed) + " 筆未列出";
        }
        if (report.firstBrokenRun != 0 || !report.booksDiffer.empty())
            context_.messages.error(said);
        else
            context_.messages.inform(said);
    });
}

} // namespace app
