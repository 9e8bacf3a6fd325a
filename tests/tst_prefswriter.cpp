#include "prefs/prefswriter.h"
#include "testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <sys/stat.h>

using namespace TestSupport;

class PrefsWriterTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bytes_data();
    void bytes();
    void tags_data();
    void tags();
    void goldenFile();
    void unstorableCharacter();
    void failedWriteKeepsOldFile_data();
    void failedWriteKeepsOldFile();
    void writableFileInClosedFolder();
    void keepsModeOwnerAndLink();
};

static QStringList emptyTexts()
{
    return QStringList(54, QString());
}

static QString writtenFile(QTemporaryDir &dir, const QStringList &texts)
{
    const QString name = dir.filePath(QStringLiteral("serverprefs.cs"));
    const QString error = Prefs::writePrefsText(name, Prefs::formatPrefsText(texts));
    return error.isEmpty() ? name : QString();
}

void PrefsWriterTest::bytes_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("fileSize");
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<QByteArray>("tail");

    QTest::newRow("all_empty") << 0 << QString() << 1471
                               << QByteArray("$Server::Address = \"\";\r\n$Server::AutoAssignTeams")
                               << QByteArray("$pref::LastMission = \"\";\r\n\r\n");
    QTest::newRow("abc_in_last_field")
            << 54 << u"abc"_qs << 1474 << QByteArray("$Server::Address = \"\";\r\n")
            << QByteArray::fromHex(
                       "24707265663A3A4C6173744D697373696F6E203D2022616263223B0D0A0D0A");
    QTest::newRow("quotes_and_blanks_kept")
            << 5 << u" a \"b\"; c "_qs << 1481 << QByteArray("$Server::Address")
            << QByteArray("\r\n\r\n");
}

void PrefsWriterTest::bytes()
{
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(int, fileSize);
    QFETCH(QByteArray, head);
    QFETCH(QByteArray, tail);

    QStringList texts = emptyTexts();
    if (field > 0)
        texts[field - 1] = text;
    QTemporaryDir dir;
    const QByteArray written = readBytes(writtenFile(dir, texts));
    QCOMPARE(written.size(), fileSize);
    QVERIFY(written.startsWith(head));
    QVERIFY(written.endsWith(tail));
    if (field > 0)
        QVERIFY(written.contains(text.toLatin1() + "\";\r\n"));
}

void PrefsWriterTest::tags_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QByteArray>("tag");

    QTest::newRow("3") << 3 << QByteArray("$Server::CurrentMaster =\"");
    QTest::newRow("4") << 4 << QByteArray("$Server::FloodProtectionEnabled =\"");
    QTest::newRow("9") << 9 << QByteArray("$server::Master1 = \"");
    for (int team = 0; team < 8; ++team)
        QTest::addRow("%d", 26 + team)
                << 26 + team << QByteArray("$Sever::teamName") + QByteArray::number(team) + " = \"";
    QTest::newRow("54") << 54 << QByteArray("$pref::LastMission = \"");
}

void PrefsWriterTest::tags()
{
    QFETCH(int, line);
    QFETCH(QByteArray, tag);

    QStringList texts = emptyTexts();
    texts[line - 1] = u"x"_qs;
    const QList<QByteArray> lines = Prefs::formatPrefsText(texts).toLatin1().split('\n');
    QCOMPARE(lines.at(line - 1), tag + "x\";\r");
}

void PrefsWriterTest::goldenFile()
{
    QTemporaryDir dir;
    QCOMPARE(readBytes(writtenFile(dir, goldenValues())), readBytes(dataFile("golden54.cs")));
    // The worked example: abc in field 1 and 1 in field 2 give these 60 bytes.
    QStringList texts = emptyTexts();
    texts[0] = u"abc"_qs;
    texts[1] = u"1"_qs;
    QCOMPARE(Prefs::formatPrefsText(texts).toLatin1().left(60),
             QByteArray::fromHex("24 53 65 72 76 65 72 3A 3A 41 64 64 72 65 73 73 20 3D 20 22"
                                 "61 62 63 22 3B 0D 0A"
                                 "24 53 65 72 76 65 72 3A 3A 41 75 74 6F 41 73 73 69 67 6E 54"
                                 "65 61 6D 73 20 3D 20 22 31 22 3B 0D 0A"));
}

void PrefsWriterTest::unstorableCharacter()
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("serverprefs.cs"));
    QVERIFY(writeBytes(name, "old\r\n"));
    QStringList texts = emptyTexts();
    texts[4] = u"Host \u0141ukasz"_qs;
    texts[30] = u"\U0001F600"_qs;
    const QString error = Prefs::checkStorable(texts);
    QVERIFY2(error.contains(u"\"Host Name\" (line 5, $Server::HostName)"), qPrintable(error));
    QVERIFY(error.contains(u"\u0141"));
    texts[4].clear();
    QVERIFY(Prefs::checkStorable(texts).contains(u"\U0001F600"_qs));
    QVERIFY(Prefs::checkStorable(goldenValues()).isEmpty());
    // Even a caller that skips the check gets an error and an untouched file.
    QVERIFY(!Prefs::writePrefsText(name, Prefs::formatPrefsText(texts)).isEmpty());
    QCOMPARE(readBytes(name), QByteArray("old\r\n"));
}

enum class Fault { MissingFolder, ReadOnlyFileSystem, FullFileSystem, NoPermission };

void PrefsWriterTest::failedWriteKeepsOldFile_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("reason");

    QTest::newRow("missing_folder") << Fault::MissingFolder << u"No such file"_qs;
    QTest::newRow("read_only_file_system") << Fault::ReadOnlyFileSystem << u"Read-only"_qs;
    QTest::newRow("full_file_system") << Fault::FullFileSystem << u"space"_qs;
    QTest::newRow("folder_and_file_not_writable") << Fault::NoPermission << u"ermission"_qs;
}

void PrefsWriterTest::failedWriteKeepsOldFile()
{
    QFETCH(Fault, fault);
    QFETCH(QString, reason);

    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("config"));
    QVERIFY(QDir().mkpath(folder));
    const QString name = folder + u"/serverprefs.cs"_qs;
    const QByteArray old = readBytes(dataFile("golden54.cs"));
    // Large enough that it cannot fit where the old file already takes half the room.
    QStringList texts = emptyTexts();
    for (QString &text : texts)
        text = QString(2000, u'x');
    const QString prefsText = Prefs::formatPrefsText(texts);

    TmpfsMount mount(folder, "96k");
    if (fault == Fault::ReadOnlyFileSystem || fault == Fault::FullFileSystem) {
        if (!mount.mounted())
            QSKIP("Needs root to mount a small file system.");
    }
    if (fault != Fault::MissingFolder)
        QVERIFY(writeBytes(name, old));
    if (fault == Fault::ReadOnlyFileSystem)
        QVERIFY(mount.makeReadOnly());
    if (fault == Fault::FullFileSystem)
        QVERIFY(writeBytes(folder + u"/filler"_qs, QByteArray(40 * 1024, 'f')));

    const QString target
            = fault == Fault::MissingFolder ? dir.filePath(u"gone/serverprefs.cs"_qs) : name;
    if (fault == Fault::NoPermission) {
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner
                                                          | QFile::ExeOwner | QFile::ExeOther));
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther
                                                      | QFile::ExeOther));
        QVERIFY(QFile::setPermissions(name, QFile::ReadOwner | QFile::ReadOther));
        const auto attempt = [&] {
            const QString error = Prefs::writePrefsText(target, prefsText);
            return error.contains(reason) && error.contains(name) && readBytes(name) == old;
        };
        QVERIFY(isRoot() ? runAsNobody(attempt) : attempt());
        QVERIFY(QFile::setPermissions(folder,
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        return;
    }
    const QString error = Prefs::writePrefsText(target, prefsText);
    QVERIFY2(error.contains(reason), qPrintable(error));
    QVERIFY(error.contains(u"Cannot write \""_qs + target + u"\": "_qs));
    if (fault != Fault::MissingFolder)
        QCOMPARE(readBytes(name), old);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(),
             fault == Fault::MissingFolder    ? 0
             : fault == Fault::FullFileSystem ? 2
                                              : 1);
}

void PrefsWriterTest::writableFileInClosedFolder()
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("serverprefs.cs"));
    QVERIFY(writeBytes(name, "old\r\n"));
    const auto all = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther | QFile::WriteOther;
    QVERIFY(QFile::setPermissions(name, all));
    QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther
                                                      | QFile::ExeOther));
    const QString prefsText = Prefs::formatPrefsText(goldenValues());
    const auto attempt = [&] {
        // The fault first: this user may not create a file in the folder.
        QFile probe(dir.filePath(QStringLiteral("probe")));
        return !probe.open(QIODevice::WriteOnly)
               && Prefs::writePrefsText(name, prefsText).isEmpty();
    };
    QVERIFY(isRoot() ? runAsNobody(attempt) : attempt());
    QCOMPARE(readBytes(name), readBytes(dataFile("golden54.cs")));
    QVERIFY(QFile::setPermissions(dir.path(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

void PrefsWriterTest::keepsModeOwnerAndLink()
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("real.cs"));
    const QString link = dir.filePath(QStringLiteral("serverprefs.cs"));
    QVERIFY(writeBytes(target, "old\r\n"));
    QVERIFY(QFile::link(target, link));
    QVERIFY(::chmod(QFile::encodeName(target).constData(), 0640) == 0);
    if (isRoot())
        QVERIFY(::chown(QFile::encodeName(target).constData(), 65534, 65534) == 0);

    QCOMPARE(Prefs::writePrefsText(link, Prefs::formatPrefsText(goldenValues())), QString());

    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(readBytes(target), readBytes(dataFile("golden54.cs")));
    struct stat written = {};
    QVERIFY(::stat(QFile::encodeName(target).constData(), &written) == 0);
    QCOMPARE(written.st_mode & 0777, 0640u);
    if (isRoot())
        QCOMPARE(written.st_uid, 65534u);
}

QTEST_GUILESS_MAIN(PrefsWriterTest)
#include "tst_prefswriter.moc"
