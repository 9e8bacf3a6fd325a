#include "pathdialog.h"

#include "app/sharedstrings.h"
#include "gamedir/pathstore.h"
#include "ui/messagebox.h"
#include "ui/twips.h"
#include "ui/windowfonts.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

struct ButtonRow
{
    const char *name;
    const char *caption;
    QRect geometry;
    void (PathDialog::*handler)();
};

const ButtonRow Buttons[] = {
        {"Command1", "Browse", twipsRect(5160, 1080, 1215, 375), &PathDialog::browse},
        {"Command2", "&Ok", twipsRect(960, 1680, 1455, 375), &PathDialog::ok},
        {"Command3", "&Do It Later", twipsRect(3000, 1680, 1815, 375), &PathDialog::doItLater},
};

} // namespace

PathDialog::PathDialog(SharedStrings &shared, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_shared(shared)
{
    setObjectName(u"FrmGetPath"_qs);
    setWindowTitle(u"Path Info For Tribes"_qs);
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(windowFont());
    setFixedSize(twipsToPixels(6375), twipsToPixels(2310));

    auto *label = new QLabel(u"You have not used this program before! Please Specify the path "
                             "to your tribes directory."_qs,
                             this);
    label->setObjectName(u"Label1"_qs);
    QFont labelFont = windowFont(12, true);
    labelFont.setUnderline(true);
    label->setFont(labelFont);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(twipsRect(120, 240, 6135, 615));

    m_pathBox = new QLineEdit(u"C:\\Dynamix\\Tribes"_qs, this);
    m_pathBox->setObjectName(u"PathBox"_qs);
    m_pathBox->setAccessibleName(u"Path to your tribes directory"_qs);
    m_pathBox->setGeometry(twipsRect(120, 1080, 4935, 375));

    QWidget *previous = m_pathBox;
    for (const ButtonRow &row : Buttons) {
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
    // The folder opened in the browser before this click, or nothing since the last Browse.
    m_pathBox->setText(m_shared.BrowsePath);
    m_shared.BrowsePath.clear();
}

void PathDialog::ok()
{
    // A path that path.inf cannot hold changes nothing, not even TribesPath.
    if (const QString reason = GameDir::unstorablePathReason(m_pathBox->text());
        !reason.isEmpty()) {
        showMessage(this, reason);
        return;
    }
    m_shared.TribesPath = m_pathBox->text();
    const QString error = GameDir::writePathStore(m_shared.TribesPath);
    if (!error.isEmpty()) {
        showMessage(this, error);
        return;
    }
    showMessage(this, u"Under edit, Go to Restor ServerPrefs to re-initate File"_qs);
    close();
    Q_EMIT pathStored();
}

void PathDialog::doItLater()
{
    showMessage(this, u"You Must Do this so you can edit ServerPrefs File. You can find it "
                      "under the File Menu"_qs);
    close();
}
