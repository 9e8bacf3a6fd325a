#include "documentcheck.h"
#include "nativepath.h"
#include "pathstore.h"
#include "savetransaction.h"
#include "settingnames.h"
#include "testsupport.h"

#include <QtCore>

#ifdef Q_OS_UNIX
#include <grp.h>
#include <linux/fs.h>
#include <pwd.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/xattr.h>
#endif

using namespace TestSupport;
using namespace Qt::StringLiterals;

// The core in a home and working folder of the test's own, the writer under real faults.
class CoreTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qputenv("USERPROFILE", QFile::encodeName(QDir::toNativeSeparators(m_home.path())));
        QVERIFY(QDir::setCurrent(m_home.path()));
        for (const char *file :
             {"cases/Tribes/x", "cases/tribes/x", "cases/TRIBES/x",
              ".wine/dosdevices/c:/Dynamix/Tribes/config/ServerPrefs.cs",
              "games/Tribes/config/ServerPrefs.cs", "games/Tribes/config/serverprefs.CS"})
            QVERIFY(writeBytes(QLatin1StringView(file), "x"));
        QVERIFY(QDir().mkdir(u"Zwölf"_s)); // which path.inf may name in UTF-8
    }

    void init() { SKIP_IF_UNIX_ONLY(); }

    void read_data() { addFixtureRows({"loads.tsv"}); }
    void read()
    {
        auto [file, settings, others, error] = cells<4>();
        QTemporaryDir dir;
        const QString name = dir.filePath(u"prefs.cs"_s);
        const QByteArray golden = readBytes(dataFile("golden54.cs"));
        if (file == u"<fifo>"_s)
            QVERIFY(makeSpecialFile(name, u"fifo"_s));
        else if (file != u"<none>"_s)
            QVERIFY(writeBytes(name, file == u"golden"_s      ? golden
                                     : file.contains(u"=>"_s) ? edited(golden, file)
                                                              : recipe(file)));
        Prefs::Document document;
        Result result; // in memory that grows with the file, which is refused when too large
        QCOMPARE_LT(peakMemoryGrowth([&] { result = Prefs::readDocument(name, document); }), 32768);
        QVERIFY2(result.message.contains(error) && result.ok() == error.isEmpty(),
                 qPrintable(result.message));
        for (const QString &expected : settings.split(u'|', Qt::SkipEmptyParts)) {
            const Prefs::SettingValue read
                    = document.setting(Prefs::settingIndex(expected.section(u'=', 0, 0)));
            QCOMPARE(read.state == Prefs::SettingValue::State::Set      ? read.value
                     : read.state == Prefs::SettingValue::State::Broken ? u"#%1"_s.arg(read.line)
                                                                        : u"-"_s,
                     expanded(expected.section(u'=', 1)));
        }
        QStringList otherSettings;
        for (const Prefs::OtherSetting &other : document.otherSettings())
            otherSettings << other.name + u'=' + other.value;
        QCOMPARE(otherSettings.join(u'|'), others);
        if (Prefs::checkDocument(document).isEmpty()) // nothing to report: the same bytes
            QCOMPARE(document.format(document.values()), readBytes(name));
    }

    // The one save, as the window makes it: the golden file read, then changed by another
    // program, the window's fields changed; consented when it asks.
    void save_data() { addFixtureRows({"saves.tsv"}); }
    void save()
    {
        auto [file, window, consent, after] = cells<4>();
        QTemporaryDir dir;
        const QString name = dir.filePath(u"ServerPrefs.cs"_s);
        const QByteArray golden = readBytes(dataFile("golden54.cs"));
        Prefs::Document base;
        QVERIFY(writeBytes(name, golden) && Prefs::readDocument(name, base).ok());
        QVERIFY(writeBytes(name, edited(golden, file)));
        Prefs::SaveRequest request;
        request.nativeName = name;
        request.shown = base.values();
        request.base = &base;
        for (const QString &change : window.split(u'|', Qt::SkipEmptyParts))
            request.shown[change.section(u'=', 0, 0).toInt()] = change.section(u'=', 1);
        Prefs::SaveOutcome outcome = Prefs::save(request);
        const QString asked = outcome.consent.join(u'\n') + outcome.result.message;
        QVERIFY2(asked.contains(consent) && asked.isEmpty() == consent.isEmpty(),
                 qPrintable(asked));
        if (outcome.status == Prefs::SaveOutcome::Status::NeedsConsent) {
            QCOMPARE(readBytes(name), edited(golden, file)); // asked first
            request.consented = outcome.consent;
            outcome = Prefs::save(request);
        }
        QCOMPARE(readBytes(name), edited(golden, after));
    }

    // Where every writing command ends: the old file never lost; rows in writefaults.tsv.
    void writeFaults_data()
    {
        addFixtureRows({onWindows ? "writefaults-windows.tsv" : "writefaults.tsv"});
    }
    void writeFaults()
    {
        auto [setup, outcome] = cells<2>();
        const QStringList words = setup.split(u' ');
        const auto has = [&](const char *word) {
            return words.contains(QLatin1StringView(word));
        };
#ifdef Q_OS_WIN
        QTemporaryDir dir;
        const QString name = has("device") ? QString(words.last()).replace(u"DIR"_s, dir.path())
                                           : dir.filePath(u"ServerPrefs.cs"_s);
        const std::wstring wide = name.toStdWString();
        const QByteArray old = readBytes(dataFile("golden54.cs")).left(3000);
        const DWORD attributes = has("read_only") ? FILE_ATTRIBUTE_READONLY
                                 : has("hidden")  ? FILE_ATTRIBUTE_HIDDEN
                                                  : FILE_ATTRIBUTE_NORMAL;
        QVERIFY(has("device")
                || (writeBytes(name, old) && SetFileAttributesW(wide.c_str(), attributes)));
        // A folder where the replacement would go: the file is written in place instead.
        QVERIFY(!has("no_replacement")
                || QDir(dir.path()).mkdir(u"~tolvane-%1.tmp"_s.arg(GetCurrentProcessId())));
        const HANDLE held = has("held_open") ? CreateFileW(wide.c_str(), GENERIC_READ, 0, nullptr,
                                                           OPEN_EXISTING, 0, nullptr)
                                             : INVALID_HANDLE_VALUE;
        // Named in another case, as the game names it: the file keeps the folder's spelling.
        const QString error = Prefs::writeDocument(has("other_case") ? name.toLower() : name, {},
                                                   goldenValues())
                                      .message;
        CloseHandle(held);
        // Nothing left beside it: neither the replacement nor a file of ReplaceFile's own.
        QVERIFY(has("device")
                || QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System)
                           == QStringList(u"ServerPrefs.cs"_s));
        const DWORD changed = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL; // by any write
        const DWORD kept = GetFileAttributesW(wide.c_str()) & ~changed;
        SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL); // so that the folder can go
        const bool replaced = outcome == u"replaced"_s;
        QVERIFY2(replaced ? error.isEmpty() : error.contains(outcome), qPrintable(error));
        QVERIFY(has("device")
                || readBytes(name) == (replaced ? readBytes(dataFile("golden54.cs")) : old));
        QVERIFY(!replaced || kept == (attributes & ~changed));
#else
        if (geteuid() != 0 && (has("as_admin") || has("full") || has("read_only") || has("device")))
            QSKIP("Needs root: to mount, to make a device, to be another user.");
        QTemporaryDir dir;
        QVERIFY(QFile::setPermissions(dir.path(), QFile::Permissions(0x7755)));
        const QString folder = dir.filePath(u"config"_s), name = folder + u"/ServerPrefs.cs"_s;
        const QByteArray folderName = QFile::encodeName(folder);
        const bool linked = has("through_link") || has("device") || has("dangling_link");
        const QString target
                = !linked ? name : dir.filePath(has("dangling_link") ? u"no/x"_s : u"x"_s);
        const QByteArray file = QFile::encodeName(target);
        QVERIFY(QDir().mkdir(folder));
        // A small file system of its own really fills up, and really is made read-only.
        const auto unmount = qScopeGuard([&] { umount2(folderName, MNT_DETACH); });
        QVERIFY(!(has("full") || has("read_only"))
                || mount("tmpfs", folderName, "tmpfs", 0, "size=64k") == 0);
        QVERIFY(!has("full") || writeBytes(folder + u"/filler"_s, QByteArray(60 * 1024, 'f')));
        const QByteArray old = readBytes(dataFile("golden54.cs")).left(3000);
        if (has("fifo") || has("folder") || has("device"))
            QVERIFY(makeSpecialFile(target, QString::fromLatin1(words.last().toLatin1())));
        else if (!has("dangling_link"))
            QVERIFY(writeBytes(target, old));
        QVERIFY(!linked || QFile::link(target, name));
        // A file mounted on its own, as containers are given their configuration.
        const QString bound = dir.filePath(u"bound.cs"_s);
        const auto unbind = qScopeGuard([&] { umount2(file, MNT_DETACH); });
        if (has("bind_mounted")
            && !(writeBytes(bound, old)
                 && mount(QFile::encodeName(bound), file, nullptr, MS_BIND, nullptr) == 0))
            QSKIP("Needs a mount namespace: to mount a file on its own.");
        QVERIFY(!has("second_link") || link(file, folderName + "/shared.cs") == 0);
        if (geteuid() == 0 && QFileInfo::exists(target)) { // "mode_4644": that mode
            const int owner = has("game_owned") ? 2000 : has("root_owned") ? 0 : 2001;
            QVERIFY(chown(file, owner, owner ? 3000 : 0) == 0);
            const QString mode = words.filter(u"mode_"_s).value(0, u"mode_664"_s).mid(5);
            QVERIFY(chmod(file, mode.toUInt(nullptr, 8)) == 0);
        }
        // An ACL that lets the game's account in, and an attribute of the admin's.
        QVERIFY(!has("acl")
                || QProcess::execute(u"setfacl"_s, {u"-m"_s, u"u:2000:rw"_s, target}) == 0);
        QVERIFY(!has("attribute")
                || (setxattr(file, "user.tolvane", "kept", 4, 0) == 0
                    && setxattr(file, "user.empty", "", 0, 0) == 0));
        QVERIFY(!has("trusted") || setxattr(file, "trusted.tolvane", "root's", 6, 0) == 0);
        const auto attributes = [&target] {
            QProcess dump;
            dump.start(u"getfattr"_s, {u"-d"_s, u"-m"_s, u"-"_s, u"--absolute-names"_s, target});
            return dump.waitForFinished() ? dump.readAllStandardOutput() : QByteArray("<failed>");
        };
        const QByteArray attributesBefore = attributes();
        QVERIFY(geteuid() != 0 || chown(folderName, 2000, 3000) == 0);
        const int folderMode = has("closed_folder") ? 0555 : has("set_group_id") ? 02775 : 0775;
        QVERIFY(chmod(folderName, folderMode) == 0);
        // New files in the folder get an ACL that the file never had.
        if (has("default_acl")
            && QProcess::execute(u"setfacl"_s, {u"-d"_s, u"-m"_s, u"u:nobody:rwx"_s, folder}) != 0)
            QSKIP("The file system takes no ACL.");
        // chattr +a on the folder, or +a or +i on the file; taken off before the folder goes.
        const bool flagFolder = has("append_only_folder");
        const bool flagFile = has("append_only_file") || has("immutable_file");
        const int flag = has("immutable_file") ? FS_IMMUTABLE_FL : FS_APPEND_FL;
        const auto setFlag = [&](bool on) {
            const int descriptor = open(flagFolder ? folderName : file, O_RDONLY | O_NONBLOCK);
            int flags = 0;
            const bool done = descriptor >= 0 && ioctl(descriptor, FS_IOC_GETFLAGS, &flags) == 0
                              && (flags = on ? flags | flag : flags & ~flag,
                                  ioctl(descriptor, FS_IOC_SETFLAGS, &flags) == 0);
            close(descriptor);
            return done;
        };
        const auto unflag = qScopeGuard([&] { (flagFolder || flagFile) && setFlag(false); });
        if ((flagFolder || flagFile) && !setFlag(true))
            QSKIP("The file system has no append-only or immutable flag.");
        QVERIFY(!has("read_only")
                || mount("tmpfs", folderName, "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0);
        QVERIFY(!has("missing_folder") || QDir(folder).removeRecursively());
        struct stat before = {}, after = {};
        stat(file, &before);
        const auto entries = [&folder] {
            return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden
                                          | QDir::System);
        };
        const QStringList entriesBefore = entries();
        // The new file needs more room than the old one: a second page of the file system.
        QStringList texts = goldenValues();
        const QByteArray expected = readBytes(dataFile("golden54.cs"))
                                            .replace(texts[7].toUtf8(), QByteArray(5000, 'm'));
        texts[7] = QString(5000, u'm');
        // The admin: user 2001 in groups 2001 and 3000, then root again.
        const gid_t groups[] = {2001, 3000};
        const bool admin = has("as_admin");
        QVERIFY(!admin || (setgroups(2, groups) == 0 && setegid(2001) == 0 && seteuid(2001) == 0));
        const Result written
                = Prefs::writeDocument(has("nul") ? name + QChar(u'\0') : name, {}, texts);
        const QString error = written.message;
        QVERIFY(!admin || (seteuid(0) == 0 && setegid(0) == 0 && setgroups(0, nullptr) == 0));
        stat(file, &after);
        QCOMPARE(entries(), entriesBefore); // nothing left behind
        chmod(folderName, 0700);
        // "in_place, NOTICE": written in place, with the set-ID bits the notice names cleared.
        const QString notice = outcome.section(u", "_s, 1);
        QVERIFY2(written.notice.contains(notice) && notice.isEmpty() == written.notice.isEmpty(),
                 qPrintable(written.notice));
        const mode_t cleared = (notice.contains(u"set-user-ID"_s) ? S_ISUID : 0)
                               | (notice.contains(u"set-group-ID"_s) ? S_ISGID : 0);
        QCOMPARE(after.st_mode, before.st_mode & ~cleared);
        outcome = outcome.section(u", "_s, 0, 0);
        if (outcome != u"replaced"_s && outcome != u"in_place"_s) { // the reason; nothing changed
            QVERIFY2(error.contains(outcome), qPrintable(error));
            QVERIFY(!S_ISREG(before.st_mode) || readBytes(target) == old); // a pipe would block
            return;
        }
        QCOMPARE(error, QString());
        QCOMPARE(readBytes(name), expected);
        QCOMPARE(after.st_ino != before.st_ino, outcome == u"replaced"_s);
        QVERIFY(after.st_uid == before.st_uid && after.st_gid == before.st_gid);
        QCOMPARE(attributes(), attributesBefore);
        QVERIFY(!has("second_link") || readBytes(folder + u"/shared.cs"_s) == expected);
        QVERIFY(!linked || QFileInfo(name).isSymLink());
#endif
    }

    void mapping_data()
    {
        addFixtureRows({"mapping.tsv"});
    }
    void mapping()
    {
        auto [programName, nativeName] = cells<2>();
        const QByteArray tag = QTest::currentDataTag(); // a relative prefix counts for nothing
        qputenv("WINEPREFIX", tag.startsWith("wineprefix") ? m_home.path().toUtf8() + "/w" : "w");
        const auto unset = qScopeGuard([] { qunsetenv("WINEPREFIX"); });
        QCOMPARE(Platform::nativeFileName(programName.replace(u"HOME"_s, m_home.path())),
                 nativeName.replace(u"HOME"_s, m_home.path()));
    }

    // On Windows, a path of 260 characters or more names the policy that long paths need (off
    // by default, and under Wine).
    void longPathNote()
    {
        if (!onWindows)
            QSKIP("Only Windows limits a path's length.");
        for (const int length : {259, 260})
            QCOMPARE(Platform::longPathNote(QDir::rootPath() + QString(length - 3, u'x'))
                             .contains(u"The path is 260 characters long"_s),
                     length == 260);
    }

    void homeAndDesktop()
    {
#ifdef Q_OS_UNIX
        // Without HOME, the home folder comes from the user database, not the root folder.
        const QString home = QFile::decodeName(getpwuid(getuid())->pw_dir);
        qputenv("HOME", QByteArray()); // as if unset
        QCOMPARE(Platform::wineDriveFolder(u'C'), home + u"/.wine/dosdevices/c:"_s);
        QVERIFY(Platform::backupCopyName().startsWith(home + u'/'));
        qputenv("HOME", QFile::encodeName(m_home.path()));
        // With HOME set, the desktop is the one the user's folder settings name.
        QTemporaryDir config;
        QVERIFY(writeBytes(config.filePath(u"user-dirs.dirs"_s),
                           "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"));
        QVERIFY(QDir(m_home.path()).mkpath(u"Schreibtisch"_s));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        const QString copyName = Platform::backupCopyName();
        qunsetenv("XDG_CONFIG_HOME");
        QCOMPARE(copyName, m_home.filePath(u"Schreibtisch/test.txt"_s));
#endif
    }

    void pathStore_data()
    {
        addFixtureRows({"pathstore.tsv"});
    }
    void pathStore()
    {
        auto [content, path] = cells<2>();
        QFile::remove(u"path.inf"_s);
        if (content == u"<fifo>"_s)
            QVERIFY(makeSpecialFile(u"path.inf"_s, u"fifo"_s));
        else if (content != u"<none>"_s)
            QVERIFY(writeBytes(u"path.inf"_s, expanded(content).toLatin1()));
        path = onThisPlatform(path);
        QCOMPARE(GameDir::readPathStore(),
                 path == u"<no line>"_s ? std::nullopt : std::optional(expanded(path)));
    }
};

QTEST_GUILESS_MAIN(CoreTest)
#include "tst_core.moc"
