#include "mainwindow.h"

#include "filelock.h"
#include "messagebox.h"
#include "nativepath.h"
#include "pagelayout.h"
#include "prefswriter.h"
#include "printing.h"
#include "savefile.h"
#include "savetransaction.h"
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
    Result started;
    LoadStepOutcome outcome = ::runLoadStep(m_shared, [this, &started] {
        started = init();
        return started.ok();
    });
    m_skinDirectory = outcome.skinDirectory;
    // path.inf named a folder whose file cannot be read: the reason first, then the path
    // dialog, in front.
    const bool failed = !started.ok();
    if (failed) {
        m_startNotice = started.message;
        outcome.pathDialogWanted = false;
    }
    if (!m_startNotice.isEmpty()) // after the window is shown, which comes next
        QTimer::singleShot(0, this, [this, failed] {
            showMessage(this, std::exchange(m_startNotice, {}));
            if (failed)
                Q_EMIT pathInfoRequested();
        });
    return outcome;
}

Result MainWindow::init()
{
    return loadPrefs();
}

Result MainWindow::loadPrefs()
{
    const QString programName = m_shared.TribesPath + PrefsFile;
    Prefs::Document read;
    const Result loaded = loadFields(programName, read, m_startNotice);
    if (loaded.ok()) {
        m_base = read;
        m_baseName = Platform::nativeFileName(programName);
        m_otherEdits.clear();
    }
    return loaded;
}

Result MainWindow::loadFields(const QString &programName, Prefs::Document &document,
                              QString &notice)
{
    const QString nativeName = Platform::nativeFileName(programName);
    notice.clear();
    {
        // Shared: no writer of Tolvane's is half way through the file while it is read.
        const Platform::FileLock lock(nativeName, Platform::FileLock::Kind::Shared);
        if (lock.state() == Platform::FileLock::State::Busy)
            return Platform::lockBusy(nativeName, true);
        if (Result opened = Prefs::readDocument(nativeName, document); !opened.ok())
            return {opened.message + u" No field was changed."_s};
    }
    if (!document.namesAnySetting())
        return {u"\"%1\" sets none of the %2 settings, so it is no preferences file. No field "
                "was changed."_s.arg(Platform::displayName(nativeName))
                        .arg(Prefs::FieldCount)};
    for (int index = 0; index < Prefs::FieldCount; ++index) {
        if (document.setting(index).state == Prefs::SettingValue::State::NotSet)
            continue;
        QLineEdit *edit = m_fields.at(index);
        edit->setText(document.fieldText(index));
        edit->setCursorPosition(0); // show a long value from its start, not its end
    }
    QStringList findings;
    for (const Prefs::Finding &finding : Prefs::checkDocument(document))
        findings << finding.text;
    if (!findings.isEmpty())
        notice = u"A save would change %1 so:\n"_s.arg(QFileInfo(nativeName).fileName())
                 + findings.join(u'\n');
    if (const QString copy = Platform::virtualStoreCopy(nativeName); !copy.isEmpty())
        notice += (notice.isEmpty() ? QString() : u"\n\n"_s)
                  + u"The game reads \"%1\" instead: Windows keeps that copy of this file for a "
                    "game under Program Files."_s.arg(copy);
    return {};
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

void MainWindow::saveAndExit()
{
    // A value the file cannot hold is shown to be mended before anything is asked.
    if (!report(Prefs::checkStorable(fieldTexts(), Prefs::ValueSource::Fields)))
        return;
    Prefs::SaveRequest request;
    request.nativeName = Platform::nativeFileName(m_shared.TribesPath + PrefsFile);
    request.shown = fieldTexts();
    request.others = m_otherEdits;
    // The merge holds only for the file the base was read from.
    request.base = m_base && m_baseName == request.nativeName ? &*m_base : nullptr;
    request.createMissing = true;
    request.source = Prefs::ValueSource::Fields;
    Format();
    // The lock is held by the save alone, never while a question or a message is on screen.
    for (;;) {
        QGuiApplication::setOverrideCursor(Qt::BusyCursor);
        const Prefs::SaveOutcome outcome = Prefs::save(request);
        QGuiApplication::restoreOverrideCursor();
        if (outcome.status == Prefs::SaveOutcome::Status::Written) {
            m_base = outcome.after;
            m_baseName = request.nativeName;
            m_otherEdits.clear();
            Q_EMIT exitRequested();
            return;
        }
        if (outcome.status != Prefs::SaveOutcome::Status::NeedsConsent) {
            report(outcome.result);
            return;
        }
        const QString question
                = outcome.consent.join(u'\n')
                  + u"\n\nSave and Exit writes your changes on top of the file as it is now, "
                    "and these values as shown."_s;
        if (!askToSave(this, question))
            return; // the edits stay, and Restore can be chosen
        request.consented = outcome.consent;
    }
}

void MainWindow::createBackup()
{
    // The document as the window holds it: the fields as shown, the other lines as last read.
    Prefs::Document document = m_base.value_or(Prefs::Document());
    for (const auto &[name, value] : std::as_const(m_otherEdits))
        document.setOtherSetting(name, value);
    const QString backup = Platform::backupCopyName();
    Format();
    if (!report(Prefs::writeDocument(backup, document, fieldTexts(), Prefs::ValueSource::Fields)))
        return;
    // It may hold the server password: no more open than the game's file.
    const QString game = Platform::nativeFileName(m_shared.TribesPath + PrefsFile);
    QFile::setPermissions(backup, QFileInfo::exists(game) ? QFile::permissions(game)
                                                          : QFile::ReadOwner | QFile::WriteOwner);
}

void MainWindow::loadBackup()
{
    Prefs::Document backup;
    QString notice;
    if (!report(loadFields(QString::fromLatin1(BackupToLoad), backup, notice)))
        return;
    // The backup's other settings count as the user's changes; no other line is removed.
    for (const Prefs::OtherSetting &other : backup.otherSettings()) {
        m_otherEdits.removeIf([&](const auto &edit) {
            return edit.first.compare(other.name, Qt::CaseInsensitive) == 0;
        });
        m_otherEdits.append({other.name, other.value});
    }
    if (!notice.isEmpty())
        showMessage(this, notice);
}

void MainWindow::restore()
{
    if (report(loadPrefs()) && !m_startNotice.isEmpty())
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
