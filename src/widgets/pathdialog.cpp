#include "pathdialog.h"

#include "messagebox.h"
#include "nativepath.h"
#include "pathstore.h"
#include "sharedstrings.h"
#include "twips.h"
#include "windowfonts.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

PathDialog::PathDialog(SharedStrings &shared, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_shared(shared)
{
    setObjectName(u"FrmGetPath"_s);
    setWindowTitle(u"Path Info For Tribes"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(windowFont());
    setFixedSize(twipsToPixels(6375), twipsToPixels(2310));

    auto *label = new QLabel(u"You have not used this program before! Please Specify the path "
                             "to your tribes directory."_s,
                             this);
    label->setObjectName(u"Label1"_s);
    QFont labelFont = windowFont(12, true);
    labelFont.setUnderline(true);
    label->setFont(labelFont);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(twipsRect(120, 240, 6135, 615));

    // The folder in use, so that Enter keeps it; the game's usual folder at the first use.
    m_pathBox = new QLineEdit(
            m_shared.TribesPath.isEmpty() ? u"C:\\Dynamix\\Tribes"_s : m_shared.TribesPath, this);
    m_pathBox->setObjectName(u"PathBox"_s);
    m_pathBox->setAccessibleName(u"Path to your tribes directory"_s);
    m_pathBox->setGeometry(twipsRect(120, 1080, 4935, 375));

    struct ButtonRow
    {
        const char *name;
        const char *caption;
        QRect geometry;
        void (PathDialog::*handler)();
    };
    static const ButtonRow buttons[] = {
            {"Command1", "Browse", twipsRect(5160, 1080, 1215, 375), &PathDialog::browse},
            {"Command2", "&Ok", twipsRect(960, 1680, 1455, 375), &PathDialog::ok},
            {"Command3", "&Do It Later", twipsRect(3000, 1680, 1815, 375), &PathDialog::doItLater},
    };
    QWidget *previous = m_pathBox;
    for (const ButtonRow &row : buttons) {
        auto *button = new QPushButton(QString::fromLatin1(row.caption), this);
        button->setObjectName(QString::fromLatin1(row.name));
        button->setGeometry(row.geometry);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, row.handler);
        setTabOrder(previous, button);
        previous = button;
    }
    m_pathBox->setFocus();
}

void PathDialog::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        ok();
        break;
    case Qt::Key_Escape:
        doItLater();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void PathDialog::browse()
{
    Q_EMIT browserWanted();
}

void PathDialog::ok()
{
    // A path that path.inf cannot hold changes nothing, not even TribesPath; nor does none.
    const QString path = Platform::withoutQuotes(m_pathBox->text());
    Result refused = GameDir::checkStorablePath(path);
    if (path.isEmpty())
        refused = {u"The path is empty: give the folder that holds the game."_s};
    if (!refused.ok()) {
        showMessage(this, refused.message);
        return;
    }
    m_shared.TribesPath = path;
    m_shared.GivenFolder.clear(); // path.inf names the game folder from now on
    if (const Result written = GameDir::writePathStore(m_shared.TribesPath); !written.ok()) {
        showMessage(this, written.message);
        return;
    }
    showMessage(this, u"Under edit, Go to Restor ServerPrefs to re-initate File"_s);
    close();
    Q_EMIT pathStored();
}

void PathDialog::doItLater()
{
    showMessage(this, u"You Must Do this so you can edit ServerPrefs File. You can find it "
                      "under the File Menu"_s);
    close();
}
