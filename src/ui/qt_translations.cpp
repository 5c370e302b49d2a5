#include "ui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace ui {

QTranslator* installQtTranslations(QCoreApplication& application)
{
    const QLocale taiwan(QLocale::Chinese, QLocale::TraditionalHanScript, QLocale::Taiwan);
    QLocale::setDefault(taiwan);
    // Owned by the application: it must live as long as any text is translated.
    auto* translator = new QTranslator(&application);
    if (!translator->load(taiwan, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return nullptr;
    }
    QCoreApplication::installTranslator(translator);
    return translator;
}

} // namespace ui
