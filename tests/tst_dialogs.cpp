#include "folderbrowser.h"
#include "mainwindow.h"
#include "pathdialog.h"
#include "session.h"
#include "testsupport.h"
#include "widgetsupport.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>

using namespace TestSupport;
using namespace Qt::StringLiterals;

// The windows of a run: the start, the path dialog, the folder browser, and when the run
// ends; in a working folder of the test's own beside a game folder "Tribes".
class DialogsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_folder;
    SharedStrings m_shared;
    int m_quits = 0;

    static QPushButton *button(QWidget *window, const char *name)
    {
        return window->findChild<QPushButton *>(QLatin1StringView(name));
    }
    QString game() const { return m_folder->filePath(u"Tribes"_s); }

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir::setCurrent(m_folder->path()));
        qputenv("HOME", QFile::encodeName(m_folder->path()));
        QVERIFY(QDir().mkpath(u"Tribes/config"_s));
        QVERIFY(writeBytes(u"Tribes/config/serverprefs.cs"_s, numberedLines(54)));
        m_shared = {};
        m_quits = 0;
    }

    void start_data()
    {
        QTest::addColumn<QByteArray>("pathInf"); // "<none>": no path.inf; GAME: the game folder
        QTest::addColumn<int>("prefsLines");
        QTest::addColumn<int>("fieldsFilled");
        QTest::addColumn<QString>("skinFolder");

        const QString skins = u"GAME\\base\\skins"_s;
        QTest::newRow("loads") << QByteArray("GAME\r\n") << 60 << 54 << skins;
        QTest::newRow("trailing_separator")
                << QByteArray("GAME/") << 54 << 54 << u"GAME/\\base\\skins"_s;
        QTest::newRow("no_path_store") << QByteArray("<none>") << 54 << 0 << u"\\base\\skins"_s;
        QTest::newRow("zero_byte_path_store") << QByteArray() << 54 << 0 << u"\\base\\skins"_s;
        QTest::newRow("prefs_missing") << QByteArray("GAME\r\n") << -1 << 0 << skins;
        QTest::newRow("prefs_short") << QByteArray("GAME\r\n") << 53 << 53 << skins;
    }

    void start()
    {
        QFETCH(QByteArray, pathInf);
        QFETCH(int, prefsLines);
        QFETCH(int, fieldsFilled);
        QFETCH(QString, skinFolder);

        QVERIFY(QFile::remove(u"Tribes/config/serverprefs.cs"_s));
        QVERIFY(prefsLines < 0
                || writeBytes(u"Tribes/config/ServerPrefs.cs"_s, numberedLines(prefsLines)));
        QVERIFY(pathInf == "<none>"
                || writeBytes(u"path.inf"_s, pathInf.replace("GAME", QFile::encodeName(game()))));
        Session session([this] { ++m_quits; });
        session.showMain();
        // After a failed start both windows are open, the path dialog in front.
        MainWindow *window = session.mainWindow();
        QVERIFY(window->isVisible());
        QCOMPARE(window->fieldTexts().count(QString()), 54 - fieldsFilled);
        QCOMPARE(window->skinDirectory(), skinFolder.replace(u"GAME"_s, game()));
        QCOMPARE(session.pathDialog() != nullptr, fieldsFilled < 54);
        if (fieldsFilled == 54)
            return;
        QTRY_COMPARE(QApplication::activeWindow(), session.pathDialog());
        QCOMPARE(session.pathDialog()->pathBox()->text(), u"C:\\Dynamix\\Tribes"_s);
        MessageCatcher catcher; // Do It Later leaves the main window and the run going
        button(session.pathDialog(), "Command3")->click();
        QTRY_VERIFY(!session.pathDialog());
        QVERIFY(window->isVisible() && m_quits == 0);
    }

    void controls_data() { addFixtureRows("dialogcontrols.tsv", true); }
    void controls()
    {
        QFETCH(QStringList, row);
        PathDialog dialog(m_shared);
        FolderBrowser browser(m_shared);
        QCOMPARE(dialog.windowTitle() + u'|' + browser.windowTitle(),
                 u"Path Info For Tribes|Locate"_s);
        QCOMPARE(dialog.size(), QSize(6375 / 15, 2310 / 15));
        QCOMPARE(browser.size(), QSize(5250 / 15, 3165 / 15));
        QWidget *window = row.at(0) == u"FrmGetPath"_s ? static_cast<QWidget *>(&dialog) : &browser;
        auto *control = window->findChild<QWidget *>(row.at(1));
        QCOMPARE(control->geometry(), twipsRect(row, 2));
        const auto *drives = qobject_cast<QComboBox *>(control); // on the working folder's drive
        QCOMPARE(drives ? drives->currentText() : control->property("text").toString(),
                 QString(row.at(6)).replace(u"HOME"_s, m_folder->path()));
        if (auto *label = qobject_cast<QLabel *>(control)) {
            QVERIFY(label->font().bold() && label->font().underline()
                    && label->font().pointSize() == 12);
            QVERIFY(label->wordWrap() && label->heightForWidth(label->width()) <= label->height());
        }
        QCOMPARE(row.at(7).isEmpty() ? QString() : nextInTabOrder(control)->objectName(),
                 row.at(7));
    }

    void keys_data() { addFixtureRows("dialogkeys.tsv"); }
    void keys()
    {
        QFETCH(QString, path);
        QFETCH(QString, focus);
        QFETCH(QString, key);
        QFETCH(QString, message);
        QFETCH(QString, pathInf);

        m_shared.TribesPath = u"before"_s;
        QPointer<PathDialog> dialog(new PathDialog(m_shared));
        QSignalSpy stored(dialog, &PathDialog::pathStored);
        dialog->pathBox()->setText(path == u"<4097 bytes>"_s ? QString(4097, u'p') : path);
        dialog->show();
        QApplication::setActiveWindow(dialog);
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QWidget *focused = dialog->findChild<QWidget *>(focus);
        focused->setFocus();
        MessageCatcher catcher;
        const QMetaEnum keys = QMetaEnum::fromType<Qt::Key>();
        key == u"close"_s
                ? void(dialog->close())
                : QTest::keyClick(focused, Qt::Key(keys.keyToValue(qPrintable(u"Key_"_s + key))));
        QCOMPARE(catcher.lastText(), message);
        QCOMPARE(catcher.texts.size(), message.isEmpty() ? 0 : 1);
        const bool isStored = pathInf != u"<missing>"_s;
        QCOMPARE(stored.size(), isStored ? 1 : 0);
        QCOMPARE(m_shared.TribesPath, isStored ? path : u"before"_s);
        QCOMPARE(readBytes(u"path.inf"_s), pathInf.toUtf8());
        if (message.startsWith(u"The path"_s)) // refused: the dialog stays, to be mended
            QVERIFY(dialog->isVisible());
        else
            QTRY_VERIFY(!dialog);
        delete dialog;
    }

    void browse()
    {
        QVERIFY(QDir().mkpath(u"games/tribes"_s));
        Session session([] {});
        session.showPathDialog();
        PathDialog *dialog = session.pathDialog();
        button(dialog, "Command1")->click(); // the first Browse of a run clears the path box
        QCOMPARE(dialog->pathBox()->text(), QString());
        FolderBrowser *browser = session.folderBrowser();
        QVERIFY(browser->isVisible() && browser->currentFolder() == m_folder->path());
        QListWidget *folders = browser->folderList();
        const auto open = [folders](const QString &name) {
            Q_EMIT folders->itemDoubleClicked(folders->findItems(name, Qt::MatchExactly).value(0));
        };
        folders->setCurrentItem(folders->findItems(u"games"_s, Qt::MatchExactly).value(0));
        QCOMPARE(session.shared().BrowsePath, QString()); // a single click only highlights
        open(u"games"_s);
        open(u"tribes"_s);
        const QString tribes = m_folder->filePath(u"games/tribes"_s);
        QCOMPARE(session.shared().BrowsePath, tribes);
        QTest::keyClick(folders, Qt::Key_Escape); // Esc and Cancel do nothing
        button(browser, "Command2")->click();
        QVERIFY(browser->isVisible());
        QTest::keyClick(folders, Qt::Key_Return); // Enter takes the folder, as Ok does
        QCOMPARE(dialog->pathBox()->text(), tribes);
        QTRY_VERIFY(!session.folderBrowser());
        // Ok kept BrowsePath: Browse takes the same folder again, then empties it.
        button(dialog, "Command1")->click();
        QCOMPARE(dialog->pathBox()->text(), tribes);
        FolderBrowser *same = session.folderBrowser();
        button(dialog, "Command1")->click(); // with the browser open: the same one, the box cleared
        QVERIFY(session.folderBrowser() == same && dialog->pathBox()->text().isEmpty());
        session.shared().BrowsePath = u"/other"_s;
        same->close(); // the close box takes no folder
        QCOMPARE(dialog->pathBox()->text(), QString());
    }

    void drives()
    {
        QVERIFY(QDir().mkpath(u".wine/dosdevices/c:/Dynamix"_s) && QDir().mkpath(u".hidden"_s));
        QVERIFY(QFile::link(u"/nonexistent-medium"_s, u".wine/dosdevices/d:"_s));
        FolderBrowser browser(m_shared);
        QComboBox *drives = browser.driveList();
        QStringList labels;
        for (int index = 0; index < drives->count(); ++index)
            labels << drives->itemText(index);
        QCOMPARE(labels, QStringList({u"/"_s, m_folder->path(), u"c:"_s, u"d:"_s}));
        QListWidget *folders = browser.folderList(); // headed by where it is, hidden ones too
        QCOMPARE(folders->item(0)->text() + u'|' + folders->item(1)->text(),
                 m_folder->path() + u"|.."_s);
        QVERIFY(!folders->findItems(u".hidden"_s, Qt::MatchExactly).isEmpty());
        MessageCatcher catcher;
        Q_EMIT drives->activated(2);
        const QString driveC = m_folder->filePath(u".wine/dosdevices/c:"_s);
        QCOMPARE(m_shared.BrowsePath, driveC);
        Q_EMIT folders->itemDoubleClicked(folders->item(2)); // Dynamix
        Q_EMIT drives->activated(2); // the drive already shown keeps its open folder
        QCOMPARE(browser.currentFolder(), driveC + u"/Dynamix"_s);
        // A drive that is not ready: the list and BrowsePath stay, and a message says why.
        Q_EMIT drives->activated(3);
        QVERIFY2(catcher.lastText().contains(u"d:\": it does not exist"_s),
                 qPrintable(catcher.lastText()));
        QCOMPARE(m_shared.BrowsePath, driveC + u"/Dynamix"_s);
    }

    void mainClosedThenOk_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("loads") << u"Tribes"_s;
        QTest::newRow("fails_again") << u"Nowhere"_s;
    }

    void mainClosedThenOk()
    {
        QFETCH(QString, typed);
        Session session([this] { ++m_quits; });
        session.showMain();
        session.mainWindow()->close();
        QVERIFY(!session.mainWindow());
        PathDialog *first = session.pathDialog(); // the run goes on with the path dialog
        first->pathBox()->setText(m_folder->filePath(typed));
        MessageCatcher catcher;
        button(first, "Command2")->click();
        // Ok made the main window anew and ran its load step with the new path; when that
        // fails again, a fresh path dialog comes up.
        const bool loads = typed == u"Tribes"_s;
        QVERIFY(session.mainWindow()->isVisible());
        QCOMPARE(session.mainWindow()->field(53)->text(), loads ? u"value54"_s : QString());
        QCOMPARE(session.pathDialog() && session.pathDialog() != first, !loads);
        QCoreApplication::processEvents();
        QCOMPARE(m_quits, 0);
        // With the main window closed, Do It Later leaves no window: the run ends.
        if (loads)
            Q_EMIT session.mainWindow()->pathInfoRequested();
        session.mainWindow()->close();
        button(session.pathDialog(), "Command3")->click();
        QTRY_COMPARE(m_quits, 1);
    }

    void hiddenDialogDoesNotKeepTheRunAlive()
    {
        QVERIFY(writeBytes(u"path.inf"_s, QFile::encodeName(game())));
        Session session([this] { ++m_quits; });
        session.showMain();
        Q_EMIT session.mainWindow()->pathInfoRequested();
        button(session.pathDialog(), "Command1")->click();
        session.pathDialog()->close();
        session.shared().BrowsePath = u"/srv/tribes"_s;
        button(session.folderBrowser(), "Command1")->click();
        // A new, hidden path dialog holds the folder; Change Path Info shows it.
        QVERIFY(!session.pathDialog()->isVisible());
        Q_EMIT session.mainWindow()->pathInfoRequested();
        QVERIFY(session.pathDialog()->isVisible());
        QCOMPARE(session.pathDialog()->pathBox()->text(), u"/srv/tribes"_s);
        session.pathDialog()->hide();
        QCoreApplication::processEvents();
        QCOMPARE(m_quits, 0);
        session.mainWindow()->close(); // only the hidden dialog is left: the run ends
        QTRY_COMPARE(m_quits, 1);
    }
};

QTEST_MAIN(DialogsTest)
#include "tst_dialogs.moc"
