// The cheque tab through the real window on the offscreen platform: its controls as the clerk
// first sees them, and a whole run from the condition confirm through a tick and the issuing
// press to the print and the emptied grid.
#include "app/cheque_page.h"
#include "support/held_rows.h"
#include "support/report_capture.h"
#include "text/big5.h"
#include "ui/data_grid.h"
#include "ui/date_edit.h"
#include "ui/radio_group.h"
#include "window_fixture.h"
#include "work/press_transaction.h"

#include <QComboBox>
#include <QDate>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

using testing_support::WindowFixture;

namespace {

class ChequePageTest : public ::testing::Test, protected WindowFixture {
protected:
    void SetUp() override
    {
        exec("INSERT INTO PUB_PARAM (REP_TITLE) VALUES ('大統百貨股份有限公司')");
        exec("INSERT INTO BANK_ACCOUNT (ACNT_ID, ACNT_NAME) VALUES ('01', '一銀總行')");
        exec("INSERT INTO BANK_ACCOUNT (ACNT_ID, ACNT_NAME) VALUES ('02', '台銀中山')");
        addCheque("C1", "P02", "01", "2024/05/10");
        addCheque("C2", "P01", "01", "2024/05/11");
        addCheque("C3", "P03", "02", "2024/05/12"); // another account
        exec("INSERT INTO PAY_MASTER (MASTERBILLID, PAGE_ID) VALUES ('B1', 'C1')");
        exec("INSERT INTO PAY_MASTER (MASTERBILLID, PAGE_ID) VALUES ('B2', 'C2')");
        testing_support::installFakeReportLibrary(exeFolder.path());
    }

    void exec(const std::string& utf8) { database.connection().execute(text::big5(utf8)); }

    void addCheque(const std::string& id, const std::string& provider, const std::string& account,
                   const std::string& rcvDate)
    {
        exec("INSERT INTO CHKPAY (ID, RCVDATE, EXPDATE, PROVIDER_ID, PROVIDER_NAME, CHKTITLE, ACNT_ID, ACNT_NO, "
             "CURRAMT) VALUES ('" +
             id + "', '" + rcvDate + "', '2016/02/29', '" + provider + "', '廠商" + provider + "', '抬頭" + id +
             "', '" + account + "', '77" + account + "', 1500)");
    }

    std::string bankDate(const std::string& bill)
    {
        return database.connection().lookup("SELECT BANK_DATE FROM PAY_MASTER WHERE MASTERBILLID = '" + bill + "'");
    }

    ui::DataGrid* grid() const { return find<ui::DataGrid>("wwDBGrid2"); }
    db::RecordSet& records() const { return window->findChild<app::ChequePage*>()->gridRecords(); }
    void press(const char* button) const { find<QPushButton>(button)->click(); }

    // The cheques issued in May 2024, of every account.
    void listMay()
    {
        window->pages()->setCurrentIndex(1);
        find<ui::RadioGroup>("bsSkinRadioGroup21")->setItemIndex(1);
        find<ui::DateEdit>("bsSkinDateEdit21")->setText(QStringLiteral("2024/05/01"));
        find<ui::DateEdit>("bsSkinDateEdit22")->setText(QStringLiteral("2024/05/31"));
        press("bsSkinButton10");
    }

    // The text the grid shows in a column, by its title.
    QString cell(int row, const QString& title) const
    {
        for (int c = 0; c < grid()->model()->columnCount(); ++c)
            if (grid()->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString() == title)
                return grid()->model()->data(grid()->model()->index(row, c), Qt::DisplayRole).toString();
        return QStringLiteral("<no column %1>").arg(title);
    }

    std::vector<std::string> printedIds(std::size_t report) const
    {
        std::vector<std::string> ids;
        const auto reports = testing_support::handedReports(exeFolder.path());
        const db::RecordSet& data = reports.at(report).data;
        for (std::size_t row = 0; row < data.rowCount(); ++row)
            ids.push_back(data.text(row, "ID"));
        return ids;
    }
};

TEST_F(ChequePageTest, ControlsStartAsTheClerkExpects)
{
    open();
    const struct {
        const char* name;
        QStringList items;
    } groups[] = {
        {"bsSkinRadioGroup21", {QStringLiteral("到期日期"), QStringLiteral("開票日期"), QStringLiteral("預兌日期")}},
        {"bsSkinRadioGroup22", {QStringLiteral("格式一"), QStringLiteral("格式二"), QStringLiteral("格式三")}},
        {"bsSkinRadioGroup23", {QStringLiteral("支票號碼"), QStringLiteral("廠商編號")}},
    };
    for (const auto& g : groups) {
        auto* group = find<ui::RadioGroup>(g.name);
        ASSERT_NE(group, nullptr) << g.name;
        QStringList items;
        for (int i = 0; i < group->count(); ++i)
            items << group->itemText(i);
        EXPECT_EQ(items, g.items) << g.name;
        EXPECT_EQ(group->itemIndex(), 0) << g.name;
    }
    EXPECT_EQ(find<ui::RadioGroup>("bsSkinRadioGroup21")->title(), QStringLiteral("報表選項"));
    EXPECT_EQ(find<ui::RadioGroup>("bsSkinRadioGroup22")->title(), QStringLiteral("報表格式"));
    EXPECT_EQ(find<ui::RadioGroup>("bsSkinRadioGroup23")->title(), QStringLiteral("排序"));

    const std::pair<const char*, QString> buttons[] = {
        {"bsSkinButton10", QStringLiteral("條件確認")}, {"bsSkinButton13", QStringLiteral("選擇性開票")},
        {"bsSkinButton12", QStringLiteral("全部開票")}, {"bsSkinButton11", QStringLiteral("離開")},
        {"BitBtn2", QStringLiteral("匯款日清空")},      {"SpeedButton5", QStringLiteral("產生報表")},
    };
    for (const auto& [name, caption] : buttons) {
        auto* button = find<QPushButton>(name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(button->text(), caption) << name;
    }
    for (const char* hidden : {"BitBtn2", "SpeedButton5", "bsSkinDateEdit23", "bsSkinComboBox22"})
        EXPECT_TRUE(find<QWidget>(hidden)->isHidden()) << hidden;

    const QString today = QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd"));
    for (const char* edit : {"bsSkinDateEdit21", "bsSkinDateEdit22", "bsSkinDateEdit23"})
        EXPECT_EQ(find<ui::DateEdit>(edit)->text(), today) << edit;
    // The window fills both account lists and leaves them without a choice.
    auto* accounts = find<QComboBox>("bsSkinComboBox21");
    EXPECT_EQ(accounts->count(), 2);
    EXPECT_TRUE(accounts->currentText().isEmpty());
    EXPECT_TRUE(accounts->isEditable());
    EXPECT_NE(find<QProgressBar>("bsSkinGauge21"), nullptr);
    EXPECT_NE(find<QPlainTextEdit>("bsSkinMemo21"), nullptr);
}

TEST_F(ChequePageTest, WholeRunListsTicksIssuesAndPrints)
{
    open();
    window->pages()->setCurrentIndex(1);
    find<ui::RadioGroup>("bsSkinRadioGroup21")->setItemIndex(1); // the range applies to the issue date
    find<ui::DateEdit>("bsSkinDateEdit21")->setText(QStringLiteral("2024/05/01"));
    find<ui::DateEdit>("bsSkinDateEdit22")->setText(QStringLiteral("2024/05/31"));
    find<QComboBox>("bsSkinComboBox21")->setCurrentIndex(0); // "01,一銀總行"
    press("bsSkinButton10");

    ASSERT_TRUE(shown.isEmpty()) << shown.join(QStringLiteral(" | ")).toStdString();
    ASSERT_EQ(grid()->model()->rowCount(), 2);
    EXPECT_EQ(records().text(0, "ID"), "C1");
    EXPECT_EQ(records().text(1, "ID"), "C2");
    EXPECT_EQ(records().text(1, "YMD"), "105/02/29");
    EXPECT_TRUE(find<QPlainTextEdit>("bsSkinMemo21")->toPlainText().endsWith(QStringLiteral("CAST6 .....2")));
    QStringList titles;
    for (int c = 0; c < grid()->model()->columnCount(); ++c)
        titles << grid()->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    EXPECT_EQ(titles, (QStringList{QStringLiteral("選擇"), QStringLiteral("支票號碼"), QStringLiteral("廠商編號"),
                                   QStringLiteral("廠商名稱"), QStringLiteral("支票抬頭"), QStringLiteral("支票到期日"),
                                   QStringLiteral("支票金額"), QStringLiteral("開立帳號"), QStringLiteral("開票日期"),
                                   QStringLiteral("已開票")}));

    // One click on the check cell of the second row ticks it.
    const QModelIndex check = grid()->model()->index(1, 0);
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, grid()->visualRect(check).center());
    EXPECT_EQ(records().text(1, "CHKED"), "Y");
    EXPECT_NE(records().text(0, "CHKED"), "Y");

    find<ui::RadioGroup>("bsSkinRadioGroup22")->setItemIndex(2);
    find<ui::RadioGroup>("bsSkinRadioGroup23")->setItemIndex(1);
    press("bsSkinButton13");

    ASSERT_TRUE(shown.isEmpty()) << shown.join(QStringLiteral(" | ")).toStdString();
    const std::string issueDate = text::big5(find<ui::DateEdit>("bsSkinDateEdit23")->text().toStdString());
    EXPECT_EQ(bankDate("B2"), issueDate);
    EXPECT_EQ(bankDate("B1"), "");

    const auto reports = testing_support::handedReports(exeFolder.path());
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].templatePath, exeFolder.path() + "rtm/Tolvane_22.rtm");
    ASSERT_EQ(reports[0].data.rowCount(), 1u);
    EXPECT_EQ(reports[0].data.text(0, "ID"), "C2");
    EXPECT_EQ(reports[0].data.text(0, "CHKTITLE"), text::big5("抬頭C2"));
    EXPECT_EQ(reports[0].header.text(0, "Field12"), text::big5("大統百貨股份有限公司"));
    EXPECT_EQ(reports[0].header.text(0, "Field16"), text::big5("萬"));

    // The print ended the run: the grid is empty, and a further press asks for a new confirm.
    EXPECT_EQ(grid()->model()->rowCount(), 0);
    EXPECT_FALSE(records().isOpen());
    press("bsSkinButton12");
    EXPECT_EQ(shown, QStringList{QStringLiteral("請重新 條件確認...... ")});
    EXPECT_EQ(testing_support::handedReports(exeFolder.path()).size(), 1u);
}

TEST_F(ChequePageTest, AChequeWithCentsIsPointedOutBeforeItIsPrinted)
{
    exec("UPDATE CHKPAY SET CURRAMT = 244502.5 WHERE ID = 'C2'");
    exec("UPDATE CHKPAY SET CURRAMT = 148283 WHERE ID = 'C1'");
    open();
    window->pages()->setCurrentIndex(1);
    find<ui::RadioGroup>("bsSkinRadioGroup21")->setItemIndex(1);
    find<ui::DateEdit>("bsSkinDateEdit21")->setText(QStringLiteral("2024/05/01"));
    find<ui::DateEdit>("bsSkinDateEdit22")->setText(QStringLiteral("2024/05/31"));
    find<QComboBox>("bsSkinComboBox21")->setCurrentIndex(0);
    press("bsSkinButton10");

    // The grid shows what the cheque prints, and the clerk is told which cheque has cents.
    ASSERT_EQ(grid()->model()->rowCount(), 2);
    EXPECT_EQ(grid()->model()->index(0, 6).data().toString(), QStringLiteral("148,283"));
    EXPECT_EQ(grid()->model()->index(1, 6).data().toString(), QStringLiteral("244,503"));
    EXPECT_TRUE(grid()->model()->index(1, 6).data(Qt::BackgroundRole).isValid());
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains(QStringLiteral("C2  244,502.50 → NT$ 244,503"))) << shown[0].toStdString();
    EXPECT_FALSE(shown[0].contains(QStringLiteral("C1")));
    EXPECT_EQ(testing_support::handedReports(exeFolder.path()).size(), 0u) << "told before anything is printed";
}

TEST_F(ChequePageTest, MissingLibraryIsReportedAndTheGridStillEmpties)
{
    std::remove((exeFolder.path() + "Vistrel.DLL").c_str());
    open();
    window->pages()->setCurrentIndex(1);
    find<ui::RadioGroup>("bsSkinRadioGroup21")->setItemIndex(1);
    find<ui::DateEdit>("bsSkinDateEdit21")->setText(QStringLiteral("2024/05/01"));
    find<ui::DateEdit>("bsSkinDateEdit22")->setText(QStringLiteral("2024/05/31"));
    press("bsSkinButton10");
    ASSERT_EQ(grid()->model()->rowCount(), 3);
    press("bsSkinButton12");
    ASSERT_EQ(shown.size(), 1);
    // The issue stands: the error says so, and that the list is gone.
    EXPECT_TRUE(shown[0].startsWith(QStringLiteral("error: Unable to Load DLL\n"))) << shown[0].toStdString();
    EXPECT_TRUE(shown[0].contains(QStringLiteral("3 張支票已開票"))) << shown[0].toStdString();
    EXPECT_EQ(grid()->model()->rowCount(), 0);
    EXPECT_EQ(bankDate("B1"), text::big5(find<ui::DateEdit>("bsSkinDateEdit23")->text().toStdString()));
}

// The report hand-over fails ("Unable to write" to rpttemp.ini) after the stamps committed.
// The clerk fixes the cause and presses again: nothing is issued a second time, and the print
// carries each cheque once.
TEST_F(ChequePageTest, PressAgainAfterAFailedHandOverPrintsEachChequeOnceAndIssuesNothingAgain)
{
    open();
    listMay();
    ASSERT_EQ(grid()->model()->rowCount(), 3);
    const std::string handOver = exeFolder.path() + "rpttemp.ini";
    std::filesystem::create_directory(handOver);
    press("bsSkinButton12");
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith(QStringLiteral("error: Unable to write to "))) << shown[0].toStdString();
    const std::string firstIssue = bankDate("B1");
    EXPECT_FALSE(firstIssue.empty());
    EXPECT_TRUE(testing_support::handedReports(exeFolder.path()).empty());

    std::filesystem::remove(handOver);
    find<ui::DateEdit>("bsSkinDateEdit23")->setText(QStringLiteral("2030/01/02"));
    shown.clear();
    press("bsSkinButton12");
    EXPECT_EQ(bankDate("B1"), firstIssue);
    EXPECT_EQ(bankDate("B2"), firstIssue);
    ASSERT_EQ(testing_support::handedReports(exeFolder.path()).size(), 1u);
    EXPECT_EQ(printedIds(0), (std::vector<std::string>{"C1", "C2", "C3"}));
    EXPECT_EQ(grid()->model()->rowCount(), 0); // the print ended the run
}

// Another workstation's press holds a listed cheque's bill: the press waits a few seconds at
// most, then says so and changes nothing.
TEST_F(ChequePageTest, PressMeetingAnotherWorkstationsLockStopsWithinTheBoundAndChangesNothing)
{
    open();
    listMay();
    ASSERT_EQ(grid()->model()->rowCount(), 3);
    std::chrono::steady_clock::duration waited{};
    {
        testing_support::HeldRows otherPress(database, "UPDATE PAY_MASTER SET BANK_DATE = '2024/06/06' "
                                                       "WHERE MASTERBILLID = 'B2'");
        const auto start = std::chrono::steady_clock::now();
        press("bsSkinButton12");
        waited = std::chrono::steady_clock::now() - start;
    }
    EXPECT_LT(waited, std::chrono::seconds(work::kPressLockWaitSeconds + 4));
    EXPECT_EQ(shown, QStringList{QStringLiteral("error: ") + QString::fromUtf8(work::kBillsHeldElsewhere)});
    EXPECT_EQ(bankDate("B1"), "");
    EXPECT_EQ(bankDate("B2"), "");
    EXPECT_TRUE(testing_support::handedReports(exeFolder.path()).empty());
    // The list stays for another press once the other workstation is done.
    EXPECT_EQ(grid()->model()->rowCount(), 3);
    shown.clear();
    press("bsSkinButton12");
    EXPECT_TRUE(shown.isEmpty()) << shown.join(QStringLiteral(" | ")).toStdString();
    EXPECT_FALSE(bankDate("B2").empty());
}

// The list shows which cheques are issued, and a press on them asks first, naming them.
TEST_F(ChequePageTest, ListShowsIssuedChequesAndAPressOnThemAsksFirst)
{
    exec("UPDATE PAY_MASTER SET BANK_DATE = '2024/06/01' WHERE MASTERBILLID = 'B2'");
    open();
    listMay();
    ASSERT_EQ(grid()->model()->rowCount(), 3);
    EXPECT_EQ(cell(0, QStringLiteral("已開票")), QString());
    EXPECT_EQ(cell(1, QStringLiteral("已開票")), QStringLiteral("2024/06/01"));
    EXPECT_EQ(cell(1, QStringLiteral("支票號碼")), QStringLiteral("C2"));
    // The issued row looks different from the others.
    const auto background = [this](int row) {
        return grid()->model()->data(grid()->model()->index(row, 1), Qt::BackgroundRole);
    };
    EXPECT_TRUE(background(1).isValid());
    EXPECT_FALSE(background(0).isValid());
    EXPECT_NE(background(1), background(0));

    // "No" (the default): C2 is left out, the others issue.
    press("bsSkinButton12");
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith(QStringLiteral("question: ")));
    EXPECT_TRUE(shown[0].contains(QStringLiteral("C2（開票日 2024/06/01）"))) << shown[0].toStdString();
    EXPECT_EQ(bankDate("B2"), "2024/06/01");
    EXPECT_FALSE(bankDate("B1").empty());
    EXPECT_EQ(printedIds(0), (std::vector<std::string>{"C1", "C3"}));
}

} // namespace

// Esc on the focused control while the cheque list runs stops it as on the other tabs: no work
// table or view stays, the grid is empty and says why, and the next list runs as always.
TEST_F(ChequePageTest, EscDuringTheConditionConfirmCancelsItWithoutATrace)
{
    open();
    activate();
    const QStringList before = userRelations();
    window->pages()->setCurrentIndex(1);
    find<ui::RadioGroup>("bsSkinRadioGroup21")->setItemIndex(1);
    find<ui::DateEdit>("bsSkinDateEdit21")->setText(QStringLiteral("2024/05/01"));
    find<ui::DateEdit>("bsSkinDateEdit22")->setText(QStringLiteral("2024/05/31"));
    focusOn("bsSkinDateEdit22");
    pressKeyDuringNextRun(Qt::Key_Escape);
    press("bsSkinButton10");

    EXPECT_EQ(userRelations(), before);
    EXPECT_EQ(records().rowCount(), 0u);
    EXPECT_EQ(grid()->model()->rowCount(), 0);
    EXPECT_TRUE(find<QPlainTextEdit>("bsSkinMemo21")->toPlainText().endsWith(QStringLiteral("作業已取消")));
    ASSERT_EQ(shown.size(), 1) << shown.join(QStringLiteral("|")).toStdString();
    EXPECT_TRUE(shown[0].startsWith(QStringLiteral("作業已取消")));

    shown.clear();
    listMay();
    EXPECT_EQ(records().rowCount(), 3u) << shown.join(QStringLiteral("|")).toStdString();
}
