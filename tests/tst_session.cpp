#include "app/session.h"
#include "gamedir/folderbrowser.h"
#include "gamedir/pathdialog.h"
#include "testsupport.h"
#include "ui/mainwindow.h"
#include "widgetsupport.h"

#include <QDir>
#include <QLineEdit>
#include <QTest>

using namespace TestSupport;

class SessionTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void start_data();
    void start();
    void mainClosedThenOk();
    void mainClosedThenOkFailsAgain();
    void mainClosedThenDoItLater();
    void hiddenDialogDoesNotKeepTheRunAlive();
    void exitEndsTheRun();

private:
    QString game() const { return m_folder->filePath(u"Tribes"_qs); }

    std::unique_ptr<QTemporaryDir> m_folder;
    int m_quits = 0;
};

void SessionTest::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(m_folder->path()));
    QVERIFY(QDir().mkpath(game() + u"/config"_qs));
    QVERIFY(writeBytes(game() + u"/config/serverprefs.cs"_qs, numberedLines(54)));
    m_quits = 0;
}

void SessionTest::start_data()
{
    QTest::addColumn<QByteArray>("pathInf"); // "<none>" for none; GAME for the game folder
    QTest::addColumn<int>("prefsLines");
    QTest::addColumn<bool>("dialogShown");
    QTest::addColumn<int>("fieldsFilled");

    QTest::newRow("loads") << QByteArray("GAME\r\n") << 54 << false << 54;
    QTest::newRow("first_use") << QByteArray("<none>") << 54 << true << 0;
    QTest::newRow("zero_bytes") << QByteArray() << 54 << true << 0;
    QTest::newRow("prefs_missing") << QByteArray("GAME\\gone\r\n") << 54 << true << 0;
    QTest::newRow("prefs_short") << QByteArray("GAME\r\n") << 53 << true << 53;
}

void SessionTest::start()
{
    QFETCH(QByteArray, pathInf);
    QFETCH(int, prefsLines);
    QFETCH(bool, dialogShown);
    QFETCH(int, fieldsFilled);

    QVERIFY(writeBytes(game() + u"/config/serverprefs.cs"_qs, numberedLines(prefsLines)));
    if (pathInf != "<none>")
        QVERIFY(writeBytes(u"path.inf"_qs, pathInf.replace("GAME", QFile::encodeName(game()))));
    Session session([this] { ++m_quits; });
    session.showMain();
    MainWindow *window = session.mainWindow();
    QVERIFY(window->isVisible());
    QCOMPARE(window->fieldTexts().count(QString()), 54 - fieldsFilled);
    QCOMPARE(session.pathDialog() != nullptr, dialogShown);
    if (dialogShown) {
        QVERIFY(session.pathDialog()->isVisible());
        QTRY_COMPARE(QApplication::activeWindow(), session.pathDialog());
        QCOMPARE(session.pathDialog()->pathBox()->text(), u"C:\\Dynamix\\Tribes"_qs);
    }
    QCOMPARE(window->skinDirectory(), pathInf.startsWith("/")
                                              ? session.shared().TribesPath + u"\\base\\skins"_qs
                                              : u"\\base\\skins"_qs);
    QCOMPARE(m_quits, 0);
}

void SessionTest::mainClosedThenOk()
{
    Session session([this] { ++m_quits; });
    session.showMain();
    session.mainWindow()->close();
    QTRY_VERIFY(!session.mainWindow());
    QTest::qWait(10);
    QCOMPARE(m_quits, 0); // the path dialog is still open
    session.pathDialog()->pathBox()->setText(game());
    MessageCatcher catcher;
    session.pathDialog()->ok();
    // Ok made the main window anew and ran its load step with the new path.
    QVERIFY(session.mainWindow() && session.mainWindow()->isVisible());
    QCOMPARE(session.mainWindow()->field(53)->text(), u"value54"_qs);
    QCOMPARE(readBytes(u"path.inf"_qs), QFile::encodeName(game()) + "\r\n");
    QTest::qWait(10);
    QCOMPARE(m_quits, 0);
    QVERIFY(!session.pathDialog());
}

void SessionTest::mainClosedThenOkFailsAgain()
{
    Session session([this] { ++m_quits; });
    session.showMain();
    session.mainWindow()->close();
    session.pathDialog()->pathBox()->setText(u"/still/wrong"_qs);
    MessageCatcher catcher;
    PathDialog *first = session.pathDialog();
    first->ok();
    // The load fails again: a fresh path dialog comes up beside the new main window.
    QVERIFY(session.pathDialog() && session.pathDialog() != first);
    QVERIFY(session.pathDialog()->isVisible());
    QVERIFY(session.mainWindow()->isVisible());
    QTest::qWait(10);
    QCOMPARE(m_quits, 0);
}

void SessionTest::mainClosedThenDoItLater()
{
    Session session([this] { ++m_quits; });
    session.showMain();
    session.mainWindow()->close();
    MessageCatcher catcher;
    session.pathDialog()->doItLater();
    QTRY_COMPARE(m_quits, 1);
    QVERIFY(!QFile::exists(u"path.inf"_qs));
}

void SessionTest::hiddenDialogDoesNotKeepTheRunAlive()
{
    QVERIFY(writeBytes(u"path.inf"_qs, QFile::encodeName(game()) + "\r\n"));
    Session session([this] { ++m_quits; });
    session.showMain();
    session.mainWindow()->pathInfoRequested();
    session.pathDialog()->browse();
    session.pathDialog()->close();
    session.folderBrowser()->findChild<QPushButton *>(u"Command1"_qs)->click();
    QVERIFY(session.pathDialog() && !session.pathDialog()->isVisible());
    QTest::qWait(10);
    QCOMPARE(m_quits, 0);
    session.mainWindow()->close();
    QTRY_COMPARE(m_quits, 1);
}

void SessionTest::exitEndsTheRun()
{
    QVERIFY(writeBytes(u"path.inf"_qs, QFile::encodeName(game()) + "\r\n"));
    Session session([this] { ++m_quits; });
    session.showMain();
    session.mainWindow()->field(0)->setText(u"edited"_qs);
    session.mainWindow()->findChild<QAction *>(u"mnuExit"_qs)->trigger();
    QCOMPARE(m_quits, 1);
    QCOMPARE(readBytes(game() + u"/config/serverprefs.cs"_qs), numberedLines(54));
}

QTEST_MAIN(SessionTest)
#include "tst_session.moc"
