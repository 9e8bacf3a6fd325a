#include "mainwindow.h"

#include "messagebox.h"
#include "nativepath.h"
#include "othersettingspage.h"
#include "pagelayout.h"
#include "prefswriter.h"
#include "printing.h"
#include "savefile.h"
#include "savetransaction.h"
#include "settingnames.h"
#include "skinname.h"
#include "tabcontrol.h"
#include "twips.h"
#include "windowfonts.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QCompleter>
#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStatusBar>
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

// The texts of a list, each a sentence on a line of its own.
QString sentences(const QStringList &texts)
{
    QStringList lines;
    for (QString text : texts) {
        text = text.trimmed();
        if (!text.endsWith(u'.') && !text.endsWith(u'?'))
            text += u'.';
        lines << text;
    }
    return lines.join(u'\n');
}

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
    m_otherPage = new OtherSettingsPage(m_tabs->addPage(u"Other Settings"_s));
    connect(m_otherPage, &OtherSettingsPage::setRequested, this, &MainWindow::setOtherSetting);
    connect(m_otherPage, &OtherSettingsPage::removeRequested, this,
            &MainWindow::removeOtherSetting);
    for (QLineEdit *box : {m_otherPage->nameBox(), m_otherPage->valueBox()})
        box->installEventFilter(this);
    buildMenus();

    // Which server the window edits, and whether it holds edits not yet saved.
    m_statusFolder = new QLabel(this);
    m_statusFolder->setObjectName(u"statusFolder"_s);
    m_statusEdited = new QLabel(u"Unsaved edits"_s, this);
    m_statusEdited->setObjectName(u"statusEdited"_s);
    statusBar()->addWidget(m_statusFolder, 1);
    statusBar()->addPermanentWidget(m_statusEdited);
    statusBar()->setSizeGripEnabled(false);
    for (QLineEdit *field : std::as_const(m_fields))
        connect(field, &QLineEdit::textChanged, this, &MainWindow::updateStatusLine);
    updateStatusLine();

    m_chooseFile = [this](bool saving, const QString &folder) {
        return saving ? QFileDialog::getSaveFileName(this, QString(), folder)
                      : QFileDialog::getOpenFileName(this, QString(), folder);
    };
    m_chooseSkinFile = [this] {
        QFileDialog *dialog = skinDialog();
        dialog->setDirectory(Platform::nativeFileName(skinDirectory()));
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
            {"mnuExit", "E&xit", Qt::Key_E, &MainWindow::exitProgram, false},
            {"mnuEdit", "&Edit", 0, nullptr, true},
            {"mnuPrint", "Print", 0, &MainWindow::print, false},
            {"mnuConfig", "C&onfig.cs Compare", Qt::Key_O, &MainWindow::configCompare, false},
            {"mnuRestor", "Res&tore ServerPrefs", 0, &MainWindow::restore, false},
            {"mnuCreat", "C&reate New ServerPrefs!", 0, nullptr, true},
            {"mnuSaE", "Save and Exit", 0, &MainWindow::saveAndExit, false},
            {"mnuSaC", "Save and Continue", Qt::Key_S, &MainWindow::saveAndContinue, false},
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
    // Alt with a key that no menu or button takes types nothing, as a native field beeps
    // instead; AltGr (Ctrl+Alt on Windows) and Alt with the number pad still type.
    if (event->type() == QEvent::KeyPress && qobject_cast<QLineEdit *>(watched)) {
        const Qt::KeyboardModifiers chord
                = static_cast<QKeyEvent *>(event)->modifiers() & ~Qt::ShiftModifier;
        if (chord == Qt::AltModifier)
            return true;
    }
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
    const LoadStepOutcome outcome = ::runLoadStep(m_shared, [this] { return init(); });
    updateStatusLine();
    // A failed start: the reason first, after the window is shown, which comes next; then the
    // path dialog, in front.
    const bool failed = !outcome.failure.isEmpty();
    if (failed)
        m_startNotice = outcome.failure;
    if (!m_startNotice.isEmpty())
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

QString MainWindow::skinDirectory() const
{
    return m_shared.TribesPath + SkinsFolder;
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
        showOtherSettings();
    }
    return loaded;
}

Result MainWindow::loadFields(const QString &programName, Prefs::Document &document,
                              QString &notice)
{
    const QString nativeName = Platform::nativeFileName(programName);
    notice.clear();
    if (const Result read = Prefs::readPrefsFile(nativeName, document); !read.ok())
        return {read.message + u" No field was changed."_s};
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

void MainWindow::showOtherSettings()
{
    m_otherPage->showSettings(windowDocument().otherSettings());
    updateStatusLine();
}

Prefs::Document MainWindow::windowDocument() const
{
    Prefs::Document document = m_base.value_or(Prefs::Document());
    for (const Prefs::OtherEdit &edit : m_otherEdits) {
        if (edit.value)
            document.setOtherSetting(edit.name, *edit.value);
        else
            document.removeOtherSetting(edit.name);
    }
    return document;
}

Prefs::Settings MainWindow::windowSettings() const
{
    Prefs::Settings settings = Prefs::Settings::of(windowDocument());
    const QStringList texts = fieldTexts();
    for (int index = 0; index < Prefs::FieldCount; ++index)
        settings.values[index] = {Prefs::SettingValue::State::Set, texts.at(index), 0};
    return settings;
}

bool MainWindow::hasUnsavedEdits() const
{
    if (!m_otherEdits.isEmpty())
        return true;
    const QStringList texts = fieldTexts();
    for (int index = 0; index < Prefs::FieldCount; ++index) {
        if (texts.at(index) != (m_base ? m_base->fieldText(index) : QString()))
            return true;
    }
    return false;
}

void MainWindow::updateStatusLine()
{
    if (!m_statusFolder)
        return; // the fields are filled before the status line is made
    m_statusFolder->setText(m_shared.TribesPath.isEmpty()
                                    ? u"No game folder"_s
                                    : u"Game folder: %1"_s.arg(Platform::displayName(
                                            Platform::nativeFileName(m_shared.TribesPath))));
    m_statusEdited->setVisible(hasUnsavedEdits());
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

bool MainWindow::save()
{
    // A value the file cannot hold is shown to be mended before anything is asked.
    if (!report(Prefs::checkStorable(fieldTexts(), Prefs::ValueSource::Fields)))
        return false;
    Prefs::SaveRequest request;
    request.nativeName = Platform::nativeFileName(m_shared.TribesPath + PrefsFile);
    request.shown = fieldTexts();
    request.others = m_otherEdits;
    // The merge holds only for the file the base was read from.
    request.base = m_base && m_baseName == request.nativeName ? &*m_base : nullptr;
    request.createMissing = true;
    request.source = Prefs::ValueSource::Fields;
    Format();
    // Something else in the file's place is said at once: no question could make it a file.
    const QFileInfo info(request.nativeName);
    if (info.exists() && !info.isFile())
        return report({u"Cannot save \"%1\": it is %2, not a file. Nothing was written."_s.arg(
                Platform::displayName(request.nativeName),
                info.isDir() ? u"a folder"_s : u"no regular file (a named pipe or a device)"_s)});
    // The lock is held by the save alone, never while a question or a message is on screen.
    for (;;) {
        QGuiApplication::setOverrideCursor(Qt::BusyCursor);
        const Prefs::SaveOutcome outcome = Prefs::save(request);
        QGuiApplication::restoreOverrideCursor();
        if (outcome.status == Prefs::SaveOutcome::Status::Written) {
            m_base = outcome.after;
            m_baseName = request.nativeName;
            m_otherEdits.clear();
            for (int index = 0; index < Prefs::FieldCount; ++index) {
                if (m_fields.at(index)->text() != outcome.values.at(index))
                    m_fields.at(index)->setText(outcome.values.at(index));
            }
            showOtherSettings();
            if (!outcome.result.notice.isEmpty()) // said before Save and Exit closes the window
                showMessage(this, outcome.result.notice);
            return true;
        }
        if (outcome.status != Prefs::SaveOutcome::Status::NeedsConsent)
            return report(outcome.result);
        const QString question = sentences(outcome.consent)
                                 + u"\n\nA save writes your changes on top of the file as it is "
                                   "now, and these values as shown."_s;
        if (!askToSave(this, question))
            return false; // the edits stay, and Restore can be chosen
        request.consented = outcome.consent;
    }
}

void MainWindow::saveAndExit()
{
    if (!save())
        return;
    m_leaving = true;
    Q_EMIT exitRequested();
}

void MainWindow::saveAndContinue()
{
    save();
}

bool MainWindow::agreeToLeave()
{
    if (m_leaving || !hasUnsavedEdits())
        return true;
    const QString choice = ask(
            this,
            u"The window holds edits that are not saved to \"%1\"."_s.arg(Platform::displayName(
                    Platform::nativeFileName(m_shared.TribesPath + PrefsFile))),
            {QString::fromLatin1(SaveChoice), QString::fromLatin1(DiscardChoice)});
    if (choice.isEmpty())
        return false;
    m_leaving = choice == QLatin1StringView(DiscardChoice) || save();
    return m_leaving;
}

void MainWindow::exitProgram()
{
    if (agreeToLeave())
        Q_EMIT exitRequested();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!agreeToLeave())
        event->ignore();
}

bool MainWindow::agreeToReplace(const QString &what)
{
    return !hasUnsavedEdits()
           || !ask(this, u"%1 replaces the edits in the window that are not saved."_s.arg(what),
                   {u"Replace Them"_s})
                       .isEmpty();
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

QFileDialog *MainWindow::skinDialog()
{
    // Made at its first use: it is the costliest part of the window, and most runs never
    // open it. It opens in the current game's skin folder.
    if (!m_skinDialog) {
        m_skinDialog = new QFileDialog(this);
        m_skinDialog->setObjectName(u"CMD"_s);
        m_skinDialog->setOption(QFileDialog::DontUseNativeDialog);
        m_skinDialog->setFileMode(QFileDialog::ExistingFile);
        m_skinDialog->setNameFilter(QString::fromLatin1(FileDialogFilter));
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
