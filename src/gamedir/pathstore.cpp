#include "pathstore.h"

#include "platform/filewriter.h"
#include "platform/linereader.h"
#include "platform/nativepath.h"

#include <QFile>

namespace GameDir {

namespace {
const qsizetype longestPath = 1048576;
}

std::optional<QString> readPathStore()
{
    QFile file(Platform::nativeFileName(QString(PathStoreName)));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return readPathStore(file);
}

std::optional<QString> readPathStore(QIODevice &device)
{
    Platform::LineReader reader(device);
    QByteArray line;
    if (reader.readLine(line, longestPath) != Platform::LineReader::Status::Line)
        return std::nullopt;
    return QString::fromLocal8Bit(line);
}

QString writePathStore(const QString &path)
{
    const QString nativeName = Platform::nativeFileName(QString(PathStoreName));
    const QString reason = Platform::writeWholeFile(
            nativeName, (path + QLatin1StringView("\r\n")).toLocal8Bit());
    if (reason.isEmpty())
        return {};
    return QStringLiteral("Cannot write \"%1\": %2.")
            .arg(Platform::displayName(nativeName), reason);
}

} // namespace GameDir
