// The desk's log through the real window: a press, the statements it ran with their times,
// the run it journalled, and the error the clerk saw with its cause (the report library's
// loader saying why it could not load), in desk.log beside Bill.ini.
#include "app/desk_log.h"
#include "text/big5.h"
#include "ui/date_edit.h"
#include "window_fixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using testing_support::WindowFixture;

namespace {

class DeskLogTest : public ::testing::Test, protected WindowFixture {
protected:
    void exec(const std::string& utf8) { database.connection().execute(text::big5(utf8)); }
    std::string logContents() const
    {
        std::ifstream in(exeFolder.path() + "desk.log");
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }
    testing_support::TempFolder bankFolder;
};

TEST_F(DeskLogTest, APressItsStatementsItsRunAndTheErrorWithItsCauseAreLogged)
{
    exec("INSERT INTO BANK_ACCOUNT (ACNT_ID, ACNT_NAME, BANK_ID, BANK_NAME, ACNT_NO, EXPORT_FILE, CON_PEOPLE) "
         "VALUES ('A1', '總公司', '0160002', '付款銀行', '998877', 'ABC-DEF', 'CONTACT')");
    exec("INSERT INTO PROVIDER (PROVIDER_ID, PROVIDER_NAME, BANK_ID, BANK_NAME, BANK_TITLE, BANK_ACCID, ACNT_AMT) "
         "VALUES ('P1', '甲商行', '0170001', '台灣銀行', '甲商行', '00123456789', 30)");
    exec("INSERT INTO PAY_MASTER (MASTERBILLID, BILL_DATE, PAY_DATE, PROVIDER_ID, PROVIDER_NAME, ACNT_ID, BANK_IO) "
         "VALUES ('B1', '2024/01/05', '2024/01/10', 'P1', 'x', 'A1', 1000)");
    const app::DeskLog log(exeFolder.path());
    open();
    find<ui::DateEdit>("bsSkinDateEdit11")->setText(QStringLiteral("2024/01/01"));
    find<ui::DateEdit>("bsSkinDateEdit12")->setText(QStringLiteral("2024/01/31"));
    find<ui::DateEdit>("bsSkinDateEdit13")->setText(QStringLiteral("2024/02/01"));
    find<QComboBox>("bsSkinComboBox11")->setCurrentIndex(0);
    find<QLineEdit>("bsSkinEdit15")->setText(QString::fromStdString(bankFolder.path()));
    find<QPushButton>("bsSkinButton6")->click(); // 條件確認
    find<QPushButton>("bsSkinButton8")->click(); // 全部匯款: stamps, then no report library to print with

    // The clerk sees the loader's own reason beneath the message.
    ASSERT_FALSE(shown.isEmpty());
    const QString error = shown.last();
    EXPECT_TRUE(error.startsWith(QStringLiteral("error: Unable to Load DLL\n"))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("Vistrel.DLL"))) << error.toStdString();

    const std::string logged = logContents();
    for (const char* expected :
         {" info desk.app: press bsSkinButton6 (", " info desk.app: press bsSkinButton8 (",
          " info desk.db: ", " ms: INSERT INTO PAY_RUN_BILL", " ms: COMMIT", " info desk.journal: run ",
          " info desk.remittance: remit run ", " error desk.ui: error shown: Unable to Load DLL "})
        EXPECT_NE(logged.find(expected), std::string::npos) << expected << "\n" << logged.substr(0, 3000);
    // One line an entry, each with its time; the error's line carries its cause.
    std::istringstream lines(logged);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_TRUE(line.size() > 24 && line[4] == '-' && line[13] == ':') << line;
        if (line.find("error shown: Unable to Load DLL") != std::string::npos) {
            EXPECT_NE(line.find("Vistrel.DLL"), std::string::npos) << line;
        }
    }
}

} // namespace
