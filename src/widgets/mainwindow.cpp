#include "mainwindow.h"

#include "messagebox.h"
#include "nativepath.h"
#include "pagelayout.h"
#include "prefsreader.h"
#include "prefswriter.h"
#include "printing.h"
#include "skinname.h"
#include "tabcontrol.h"
#include "twips.h"
#include "windowfonts.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

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
    return outcome;
}

Result MainWindow::init()
{
    return loadFields(m_shared.TribesPath + PrefsFile);
}

Result MainWindow::loadFields(const QString &programName)
{
    return Prefs::loadPositional(Platform::nativeFileName(programName),
                                 [this](int index, const QString &value) {
                                     QLineEdit *edit = m_fields.at(index);
                                     edit->setText(value);
                                     // Show a long value from its start, not its end.
                                     edit->setCursorPosition(0);
                                 });
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
    return report(Prefs::writeDocument(nativeName, fieldTexts()));
}

void MainWindow::saveAndExit()
{
    if (writeDocument(Platform::nativeFileName(m_shared.TribesPath + PrefsFile)))
        Q_EMIT exitRequested();
}

void MainWindow::createBackup()
{
    writeDocument(Platform::backupCopyName());
}

void MainWindow::loadBackup()
{
    report(loadFields(QString::fromLatin1(BackupToLoad)));
}

void MainWindow::restore()
{
    report(init());
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
