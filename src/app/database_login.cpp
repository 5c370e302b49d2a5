#include "app/database_login.h"

#include "app/login_dialog.h"
#include "platform/ini_file.h"
#include "work/desk_role.h"

#include <QString>

#include <exception>

namespace app {
namespace {

// The server's answer to a wrong user name or password.
bool wrongCredentials(const std::string& message)
{
    return message.find("user name and password are not defined") != std::string::npos;
}

// A role that the user does not hold is dropped by the server without a word; the desk says so.
void requireRole(db::Connection& connection, const std::string& wanted)
{
    if (wanted.empty())
        return;
    const work::DeskRole role = work::readDeskRole(connection);
    if (role.role() != wanted)
        throw std::runtime_error("使用者 " + role.user() + " 沒有角色 " + wanted + ",請選擇您被授予的角色。");
}

} // namespace

bool loginNeeded(const db::ConnectionParams& defined)
{
    return !defined.embedded() && defined.password.empty();
}

std::unique_ptr<db::Connection> openDatabase(const db::ConnectionParams& defined, const std::string& lastUserIni,
                                             const std::function<bool(LoginDialog&)>& askLogin)
{
    if (!loginNeeded(defined))
        return std::make_unique<db::Connection>(defined);

    platform::IniFile settings(lastUserIni);
    const std::string lastUser = settings.read("Login", "LastUser", defined.user);
    LoginDialog dialog(lastUser, defined.role);
    while (askLogin(dialog)) {
        db::ConnectionParams params = defined;
        params.user = dialog.user();
        params.password = dialog.password();
        params.role = dialog.role();
        try {
            auto connection = std::make_unique<db::Connection>(params);
            requireRole(*connection, params.role);
            try {
                settings.write("Login", "LastUser", params.user);
            } catch (const std::exception&) {
                // An unwritable settings file costs the clerk one typed name next time, no more.
            }
            return connection;
        } catch (const std::exception& e) {
            const std::string message = e.what();
            dialog.showFailure(wrongCredentials(message) ? QStringLiteral("使用者名稱或密碼錯誤,請再試一次。")
                                                         : QString::fromUtf8(message.c_str()));
        }
    }
    return nullptr;
}

} // namespace app
