#include "pathstore.h"

#include "platform/filewriter.h"
#include "platform/linereader.h"
#include "platform/nativepath.h"
#include "platform/regularfile.h"

#include <QFile>

namespace GameDir {

std::optional<QString> readPathStore()
{
    QFile file(Platform::nativeFileName(QString(PathStoreName)));
    if (!Platform::openRegularFile(file, QIODevice::ReadOnly).isEmpty())
        return std::nullopt;
    return readPathStore(file);
}

std::optional<QString> readPathStore(QIODevice &device)
{
    Platform::LineReader reader(device);
    QByteArray line;
    if (reader.readLine(line, LongestPath) != Platform::LineReader::Status::Line)
        return std::nullopt;
    return QString::fromLocal8Bit(line);
}

QString unstorablePathReason(const QString &path)
{
    if (path.contains(u'\r') || path.contains(u'\n'))
        return QStringLiteral("The path holds a line break, which path.inf cannot store.");
    if (path.contains(QChar(u'\0')))
        return QStringLiteral("The path holds a NUL character, which no path can hold.");
    if (path.toLocal8Bit().size() > LongestPath)
        return QStringLiteral("The path is longer than %1 bytes, the longest path there is.")
                .arg(LongestPath);
    return {};
}

QString writePathStore(const QString &path)
{
    if (QString reason = unstorablePathReason(path); !reason.isEmpty())
        return reason;
    const QString nativeName = Platform::nativeFileName(QString(PathStoreName));
    const QString reason = Platform::writeWholeFile(
            nativeName, (path + QLatin1StringView("\r\n")).toLocal8Bit());
    if (reason.isEmpty())
        return {};
    return QStringLiteral("Cannot write \"%1\": %2.")
            .arg(Platform::displayName(nativeName), reason);
}

} // namespace GameDir
