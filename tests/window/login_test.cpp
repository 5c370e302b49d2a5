// The login at start: asked only of a server connection whose definition keeps no password;
// a wrong password or a role the user does not hold is said in the dialog, which stays open.
#include "app/database_login.h"
#include "app/login_dialog.h"
#include "platform/ini_file.h"
#include "support/desk_users.h"
#include "support/test_database.h"
#include "work/desk_role.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using testing_support::connectAs;
using testing_support::deskUserName;
using testing_support::deskUserPassword;
using testing_support::TempFolder;
using testing_support::TestDatabase;

// One answer of the clerk to the dialog: what is typed, and whether the login is pressed.
struct Typed {
    QString user, password, role;
    bool press = true;
};

// Answers the real dialog the way a clerk does: types into its fields and presses 登入 (or
// 取消), recording what the dialog showed before each answer.
class Clerk {
public:
    explicit Clerk(std::vector<Typed> answers) : answers_(std::move(answers)) {}
    bool operator()(app::LoginDialog& dialog)
    {
        prefilledUser.push_back(dialog.userEdit()->text());
        failures.push_back(dialog.failureLabel()->isHidden() ? QString() : dialog.failureLabel()->text());
        if (next_ == answers_.size())
            return false;
        const Typed& typed = answers_[next_++];
        if (!typed.press)
            return false;
        dialog.userEdit()->setText(typed.user);
        dialog.passwordEdit()->setText(typed.password);
        dialog.roleCombo()->setCurrentIndex(dialog.roleCombo()->findData(typed.role));
        dialog.show();
        QTest::mouseClick(dialog.loginButton(), Qt::LeftButton);
        const bool accepted = dialog.result() == QDialog::Accepted;
        dialog.hide();
        return accepted;
    }
    std::size_t asked() const { return prefilledUser.size(); }

    std::vector<QString> prefilledUser, failures;

private:
    std::vector<Typed> answers_;
    std::size_t next_ = 0;
};

TEST(Login, NotAskedWhenTheDefinitionHoldsThePasswordOrTheDatabaseIsEmbedded)
{
    TestDatabase database;
    TempFolder folder;
    Clerk clerk({});
    // The fixture's own definition: embedded with no password, or the server's with one.
    auto connection = app::openDatabase(database.params(), folder.path() + "Bill.ini", std::ref(clerk));
    ASSERT_NE(connection, nullptr);
    EXPECT_EQ(clerk.asked(), 0u);
}

class ServerLogin : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (database_.params().embedded())
            GTEST_SKIP() << "passwords are checked by a server only";
        user_ = deskUserName("DESK_CLERK");
        connectAs(database_, user_, "DESK_CLERK").reset(); // creates the user with its password
        defined_ = database_.params();
        defined_.user = "SYSDBA";
        defined_.password.clear();
        defined_.role = "DESK_CLERK";
    }

    TestDatabase database_;
    TempFolder folder_;
    std::string user_;
    db::ConnectionParams defined_;
};

TEST_F(ServerLogin, AskedWhenThePasswordIsMissingAndTriedAgainAfterAWrongOne)
{
    const QString user = QString::fromStdString(user_);
    const QString password = QString::fromStdString(deskUserPassword(user_));
    Clerk clerk({{user, QStringLiteral("wrong"), QStringLiteral("DESK_CLERK")},
                 {user, password, QStringLiteral("DESK_CLERK")}});
    auto connection = app::openDatabase(defined_, folder_.path() + "Bill.ini", std::ref(clerk));
    ASSERT_NE(connection, nullptr);
    ASSERT_EQ(clerk.asked(), 2u);
    EXPECT_TRUE(clerk.failures[1].contains(QStringLiteral("密碼錯誤"))) << clerk.failures[1].toStdString();

    const work::DeskRole role = work::readDeskRole(*connection);
    EXPECT_EQ(role.user(), user_);
    EXPECT_EQ(role.role(), "DESK_CLERK");

    // The next start offers the last user.
    connection.reset();
    Clerk again({Typed{user, password, QStringLiteral("DESK_CLERK"), false}});
    EXPECT_EQ(app::openDatabase(defined_, folder_.path() + "Bill.ini", std::ref(again)), nullptr);
    ASSERT_EQ(again.asked(), 1u);
    EXPECT_EQ(again.prefilledUser[0], user);
}

TEST_F(ServerLogin, ARoleTheUserDoesNotHoldIsRefusedNotDropped)
{
    const QString user = QString::fromStdString(user_);
    const QString password = QString::fromStdString(deskUserPassword(user_));
    Clerk clerk({{user, password, QStringLiteral("DESK_SUPERVISOR")}, {user, password, QStringLiteral("DESK_CLERK")}});
    auto connection = app::openDatabase(defined_, folder_.path() + "Bill.ini", std::ref(clerk));
    ASSERT_NE(connection, nullptr);
    ASSERT_EQ(clerk.asked(), 2u);
    EXPECT_TRUE(clerk.failures[1].contains(QStringLiteral("DESK_SUPERVISOR"))) << clerk.failures[1].toStdString();
    EXPECT_EQ(work::readDeskRole(*connection).role(), "DESK_CLERK");
}

TEST_F(ServerLogin, CancellingOpensNothing)
{
    Clerk clerk({Typed{{}, {}, {}, false}});
    EXPECT_EQ(app::openDatabase(defined_, folder_.path() + "Bill.ini", std::ref(clerk)), nullptr);
    EXPECT_EQ(clerk.asked(), 1u);
}

} // namespace
