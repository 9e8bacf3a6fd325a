#include "nativepath.h"
#include "pathstore.h"
#include "skinname.h"
#include "testsupport.h"

#include <QDir>
#include <QRegularExpression>

#include <pwd.h>

using namespace TestSupport;
using namespace Qt::StringLiterals;

// Names of this machine for the program's own, the path store, and the skin names.
class PathsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;

private Q_SLOTS:
    void initTestCase()
    {
        // A home and working folder of the test's own: drive letters map into its Wine prefix.
        qputenv("HOME", QFile::encodeName(m_home.path()));
        QVERIFY(QDir::setCurrent(m_home.path()));
        for (const char *folder :
             {".wine/dosdevices/c:/Dynamix/Tribes/config", "games/Tribes/config", "cases/Tribes",
              "cases/tribes", "cases/TRIBES"})
            QVERIFY(QDir().mkpath(QLatin1StringView(folder)));
        for (const char *file :
             {".wine/dosdevices/c:/Dynamix/Tribes/config/ServerPrefs.cs",
              "games/Tribes/config/ServerPrefs.cs", "games/Tribes/config/serverprefs.CS"})
            QVERIFY(writeBytes(QLatin1StringView(file), "x"));
    }

    void mapping_data() { addFixtureRows("mapping.tsv"); }
    void mapping()
    {
        QFETCH(QString, programName);
        QFETCH(QString, nativeName);
        QCOMPARE(Platform::nativeFileName(programName.replace(u"HOME"_s, m_home.path())),
                 nativeName.replace(u"HOME"_s, m_home.path()));
    }

    void homeWithoutHomeVariable()
    {
        // The home folder then comes from the user database, not the root folder.
        const QString home = QFile::decodeName(getpwuid(getuid())->pw_dir);
        for (const bool unset : {true, false}) {
            unset ? qunsetenv("HOME") : qputenv("HOME", QByteArray());
            QCOMPARE(Platform::wineDriveFolder(u'C'), home + u"/.wine/dosdevices/c:"_s);
            QVERIFY(Platform::backupCopyName().startsWith(home + u'/'));
        }
        qputenv("HOME", QFile::encodeName(m_home.path()));
    }

    void pathStore_data() { addFixtureRows("pathstore.tsv"); }
    void pathStore()
    {
        QFETCH(QString, content);
        QFETCH(QString, path);

        static const QRegularExpression bytes(uR"(^<(\d+) bytes>$)"_s);
        for (QString *cell : {&content, &path}) {
            if (const QRegularExpressionMatch match = bytes.match(*cell); match.hasMatch())
                *cell = QString(match.captured(1).toInt(), u'p');
        }
        QFile::remove(u"path.inf"_s);
        if (content == u"<fifo>"_s)
            QVERIFY(makeSpecialFile(u"path.inf"_s, content.mid(1).chopped(1)));
        else if (content != u"<none>"_s)
            QVERIFY(writeBytes(u"path.inf"_s, content.toLatin1()));
        const bool hasLine = path != u"<no line>"_s;
        QCOMPARE(GameDir::readPathStore(), hasLine ? std::optional(path) : std::nullopt);
        if (!hasLine)
            return;
        // Written back, the path is the whole file, ended by CR LF; no file holds a NUL.
        const QString error = GameDir::writePathStore(path).message;
        if (path.contains(QChar(u'\0')))
            QVERIFY(error.contains(u"NUL"_s));
        else
            QVERIFY(error.isEmpty() && readBytes(u"path.inf"_s) == path.toUtf8() + "\r\n");
    }

    void skinName_data() { addFixtureRows("skinnames.tsv"); }
    void skinName()
    {
        QFETCH(QString, skinFile);
        QFETCH(QString, skinName);
        QCOMPARE(StripDir(StripExt(skinFile)), skinName);
    }
};

QTEST_GUILESS_MAIN(PathsTest)
#include "tst_paths.moc"
