#pragma once
// Qt's own texts (the buttons of every dialog box, the print and file dialogs, the calendar)
// in Traditional Chinese, as the rest of the desk speaks.

class QCoreApplication;
class QTranslator;

namespace ui {

// Loads Qt's Traditional Chinese translations into the application and makes Taiwan's
// locale the default. Returns the installed translator (owned by the application), or
// nullptr when the translations are not installed (Debian package qt6-translations-l10n);
// Qt then keeps its English texts.
QTranslator* installQtTranslations(QCoreApplication& application);

} // namespace ui
