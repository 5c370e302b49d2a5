#include "window_fixture.h"

#include "app/inquiry_page.h"
#include "app/lookup_dialog.h"
#include "support/report_capture.h"
#include "text/big5.h"
#include "ui/data_grid.h"
#include "ui/date_edit.h"
#include "ui/radio_group.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <gtest/gtest.h>

using testing_support::WindowFixture;

namespace {

class InquiryPageTest : public ::testing::Test, protected WindowFixture {
protected:
    void SetUp() override
    {
        db::Connection& c = database.connection();
        c.execute("INSERT INTO PUB_PARAM (REP_TITLE) VALUES (" + db::quote(text::big5("大統百貨股份有限公司")) + ")");
        c.execute("INSERT INTO SLAVE_ITEM (STORE_ID, STORE_NAME) VALUES ('01', " + db::quote(text::big5("台北店")) +
                  ")");
        c.execute("INSERT INTO BANK_ACCOUNT (ACNT_ID, ACNT_NAME, BANK_ID) VALUES ('A1', 'Own', '0123456')");
        c.execute("INSERT INTO PROVIDER (PROVIDER_ID, PROVIDER_NAME, ACNT_AMT) VALUES ('P01', " +
                  db::quote(text::big5("甲廠商")) + ", 10)");
        c.execute("INSERT INTO PROVIDER (PROVIDER_ID, PROVIDER_NAME, ACNT_AMT) VALUES ('P02', " +
                  db::quote(text::big5("乙廠商")) + ", 20)");
        c.execute(
            "INSERT INTO PAY_MASTER (MASTERBILLID, BILL_DATE, PAY_DATE, PROVIDER_ID, PROVIDER_NAME, ACNT_ID,"
            " CASH_AMT, BANK_IO, PAGE_AMT) VALUES ('B1', '2026/01/05', '2026/01/05', 'P01', 'x', 'A1', 10, 200, 0)");
        testing_support::installFakeReportLibrary(exeFolder.path());
        open();
        window->pages()->setCurrentIndex(2);
        find<ui::DateEdit>("bsSkinDateEdit31")->setText(QStringLiteral("2026/01/01"));
        find<ui::DateEdit>("bsSkinDateEdit32")->setText(QStringLiteral("2026/01/31"));
        shown.clear();
    }
    int gridRows() const { return find<ui::DataGrid>("wwDBGrid3")->model()->rowCount(); }
    void leaveProviderEdit()
    {
        QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(find<QLineEdit>("bsSkinEdit5"), &leave);
    }
};

TEST_F(InquiryPageTest, ControlsAsTheTabListsThem)
{
    struct Group {
        const char* name;
        QString title;
        QStringList items;
        int index;
    };
    const Group groups[] = {
        {"bsSkinRadioGroup32",
         QStringLiteral("報表選項"),
         {QStringLiteral("未 處 理"), QStringLiteral("已 處 理"), QStringLiteral("不分處理")},
         2},
        {"bsSkinRadioGroup33",
         QStringLiteral("條件選項"),
         {QStringLiteral("全部"), QStringLiteral("匯款"), QStringLiteral("支票"), QStringLiteral("現金"),
          QStringLiteral("匯款傳真")},
         0},
        {"bsSkinRadioGroup31",
         QStringLiteral("報表選項"),
         {QStringLiteral("付款日期"), QStringLiteral("沖帳日期"), QStringLiteral("單據區間")},
         0},
        {"bsSkinRadioGroup34", QStringLiteral("報表選項"), {QStringLiteral("明細報表"), QStringLiteral("廠商統計")}, 0},
        {"bsSkinRadioGroup35", QStringLiteral("報表選項"), {QStringLiteral("本店資料"), QStringLiteral("聯合資料")}, 0},
    };
    for (const Group& g : groups) {
        auto* group = find<ui::RadioGroup>(g.name);
        ASSERT_NE(group, nullptr) << g.name;
        EXPECT_EQ(group->title(), g.title) << g.name;
        EXPECT_EQ(group->itemIndex(), g.index) << g.name;
        QStringList items;
        for (int i = 0; i < group->count(); ++i)
            items << group->itemText(i);
        EXPECT_EQ(items, g.items) << g.name;
    }
    const std::pair<const char*, QString> buttons[] = {
        {"bsSkinButton14", QStringLiteral("條件確認")}, {"bsSkinButton16", QStringLiteral("資料印表")},
        {"bsSkinButton15", QStringLiteral("離開")},     {"SpeedButton8", QStringLiteral("本")},
        {"SpeedButton9", QStringLiteral("聯")},         {"SpeedButton6", QStringLiteral("0-1")},
        {"SpeedButton7", QStringLiteral("2")},          {"SpeedButton10", QStringLiteral("3")},
    };
    for (const auto& [name, caption] : buttons) {
        ASSERT_NE(find<QPushButton>(name), nullptr) << name;
        EXPECT_EQ(find<QPushButton>(name)->text(), caption) << name;
    }
    EXPECT_FALSE(find<QPushButton>("SpeedButton8")->isVisible());
    EXPECT_TRUE(find<QLineEdit>("bsSkinEdit1")->text().isEmpty());
    EXPECT_TRUE(find<QLineEdit>("bsSkinEdit6")->isReadOnly());
    EXPECT_NE(find<QComboBox>("bsSkinComboBox32"), nullptr);
    EXPECT_EQ(find<QProgressBar>("bsSkinGauge31")->height(), 20);
    EXPECT_EQ(find<QPlainTextEdit>("bsSkinMemo31")->height(), 64);
    auto* model = find<ui::DataGrid>("wwDBGrid3")->model();
    EXPECT_EQ(model->rowCount(), 0);
}

TEST_F(InquiryPageTest, ConfirmShowsTheRowsAndPrintEndsTheInquiry)
{
    find<QPushButton>("bsSkinButton14")->click();
    EXPECT_TRUE(shown.isEmpty()) << shown.join(QStringLiteral("|")).toStdString();
    ASSERT_EQ(gridRows(), 2);
    auto* model = find<ui::DataGrid>("wwDBGrid3")->model();
    QStringList titles;
    for (int c = 0; c < model->columnCount(); ++c)
        titles << model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    EXPECT_EQ(titles,
              (QStringList{QStringLiteral("付款日期"), QStringLiteral("付款別"), QStringLiteral("廠商編號"),
                           QStringLiteral("廠商名稱"), QStringLiteral("匯款金額"), QStringLiteral("處理日期"),
                           QStringLiteral("支付現金"), QStringLiteral("票據到期日"), QStringLiteral("支付票據")}));
    EXPECT_EQ(model->index(0, 1).data().toString(), QStringLiteral("現金"));
    EXPECT_EQ(model->index(1, 4).data().toString(), QStringLiteral("190"));
    EXPECT_EQ(find<QProgressBar>("bsSkinGauge31")->value(), 7);
    EXPECT_TRUE(find<QPlainTextEdit>("bsSkinMemo31")->toPlainText().endsWith(QStringLiteral("CAST7 .....2")));

    find<QPushButton>("bsSkinButton16")->click();
    EXPECT_TRUE(shown.isEmpty()) << shown.join(QStringLiteral("|")).toStdString();
    const auto handed = testing_support::handedReports(exeFolder.path());
    ASSERT_EQ(handed.size(), 1u);
    EXPECT_EQ(handed[0].header.text(0, "Field16"), text::big5("大統百貨股份有限公司"));
    EXPECT_EQ(gridRows(), 0);

    // The tables went with the report: a second print reports the database's error.
    find<QPushButton>("bsSkinButton16")->click();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith(QStringLiteral("error: ")));
}

TEST_F(InquiryPageTest, EmptyBillRangeIsRefused)
{
    find<ui::RadioGroup>("bsSkinRadioGroup31")->setItemIndex(2);
    find<QPushButton>("bsSkinButton14")->click();
    EXPECT_EQ(shown, QStringList{QStringLiteral("[單據區間] 欄位不可空白.......")});
}

TEST_F(InquiryPageTest, LeavingTheProviderEditLooksTheNameUpAndKeepsItForUnknownCodes)
{
    auto* code = find<QLineEdit>("bsSkinEdit5");
    auto* name = find<QLineEdit>("bsSkinEdit6");
    code->setText(QStringLiteral("P02"));
    leaveProviderEdit();
    EXPECT_EQ(name->text(), QStringLiteral("乙廠商"));
    code->setText(QStringLiteral("NOPE"));
    leaveProviderEdit();
    EXPECT_EQ(name->text(), QStringLiteral("乙廠商"));
    code->clear();
    leaveProviderEdit();
    EXPECT_EQ(name->text(), QStringLiteral("乙廠商"));
    EXPECT_TRUE(shown.isEmpty());
}

// Answers the modal dialog once it is up: `act` runs on it, then the test carries on.
void whenDialogOpens(const std::function<void(app::LookupDialog&)>& act)
{
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<app::LookupDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* d = qobject_cast<app::LookupDialog*>(w); d && d->isVisible())
                    dialog = d;
        }
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
    });
}

TEST_F(InquiryPageTest, ProviderButtonFillsBothEditsFromTheChosenRow)
{
    whenDialogOpens([](app::LookupDialog& dialog) {
        dialog.findChild<QPushButton*>(QStringLiteral("NavNext"))->click();
        dialog.findChild<QPushButton*>(QStringLiteral("OkButton"))->click();
    });
    find<QLineEdit>("bsSkinEdit5")->findChild<QAction*>(QStringLiteral("bsSkinEdit5Button"))->trigger();
    EXPECT_EQ(find<QLineEdit>("bsSkinEdit5")->text(), QStringLiteral("P02"));
    EXPECT_EQ(find<QLineEdit>("bsSkinEdit6")->text(), QStringLiteral("乙廠商"));

    // A provider added meanwhile is not in the list read at the first use, but a search finds it.
    database.connection().execute("INSERT INTO PROVIDER (PROVIDER_ID, PROVIDER_NAME) VALUES ('P00', 'New')");
    whenDialogOpens([](app::LookupDialog& dialog) {
        EXPECT_EQ(dialog.currentText("PROVIDER_ID"), "P01");
        dialog.findChild<QComboBox*>(QStringLiteral("ComboBox1"))->setCurrentIndex(0);
        dialog.findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("P00"));
        dialog.findChild<QPushButton*>(QStringLiteral("SearchButton"))->click();
        dialog.findChild<QPushButton*>(QStringLiteral("OkButton"))->click();
    });
    find<QLineEdit>("bsSkinEdit5")->findChild<QAction*>(QStringLiteral("bsSkinEdit5Button"))->trigger();
    EXPECT_EQ(find<QLineEdit>("bsSkinEdit5")->text(), QStringLiteral("P00"));
    EXPECT_EQ(find<QLineEdit>("bsSkinEdit6")->text(), QStringLiteral("New"));
}

TEST_F(InquiryPageTest, F4OnTheProviderCodeOpensTheLookupAsAComboBoxOpensItsList)
{
    activate();
    focusOn("bsSkinEdit5");
    whenDialogOpens([](app::LookupDialog& dialog) {
        dialog.findChild<QPushButton*>(QStringLiteral("NavNext"))->click();
        dialog.findChild<QPushButton*>(QStringLiteral("OkButton"))->click();
    });
    pressKey(Qt::Key_F4);
    EXPECT_EQ(find<QLineEdit>("bsSkinEdit5")->text(), QStringLiteral("P02"));
    EXPECT_EQ(find<QLineEdit>("bsSkinEdit6")->text(), QStringLiteral("乙廠商"));
}

TEST_F(InquiryPageTest, CancellingTheDialogChangesNeitherEdit)
{
    find<QLineEdit>("bsSkinEdit5")->setText(QStringLiteral("P01"));
    find<QLineEdit>("bsSkinEdit6")->setText(QStringLiteral("甲廠商"));
    whenDialogOpens([](app::LookupDialog& dialog) {
        dialog.findChild<QPushButton*>(QStringLiteral("NavLast"))->click();
        dialog.findChild<QPushButton*>(QStringLiteral("CancelButton"))->click();
    });
    find<QLineEdit>("bsSkinEdit5")->findChild<QAction*>(QStringLiteral("bsSkinEdit5Button"))->trigger();
    EXPECT_EQ(find<QLineEdit>("bsSkinEdit5")->text(), QStringLiteral("P01"));
    EXPECT_EQ(find<QLineEdit>("bsSkinEdit6")->text(), QStringLiteral("甲廠商"));
}

} // namespace

// Esc on the focused control while an inquiry runs stops it, for the own store's book and the
// joint book alike: no work table or view of the run stays, the grid is empty and says why,
// and the next run lists as always.
TEST_F(InquiryPageTest, EscDuringEitherRunCancelsItWithoutATrace)
{
    database.connection().execute(
        "INSERT INTO PAY_MASTERU (SECBILLID, MASTERBILLID, STORE_ID, BILL_DATE, PAY_DATE, PROVIDER_ID, PROVIDER_NAME, "
        "ACNT_ID, CASH_AMT, BANK_IO, PAGE_AMT) VALUES ('U1', 'U1', '01', '2026/01/06', '2026/01/06', 'P02', 'y', 'A1', "
        "0, 300, 0)");
    activate();
    // A run starts by dropping the window's earlier work tables: after a cancel none is left.
    const QStringList before = userRelations();
    for (const auto& [selection, rowsWhenRun] : {std::pair{0, 2}, std::pair{1, 1}}) {
        SCOPED_TRACE(selection);
        find<ui::RadioGroup>("bsSkinRadioGroup35")->setItemIndex(selection);
        shown.clear();
        focusOn("bsSkinEdit1");
        pressKeyDuringNextRun(Qt::Key_Escape);
        find<QPushButton>("bsSkinButton14")->click();

        EXPECT_EQ(userRelations(), before);
        EXPECT_EQ(gridRows(), 0);
        EXPECT_TRUE(find<QPlainTextEdit>("bsSkinMemo31")->toPlainText().endsWith(QStringLiteral("作業已取消")));
        ASSERT_EQ(shown.size(), 1) << shown.join(QStringLiteral("|")).toStdString();
        EXPECT_TRUE(shown[0].startsWith(QStringLiteral("作業已取消")));
        EXPECT_FALSE(window->findChild<app::InquiryPage*>()
                         ->findChild<QPushButton*>(QStringLiteral("cancelRunButton"))
                         ->isEnabled());

        shown.clear();
        find<QPushButton>("bsSkinButton14")->click();
        EXPECT_TRUE(shown.isEmpty()) << shown.join(QStringLiteral("|")).toStdString();
        EXPECT_EQ(gridRows(), rowsWhenRun);
    }
}
