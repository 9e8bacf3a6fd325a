#include "nativepath.h"

#include <QDir>
#include <QFileInfo>

namespace Platform {

QString displayName(const QString &nativeName)
{
    // A NUL cannot be in a file's name; show where it stands rather than ask the system.
    if (nativeName.contains(QChar(u'\0')))
        return QString(nativeName).replace(QChar(u'\0'), QLatin1StringView("\\0"));
    return QDir::toNativeSeparators(QFileInfo(nativeName).absoluteFilePath());
}

} // namespace Platform
