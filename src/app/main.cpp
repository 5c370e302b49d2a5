// The program's entry: open the "Kalder" connection, show the main window, run the loop.
#include "app/database_login.h"
#include "app/desk_log.h"
#include "app/login_dialog.h"
#include "app/lookup_dialog.h"
#include "app/main_window.h"
#include "db/connection.h"
#include "platform/log.h"
#include "platform/paths.h"
#include "ui/qt_translations.h"

#include <QApplication>
#include <QMessageBox>
#include <exception>
#include <memory>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("付款覆核-匯款-開票作業"));
    ui::installQtTranslations(application); // without them Qt's own dialogs stay in English

    const std::string exeFolder = platform::exeFolder();
    const app::DeskLog log(exeFolder); // desk.log, beside Bill.ini
    std::unique_ptr<db::Connection> database;
    try {
        database = app::openDatabase(db::readConnectionDefinition(exeFolder + "connections.ini", "Kalder"),
                                     exeFolder + "Bill.ini", [](app::LoginDialog& login) { return login.exec() == QDialog::Accepted; });
        if (!database)
            return 0; // the clerk cancelled the login
    } catch (const std::exception& e) {
        // Without the database there is nothing to show: report and end before any window.
        platform::log("app", platform::LogLevel::Error, std::string("no database: ") + e.what());
        QMessageBox::critical(nullptr, QApplication::applicationDisplayName(), QString::fromUtf8(e.what()));
        return 1;
    }

    app::MainWindow window(*database, exeFolder);
    // The lookup dialog the entry has always created beside the window; the provider field
    // opens fresh ones of its own, so this one is never shown.
    app::LookupDialog lookup(*database, window.messages());
    window.show();
    return QApplication::exec();
}
