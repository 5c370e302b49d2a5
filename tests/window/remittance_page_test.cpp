// The remittance tab through the real window on the offscreen platform: its controls, a whole
// run from the condition confirm to the stamps, and the refusal of a second press.
#include "app/remittance_page.h"
#include "app/journal_page.h"
#include "platform/file_replace.h"
#include "support/report_capture.h"
#include "text/big5.h"
#include "ui/data_grid.h"
#include "ui/date_edit.h"
#include "ui/radio_group.h"
#include "window_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <tuple>

using testing_support::WindowFixture;

namespace {

class RemittancePageTest : public ::testing::Test, protected WindowFixture {
protected:
    void SetUp() override
    {
        exec("INSERT INTO BANK_ACCOUNT (ACNT_ID, ACNT_NAME, BANK_ID, BANK_NAME, ACNT_NO, EXPORT_FILE, CON_PEOPLE) "
             "VALUES ('A1', '總公司', '0160002', '付款銀行', '998877', 'ABC-DEF', 'CONTACT')");
        exec("INSERT INTO PROVIDER (PROVIDER_ID, PROVIDER_NAME, BANK_ID, BANK_NAME, BANK_TITLE, BANK_ACCID, ACNT_AMT) "
             "VALUES ('P1', '甲商行', '0170001', '台灣銀行', '甲商行', '00123456789', 30)");
        exec("INSERT INTO PROVIDER (PROVIDER_ID, PROVIDER_NAME, BANK_ID, BANK_NAME, BANK_TITLE, BANK_ACCID, ACNT_AMT) "
             "VALUES ('P2', '乙公司', '0160001', '聯行', '乙公司', '555', 0)");
        for (const auto& [key, provider, amount] :
             {std::tuple{"B1", "P1", "1000"}, std::tuple{"B2", "P2", "2500"}, std::tuple{"B3", "P1", "400"}})
            exec(std::string("INSERT INTO PAY_MASTER (MASTERBILLID, BILL_DATE, PAY_DATE, PROVIDER_ID, PROVIDER_NAME, "
                             "ACNT_ID, BANK_IO) VALUES ('") +
                 key + "', '2024/01/05', '2024/01/10', '" + provider + "', 'x', 'A1', " + amount + ")");
        testing_support::installFakeReportLibrary(exeFolder.path());
    }

    void exec(const std::string& utf8) { database.connection().execute(text::big5(utf8)); }

    std::string bankDate(const std::string& key)
    {
        return database.connection().lookup("SELECT BANK_DATE FROM PAY_MASTER WHERE MASTERBILLID = '" + key + "'");
    }

    QPushButton* pushButton(const char* name) const { return find<QPushButton>(name); }
    // The tab's own 取消 button (every tab has one of that name).
    QPushButton* cancelButton() const
    {
        return window->findChild<app::RemittancePage*>()->findChild<QPushButton*>(QStringLiteral("cancelRunButton"));
    }
    db::RecordSet& records() const { return window->findChild<app::RemittancePage*>()->gridRecords(); }

    void setConditions()
    {
        find<ui::DateEdit>("bsSkinDateEdit11")->setText(QStringLiteral("2024/01/01"));
        find<ui::DateEdit>("bsSkinDateEdit12")->setText(QStringLiteral("2024/01/31"));
        find<ui::DateEdit>("bsSkinDateEdit13")->setText(QStringLiteral("2024/02/01"));
        find<QComboBox>("bsSkinComboBox11")->setCurrentIndex(0);
        find<QLineEdit>("bsSkinEdit15")->setText(QString::fromStdString(bankFolder.path()));
    }

    // The grid row of a bill in the list on screen.
    int rowOf(const std::string& key) const
    {
        for (std::size_t r = 0; r < records().rowCount(); ++r)
            if (records().text(r, "MASTERBILLID") == key)
                return static_cast<int>(r);
        ADD_FAILURE() << key << " is not in the list";
        return -1;
    }

    // Ticks exactly the rows of `keys` with Space, as the clerk does.
    void tickOnly(const std::vector<std::string>& keys)
    {
        auto* grid = find<ui::DataGrid>("wwDBGrid1");
        focusOn("wwDBGrid1");
        for (std::size_t r = 0; r < records().rowCount(); ++r) {
            const bool wanted = std::find(keys.begin(), keys.end(), records().text(r, "MASTERBILLID")) != keys.end();
            if (wanted != (records().text(r, "CHKED") == "Y")) {
                grid->setCurrentIndex(grid->model()->index(static_cast<int>(r), 2));
                pressKey(Qt::Key_Space);
            }
        }
    }

    // The keys of the rows the grid shows marked, each cell of the row alike: the same
    // background and a tooltip holding `reason`.
    std::vector<std::string> markedRows(const QString& reason) const
    {
        const QAbstractItemModel* model = find<ui::DataGrid>("wwDBGrid1")->model();
        std::vector<std::string> marked;
        for (int r = 0; r < model->rowCount(); ++r) {
            const QVariant background = model->index(r, 0).data(Qt::BackgroundRole);
            if (!background.isValid())
                continue;
            marked.push_back(records().text(static_cast<std::size_t>(r), "MASTERBILLID"));
            for (int c = 0; c < model->columnCount(); ++c) {
                EXPECT_EQ(model->index(r, c).data(Qt::BackgroundRole), background) << "row " << r << " column " << c;
                EXPECT_TRUE(model->index(r, c).data(Qt::ToolTipRole).toString().contains(reason))
                    << "row " << r << " column " << c << ": "
                    << model->index(r, c).data(Qt::ToolTipRole).toString().toStdString();
            }
        }
        return marked;
    }

    testing_support::TempFolder bankFolder;
};

TEST_F(RemittancePageTest, ControlsStartAsTheClerkExpects)
{
    open();
    const struct {
        const char* name;
        QStringList items;
    } groups[] = {
        {"bsSkinRadioGroup12", {QStringLiteral("未 匯 款"), QStringLiteral("已 匯 款"), QStringLiteral("不分匯款")}},
        {"bsSkinRadioGroup11", {QStringLiteral("付款日期"), QStringLiteral("沖帳日期")}},
        {"bsSkinRadioGroup13", {QStringLiteral("本店匯款"), QStringLiteral("聯合匯款")}},
        {"bsSkinRadioGroup16", {QStringLiteral("跨 銀 行"), QStringLiteral("本 銀 行")}},
    };
    for (const auto& g : groups) {
        auto* group = find<ui::RadioGroup>(g.name);
        ASSERT_NE(group, nullptr) << g.name;
        EXPECT_EQ(group->title(), QStringLiteral("報表選項"));
        ASSERT_EQ(group->count(), g.items.size());
        for (int i = 0; i < group->count(); ++i)
            EXPECT_EQ(group->itemText(i), g.items[i]);
        EXPECT_EQ(group->itemIndex(), 0) << g.name;
    }
    const struct {
        const char* name;
        QString caption;
        bool enabled, hidden;
    } buttons[] = {
        {"bsSkinButton6", QStringLiteral("條件確認"), true, false},
        {"bsSkinButton17", QStringLiteral("全選"), false, false},
        {"bsSkinButton9", QStringLiteral("選擇性匯款"), true, false},
        {"bsSkinButton8", QStringLiteral("全部匯款"), true, false},
        {"BitBtn1", QStringLiteral("匯款日清空"), true, true},
        {"bsSkinButton7", QStringLiteral("離開"), true, false},
        {"cancelRunButton", QStringLiteral("取消"), false, false}, // live only while a list runs
    };
    for (const auto& b : buttons) {
        auto* button = std::string_view(b.name) == "cancelRunButton" ? cancelButton() : pushButton(b.name);
        ASSERT_NE(button, nullptr) << b.name;
        EXPECT_EQ(button->text(), b.caption);
        EXPECT_EQ(button->isEnabled(), b.enabled) << b.name;
        EXPECT_EQ(button->isHidden(), b.hidden) << b.name;
    }
    EXPECT_TRUE(find<QCheckBox>("bsSkinCheckRadioBox11")->isChecked());
    EXPECT_EQ(find<QCheckBox>("bsSkinCheckRadioBox11")->text(), QStringLiteral("產生匯款檔案"));
    for (const char* name : {"bsSkinEdit_FILE", "bsSkinEdit_FILEa", "bsSkinEdit_FILEb"})
        EXPECT_TRUE(find<QLineEdit>(name)->text().isEmpty()) << name;
    EXPECT_EQ(find<QProgressBar>("bsSkinGauge11")->maximum(), 10);
    ASSERT_NE(find<QPlainTextEdit>("bsSkinMemo11"), nullptr);
    EXPECT_EQ(find<QLabel>("bsSkinStdLabel3")->text(), QStringLiteral("日期區間"));

    // Typed file names are upper case.
    QTest::keyClicks(find<QLineEdit>("bsSkinEdit_FILEa"), QStringLiteral("abc"));
    EXPECT_EQ(find<QLineEdit>("bsSkinEdit_FILEa")->text(), QStringLiteral("ABC"));
}

TEST_F(RemittancePageTest, DateConveniences)
{
    open();
    auto* from = find<ui::DateEdit>("bsSkinDateEdit11");
    auto* to = find<ui::DateEdit>("bsSkinDateEdit12");
    QTest::mouseClick(find<QLabel>("bsSkinStdLabel3"), Qt::LeftButton);
    EXPECT_EQ(from->text(), QStringLiteral("2010/04/30"));
    EXPECT_EQ(to->text(), QStringLiteral("2010/04/30"));

    to->setText(QStringLiteral("2024/12/31"));
    from->setText(QStringLiteral("2024/03/05"));
    from->lineEdit()->setFocus();
    QApplication::processEvents();
    find<QLineEdit>("bsSkinEdit15")->setFocus(); // leaving the start date
    QApplication::processEvents();
    EXPECT_EQ(to->text(), QStringLiteral("2024/03/05"));
}

TEST_F(RemittancePageTest, SwitchingToAnotherWindowIsNotLeavingTheStartDate)
{
    open();
    activate();
    auto* from = find<ui::DateEdit>("bsSkinDateEdit11");
    auto* to = find<ui::DateEdit>("bsSkinDateEdit12");
    to->setText(QStringLiteral("2024/12/31"));
    focusOn("bsSkinDateEdit11");
    from->setText(QStringLiteral("2024/03/05"));

    // The clerk looks something up in another window and comes back.
    QWidget other;
    other.resize(200, 100);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_EQ(to->text(), QStringLiteral("2024/12/31")) << "the end date was overwritten on a window switch";
    activate();
    EXPECT_EQ(to->text(), QStringLiteral("2024/12/31"));

    // Leaving the field for another control still copies the start date.
    focusOn("bsSkinEdit15");
    EXPECT_EQ(to->text(), QStringLiteral("2024/03/05"));
}

TEST_F(RemittancePageTest, AWholeRunFromConfirmToStamps)
{
    open();
    setConditions();
    pushButton("bsSkinButton6")->click();

    db::RecordSet& rows = records();
    ASSERT_EQ(rows.rowCount(), 3u) << shown.join(QStringLiteral("|")).toStdString();
    EXPECT_TRUE(shown.isEmpty()) << shown.join(QStringLiteral("|")).toStdString();
    EXPECT_EQ(find<QLineEdit>("bsSkinEdit_FILE")->text(), QStringLiteral("ABC-DEF"));
    EXPECT_EQ(find<QLineEdit>("bsSkinEdit_FILEa")->text(), QStringLiteral("ABC"));
    EXPECT_EQ(find<QLineEdit>("bsSkinEdit_FILEb")->text(), QStringLiteral("DEF"));
    EXPECT_TRUE(pushButton("bsSkinButton17")->isEnabled());
    EXPECT_EQ(find<QProgressBar>("bsSkinGauge11")->value(), 7);
    EXPECT_TRUE(find<QPlainTextEdit>("bsSkinMemo11")->toPlainText().endsWith(QStringLiteral("CAST7 .....2")));

    // The grid: titles, and a single click on the check column ticks a row.
    auto* grid = find<ui::DataGrid>("wwDBGrid1");
    EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("選擇"));
    EXPECT_EQ(grid->model()->headerData(5, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("匯款金額"));
    EXPECT_EQ(grid->model()->columnCount(), 8);
    EXPECT_EQ(rows.text(2, "PROVIDER_ID"), "P2"); // provider order
    int b3 = 0;
    while (rows.text(b3, "MASTERBILLID") != "B3")
        ++b3;
    const QRect cell = grid->visualRect(grid->model()->index(b3, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(rows.text(b3, "CHKED"), "Y");

    pushButton("bsSkinButton9")->click(); // selective: B3 only
    EXPECT_EQ(bankDate("B3"), "2024/02/01");
    EXPECT_EQ(bankDate("B1"), "");
    EXPECT_EQ(bankDate("B2"), "");
    EXPECT_FALSE(records().isOpen()); // the output routine ended the run
    EXPECT_FALSE(pushButton("bsSkinButton17")->isEnabled());
    EXPECT_EQ(grid->model()->rowCount(), 0);

    shown.clear();
    pushButton("bsSkinButton8")->click();
    EXPECT_EQ(shown, QStringList{QStringLiteral("請重新 條件確認...... ")});
    EXPECT_EQ(bankDate("B1"), "");

    // The next list of unremitted bills no longer holds B3; select-all then remit all.
    shown.clear();
    pushButton("bsSkinButton6")->click();
    ASSERT_EQ(records().rowCount(), 2u);
    pushButton("bsSkinButton17")->click();
    EXPECT_EQ(records().text(0, "CHKED"), "Y");
    EXPECT_EQ(records().text(1, "CHKED"), "Y");
    pushButton("bsSkinButton8")->click();
    EXPECT_EQ(bankDate("B1"), "2024/02/01");
    EXPECT_EQ(bankDate("B2"), "2024/02/01");
    EXPECT_FALSE(shown.join(QString()).contains(QStringLiteral("error")))
        << shown.join(QStringLiteral("|")).toStdString();
}

TEST_F(RemittancePageTest, SpaceTicksAndUnticksTheCurrentRow)
{
    open();
    activate();
    setConditions();
    pushButton("bsSkinButton6")->click();
    ASSERT_EQ(records().rowCount(), 3u);
    auto* grid = find<ui::DataGrid>("wwDBGrid1");
    focusOn("wwDBGrid1");
    grid->setCurrentIndex(grid->model()->index(1, 2));
    pressKey(Qt::Key_Space);
    EXPECT_EQ(records().text(1, "CHKED"), "Y");
    EXPECT_EQ(grid->model()->index(1, 0).data(Qt::CheckStateRole).toInt(), Qt::Checked);
    pressKey(Qt::Key_Down);
    pressKey(Qt::Key_Space);
    EXPECT_EQ(records().text(2, "CHKED"), "Y");
    pressKey(Qt::Key_Space);
    EXPECT_EQ(records().text(2, "CHKED"), "N");
    EXPECT_EQ(records().text(1, "CHKED"), "Y");
}

TEST_F(RemittancePageTest, AmountsShowAsTheReportsPrintThem)
{
    exec("UPDATE PAY_MASTER SET BANK_IO = 1234567.5 WHERE MASTERBILLID = 'B2'");
    open();
    setConditions();
    pushButton("bsSkinButton6")->click();
    ASSERT_EQ(records().rowCount(), 3u);
    auto* grid = find<ui::DataGrid>("wwDBGrid1");
    int b2 = 0;
    while (records().text(b2, "MASTERBILLID") != "B2")
        ++b2;
    const QModelIndex amount = grid->model()->index(b2, 3); // 應付款
    EXPECT_EQ(amount.data().toString(), QStringLiteral("1,234,568"));
    EXPECT_TRUE(amount.data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
    EXPECT_TRUE(amount.data(Qt::ToolTipRole).toString().contains(QStringLiteral("1,234,567.50")));
    EXPECT_TRUE(amount.data(Qt::BackgroundRole).isValid()) << "an amount with cents is marked";
    const QModelIndex whole = grid->model()->index(b2 == 0 ? 1 : 0, 3);
    EXPECT_FALSE(whole.data(Qt::BackgroundRole).isValid());
    EXPECT_FALSE(whole.data().toString().contains(QLatin1Char('.')));
    // Wide enough for what it shows.
    EXPECT_GE(grid->columnWidth(3), grid->fontMetrics().horizontalAdvance(QStringLiteral("1,234,568")));
}

TEST_F(RemittancePageTest, AnInvalidDateIsQuotedAsTheClerkSeesIt)
{
    open();
    setConditions();
    find<ui::DateEdit>("bsSkinDateEdit11")->setText(QString());
    EXPECT_EQ(find<ui::DateEdit>("bsSkinDateEdit11")->text(), QStringLiteral("    /  /  "));
    pushButton("bsSkinButton6")->click();
    EXPECT_EQ(shown, QStringList{QStringLiteral("error: '    /  /  ' is not a valid date")});
    shown.clear();
    find<ui::DateEdit>("bsSkinDateEdit11")->setText(QStringLiteral("2024/02/30"));
    pushButton("bsSkinButton6")->click();
    EXPECT_EQ(shown, QStringList{QStringLiteral("error: '2024/02/30' is not a valid date")});
}

TEST_F(RemittancePageTest, TransferFilesGoToABankFolderNamedInChinese)
{
    // Folder names on this system are UTF-8, whatever the program stores in Bill.ini.
    const std::string folder = bankFolder.path() + "銀行檔案/";
    std::filesystem::create_directory(folder);
    open();
    setConditions();
    find<QLineEdit>("bsSkinEdit15")->setText(QString::fromUtf8(folder));
    pushButton("bsSkinButton6")->click();
    ASSERT_EQ(records().rowCount(), 3u);
    pushButton("bsSkinButton8")->click();

    EXPECT_FALSE(shown.join(QString()).contains(QStringLiteral("error")))
        << shown.join(QStringLiteral("|")).toStdString();
    EXPECT_TRUE(std::filesystem::is_regular_file(folder + "ABC.TXT"));
    EXPECT_TRUE(std::filesystem::is_regular_file(folder + "DEF.TXT"));
    EXPECT_EQ(bankDate("B1"), "2024/02/01");
}

TEST_F(RemittancePageTest, HiddenClearingButtonClearsByProvider)
{
    exec("UPDATE PAY_MASTER SET BANK_DATE = '2024/01/20'");
    open();
    setConditions();
    find<ui::RadioGroup>("bsSkinRadioGroup12")->setItemIndex(1); // "已 匯 款"
    pushButton("bsSkinButton6")->click();
    ASSERT_EQ(records().rowCount(), 3u);
    records().setText(0, "CHKED", "Y"); // a row of P1
    activate();
    focusOn("bsSkinEdit15");
    pressKey(Qt::Key_F1);
    ASSERT_TRUE(pushButton("BitBtn1")->isVisible());
    pushButton("BitBtn1")->click();
    EXPECT_EQ(bankDate("B1"), "");
    EXPECT_EQ(bankDate("B3"), "");
    EXPECT_EQ(bankDate("B2"), "2024/01/20");
    EXPECT_TRUE(shown.isEmpty());
}

TEST_F(RemittancePageTest, ARunOnAnotherTabLeavesTheRemittanceGridUnremittable)
{
    open();
    setConditions();
    pushButton("bsSkinButton6")->click();
    ASSERT_EQ(records().rowCount(), 3u);
    pushButton("bsSkinButton10")->click(); // the cheque tab's condition confirm drops our tables
    shown.clear();
    pushButton("bsSkinButton8")->click();
    EXPECT_EQ(shown, QStringList{QStringLiteral("請重新 條件確認...... ")});
    EXPECT_EQ(bankDate("B1"), "");
}

// The page's press is the remittance module's whole press: the run is journalled with the
// very bytes of the files in the bank folder, and no file waits under a temporary name.
TEST_F(RemittancePageTest, ThePagesPressIsJournalledWithTheFilesItPutInPlace)
{
    open();
    setConditions();
    pushButton("bsSkinButton6")->click();
    ASSERT_EQ(records().rowCount(), 3u);
    pushButton("bsSkinButton8")->click();
    ASSERT_EQ(bankDate("B1"), "2024/02/01") << shown.join(QStringLiteral("|")).toStdString();

    db::Connection& db = database.connection();
    EXPECT_EQ(db.lookup("SELECT COUNT(*) FROM PAY_RUN WHERE KIND = 'REMIT' AND BILL_COUNT = 3"), "1");
    const db::RecordSet files = db.query("SELECT FILE_NAME, SHA256, RECORDS FROM PAY_RUN_FILE ORDER BY FILE_NO");
    ASSERT_EQ(files.rowCount(), 2u);
    EXPECT_EQ(files.text(0, 0), "ABC.TXT");
    EXPECT_EQ(files.text(1, 0), "DEF.TXT");
    EXPECT_EQ(files.number(0, 2) + files.number(1, 2), 3);
    std::vector<std::string> inFolder;
    for (const auto& entry : std::filesystem::directory_iterator(bankFolder.path()))
        inFolder.push_back(entry.path().filename().string());
    std::sort(inFolder.begin(), inFolder.end());
    EXPECT_EQ(inFolder, (std::vector<std::string>{"ABC.TXT", "DEF.TXT"}));
    EXPECT_EQ(db.lookup("SELECT COUNT(*) FROM PAY_RUN_PLACED WHERE OUTCOME = 'PLACED'"), "2");
}

// A press whose file names cannot carry every row changes nothing and says which rows and why:
// here the same-bank name is emptied while P2 banks at 016.
TEST_F(RemittancePageTest, APressNoFileCouldCarryWholeChangesNothing)
{
    open();
    setConditions();
    pushButton("bsSkinButton6")->click();
    ASSERT_EQ(records().rowCount(), 3u);
    find<QLineEdit>("bsSkinEdit_FILEb")->clear();
    shown.clear();
    pushButton("bsSkinButton8")->click();

    for (const char* key : {"B1", "B2", "B3"})
        EXPECT_EQ(bankDate(key), "") << key;
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains(QStringLiteral("廠商 P2 單據 B2"))) << shown[0].toStdString();
    EXPECT_TRUE(shown[0].contains(QStringLiteral("聯行檔名空白"))) << shown[0].toStdString();
    EXPECT_TRUE(std::filesystem::is_empty(bankFolder.path()));
    EXPECT_TRUE(records().isOpen()); // the clerk can fix the name and press again
}

// The journal tab after a remit: the run listed with its bills and files, the bank folder
// checked against the journal, and the run's files made again beside the live names.
TEST_F(RemittancePageTest, TheJournalTabListsTheRunChecksTheFolderAndMakesItsFilesAgain)
{
    open();
    setConditions();
    pushButton("bsSkinButton6")->click();
    pushButton("bsSkinButton8")->click();
    ASSERT_EQ(bankDate("B1"), "2024/02/01") << shown.join(QStringLiteral("|")).toStdString();
    const std::string bank = bankFolder.path();
    std::vector<std::string> written;
    for (const auto& entry : std::filesystem::directory_iterator(bank))
        written.push_back(entry.path().filename().string());
    ASSERT_FALSE(written.empty());

    auto* page = window->findChild<app::JournalPage*>(QStringLiteral("bsSkinTabSheet5"));
    ASSERT_NE(page, nullptr);
    window->pages()->setCurrentWidget(page);
    page->setFolderChooser([&](const QString&, const QString&) { return QString::fromStdString(bank); });
    // A cell of a grid of the tab, by its column's title.
    const auto cell = [&](const char* gridName, int row, const QString& title) {
        QAbstractItemModel* model = find<ui::DataGrid>(gridName)->model();
        for (int c = 0; c < model->columnCount(); ++c)
            if (model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString() == title)
                return model->data(model->index(row, c), Qt::DisplayRole).toString();
        return QStringLiteral("<no column ") + title + QStringLiteral(">");
    };

    shown.clear();
    pushButton("bsSkinButton41")->click();
    EXPECT_TRUE(shown.isEmpty()) << shown.join(QStringLiteral("|")).toStdString();
    ASSERT_EQ(find<ui::DataGrid>("wwDBGrid41")->model()->rowCount(), 1);
    EXPECT_EQ(cell("wwDBGrid41", 0, QStringLiteral("類別")), QStringLiteral("匯款"));
    EXPECT_EQ(cell("wwDBGrid41", 0, QStringLiteral("匯款/開票日")), QStringLiteral("2024/02/01"));
    EXPECT_EQ(find<ui::DataGrid>("wwDBGrid42")->model()->rowCount(), 3);
    EXPECT_EQ(cell("wwDBGrid42", 0, QStringLiteral("新匯款日")), QStringLiteral("2024/02/01"));
    ASSERT_EQ(find<ui::DataGrid>("wwDBGrid43")->model()->rowCount(), static_cast<int>(written.size()));
    EXPECT_EQ(cell("wwDBGrid43", 0, QStringLiteral("資料夾中")), QStringLiteral("相符"));

    // A file nobody's run wrote is pointed out before the folder goes to the bank.
    ASSERT_TRUE(platform::replaceWholeFile(bank + "ZZZ.TXT", "x\r\n"));
    pushButton("bsSkinButton43")->click();
    const int checked = find<ui::DataGrid>("wwDBGrid44")->model()->rowCount();
    ASSERT_EQ(checked, static_cast<int>(written.size()) + 1);
    for (int row = 0; row + 1 < checked; ++row)
        EXPECT_EQ(cell("wwDBGrid44", row, QStringLiteral("結果")), QStringLiteral("相符")) << row;
    EXPECT_EQ(cell("wwDBGrid44", checked - 1, QStringLiteral("檔名")), QStringLiteral("ZZZ.TXT"));
    EXPECT_EQ(cell("wwDBGrid44", checked - 1, QStringLiteral("結果")), QStringLiteral("不明"));

    // Files again, into the run's own folder (the clerk's Yes to the suggested folder).
    shown.clear();
    pushButton("bsSkinButton42")->click();
    const std::string runId = database.connection().lookup("SELECT MAX(RUN_ID) FROM PAY_RUN");
    for (const std::string& name : written) {
        std::string original, again;
        ASSERT_EQ(platform::readWholeFile(bank + name, original), platform::ReadResult::Read);
        ASSERT_EQ(platform::readWholeFile(bank + "RUN" + runId + "/" + name, again), platform::ReadResult::Read)
            << name;
        EXPECT_EQ(again, original) << name;
    }
    EXPECT_TRUE(shown.last().startsWith(QStringLiteral("已依付款紀錄 ") + QString::fromStdString(runId)))
        << shown.join(QStringLiteral("|")).toStdString();

    // The remit's list printed again, marked on every page.
    const std::size_t handed = testing_support::handedReports(exeFolder.path()).size();
    pushButton("bsSkinButton45")->click();
    EXPECT_TRUE(shown.last().startsWith(QStringLiteral("已補印付款紀錄 ") + QString::fromStdString(runId)))
        << shown.last().toStdString();
    const auto reports = testing_support::handedReports(exeFolder.path());
    ASSERT_EQ(reports.size(), handed + 1);
    EXPECT_EQ(text::big5ToUtf8(reports.back().header.text(0, "Field8")), "補印 原匯款日 2024/02/01 付款紀錄 " + runId);

    // The journal's seals hold; a stamp changed by hand in the books is named as an error.
    pushButton("bsSkinButton44")->click();
    EXPECT_TRUE(shown.last().startsWith(QStringLiteral("付款紀錄完整"))) << shown.last().toStdString();
    exec("UPDATE PAY_MASTER SET BANK_DATE = '2030/01/01' WHERE MASTERBILLID = 'B1'");
    pushButton("bsSkinButton44")->click();
    EXPECT_TRUE(shown.last().startsWith(QStringLiteral("error: 付款紀錄完整"))) << shown.last().toStdString();
    EXPECT_TRUE(shown.last().contains(QStringLiteral("PAY_MASTER B1"))) << shown.last().toStdString();
}

// A refused press says plainly that nothing was remitted and what to do, and marks the rows it
// names in the grid with their reasons; the marks follow the next press and go with the next list.
TEST_F(RemittancePageTest, ARefusedRemitMarksItsRowsAndSaysNothingWasRemitted)
{
    exec("UPDATE PROVIDER SET BANK_ACCID = '12-34' WHERE PROVIDER_ID = 'P1'"); // B1 and B3
    open();
    activate();
    setConditions();
    pushButton("bsSkinButton6")->click();
    ASSERT_EQ(records().rowCount(), 3u);
    const QString reason = QStringLiteral("帳號不是數字");

    tickOnly({"B1", "B2"});
    shown.clear();
    pushButton("bsSkinButton9")->click(); // 選擇性匯款
    ASSERT_EQ(shown.size(), 1) << shown.join(QStringLiteral("|")).toStdString();
    const QString told = shown[0];
    EXPECT_TRUE(told.startsWith(QStringLiteral("本次未匯款,沒有任何單據被處理"))) << told.toStdString();
    EXPECT_TRUE(told.contains(QStringLiteral("請取消勾選這些單據"))) << told.toStdString();
    EXPECT_TRUE(told.contains(QStringLiteral("修正其原因"))) << told.toStdString();
    EXPECT_TRUE(told.contains(QStringLiteral("廠商 P1 單據 B1: ") + reason)) << told.toStdString();
    EXPECT_FALSE(told.contains(QStringLiteral("B3"))) << "B3 was not ticked";
    EXPECT_EQ(markedRows(reason), std::vector<std::string>{"B1"});
    for (const char* key : {"B1", "B2", "B3"})
        EXPECT_EQ(bankDate(key), "") << key;
    EXPECT_TRUE(std::filesystem::is_empty(bankFolder.path()));

    // The next press marks what it refuses, and only that.
    tickOnly({"B3"});
    shown.clear();
    pushButton("bsSkinButton9")->click();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains(QStringLiteral("廠商 P1 單據 B3: ") + reason)) << shown[0].toStdString();
    EXPECT_EQ(markedRows(reason), std::vector<std::string>{"B3"});

    // A new list carries no marks.
    pushButton("bsSkinButton6")->click();
    ASSERT_EQ(records().rowCount(), 3u);
    EXPECT_TRUE(markedRows(reason).empty());

    // 全部匯款 names both rows of P1; once they are left out, the press goes through.
    shown.clear();
    pushButton("bsSkinButton8")->click();
    ASSERT_EQ(shown.size(), 1);
    std::vector<std::string> marked = markedRows(reason);
    std::sort(marked.begin(), marked.end());
    EXPECT_EQ(marked, (std::vector<std::string>{"B1", "B3"}));
    EXPECT_FALSE(find<ui::DataGrid>("wwDBGrid1")->model()->index(rowOf("B2"), 1).data(Qt::ToolTipRole).isValid());
    tickOnly({"B2"});
    shown.clear();
    pushButton("bsSkinButton9")->click();
    EXPECT_EQ(bankDate("B2"), "2024/02/01") << shown.join(QStringLiteral("|")).toStdString();
    EXPECT_TRUE(markedRows(reason).empty());
}

// After a remit the clerk is told each file written, where, with its record count, and which
// file this press had no bill for (an older one of that name may lie in the folder).
TEST_F(RemittancePageTest, AfterARemitTheMessageSaysWhichFilesWentWhere)
{
    open();
    activate();
    setConditions();
    const QString folder = QString::fromStdString(bankFolder.path());
    const QString interBank = folder + QStringLiteral("ABC.TXT");
    const QString sameBank = folder + QStringLiteral("DEF.TXT");

    pushButton("bsSkinButton6")->click();
    ASSERT_EQ(records().rowCount(), 3u);
    tickOnly({"B2"}); // the same-bank row
    shown.clear();
    pushButton("bsSkinButton9")->click();
    ASSERT_EQ(bankDate("B2"), "2024/02/01") << shown.join(QStringLiteral("|")).toStdString();
    ASSERT_TRUE(std::filesystem::is_regular_file(sameBank.toStdString()));
    EXPECT_EQ(shown,
              QStringList{QStringLiteral("本次匯款 1 筆單據,匯款檔寫入:\n") + sameBank + QStringLiteral("  1 筆\n") +
                          interBank + QStringLiteral("  本次沒有單據,未寫出(資料夾中若有同名檔,是先前的檔案)")});

    pushButton("bsSkinButton6")->click();
    ASSERT_EQ(records().rowCount(), 2u);
    shown.clear();
    pushButton("bsSkinButton8")->click(); // 全部匯款: B1 and B3, both inter-bank
    ASSERT_EQ(bankDate("B1"), "2024/02/01") << shown.join(QStringLiteral("|")).toStdString();
    EXPECT_EQ(shown,
              QStringList{QStringLiteral("本次匯款 2 筆單據,匯款檔寫入:\n") + interBank + QStringLiteral("  2 筆\n") +
                          sameBank + QStringLiteral("  本次沒有單據,未寫出(資料夾中若有同名檔,是先前的檔案)")});
}

} // namespace

// Esc on the focused control while the condition confirm runs stops it: no work table or view
// of the run stays, the grid is empty and says why, and the next confirm lists as always.
TEST_F(RemittancePageTest, EscDuringTheConditionConfirmCancelsItWithoutATrace)
{
    open();
    activate();
    setConditions();
    ASSERT_NE(cancelButton(), nullptr);
    EXPECT_EQ(cancelButton()->text(), QStringLiteral("取消"));
    EXPECT_FALSE(cancelButton()->isEnabled());
    const QStringList before = userRelations();

    focusOn("bsSkinComboBox11");
    pressKeyDuringNextRun(Qt::Key_Escape);
    pushButton("bsSkinButton6")->click();

    EXPECT_EQ(userRelations(), before);
    EXPECT_EQ(records().rowCount(), 0u);
    EXPECT_EQ(find<ui::DataGrid>("wwDBGrid1")->model()->rowCount(), 0);
    EXPECT_TRUE(find<QPlainTextEdit>("bsSkinMemo11")->toPlainText().endsWith(QStringLiteral("作業已取消")));
    ASSERT_EQ(shown.size(), 1) << shown.join(QStringLiteral("|")).toStdString();
    EXPECT_TRUE(shown[0].startsWith(QStringLiteral("作業已取消"))) << shown[0].toStdString();
    EXPECT_FALSE(cancelButton()->isEnabled());

    // Nothing of the cancelled list can be remitted.
    pushButton("bsSkinButton8")->click();
    EXPECT_EQ(bankDate("B1"), "");

    // The page is usable again: the same confirm lists the bills.
    shown.clear();
    pushButton("bsSkinButton6")->click();
    EXPECT_EQ(records().rowCount(), 3u) << shown.join(QStringLiteral("|")).toStdString();
    EXPECT_TRUE(shown.isEmpty()) << shown.join(QStringLiteral("|")).toStdString();
    EXPECT_EQ(userRelations().size(), before.size() + 5);
}

// The 取消 button does what Esc does.
TEST_F(RemittancePageTest, TheCancelButtonStopsTheConditionConfirm)
{
    open();
    activate();
    setConditions();
    const QStringList before = userRelations();
    QTimer::singleShot(0, window.get(), [this] { QTest::mouseClick(cancelButton(), Qt::LeftButton); });
    pushButton("bsSkinButton6")->click();

    EXPECT_EQ(userRelations(), before);
    EXPECT_EQ(records().rowCount(), 0u);
    EXPECT_TRUE(find<QPlainTextEdit>("bsSkinMemo11")->toPlainText().endsWith(QStringLiteral("作業已取消")));
}
