#include "mainwindow.h"

#include "documentcommands.h"
#include "messagebox.h"
#include "pagelayout.h"
#include "platform/nativepath.h"
#include "prefs/prefswriter.h"
#include "skinname.h"
#include "tabcontrol.h"
#include "twips.h"
#include "windowfonts.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

namespace {

struct MenuRow
{
    const char *name;
    const char *caption;
    int shortcutKey;                     // with Ctrl; 0 for none
    void (DocumentCommands::*command)(); // nullptr: a menu, or an item handled elsewhere
    bool isMenu;
};

const MenuRow MenuTree[] = {
        {"mnuFile", "&File", 0, nullptr, true},
        {"mnuBackup", "&Create Backup", Qt::Key_B, &DocumentCommands::createBackup, false},
        {"mnuLoad", "&Load Backup", Qt::Key_L, &DocumentCommands::loadBackup, false},
        {"mnuPath", "Change &Path Info", Qt::Key_P, nullptr, false},
        {"mnuExit", "E&xit", Qt::Key_E, &DocumentCommands::exit, false},
        {"mnuEdit", "&Edit", 0, nullptr, true},
        {"mnuPrint", "Print", 0, &DocumentCommands::print, false},
        {"mnuConfig", "C&onfig.cs Compare", Qt::Key_O, &DocumentCommands::configCompare, false},
        {"mnuRestor", "Res&tore ServerPrefs", 0, &DocumentCommands::restore, false},
        {"mnuCreat", "C&reate New ServerPrefs!", 0, nullptr, true},
        {"mnuSaE", "Save and Exit", 0, &DocumentCommands::saveAndExit, false},
        {"mnuSaC", "Save and Continue", 0, nullptr, false},
};

const char FileDialogFilter[] = "Volume Files (*.vol)";

QString latin1(const char *text)
{
    return QString::fromLatin1(text);
}

} // namespace

MainWindow::MainWindow(SharedStrings &shared, QWidget *parent)
    : QMainWindow(parent)
    , m_shared(shared)
    , m_tabs(new TabControl(this))
{
    setObjectName(u"main"_qs);
    setWindowTitle(latin1(ProgramTitle));
    setFont(windowFont());
    m_tabs->setObjectName(u"SSTab1"_qs);
    m_tabs->setFixedSize(twipsToPixels(MainWidth), twipsToPixels(MainHeight));
    setCentralWidget(m_tabs);
    buildPages();
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

namespace {

QLabel *addLabel(QWidget *page, const char *name, const char *caption, const QRect &geometry)
{
    auto *label = new QLabel(latin1(caption), page);
    label->setObjectName(latin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(geometry);
    return label;
}

QLabel *addHeading(QWidget *page, const FixedControl &heading)
{
    QLabel *label = addLabel(page, heading.name, heading.caption,
                             twipsRect(heading.left, heading.top, heading.width, heading.height));
    QFont font = windowFont(8.25, true);
    font.setUnderline(true);
    label->setFont(font);
    // Pure blue by design, whatever the desktop's palette.
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    label->setPalette(palette);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    return label;
}

} // namespace

void MainWindow::buildPages()
{
    QList<QWidget *> pages;
    for (const PageGeometry &geometry : PageTable)
        pages.append(m_tabs->addPage(latin1(geometry.caption)));
    for (const FixedControl &heading : TeamHeadings)
        addHeading(pages.at(3), heading);

    QWidget *previous = nullptr;
    const auto chainFocus = [&previous](QWidget *next) {
        if (previous)
            setTabOrder(previous, next);
        previous = next;
    };
    for (int index = 0; index < Prefs::FieldCount; ++index) {
        const Prefs::Field &field = Prefs::FieldTable[index];
        QLineEdit *edit = addField(pages.at(field.tab), index);
        chainFocus(edit);
        // On the team page the buttons come after the name and the skin fields.
        if (index == Prefs::fieldIndex("TeamSkin7")) {
            for (int team = 0; team < SkinButtonCount; ++team)
                chainFocus(addSkinButton(pages.at(field.tab), team));
        }
    }
}

QLineEdit *MainWindow::addField(QWidget *page, int index)
{
    const Prefs::Field &field = Prefs::FieldTable[index];
    const FieldPlacement &place = PlacementTable[index];
    const PageGeometry &geometry = PageTable[field.tab];
    auto *edit = new QLineEdit(page);
    edit->setObjectName(latin1(field.name));
    edit->setMaxLength(int(Prefs::FieldLimit));
    QString tag = latin1(field.tag);
    tag.chop(1);
    edit->setToolTip(tag); // the line it writes, so an admin sees which variable it sets
    edit->setGeometry(twipsRect(place.fieldLeft ? place.fieldLeft : geometry.fieldLeft, place.top,
                                place.fieldWidth ? place.fieldWidth : geometry.fieldWidth,
                                place.fieldHeight ? place.fieldHeight : geometry.fieldHeight));
    edit->installEventFilter(this);
    // A screen reader names a field by its label, and on the team page by its column too.
    QString accessibleName = latin1(field.label);
    if (field.tab == 3)
        accessibleName += u' ' + latin1(TeamHeadings[place.labelName ? 0 : 1].caption);
    edit->setAccessibleName(accessibleName);
    if (place.labelName) {
        QLabel *label = addLabel(
                page, place.labelName, field.label,
                twipsRect(geometry.labelLeft, place.top, geometry.labelWidth, LabelHeight));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setBuddy(edit);
    }
    m_fields.append(edit);
    return edit;
}

QPushButton *MainWindow::addSkinButton(QWidget *page, int team)
{
    const FixedControl control = skinButton(team);
    auto *button = new QPushButton(latin1(control.caption), page);
    button->setObjectName(latin1(control.name));
    button->setAccessibleName(u"Choose skin for Team %1"_qs.arg(team));
    button->setFont(windowFont(12, true));
    button->setGeometry(twipsRect(control.left, control.top, control.width, control.height));
    button->installEventFilter(this);
    connect(button, &QPushButton::clicked, this, [this, team] { pickSkin(team); });
    return button;
}

void MainWindow::buildMenus()
{
    auto *commands = new DocumentCommands(this);
    QMenu *menu = nullptr;
    for (const MenuRow &row : MenuTree) {
        if (row.isMenu) {
            menu = menuBar()->addMenu(latin1(row.caption));
            menu->setObjectName(latin1(row.name));
            continue;
        }
        QAction *action = menu->addAction(latin1(row.caption));
        action->setObjectName(latin1(row.name));
        if (row.shortcutKey) {
            action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(row.shortcutKey)));
            m_commandActions.append(action);
        }
        if (row.command)
            connect(action, &QAction::triggered, commands, row.command);
    }
    connect(findChild<QAction *>(u"mnuPath"_qs), &QAction::triggered, this,
            &MainWindow::pathInfoRequested);
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

QFileDialog *MainWindow::skinDialog()
{
    // Made at its first use: it is the costliest part of the window, and most runs never
    // open it. It keeps the folder the load step named, and its file name from then on.
    if (!m_skinDialog) {
        m_skinDialog = new QFileDialog(this);
        m_skinDialog->setObjectName(u"CMD"_qs);
        m_skinDialog->setOption(QFileDialog::DontUseNativeDialog);
        m_skinDialog->setFileMode(QFileDialog::ExistingFile);
        m_skinDialog->setNameFilter(latin1(FileDialogFilter));
        m_skinDialog->setDirectory(Platform::nativeFileName(m_skinDirectory));
    }
    return m_skinDialog;
}

Prefs::LoadResult MainWindow::init()
{
    return loadFields(m_shared.TribesPath + PrefsFile);
}

Prefs::LoadResult MainWindow::loadFields(const QString &programName)
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

void MainWindow::showField(int index)
{
    m_tabs->setCurrentIndex(Prefs::FieldTable[index].tab);
    m_fields.at(index)->setFocus();
}

void MainWindow::pickSkin(int team)
{
    const QString SkinFile = m_chooseSkinFile();
    if (SkinFile.isEmpty())
        return;
    if (SkinFile.contains(u'\r') || SkinFile.contains(u'\n')) {
        showMessage(this, u"The skin file \"%1\" has a line break in its name, which a setting "
                          "cannot hold; choose another file."_qs.arg(SkinFile));
        return;
    }
    const QString SkinName = StripDir(StripExt(SkinFile));
    m_fields.at(Prefs::fieldIndex("TeamSkin0") + team)->setText(SkinName);
}
