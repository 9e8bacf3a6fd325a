#include "mainwindow.h"

#include "filelock.h"
#include "filewriter.h"
#include "messagebox.h"
#include "nativepath.h"
#include "pagelayout.h"
#include "prefswriter.h"
#include "printing.h"
#include "skinname.h"
#include "tabcontrol.h"
#include "twips.h"
#include "windowfonts.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

struct MenuRow
{
    const char *name;
    const char *caption;
    int shortcutKey;               // with Ctrl; 0 for none
    void (MainWindow::*command)(); // a command, or the signal it raises; nullptr: nothing
    bool isMenu;
};

const char FileDialogFilter[] = "Volume Files (*.vol)";
// Load Backup reads this file in the working folder; no command writes it.
const char BackupToLoad[] = "serverprefs.bak";

} // namespace

MainWindow::MainWindow(SharedStrings &shared, QWidget *parent)
    : QMainWindow(parent)
    , m_shared(shared)
    , m_tabs(new TabControl(this))
{
    setObjectName(u"main"_s);
    setWindowTitle(QString::fromLatin1(ProgramTitle));
    setFont(windowFont());
    m_tabs->setObjectName(u"SSTab1"_s);
    m_tabs->setFixedSize(twipsToPixels(MainWidth), twipsToPixels(MainHeight));
    setCentralWidget(m_tabs);
    const Pages pages = buildPages(m_tabs);
    m_fields = pages.fields;
    for (QLineEdit *field : pages.fields)
        field->installEventFilter(this);
    for (int team = 0; team < Prefs::SkinRowCount; ++team) {
        pages.skinButtons.at(team)->installEventFilter(this);
        connect(pages.skinButtons.at(team), &QPushButton::clicked, this,
                [this, team] { pickSkin(team); });
    }
    buildMenus();

    m_chooseSkinFile = [this] {
        QFileDialog *dialog = skinDialog();
        const bool chosen = dialog->exec() == QDialog::Accepted;
        // Enter on a typed name closes the dialog but leaves its completion list open, on
        // screen and holding the keyboard.
        for (const QCompleter *completer : dialog->findChildren<QCompleter *>())
            completer->popup()->hide();
        if (!chosen)
            return QString();
        // The program's own form, whatever the platform's separator.
        return dialog->selectedFiles().value(0).replace(u'/', u'\\');
    };

    layout()->setSizeConstraint(QLayout::SetFixedSize);
    // The design places the client area, below the menu bar, at a fixed point of the screen.
    setGeometry(QRect(QPoint(twipsToPixels(MainLeft),
                             twipsToPixels(MainTop) - menuBar()->sizeHint().height()),
                      sizeHint()));
}

void MainWindow::buildMenus()
{
    static const MenuRow menuTree[] = {
            {"mnuFile", "&File", 0, nullptr, true},
            {"mnuBackup", "&Create Backup", Qt::Key_B, &MainWindow::createBackup, false},
            {"mnuLoad", "&Load Backup", Qt::Key_L, &MainWindow::loadBackup, false},
            {"mnuPath", "Change &Path Info", Qt::Key_P, &MainWindow::pathInfoRequested, false},
            {"mnuExit", "E&xit", Qt::Key_E, &MainWindow::exitRequested, false},
            {"mnuEdit", "&Edit", 0, nullptr, true},
            {"mnuPrint", "Print", 0, &MainWindow::print, false},
            {"mnuConfig", "C&onfig.cs Compare", Qt::Key_O, &MainWindow::configCompare, false},
            {"mnuRestor", "Res&tore ServerPrefs", 0, &MainWindow::restore, false},
            {"mnuCreat", "C&reate New ServerPrefs!", 0, nullptr, true},
            {"mnuSaE", "Save and Exit", 0, &MainWindow::saveAndExit, false},
            {"mnuSaC", "Save and Continue", 0, nullptr, false},
    };
    QMenu *menu = nullptr;
    for (const MenuRow &row : menuTree) {
        if (row.isMenu) {
            menu = menuBar()->addMenu(QString::fromLatin1(row.caption));
            menu->setObjectName(QString::fromLatin1(row.name));
            continue;
        }
        QAction *action = menu->addAction(QString::fromLatin1(row.caption));
        action->setObjectName(QString::fromLatin1(row.name));
        if (row.shortcutKey) {
            action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(row.shortcutKey)));
            m_commandActions.append(action);
        }
        if (row.command)
            connect(action, &QAction::triggered, this, row.command);
    }
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // A text field claims some Ctrl keys for itself (on X11 Ctrl+E moves to the end of the
    // line); the menu's shortcuts come first, whatever has the focus.
    if (event->type() == QEvent::ShortcutOverride) {
        const QKeySequence pressed(static_cast<QKeyEvent *>(event)->keyCombination());
        for (const QAction *action : std::as_const(m_commandActions)) {
            if (action->shortcut() == pressed) {
                event->ignore();
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

LoadStepOutcome MainWindow::runLoadStep()
{
    const LoadStepOutcome outcome = ::runLoadStep(m_shared, [this] { return init().ok(); });
    m_skinDirectory = outcome.skinDirectory;
    if (!m_startNotice.isEmpty()) // after the window is shown, which comes next
        QTimer::singleShot(0, this,
                           [this] { showMessage(this, std::exchange(m_startNotice, {})); });
    return outcome;
}

Result MainWindow::init()
{
    return loadPrefs(Fill::WhatWasRead);
}

Result MainWindow::loadPrefs(Fill fill)
{
    const QString programName = m_shared.TribesPath + PrefsFile;
    Prefs::DocumentRead read;
    const Result loaded = loadFields(programName, fill, m_startNotice, read);
    if (loaded.ok()) { // what a save compares the file with, to see another program's changes
        m_record = read.record;
        m_recordName = Platform::nativeFileName(programName);
    }
    return loaded;
}

Result MainWindow::loadFields(const QString &programName, Fill fill, QString &notice,
                              Prefs::DocumentRead &read)
{
    const QString nativeName = Platform::nativeFileName(programName);
    notice.clear();
    {
        // Shared: no writer of Tolvane's is half way through the file while it is read.
        const Platform::FileLock lock(nativeName, Platform::FileLock::Kind::Shared);
        if (lock.state() == Platform::FileLock::State::Busy)
            return Platform::lockBusy(nativeName, true);
        if (Result opened = Prefs::readDocument(nativeName, read); !opened.ok())
            return fill == Fill::AllOrNothing ? Result{opened.message + u" No field was changed."_s}
                                              : opened;
    }
    if (!read.loaded.ok() && fill == Fill::AllOrNothing)
        return {read.loaded.message + u" No field was changed."_s};
    for (int index = 0; index < read.valuesRead; ++index) {
        QLineEdit *edit = m_fields.at(index);
        edit->setText(read.record.values.at(index));
        edit->setCursorPosition(0); // show a long value from its start, not its end
    }
    const QStringList losses = Prefs::losses(read.findings);
    if (read.loaded.ok() && !losses.isEmpty())
        notice = u"Tolvane fills its fields line by line: line N of %1 fills field N, whatever "
                 "that line names. A save would change this file:\n"_s.arg(
                         QFileInfo(nativeName).fileName())
                 + losses.join(u'\n');
    if (const QString copy = Platform::virtualStoreCopy(nativeName); !copy.isEmpty())
        notice += (notice.isEmpty() ? QString() : u"\n\n"_s)
                  + u"The game reads \"%1\" instead: Windows keeps that copy of this file for a "
                    "game under Program Files."_s.arg(copy);
    return read.loaded;
}

void MainWindow::Format()
{
    m_shared.PrefsText = Prefs::formatPrefsText(fieldTexts());
}

QStringList MainWindow::fieldTexts() const
{
    QStringList texts;
    for (const QLineEdit *edit : m_fields)
        texts.append(edit->text());
    return texts;
}

bool MainWindow::report(const Result &result)
{
    if (result.ok())
        return true;
    showMessage(this, result.message);
    if (result.field >= 0) { // shown to be mended
        m_tabs->setCurrentIndex(Prefs::FieldTable[result.field].tab);
        m_fields.at(result.field)->setFocus();
    }
    return false;
}

bool MainWindow::writeDocument(const QString &nativeName)
{
    Format();
    return report(Prefs::writeDocument(nativeName, fieldTexts(), Prefs::ValueSource::Fields));
}

namespace {

// "A", "A and B", "A, B and C", and at most five names.
QString listed(const QStringList &names)
{
    const qsizetype shown = names.size() > 6 ? 5 : names.size();
    QStringList parts = names.mid(0, shown);
    if (shown < names.size())
        parts << u"%1 more"_s.arg(names.size() - shown);
    const QString last = parts.takeLast();
    return parts.isEmpty() ? last : parts.join(u", "_s) + u" and "_s + last;
}

} // namespace

QString MainWindow::saveQuestion(const QString &nativeName,
                                 const std::optional<Prefs::FileRecord> &expected, bool answered,
                                 Prefs::FileRecord &found)
{
    Prefs::DocumentRead read;
    Prefs::readDocument(nativeName, read); // one that cannot be read is recorded so
    found = read.record;
    if (!found.exists) // nothing there to lose
        return {};
    QStringList reasons;
    if (!expected) {
        reasons << u"Tolvane has not read \"%1\" since its game folder was set."_s.arg(
                Platform::displayName(nativeName));
    } else if (!found.sameContent(*expected)) {
        const QStringList differing = Prefs::differingSettings(*expected, found);
        reasons << u"%1 was changed by another program after Tolvane read it: %2."_s.arg(
                QFileInfo(nativeName).fileName(),
                differing.isEmpty()
                        ? u"its settings are as they were, but other lines differ"_s
                        : listed(differing)
                                  + (differing.size() == 1 ? u" differs"_s : u" differ"_s));
    } else if (answered) { // the file the admin chose to write over
        return {};
    }
    if (const QStringList losses = Prefs::losses(read.findings); !losses.isEmpty())
        reasons << u"Save and Exit would change this file:\n"_s + losses.join(u'\n');
    if (reasons.isEmpty())
        return {};
    return reasons.join(u"\n\n"_s) + (reasons.size() == 1 && expected ? u" "_s : u"\n\n"_s)
           + u"Save and Exit replaces it with the values shown."_s;
}

void MainWindow::saveAndExit()
{
    // A value the file cannot hold is shown to be mended before anything is asked.
    if (!report(Prefs::checkStorable(fieldTexts(), Prefs::ValueSource::Fields)))
        return;
    const QString nativeName = Platform::nativeFileName(m_shared.TribesPath + PrefsFile);
    std::optional<Prefs::FileRecord> expected;
    if (m_record && m_recordName == nativeName)
        expected = m_record;
    // The lock is held from the check to the end of the write, and never while a question or
    // a message is on screen.
    for (bool answered = false;; answered = true) {
        Prefs::FileRecord found;
        QString question;
        Result written;
        {
            QGuiApplication::setOverrideCursor(Qt::BusyCursor);
            const Platform::FileLock lock(nativeName, Platform::FileLock::Kind::Exclusive);
            QGuiApplication::restoreOverrideCursor();
            if (lock.state() == Platform::FileLock::State::Busy) {
                written = Platform::lockBusy(nativeName);
            } else if ((question = saveQuestion(nativeName, expected, answered, found)).isEmpty()) {
                Format();
                written = Prefs::writeDocument(nativeName, fieldTexts(),
                                               Prefs::ValueSource::Fields);
            }
        }
        if (question.isEmpty()) {
            if (report(written))
                Q_EMIT exitRequested();
            return;
        }
        if (!askToSave(this, question))
            return;       // the edits stay, and Restore can be chosen
        expected = found; // what the admin chose to write over; checked again under the lock
    }
}

void MainWindow::createBackup()
{
    writeDocument(Platform::backupCopyName());
}

void MainWindow::loadBackup()
{
    Prefs::DocumentRead read;
    QString notice;
    if (report(loadFields(QString::fromLatin1(BackupToLoad), Fill::AllOrNothing, notice, read))
        && !notice.isEmpty())
        showMessage(this, notice);
}

void MainWindow::restore()
{
    if (report(loadPrefs(Fill::AllOrNothing)) && !m_startNotice.isEmpty())
        showMessage(this, std::exchange(m_startNotice, {}));
}

void MainWindow::print()
{
    Format();
    const QPrinterInfo printerInfo = QPrinterInfo::defaultPrinter();
    if (printerInfo.isNull()) {
        showMessage(this, u"No printer is available, so nothing was printed."_s);
        return;
    }
    QPrinter printer(printerInfo);
    if (!printPrefsText(printer, m_shared.PrefsText))
        showMessage(this, u"Cannot print on \"%1\"."_s.arg(printerInfo.printerName()));
}

void MainWindow::configCompare()
{
    showMessage(this, u"This is not yet available. Will be in the new release"_s);
}

QFileDialog *MainWindow::skinDialog()
{
    // Made at its first use: it is the costliest part of the window, and most runs never
    // open it. It keeps the folder the load step named, and its file name from then on.
    if (!m_skinDialog) {
        m_skinDialog = new QFileDialog(this);
        m_skinDialog->setObjectName(u"CMD"_s);
        m_skinDialog->setOption(QFileDialog::DontUseNativeDialog);
        m_skinDialog->setFileMode(QFileDialog::ExistingFile);
        m_skinDialog->setNameFilter(QString::fromLatin1(FileDialogFilter));
        m_skinDialog->setDirectory(Platform::nativeFileName(m_skinDirectory));
    }
    return m_skinDialog;
}

void MainWindow::pickSkin(int team)
{
    const QString SkinFile = m_chooseSkinFile();
    if (SkinFile.isEmpty())
        return;
    if (SkinFile.contains(u'\r') || SkinFile.contains(u'\n')) {
        showMessage(this, u"The skin file \"%1\" has a line break in its name, which a setting "
                          "cannot hold; choose another file."_s.arg(SkinFile));
        return;
    }
    const QString SkinName = StripDir(StripExt(SkinFile));
    m_fields.at(Prefs::FirstSkinField + team)->setText(SkinName);
}
