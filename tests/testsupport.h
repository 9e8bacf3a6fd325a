#pragma once

// Fixtures and fault injection shared by the tests.

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

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

// The values held by tests/data/golden54.cs, typed from that file, line by line.
inline QStringList goldenValues()
{
    return {
            u"IP:192.168.1.10:28001"_qs,
            u"1"_qs,
            u"0"_qs,
            u"true"_qs,
            u"  Kaffee \"Haus\"; Duel  "_qs,
            u"true"_qs,
            u"Caf\u00e9 rules: no spawn camping \u20ac 5"_qs,
            u"<jc><f1>Welcome!"_qs,
            u"t1m1.masters.example:28000"_qs,
            u""_qs,
            u"IP:10.0.0.1:28000"_qs,
            u""_qs,
            u"n1"_qs,
            u"n2"_qs,
            u"Main"_qs,
            u"Backup"_qs,
            u"Third"_qs,
            u"sixteen"_qs,
            u"1"_qs,
            u"0.5"_qs,
            u"45"_qs,
            u"3"_qs,
            u"28001"_qs,
            u"2"_qs,
            u"0.1"_qs,
            u"Blood Eagle"_qs,
            u"Diamond Sword"_qs,
            u"Starwolf"_qs,
            u"Children of the Phoenix"_qs,
            u"Team 4"_qs,
            u"Team 5"_qs,
            u"Team 6"_qs,
            u"Team 7"_qs,
            u"beagle"_qs,
            u"dsword"_qs,
            u"swolf"_qs,
            u"cphoenix"_qs,
            u"base"_qs,
            u"base"_qs,
            u"base"_qs,
            u"base"_qs,
            u"25"_qs,
            u"false"_qs,
            u"0.8"_qs,
            u"30"_qs,
            u"0.55"_qs,
            u"20"_qs,
            u"20"_qs,
            u""_qs,
            u""_qs,
            u""_qs,
            u""_qs,
            u""_qs,
            u"Raindance"_qs,
    };
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

inline bool isRoot()
{
    return geteuid() == 0;
}

// Runs the function in a child process as the user nobody; its result comes back through
// the exit code. Lets a root test meet the permission checks that root itself skips.
inline bool runAsNobody(const std::function<bool()> &function)
{
    const pid_t child = fork();
    if (child == 0) {
        const bool ok = setgid(65534) == 0 && setuid(65534) == 0 && function();
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A small tmpfs mounted on a folder for the life of the object (root only): it fills up
// for real and can be made read-only for real.
class TmpfsMount
{
public:
    TmpfsMount(const QString &folder, const char *size)
        : m_folder(QFile::encodeName(folder))
    {
        m_mounted = ::mount("tmpfs", m_folder.constData(), "tmpfs", 0,
                            QByteArray("size=").append(size).constData())
                    == 0;
    }
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
    bool m_mounted = false;
};

} // namespace TestSupport
