#pragma once
// Opening the "Kalder" connection at start. A server connection whose definition keeps no
// password asks the clerk through the login dialog, as often as needed; the embedded engine
// and a definition with a password open at once, with no dialog.
#include "db/connection.h"

#include <functional>
#include <memory>
#include <string>

namespace app {

class LoginDialog;

// Whether the definition leaves the password to the clerk.
bool loginNeeded(const db::ConnectionParams& defined);

// Opens the connection. With a login needed, `askLogin` runs the dialog (the program: exec();
// tests answer it) until a connection opens or the clerk cancels (then nullptr). A role the
// user does not hold is refused, not silently dropped. The user of the last successful login
// is kept in `lastUserIni` (section Login, key LastUser) for the next start.
// Without a login, errors are thrown as text::UserError, as before.
std::unique_ptr<db::Connection> openDatabase(const db::ConnectionParams& defined, const std::string& lastUserIni,
                                             const std::function<bool(LoginDialog&)>& askLogin);

} // namespace app
