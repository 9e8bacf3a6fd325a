#include "messagebox.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

using namespace Qt::StringLiterals;

namespace {

// The box's text in a scrolling area no larger than the screen leaves room for, beside the
// buttons: a check's notice may run to hundreds of lines.
void fitToScreen(QMessageBox &box)
{
    auto *label = box.findChild<QLabel *>(u"qt_msgbox_label"_s);
    if (!label || !box.layout())
        return;
    const QScreen *screen
            = box.parentWidget() ? box.parentWidget()->screen() : QGuiApplication::primaryScreen();
    const QSize most = screen->availableGeometry().size() * 0.8;
    label->setWordWrap(true);
    const int width = std::min(label->sizeHint().width(), most.width() - 80);
    const int height = label->heightForWidth(width);
    // Room for the box's margins and its row of buttons.
    const int room = most.height() - 3 * box.fontMetrics().height() - 60;
    if (height <= room)
        return;
    auto *area = new QScrollArea(&box);
    area->setObjectName(u"messageArea"_s);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    delete box.layout()->replaceWidget(label, area); // the label's old place
    area->setWidget(label);
    area->setFixedSize(width + area->verticalScrollBar()->sizeHint().width(), room);
}

QMessageBox *makeBox(QWidget *parent, const QString &text)
{
    auto *box = new QMessageBox(QMessageBox::NoIcon, QString::fromLatin1(ProgramTitle), text,
                                QMessageBox::NoButton, parent);
    box->setAttribute(Qt::WA_DeleteOnClose, false);
    box->setTextFormat(Qt::PlainText);
    return box;
}

} // namespace

void showMessage(QWidget *parent, const QString &text)
{
    std::unique_ptr<QMessageBox> box(makeBox(parent, text));
    box->setStandardButtons(QMessageBox::Ok);
    fitToScreen(*box);
    box->exec();
}

QString ask(QWidget *parent, const QString &text, const QStringList &choices)
{
    std::unique_ptr<QMessageBox> box(makeBox(parent, text));
    QList<QAbstractButton *> buttons;
    for (const QString &choice : choices)
        buttons << box->addButton(choice, QMessageBox::AcceptRole);
    QPushButton *cancel = box->addButton(QMessageBox::Cancel);
    cancel->setText(u"&Cancel"_s);
    box->setDefaultButton(cancel);
    box->setEscapeButton(cancel);
    fitToScreen(*box);
    box->exec();
    return choices.value(buttons.indexOf(box->clickedButton()));
}

bool askToSave(QWidget *parent, const QString &text)
{
    return !ask(parent, text, {QString::fromLatin1(SaveChoice)}).isEmpty();
}
