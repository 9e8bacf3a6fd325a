#include "folderbrowser.h"

#include "messagebox.h"
#include "nativepath.h"
#include "sharedstrings.h"
#include "twips.h"
#include "windowfonts.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>

using namespace Qt::StringLiterals;

FolderBrowser::FolderBrowser(SharedStrings &shared, const QString &start, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_shared(shared)
    , m_drives(new QComboBox(this))
    , m_folders(new QListWidget(this))
{
    setObjectName(u"frmBrows"_s);
    setWindowTitle(u"Locate"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(windowFont());
    setFixedSize(twipsToPixels(5250), twipsToPixels(3165));

    m_drives->setObjectName(u"Drive1"_s);
    m_drives->setAccessibleName(u"Drives"_s);
    m_drives->setGeometry(twipsRect(0, 0, 2775, 315));
    // The drive shown first is the one that holds the folder it opens on.
    const QString first = !start.isEmpty() && QFileInfo(start).isDir()
                                  ? QDir::cleanPath(QFileInfo(start).absoluteFilePath())
                                  : QDir::currentPath();
    qsizetype matched = 0; // the longest drive folder that holds it
    for (const auto &[label, folder] : drives()) {
        m_drives->addItem(label, folder);
        const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
        if ((first + u'/').startsWith(prefix) && prefix.size() > matched) {
            matched = prefix.size();
            m_drives->setCurrentIndex(m_drives->count() - 1);
        }
    }

    m_folders->setObjectName(u"Dir1"_s);
    m_folders->setAccessibleName(u"Folders"_s);
    m_folders->setGeometry(twipsRect(0, 360, 2775, 2790));
    // A double click opens a folder, whatever the desktop's single-click setting says.
    m_folders->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_folders->setUniformItemSizes(true); // a folder of thousands opens at once
    connect(m_folders, &QListWidget::itemDoubleClicked, this, &FolderBrowser::itemOpened);

    auto *ok = new QPushButton(u"&Ok"_s, this);
    ok->setObjectName(u"Command1"_s);
    ok->setGeometry(twipsRect(3240, 600, 1455, 375));
    ok->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &FolderBrowser::takeFolder);
    auto *cancel = new QPushButton(u"&Cancel"_s, this);
    cancel->setObjectName(u"Command2"_s);
    cancel->setGeometry(twipsRect(3240, 1320, 1455, 375));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);

    setTabOrder(m_drives, m_folders);
    setTabOrder(m_folders, ok);
    setTabOrder(ok, cancel);

    // Filling the list when the browser is made is no change: BrowsePath stays as it is.
    m_currentFolder = first;
    m_shownDrive = m_drives->currentIndex();
    openFolder(first);
    connect(m_drives, &QComboBox::activated, this, &FolderBrowser::driveChanged);
}

QList<std::pair<QString, QString>> FolderBrowser::drives()
{
    return Platform::drives();
}

bool FolderBrowser::openFolder(const QString &folder)
{
    QDir dir(folder);
    if (!dir.exists() || !dir.isReadable()) {
        showMessage(this, u"Cannot open the folder \"%1\": %2."_s.arg(
                                  QDir::toNativeSeparators(folder),
                                  dir.exists() ? u"permission denied"_s
                                               : u"it does not exist or is not ready"_s));
        return false;
    }
    m_currentFolder = QDir::cleanPath(dir.absolutePath());
    m_folders->clear();
    // The open folder heads the list, so the user sees where the list is.
    auto *current = new QListWidgetItem(style()->standardIcon(QStyle::SP_DirOpenIcon),
                                        QDir::toNativeSeparators(m_currentFolder), m_folders);
    current->setFlags(Qt::ItemIsEnabled);
    QStringList entries = dir.isRoot() ? QStringList() : QStringList(u".."_s);
    // Hidden folders too: the game often lives below ~/.wine.
    entries += dir.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    // One icon for all rows: the style decodes it afresh at each call.
    const QIcon folderIcon = style()->standardIcon(QStyle::SP_DirIcon);
    for (const QString &entry : std::as_const(entries)) {
        // A name whose bytes are no UTF-8 could be shown, but never opened again.
        if (!entry.contains(QChar::ReplacementCharacter))
            new QListWidgetItem(folderIcon, entry, m_folders);
    }
    return true;
}

void FolderBrowser::itemOpened(QListWidgetItem *item)
{
    if (item == m_folders->item(0))
        return; // the open folder itself
    openFolder(QDir(m_currentFolder).filePath(item->text()));
}

void FolderBrowser::driveChanged(int index)
{
    // Picking the drive that the list already shows keeps the folder open on it.
    if (index == m_shownDrive)
        return;
    if (openFolder(m_drives->itemData(index).toString()))
        m_shownDrive = index;
}

void FolderBrowser::takeFolder()
{
    // As Windows writes a path: its separators, the drive letter in upper case.
    QString folder = QDir::toNativeSeparators(m_currentFolder);
    if (folder.size() >= 2 && folder.at(1) == u':')
        folder[0] = folder.at(0).toUpper();
    m_shared.BrowsePath = folder;
    Q_EMIT folderTaken();
    close();
}

void FolderBrowser::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        takeFolder();
        break;
    case Qt::Key_Escape:
        close();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}
