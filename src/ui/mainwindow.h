#pragma once

// The editor window: the 54 settings as labelled fields on six tab pages, the "..." buttons
// of the team skins, the skin file dialog and the menu bar. The fields are the only copy
// of the settings' values.

#include "app/loadstep.h"
#include "prefs/prefsreader.h"

#include <QMainWindow>

#include <functional>

class QFileDialog;
class QLineEdit;
class QPushButton;
class TabControl;

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(SharedStrings &shared, QWidget *parent = nullptr);

    // The start of a run: the game folder from path.inf, init, the skin dialog's folder.
    LoadStepOutcome runLoadStep();
    // Loads the game's preferences file into the fields.
    Prefs::LoadResult init();
    // Loads any file, given in the program's own form, into the fields by position.
    Prefs::LoadResult loadFields(const QString &programName);
    // Builds PrefsText from the fields.
    void Format();

    QStringList fieldTexts() const;
    QLineEdit *field(int index) const { return m_fields.at(index); }
    // Shows the field's page and puts the focus in the field.
    void showField(int index);
    TabControl *tabs() const { return m_tabs; }
    // The file dialog CMD of the skin buttons.
    QFileDialog *skinDialog();
    // The skin dialog's folder in the program's form, as the load step set it.
    QString skinDirectory() const { return m_skinDirectory; }
    SharedStrings &shared() const { return m_shared; }

    // Asks for a skin file and gives its full name with "\\" as separator, or nothing
    // when the user cancels. By default it runs the dialog CMD.
    void setSkinFileChooser(std::function<QString()> chooser) { m_chooseSkinFile = chooser; }
    // The click of the "..." button beside TeamSkin<team>.
    void pickSkin(int team);

Q_SIGNALS:
    void exitRequested();
    void pathInfoRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildPages();
    QLineEdit *addField(QWidget *page, int index);
    QPushButton *addSkinButton(QWidget *page, int team);
    void buildMenus();

    SharedStrings &m_shared;
    TabControl *m_tabs = nullptr;
    QList<QLineEdit *> m_fields;
    QList<QAction *> m_commandActions;
    QFileDialog *m_skinDialog = nullptr;
    QString m_skinDirectory;
    std::function<QString()> m_chooseSkinFile;
};
