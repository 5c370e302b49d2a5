#include "ui/qt_text.h"

#include "text/big5.h"
#include "text/blank.h"

#include <QFile>

namespace ui {

QString fromBig5(const std::string& big5)
{
    const std::string utf8 = text::big5ToUtf8(big5);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string toBig5(const QString& typed)
{
    const QByteArray utf8 = typed.toUtf8();
    return text::utf8ToBig5(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

std::string toFileSystemPath(const QString& typed)
{
    return QFile::encodeName(typed).toStdString();
}

bool isBlank(const QString& typed)
{
    return text::isBlank(typed.toUtf8().toStdString());
}

QString trimmedBlanks(const QString& typed)
{
    return QString::fromStdString(text::trimmed(typed.toUtf8().toStdString()));
}

} // namespace ui
