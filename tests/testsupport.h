#pragma once

// Fixtures and fault injection shared by the tests.

#include <QFile>
#include <QRect>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

#include <grp.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
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
            QString text;
            for (qsizetype at = 0; at < cell.size(); ++at) {
                const QChar next = at + 1 < cell.size() ? cell.at(at + 1) : QChar();
                if (cell.at(at) != u'\\') {
                    text += cell.at(at);
                } else if (next == u'x') {
                    text += QChar(cell.mid(at + 2, 2).toUShort(nullptr, 16));
                    at += 3;
                } else {
                    text += next == u't'   ? u'\t'
                            : next == u'r' ? u'\r'
                            : next == u'n' ? u'\n'
                                           : next;
                    ++at;
                }
            }
            cell = text;
        }
        rows << cells;
    }
    return rows;
}

// Makes a table's columns (all strings) and rows the test data of the running function;
// with wholeRows, each row is one QStringList column "row" instead.
inline void addFixtureRows(const char *name, bool wholeRows = false)
{
    static QList<QByteArray> columnNames; // QtTest keeps the pointers, not copies
    const QList<QStringList> rows = fixtureTable(name);
    if (wholeRows)
        QTest::addColumn<QStringList>("row");
    for (const QString &column : rows.first().mid(1)) {
        columnNames << column.toLatin1();
        if (!wholeRows)
            QTest::addColumn<QString>(columnNames.last().constData());
    }
    for (const QStringList &row : rows.mid(1)) {
        QTestData &data = QTest::newRow(
                qPrintable(wholeRows ? row.first() + u'/' + row.value(1) : row.first()));
        if (wholeRows)
            data << row;
        for (const QString &cell : row.mid(1))
            if (!wholeRows)
                data << cell;
    }
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

// Resident memory in KB: "VmRSS:" now, "VmHWM:" its peak since resetPeakMemory().
inline qint64 memoryKilobytes(const char *field)
{
    const QByteArray status = readBytes(QStringLiteral("/proc/self/status"));
    const qsizetype at = status.indexOf(field);
    return status.mid(at + qstrlen(field), 20).trimmed().split(' ').first().toLongLong();
}

inline qint64 resetPeakMemory()
{
    writeBytes(QStringLiteral("/proc/self/clear_refs"), "5");
    return memoryKilobytes("VmRSS:");
}

// Runs the function in a child process as user uid, group gid, also in group extraGroup
// (root only; numeric ids need no accounts). Its text comes back through a pipe.
inline QString runAsUser(uid_t uid, gid_t gid, gid_t extraGroup,
                         const std::function<QString()> &function)
{
    int channel[2];
    if (pipe(channel) != 0)
        return QStringLiteral("<no pipe>");
    if (fork() == 0) {
        const bool changed = setgroups(1, &extraGroup) == 0 && setgid(gid) == 0 && setuid(uid) == 0;
        const QByteArray text = changed ? function().toUtf8() : QByteArray("<no such user>");
        _exit(write(channel[1], text.constData(), size_t(text.size())) == text.size() ? 0 : 1);
    }
    close(channel[1]);
    QFile reader;
    reader.open(channel[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    const QString text = QString::fromUtf8(reader.readAll());
    wait(nullptr);
    return text;
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

// A small tmpfs on a folder for the life of the object (root only): it really fills up, and
// can really be made read-only.
class TmpfsMount
{
public:
    TmpfsMount(const QString &folder, const char *size)
        : m_folder(QFile::encodeName(folder))
        , m_mounted(::mount("tmpfs", m_folder.constData(), "tmpfs", 0,
                            QByteArray("size=").append(size).constData())
                    == 0)
    {}
    ~TmpfsMount()
    {
        if (m_mounted)
            ::umount2(m_folder.constData(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }
    bool makeReadOnly()
    {
        return ::mount("tmpfs", m_folder.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr)
               == 0;
    }

private:
    QByteArray m_folder;
    bool m_mounted;
};

} // namespace TestSupport
