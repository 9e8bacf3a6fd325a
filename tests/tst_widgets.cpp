#include "folderbrowser.h"
#include "mainwindow.h"
#include "messagebox.h"
#include "othersettingspage.h"
#include "pathdialog.h"
#include "session.h"
#include "tabcontrol.h"
#include "testsupport.h"

#include <QPrinterInfo>
#include <QtTest>
#include <QtWidgets>

using namespace TestSupport;
using namespace Qt::StringLiterals;

// Answers every message box while it lives, OK, or a question the next of the answers ("key:K":
// the keys K first, as "d" or "Alt+S", then Cancel; none left: Cancel), and keeps their texts, and
// the rows of Compare's list; plain while each had the program's name as caption, no icon, and OK
// alone or choices and Cancel, Cancel the default and the Esc key, and fit in 80 % of the screen.
struct MessageCatcher : QTimer
{
    QStringList texts;
    QStringList answers;
    bool plain = true;
    MessageCatcher()
    {
        callOnTimeout(this, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *table
                = modal ? modal->findChild<QTableWidget *>(u"Differences"_s) : nullptr) {
                QStringList rows;
                for (int row = 0; row < table->rowCount(); ++row)
                    rows << table->item(row, 0)->text() + u": "_s + table->item(row, 1)->text()
                                    + u" -> "_s + table->item(row, 2)->text();
                texts << rows.join(u'\n');
                qobject_cast<QDialog *>(modal)->reject();
            }
            auto *box = qobject_cast<QMessageBox *>(modal);
            if (!box)
                return;
            texts << box->text();
            QAbstractButton *cancel = box->button(QMessageBox::Cancel);
            const bool question
                    = cancel && box->defaultButton() == cancel && box->escapeButton() == cancel;
            const QSize most = box->screen()->availableGeometry().size() * 0.8;
            plain = plain && box->windowTitle() == u"Tolvane" && box->icon() == QMessageBox::NoIcon
                    && (box->buttons().size() == 1 || question) && box->width() <= most.width()
                    && box->height() <= most.height();
            QAbstractButton *chosen = question ? cancel : box->button(QMessageBox::Ok);
            QString answer = question && !answers.isEmpty() ? answers.takeFirst() : QString();
            if (answer.startsWith(u"key:"_s)) { // a bare letter or a chord, which a button may take
                QApplication::setActiveWindow(box); // where the buttons' access keys are
                QTest::keySequence(box, QKeySequence(answer.mid(4)));
                QTest::qWait(300); // a button takes a key with an animated click
                if (!box->isVisible())
                    return;
            }
            for (QAbstractButton *button : box->buttons())
                chosen = button->text().remove(u'&') == answer ? button : chosen;
            chosen->click();
        });
        start(5);
    }
};

// The windows and the session beside a game folder "Tribes" of numbered lines, dark palette.
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
            m_main->setFileChooser([](bool, const QString &) { return QString(); });
            m_main->show();
            QApplication::setActiveWindow(m_main.get());
            std::ignore = QTest::qWaitForWindowActive(m_main.get());
        }
        return m_main.get();
    }
    QLineEdit *field(int index) { return window()->field(index); }
    // The game's file at the start of each test: the golden one, but for its last value.
    static QByteArray gameFile()
    {
        return readBytes(dataFile("golden54.cs")).replace("\"Raindance\"", "\"Old\"");
    }
    static void click(QWidget *window, const char *button)
    {
        window->findChild<QPushButton *>(QLatin1StringView(button))->click();
    }

private Q_SLOTS:
    void init()
    {
        SKIP_IF_UNIX_ONLY();
        m_main.reset();
        QDir::setCurrent(QDir::tempPath()); // Windows removes no folder that is in use
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir::setCurrent(m_folder->path()));
        QVERIFY(writeBytes(u"Tribes/config/ServerPrefs.cs"_s, gameFile()));
        qputenv("HOME", QFile::encodeName(m_folder->path()));
        qputenv("USERPROFILE", QFile::encodeName(QDir::toNativeSeparators(m_folder->path())));
        QPalette dark(QColor(40, 40, 40));
        dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
        QApplication::setPalette(dark);
        m_shared = {};
        m_quits = 0;
    }

    // A column of controls of the main window's pages or of the two dialogs, as the table says.
    void controls_data() { addFixtureRows({"controls.tsv"}); }
    void controls()
    {
        auto [where, left, top, step, width, height, names, captions, spoken, last] = cells<10>();
        PathDialog dialog(m_shared);
        FolderBrowser browser(m_shared);
        bool onPage = false;
        const int page = where.toInt(&onPage);
        QWidget *owner = onPage                     ? window()->tabs()->page(page)
                         : where == u"FrmGetPath"_s ? static_cast<QWidget *>(&dialog)
                                                    : &browser;
        const QStringList controls = names.split(u' ');
        for (int at = 0; at < controls.size(); ++at) {
            const auto cell = [&](const QString &values) { // one value for all, or one each
                const QStringList each = values.split(u'|');
                return QString(each.size() == 1 ? each.first() : each.value(at))
                        .replace(u'#', QString::number(at));
            };
            auto *control = owner->findChild<QWidget *>(controls.at(at));
            QVERIFY2(control && control->parentWidget() == owner, qPrintable(controls.at(at)));
            const auto pixels = [](int twips) {
                return twips / 15;
            };
            QCOMPARE(control->geometry(),
                     QRect(pixels(cell(left).toInt()),
                           pixels(cell(top).toInt() + at * step.toInt()),
                           pixels(cell(width).toInt()), pixels(cell(height).toInt())));
            const QString caption = cell(captions).replace(u"HOME"_s, m_folder->path());
            QCOMPARE(QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name),
                     cell(spoken).isEmpty() ? caption : cell(spoken));
            QWidget *next = control->nextInFocusChain(); // where the Tab key goes
            while (!(next->focusPolicy() & Qt::TabFocus) && next != control)
                next = next->nextInFocusChain();
            if (!last.isEmpty() && controls.value(at + 1, last) != u"-"_s)
                QCOMPARE(next->objectName(), controls.value(at + 1, last));
            const bool drives = qobject_cast<QComboBox *>(control); // the working folder's drive
            QCOMPARE(control->property(drives ? "currentText" : "text").toString(), caption);
            const QFont font = control->font();
            if (auto *label = qobject_cast<QLabel *>(control); label && !onPage) {
                // The path dialog's notice, its words wrapped.
                QVERIFY(font.pointSize() == 12 && font.bold() && font.underline());
                QVERIFY(label->heightForWidth(label->width()) <= label->height());
            } else if (label) {
                QVERIFY(QFontMetrics(font).horizontalAdvance(caption) <= label->width()); // it fits
                const bool heading = caption == u"Names"_s || caption == u"Skins"_s;
                QCOMPARE(font.bold() && font.underline(), heading);
                QCOMPARE(label->palette().color(QPalette::WindowText),
                         heading ? QColor(Qt::blue) : QColor(230, 230, 230));
            } else if (qobject_cast<QPushButton *>(control)) {
                QVERIFY(!onPage || (font.pointSize() == 12 && font.bold()));
            } else if (auto *edit = qobject_cast<QLineEdit *>(control); edit && onPage) {
                QCOMPARE(edit->maxLength(), 32768);        // one over a value's limit
                QVERIFY(edit->toolTip().startsWith(u'$')); // the start of the line it writes
            }
        }
    }

    void tabs()
    {
        TabControl *tabs = window()->tabs();
        QCOMPARE(window()->windowTitle() + u' ' + tabs->objectName(), u"Tolvane SSTab1"_s);
        QCOMPARE(QRect(tabs->mapToGlobal(QPoint(0, 0)), tabs->size()), QRect(139, 120, 483, 417));
        QCOMPARE(window()->minimumSize(), window()->maximumSize()); // a fixed layout
        QCOMPARE(PathDialog(m_shared).size(), QSize(425, 154));     // and so are the dialogs'
        QCOMPARE(FolderBrowser(m_shared).size(), QSize(350, 211));
        QStringList captions;
        for (int page = 0; page < tabs->count(); ++page) {
            captions << tabs->caption(page);
            const QRect header = tabs->headerRect(page); // four to a row, 20 px high
            QCOMPARE(header, QRect(483 * (page % 4) / 4, 20 * (page / 4), header.width(), 20));
            QWidget *headers = tabs->childAt(header.center());
            QTest::mouseClick(headers, Qt::LeftButton, {}, headers->mapFrom(tabs, header.center()));
            for (int other = 0; other < tabs->count(); ++other)
                QCOMPARE(tabs->page(other)->isVisible(), other == page);
        }
        QCOMPARE(captions.join(u'|'), u"Server Info|Master Info 1|Player Info|Team Info|"
                                      "Server Settings|IP Adresses|Other Settings"_s);
        tabs->setCurrentIndex(5);
        field(49)->setFocus(); // the focus moves to the page it shows
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
        QVERIFY(tabs->page(6)->isAncestorOf(QApplication::focusWidget()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget(), field(0));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(tabs->currentIndex(), 6);
    }

    void menus_data() { addFixtureRows({"menus.tsv"}); }
    void menus()
    {
        QFETCH(QStringList, row);
        auto *menu = window()->findChild<QMenu *>(QString::fromLatin1(QTest::currentDataTag()));
        QCOMPARE(menu->title(), row.first());
        QVERIFY(window()->menuBar()->actions().contains(menu->menuAction()));
        QCOMPARE(window()->menuBar()->actions().size(), 3);
        QStringList items; // in order, no separators either
        MessageCatcher catcher;
        for (QAction *item : menu->actions()) {
            items << item->objectName() + u'|' + item->text() + u'|' + item->shortcut().toString();
            QVERIFY(item->isEnabled() && !item->isCheckable());
            // A shortcut works from a field too, which claims some Ctrl keys for itself.
            QSignalSpy triggered(item, &QAction::triggered);
            QApplication::setActiveWindow(window()); // again, after a message box
            QVERIFY(QTest::qWaitForWindowActive(window()));
            field(4)->setFocus();
            if (!item->shortcut().isEmpty())
                QTest::keySequence(QApplication::focusWidget(), item->shortcut());
            QCOMPARE(triggered.size(), item->shortcut().isEmpty() ? 0 : 1);
        }
        QCOMPARE(items, row.mid(1));
    }

    void commands_data() { addFixtureRows({"commands.tsv"}); }
    void commands()
    {
        auto [item, prepare, answers, chosen, message, outcome] = cells<6>();
        if (item == u"mnuPrint"_s && !QPrinterInfo::defaultPrinter().isNull())
            QSKIP("This machine has a printer.");
        const QStringList how = prepare.split(u':'), then = outcome.split(u':');
        const QString edits = prepare.section(u':', how.first() == u"teammate"_s ? 1 : 2);
        const QByteArray golden = readBytes(dataFile("golden54.cs"));
        const QString game = u"Tribes/config/ServerPrefs.cs"_s;
        window()->init(); // as loaded at the start: a save asks nothing of a file nobody changed
        const bool old = how.first() == u"file"_s && (edits.isEmpty() || edits.contains(u"=>"_s));
        for (int index = 0; index < 54; ++index)
            field(index)->setText(old ? u"old"_s : goldenValues().at(index));
        if (how.first() == u"paste"_s) {
            QApplication::clipboard()->setText(expanded(how.at(2)));
            field(how.at(1).toInt())->selectAll();
            field(how.at(1).toInt())->paste();
        }
        QVERIFY(how.first() != u"gone"_s || QDir(how.at(1)).removeRecursively());
        QVERIFY(how.first() != u"folder"_s || (QFile::remove(how.at(1)), QDir().mkpath(how.at(1))));
        const auto bytes = [&golden](const QString &edits) { // the golden file edited, or a recipe
            return edits.contains(u"=>"_s) || edits.isEmpty() ? edited(golden, edits)
                                                              : recipe(edits);
        };
        QVERIFY(how.first() != u"file"_s || writeBytes(how.at(1), bytes(edits)));
        QVERIFY(how.first() != u"teammate"_s || writeBytes(game, bytes(edits)));
        const QByteArray before = readBytes(game);
        const QStringList files = prepare.section(u':', 1).split(u'|'); // a skin file a click
        window()->setSkinFileChooser([files, click = 0]() mutable { return files.value(click++); });
        window()->setFileChooser([file = chosen](bool, const QString &) { return file; });
        QStringList fields = window()->fieldTexts();
        m_shared.PrefsText = u"untouched"_s;
        QSignalSpy exits(window(), &MainWindow::exitRequested);
        MessageCatcher catcher;
        catcher.answers = answers.split(u'|');
        for (const QString &name : item.split(u' ')) { // "BOX=TEXT" types into a box
            if (name.contains(u'='))
                window()->findChild<QLineEdit *>(name.section(u'=', 0, 0))
                        ->setText(name.section(u'=', 1));
            else
                QVERIFY(QMetaObject::invokeMethod(window()->findChild<QObject *>(name),
                                                  name.startsWith(u"mnu"_s) ? "trigger" : "click"));
        }
        const QStringList parts = message.split(u" || "_s, Qt::SkipEmptyParts);
        QCOMPARE(catcher.texts.size(), parts.size());
        for (qsizetype at = 0; at < parts.size(); ++at)
            QVERIFY2(catcher.texts.at(at).contains(parts.at(at), fileNameCase),
                     qPrintable(catcher.texts.at(at)));
        QVERIFY(catcher.plain);
        QCOMPARE(exits.size(), then.first() == u"exit"_s ? 1 : 0);
        if (then.first() == u"exit"_s || then.first() == u"file"_s || then.first() == u"saved"_s)
            QCOMPARE(readBytes(then.first() == u"saved"_s ? game : then.at(1)),
                     bytes(outcome.section(u':', then.first() == u"saved"_s ? 1 : 2)));
        if (then.first() != u"exit"_s && then.first() != u"saved"_s) // the game's file as it was
            QCOMPARE(readBytes(game), before);
        const QStringList set = outcome.section(u':', 2).split(u'|');
        for (qsizetype at = 0; then.first() == u"set"_s && at < set.size(); ++at)
            fields[then.at(1).toInt() + at] = set.at(at);
        if (then.first() == u"loaded"_s) {
            fields = goldenValues();
            for (const QString &kept : outcome.section(u':', 1).split(u'|', Qt::SkipEmptyParts))
                fields[kept.section(u'=', 0, 0).toInt()] = kept.section(u'=', 1);
        }
        if (then.first() == u"saved"_s || (then.first() == u"exit"_s && answers != u"Discard"_s))
            fields = Prefs::Document::parse(readBytes(game)).values(); // it shows what it wrote
        QCOMPARE(window()->fieldTexts(), fields);
        QVERIFY(then.first() != u"saved"_s || !window()->hasUnsavedEdits());
        QVERIFY(then.first() != u"loaded"_s || m_shared.PrefsText == u"untouched"_s);
        if (then.first() == u"shown"_s) { // the field shown to be mended
            QCOMPARE(window()->focusWidget(), field(then.at(1).toInt()));
            QCOMPARE(window()->tabs()->currentIndex(), then.at(2).toInt());
        }
    }

    // Alt with a key that nothing takes types nothing; AltGr and Alt on the number pad type.
    void altKeys_data()
    {
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("typed");
        QTest::newRow("alt") << int(Qt::AltModifier) << QString();
        QTest::newRow("alt_shift") << int(Qt::AltModifier | Qt::ShiftModifier) << QString();
        QTest::newRow("alt_gr") << int(Qt::ControlModifier | Qt::AltModifier) << u"@"_s;
        QTest::newRow("alt_number_pad") << int(Qt::AltModifier | Qt::KeypadModifier) << u"@"_s;
    }
    void altKeys()
    {
        QFETCH(int, modifiers);
        QFETCH(QString, typed);
        for (QLineEdit *box : {field(4), window()->otherSettingsPage()->valueBox()}) {
            box->setText(u"x"_s);
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Q, Qt::KeyboardModifiers(modifiers), u"@"_s);
            QApplication::sendEvent(box, &press);
            QCOMPARE(box->text(), u"x"_s + typed);
        }
    }

    // A notice of 200 lines scrolls inside a box that fits the screen, its button in sight.
    void longNotice()
    {
        MessageCatcher catcher;
        showMessage(window(), QStringList(200, u"One of the notice's lines."_s).join(u'\n'));
        QVERIFY(catcher.plain && catcher.texts.size() == 1);
    }

    void skinDialog()
    {
        // Keys through the X server: the dialog lists the .vol files in any case; Enter on a
        // typed name fills the field, leaves nothing on screen, and the next key is the window's.
        if (QGuiApplication::platformName() != u"xcb"_s)
            QSKIP("Needs a real X display with a window manager (the x11 tests).");
        for (const char *name : {"blue.vol", "Red.VOL", "notes.txt"})
            QVERIFY(writeBytes(u"Tribes/Base/Skins/"_s + QLatin1StringView(name), "v"));
        QVERIFY(writeBytes(u"path.inf"_s, QFile::encodeName(m_folder->filePath(u"tribes"_s))));
        window()->runLoadStep();
        const QString typed = m_folder->filePath(u"Tribes/Base/Skins/Red.VOL"_s);
        QTimer::singleShot(0, this, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            const auto closeAnyway = qScopeGuard([dialog] { // never left waiting for a person
                QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection);
            });
            QCOMPARE(dialog->directory().absolutePath(), QFileInfo(typed).path());
            auto *view = dialog->findChild<QListView *>(u"listView"_s);
            QAbstractItemModel *files = view->model();
            QTRY_COMPARE(files->rowCount(view->rootIndex()), 2); // the .vol files, in any case
            const QModelIndex top = files->index(0, 0, view->rootIndex());
            QCOMPARE(files->match(top, Qt::DisplayRole, u"*.vol"_s, -1, Qt::MatchWildcard).size(),
                     2);
            QTRY_VERIFY(dialog->isActiveWindow());
            QProcess::execute(u"xdotool"_s, {u"type"_s, u"--delay"_s, u"10"_s, typed});
            QTRY_COMPARE(dialog->findChild<QLineEdit *>(u"fileNameEdit"_s)->text(), typed);
            QProcess::execute(u"xdotool"_s, {u"key"_s, u"Return"_s});
            QTRY_VERIFY(!dialog->isVisible());
        });
        click(window(), "Command2");
        QCOMPARE(field(34)->text(), u"Red"_s); // TeamSkin1
        QTRY_VERIFY(!QApplication::activePopupWidget());
        MessageCatcher catcher; // where the backup went
        QProcess::execute(u"xdotool"_s, {u"key"_s, u"ctrl+b"_s});
        QTRY_VERIFY(QFile::exists(u"test.txt"_s));
    }

    void start_data() { addFixtureRows({"starts.tsv"}); }
    void start()
    {
        auto [pathInf, prefs, filled, notice, skinFolder] = cells<5>();
        const QString name = u"Tribes/config/ServerPrefs.cs"_s;
        const QByteArray golden = readBytes(dataFile("golden54.cs"));
        QVERIFY(prefs == u"<none>"_s
                        ? QFile::remove(name)
                        : writeBytes(name, prefs == u"golden"_s      ? golden
                                           : prefs.contains(u"=>"_s) ? edited(golden, prefs)
                                                                     : recipe(prefs)));
        pathInf.replace(u"GAME"_s, m_folder->filePath(u"Tribes"_s));
        notice.replace(u"GAME"_s, m_folder->filePath(u"Tribes"_s));
        const bool given = pathInf.startsWith(u"given:"_s); // as "tolvane GAME" starts
        QVERIFY(pathInf == u"<none>"_s || given || writeBytes(u"path.inf"_s, pathInf.toUtf8()));
        Session session([this] { ++m_quits; });
        session.shared().GivenFolder = given ? pathInf.mid(6) : QString();
        MessageCatcher catcher; // the notice follows the window
        session.showMain();
        MainWindow *main = session.mainWindow();
        QVERIFY(main->isVisible());
        QTRY_COMPARE(catcher.texts.filter(notice).size(), notice.isEmpty() ? 0 : 1);
        QCOMPARE(main->fieldTexts(),
                 goldenValues().mid(0, filled.toInt()) + QStringList(54 - filled.toInt()));
        QCOMPARE(main->skinDirectory(),
                 skinFolder.replace(u"GAME"_s, m_folder->filePath(u"Tribes"_s)));
        QCOMPARE(session.pathDialog() != nullptr, filled == u"0"_s); // in front of the window
        QTRY_VERIFY(!session.pathDialog() || QApplication::activeWindow() == session.pathDialog());
        // Its path box holds the folder in use, so that Enter keeps it; path.inf stays.
        QCOMPARE(PathDialog(session.shared()).pathBox()->text(),
                 session.shared().TribesPath.isEmpty() ? u"C:\\Dynamix\\Tribes"_s
                                                       : session.shared().TribesPath);
        QCOMPARE(QFile::exists(u"path.inf"_s), pathInf != u"<none>"_s && !given);
    }

    void dialogKeys_data() { addFixtureRows({"dialogkeys.tsv"}); }
    void dialogKeys()
    {
        auto [path, focus, key, message, pathInf] = cells<5>();
        message = onThisPlatform(message);
        pathInf = expanded(onThisPlatform(pathInf));
        m_shared.TribesPath = u"before"_s;
        QPointer<PathDialog> dialog(new PathDialog(m_shared));
        QSignalSpy stored(dialog, &PathDialog::pathStored);
        dialog->pathBox()->setText(expanded(path));
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
        QCOMPARE(m_shared.TribesPath, isStored ? pathInf.chopped(2) : u"before"_s);
        QCOMPARE(readBytes(u"path.inf"_s), pathInf.toUtf8());
        // Refused, the dialog stays to be mended; else it goes.
        QTRY_VERIFY(message.startsWith(u"The path"_s) ? dialog && dialog->isVisible() : !dialog);
        delete dialog;
    }

    // A run without path.inf, through the path dialog and the folder browser.
    void session()
    {
#ifdef Q_OS_UNIX // Wine's drives
        QVERIFY(QDir().mkpath(u"games/tribes"_s) && QDir().mkpath(u".hidden"_s));
        QVERIFY(mkdir("caf\xe9", 0700) == 0); // a name that is no UTF-8: left out
        QVERIFY(QDir().mkpath(u".wine/dosdevices/c:/Dynamix"_s));
        QVERIFY(QFile::link(u"/nonexistent-medium"_s, u".wine/dosdevices/d:"_s));
        Session session([this] { ++m_quits; });
        MessageCatcher catcher;
        session.showMain(); // the path dialog with the usual path; Do It Later goes on
        QCOMPARE(session.pathDialog()->pathBox()->text(), u"C:\\Dynamix\\Tribes"_s);
        click(session.pathDialog(), "Command3");
        QTRY_VERIFY(!session.pathDialog());
        QVERIFY(session.mainWindow()->isVisible() && m_quits == 0);
        // With the main window closed, Ok makes it anew with the path, or if that fails, a new
        // path dialog too.
        Q_EMIT session.mainWindow()->pathInfoRequested();
        QPointer<PathDialog> dialog = session.pathDialog();
        session.mainWindow()->close();
        QCoreApplication::processEvents();
        QVERIFY(!session.mainWindow() && m_quits == 0);
        click(dialog, "Command2"); // no game in C:\Dynamix\Tribes: it says so, then asks again
        QTRY_VERIFY(session.pathDialog() && session.pathDialog() != dialog);
        QVERIFY(catcher.texts.last().contains(u"No such file"_s));
        QCOMPARE(session.mainWindow()->field(53)->text(), QString());
        session.mainWindow()->close();
        session.pathDialog()->pathBox()->setText(m_folder->filePath(u"Tribes"_s));
        click(session.pathDialog(), "Command2");
        QCOMPARE(session.mainWindow()->field(53)->text(), u"Old"_s);
        Q_EMIT session.mainWindow()->pathInfoRequested(); // the stored folder in the box
        dialog = session.pathDialog();
        const QString tribes = m_folder->filePath(u"Tribes"_s);
        QCOMPARE(dialog->pathBox()->text(), tribes);
        click(dialog, "Command1"); // Browse keeps the box, and opens on its folder
        QCOMPARE(dialog->pathBox()->text(), tribes);
        FolderBrowser *browser = session.folderBrowser();
        QVERIFY(browser->isVisible() && browser->currentFolder() == tribes);
        QListWidget *folders = browser->folderList(); // headed by where it is, hidden ones too
        const auto item = [&folders](const char *name) {
            return folders->findItems(QLatin1StringView(name), Qt::MatchExactly).value(0);
        };
        const auto open = [&](const QStringList &names) {
            for (const QString &name : names)
                Q_EMIT folders->itemDoubleClicked(item(qPrintable(name)));
        };
        open({u".."_s});
        QVERIFY(folders->item(0)->text() == m_folder->path() && item(".hidden"));
        QVERIFY(folders->findItems(QString(QChar::ReplacementCharacter), Qt::MatchContains)
                        .isEmpty()
                && rmdir("caf\xe9") == 0);
        folders->setCurrentItem(item("games"));
        open({u"games"_s, u"tribes"_s});
        const QString games = m_folder->filePath(u"games/tribes"_s);
        QCOMPARE(browser->currentFolder(), games);
        QTest::keyClick(folders, Qt::Key_Escape); // Esc and Cancel close it, and take nothing
        QTRY_VERIFY(!session.folderBrowser());
        click(dialog, "Command1");
        browser = session.folderBrowser();
        folders = browser->folderList();
        click(browser, "Command2");
        QTRY_VERIFY(!session.folderBrowser());
        QCOMPARE(dialog->pathBox()->text(), tribes);
        click(dialog, "Command1");
        browser = session.folderBrowser();
        folders = browser->folderList();
        open({u".."_s, u"games"_s, u"tribes"_s});
        QTest::keyClick(folders, Qt::Key_Return); // Enter takes the folder it shows, as Ok does
        QCOMPARE(dialog->pathBox()->text(), games);
        QTRY_VERIFY(!session.folderBrowser());
        click(dialog, "Command1"); // on the folder taken
        browser = session.folderBrowser();
        QCOMPARE(browser->currentFolder(), games);
        folders = browser->folderList();
        QComboBox *drives = browser->driveList(); // "/", the home folder, "c:" and "d:"
        QCOMPARE(drives->itemText(1) + drives->itemText(3), m_folder->path() + u"d:"_s);
        Q_EMIT drives->activated(2);
        open({u"Dynamix"_s});
        Q_EMIT drives->activated(2); // the drive already shown keeps its open folder
        const QString dynamix = m_folder->filePath(u".wine/dosdevices/c:/Dynamix"_s);
        QCOMPARE(browser->currentFolder(), dynamix);
        Q_EMIT drives->activated(3); // not ready: the list stays, a message says why
        QVERIFY2(catcher.texts.last().contains(u"d:\": it does not exist"_s),
                 qPrintable(catcher.texts.last()));
        QCOMPARE(browser->currentFolder(), dynamix);
        browser->close(); // the close box takes no folder
        QCOMPARE(dialog->pathBox()->text(), games);
        // With the dialog closed, the browser's Ok makes a hidden one, which alone ends the run.
        click(dialog, "Command1");
        dialog->close();
        click(session.folderBrowser(), "Command1");
        QVERIFY(!session.pathDialog()->isVisible());
        Q_EMIT session.mainWindow()->pathInfoRequested();
        QVERIFY(session.pathDialog()->isVisible());
        QCOMPARE(session.pathDialog()->pathBox()->text(), games);
        session.pathDialog()->hide();
        QCoreApplication::processEvents();
        QCOMPARE(m_quits, 0);
        session.mainWindow()->close();
        QTRY_COMPARE(m_quits, 1);
#else // Windows' own drives, the working folder's shown though another comes first
        QVERIFY(QDir::setCurrent(QDir::drives().last().path()));
        QPointer<FolderBrowser> browser = new FolderBrowser(m_shared);
        QVERIFY(QDir::drives().size() > 1); // else the fix goes untried
        QCOMPARE(browser->driveList()->currentText(),
                 QDir::drives().last().path().left(2).toLower());
        // Ok hands on a path as Windows writes one: backslashes, an upper-case drive letter.
        const QString folder = m_folder->path(); // "C:/users/..."
        QVERIFY(browser->openFolder(folder.at(0).toLower() + folder.mid(1)));
        click(browser, "Command1");
        QCOMPARE(m_shared.BrowsePath, QString(folder).replace(u'/', u'\\'));
        QVERIFY(folder.at(0).isUpper());
        QTRY_VERIFY(!browser);
#endif
    }
};

QTEST_MAIN(WidgetsTest)
#include "tst_widgets.moc"
