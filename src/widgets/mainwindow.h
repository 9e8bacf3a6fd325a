#pragma once

// The editor window: the 54 settings as labelled fields on six tab pages, the "..." buttons
// of the team skins with their file dialog, and the menu bar with the commands on the whole
// document. The fields are the only copy of the settings' values. A command that fails shows
// a message that names the file or the field and the reason, and the program goes on.

#include "documentcheck.h"
#include "loadstep.h"
#include "result.h"

#include <QMainWindow>

#include <functional>
#include <optional>

class QFileDialog;
class QLineEdit;
class TabControl;

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(SharedStrings &shared, QWidget *parent = nullptr);

    // The start of a run: the game folder from path.inf, init, the skin dialog's folder.
    LoadStepOutcome runLoadStep();
    // Loads the game's preferences file into the fields.
    Result init();
    // Builds PrefsText from the fields.
    void Format();

    QStringList fieldTexts() const;
    QLineEdit *field(int index) const { return m_fields.at(index); }
    TabControl *tabs() const { return m_tabs; }
    // The skin dialog's folder in the program's form, as the load step set it.
    QString skinDirectory() const { return m_skinDirectory; }

    // Asks for a skin file and gives its full name with "\\" as separator, or nothing
    // when the user cancels. By default it runs the dialog CMD.
    void setSkinFileChooser(std::function<QString()> chooser) { m_chooseSkinFile = chooser; }

Q_SIGNALS:
    void exitRequested();
    void pathInfoRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void saveAndExit();
    void createBackup();
    void loadBackup();
    void restore();
    void print();
    void configCompare();
    // The click of the "..." button beside TeamSkin<team>.
    void pickSkin(int team);

    // How a load fills the fields: at the start with what it read, the fields being empty;
    // by a command only when it read all 54 lines, so that no mix of two files is left.
    enum class Fill { WhatWasRead, AllOrNothing };
    // Loads the game's preferences file, and keeps its record when it was read whole.
    Result loadPrefs(Fill fill);
    // Loads any file, given in the program's own form, into the fields by position; gives
    // the notice of what a save would change in it, when it was loaded whole.
    Result loadFields(const QString &programName, Fill fill, QString &notice,
                      Prefs::DocumentRead &read);
    // Under the lock: the question to ask before the preferences file is written over, when
    // it is not as expected, or a save would drop, change or move settings in it; empty when
    // it can be written at once, or when it is as the admin, answered, chose to write over.
    QString saveQuestion(const QString &nativeName,
                         const std::optional<Prefs::FileRecord> &expected, bool answered,
                         Prefs::FileRecord &found);
    // Format, then the write; false when nothing was written.
    bool writeDocument(const QString &nativeName);
    // Shows a failure's message and the field it names; false for a failure.
    bool report(const Result &result);
    QFileDialog *skinDialog();

    SharedStrings &m_shared;
    TabControl *m_tabs = nullptr;
    QList<QLineEdit *> m_fields;
    QList<QAction *> m_commandActions;
    QFileDialog *m_skinDialog = nullptr;
    QString m_skinDirectory;
    // The preferences file as last loaded whole, and its name.
    std::optional<Prefs::FileRecord> m_record;
    QString m_recordName;
    QString m_startNotice; // shown once the window is on screen
    std::function<QString()> m_chooseSkinFile;
};
