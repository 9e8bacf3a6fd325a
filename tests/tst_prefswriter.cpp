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
    void unstorable_data();
    void unstorable();
    void refusedTargets_data();
    void refusedTargets();
    void asAnotherUser_data();
    void asAnotherUser();
    void keepsModeOwnerAndLink();
};

static QString write(const QString &name, const QStringList &texts)
{
    return Prefs::writePrefsText(name, Prefs::formatPrefsText(texts));
}

void PrefsWriterTest::bytes_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("size");
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<QByteArray>("tail");

    QStringList texts(54);
    QTest::newRow("all_empty") << texts << 1471 << QByteArray("$Server::Address = \"\";\r\n$Se")
                               << QByteArray("$pref::LastMission = \"\";\r\n\r\n");
    texts[0] = u"abc"_qs;
    texts[1] = u"1"_qs;
    texts[53] = u"abc"_qs;
    QTest::newRow("worked_example")
            << texts << 1478
            << QByteArray::fromHex("24 53 65 72 76 65 72 3A 3A 41 64 64 72 65 73 73 20 3D 20 22"
                                   "61 62 63 22 3B 0D 0A 24 53 65 72 76 65 72 3A 3A 41 75 74 6F"
                                   "41 73 73 69 67 6E 54 65 61 6D 73 20 3D 20 22 31 22 3B 0D 0A")
            << QByteArray::fromHex("24 70 72 65 66 3A 3A 4C 61 73 74 4D 69 73 73 69 6F 6E 20 3D"
                                   "20 22 61 62 63 22 3B 0D 0A 0D 0A");
    // Every tag, the misspelled ones included, and every kind of value, byte for byte.
    QTest::newRow("golden") << goldenValues() << 1807 << readBytes(dataFile("golden54.cs"))
                            << QByteArray();
}

void PrefsWriterTest::bytes()
{
    QFETCH(QStringList, texts);
    QFETCH(int, size);
    QFETCH(QByteArray, head);
    QFETCH(QByteArray, tail);

    QTemporaryDir dir;
    const QString name = dir.filePath(u"serverprefs.cs"_qs);
    QCOMPARE(write(name, texts), QString());
    const QByteArray written = readBytes(name);
    QCOMPARE(written.size(), size);
    QCOMPARE(written.left(head.size()), head);
    QCOMPARE(written.right(tail.size()), tail);
}

void PrefsWriterTest::unstorable_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("where");

    const QString lineBreak = u"a line break, shown as a space"_qs;
    const QString hostName = u"\"Host Name\" (line 5, $Server::HostName)"_qs;
    QTest::newRow("line_feed") << 4 << u"Host\nName"_qs << lineBreak << hostName;
    QTest::newRow("carriage_return") << 53 << u"Raindance\r"_qs << lineBreak
                                     << u"\"Last Mission Played\" (line 54, $pref::LastMission)"_qs;
    QTest::newRow("outside_code_page")
            << 4 << u"Host \u0141ukasz"_qs << u"\"\u0141\", which"_qs << hostName;
    QTest::newRow("surrogate_pair") << 30 << u"\U0001F600"_qs << u"\"\U0001F600\""_qs
                                    << u"\"Team 5\" (line 31, $Sever::teamName5)"_qs;
    QTest::newRow("over_field_limit")
            << 7 << QString(32768, u'm') << u"32768 characters"_qs
            << u"\"Message Of The Day\" (line 8, $Server::JoinMOTD)"_qs;
}

void PrefsWriterTest::unstorable()
{
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(QString, reason);
    QFETCH(QString, where);

    QStringList texts = goldenValues();
    QCOMPARE(Prefs::checkStorable(texts), QString());
    texts[field] = text;
    int named = -1;
    const QString error = Prefs::checkStorable(texts, &named);
    QVERIFY2(error.contains(reason) && error.contains(where), qPrintable(error));
    QCOMPARE(named, field);
}

void PrefsWriterTest::refusedTargets_data()
{
    QTest::addColumn<QString>("kind"); // of the file, or of the file a link leads to
    QTest::addColumn<bool>("throughLink");
    QTest::addColumn<QString>("reason");

    QTest::newRow("fifo") << u"fifo"_qs << false << u"it is a named pipe"_qs;
    QTest::newRow("link_to_device") << u"device"_qs << true << u"it is a device"_qs;
    QTest::newRow("folder") << u"folder"_qs << false << u"it is a folder"_qs;
    QTest::newRow("nul_in_name") << QString() << false << u"NUL character"_qs;
}

void PrefsWriterTest::refusedTargets()
{
    QFETCH(QString, kind);
    QFETCH(bool, throughLink);
    QFETCH(QString, reason);

    if (kind == u"device"_qs && !isRoot())
        QSKIP("Only root makes a device.");
    QTemporaryDir dir;
    const QString target = dir.filePath(u"target"_qs);
    QString name = throughLink ? dir.filePath(u"serverprefs.cs"_qs) : target;
    if (kind.isEmpty())
        name += QChar(u'\0') + u"x"_qs;
    else
        QVERIFY(makeSpecialFile(target, kind));
    if (throughLink)
        QVERIFY(QFile::link(target, name));
    struct stat before = {};
    ::lstat(QFile::encodeName(target).constData(), &before);
    const QString error = write(name, goldenValues());
    QVERIFY2(error.contains(reason), qPrintable(error));
    struct stat after = {};
    ::lstat(QFile::encodeName(target).constData(), &after);
    QCOMPARE(after.st_mode, before.st_mode); // still what it was: nothing was replaced
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size(),
             kind.isEmpty() ? 0 : throughLink ? 2 : 1);
}

// The game's account 2000 owns the folder and the file; the admin 2001 is in its group 3000.
void PrefsWriterTest::asAnotherUser_data()
{
    QTest::addColumn<uint>("folderMode");
    QTest::addColumn<uint>("fileOwner");
    QTest::addColumn<bool>("secondLink");
    QTest::addColumn<bool>("fullDisk");
    QTest::addColumn<bool>("replaced"); // a new file in its place, rather than written into
    QTest::addColumn<QString>("error");

    QTest::newRow("set_group_id_folder") << 02775u << 2000u << false << false << false << QString();
    QTest::newRow("group_folder") << 0775u << 2000u << false << false << false << QString();
    QTest::newRow("own_file") << 0775u << 2001u << false << false << true << QString();
    QTest::newRow("second_link") << 0775u << 2001u << true << false << false << QString();
    QTest::newRow("closed_folder") << 0555u << 2001u << false << false << false << QString();
    QTest::newRow("closed_folder_full_disk")
            << 0555u << 2001u << false << true << false << u"No space left on device"_qs;
}

void PrefsWriterTest::asAnotherUser()
{
    QFETCH(uint, folderMode);
    QFETCH(uint, fileOwner);
    QFETCH(bool, secondLink);
    QFETCH(bool, fullDisk);
    QFETCH(bool, replaced);
    QFETCH(QString, error);

    if (!isRoot())
        QSKIP("Only root can play the game's account and an admin.");
    QTemporaryDir dir;
    QVERIFY(QFile::setPermissions(dir.path(), QFile::Permissions(0x7755)));
    const QString folder = dir.filePath(u"config"_qs);
    QVERIFY(QDir().mkdir(folder));
    std::optional<TmpfsMount> mount;
    if (fullDisk) {
        mount.emplace(folder, "64k");
        QVERIFY(mount->mounted());
        QVERIFY(writeBytes(folder + u"/filler"_qs, QByteArray(60 * 1024, 'f')));
    }
    const QByteArray folderName = QFile::encodeName(folder);
    const QString name = folder + u"/ServerPrefs.cs"_qs;
    const QByteArray fileName = QFile::encodeName(name);
    const QByteArray old = numberedLines(54).left(3000);
    QVERIFY(writeBytes(name, old));
    QVERIFY(::chown(fileName.constData(), fileOwner, 3000) == 0 && ::chmod(fileName.constData(), 0664) == 0);
    if (secondLink)
        QVERIFY(::link(fileName.constData(), (folderName + "/shared.cs").constData()) == 0);
    QVERIFY(::chown(folderName.constData(), 2000, 3000) == 0);
    QVERIFY(::chmod(folderName.constData(), folderMode) == 0);
    struct stat before = {};
    QVERIFY(::stat(fileName.constData(), &before) == 0);

    // Read here, where the admin may not reach the fixtures. The new file needs more room
    // than the old one: a second page.
    QStringList texts = goldenValues();
    texts[7] = QString(5000, u'm');
    const QByteArray expected = readBytes(dataFile("golden54.cs"))
                                        .replace(goldenValues().at(7).toUtf8(), QByteArray(5000, 'm'));
    const QString written = runAsUser(2001, 2001, 3000, [&] { return write(name, texts); });
    QVERIFY2(error.isEmpty() ? written.isEmpty() : written.contains(error), qPrintable(written));
    struct stat after = {};
    QVERIFY(::stat(fileName.constData(), &after) == 0);
    QCOMPARE(readBytes(name), error.isEmpty() ? expected : old);
    QCOMPARE(after.st_ino != before.st_ino, replaced);
    QCOMPARE(after.st_uid, before.st_uid);
    QCOMPARE(after.st_gid, 3000u);
    QCOMPARE(after.st_mode & 07777, 0664u);
    if (secondLink)
        QCOMPARE(readBytes(folder + u"/shared.cs"_qs), readBytes(name));
    QVERIFY(::chmod(folderName.constData(), 0700) == 0);
}

void PrefsWriterTest::keepsModeOwnerAndLink()
{
    QTemporaryDir dir;
    const QString target = dir.filePath(u"real.cs"_qs);
    const QString link = dir.filePath(u"serverprefs.cs"_qs);
    QVERIFY(writeBytes(target, "old\r\n"));
    QVERIFY(QFile::link(target, link));
    QVERIFY(::chmod(QFile::encodeName(target).constData(), 0640) == 0);
    if (isRoot())
        QVERIFY(::chown(QFile::encodeName(target).constData(), 65534, 65534) == 0);
    QCOMPARE(write(link, goldenValues()), QString());
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(readBytes(target), readBytes(dataFile("golden54.cs")));
    struct stat written = {};
    QVERIFY(::stat(QFile::encodeName(target).constData(), &written) == 0);
    QCOMPARE(written.st_mode & 0777, 0640u);
    QCOMPARE(written.st_uid, isRoot() ? 65534u : geteuid());
}

QTEST_GUILESS_MAIN(PrefsWriterTest)
#include "tst_prefswriter.moc"
