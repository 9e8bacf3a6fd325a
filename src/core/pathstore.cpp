#include "pathstore.h"

#include "nativepath.h"
#include "regularfile.h"
#include "savefile.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

namespace GameDir {

std::optional<QString> readPathStore()
{
    return readPathStore(Platform::nativeFileName(QString(PathStoreName)));
}

namespace {

// A line of path.inf without a byte-order mark: in the code page, as this machine writes it; or
// in UTF-8, as Notepad saves it, when only that reading names a folder that is there.
QString storedPath(const QByteArray &line)
{
    const QString local = QString::fromLocal8Bit(line), utf8 = QString::fromUtf8(line);
    if (utf8 == local || utf8.contains(QChar::ReplacementCharacter))
        return local;
    const auto isFolder = [](const QString &path) {
        return QFileInfo(Platform::nativeFileName(path)).isDir();
    };
    return isFolder(utf8) && !isFolder(local) ? utf8 : local;
}

} // namespace

std::optional<QString> readPathStore(const QString &nativeName, QString *refusal)
{
    QFile file(nativeName);
    if (!Platform::openRegularFile(file, QIODevice::ReadOnly).isEmpty())
        return std::nullopt;
    return readPathStore(file, refusal);
}

std::optional<QString> readPathStore(QIODevice &device, QString *refusal)
{
    // Enough for the longest line in any encoding, and its line end.
    QByteArray bytes = device.read(2 * LongestPath + 8);
    QString text;
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) { // Notepad's "Unicode"
        text = QStringDecoder(bytes.startsWith("\xFF") ? QStringConverter::Utf16LE
                                                       : QStringConverter::Utf16BE)
                       .decode(bytes.mid(2));
    } else {
        const bool utf8 = bytes.startsWith("\xEF\xBB\xBF");
        bytes = utf8 ? bytes.mid(3) : bytes;
        const qsizetype end
                = std::min(bytes.indexOf('\r') < 0 ? bytes.size() : bytes.indexOf('\r'),
                           bytes.indexOf('\n') < 0 ? bytes.size() : bytes.indexOf('\n'));
        const QByteArray line = bytes.left(end);
        if (line.contains('\0')) {
            if (refusal)
                *refusal
                        = QStringLiteral("path.inf is UTF-16 without a byte-order mark; save it as "
                                         "ANSI or UTF-8.");
            return std::nullopt;
        }
        if (line.size() > LongestPath || (end == bytes.size() && bytes.size() > LongestPath))
            return std::nullopt;
        text = utf8 ? QString::fromUtf8(line) : storedPath(line);
    }
    if (text.isEmpty() && bytes.isEmpty())
        return std::nullopt;
    const qsizetype end = text.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    return Platform::withoutQuotes(end < 0 ? text : text.left(end));
}

Result checkStorablePath(const QString &path)
{
    if (path.contains(u'\r') || path.contains(u'\n'))
        return {QStringLiteral("The path holds a line break, which path.inf cannot store.")};
    if (path.contains(QChar(u'\0')))
        return {QStringLiteral("The path holds a NUL character, which no path can hold.")};
    // Windows' code page replaces what it lacks by a "best fit" without a word.
    if (QString::fromLocal8Bit(path.toLocal8Bit()) != path)
        return {QStringLiteral("The path holds a character that this system's code page "
                               "cannot store in path.inf.")};
    if (path.toLocal8Bit().size() > LongestPath)
        return {QStringLiteral("The path is longer than %1 bytes, the longest path there is.")
                        .arg(LongestPath)};
    return {};
}

Result writePathStore(const QString &path)
{
    if (Result refused = checkStorablePath(path); !refused.ok())
        return refused;
    return Platform::writeWholeFile(Platform::nativeFileName(QString(PathStoreName)),
                                    (path + QLatin1StringView("\r\n")).toLocal8Bit());
}

} // namespace GameDir
