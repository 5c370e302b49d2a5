// The program's entry: open the "Kalder" connection, show the main window, run the loop.
// With --smoke (scripts/test starts it so, headless) it ends by itself once the window is on
// screen: 0 when it came up, 1 with the reason on the error output when it did not.
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
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <exception>
#include <memory>
#include <stdexcept>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("付款覆核-匯款-開票作業"));
    ui::installQtTranslations(application); // without them Qt's own dialogs stay in English

    const bool smoke = QApplication::arguments().contains(QStringLiteral("--smoke"));
    const std::string exeFolder = platform::exeFolder();
    const app::DeskLog log(exeFolder); // desk.log, beside Bill.ini
    std::unique_ptr<db::Connection> database;
    try {
        database =
            app::openDatabase(db::readConnectionDefinition(exeFolder + "connections.ini", "Kalder"),
                              exeFolder + "Bill.ini", [smoke](app::LoginDialog& login) {
                                  return !smoke && login.exec() == QDialog::Accepted; // nobody types in a smoke run
                              });
        if (!database && smoke)
            throw std::runtime_error("the database asks for a login");
        if (!database)
            return 0; // the clerk cancelled the login
    } catch (const std::exception& e) {
        // Without the database there is nothing to show: report and end before any window.
        platform::log("app", platform::LogLevel::Error, std::string("no database: ") + e.what());
        if (smoke) {
            std::fprintf(stderr, "settlement_desk --smoke: %s\n", e.what());
            return 1;
        }
        QMessageBox::critical(nullptr, QApplication::applicationDisplayName(), QString::fromUtf8(e.what()));
        return 1;
    }

    app::MainWindow window(*database, exeFolder);
    // The lookup dialog the entry has always created beside the window; the provider field
    // opens fresh ones of its own, so this one is never shown.
    app::LookupDialog lookup(*database, window.messages());
    window.show();
    if (smoke) {
        // Asked until the window system has put the window on screen, for ten seconds at most.
        auto* poll = new QTimer(&window);
        auto waited = std::make_shared<int>(0);
        QObject::connect(poll, &QTimer::timeout, &window, [&window, waited] {
            const bool shown = window.isVisible() && window.windowHandle() && window.windowHandle()->isExposed();
            if (!shown && ++*waited < 200)
                return;
            std::fprintf(shown ? stdout : stderr, "settlement_desk --smoke: %s\n",
                         shown ? "the window is on screen" : "the window did not come up");
            QApplication::exit(shown ? 0 : 1);
        });
        poll->start(50);
    }
    return QApplication::exec();
}
