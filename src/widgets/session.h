#pragma once

// The windows of a run and the strings they share. Makes the main window and runs its load
// step, brings up the path dialog when the start fails or when asked, keeps at most one
// path dialog and one folder browser open, and ends the run when no window is left on
// screen (a hidden path dialog does not keep it alive).

#include "sharedstrings.h"

#include <QObject>
#include <QPointer>

#include <functional>

class FolderBrowser;
class MainWindow;
class PathDialog;

class Session : public QObject
{
    Q_OBJECT

public:
    // quit ends the run; by default it ends the application's event loop.
    explicit Session(std::function<void()> quit = {}, QObject *parent = nullptr);
    ~Session() override;

    // Shows the main window, making it (and running its load step) when there is none.
    void showMain();
    // Shows the path dialog, making it when none is open.
    void showPathDialog();

    MainWindow *mainWindow() const;
    PathDialog *pathDialog() const;
    FolderBrowser *folderBrowser() const;
    SharedStrings &shared() { return m_shared; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    PathDialog *ensurePathDialog();
    void showBrowser();
    void takeBrowsedFolder();
    void quitWhenNoWindowIsShown();

    SharedStrings m_shared;
    std::function<void()> m_quit;
    QPointer<MainWindow> m_main;
    QPointer<PathDialog> m_pathDialog;
    QPointer<FolderBrowser> m_browser;
};
