#include "app/desk_log.h"

#include "platform/log.h"

#include <QAbstractButton>
#include <QDateTime>
#include <QLoggingCategory>
#include <QWidget>
#include <map>
#include <memory>
#include <mutex>

namespace app {
namespace {

Q_LOGGING_CATEGORY(lcText, "desk.text")
Q_LOGGING_CATEGORY(lcPlatform, "desk.platform")
Q_LOGGING_CATEGORY(lcDb, "desk.db")
Q_LOGGING_CATEGORY(lcWork, "desk.work")
Q_LOGGING_CATEGORY(lcReport, "desk.report")
Q_LOGGING_CATEGORY(lcJournal, "desk.journal")
Q_LOGGING_CATEGORY(lcRemittance, "desk.remittance")
Q_LOGGING_CATEGORY(lcCheque, "desk.cheque")
Q_LOGGING_CATEGORY(lcInquiry, "desk.inquiry")
Q_LOGGING_CATEGORY(lcLookup, "desk.lookup")
Q_LOGGING_CATEGORY(lcUi, "desk.ui")
Q_LOGGING_CATEGORY(lcApp, "desk.app")

const QLoggingCategory& categoryOf(std::string_view folder)
{
    using Category = const QLoggingCategory& (*)();
    static const std::map<std::string_view, Category> categories = {{"text", lcText},
                                                                    {"platform", lcPlatform},
                                                                    {"db", lcDb},
                                                                    {"work", lcWork},
                                                                    {"report", lcReport},
                                                                    {"journal", lcJournal},
                                                                    {"remittance", lcRemittance},
                                                                    {"cheque", lcCheque},
                                                                    {"inquiry", lcInquiry},
                                                                    {"lookup", lcLookup},
                                                                    {"ui", lcUi},
                                                                    {"app", lcApp}};
    const auto found = categories.find(folder);
    return found == categories.end() ? lcApp() : found->second();
}

const char* levelName(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg: return "debug";
    case QtInfoMsg: return "info";
    case QtWarningMsg: return "warning";
    case QtCriticalMsg: return "error";
    case QtFatalMsg: return "fatal";
    }
    return "info";
}

// The one open log; Qt's message handler is a plain function.
struct OpenLog {
    OpenLog(const std::string& path, std::size_t maxBytes) : file(path, maxBytes, 5) {}
    platform::RotatingLogFile file;
    QtMessageHandler previous = nullptr;
    std::mutex writing; // statements may end on a worker thread
};
std::unique_ptr<OpenLog>& openLog()
{
    static std::unique_ptr<OpenLog> log;
    return log;
}

void writeLine(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    OpenLog* log = openLog().get();
    const bool ours = context.category && QByteArray(context.category).startsWith("desk.");
    if (log) {
        const QString line = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")) +
                             QLatin1Char(' ') + QLatin1String(levelName(type)) + QLatin1Char(' ') +
                             QLatin1String(context.category ? context.category : "default") + QStringLiteral(": ") +
                             message;
        std::lock_guard<std::mutex> lock(log->writing);
        log->file.append(line.toStdString());
    }
    // Qt's own warnings still reach the console as before; the desk's lines only the file.
    if (!ours && log && log->previous)
        log->previous(type, context, message);
}

} // namespace

DeskLog::DeskLog(const std::string& folder, std::size_t maxBytes)
{
    openLog() = std::make_unique<OpenLog>(folder + "desk.log", maxBytes);
    openLog()->previous = qInstallMessageHandler(writeLine);
    platform::setLogSink([](std::string_view folder, platform::LogLevel level, std::string_view text) {
        const QLoggingCategory& category = categoryOf(folder);
        const QString line = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        switch (level) {
        case platform::LogLevel::Info: qCInfo(category).noquote() << line; break;
        case platform::LogLevel::Warning: qCWarning(category).noquote() << line; break;
        case platform::LogLevel::Error: qCCritical(category).noquote() << line; break;
        }
    });
}

DeskLog::~DeskLog()
{
    platform::setLogSink({});
    qInstallMessageHandler(openLog()->previous);
    openLog().reset();
}

const std::string& DeskLog::path() const
{
    return openLog()->file.path();
}

void logPresses(QWidget* window)
{
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        // On the press itself, so the line comes before what the press does.
        QObject::connect(button, &QAbstractButton::pressed, button, [button] {
            if (!platform::logging())
                return;
            const std::string line =
                "press " + button->objectName().toStdString() + " (" + button->text().toStdString() + ")";
            platform::log("app", platform::LogLevel::Info, line);
        });
    }
}

} // namespace app
