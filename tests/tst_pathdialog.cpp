#include "app/session.h"
#include "gamedir/folderbrowser.h"
#include "gamedir/pathdialog.h"
#include "testsupport.h"
#include "widgetsupport.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>

using namespace TestSupport;

class PathDialogTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void controls_data() { addControlRows("dialogcontrols.tsv"); }
    void controls();
    void tabOrder();
    void keys_data();
    void keys();
    void browse();
    void browserKeys();
    void drives();

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    SharedStrings m_shared;
};

void PathDialogTest::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(m_folder->path()));
    qputenv("HOME", QFile::encodeName(m_folder->path()));
}

void PathDialogTest::controls()
{
    QFETCH(QStringList, row);
    PathDialog dialog(m_shared);
    FolderBrowser browser(m_shared);
    QCOMPARE(dialog.windowTitle() + u' ' + browser.windowTitle(),
             u"Path Info For Tribes Locate"_qs);
    QCOMPARE(dialog.size(), QSize(6375 / 15, 2310 / 15));
    QCOMPARE(browser.size(), QSize(5250 / 15, 3165 / 15));
    QWidget *window = row.at(0) == u"FrmGetPath"_qs ? static_cast<QWidget *>(&dialog) : &browser;
    auto *control = window->findChild<QWidget *>(row.at(1));
    QCOMPARE(control->geometry(), twipsRect(row, 2));
    const auto *drives = qobject_cast<QComboBox *>(control);
    QCOMPARE(
            drives ? drives->currentText() : control->property("text").toString(),
            QString(row.at(6)).replace(u"HOME"_qs, m_folder->path())); // the working folder's drive
    if (auto *label = qobject_cast<QLabel *>(control)) {
        QVERIFY(label->font().bold() && label->font().underline()
                && label->font().pointSize() == 12);
        QVERIFY(label->wordWrap() && label->heightForWidth(label->width()) <= label->height());
    }
}

void PathDialogTest::tabOrder()
{
    PathDialog dialog(m_shared);
    FolderBrowser browser(m_shared);
    QStringList order;
    for (QWidget *window : {static_cast<QWidget *>(&dialog), static_cast<QWidget *>(&browser)}) {
        QWidget *control
                = window->findChild<QWidget *>(order.isEmpty() ? u"PathBox"_qs : u"Drive1"_qs);
        for (int step = 0; step < 4; ++step) {
            order << control->objectName();
            do // past the controls' own inner parts, which take no focus
                control = control->nextInFocusChain();
            while (!(control->focusPolicy() & Qt::TabFocus));
        }
    }
    QCOMPARE(order.join(u' '),
             u"PathBox Command1 Command2 Command3 Drive1 Dir1 Command1 Command2"_qs);
}

void PathDialogTest::keys_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key"); // 0: the close box
    QTest::addColumn<QString>("message");
    QTest::addColumn<QByteArray>("pathInf");

    const QString ok = u"Under edit, Go to Restor ServerPrefs to re-initate File"_qs;
    const QString later = u"You Must Do this so you can edit ServerPrefs File. You can find it "
                          "under the File Menu"_qs;
    const QString path = u"D:\\Games\\Tribes\\"_qs;
    const QByteArray stored("D:\\Games\\Tribes\\\r\n");
    const QByteArray none("<missing>");
    const int enter = Qt::Key_Return;
    QTest::newRow("enter_in_box") << path << u"PathBox"_qs << enter << ok << stored;
    QTest::newRow("enter_on_browse") << path << u"Command1"_qs << int(Qt::Key_Enter) << ok << stored;
    QTest::newRow("enter_on_later") << path << u"Command3"_qs << enter << ok << stored;
    QTest::newRow("escape") << path << u"PathBox"_qs << int(Qt::Key_Escape) << later << none;
    QTest::newRow("close_box") << path << u"PathBox"_qs << 0 << QString() << none;
    // What path.inf cannot hold changes nothing, and the dialog stays.
    QTest::newRow("line_break") << u"D:\\Games\nTribes"_qs << u"PathBox"_qs << enter
                                << u"The path holds a line break"_qs << none;
    QTest::newRow("nul") << u"D:\\Games\0"_qs << u"PathBox"_qs << enter
                         << u"The path holds a NUL"_qs << none;
    QTest::newRow("too_long") << QString(4097, u'p') << u"PathBox"_qs << enter
                              << u"The path is longer than 4096 bytes"_qs << none;
}

void PathDialogTest::keys()
{
    QFETCH(QString, path);
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(QString, message);
    QFETCH(QByteArray, pathInf);

    m_shared.TribesPath = u"before"_qs;
    QPointer<PathDialog> dialog(new PathDialog(m_shared));
    QSignalSpy stored(dialog, &PathDialog::pathStored);
    dialog->pathBox()->setText(path);
    dialog->show();
    QApplication::setActiveWindow(dialog);
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    QWidget *focused = dialog->findChild<QWidget *>(focus);
    focused->setFocus();
    MessageCatcher catcher;
    key ? QTest::keyClick(focused, Qt::Key(key)) : void(dialog->close());
    QCOMPARE(catcher.messages.size(), message.isEmpty() ? 0 : 1);
    QVERIFY2(catcher.lastText().startsWith(message), qPrintable(catcher.lastText()));
    const bool isStored = pathInf != "<missing>";
    QCOMPARE(stored.size(), isStored ? 1 : 0);
    QCOMPARE(m_shared.TribesPath, isStored ? path : u"before"_qs);
    QCOMPARE(readBytes(u"path.inf"_qs), pathInf);
    if (message.startsWith(u"The path"_qs))
        QVERIFY(dialog && dialog->isVisible());
    else
        QTRY_VERIFY(!dialog); // closed, whichever way
    delete dialog;
}

void PathDialogTest::browse()
{
    QVERIFY(QDir().mkpath(u"games/tribes"_qs));
    Session session([] {});
    session.showPathDialog();
    PathDialog *dialog = session.pathDialog();
    auto *browseButton = dialog->findChild<QPushButton *>(u"Command1"_qs);
    browseButton->click(); // the first Browse of a run clears the path box
    QCOMPARE(dialog->pathBox()->text(), QString());
    FolderBrowser *browser = session.folderBrowser();
    QVERIFY(browser->isVisible() && browser->currentFolder() == m_folder->path());
    QListWidget *folders = browser->folderList();
    const auto item = [folders](const QString &name) {
        return folders->findItems(name, Qt::MatchExactly).value(0);
    };
    folders->setCurrentItem(item(u"games"_qs)); // a single click only highlights
    QCOMPARE(session.shared().BrowsePath, QString());
    Q_EMIT folders->itemDoubleClicked(item(u"games"_qs));
    Q_EMIT folders->itemDoubleClicked(item(u"tribes"_qs));
    const QString tribes = m_folder->filePath(u"games/tribes"_qs);
    QCOMPARE(session.shared().BrowsePath, tribes);
    browser->findChild<QPushButton *>(u"Command1"_qs)->click();
    QCOMPARE(dialog->pathBox()->text(), tribes);
    QTRY_VERIFY(!session.folderBrowser());
    // The browser's Ok kept BrowsePath: Browse takes the same folder again, then empties it.
    browseButton->click();
    QCOMPARE(dialog->pathBox()->text(), tribes);
    QCOMPARE(session.shared().BrowsePath, QString());
    FolderBrowser *same = session.folderBrowser();
    browseButton->click(); // with the browser open: the same browser, the path box cleared
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
    QTest::keyClick(browser->folderList(), Qt::Key_Escape); // Esc and Cancel do nothing
    browser->findChild<QPushButton *>(u"Command2"_qs)->click();
    QVERIFY(browser->isVisible() && session.pathDialog()->pathBox()->text().isEmpty());
    QTest::keyClick(browser->folderList(), Qt::Key_Return);
    QCOMPARE(session.pathDialog()->pathBox()->text(), u"/picked"_qs);
    QTRY_VERIFY(!session.folderBrowser());
    session.pathDialog()->browse();
    session.shared().BrowsePath = u"/other"_qs;
    session.folderBrowser()->close(); // the close box takes no folder
    QCOMPARE(session.pathDialog()->pathBox()->text(), u"/picked"_qs);
}

void PathDialogTest::drives()
{
    QVERIFY(QDir().mkpath(u".wine/dosdevices/c:/Dynamix"_qs) && QDir().mkpath(u".hidden"_qs));
    QVERIFY(QFile::link(u"/nonexistent-medium"_qs, u".wine/dosdevices/d:"_qs));
    FolderBrowser browser(m_shared);
    QComboBox *drives = browser.driveList();
    QStringList labels;
    for (int index = 0; index < drives->count(); ++index)
        labels << drives->itemText(index);
    QCOMPARE(labels, QStringList({u"/"_qs, m_folder->path(), u"c:"_qs, u"d:"_qs}));
    QCOMPARE(browser.folderList()->item(0)->text(), m_folder->path()); // where the list is
    QCOMPARE(browser.folderList()->item(1)->text(), u".."_qs);
    QVERIFY(!browser.folderList()->findItems(u".hidden"_qs, Qt::MatchExactly).isEmpty());
    MessageCatcher catcher;
    Q_EMIT drives->activated(2);
    const QString driveC = m_folder->filePath(u".wine/dosdevices/c:"_qs);
    QCOMPARE(m_shared.BrowsePath, driveC);
    // Picking the drive already shown keeps the folder opened on it.
    Q_EMIT browser.folderList()->itemDoubleClicked(browser.folderList()->item(2)); // Dynamix
    Q_EMIT drives->activated(2);
    QCOMPARE(browser.currentFolder(), driveC + u"/Dynamix"_qs);
    Q_EMIT browser.folderList()->itemDoubleClicked(browser.folderList()->item(1)); // ..
    // A drive that is not ready: the list and BrowsePath stay, and a message says why.
    Q_EMIT drives->activated(3);
    QVERIFY2(catcher.lastText().contains(u"d:\": it does not exist"_qs),
             qPrintable(catcher.lastText()));
    QCOMPARE(m_shared.BrowsePath, driveC);
    QCOMPARE(browser.folderList()->item(2)->text(), u"Dynamix"_qs);
}

QTEST_MAIN(PathDialogTest)
#include "tst_pathdialog.moc"
