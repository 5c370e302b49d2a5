// The window follows the connection's desk role: what the role may not do is disabled, with
// the role it needs in the tooltip, and the window opens for every role.
#include "window_fixture.h"

#include "support/desk_users.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using testing_support::connectAs;
using testing_support::deskUserName;
using testing_support::RecordingAnswerer;
using testing_support::TempFolder;
using testing_support::TestDatabase;

class DeskRoleWindow : public ::testing::Test {
protected:
    void openAs(const std::string& role)
    {
        connection_ = connectAs(database_, deskUserName(role), role);
        window_ = std::make_unique<app::MainWindow>(*connection_, exeFolder_.path());
        window_->messages().setAnswerer(std::make_unique<RecordingAnswerer>(&shown_));
        window_->show();
        QApplication::setActiveWindow(window_.get());
    }
    QPushButton* button(const char* name) const { return window_->findChild<QPushButton*>(QString::fromLatin1(name)); }
    // F1 as the clerk presses it: the key goes to the control that has the focus.
    void pressF1()
    {
        QWidget* focused = QApplication::focusWidget();
        QTest::keyClick(focused ? focused : window_.get(), Qt::Key_F1);
    }

    TestDatabase database_;
    TempFolder exeFolder_;
    QStringList shown_;
    std::unique_ptr<db::Connection> connection_;
    std::unique_ptr<app::MainWindow> window_;
};

TEST_F(DeskRoleWindow, AClerkSeesTheClearingButtonsDisabledWithTheRoleTheyNeed)
{
    openAs("DESK_CLERK");
    pressF1();
    for (const char* clearing : {"BitBtn1", "BitBtn2", "bsSkinButton24"}) {
        QPushButton* clear = button(clearing);
        ASSERT_NE(clear, nullptr) << clearing;
        EXPECT_FALSE(clear->isHidden()) << clearing;
        EXPECT_FALSE(clear->isEnabled()) << clearing;
        EXPECT_TRUE(clear->toolTip().contains(QStringLiteral("主管 (DESK_SUPERVISOR)")))
            << clear->toolTip().toStdString();
    }
    for (const char* paying : {"bsSkinButton8", "bsSkinButton9", "bsSkinButton12", "bsSkinButton13"}) {
        EXPECT_TRUE(button(paying)->isEnabled()) << paying;
        EXPECT_TRUE(button(paying)->toolTip().isEmpty()) << paying;
    }
    EXPECT_TRUE(shown_.isEmpty()) << shown_.join(QStringLiteral(" | ")).toStdString();
}

TEST_F(DeskRoleWindow, ASupervisorMayClear)
{
    openAs("DESK_SUPERVISOR");
    pressF1();
    EXPECT_FALSE(button("BitBtn1")->isHidden());
    EXPECT_TRUE(button("BitBtn1")->isEnabled());
    EXPECT_TRUE(button("BitBtn2")->isEnabled());
    EXPECT_TRUE(button("bsSkinButton24")->isEnabled());
}

TEST_F(DeskRoleWindow, AnAuditorReadsButPaysNothing)
{
    database_.connection().execute("INSERT INTO PROVIDER (PROVIDER_ID, PROVIDER_NAME) VALUES ('P1', 'No fee yet')");
    openAs("DESK_AUDITOR");
    for (const char* paying : {"bsSkinButton8", "bsSkinButton9", "bsSkinButton12", "bsSkinButton13", "BitBtn1",
                               "BitBtn2", "bsSkinButton24"}) {
        EXPECT_FALSE(button(paying)->isEnabled()) << paying;
        EXPECT_TRUE(button(paying)->toolTip().contains(QStringLiteral("稽核 (DESK_AUDITOR)"))) << paying;
    }
    // The window opened without an error: the fee housekeeping is not an auditor's to do.
    EXPECT_TRUE(shown_.isEmpty()) << shown_.join(QStringLiteral(" | ")).toStdString();
    EXPECT_EQ(database_.connection().lookup("SELECT COALESCE(ACNT_AMT, -1) FROM PROVIDER WHERE PROVIDER_ID = 'P1'"),
              "-1");
}

} // namespace
