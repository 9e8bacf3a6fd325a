#pragma once

// What the tests share: files, the tables of tests/data, memory, special files.

#include <QtTest>

#include <functional>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#else
#include <windows.h>

#include <psapi.h>
#endif

// Windows names the file as the game does (serverprefs.cs), Linux as the folder spells it.
inline const bool onWindows = QSysInfo::productType() == u"windows";
inline const Qt::CaseSensitivity fileNameCase = onWindows ? Qt::CaseInsensitive : Qt::CaseSensitive;

// On Windows, a row that means nothing there skips with the reason that
// tests/data/unix-only.tsv gives for it; every row skips under another code page than 1252.
#define SKIP_IF_UNIX_ONLY()                                                                        \
    if (const QString reason = TestSupport::unixOnlyReason(); !reason.isEmpty())                   \
    QSKIP(qPrintable(reason))

namespace TestSupport {

using namespace Qt::StringLiterals;

// A cell "LINUX || WINDOWS", where the two differ: this platform's part.
inline QString onThisPlatform(const QString &cell)
{
    const int part = cell.contains(u" || "_s) && onWindows ? 1 : 0;
    return cell.section(u" || "_s, part, part);
}

inline QByteArray readBytes(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Writes the file, and the folders it lies in.
inline bool writeBytes(const QString &name, const QByteArray &bytes)
{
    QFile file(name);
    return QDir().mkpath(QFileInfo(name).path()) && file.open(QIODevice::WriteOnly)
           && file.write(bytes) == bytes.size();
}

inline QString dataFile(const char *name)
{
    return QStringLiteral(TOLVANE_TEST_DATA "/") + QLatin1StringView(name);
}

// The 54 values of tests/data/golden54.cs, typed one to a line in golden54.values.
inline QStringList goldenValues()
{
    return QString::fromUtf8(readBytes(dataFile("golden54.values"))).split(u'\n').mid(0, 54);
}

// The bytes of a recipe: pieces parted by " + ", each "N × c" or characters.
inline QByteArray recipe(const QString &pieces)
{
    static const QRegularExpression repeat(uR"(^(\d+) × ([\s\S])$)"_s);
    QByteArray bytes;
    for (const QString &piece : pieces.split(u" + "_s)) {
        const QRegularExpressionMatch copies = repeat.match(piece);
        bytes += copies.hasMatch() ? QByteArray(copies.captured(1).toInt(),
                                                copies.captured(2).at(0).toLatin1())
                                   : piece.toLatin1();
    }
    return bytes;
}

// The bytes with each recipe A of the edits "A=>B && C=>D" made the recipe B, and so on.
inline QByteArray edited(QByteArray bytes, const QString &edits)
{
    for (const QString &edit : edits.split(u" && "_s, Qt::SkipEmptyParts))
        bytes.replace(recipe(edit.section(u"=>"_s, 0, 0)), recipe(edit.section(u"=>"_s, 1)));
    return bytes;
}

// A cell that holds "N × c" made the bytes of its recipe, as Latin-1; any other as it is.
inline QString expanded(const QString &cell)
{
    return cell.contains(u'×') ? QString::fromLatin1(recipe(cell)) : cell;
}

// Makes tables of tests/data the running function's rows: tab-separated, '#' for comments,
// \t \r \n \\, \xNN and \uNNNN for characters, a first line naming the columns, a first column
// naming the row. Each row is one QStringList "row" of the cells after its name.
inline void addFixtureRows(std::initializer_list<const char *> names)
{
    static const QHash<QChar, QChar> escaped{{u't', u'\t'}, {u'r', u'\r'}, {u'n', u'\n'}};
    QTest::addColumn<QStringList>("row");
    for (const char *name : names) {
        bool columnNames = true;
        for (const QString &line : QString::fromUtf8(readBytes(dataFile(name))).split(u'\n')) {
            if (line.isEmpty() || line.startsWith(u'#') || std::exchange(columnNames, false))
                continue;
            QStringList cells = line.split(u'\t');
            for (QString &cell : cells) {
                for (qsizetype at = cell.indexOf(u'\\'); at >= 0;
                     at = cell.indexOf(u'\\', at + 1)) {
                    const QChar next = cell.at(at + 1);
                    const int digits = next == u'x' ? 2 : next == u'u' ? 4 : 0;
                    cell.replace(at, 2 + digits,
                                 digits ? QChar(cell.mid(at + 2, digits).toUShort(nullptr, 16))
                                        : escaped.value(next, next));
                }
            }
            QTest::newRow(qPrintable(cells.first())) << cells.mid(1);
        }
    }
}

// The cells of the running row, as addFixtureRows made it.
template<size_t count> std::array<QString, count> cells()
{
    QFETCH(QStringList, row);
    std::array<QString, count> result;
    for (size_t index = 0; index < count; ++index)
        result[index] = row.value(qsizetype(index));
    return result;
}

// How much the peak of resident memory grows while the work runs, in KB. Windows keeps a
// peak that never starts anew: there only work that passes the old peak shows.
inline qint64 peakMemoryGrowth(const std::function<void()> &work)
{
#ifdef Q_OS_WIN
    PROCESS_MEMORY_COUNTERS before = {}, after = {};
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
    work();
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
    return qint64(after.PeakWorkingSetSize - before.PeakWorkingSetSize) / 1024;
#else
    const auto kilobytes = [](const char *field) {
        const QByteArray status = readBytes(QStringLiteral("/proc/self/status"));
        const qsizetype at = status.indexOf(field) + qstrlen(field);
        return status.mid(at, 20).trimmed().split(' ').first().toLongLong();
    };
    writeBytes(QStringLiteral("/proc/self/clear_refs"), "5"); // the peak starts anew
    const qint64 before = kilobytes("VmRSS:");
    work();
    return kilobytes("VmHWM:") - before;
#endif
}

// Makes a "fifo", a "device" (a null device of the test's own; root only) or a "folder".
inline bool makeSpecialFile(const QString &name, const QString &kind)
{
#ifdef Q_OS_WIN
    return kind == u"folder" && QDir().mkpath(name);
#else
    const QByteArray path = QFile::encodeName(name);
    QDir().mkpath(QFileInfo(name).path());
    if (kind == u"fifo")
        return mkfifo(path.constData(), 0600) == 0;
    if (kind == u"device")
        return mknod(path.constData(), S_IFCHR | 0600, makedev(1, 3)) == 0;
    return kind == u"folder" && mkdir(path.constData(), 0700) == 0;
#endif
}

// The reason the running row means nothing on Windows, or nothing.
inline QString unixOnlyReason()
{
#ifndef Q_OS_WIN
    return {};
#else
    if (const UINT codePage = GetACP(); codePage != 1252) // the tables' bytes are Windows-1252
        return u"The tests need the code page 1252; this system's is %1."_s.arg(codePage);
    const QString row = QLatin1StringView(QTest::currentTestFunction()) + u'/'
                        + QLatin1StringView(QTest::currentDataTag());
    for (const QString &line :
         QString::fromUtf8(readBytes(dataFile("unix-only.tsv"))).split(u'\n')) {
        const QString pattern = QRegularExpression::anchoredPattern(line.section(u'\t', 0, 0));
        if (!line.startsWith(u'#') && line.contains(u'\t')
            && QRegularExpression(pattern).match(row).hasMatch())
            return line.section(u'\t', 1);
    }
    return {};
#endif
}

#ifdef Q_OS_WIN
// Wine passes no variable whose name begins with QT_: tests/wine.sh passes each as TOLVANE_QT_...,
// taken back here before Qt starts.
inline const bool qtVariablesTakenBack = [] {
    const QStringList names = QProcessEnvironment::systemEnvironment().keys();
    for (const QString &name : names.filter(QRegularExpression(u"^TOLVANE_QT_"_s)))
        qputenv(qPrintable(name.mid(8)), qgetenv(qPrintable(name)));
    return true;
}();

#endif

} // namespace TestSupport
