#include "folderbrowser.h"
#include "mainwindow.h"
#include "pathdialog.h"
#include "session.h"
#include "tabcontrol.h"
#include "testsupport.h"
#include "widgetsupport.h"

#include <QPrinterInfo>
#include <QtTest>
#include <QtWidgets>

using namespace TestSupport;
using namespace Qt::StringLiterals;

// The windows: the main window with its pages, menus, commands and skin picker, the path
// dialog, the folder browser, and the session that starts and ends a run. In a working and
// home folder of the test's own beside a game folder "Tribes" whose ServerPrefs.cs holds
// numbered lines, and with a dark palette of the desktop's, which every caption but the
// two headings follows.
class WidgetsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_folder;
    SharedStrings m_shared;
    std::unique_ptr<MainWindow> m_main;
    int m_quits = 0;

    // The main window on the game folder, shown and active; made at the first use.
    MainWindow *window()
    {
        if (!m_main) {
            m_shared.TribesPath = m_folder->filePath(u"tribes"_s); // found whatever its case
            m_main = std::make_unique<MainWindow>(m_shared);
            m_main->show();
            QApplication::setActiveWindow(m_main.get());
            if (!QTest::qWaitForWindowActive(m_main.get()))
                qWarning("The main window did not become active.");
        }
        return m_main.get();
    }
    QLineEdit *field(int index) { return window()->field(index); }
    QAction *action(const QString &name) { return window()->findChild<QAction *>(name); }
    void fill(const QStringList &texts)
    {
        for (int index = 0; index < 54; ++index)
            field(index)->setText(texts.at(index));
    }
    static void click(QWidget *window, const char *button)
    {
        window->findChild<QPushButton *>(QLatin1StringView(button))->click();
    }
    static void xdotool(const QStringList &arguments)
    {
        QProcess::execute(u"xdotool"_s, arguments);
    }

private Q_SLOTS:
    void init()
    {
        m_main.reset();
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir::setCurrent(m_folder->path()) && QDir().mkpath(u"Tribes/config"_s));
        QVERIFY(writeBytes(u"Tribes/config/ServerPrefs.cs"_s, numberedLines(54)));
        qputenv("HOME", QFile::encodeName(m_folder->path()));
        QPalette dark(QColor(40, 40, 40));
        dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
        QApplication::setPalette(dark);
        m_shared = {};
        m_quits = 0;
    }

    void mainControls_data() { addFixtureRows("maincontrols.tsv"); }
    void mainControls()
    {
        QFETCH(QStringList, row);
        auto *control = window()->findChild<QWidget *>(row.at(0));
        QCOMPARE(control->parentWidget(), window()->tabs()->page(row.at(1).toInt()));
        QCOMPARE(control->geometry(), twipsRect(row, 2));
        const QString caption = row.at(6);
        QCOMPARE(QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name),
                 row.at(7).isEmpty() ? caption : row.at(7));
        QCOMPARE(row.at(8).isEmpty() ? QString() : nextInTabOrder(control)->objectName(),
                 row.at(8));
        const QFont font = control->font();
        if (auto *label = qobject_cast<QLabel *>(control)) {
            QCOMPARE(label->text(), caption);
            QVERIFY(QFontMetrics(font).horizontalAdvance(caption) <= label->width()); // it fits
            const bool heading = caption == u"Names"_s || caption == u"Skins"_s;
            QCOMPARE(font.bold() && font.underline(), heading);
            QCOMPARE(label->palette().color(QPalette::WindowText),
                     heading ? QColor(Qt::blue) : QColor(230, 230, 230));
        } else if (auto *button = qobject_cast<QPushButton *>(control)) {
            QVERIFY(button->text() == caption && font.pointSize() == 12 && font.bold());
        } else {
            auto *edit = qobject_cast<QLineEdit *>(control);
            QVERIFY(edit->text().isEmpty() && edit->maxLength() == 32767);
            QVERIFY(edit->toolTip().startsWith(u'$')); // the start of the line it writes
        }
    }

    void tabs()
    {
        TabControl *tabs = window()->tabs();
        QCOMPARE(window()->windowTitle() + u' ' + tabs->objectName(), u"Tolvane SSTab1"_s);
        QCOMPARE(QRect(tabs->mapToGlobal(QPoint(0, 0)), tabs->size()), QRect(139, 120, 483, 417));
        QCOMPARE(window()->minimumSize(), window()->maximumSize()); // a fixed layout
        QStringList captions;
        for (int page = 0; page < tabs->count(); ++page) {
            captions << tabs->caption(page);
            const QRect header = tabs->headerRect(page); // four to a row, 20 px high
            QCOMPARE(header.topLeft(), QPoint(483 * (page % 4) / 4, 20 * (page / 4)));
            QCOMPARE(header.height(), 20);
            QWidget *headers = tabs->childAt(header.center());
            QTest::mouseClick(headers, Qt::LeftButton, {}, headers->mapFrom(tabs, header.center()));
            for (int other = 0; other < tabs->count(); ++other)
                QCOMPARE(tabs->page(other)->isVisible(), other == page);
        }
        QCOMPARE(captions.join(u'|'), u"Server Info|Master Info 1|Player Info|Team Info|"
                                      "Server Settings|IP Adresses"_s);
        field(49)->setFocus(); // the focus moves to the page it shows
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget(), field(0));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(tabs->currentIndex(), 5);
    }

    void menus_data() { addFixtureRows("menus.tsv"); }
    void menus()
    {
        auto [caption, shortcut, menu, place] = cells<4>();
        const QString name = QString::fromLatin1(QTest::currentDataTag());
        if (menu.isEmpty()) {
            auto *bar = window()->findChild<QMenu *>(name);
            QCOMPARE(bar->title(), caption);
            QCOMPARE(bar->actions().size(), place.toInt()); // no separators either
            QVERIFY(window()->menuBar()->actions().contains(bar->menuAction()));
            QCOMPARE(window()->menuBar()->actions().size(), 3);
            return;
        }
        QAction *item = action(name);
        QCOMPARE(item->text() + u'|' + item->shortcut().toString(), caption + u'|' + shortcut);
        QCOMPARE(window()->findChild<QMenu *>(menu)->actions().indexOf(item), place.toInt());
        QVERIFY(item->isEnabled() && !item->isCheckable());
        // A shortcut works from a field too, which claims some Ctrl keys for itself.
        QSignalSpy triggered(item, &QAction::triggered);
        MessageCatcher catcher;
        field(4)->setFocus();
        if (!shortcut.isEmpty())
            QTest::keySequence(QApplication::focusWidget(), QKeySequence(shortcut));
        QCOMPARE(triggered.size(), shortcut.isEmpty() ? 0 : 1);
    }

    void commands_data() { addFixtureRows("commands.tsv"); }
    void commands()
    {
        auto [item, prepare, message, outcome] = cells<4>();
        if (item == u"mnuPrint"_s && !QPrinterInfo::defaultPrinter().isNull())
            QSKIP("This machine has a printer.");
        const QStringList how = prepare.split(u':'), then = outcome.split(u':');
        fill(goldenValues());
        if (how.first() == u"paste"_s) {
            QApplication::clipboard()->setText(how.at(2));
            field(how.at(1).toInt())->selectAll();
            field(how.at(1).toInt())->paste();
        }
        QVERIFY(how.first() != u"gone"_s || QDir(how.at(1)).removeRecursively());
        QVERIFY(how.first() != u"folder"_s || QDir().mkpath(how.at(1)));
        if (how.first() == u"lines"_s) {
            QVERIFY(writeBytes(how.at(1), numberedLines(how.at(2).toInt())));
            fill(QStringList(54, u"old"_s));
        }
        const QStringList before = window()->fieldTexts();
        m_shared.PrefsText = u"untouched"_s;
        QSignalSpy exits(window(), &MainWindow::exitRequested);
        MessageCatcher catcher;
        action(item)->trigger();
        QVERIFY2(catcher.lastText().contains(message), qPrintable(catcher.lastText()));
        QCOMPARE(catcher.texts.size(), message.isEmpty() ? 0 : 1);
        QCOMPARE(catcher.looks.value(0, u"Tolvane|0|1"_s), u"Tolvane|0|1"_s); // caption, no icon
        QCOMPARE(exits.size(), then.first() == u"exit"_s ? 1 : 0);
        if (then.first() == u"exit"_s || then.first() == u"file"_s)
            QCOMPARE(readBytes(then.at(1)), readBytes(dataFile("golden54.cs")));
        if (then.first() != u"fields"_s) {
            QCOMPARE(window()->fieldTexts(), before);
        } else { // by position, the rest kept; PrefsText untouched
            const int loaded = then.at(1).toInt();
            QCOMPARE(window()->fieldTexts().count(u"old"_s), 54 - loaded);
            QCOMPARE(field(loaded - 1)->text(), u"value%1"_s.arg(loaded));
            QCOMPARE(m_shared.PrefsText, u"untouched"_s);
        }
        if (then.first() == u"shown"_s) { // nothing written; the field shown to be mended
            QCOMPARE(readBytes(u"Tribes/config/ServerPrefs.cs"_s), numberedLines(54));
            QCOMPARE(window()->focusWidget(), field(then.at(1).toInt()));
            QCOMPARE(window()->tabs()->currentIndex(), then.at(2).toInt());
        }
    }

    void bigValues()
    {
        // 54 values at the field limit load into the window in bounded memory.
        const int length = 32767;
        QByteArray file;
        for (int line = 0; line < 54; ++line)
            file += "$v = \"" + QByteArray(length, char('a' + line % 26)) + "\";\r\n";
        QVERIFY(writeBytes(u"serverprefs.bak"_s, file));
        MessageCatcher catcher;
        QCOMPARE_LT(peakMemoryGrowth([&] { action(u"mnuLoad"_s)->trigger(); }), 300 * 1024);
        QVERIFY(catcher.texts.isEmpty() && field(53)->text().size() == length);
    }

    void skinButtons()
    {
        QString chosen;
        window()->setSkinFileChooser([&] { return chosen; });
        MessageCatcher catcher;
        for (int button = 1; button <= 8; ++button) { // 7: a name no setting holds, 8: cancelled
            fill(QStringList(54, u"old"_s));
            chosen = button == 8   ? QString()
                     : button == 7 ? u"\\s\\red\n.vol"_s
                                   : u"\\s\\red.vol"_s;
            click(window(), qPrintable(u"Command%1"_s.arg(button)));
            QCOMPARE(catcher.texts.size(), button >= 7 ? 1 : 0);
            for (int index = 0; index < 54; ++index) // TeamSkin0 is field 34
                QCOMPARE(field(index)->text(),
                         index == 32 + button && button < 7 ? u"red"_s : u"old"_s);
        }
    }

    void skinDialog()
    {
        // As a person does it, on a real X display with a window manager, keys through the X
        // server: the dialog opens in the skins folder and lists the .vol files in any case;
        // Enter on a typed name fills the field, leaves nothing on screen, and the next key
        // reaches the window.
        if (QGuiApplication::platformName() != u"xcb"_s)
            QSKIP("Needs a real X display with a window manager (the x11 tests).");
        QVERIFY(QDir().mkpath(u"Tribes/Base/Skins"_s));
        for (const char *name : {"blue.vol", "Red.VOL", "notes.txt"})
            QVERIFY(writeBytes(u"Tribes/Base/Skins/"_s + QLatin1StringView(name), "v"));
        QVERIFY(writeBytes(u"path.inf"_s, QFile::encodeName(m_folder->filePath(u"tribes"_s))));
        window()->runLoadStep();
        QCOMPARE(window()->skinDirectory(), m_folder->filePath(u"tribes"_s) + u"\\base\\skins"_s);
        const QString typed = m_folder->filePath(u"Tribes/Base/Skins/Red.VOL"_s);
        QStringList listed;
        QTimer::singleShot(0, this, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            const auto closeAnyway = qScopeGuard([dialog] { // never left waiting for a person
                QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection);
            });
            QCOMPARE(dialog->directory().absolutePath(), QFileInfo(typed).path());
            auto *view = dialog->findChild<QListView *>(u"listView"_s);
            QTRY_COMPARE(view->model()->rowCount(view->rootIndex()), 2);
            for (int row = 0; row < 2; ++row)
                listed << view->model()->index(row, 0, view->rootIndex()).data().toString();
            QTRY_VERIFY(dialog->isActiveWindow());
            xdotool({u"type"_s, u"--delay"_s, u"10"_s, typed});
            QTRY_COMPARE(dialog->findChild<QLineEdit *>(u"fileNameEdit"_s)->text(), typed);
            xdotool({u"key"_s, u"Return"_s});
            QTRY_VERIFY(!dialog->isVisible());
        });
        click(window(), "Command2");
        listed.sort();
        QCOMPARE(listed, QStringList({u"Red.VOL"_s, u"blue.vol"_s}));
        QCOMPARE(field(34)->text(), u"Red"_s); // TeamSkin1
        QTRY_VERIFY(!QApplication::activePopupWidget());
        xdotool({u"key"_s, u"ctrl+b"_s});
        QTRY_VERIFY(QFile::exists(u"test.txt"_s));
    }

    void start_data() { addFixtureRows("starts.tsv"); }
    void start()
    {
        auto [pathInf, prefsLines, filled, skinFolder] = cells<4>();
        const QString prefs = u"Tribes/config/ServerPrefs.cs"_s;
        QVERIFY(prefsLines == u"-1"_s ? QFile::remove(prefs)
                                      : writeBytes(prefs, numberedLines(prefsLines.toInt())));
        pathInf.replace(u"GAME"_s, m_folder->filePath(u"Tribes"_s));
        QVERIFY(pathInf == u"<none>"_s || writeBytes(u"path.inf"_s, pathInf.toUtf8()));
        Session session([this] { ++m_quits; });
        session.showMain();
        MainWindow *main = session.mainWindow();
        QVERIFY(main->isVisible());
        QCOMPARE(54 - main->fieldTexts().count(QString()), filled.toInt());
        QCOMPARE(main->skinDirectory(),
                 skinFolder.replace(u"GAME"_s, m_folder->filePath(u"Tribes"_s)));
        QCOMPARE(session.pathDialog() != nullptr, filled != u"54"_s);
        if (filled == u"54"_s)
            return;
        // After a failed start both windows are open, the path dialog in front.
        QTRY_COMPARE(QApplication::activeWindow(), session.pathDialog());
        QCOMPARE(session.pathDialog()->pathBox()->text(), u"C:\\Dynamix\\Tribes"_s);
        MessageCatcher catcher; // Do It Later leaves the main window and the run going
        click(session.pathDialog(), "Command3");
        QTRY_VERIFY(!session.pathDialog());
        QVERIFY(main->isVisible() && m_quits == 0);
    }

    void dialogControls_data() { addFixtureRows("dialogcontrols.tsv"); }
    void dialogControls()
    {
        QFETCH(QStringList, row);
        PathDialog dialog(m_shared);
        FolderBrowser browser(m_shared);
        QCOMPARE(dialog.windowTitle() + u'|' + browser.windowTitle(),
                 u"Path Info For Tribes|Locate"_s);
        QCOMPARE(dialog.size(), QSize(6375 / 15, 2310 / 15));
        QCOMPARE(browser.size(), QSize(5250 / 15, 3165 / 15));
        QWidget *owner = row.at(0) == u"FrmGetPath"_s ? static_cast<QWidget *>(&dialog) : &browser;
        auto *control = owner->findChild<QWidget *>(row.at(1));
        QCOMPARE(control->geometry(), twipsRect(row, 2));
        const auto *drives = qobject_cast<QComboBox *>(control); // on the working folder's drive
        QCOMPARE(drives ? drives->currentText() : control->property("text").toString(),
                 QString(row.at(6)).replace(u"HOME"_s, m_folder->path()));
        QCOMPARE(row.at(7).isEmpty() ? QString() : nextInTabOrder(control)->objectName(),
                 row.at(7));
        if (auto *label = qobject_cast<QLabel *>(control)) {
            QCOMPARE(label->font().pointSize(), 12);
            QVERIFY(label->font().bold() && label->font().underline() && label->wordWrap());
            QVERIFY(label->heightForWidth(label->width()) <= label->height());
        }
    }

    void dialogKeys_data() { addFixtureRows("dialogkeys.tsv"); }
    void dialogKeys()
    {
        auto [path, focus, key, message, pathInf] = cells<5>();
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
        const int code = QMetaEnum::fromType<Qt::Key>().keyToValue(qPrintable(u"Key_"_s + key));
        key == u"close"_s ? void(dialog->close()) : QTest::keyClick(focused, Qt::Key(code));
        QCOMPARE(catcher.texts, message.isEmpty() ? QStringList() : QStringList(message));
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
        Session session([this] { ++m_quits; });
        session.showMain(); // no path.inf: the path dialog comes up
        PathDialog *dialog = session.pathDialog();
        click(dialog, "Command1"); // the first Browse of a run clears the path box
        QCOMPARE(dialog->pathBox()->text(), QString());
        FolderBrowser *browser = session.folderBrowser();
        QVERIFY(browser->isVisible() && browser->currentFolder() == m_folder->path());
        QListWidget *folders = browser->folderList();
        const auto item = [folders](const char *name) {
            return folders->findItems(QLatin1StringView(name), Qt::MatchExactly).value(0);
        };
        folders->setCurrentItem(item("games"));
        QCOMPARE(session.shared().BrowsePath, QString()); // a single click only highlights
        Q_EMIT folders->itemDoubleClicked(item("games"));
        Q_EMIT folders->itemDoubleClicked(item("tribes"));
        const QString tribes = m_folder->filePath(u"games/tribes"_s);
        QCOMPARE(session.shared().BrowsePath, tribes);
        QTest::keyClick(folders, Qt::Key_Escape); // Esc and Cancel do nothing
        click(browser, "Command2");
        QVERIFY(browser->isVisible());
        QTest::keyClick(folders, Qt::Key_Return); // Enter takes the folder, as Ok does
        QCOMPARE(dialog->pathBox()->text(), tribes);
        QTRY_VERIFY(!session.folderBrowser());
        click(dialog, "Command1"); // Ok kept BrowsePath: Browse takes it again, then empties it
        QCOMPARE(dialog->pathBox()->text(), tribes);
        FolderBrowser *same = session.folderBrowser();
        click(dialog, "Command1"); // with the browser open: the same one, the box cleared
        QVERIFY(session.folderBrowser() == same && dialog->pathBox()->text().isEmpty());
        session.shared().BrowsePath = u"/other"_s;
        same->close(); // the close box takes no folder
        QCOMPARE(dialog->pathBox()->text(), QString());
        // With the dialog closed, the browser's Ok makes a hidden one to hold the folder;
        // Change Path Info shows it. A hidden dialog alone does not keep the run going.
        click(dialog, "Command1");
        dialog->close();
        session.shared().BrowsePath = u"/srv/tribes"_s; // as if a folder were opened
        click(session.folderBrowser(), "Command1");
        QVERIFY(!session.pathDialog()->isVisible());
        Q_EMIT session.mainWindow()->pathInfoRequested();
        QVERIFY(session.pathDialog()->isVisible());
        QCOMPARE(session.pathDialog()->pathBox()->text(), u"/srv/tribes"_s);
        session.pathDialog()->hide();
        QCoreApplication::processEvents();
        QCOMPARE(m_quits, 0);
        session.mainWindow()->close();
        QTRY_COMPARE(m_quits, 1);
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
        const QString dynamix = m_folder->filePath(u".wine/dosdevices/c:/Dynamix"_s);
        Q_EMIT folders->itemDoubleClicked(folders->item(2)); // Dynamix
        Q_EMIT drives->activated(2); // the drive already shown keeps its open folder
        QCOMPARE(browser.currentFolder(), dynamix);
        // A drive that is not ready: the list and BrowsePath stay, and a message says why.
        Q_EMIT drives->activated(3);
        QVERIFY2(catcher.lastText().contains(u"d:\": it does not exist"_s),
                 qPrintable(catcher.lastText()));
        QCOMPARE(m_shared.BrowsePath, dynamix);
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
        click(first, "Command2");
        // Ok made the main window anew and ran its load step with the new path; when that
        // fails again, a fresh path dialog comes up.
        const bool loads = typed == u"Tribes"_s;
        QVERIFY(session.mainWindow()->isVisible());
        QCOMPARE(session.mainWindow()->field(53)->text(), loads ? u"value54"_s : QString());
        QCOMPARE(session.pathDialog() && session.pathDialog() != first, !loads);
        QCoreApplication::processEvents();
        QCOMPARE(m_quits, 0);
        if (loads) // with the main window closed, Do It Later leaves no window: the run ends
            Q_EMIT session.mainWindow()->pathInfoRequested();
        session.mainWindow()->close();
        click(session.pathDialog(), "Command3");
        QTRY_COMPARE(m_quits, 1);
    }
};

QTEST_MAIN(WidgetsTest)
#include "tst_widgets.moc"
