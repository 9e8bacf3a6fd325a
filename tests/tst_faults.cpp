#include "app/sharedstrings.h"
#include "gamedir/pathdialog.h"
#include "testsupport.h"
#include "ui/mainwindow.h"
#include "widgetsupport.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QSignalSpy>

using namespace TestSupport;

// Faults injected under the three commands that write a file. Each must fail with the
// system's reason in its message, leave the old file byte for byte as it was, and let the
// program go on. Run once as root (file system faults) and once as the user nobody
// (permission faults); the rows that need the other user are skipped.
class FaultsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void faults_data();
    void faults();
};

void FaultsTest::faults_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("reason");

    const QStringList faults = {u"full|No space left on device"_qs,
                                u"read_only|Read-only file system"_qs,
                                u"no_permission|Permission denied"_qs,
                                u"missing_folder|No such file or directory"_qs,
                                u"dangling_link|No such file or directory"_qs,
                                u"replaced_by_folder|it is a folder"_qs};
    for (const char *command : {"save", "backup", "path"}) {
        for (const QString &fault : faults) {
            const QString name = fault.section(u'|', 0, 0);
            // Linux refuses a new file in a deleted working folder with EPERM.
            const bool deletedWorkingFolder = name == u"missing_folder"_qs && command[0] == 'p';
            QTest::addRow("%s_%s", command, qPrintable(name))
                    << QString::fromLatin1(command) << name
                    << (deletedWorkingFolder ? u"Operation not permitted"_qs
                                             : fault.section(u'|', 1));
        }
    }
}

void FaultsTest::faults()
{
    QFETCH(QString, command);
    QFETCH(QString, fault);
    QFETCH(QString, reason);

    const bool needsMount = fault == u"full"_qs || fault == u"read_only"_qs;
    if (fault == u"no_permission"_qs && isRoot())
        QSKIP("Root is not stopped by permissions: this row runs as nobody.");
    if (needsMount && !isRoot())
        QSKIP("Needs root to mount a file system.");
    QTemporaryDir dir;
    // Where each command writes: the game's config folder, the desktop, the working folder.
    const QString folder = dir.filePath(command == u"save"_qs     ? u"config"_qs
                                        : command == u"backup"_qs ? u"Desktop"_qs
                                                                  : u"work"_qs);
    const QString file = folder
                         + (command == u"save"_qs     ? u"/serverprefs.cs"_qs
                            : command == u"backup"_qs ? u"/test.txt"_qs
                                                      : u"/path.inf"_qs);
    QVERIFY(QDir().mkpath(folder));
    std::optional<TmpfsMount> mount;
    if (needsMount) {
        mount.emplace(folder, "64k");
        QVERIFY(mount->mounted());
    }
    const QByteArray old = numberedLines(54); // made here: nobody may not reach the fixtures
    if (fault == u"dangling_link"_qs)
        QVERIFY(QFile::link(dir.filePath(u"gone/target"_qs), file));
    else if (fault == u"replaced_by_folder"_qs)
        QVERIFY(QDir().mkpath(file) && writeBytes(file + u"/inside"_qs, old));
    else if (fault != u"missing_folder"_qs)
        QVERIFY(writeBytes(file, old));
    if (fault == u"full"_qs)
        QVERIFY(writeBytes(folder + u"/filler"_qs, QByteArray(60 * 1024 - old.size(), 'f')));
    if (fault == u"read_only"_qs)
        QVERIFY(mount->makeReadOnly());
    if (fault == u"no_permission"_qs)
        QVERIFY(QFile::setPermissions(folder, QFile::Permissions(0x5555))
                && QFile::setPermissions(file, QFile::Permissions(0x4444)));

    SharedStrings shared;
    shared.TribesPath = dir.path();
    qputenv("HOME", QFile::encodeName(dir.path()));
    QVERIFY(QDir::setCurrent(command == u"path"_qs ? folder : dir.path()));
    if (fault == u"missing_folder"_qs) { // a folder that vanished while the program ran
        QVERIFY(QDir(folder).removeRecursively());
        qputenv("HOME", QFile::encodeName(dir.filePath(u"gone"_qs)));
    }
    MainWindow window(shared);
    PathDialog dialog(shared);
    dialog.show();
    const QString text(12000, u'x'); // more than a full file system has room for
    for (int index = 0; index < 54; ++index)
        window.field(index)->setText(text);
    dialog.pathBox()->setText(text.left(4000)); // a path may be no longer than 4,096 bytes
    QSignalSpy exits(&window, &MainWindow::exitRequested);
    MessageCatcher catcher;
    if (command == u"path"_qs)
        dialog.ok();
    else
        window.findChild<QAction *>(command == u"save"_qs ? u"mnuSaE"_qs : u"mnuBackup"_qs)
                ->trigger();

    QCOMPARE(catcher.messages.size(), 1);
    QVERIFY2(catcher.lastText().contains(reason), qPrintable(catcher.lastText()));
    QVERIFY(exits.isEmpty() && dialog.isVisible());
    if (command == u"path"_qs) // Ok has taken the new path all the same
        QCOMPARE(shared.TribesPath, text.left(4000));
    if (fault == u"replaced_by_folder"_qs)
        QCOMPARE(readBytes(file + u"/inside"_qs), old);
    else if (fault == u"dangling_link"_qs)
        QVERIFY(QFileInfo(file).isSymLink() && !QFileInfo::exists(file));
    else if (fault != u"missing_folder"_qs)
        QCOMPARE(readBytes(file), old);
    QVERIFY(QDir::setCurrent(QDir::tempPath()));
    QFile::setPermissions(folder, QFile::Permissions(0x7700));
}

QTEST_MAIN(FaultsTest)
#include "tst_faults.moc"
