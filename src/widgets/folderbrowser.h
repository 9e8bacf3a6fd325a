#pragma once

// The folder browser "Locate": a drive list and a folder list from which the user picks
// the game folder. Opening a folder (double click) makes it the list's current folder; "&Ok"
// records the folder it shows in BrowsePath and hands it to the path dialog. Esc, "&Cancel"
// and the close box close the window without taking a folder.

#include <QWidget>

class QComboBox;
class QListWidget;
class QListWidgetItem;
struct SharedStrings;

class FolderBrowser : public QWidget
{
    Q_OBJECT

public:
    // Opens on the folder start when it exists, else on the working folder.
    explicit FolderBrowser(SharedStrings &shared, const QString &start = QString(),
                           QWidget *parent = nullptr);

    QComboBox *driveList() const { return m_drives; }
    QListWidget *folderList() const { return m_folders; }
    // The folder Dir1 shows, as a full path.
    QString currentFolder() const { return m_currentFolder; }

    // Makes the folder Dir1's current folder; false (and a message) when it cannot be read.
    bool openFolder(const QString &folder);

Q_SIGNALS:
    void folderTaken();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The drives: "/", the home folder and each Wine drive, as label and folder.
    static QList<std::pair<QString, QString>> drives();
    void takeFolder();
    void driveChanged(int index);
    void itemOpened(QListWidgetItem *item);

    SharedStrings &m_shared;
    QComboBox *m_drives = nullptr;
    QListWidget *m_folders = nullptr;
    QString m_currentFolder;
    int m_shownDrive = -1; // the drive whose folder Dir1 shows
};
