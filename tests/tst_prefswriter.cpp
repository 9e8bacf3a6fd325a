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
    void unstorableCharacter();
    void writableFileInClosedFolder();
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

void PrefsWriterTest::unstorableCharacter()
{
    QTemporaryDir dir;
    const QString name = dir.filePath(u"serverprefs.cs"_qs);
    QVERIFY(writeBytes(name, "old\r\n"));
    QStringList texts(54);
    texts[4] = u"Host \u0141ukasz"_qs;
    texts[30] = u"\U0001F600"_qs;
    const QString error = Prefs::checkStorable(texts);
    QVERIFY2(error.contains(u"\"Host Name\" (line 5, $Server::HostName)"_qs), qPrintable(error));
    QVERIFY(error.contains(u"\u0141"_qs));
    texts[4].clear();
    QVERIFY(Prefs::checkStorable(texts).contains(u"\U0001F600"_qs));
    QCOMPARE(Prefs::checkStorable(goldenValues()), QString());
    // Even a caller that skips the check gets an error and an untouched file.
    QVERIFY(!write(name, texts).isEmpty());
    QCOMPARE(readBytes(name), QByteArray("old\r\n"));
}

// QFile::Permissions below are hex digits per owner, user, group, other: 4 read, 2 write, 1 exec.
void PrefsWriterTest::writableFileInClosedFolder()
{
    QTemporaryDir dir;
    const QString name = dir.filePath(u"serverprefs.cs"_qs);
    QVERIFY(writeBytes(name, "old\r\n"));
    QVERIFY(QFile::setPermissions(name, QFile::Permissions(0x6666)));
    QVERIFY(QFile::setPermissions(dir.path(), QFile::Permissions(0x5555)));
    const QStringList texts = goldenValues(); // read here: nobody may not reach the fixtures
    const auto attempt = [&] {
        // The fault first: this user may not make a file in the folder.
        QFile probe(dir.filePath(u"probe"_qs));
        return !probe.open(QIODevice::WriteOnly) && write(name, texts).isEmpty();
    };
    QVERIFY(isRoot() ? runAsNobody(attempt) : attempt());
    QCOMPARE(readBytes(name), readBytes(dataFile("golden54.cs")));
    QVERIFY(QFile::setPermissions(dir.path(), QFile::Permissions(0x7700)));
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
