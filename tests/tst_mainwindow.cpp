#include "app/sharedstrings.h"
#include "ui/mainwindow.h"
#include "ui/tabcontrol.h"
#include "widgetsupport.h"

#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace TestSupport;

// Every control of the pages: name, page, left, top, width, height in twips, then the
// caption of a label or button.
const char *const ControlRows[] = {
        "Lable1 0 120 840 2055 375 Server Adress:",
        "SerAdd 0 2280 840 1575 405",
        "Label1 0 120 1320 2055 375 Auto Assign Teams",
        "Auto 0 2280 1320 1575 405",
        "Label2 0 120 1800 2055 375 Current Master",
        "CurMas 0 2280 1800 1575 405",
        "Label3 0 120 2280 2055 375 Flood Protection",
        "FloodProt 0 2280 2280 1575 405",
        "Label4 0 120 2760 2055 375 Host Name",
        "HostName 0 2280 2760 1575 405",
        "Label5 0 120 3240 2055 375 Host Public Game",
        "HostPubGam 0 2280 3240 1575 405",
        "Label6 0 120 3840 2055 375 Info",
        "ServInfo 0 2280 3840 4695 405",
        "Label7 0 120 4560 2055 375 Message Of The Day",
        "MOTD 0 2280 4560 4695 405",
        "Label8 1 240 720 1815 375 Master 1",
        "Mas1 1 2280 720 4695 375",
        "Label9 1 240 1320 1815 375 Master 2",
        "Mas2 1 2280 1320 4695 375",
        "Label10 1 240 1920 1815 375 Master Address 0",
        "MasAdd0 1 2280 1920 4695 375",
        "Label11 1 240 2520 1815 375 Master Address N0",
        "MasAddN0 1 2280 2520 4695 375",
        "Label13 1 240 3120 1815 375 Master Address N1",
        "MasAddN1 1 2280 3120 4695 375",
        "Label14 1 240 3720 1815 375 Master Addres N2",
        "MasAddN2 1 2280 3720 4695 375",
        "Label12 1 240 4320 1815 375 Master Name 0",
        "MasNam0 1 2280 4320 4695 375",
        "Label15 1 240 4920 1815 375 Master Name1",
        "MasNam1 1 2280 4920 4695 375",
        "Label16 1 240 5520 1815 375 Master Name 2",
        "MasNam2 1 2280 5520 4695 375",
        "Label17 2 360 1080 1935 375 Max Players",
        "MaxPlay 2 2640 1080 1815 375",
        "Label18 2 360 1680 1935 375 Minimum Votes",
        "MinVote 2 2640 1680 1815 375",
        "Label20 2 360 2280 1935 375 Minimum Vote % (0 -1)",
        "MinVotePct 2 2640 2280 1815 375",
        "Label21 2 360 2880 1935 375 Vote Time (seconds)",
        "VoteTime 2 2640 2880 1815 375",
        "Label22 2 360 3480 1935 375 Number of Masters",
        "NumMas 2 2640 3480 1815 375",
        "Label23 2 360 4080 1935 375 Port",
        "PortNum 2 2640 4080 1815 375",
        "Label19 2 360 4680 1935 375 Respawn Time (seconds)",
        "SpawnTime 2 2640 4680 1815 375",
        "Label24 2 360 5280 1935 375 Team Damage Scale",
        "TeamScale 2 2640 5280 1815 375",
        "Label33 3 2040 960 1575 255 Names",
        "Label34 3 4440 960 1455 255 Skins",
        "Label35 4 360 1080 1575 375 Time Limit",
        "TimeLim 4 2520 1080 1935 375",
        "Label36 4 360 1680 1575 375 Tournament Mode",
        "Tourn 4 2520 1680 1935 375",
        "Label37 4 360 2280 1575 375 Admin Vote Margin",
        "AdminMar 4 2520 2280 1935 375",
        "Label38 4 360 2880 1575 375 Vote Fail Time",
        "FailTime 4 2520 2880 1935 375",
        "Label39 4 360 3480 1575 375 Vote Pass Margin",
        "VoteMar 4 2520 3480 1935 375",
        "Label40 4 360 4080 1575 375 Voting Time",
        "VotingTime 4 2520 4080 1935 375",
        "Label41 4 360 4680 1575 375 Warmup Time",
        "Warmup 4 2520 4680 1935 375",
        "Label42 5 240 1080 1815 375 XL Master 1",
        "XLM1 5 2280 1080 4575 375",
        "Label43 5 240 1680 1815 375 XL Master 2",
        "XLM2 5 2280 1680 4575 375",
        "Label44 5 240 2280 1815 375 XL Master N0",
        "XLMN0 5 2280 2280 4575 375",
        "Label45 5 240 2880 1815 375 XL Master N1",
        "XLMN1 5 2280 2880 4575 375",
        "Label46 5 240 3480 1815 375 XL Master N2",
        "XLMN2 5 2280 3480 4575 405",
        "Label47 5 240 4080 1815 375 Last Mission Played",
        "LastMis 5 2280 4080 4575 375",
};

// The team rows follow one rule: row k at 1320 + 600 k.
static QStringList teamRows()
{
    QStringList rows;
    for (int team = 0; team < 8; ++team) {
        const QString top = QString::number(1320 + 600 * team);
        const QString k = QString::number(team);
        rows << u"Label%1 3 240 %2 1455 375 Team %3"_qs.arg(25 + team).arg(top, k)
             << u"TeamNam%1 3 2040 %2 1575 375"_qs.arg(k, top)
             << u"TeamSkin%1 3 4440 %2 1455 375"_qs.arg(k, top)
             << u"Command%1 3 6240 %2 495 375 ..."_qs.arg(team + 1).arg(top);
    }
    return rows;
}

class MainWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void controls_data();
    void controls();
    void everyControlIsListed();
    void window();
    void tabHeaders();
    void focusOrder_data();
    void focusOrder();
    void menus_data();
    void menus();
    void shortcutsBeatTheField();
    void fields();
    void skinDialog();

private:
    SharedStrings m_shared;
};

void MainWindowTest::controls_data()
{
    QTest::addColumn<QString>("row");
    QStringList rows = teamRows();
    for (const char *row : ControlRows)
        rows << QString::fromLatin1(row);
    for (const QString &row : std::as_const(rows))
        QTest::newRow(qPrintable(row.section(u' ', 0, 0))) << row;
}

void MainWindowTest::controls()
{
    QFETCH(QString, row);
    const QStringList parts = row.split(u' ');
    MainWindow window(m_shared);
    auto *control = window.findChild<QWidget *>(parts.at(0));
    QVERIFY(control);
    QCOMPARE(control->parentWidget(), window.tabs()->page(parts.at(1).toInt()));
    const QRect twips(parts.at(2).toInt(), parts.at(3).toInt(), parts.at(4).toInt(),
                      parts.at(5).toInt());
    QCOMPARE(control->geometry(),
             QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
    const QString caption = parts.mid(6).join(u' ');
    if (auto *label = qobject_cast<QLabel *>(control)) {
        QCOMPARE(label->text(), caption);
        QCOMPARE(label->textFormat(), Qt::PlainText);
        // The caption fits its label in the label's own font.
        QVERIFY(QFontMetrics(label->font()).horizontalAdvance(caption) <= label->width());
    } else if (auto *button = qobject_cast<QPushButton *>(control)) {
        QCOMPARE(button->text(), caption);
        QCOMPARE(button->font().pointSize(), 12);
        QVERIFY(button->font().bold());
    } else {
        QVERIFY(qobject_cast<QLineEdit *>(control));
        QVERIFY(caption.isEmpty());
    }
}

void MainWindowTest::everyControlIsListed()
{
    MainWindow window(m_shared);
    QCOMPARE(window.findChildren<QLineEdit *>().size() - 1, 54);  // less the file dialog's
    QCOMPARE(window.tabs()->findChildren<QLabel *>().size(), 48); // Lable1, Label1..Label47
    QCOMPARE(window.tabs()->findChildren<QPushButton *>().size(), 8);
    for (const char *name : {"Label33", "Label34"}) {
        const auto *heading = window.findChild<QLabel *>(QLatin1StringView(name));
        QVERIFY(heading->font().bold() && heading->font().underline());
        QCOMPARE(heading->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(heading->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    }
}

void MainWindowTest::window()
{
    MainWindow window(m_shared);
    QCOMPARE(window.objectName(), u"main"_qs);
    QCOMPARE(window.windowTitle(), u"Tolvane"_qs);
    QCOMPARE(window.tabs()->objectName(), u"SSTab1"_qs);
    QCOMPARE(window.tabs()->size(), QSize(7245 / 15, 6255 / 15));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.tabs()->mapToGlobal(QPoint(0, 0)), QPoint(2085 / 15, 1800 / 15));
    // A fixed layout: the window cannot be made larger or smaller.
    QCOMPARE(window.minimumSize(), window.maximumSize());
}

void MainWindowTest::tabHeaders()
{
    MainWindow window(m_shared);
    TabControl *tabs = window.tabs();
    const QStringList captions = {u"Server Info"_qs, u"Master Info 1"_qs,   u"Player Info"_qs,
                                  u"Team Info"_qs,   u"Server Settings"_qs, u"IP Adresses"_qs};
    QCOMPARE(tabs->count(), 6);
    QCOMPARE(tabs->currentIndex(), 0);
    QList<QRect> headers;
    for (int index = 0; index < 6; ++index) {
        QCOMPARE(tabs->caption(index), captions.at(index));
        headers << tabs->headerRect(index);
        QVERIFY(headers.last().height() <= 300 / 15);
    }
    // Four to a row, two rows.
    QCOMPARE(headers.at(3).top(), headers.at(0).top());
    QCOMPARE(headers.at(4).top(), headers.at(0).bottom() + 1);
    QCOMPARE(headers.at(4).left(), headers.at(0).left());
    window.show();
    for (int page = 0; page < 6; ++page) {
        QWidget *headerRow = tabs->childAt(headers.at(page).center());
        QTest::mouseClick(headerRow, Qt::LeftButton, {},
                          headerRow->mapFrom(tabs, headers.at(page).center()));
        QCOMPARE(tabs->currentIndex(), page);
        for (int index = 0; index < 6; ++index) {
            QCOMPARE(tabs->page(index)->isVisible(), index == page);
            QCOMPARE(tabs->headerRect(index), headers.at(index));
        }
        for (QWidget *control : tabs->page(page)->findChildren<QWidget *>()) {
            for (const QRect &header : std::as_const(headers))
                QVERIFY2(!header.intersects(control->geometry()),
                         qPrintable(control->objectName()));
        }
    }
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.findChild<QLineEdit *>(u"XLM1"_qs)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(tabs->currentIndex(), 0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp, Qt::ControlModifier);
    QCOMPARE(tabs->currentIndex(), 5);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(tabs->currentIndex(), 0);
    MainWindow another(m_shared);
    QCOMPARE(another.tabs()->currentIndex(), 0);
}

void MainWindowTest::focusOrder_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("order");

    QTest::newRow("server_info") << 0
                                 << u"SerAdd Auto CurMas FloodProt HostName HostPubGam "
                                    "ServInfo MOTD"_qs;
    QTest::newRow("master_info") << 1
                                 << u"Mas1 Mas2 MasAdd0 MasAddN0 MasAddN1 MasAddN2 MasNam0 "
                                    "MasNam1 MasNam2"_qs;
    QTest::newRow("player_info") << 2
                                 << u"MaxPlay MinVote MinVotePct VoteTime NumMas PortNum "
                                    "SpawnTime TeamScale"_qs;
    QTest::newRow("team_info") << 3
                               << u"TeamNam0 TeamNam1 TeamNam2 TeamNam3 TeamNam4 TeamNam5 "
                                  "TeamNam6 TeamNam7 TeamSkin0 TeamSkin1 TeamSkin2 TeamSkin3 "
                                  "TeamSkin4 TeamSkin5 TeamSkin6 TeamSkin7 Command1 Command2 "
                                  "Command3 Command4 Command5 Command6 Command7 Command8"_qs;
    QTest::newRow("server_settings") << 4
                                     << u"TimeLim Tourn AdminMar FailTime VoteMar "
                                        "VotingTime Warmup"_qs;
    QTest::newRow("ip_addresses") << 5 << u"XLM1 XLM2 XLMN0 XLMN1 XLMN2 LastMis"_qs;
}

void MainWindowTest::focusOrder()
{
    QFETCH(int, page);
    QFETCH(QString, order);

    MainWindow window(m_shared);
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.tabs()->setCurrentIndex(page);
    const QStringList names = order.split(u' ');
    window.findChild<QWidget *>(names.first())->setFocus();
    QStringList visited;
    for (int step = 0; step < names.size(); ++step) {
        visited << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(visited, names);
}

void MainWindowTest::menus_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("menuCaption");
    QTest::addColumn<QString>("items"); // name|caption|shortcut, separated by ';'

    QTest::newRow("file") << u"mnuFile"_qs << u"&File"_qs
                          << u"mnuBackup|&Create Backup|Ctrl+B;mnuLoad|&Load Backup|Ctrl+L;"
                             "mnuPath|Change &Path Info|Ctrl+P;mnuExit|E&xit|Ctrl+E"_qs;
    QTest::newRow("edit") << u"mnuEdit"_qs << u"&Edit"_qs
                          << u"mnuPrint|Print|;mnuConfig|C&onfig.cs Compare|Ctrl+O;"
                             "mnuRestor|Res&tore ServerPrefs|"_qs;
    QTest::newRow("create") << u"mnuCreat"_qs << u"C&reate New ServerPrefs!"_qs
                            << u"mnuSaE|Save and Exit|;mnuSaC|Save and Continue|"_qs;
}

void MainWindowTest::menus()
{
    QFETCH(QString, menu);
    QFETCH(QString, menuCaption);
    QFETCH(QString, items);

    MainWindow window(m_shared);
    auto *popup = window.findChild<QMenu *>(menu);
    QVERIFY(popup);
    QCOMPARE(popup->title(), menuCaption);
    QVERIFY(window.menuBar()->actions().contains(popup->menuAction()));
    QStringList seen;
    for (const QAction *action : popup->actions()) {
        QVERIFY(!action->isSeparator() && action->isEnabled() && action->isVisible()
                && !action->isCheckable());
        seen << action->objectName() + u'|' + action->text() + u'|' + action->shortcut().toString();
    }
    QCOMPARE(seen.join(u';'), items);
    QCOMPARE(window.menuBar()->actions().size(), 3);
}

void MainWindowTest::shortcutsBeatTheField()
{
    MainWindow window(m_shared);
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *field = window.findChild<QLineEdit *>(u"HostName"_qs);
    field->setFocus();
    QSignalSpy exits(&window, &MainWindow::exitRequested);
    QSignalSpy pathInfo(&window, &MainWindow::pathInfoRequested);
    QTest::keyClick(field, Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(exits.size(), 1);
    QTest::keyClick(field, Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(pathInfo.size(), 1);
    MessageCatcher catcher;
    QTest::keyClick(field, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(catcher.lastText(), u"This is not yet available. Will be in the new release"_qs);
    QCOMPARE(catcher.messages.first().title, u"Tolvane"_qs);
    QCOMPARE(catcher.messages.first().icon, QMessageBox::NoIcon);
    QCOMPARE(catcher.messages.first().buttons, 1);
    // Save and Continue does nothing at all.
    window.findChild<QAction *>(u"mnuSaC"_qs)->trigger();
    QCOMPARE(catcher.messages.size(), 1);
    QCOMPARE(exits.size(), 1);
}

void MainWindowTest::fields()
{
    MainWindow window(m_shared);
    const QStringList tooltips
            = {u"SerAdd|$Server::Address = "_qs, u"CurMas|$Server::CurrentMaster ="_qs,
               u"Mas1|$server::Master1 = "_qs, u"TeamNam0|$Sever::teamName0 = "_qs,
               u"LastMis|$pref::LastMission = "_qs};
    for (const QString &row : tooltips) {
        auto *field = window.findChild<QLineEdit *>(row.section(u'|', 0, 0));
        QCOMPARE(field->toolTip(), row.section(u'|', 1));
    }
    for (QLineEdit *field : window.findChildren<QLineEdit *>())
        QVERIFY(field->text().isEmpty());
    auto *motd = window.findChild<QLineEdit *>(u"MOTD"_qs);
    const QString longest(1048576, u'm');
    motd->setText(longest);
    QCOMPARE(motd->text(), longest);
    QCOMPARE(window.fieldTexts().at(7).size(), 1048576);
}

void MainWindowTest::skinDialog()
{
    MainWindow window(m_shared);
    auto *dialog = window.findChild<QFileDialog *>(u"CMD"_qs);
    QVERIFY(dialog);
    QCOMPARE(dialog->nameFilters(), QStringList(u"Volume Files (*.vol)"_qs));
    QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog));
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
