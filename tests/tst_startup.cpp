#include "app/loadstep.h"
#include "gamedir/pathstore.h"
#include "platform/nativepath.h"
#include "prefs/prefsreader.h"
#include "testsupport.h"

#include <QDir>
#include <QTest>

using namespace TestSupport;

class StartupTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void readPathStore_data();
    void readPathStore();
    void writePathStore_data();
    void writePathStore();
    void loadStep_data();
    void loadStep();

private:
    std::unique_ptr<QTemporaryDir> m_workingFolder;
};

void StartupTest::init()
{
    m_workingFolder = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(m_workingFolder->path()));
}

void StartupTest::readPathStore_data()
{
    QTest::addColumn<QByteArray>("content"); // "<none>" for no file at all
    QTest::addColumn<bool>("hasLine");
    QTest::addColumn<QString>("path");

    QTest::newRow("missing") << QByteArray("<none>") << false << QString();
    QTest::newRow("zero_bytes") << QByteArray() << false << QString();
    QTest::newRow("empty_first_line") << QByteArray("\r\n") << true << QString();
    QTest::newRow("several_lines") << QByteArray("C:\\Dynamix\\Tribes\r\nD:\\Other\r\n") << true
                                   << u"C:\\Dynamix\\Tribes"_qs;
    QTest::newRow("no_line_end") << QByteArray("/srv/tribes") << true << u"/srv/tribes"_qs;
    QTest::newRow("trailing_backslash")
            << QByteArray("C:\\Tribes\\\r\n") << true << u"C:\\Tribes\\"_qs;
    QTest::newRow("blanks_kept") << QByteArray(" C:\\Tribes \r\n") << true << u" C:\\Tribes "_qs;
    QTest::newRow("lf_only") << QByteArray("/srv/tribes\n/other\n") << true << u"/srv/tribes"_qs;
    QTest::newRow("utf8") << QByteArray("/home/\xc5\x82ukasz/tribes\r\n") << true
                          << u"/home/\u0142ukasz/tribes"_qs;
}

void StartupTest::readPathStore()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, hasLine);
    QFETCH(QString, path);

    if (content != "<none>")
        QVERIFY(writeBytes(u"path.inf"_qs, content));
    const std::optional<QString> stored = GameDir::readPathStore();
    QCOMPARE(stored.has_value(), hasLine);
    if (hasLine)
        QCOMPARE(*stored, path);
}

void StartupTest::writePathStore_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("windows") << u"C:\\Dynamix\\Tribes"_qs << QByteArray("C:\\Dynamix\\Tribes\r\n");
    QTest::newRow("empty") << QString() << QByteArray("\r\n");
    QTest::newRow("utf8") << u"/home/\u0142ukasz/tribes "_qs
                          << QByteArray("/home/\xc5\x82ukasz/tribes \r\n");
}

void StartupTest::writePathStore()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, bytes);

    QVERIFY(writeBytes(u"path.inf"_qs, "old\r\nlines\r\n"));
    QCOMPARE(GameDir::writePathStore(path), QString());
    QCOMPARE(readBytes(u"path.inf"_qs), bytes);
    QCOMPARE(GameDir::readPathStore(), std::optional<QString>(path));
}

void StartupTest::loadStep_data()
{
    QTest::addColumn<QByteArray>("pathStore"); // "<none>" for no path.inf; GAME for the game
    QTest::addColumn<int>("prefsLines");       // -1 for no preferences file
    QTest::addColumn<bool>("initCalled");
    QTest::addColumn<int>("fieldsFilled");
    QTest::addColumn<bool>("dialogWanted");
    QTest::addColumn<QString>("skinDirectory");

    QTest::newRow("loads") << QByteArray("GAME\r\n") << 54 << true << 54 << false
                           << u"GAME\\base\\skins"_qs;
    QTest::newRow("longer_file") << QByteArray("GAME") << 60 << true << 54 << false
                                 << u"GAME\\base\\skins"_qs;
    QTest::newRow("trailing_separator")
            << QByteArray("GAME/\r\n") << 54 << true << 54 << false << u"GAME/\\base\\skins"_qs;
    QTest::newRow("no_path_store")
            << QByteArray("<none>") << 54 << false << 0 << true << u"\\base\\skins"_qs;
    QTest::newRow("zero_byte_path_store")
            << QByteArray() << 54 << false << 0 << true << u"\\base\\skins"_qs;
    QTest::newRow("prefs_missing")
            << QByteArray("GAME\r\n") << -1 << true << 0 << true << u"GAME\\base\\skins"_qs;
    QTest::newRow("prefs_short") << QByteArray("GAME\r\n") << 53 << true << 53 << true
                                 << u"GAME\\base\\skins"_qs;
    QTest::newRow("wrong_folder") << QByteArray("GAME\\nowhere\r\n") << 54 << true << 0 << true
                                  << u"GAME\\nowhere\\base\\skins"_qs;
}

void StartupTest::loadStep()
{
    QFETCH(QByteArray, pathStore);
    QFETCH(int, prefsLines);
    QFETCH(bool, initCalled);
    QFETCH(int, fieldsFilled);
    QFETCH(bool, dialogWanted);
    QFETCH(QString, skinDirectory);

    const QString game = m_workingFolder->filePath(u"Tribes"_qs);
    QVERIFY(QDir().mkpath(game + u"/Config"_qs));
    if (prefsLines >= 0)
        QVERIFY(writeBytes(game + u"/Config/ServerPrefs.cs"_qs, numberedLines(prefsLines)));
    if (pathStore != "<none>")
        QVERIFY(writeBytes(u"path.inf"_qs, pathStore.replace("GAME", QFile::encodeName(game))));

    SharedStrings shared;
    QStringList fields(54);
    int initCalls = 0;
    const LoadStepOutcome outcome = runLoadStep(shared, [&] {
        ++initCalls;
        const QString name = Platform::nativeFileName(shared.TribesPath + PrefsFile);
        return Prefs::loadPositional(
                       name, [&](int index, const QString &value) { fields[index] = value; })
                .ok();
    });

    QCOMPARE(initCalls, initCalled ? 1 : 0);
    QCOMPARE(fields.count(QString()), 54 - fieldsFilled);
    if (fieldsFilled > 0)
        QCOMPARE(fields.at(fieldsFilled - 1), u"value"_qs + QString::number(fieldsFilled));
    QCOMPARE(outcome.pathDialogWanted, dialogWanted);
    QCOMPARE(outcome.skinDirectory, skinDirectory.replace(u"GAME"_qs, game));
}

QTEST_GUILESS_MAIN(StartupTest)
#include "tst_startup.moc"
