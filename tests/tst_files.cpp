#include "prefswriter.h"
#include "testsupport.h"

#include <QDir>
#include <QFileInfo>

using namespace TestSupport;
using namespace Qt::StringLiterals;

// The writer under the faults of a real file system, where every command that writes ends:
// the old file is never lost, and only a regular file is ever written or replaced.
class FilesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void write_data() { addFixtureRows("writefaults.tsv"); }
    void write()
    {
        QFETCH(QString, setup);
        QFETCH(QString, outcome);
        const QStringList words = setup.split(u' ');
        const auto has = [&](const char *word) {
            return words.contains(QLatin1StringView(word));
        };
        if (!isRoot() && (has("as_admin") || has("full") || has("read_only") || has("device_link")))
            QSKIP("Needs root: to mount, to make a device, to be another user.");

        QTemporaryDir dir;
        QVERIFY(QFile::setPermissions(dir.path(), QFile::Permissions(0x7755)));
        const QString folder = dir.filePath(u"config"_s);
        const QString name = folder + u"/ServerPrefs.cs"_s;
        const bool linked = has("through_link") || has("device_link") || has("dangling_link");
        const QString target
                = !linked ? name
                          : dir.filePath(has("dangling_link") ? u"gone/target"_s : u"target"_s);
        QVERIFY(QDir().mkdir(folder));
        std::optional<TmpfsMount> mount;
        if (has("full") || has("read_only")) {
            mount.emplace(folder, "64k");
            QVERIFY(mount->mounted());
            QVERIFY(writeBytes(folder + u"/filler"_s,
                               QByteArray(has("full") ? 60 * 1024 : 0, 'f')));
        }
        const QByteArray old = numberedLines(54).left(3000);
        const char *special = has("fifo") ? "fifo" : has("folder") ? "folder" : "device";
        if (has("fifo") || has("folder") || has("device_link"))
            QVERIFY(makeSpecialFile(target, QLatin1StringView(special)));
        else if (!has("dangling_link"))
            QVERIFY(writeBytes(target, old));
        if (linked)
            QVERIFY(QFile::link(target, name));
        const QByteArray file = QFile::encodeName(target);
        if (has("second_link"))
            QVERIFY(::link(file.constData(), QFile::encodeName(folder + u"/shared.cs"_s)) == 0);
        const QByteArray folderName = QFile::encodeName(folder);
        if (isRoot() && QFileInfo::exists(target)) {
            QVERIFY(::chown(file.constData(), has("game_owned") ? 2000 : 2001, 3000) == 0);
            QVERIFY(::chmod(file.constData(), has("read_only_file") ? 0444 : 0664) == 0);
        }
        QVERIFY(!isRoot() || ::chown(folderName.constData(), 2000, 3000) == 0);
        QVERIFY(::chmod(folderName.constData(), has("closed_folder")  ? 0555
                                                : has("set_group_id") ? 02775
                                                                      : 0775)
                == 0);
        if (has("read_only"))
            QVERIFY(mount->makeReadOnly());
        if (has("missing_folder"))
            QVERIFY(QDir(folder).removeRecursively());
        struct stat before = {}, after = {};
        ::stat(file.constData(), &before);

        // The new file needs more room than the old one: a second page of the file system.
        QStringList texts = goldenValues(); // read here: the admin may not reach the fixtures
        texts[7] = QString(5000, u'm');
        const QByteArray expected
                = readBytes(dataFile("golden54.cs"))
                          .replace(goldenValues().at(7).toUtf8(), QByteArray(5000, 'm'));
        const auto writeFile = [&] {
            return Prefs::writeDocument(has("nul") ? name + QChar(u'\0') : name, texts).message;
        };
        const QString error
                = has("as_admin") ? runAsUser(2001, 2001, 3000, writeFile) : writeFile();
        ::stat(file.constData(), &after);
        if (outcome == u"replaced"_s || outcome == u"in_place"_s) {
            QCOMPARE(error, QString());
            QCOMPARE(readBytes(name), expected);
            QCOMPARE(after.st_ino != before.st_ino, outcome == u"replaced"_s);
            QVERIFY(after.st_uid == before.st_uid && after.st_gid == before.st_gid);
            QCOMPARE(after.st_mode, before.st_mode);
            QVERIFY(!has("second_link") || readBytes(folder + u"/shared.cs"_s) == expected);
            QVERIFY(!linked || QFileInfo(name).isSymLink());
        } else { // the system's reason, and nothing changed
            QVERIFY2(error.contains(outcome), qPrintable(error));
            QCOMPARE(after.st_mode, before.st_mode);
            QVERIFY(!S_ISREG(before.st_mode) || readBytes(target) == old); // a pipe would block
        }
        ::chmod(folderName.constData(), 0700);
    }
};

QTEST_GUILESS_MAIN(FilesTest)
#include "tst_files.moc"
