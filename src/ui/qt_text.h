#pragma once
// The only place where Big5 bytes meet QString: shown text is decoded, typed text encoded.
#include <QString>
#include <string>

namespace ui {

QString fromBig5(const std::string& big5);
// Throws text::UserError when a typed character has no Big5 form.
std::string toBig5(const QString& typed);
inline QString fromUtf8(const std::string& utf8)
{
    return QString::fromUtf8(utf8);
}
// A typed path as the file system takes it: its own encoding (UTF-8 here, the ANSI code
// page on Windows), not Big5, or a folder named in Chinese would never be found.
std::string toFileSystemPath(const QString& typed);
// Typed text under the blank rule of text/blank.h, so that a typed reason and a stored key
// count as blank alike.
bool isBlank(const QString& typed);
QString trimmedBlanks(const QString& typed);

} // namespace ui
