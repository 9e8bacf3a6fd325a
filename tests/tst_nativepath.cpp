#include "platform/nativepath.h"
#include "testsupport.h"

#include <QDir>
#include <QTest>

using namespace TestSupport;

class NativePathTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void mapping_data();
    void mapping();

private:
    QTemporaryDir m_home;
};

void NativePathTest::initTestCase()
{
    // A home of our own: drive letters map into its Wine prefix.
    qputenv("HOME", QFile::encodeName(m_home.path()));
    QDir home(m_home.path());
    for (const char *folder :
         {".wine/dosdevices/c:/Dynamix/Tribes/config", "games/Tribes/config",
          "games/Tribes/base/Skins", "cases/Tribes", "cases/tribes", "cases/TRIBES"})
        QVERIFY(home.mkpath(QLatin1StringView(folder)));
    QVERIFY(writeBytes(
            home.filePath(u".wine/dosdevices/c:/Dynamix/Tribes/config/ServerPrefs.cs"_qs), "x"));
    QVERIFY(writeBytes(home.filePath(u"games/Tribes/config/ServerPrefs.cs"_qs), "x"));
    QVERIFY(writeBytes(home.filePath(u"games/Tribes/config/serverprefs.CS"_qs), "x"));
    QVERIFY(QDir::setCurrent(home.path()));
}

void NativePathTest::mapping_data()
{
    QTest::addColumn<QString>("programName");
    QTest::addColumn<QString>("nativeName"); // below the test's home unless it starts with "/"

    QTest::newRow("drive_letter") << u"C:\\Dynamix\\Tribes\\config\\serverprefs.cs"_qs
                                  << u".wine/dosdevices/c:/Dynamix/Tribes/config/ServerPrefs.cs"_qs;
    QTest::newRow("lower_case_drive")
            << u"c:\\dynamix\\tribes"_qs << u".wine/dosdevices/c:/Dynamix/Tribes"_qs;
    QTest::newRow("exact_case_first") << u"HOME/games/Tribes/config/serverprefs.CS"_qs
                                      << u"games/Tribes/config/serverprefs.CS"_qs;
    QTest::newRow("other_case") << u"HOME/games/tribes\\config\\serverprefs.cs"_qs
                                << u"games/Tribes/config/ServerPrefs.cs"_qs;
    QTest::newRow("first_variant_in_sorted_order") << u"HOME/cases/tRiBeS"_qs << u"cases/TRIBES"_qs;
    QTest::newRow("trailing_separator") << u"HOME/games/Tribes/\\config\\serverprefs.cs"_qs
                                        << u"games/Tribes/config/ServerPrefs.cs"_qs;
    QTest::newRow("backslash_before_config") << u"HOME/games/Tribes\\\\config\\serverprefs.cs"_qs
                                             << u"games/Tribes/config/ServerPrefs.cs"_qs;
    QTest::newRow("skins_folder") << u"HOME/games/Tribes\\base\\skins"_qs
                                  << u"games/Tribes/base/Skins"_qs;
    QTest::newRow("new_file_as_given")
            << u"HOME/games/tribes/config/New.CS"_qs << u"games/Tribes/config/New.CS"_qs;
    QTest::newRow("missing_folder_as_given")
            << u"HOME/GAMES/Gone/Config/x.cs"_qs << u"games/Gone/Config/x.cs"_qs;
    QTest::newRow("empty_game_folder")
            << u"\\config\\serverprefs.cs"_qs << u"/config/serverprefs.cs"_qs;
    QTest::newRow("root_as_game_folder")
            << u"/\\config\\serverprefs.cs"_qs << u"/config/serverprefs.cs"_qs;
    QTest::newRow("relative") << u"path.inf"_qs << u"path.inf"_qs;
    QTest::newRow("relative_other_case") << u"GAMES\\tribes"_qs << u"games/Tribes"_qs;
}

void NativePathTest::mapping()
{
    QFETCH(QString, programName);
    QFETCH(QString, nativeName);

    programName.replace(u"HOME"_qs, m_home.path());
    if (!nativeName.startsWith(u'/') && programName.startsWith(u'/'))
        nativeName = m_home.path() + u'/' + nativeName;
    if (programName.contains(u':'))
        nativeName = m_home.path() + u'/' + nativeName;
    QCOMPARE(Platform::nativeFileName(programName), nativeName);
}

QTEST_GUILESS_MAIN(NativePathTest)
#include "tst_nativepath.moc"
