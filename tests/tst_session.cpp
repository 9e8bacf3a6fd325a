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

// The windows of a run: which are open after a start, and when the run ends.
class SessionTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void failedStart();
    void mainClosedThenOk_data();
    void mainClosedThenOk();
    void mainClosedThenDoItLater();
    void hiddenDialogDoesNotKeepTheRunAlive();

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    int m_quits = 0;
};

void SessionTest::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(m_folder->path()));
    QVERIFY(QDir().mkpath(u"Tribes/config"_qs));
    QVERIFY(writeBytes(u"Tribes/config/serverprefs.cs"_qs, numberedLines(54)));
    m_quits = 0;
}

void SessionTest::failedStart()
{
    QVERIFY(writeBytes(u"Tribes/config/serverprefs.cs"_qs, numberedLines(53)));
    QVERIFY(writeBytes(u"path.inf"_qs, QFile::encodeName(m_folder->filePath(u"Tribes"_qs))));
    Session session([this] { ++m_quits; });
    session.showMain();
    // Both windows are open, the path dialog in front; the fields read so far are filled.
    QVERIFY(session.mainWindow()->isVisible());
    QCOMPARE(session.mainWindow()->field(52)->text(), u"value53"_qs);
    QVERIFY(session.pathDialog()->isVisible());
    QTRY_COMPARE(QApplication::activeWindow(), session.pathDialog());
    QCOMPARE(session.pathDialog()->pathBox()->text(), u"C:\\Dynamix\\Tribes"_qs);
    // Do It Later leaves the main window on screen and the run going.
    MessageCatcher catcher;
    session.pathDialog()->doItLater();
    QTest::qWait(10);
    QVERIFY(session.mainWindow()->isVisible());
    QCOMPARE(m_quits, 0);
}

void SessionTest::mainClosedThenOk_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("loads");

    QTest::newRow("loads") << u"Tribes"_qs << true;
    QTest::newRow("fails_again") << u"Nowhere"_qs << false;
}

void SessionTest::mainClosedThenOk()
{
    QFETCH(QString, typed);
    QFETCH(bool, loads);

    Session session([this] { ++m_quits; });
    session.showMain();
    session.mainWindow()->close();
    QTest::qWait(10);
    QVERIFY(!session.mainWindow());
    QCOMPARE(m_quits, 0); // the path dialog is still open
    PathDialog *first = session.pathDialog();
    first->pathBox()->setText(m_folder->filePath(typed));
    MessageCatcher catcher;
    first->ok();
    // Ok made the main window anew and ran its load step with the new path; when that fails
    // again, a fresh path dialog comes up.
    QVERIFY(session.mainWindow()->isVisible());
    QCOMPARE(session.mainWindow()->field(53)->text(), loads ? u"value54"_qs : QString());
    QCOMPARE(session.pathDialog() != nullptr, !loads);
    if (!loads)
        QVERIFY(session.pathDialog() != first && session.pathDialog()->isVisible());
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
    QVERIFY(writeBytes(u"path.inf"_qs, QFile::encodeName(m_folder->filePath(u"Tribes"_qs))));
    Session session([this] { ++m_quits; });
    session.showMain();
    QVERIFY(!session.pathDialog());
    Q_EMIT session.mainWindow()->pathInfoRequested();
    session.pathDialog()->browse();
    session.pathDialog()->close();
    session.shared().BrowsePath = u"/srv/tribes"_qs;
    session.folderBrowser()->findChild<QPushButton *>(u"Command1"_qs)->click();
    // A new, hidden path dialog holds the folder; Change Path Info shows it.
    QVERIFY(!session.pathDialog()->isVisible());
    QCOMPARE(session.pathDialog()->pathBox()->text(), u"/srv/tribes"_qs);
    Q_EMIT session.mainWindow()->pathInfoRequested();
    QVERIFY(session.pathDialog()->isVisible());
    QCOMPARE(session.pathDialog()->pathBox()->text(), u"/srv/tribes"_qs);
    session.pathDialog()->hide();
    QTest::qWait(10);
    QCOMPARE(m_quits, 0);
    // With the main window closed only the hidden dialog is left: the run ends.
    session.mainWindow()->close();
    QTRY_COMPARE(m_quits, 1);
}

QTEST_MAIN(SessionTest)
#include "tst_session.moc"
