#include "platform/nativepath.h"
#include "testsupport.h"

#include <QDir>
#include <QTest>

#include <pwd.h>

using namespace TestSupport;

class NativePathTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void mapping_data() { addFixtureRows("mapping.tsv"); }
    void mapping();
    void homeWithoutHomeVariable();

private:
    QTemporaryDir m_home;
};

void NativePathTest::initTestCase()
{
    // A home of the test's own: drive letters map into its Wine prefix.
    qputenv("HOME", QFile::encodeName(m_home.path()));
    QVERIFY(QDir::setCurrent(m_home.path()));
    for (const char *folder : {".wine/dosdevices/c:/Dynamix/Tribes/config", "games/Tribes/config",
                               "cases/Tribes", "cases/tribes", "cases/TRIBES"})
        QVERIFY(QDir().mkpath(QLatin1StringView(folder)));
    for (const char *file :
         {".wine/dosdevices/c:/Dynamix/Tribes/config/ServerPrefs.cs",
          "games/Tribes/config/ServerPrefs.cs", "games/Tribes/config/serverprefs.CS"})
        QVERIFY(writeBytes(QLatin1StringView(file), "x"));
}

void NativePathTest::mapping()
{
    QFETCH(QString, programName);
    QFETCH(QString, nativeName);
    QCOMPARE(Platform::nativeFileName(programName.replace(u"HOME"_qs, m_home.path())),
             nativeName.replace(u"HOME"_qs, m_home.path()));
}

void NativePathTest::homeWithoutHomeVariable()
{
    // The home folder then comes from the user database, not the root folder.
    const QString home = QFile::decodeName(getpwuid(getuid())->pw_dir);
    for (const bool unset : {true, false}) {
        unset ? qunsetenv("HOME") : qputenv("HOME", QByteArray());
        QCOMPARE(Platform::wineDriveFolder(u'C'), home + u"/.wine/dosdevices/c:"_qs);
        QVERIFY2(Platform::backupCopyName().startsWith(home + u'/'),
                 qPrintable(Platform::backupCopyName()));
    }
    qputenv("HOME", QFile::encodeName(m_home.path()));
}

QTEST_GUILESS_MAIN(NativePathTest)
#include "tst_nativepath.moc"
