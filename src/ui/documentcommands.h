#pragma once

// The menu commands that act on the whole document: save and exit, the two backups,
// restore, print, the compare notice and exit. A failure shows a message that names the
// file and the reason, and the program goes on.

#include <QObject>

class MainWindow;
class QPrinter;
struct SharedStrings;

class DocumentCommands : public QObject
{
    Q_OBJECT

public:
    explicit DocumentCommands(MainWindow *window);

    void saveAndExit();
    void createBackup();
    void loadBackup();
    void restore();
    void print();
    void configCompare();
    void exit();

private:
    // Format, then write PrefsText to the file; false (and a message) when it failed.
    bool writeDocument(const QString &nativeName);
    void reportLoad(const QString &error);

    MainWindow *m_window;
};

// Prints an empty line in the printer's font, then the text in 12-point Arial, not bold.
// False when the printer could not be started.
bool printPrefsText(QPrinter &printer, const QString &prefsText);
