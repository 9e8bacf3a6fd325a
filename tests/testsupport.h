#pragma once

// Fixtures shared by the tests: files, the tables in tests/data, memory, special files.

#include <QtTest>

#include <functional>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace TestSupport {

inline QByteArray readBytes(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline bool writeBytes(const QString &name, const QByteArray &bytes)
{
    QFile file(name);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
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

// A file of lines "$Test::vN = "valueN";" for N = 1..count, each ended by lineEnd.
inline QByteArray numberedLines(int count, const QByteArray &lineEnd = "\r\n")
{
    QByteArray bytes;
    for (int line = 1; line <= count; ++line)
        bytes += "$Test::v" + QByteArray::number(line) + " = \"value" + QByteArray::number(line)
                 + "\";" + lineEnd;
    return bytes;
}

// A table in tests/data: tab-separated, '#' for comments, the first line naming the columns
// and the first column naming the row. \t \r \n \\ and \xNN stand for characters.
inline QList<QStringList> fixtureTable(const char *name)
{
    QList<QStringList> rows;
    for (const QString &line : QString::fromUtf8(readBytes(dataFile(name))).split(u'\n')) {
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        QStringList cells = line.split(u'\t');
        for (QString &cell : cells) {
            for (qsizetype at = cell.indexOf(u'\\'); at >= 0; at = cell.indexOf(u'\\', at + 1)) {
                const QChar next = cell.at(at + 1);
                const bool hex = next == u'x';
                const QChar meant = hex ? QChar(cell.mid(at + 2, 2).toUShort(nullptr, 16))
                                    : next == u't' ? QChar(u'\t')
                                    : next == u'r' ? QChar(u'\r')
                                    : next == u'n' ? QChar(u'\n')
                                                   : next;
                cell.replace(at, hex ? 4 : 2, meant);
            }
        }
        rows << cells;
    }
    return rows;
}

// Makes a table's rows the test data of the running function, each as one QStringList
// column "row": its cells after the first, which names it. A table whose first column is
// not "row" keeps all its cells, and its rows are named by their first two.
inline void addFixtureRows(const char *name)
{
    const QList<QStringList> rows = fixtureTable(name);
    const bool named = rows.first().first() == QStringLiteral("row");
    QTest::addColumn<QStringList>("row");
    for (const QStringList &row : rows.mid(1)) {
        const QString tag = named ? row.first() : row.first() + u'/' + row.at(1);
        QTest::newRow(qPrintable(tag)) << (named ? row.mid(1) : row);
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

// The place of a control from its row's four twips columns, in device-independent pixels.
inline QRect twipsRect(const QStringList &row, int first)
{
    return {row.at(first).toInt() / 15, row.at(first + 1).toInt() / 15,
            row.at(first + 2).toInt() / 15, row.at(first + 3).toInt() / 15};
}

inline bool isRoot()
{
    return geteuid() == 0;
}

// How much the peak of resident memory grows while the work runs, in KB.
inline qint64 peakMemoryGrowth(const std::function<void()> &work)
{
    const auto kilobytes = [](const char *field) {
        const QByteArray status = readBytes(QStringLiteral("/proc/self/status"));
        const qsizetype at = status.indexOf(field) + qstrlen(field);
        return status.mid(at, 20).trimmed().split(' ').first().toLongLong();
    };
    writeBytes(QStringLiteral("/proc/self/clear_refs"), "5"); // the peak starts anew
    const qint64 before = kilobytes("VmRSS:");
    work();
    return kilobytes("VmHWM:") - before;
}

// Makes a file that is no regular file: "fifo", "device" (a null device of the test's
// own; root only) or "folder". False when it could not be made.
inline bool makeSpecialFile(const QString &name, const QString &kind)
{
    const QByteArray path = QFile::encodeName(name);
    if (kind == u"fifo")
        return mkfifo(path.constData(), 0600) == 0;
    if (kind == u"device")
        return mknod(path.constData(), S_IFCHR | 0600, makedev(1, 3)) == 0;
    return kind == u"folder" && mkdir(path.constData(), 0700) == 0;
}

} // namespace TestSupport
