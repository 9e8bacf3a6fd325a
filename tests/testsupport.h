#pragma once

// Fixtures and fault injection shared by the tests.

#include <QByteArray>
#include <QFile>
#include <QRect>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

#include <sys/mount.h>
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

// Makes a table's columns (all strings) and rows the test data of the running function.
inline void addFixtureRows(const char *name)
{
    static QList<QByteArray> columnNames; // QtTest keeps the pointers, not copies
    const QList<QStringList> rows = fixtureTable(name);
    for (const QString &column : rows.first().mid(1)) {
        columnNames << column.toLatin1();
        QTest::addColumn<QString>(columnNames.last().constData());
    }
    for (const QStringList &row : rows.mid(1)) {
        QTestData &data = QTest::newRow(row.first().toLatin1().constData());
        for (const QString &cell : row.mid(1))
            data << cell;
    }
}

// A table of window controls: each row whole, as the one column "row".
inline void addControlRows(const char *name)
{
    QTest::addColumn<QStringList>("row");
    for (const QStringList &row : fixtureTable(name).mid(1))
        QTest::newRow(qPrintable(row.at(0) + u' ' + row.at(1))) << row;
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

// Runs the function in a child process as the user nobody; its result comes back through
// the exit code. Lets a root test meet the permission checks that root itself skips.
inline bool runAsNobody(const std::function<bool()> &function)
{
    const pid_t child = fork();
    if (child == 0)
        _exit(setgid(65534) == 0 && setuid(65534) == 0 && function() ? 0 : 1);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
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
