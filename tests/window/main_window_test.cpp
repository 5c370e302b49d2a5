#include "window_fixture.h"

#include "platform/paths.h"
#include "text/big5.h"
#include "ui/qt_translations.h"
#include "ui/radio_group.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTranslator>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using testing_support::WindowFixture;

namespace {

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

class MainWindowTest : public ::testing::Test, protected WindowFixture {
protected:
    void SetUp() override
    {
        db::Connection& c = database.connection();
        c.execute("INSERT INTO PUB_PARAM (REP_TITLE) VALUES (" + db::quote(text::big5("大統百貨股份有限公司")) + ")");
        c.execute("INSERT INTO BANK_ACCOUNT (ACNT_ID, ACNT_NAME) VALUES ('02', " + db::quote(text::big5("台銀中山")) +
                  ")");
        c.execute("INSERT INTO BANK_ACCOUNT (ACNT_ID, ACNT_NAME) VALUES ('01', " + db::quote(text::big5("一銀總行")) +
                  ")");
        c.execute("INSERT INTO SLAVE_ITEM (STORE_ID, STORE_NAME) VALUES ('S1', " + db::quote(text::big5("台北店")) +
                  ")");
        c.execute("INSERT INTO PROVIDER (PROVIDER_ID, PROVIDER_NAME, ACNT_AMT) VALUES ('P1', 'A', NULL)");
        c.execute("INSERT INTO PROVIDER (PROVIDER_ID, PROVIDER_NAME, ACNT_AMT) VALUES ('P2', 'B', 15)");
    }

    std::string billIni() const { return exeFolder.path() + "Bill.ini"; }
    void writeBillIni(const std::string& content) const { std::ofstream(billIni(), std::ios::binary) << content; }
};

TEST_F(MainWindowTest, OpensWithCaptionPagesTitleListsAndFeeCleanUp)
{
    open();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("付款覆核-匯款-開票作業"));
    QTabWidget* tabs = window->pages();
    ASSERT_EQ(tabs->count(), 4);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("批次匯款作業"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("批次開票作業"));
    EXPECT_EQ(tabs->tabText(2), QStringLiteral("帳款查詢作業"));
    EXPECT_EQ(tabs->tabText(3), QStringLiteral("付款紀錄"));
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(window->context().reportTitle, text::big5("大統百貨股份有限公司"));

    for (const char* name : {"bsSkinComboBox11", "bsSkinComboBox21"}) {
        auto* combo = find<QComboBox>(name);
        ASSERT_NE(combo, nullptr) << name;
        ASSERT_EQ(combo->count(), 2);
        EXPECT_EQ(combo->itemText(0), QStringLiteral("01,一銀總行"));
        EXPECT_EQ(combo->currentText(), QString()) << "combo boxes start with no selection";
    }
    for (const char* name : {"bsSkinComboBox12", "bsSkinComboBox22", "bsSkinComboBox32"}) {
        auto* combo = find<QComboBox>(name);
        ASSERT_NE(combo, nullptr) << name;
        ASSERT_EQ(combo->count(), 1);
        EXPECT_EQ(combo->itemText(0), QStringLiteral("S1,台北店"));
    }
    EXPECT_EQ(database.connection().lookup(std::string("SELECT ACNT_AMT FROM PROVIDER WHERE PROVIDER_ID = 'P1'")), "0");
    EXPECT_EQ(database.connection().lookup(std::string("SELECT ACNT_AMT FROM PROVIDER WHERE PROVIDER_ID = 'P2'")),
              "15");
    EXPECT_TRUE(shown.isEmpty()) << shown.join(QLatin1Char('|')).toStdString();
}

TEST_F(MainWindowTest, FirstStartWithoutBillIniUsesDefaultsAndCloseWritesThem)
{
    open();
    auto* bankPath = find<QLineEdit>("bsSkinEdit15");
    ASSERT_NE(bankPath, nullptr);
    EXPECT_EQ(bankPath->text().toStdString(), platform::defaultBankFolder());
    EXPECT_EQ(find<ui::RadioGroup>("bsSkinRadioGroup13")->itemIndex(), 0);

    ASSERT_TRUE(window->close());
    const std::string ini = readFile(billIni());
    EXPECT_NE(ini.find("[FormPayAcc]"), std::string::npos);
    EXPECT_NE(ini.find("acc_check=1"), std::string::npos);
    EXPECT_NE(ini.find("BANK_PATH=" + platform::defaultBankFolder()), std::string::npos);
    EXPECT_NE(ini.find("bsSkinRadioGroup13=0"), std::string::npos);
}

TEST_F(MainWindowTest, SettingsAreReadAtShowAndWrittenBackAtCloseKeepingTheRestOfTheFile)
{
    struct Case {
        const char* stored;
        const char* written;
    };
    for (const Case& c : {Case{"yes", "acc_check=1"}, Case{"0", "acc_check=0"}, Case{"1", "acc_check=1"}}) {
        writeBillIni(std::string("; kept comment\r\n[Other]\r\nx=1\r\n[FormPayAcc]\r\nacc_check=") + c.stored +
                     "\r\nBANK_PATH=/srv/bank/\r\nbsSkinRadioGroup13=1\r\n");
        open();
        EXPECT_EQ(find<QLineEdit>("bsSkinEdit15")->text(), QStringLiteral("/srv/bank/"));
        EXPECT_EQ(find<ui::RadioGroup>("bsSkinRadioGroup13")->itemIndex(), 1);
        find<QLineEdit>("bsSkinEdit15")->setText(QStringLiteral("/srv/其他/"));
        ASSERT_TRUE(window->close());
        const std::string ini = readFile(billIni());
        EXPECT_NE(ini.find(c.written), std::string::npos) << c.stored;
        EXPECT_NE(ini.find("BANK_PATH=" + text::big5("/srv/其他/") + "\r\n"), std::string::npos);
        EXPECT_EQ(ini.rfind("; kept comment\r\n[Other]\r\nx=1\r\n", 0), 0u) << ini;
        window.reset();
    }
}

TEST_F(MainWindowTest, ABankPathAnAdministratorWroteInUtf8IsReadAndStoredBackInBig5)
{
    writeBillIni("[FormPayAcc]\r\nacc_check=1\r\nBANK_PATH=/srv/銀行檔案/\r\nbsSkinRadioGroup13=0\r\n");
    open();
    EXPECT_EQ(find<QLineEdit>("bsSkinEdit15")->text(), QStringLiteral("/srv/銀行檔案/"));
    ASSERT_EQ(shown.size(), 1) << "said once what was wrong";
    EXPECT_TRUE(shown[0].contains(QStringLiteral("BANK_PATH"))) << shown[0].toStdString();
    EXPECT_FALSE(shown[0].startsWith(QStringLiteral("error:")));

    ASSERT_TRUE(window->close()) << shown.join(QLatin1Char('|')).toStdString();
    EXPECT_NE(readFile(billIni()).find("BANK_PATH=" + text::big5("/srv/銀行檔案/") + "\r\n"), std::string::npos);
}

TEST_F(MainWindowTest, AnUnreadableBankPathNeverKeepsTheClerkFromClosing)
{
    const std::string unreadable = "BANK_PATH=/srv/\xFF\x80x/";
    writeBillIni("[FormPayAcc]\r\n" + unreadable + "\r\nbsSkinRadioGroup13=1\r\n");
    open();
    ASSERT_EQ(shown.size(), 1) << shown.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(shown[0].contains(QStringLiteral("BANK_PATH"))) << shown[0].toStdString();
    EXPECT_TRUE(find<QLineEdit>("bsSkinEdit15")->text().startsWith(QStringLiteral("/srv/")));

    shown.clear();
    find<ui::RadioGroup>("bsSkinRadioGroup13")->setItemIndex(0);
    ASSERT_TRUE(window->close()) << shown.join(QLatin1Char('|')).toStdString();
    const std::string ini = readFile(billIni());
    EXPECT_NE(ini.find(unreadable + "\r\n"), std::string::npos) << "the stored path is kept as it was";
    EXPECT_NE(ini.find("bsSkinRadioGroup13=0"), std::string::npos) << "the other settings are written";
    ASSERT_EQ(shown.size(), 1);
    EXPECT_FALSE(shown[0].startsWith(QStringLiteral("error:")));
}

TEST_F(MainWindowTest, AnInvalidStoredOptionIsReportedAndSkipsTheRemainingShowSteps)
{
    writeBillIni("[FormPayAcc]\r\nbsSkinRadioGroup13=x\r\n");
    open();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0], QStringLiteral("error: 'x' is not a valid integer value"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(find<QComboBox>("bsSkinComboBox11")->count(), 0);
    EXPECT_TRUE(window->context().reportTitle.empty());
}

TEST_F(MainWindowTest, AnUnwritableBillIniStopsTheCloseAndKeepsTheWindowOpen)
{
    open();
    // A folder in Bill.ini's place cannot be written as a file, not even by root.
    std::filesystem::create_directory(billIni());
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].toStdString(), "error: Unable to write to " + billIni());
}

TEST_F(MainWindowTest, ClosingDropsTheWorkTables)
{
    open();
    work::WorkTables& tables = window->workTables();
    tables.names().tableA = "TMP_A000000_X";
    database.connection().execute(std::string("CREATE TABLE TMP_A000000_X (X INTEGER)"));
    ASSERT_TRUE(window->close());
    EXPECT_TRUE(database.connection()
                    .query(std::string("SELECT 1 FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'TMP_A000000_X'"))
                    .isEmpty());
}

TEST_F(MainWindowTest, F1ShowsAndHidesBothClearButtonsTogether)
{
    open();
    activate();
    auto* remittanceClear = find<QWidget>("BitBtn1");
    auto* chequeClear = find<QWidget>("BitBtn2");
    ASSERT_NE(remittanceClear, nullptr);
    ASSERT_NE(chequeClear, nullptr);
    EXPECT_TRUE(remittanceClear->isHidden());
    EXPECT_TRUE(chequeClear->isHidden());

    // The focus is always on some control when the clerk presses F1: an edit, a date edit,
    // a combo box, a button, the grid. The key reaches the window only through it.
    for (const char* focused : {"bsSkinEdit15", "bsSkinDateEdit11", "bsSkinComboBox11", "bsSkinButton6", "wwDBGrid1"}) {
        SCOPED_TRACE(focused);
        focusOn(focused);
        pressKey(Qt::Key_F1);
        EXPECT_FALSE(remittanceClear->isHidden());
        EXPECT_FALSE(chequeClear->isHidden());
        pressKey(Qt::Key_F1);
        EXPECT_TRUE(remittanceClear->isHidden());
        EXPECT_TRUE(chequeClear->isHidden());
    }

    // The cheque button follows the remittance one rather than toggling on its own.
    focusOn("bsSkinEdit15");
    chequeClear->setVisible(true);
    pressKey(Qt::Key_F1);
    EXPECT_FALSE(remittanceClear->isHidden());
    EXPECT_FALSE(chequeClear->isHidden());
}

TEST_F(MainWindowTest, TypingIntoAComboBoxNeverAddsAnEntry)
{
    open();
    activate();
    const std::pair<int, const char*> combos[] = {
        {0, "bsSkinComboBox11"}, {0, "bsSkinComboBox12"}, {1, "bsSkinComboBox21"}, {2, "bsSkinComboBox32"}};
    for (const auto& [page, name] : combos) {
        SCOPED_TRACE(name);
        window->pages()->setCurrentIndex(page);
        auto* combo = find<QComboBox>(name);
        const int entries = combo->count();
        focusOn(name);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("9"));
        pressKey(Qt::Key_Return);
        EXPECT_EQ(combo->count(), entries);
        EXPECT_EQ(combo->currentText(), QStringLiteral("9")) << "the typed key stays the condition";
    }
}

TEST_F(MainWindowTest, QtsOwnDialogsSpeakChinese)
{
    QTranslator* translator = ui::installQtTranslations(*qApp);
    ASSERT_NE(translator, nullptr) << "Qt's Traditional Chinese translations are not installed";
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    const QString ok = box.button(QMessageBox::Ok)->text();
    const QString cancel = box.button(QMessageBox::Cancel)->text();
    QCoreApplication::removeTranslator(translator);
    delete translator;
    QLocale::setDefault(QLocale::system());
    EXPECT_TRUE(ok.contains(QStringLiteral("確定"))) << ok.toStdString();
    EXPECT_TRUE(cancel.contains(QStringLiteral("取消"))) << cancel.toStdString();
}

TEST_F(MainWindowTest, EnterMovesToTheNextControlAndEscBack)
{
    open();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    auto* bankPath = find<QLineEdit>("bsSkinEdit15");
    ASSERT_NE(bankPath, nullptr);

    bankPath->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), bankPath);
    QTest::keyClick(bankPath, Qt::Key_Return);
    QWidget* next = QApplication::focusWidget();
    EXPECT_NE(next, bankPath);

    bankPath->setFocus();
    QTest::keyClick(bankPath, Qt::Key_Escape);
    QWidget* previous = QApplication::focusWidget();
    EXPECT_NE(previous, bankPath);
    EXPECT_NE(previous, next);
}

} // namespace
