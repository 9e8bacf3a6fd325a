#include "session.h"

#include "folderbrowser.h"
#include "mainwindow.h"
#include "nativepath.h"
#include "pathdialog.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>

Session::Session(std::function<void()> quit, QObject *parent)
    : QObject(parent)
    , m_quit(quit ? std::move(quit) : [] { QCoreApplication::quit(); })
{
    // The session decides when the run ends: Qt would wait for a hidden path dialog.
    QApplication::setQuitOnLastWindowClosed(false);
}

Session::~Session()
{
    delete m_browser;
    delete m_pathDialog;
    delete m_main;
}

MainWindow *Session::mainWindow() const
{
    return m_main;
}

PathDialog *Session::pathDialog() const
{
    return m_pathDialog;
}

FolderBrowser *Session::folderBrowser() const
{
    return m_browser;
}

void Session::showMain()
{
    if (m_main) {
        m_main->show();
        return;
    }
    m_main = new MainWindow(m_shared);
    m_main->setAttribute(Qt::WA_DeleteOnClose);
    m_main->installEventFilter(this);
    connect(m_main, &MainWindow::exitRequested, this, [this] { m_quit(); });
    connect(m_main, &MainWindow::pathInfoRequested, this, &Session::showPathDialog);
    const LoadStepOutcome outcome = m_main->runLoadStep();
    m_main->show();
    // At the first use both windows are open, the path dialog in front; after a failed start
    // the main window brings it up once it has said why.
    if (outcome.firstUse)
        showPathDialog();
}

PathDialog *Session::ensurePathDialog()
{
    if (!m_pathDialog) {
        m_pathDialog = new PathDialog(m_shared);
        m_pathDialog->installEventFilter(this);
        connect(m_pathDialog, &PathDialog::browserWanted, this, &Session::showBrowser);
        connect(m_pathDialog, &PathDialog::pathStored, this, &Session::showMain);
    }
    return m_pathDialog;
}

namespace {

// Shows a window in front of the others, with the keyboard.
void bringUp(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

void Session::showPathDialog()
{
    bringUp(ensurePathDialog());
}

void Session::showBrowser()
{
    if (!m_browser) {
        // On the folder in the path box, when there is one.
        const QString typed = m_pathDialog ? m_pathDialog->pathBox()->text() : QString();
        m_browser = new FolderBrowser(m_shared, typed.isEmpty() ? QString()
                                                                : Platform::nativeFileName(typed));
        m_browser->installEventFilter(this);
        connect(m_browser, &FolderBrowser::folderTaken, this, &Session::takeBrowsedFolder);
    }
    bringUp(m_browser);
}

void Session::takeBrowsedFolder()
{
    // With the path dialog closed, a hidden one is made to receive the folder.
    ensurePathDialog()->pathBox()->setText(m_shared.BrowsePath);
}

bool Session::eventFilter(QObject *watched, QEvent *event)
{
    // A closed window no longer counts as open, even before Qt has deleted it. The main window
    // may refuse to close, to keep unsaved edits: it counts as closed once it is hidden.
    // A window being destroyed is hidden too, when it is no MainWindow any more.
    if (event->type() == QEvent::Hide && !event->spontaneous()
        && qobject_cast<MainWindow *>(watched) && watched == m_main) {
        m_main = nullptr;
        quitWhenNoWindowIsShown();
    }
    if (event->type() == QEvent::Close && watched != m_main) {
        if (watched == m_pathDialog)
            m_pathDialog = nullptr;
        else if (watched == m_browser)
            m_browser = nullptr;
        quitWhenNoWindowIsShown();
    }
    return QObject::eventFilter(watched, event);
}

void Session::quitWhenNoWindowIsShown()
{
    // Checked once the current event is done: Ok closes the path dialog and then shows the
    // main window, and the run goes on.
    QTimer::singleShot(0, this, [this] {
        const QWidgetList windows = QApplication::topLevelWidgets();
        const bool anyShown = std::any_of(windows.cbegin(), windows.cend(), [](QWidget *window) {
            return window->isVisible() && window->isWindow()
                   && !(window->windowType() == Qt::Popup || window->windowType() == Qt::ToolTip);
        });
        if (!anyShown)
            m_quit();
    });
}
