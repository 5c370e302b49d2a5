#include "app/lookup_dialog.h"
#include "inquiry/provider_field.h"
#include "support/test_database.h"
#include "text/big5.h"
#include "ui/message_boxes.h"
#include "ui/qt_text.h"
#include "ui/radio_group.h"
#include "window_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using testing_support::RecordingAnswerer;
using testing_support::TestDatabase;

class LookupDialogTest : public ::testing::Test {
protected:
    TestDatabase database;
    QStringList shown;
    ui::MessageBoxes messages{nullptr};
    db::RecordSet providers;
    std::unique_ptr<app::LookupDialog> dialog;

    void SetUp() override
    {
        messages.setAnswerer(std::make_unique<RecordingAnswerer>(&shown));
        for (const auto& [id, name] : {std::pair<const char*, const char*>{"P01", "甲廠商"},
                                       {"P02", "乙廠商"},
                                       {"P03", "O'Brien"},
                                       {"Q10", "甲乙聯合"}})
            database.connection().execute("INSERT INTO PROVIDER (PROVIDER_ID, PROVIDER_NAME) VALUES (" + db::quote(id) +
                                          "," + db::quote(text::big5(name)) + ")");
        providers = inquiry::openProviderList(database.connection());
        dialog = std::make_unique<app::LookupDialog>(database.connection(), messages);
        dialog->setOriginalData(providers, inquiry::providerListColumns());
        dialog->setLookupTable("PROVIDER");
        dialog->show();
    }

    template <typename T> T* find(const char* name) const { return dialog->findChild<T*>(QString::fromLatin1(name)); }
    QComboBox* fields() const { return find<QComboBox>("ComboBox1"); }
    QComboBox* columns() const { return find<QComboBox>("ComboBox2"); }
    ui::RadioGroup* mode() const { return find<ui::RadioGroup>("RadioGroup1"); }
    QLineEdit* text() const { return find<QLineEdit>("Edit1"); }
    QTableView* grid() const { return find<QTableView>("DBGrid1"); }
    void press(const char* name) const { find<QPushButton>(name)->click(); }
    QStringList titles() const
    {
        QStringList t;
        for (int c = 0; c < grid()->model()->columnCount(); ++c)
            t << grid()->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        return t;
    }
    QString cell(int row, int column) const { return grid()->model()->index(row, column).data().toString(); }
    void search(int field, int matchMode, const QString& value)
    {
        fields()->setCurrentIndex(field);
        mode()->setItemIndex(matchMode);
        text()->setText(value);
        press("SearchButton");
    }
};

TEST_F(LookupDialogTest, WindowAndFieldList)
{
    EXPECT_EQ(dialog->objectName(), QStringLiteral("Frmgetdata"));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("資料查詢擷取"));
    EXPECT_EQ(fields()->count(), 2);
    EXPECT_EQ(fields()->itemText(0), QStringLiteral("廠商代號"));
    EXPECT_EQ(fields()->itemText(1), QStringLiteral("廠商名稱"));
    EXPECT_EQ(columns()->itemText(1), QStringLiteral("PROVIDER_NAME"));
    EXPECT_FALSE(columns()->isVisible());
    EXPECT_FALSE(fields()->isEditable()); // only its own entries can be chosen
    EXPECT_EQ(mode()->itemIndex(), 0);
    EXPECT_EQ(grid()->model()->rowCount(), 4);
    EXPECT_EQ(titles(), (QStringList{QStringLiteral("廠商代號"), QStringLiteral("廠商名稱")}));
    EXPECT_FALSE(grid()->showGrid());
    EXPECT_EQ(grid()->palette().color(QPalette::AlternateBase), QColor(255, 255, 128));
    EXPECT_EQ(find<QPushButton>("OkButton")->text(), QStringLiteral("確定(&Y)"));
    EXPECT_EQ(find<QPushButton>("CancelButton")->text(), QStringLiteral("取消(&C)"));
}

TEST_F(LookupDialogTest, NavigationButtonsFollowTheRows)
{
    EXPECT_FALSE(find<QPushButton>("NavFirst")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("NavPrior")->isEnabled());
    EXPECT_TRUE(find<QPushButton>("NavNext")->isEnabled());
    press("NavLast");
    EXPECT_EQ(grid()->currentIndex().row(), 3);
    EXPECT_FALSE(find<QPushButton>("NavNext")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("NavLast")->isEnabled());
    EXPECT_TRUE(find<QPushButton>("NavFirst")->isEnabled());
    press("NavPrior");
    EXPECT_EQ(dialog->currentText("PROVIDER_ID"), "P03");
    grid()->setCurrentIndex(grid()->model()->index(1, 0));
    EXPECT_EQ(dialog->currentText("PROVIDER_ID"), "P02");
    press("NavFirst");
    EXPECT_EQ(dialog->currentText("PROVIDER_ID"), "P01");
}

TEST_F(LookupDialogTest, SearchShowsEveryColumnTitledInChineseAndConfirmReturnsItsRow)
{
    search(1, 1, QStringLiteral("甲"));
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_EQ(grid()->model()->rowCount(), 2);
    EXPECT_GT(grid()->model()->columnCount(), 2);
    EXPECT_EQ(titles().mid(0, 3),
              (QStringList{QStringLiteral("廠商代號"), QStringLiteral("廠商名稱"), QStringLiteral("電話")}));
    // Every column is as wide as its title needs.
    for (int c = 0; c < grid()->model()->columnCount(); ++c)
        EXPECT_GE(grid()->columnWidth(c), grid()->horizontalHeader()->sectionSizeHint(c)) << c;
    EXPECT_EQ(dialog->session()->lastStatement().lines(),
              (std::vector<std::string>{"select * from ", "PROVIDER ", "where ", "PROVIDER_NAME",
                                        "like " + db::quote(text::big5("甲") + "%")}));
    press("NavNext");
    press("OkButton");
    EXPECT_TRUE(dialog->confirmed());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->currentText("PROVIDER_ID"), "Q10");
    EXPECT_EQ(dialog->currentText("PROVIDER_NAME"), text::big5("甲乙聯合"));
}

TEST_F(LookupDialogTest, EmptyContainsSearchReturnsEveryRow)
{
    search(0, 2, QString());
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_TRUE(dialog->session()->showingResult());
    EXPECT_EQ(grid()->model()->rowCount(), 4);
}

TEST_F(LookupDialogTest, NotFoundResetsTheDialogButListsEachFieldOnce)
{
    search(1, 1, QStringLiteral("甲"));
    search(0, 1, QStringLiteral("ZZ"));
    EXPECT_EQ(shown, QStringList{QStringLiteral("找不到該條件資料!")});
    EXPECT_FALSE(dialog->session()->showingResult());
    EXPECT_EQ(grid()->model()->rowCount(), 4);
    EXPECT_EQ(titles(), (QStringList{QStringLiteral("廠商代號"), QStringLiteral("廠商名稱")}));
    EXPECT_EQ(mode()->itemIndex(), 0);
    EXPECT_TRUE(text()->text().isEmpty());
    EXPECT_EQ(fields()->count(), 2);
    EXPECT_EQ(columns()->count(), 2);
}

TEST_F(LookupDialogTest, NoFieldChosenAsksForOne)
{
    text()->setText(QStringLiteral("P01"));
    press("SearchButton");
    EXPECT_EQ(shown, QStringList{QStringLiteral("請選擇查詢條件!")});
    EXPECT_FALSE(dialog->session()->showingResult());
}

TEST_F(LookupDialogTest, QuoteInTheSearchTextSearchesForAQuote)
{
    search(1, 2, QStringLiteral("'"));
    EXPECT_TRUE(shown.isEmpty());
    ASSERT_EQ(grid()->model()->rowCount(), 1);
    EXPECT_EQ(dialog->currentText("PROVIDER_ID"), "P03");
}

TEST_F(LookupDialogTest, EnterInTheSearchTextSearchesAndEnterInTheGridConfirms)
{
    fields()->setCurrentIndex(0);
    text()->setText(QStringLiteral("P02"));
    QTest::keyClick(text(), Qt::Key_Return);
    EXPECT_TRUE(dialog->session()->showingResult());
    EXPECT_EQ(grid()->model()->rowCount(), 1);
    QTest::keyClick(grid(), Qt::Key_Return);
    EXPECT_TRUE(dialog->confirmed());
    EXPECT_EQ(dialog->currentText("PROVIDER_ID"), "P02");
}

TEST_F(LookupDialogTest, EnterWithoutSearchTextDoesNotSearch)
{
    fields()->setCurrentIndex(0);
    QTest::keyClick(text(), Qt::Key_Return);
    EXPECT_FALSE(dialog->session()->showingResult());
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(LookupDialogTest, EscInTheFieldListAndCancelReturnFalse)
{
    QTest::keyClick(fields(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->confirmed());
    EXPECT_FALSE(dialog->isVisible());

    app::LookupDialog second(database.connection(), messages);
    second.setOriginalData(providers, inquiry::providerListColumns());
    second.setLookupTable("PROVIDER");
    second.show();
    second.findChild<QPushButton*>(QStringLiteral("CancelButton"))->click();
    EXPECT_FALSE(second.confirmed());
    EXPECT_FALSE(second.isVisible());
}

TEST_F(LookupDialogTest, LeavingTheMatchModeSearchesWhenTextAndFieldAreThere)
{
    fields()->setCurrentIndex(0);
    mode()->setItemIndex(1);
    text()->setText(QStringLiteral("P0"));
    auto* radio = mode()->findChildren<QRadioButton*>().at(1);
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(radio, &leave);
    EXPECT_TRUE(dialog->session()->showingResult());
    EXPECT_EQ(grid()->model()->rowCount(), 3);
}

TEST_F(LookupDialogTest, ResetShowsTheCallersRowsAgain)
{
    search(0, 0, QStringLiteral("P02"));
    press("ResetButton");
    EXPECT_FALSE(dialog->session()->showingResult());
    EXPECT_TRUE(text()->text().isEmpty());
    EXPECT_EQ(grid()->model()->rowCount(), 4);
}

TEST_F(LookupDialogTest, FailingSearchShowsTheErrorAndKeepsTheGrid)
{
    app::LookupDialog broken(database.connection(), messages);
    broken.setOriginalData(providers, inquiry::providerListColumns());
    broken.setLookupTable("NO_SUCH_TABLE");
    broken.show();
    broken.findChild<QComboBox*>(QStringLiteral("ComboBox1"))->setCurrentIndex(0);
    broken.findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("P01"));
    broken.findChild<QPushButton*>(QStringLiteral("SearchButton"))->click();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith(QStringLiteral("error: ")));
    EXPECT_EQ(broken.findChild<QLineEdit*>(QStringLiteral("Edit1"))->text(), QStringLiteral("P01"));
    EXPECT_TRUE(broken.isVisible());
}

} // namespace
