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
    void pathStore_data();
    void pathStore();
    void loadStep_data();
    void loadStep();

private:
    std::unique_ptr<QTemporaryDir> m_folder;
};

void StartupTest::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(m_folder->path()));
}

void StartupTest::pathStore_data()
{
    addFixtureRows("pathstore.tsv");
}

void StartupTest::pathStore()
{
    QFETCH(QString, content);
    QFETCH(QString, path);

    if (content != u"<none>"_qs)
        QVERIFY(writeBytes(u"path.inf"_qs, content.toLatin1()));
    const bool hasLine = path != u"<no line>"_qs;
    QCOMPARE(GameDir::readPathStore(), hasLine ? std::optional(path) : std::nullopt);
    if (!hasLine)
        return;
    if (path.contains(QChar(u'\0'))) { // read as it is, but no file may be named with it
        QVERIFY(GameDir::writePathStore(path).contains(u"NUL"_qs));
        return;
    }
    // Written back, the path is the whole file, ended by CR LF.
    QCOMPARE(GameDir::writePathStore(path), QString());
    QCOMPARE(readBytes(u"path.inf"_qs), path.toUtf8() + "\r\n");
}

void StartupTest::loadStep_data()
{
    QTest::addColumn<QByteArray>("pathInf"); // "<none>": no path.inf; GAME: the game folder
    QTest::addColumn<int>("prefsLines");       // -1: no file, -2: a named pipe
    QTest::addColumn<int>("fieldsFilled"); // -1: init is not called
    QTest::addColumn<bool>("dialogWanted");
    QTest::addColumn<QString>("skinDirectory");

    QTest::newRow("loads") << QByteArray("GAME\r\n") << 60 << 54 << false
                           << u"GAME\\base\\skins"_qs;
    QTest::newRow("trailing_separator")
            << QByteArray("GAME/") << 54 << 54 << false << u"GAME/\\base\\skins"_qs;
    QTest::newRow("no_path_store")
            << QByteArray("<none>") << 54 << -1 << true << u"\\base\\skins"_qs;
    QTest::newRow("zero_byte_path_store")
            << QByteArray() << 54 << -1 << true << u"\\base\\skins"_qs;
    QTest::newRow("prefs_missing")
            << QByteArray("GAME\r\n") << -1 << 0 << true << u"GAME\\base\\skins"_qs;
    QTest::newRow("prefs_short") << QByteArray("GAME\r\n") << 53 << 53 << true
                                 << u"GAME\\base\\skins"_qs;
    // Named pipes fail the start at once, rather than wait for a writer.
    QTest::newRow("path_store_fifo")
            << QByteArray("<fifo>") << 54 << -1 << true << u"\\base\\skins"_qs;
    QTest::newRow("prefs_fifo") << QByteArray("GAME\r\n") << -2 << 0 << true
                                << u"GAME\\base\\skins"_qs;
    // A first line longer than any path is no path, and costs no time.
    QTest::newRow("path_over_limit") << "GAME" + QByteArray(4096, '/') << 54 << -1 << true
                                     << u"\\base\\skins"_qs;
}

void StartupTest::loadStep()
{
    QFETCH(QByteArray, pathInf);
    QFETCH(int, prefsLines);
    QFETCH(int, fieldsFilled);
    QFETCH(bool, dialogWanted);
    QFETCH(QString, skinDirectory);

    const QString game = m_folder->filePath(u"Tribes"_qs);
    QVERIFY(QDir().mkpath(game + u"/Config"_qs));
    if (prefsLines >= 0)
        QVERIFY(writeBytes(game + u"/Config/ServerPrefs.cs"_qs, numberedLines(prefsLines)));
    if (prefsLines == -2)
        QVERIFY(makeSpecialFile(game + u"/Config/ServerPrefs.cs"_qs, u"fifo"_qs));
    if (pathInf == "<fifo>")
        QVERIFY(makeSpecialFile(u"path.inf"_qs, u"fifo"_qs));
    else if (pathInf != "<none>")
        QVERIFY(writeBytes(u"path.inf"_qs, pathInf.replace("GAME", QFile::encodeName(game))));

    SharedStrings shared;
    QStringList fields(54);
    int filled = -1;
    const LoadStepOutcome outcome = runLoadStep(shared, [&] {
        const Prefs::LoadResult result = Prefs::loadPositional(
                Platform::nativeFileName(shared.TribesPath + PrefsFile),
                [&](int index, const QString &value) { fields[index] = value; });
        filled = result.linesRead;
        return result.ok();
    });
    QCOMPARE(filled, fieldsFilled);
    QCOMPARE(fields.count(QString()), 54 - qMax(fieldsFilled, 0));
    QCOMPARE(outcome.pathDialogWanted, dialogWanted);
    QCOMPARE(outcome.skinDirectory, skinDirectory.replace(u"GAME"_qs, game));
}

QTEST_GUILESS_MAIN(StartupTest)
#include "tst_startup.moc"
