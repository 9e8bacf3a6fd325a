#include "app/session.h"
#include "gamedir/folderbrowser.h"
#include "gamedir/pathdialog.h"
#include "testsupport.h"
#include "ui/mainwindow.h"
#include "widgetsupport.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>

using namespace TestSupport;

const char OkMessage[] = "Under edit, Go to Restor ServerPrefs to re-initate File";
const char LaterMessage[] = "You Must Do this so you can edit ServerPrefs File. You can find it "
                            "under the File Menu";

class PathDialogTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void controls_data();
    void controls();
    void keys_data();
    void keys();
    void okCannotWrite();
    void browse();
    void browserKeys();
    void browserOkWithDialogClosed();
    void drivesAndFolders();

private:
    std::unique_ptr<QTemporaryDir> m_folder;
};

void PathDialogTest::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(m_folder->path()));
    qputenv("HOME", QFile::encodeName(m_folder->path()));
}

void PathDialogTest::controls_data()
{
    QTest::addColumn<QString>("row"); // window name left top width height caption

    for (const char *row : {
                 "FrmGetPath Label1 120 240 6135 615 You have not used this program before! "
                 "Please Specify the path to your tribes directory.",
                 "FrmGetPath PathBox 120 1080 4935 375 C:\\Dynamix\\Tribes",
                 "FrmGetPath Command1 5160 1080 1215 375 Browse",
                 "FrmGetPath Command2 960 1680 1455 375 &Ok",
                 "FrmGetPath Command3 3000 1680 1815 375 &Do It Later",
                 "frmBrows Drive1 0 0 2775 315 /",
                 "frmBrows Dir1 0 360 2775 2790",
                 "frmBrows Command1 3240 600 1455 375 &Ok",
                 "frmBrows Command2 3240 1320 1455 375 &Cancel",
         })
        QTest::newRow(row) << QString::fromLatin1(row);
}

void PathDialogTest::controls()
{
    QFETCH(QString, row);
    const QStringList parts = row.split(u' ');
    SharedStrings shared;
    PathDialog dialog(shared);
    FolderBrowser browser(shared);
    QWidget *window = parts.at(0) == u"FrmGetPath"_qs ? static_cast<QWidget *>(&dialog) : &browser;
    QCOMPARE(dialog.windowTitle(), u"Path Info For Tribes"_qs);
    QCOMPARE(dialog.size(), QSize(6375 / 15, 2310 / 15));
    QCOMPARE(browser.windowTitle(), u"Locate"_qs);
    QCOMPARE(browser.size(), QSize(5250 / 15, 3165 / 15));

    auto *control = window->findChild<QWidget *>(parts.at(1));
    QVERIFY(control);
    QCOMPARE(control->geometry(), QRect(parts.at(2).toInt() / 15, parts.at(3).toInt() / 15,
                                        parts.at(4).toInt() / 15, parts.at(5).toInt() / 15));
    const QString caption = parts.mid(6).join(u' ');
    QString shown = control->property("text").toString();
    if (auto *drives = qobject_cast<QComboBox *>(control))
        shown = drives->currentText();
    QCOMPARE(shown, caption);
    if (auto *label = qobject_cast<QLabel *>(control)) {
        QVERIFY(label->font().bold() && label->font().underline());
        QCOMPARE(label->font().pointSize(), 12);
        // The text wraps inside its box.
        QVERIFY(label->wordWrap());
        QVERIFY(label->heightForWidth(label->width()) <= label->height());
    }
}

void PathDialogTest::keys_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QByteArray>("pathInf");

    const QByteArray stored("D:\\Games\\Tribes\\\r\n");
    QTest::newRow("enter_in_box") << u"PathBox"_qs << int(Qt::Key_Return)
                                  << QString::fromLatin1(OkMessage) << stored;
    QTest::newRow("enter_on_browse")
            << u"Command1"_qs << int(Qt::Key_Enter) << QString::fromLatin1(OkMessage) << stored;
    QTest::newRow("enter_on_later")
            << u"Command3"_qs << int(Qt::Key_Return) << QString::fromLatin1(OkMessage) << stored;
    QTest::newRow("escape") << u"PathBox"_qs << int(Qt::Key_Escape)
                            << QString::fromLatin1(LaterMessage) << QByteArray("<missing>");
    QTest::newRow("close_box") << u"PathBox"_qs << 0 << QString() << QByteArray("<missing>");
}

void PathDialogTest::keys()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(QString, message);
    QFETCH(QByteArray, pathInf);

    SharedStrings shared;
    shared.TribesPath = u"before"_qs;
    auto *dialog = new PathDialog(shared);
    QPointer<PathDialog> alive(dialog);
    dialog->pathBox()->setText(u"D:\\Games\\Tribes\\"_qs);
    dialog->show();
    QApplication::setActiveWindow(dialog);
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    QWidget *focused = dialog->findChild<QWidget *>(focus);
    focused->setFocus();
    MessageCatcher catcher;
    if (key)
        QTest::keyClick(focused, Qt::Key(key));
    else
        dialog->close();
    QCOMPARE(catcher.lastText(), message);
    if (!message.isEmpty())
        QCOMPARE(catcher.messages.last().title, u"Tolvane"_qs);
    QCOMPARE(readBytes(u"path.inf"_qs), pathInf);
    QCOMPARE(shared.TribesPath, key == Qt::Key_Return || key == Qt::Key_Enter
                                        ? u"D:\\Games\\Tribes\\"_qs
                                        : u"before"_qs);
    QTRY_VERIFY(!alive); // closed, whichever way
}

void PathDialogTest::okCannotWrite()
{
    QVERIFY(QDir().mkdir(u"path.inf"_qs)); // a folder where the file should be
    SharedStrings shared;
    PathDialog dialog(shared);
    dialog.show();
    QSignalSpy stored(&dialog, &PathDialog::pathStored);
    MessageCatcher catcher;
    dialog.ok();
    QCOMPARE(catcher.messages.size(), 1);
    QVERIFY2(catcher.lastText().startsWith(u"Cannot write \""_qs
                                           + QDir::current().filePath(u"path.inf"_qs)),
             qPrintable(catcher.lastText()));
    QCOMPARE(shared.TribesPath, u"C:\\Dynamix\\Tribes"_qs);
    QVERIFY(dialog.isVisible());
    QCOMPARE(stored.size(), 0);
}

void PathDialogTest::browse()
{
    QVERIFY(QDir().mkpath(u"games/tribes"_qs));
    Session session([] {});
    session.showPathDialog();
    PathDialog *dialog = session.pathDialog();
    auto *browseButton = dialog->findChild<QPushButton *>(u"Command1"_qs);
    // The first Browse of a run clears the path box at once.
    browseButton->click();
    QCOMPARE(dialog->pathBox()->text(), QString());
    FolderBrowser *browser = session.folderBrowser();
    QVERIFY(browser && browser->isVisible());
    QCOMPARE(browser->currentFolder(), m_folder->path());
    // A single click only highlights; a double click opens.
    QListWidget *folders = browser->folderList();
    const auto item = [folders](const char *name) {
        return folders->findItems(QLatin1StringView(name), Qt::MatchExactly).value(0);
    };
    folders->setCurrentItem(item("games"));
    QCOMPARE(session.shared().BrowsePath, QString());
    Q_EMIT folders->itemDoubleClicked(item("games"));
    Q_EMIT folders->itemDoubleClicked(item("tribes"));
    const QString tribes = m_folder->filePath(u"games/tribes"_qs);
    QCOMPARE(session.shared().BrowsePath, tribes);
    browser->findChild<QPushButton *>(u"Command1"_qs)->click();
    QCOMPARE(dialog->pathBox()->text(), tribes);
    QTRY_VERIFY(!session.folderBrowser());
    // Ok kept BrowsePath: the next Browse takes the same folder again, then empties it.
    QCOMPARE(session.shared().BrowsePath, tribes);
    browseButton->click();
    QCOMPARE(dialog->pathBox()->text(), tribes);
    QCOMPARE(session.shared().BrowsePath, QString());
    // Browse again with the browser open: the same browser, and the path box cleared.
    FolderBrowser *same = session.folderBrowser();
    browseButton->click();
    QCOMPARE(session.folderBrowser(), same);
    QCOMPARE(dialog->pathBox()->text(), QString());
}

void PathDialogTest::browserKeys()
{
    Session session([] {});
    session.showPathDialog();
    session.pathDialog()->browse();
    FolderBrowser *browser = session.folderBrowser();
    session.shared().BrowsePath = u"/picked"_qs;
    QApplication::setActiveWindow(browser);
    QVERIFY(QTest::qWaitForWindowActive(browser));
    browser->folderList()->setFocus();
    QTest::keyClick(browser->folderList(), Qt::Key_Escape);
    browser->findChild<QPushButton *>(u"Command2"_qs)->click();
    QVERIFY(browser->isVisible());
    QCOMPARE(session.pathDialog()->pathBox()->text(), QString());
    QTest::keyClick(browser->folderList(), Qt::Key_Return);
    QCOMPARE(session.pathDialog()->pathBox()->text(), u"/picked"_qs);
    QTRY_VERIFY(!session.folderBrowser());
    // The close box closes the browser without taking a folder.
    session.pathDialog()->pathBox()->setText(u"typed"_qs);
    session.pathDialog()->browse();
    session.shared().BrowsePath = u"/other"_qs;
    session.folderBrowser()->close();
    QCOMPARE(session.pathDialog()->pathBox()->text(), u"/picked"_qs);
}

void PathDialogTest::browserOkWithDialogClosed()
{
    QVERIFY(writeBytes(u"path.inf"_qs, "/nowhere\r\n"));
    Session session([] {});
    session.showMain();
    session.pathDialog()->browse();
    session.pathDialog()->close();
    QTRY_VERIFY(!session.pathDialog());
    session.shared().BrowsePath = u"/srv/tribes"_qs;
    session.folderBrowser()->findChild<QPushButton *>(u"Command1"_qs)->click();
    // A new, hidden path dialog holds the folder; Change Path Info shows it.
    QVERIFY(session.pathDialog() && !session.pathDialog()->isVisible());
    QCOMPARE(session.pathDialog()->pathBox()->text(), u"/srv/tribes"_qs);
    QApplication::setActiveWindow(session.mainWindow());
    QVERIFY(QTest::qWaitForWindowActive(session.mainWindow()));
    QTest::keyClick(session.mainWindow()->field(0), Qt::Key_P, Qt::ControlModifier);
    QVERIFY(session.pathDialog()->isVisible());
    QCOMPARE(session.pathDialog()->pathBox()->text(), u"/srv/tribes"_qs);
}

void PathDialogTest::drivesAndFolders()
{
    QVERIFY(QDir().mkpath(u".wine/dosdevices/c:/Dynamix"_qs));
    QVERIFY(QFile::link(u"/nonexistent-medium"_qs, u".wine/dosdevices/d:"_qs));
    QVERIFY(QDir().mkpath(u".hidden"_qs));
    SharedStrings shared;
    FolderBrowser browser(shared);
    QStringList labels;
    for (int index = 0; index < browser.driveList()->count(); ++index)
        labels << browser.driveList()->itemText(index);
    QCOMPARE(labels, QStringList({u"/"_qs, m_folder->path(), u"c:"_qs, u"d:"_qs}));
    QVERIFY(!browser.folderList()->findItems(u".hidden"_qs, Qt::MatchExactly).isEmpty());
    QCOMPARE(browser.folderList()->item(0)->text(), u".."_qs);

    MessageCatcher catcher;
    browser.driveList()->setCurrentIndex(2);
    Q_EMIT browser.driveList()->activated(2);
    QCOMPARE(shared.BrowsePath, m_folder->filePath(u".wine/dosdevices/c:"_qs));
    QVERIFY(!browser.folderList()->findItems(u"Dynamix"_qs, Qt::MatchExactly).isEmpty());
    // A drive that is not ready: Dir1 and BrowsePath stay as they were, and a message says why.
    Q_EMIT browser.driveList()->activated(3);
    QVERIFY2(catcher.lastText().contains(u"d:"_qs), qPrintable(catcher.lastText()));
    QCOMPARE(shared.BrowsePath, m_folder->filePath(u".wine/dosdevices/c:"_qs));
    QVERIFY(!browser.folderList()->findItems(u"Dynamix"_qs, Qt::MatchExactly).isEmpty());
}

QTEST_MAIN(PathDialogTest)
#include "tst_pathdialog.moc"
