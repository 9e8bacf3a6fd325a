#pragma once

// The editor window: the 54 settings as labelled fields on six tab pages, the "..." buttons
// of the team skins with their file dialog, and the menu bar with the commands on the whole
// document. The fields hold the values the user sees and edits; the window also keeps the
// file as it last read or wrote it, the base that a save merges the user's changes against.
// A command that fails shows a message that names the file or the field and the reason, and
// the program goes on.

#include "document.h"
#include "documentdiff.h"
#include "loadstep.h"
#include "result.h"
#include "savetransaction.h"

#include <QMainWindow>

#include <functional>
#include <optional>

class OtherSettingsPage;
class QFileDialog;
class QLabel;
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
    // The skin dialog's folder in the program's form: the current game's.
    QString skinDirectory() const;
    OtherSettingsPage *otherSettingsPage() const { return m_otherPage; }
    // Whether the window's values differ from the game's file as last read or written, the
    // other settings included.
    bool hasUnsavedEdits() const;

    // Asks for a skin file and gives its full name with "\\" as separator, or nothing
    // when the user cancels. By default it runs the dialog CMD.
    void setSkinFileChooser(std::function<QString()> chooser) { m_chooseSkinFile = chooser; }
    // Asks for a file to open (or, saving, to write) in a folder; nothing when the user
    // cancels. By default it runs the platform's file dialog.
    using FileChooser = std::function<QString(bool saving, const QString &folder)>;
    void setFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }

Q_SIGNALS:
    void exitRequested();
    void pathInfoRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    // The one save of the window; true when it wrote. The window then shows what was written.
    bool save();
    void saveAndExit();
    void saveAndContinue();
    void exitProgram();
    // Asks what to do with unsaved edits before the window goes: true to go on.
    bool agreeToLeave();
    // Asks before the fields are replaced while they hold unsaved edits: true to go on.
    bool agreeToReplace(const QString &what);
    // Shows the window's other settings on the seventh page, and the status line anew.
    void showOtherSettings();
    // The window's document: the base with the other settings' edits.
    Prefs::Document windowDocument() const;
    // The settings as the window shows them.
    Prefs::Settings windowSettings() const;
    void setOtherSetting(const QString &name, const QString &value);
    void removeOtherSetting(const QString &name);
    void updateStatusLine();
    void createBackup();
    void loadBackup();
    void restore();
    void print();
    void configCompare();
    // The click of the "..." button beside TeamSkin<team>.
    void pickSkin(int team);

    // Reads a file, given in the program's own form, and fills the fields that it gives a value
    // or a broken line; leaves every field as it was when it cannot be read or is no
    // preferences file. notice: what a save would change in it.
    Result loadFields(const QString &programName, Prefs::Document &document, QString &notice);
    // Loads the game's preferences file, which becomes the base.
    Result loadPrefs();
    // Shows a failure's message and the field it names; false for a failure.
    bool report(const Result &result);
    QFileDialog *skinDialog();

    SharedStrings &m_shared;
    TabControl *m_tabs = nullptr;
    QList<QLineEdit *> m_fields;
    QList<QAction *> m_commandActions;
    QFileDialog *m_skinDialog = nullptr;
    // The preferences file as last read or written, and its name: the base of the merge.
    std::optional<Prefs::Document> m_base;
    QString m_baseName;
    // The user's changes to other settings, from the seventh page or Load Backup, which the
    // next save writes.
    QList<Prefs::OtherEdit> m_otherEdits;
    OtherSettingsPage *m_otherPage = nullptr;
    QLabel *m_statusFolder = nullptr;
    QLabel *m_statusEdited = nullptr;
    bool m_leaving = false; // the user agreed that the window goes
    FileChooser m_chooseFile;
    QString m_startNotice; // shown once the window is on screen
    std::function<QString()> m_chooseSkinFile;
};
