#pragma once

// Helpers for the widget tests: answering the modal message boxes the program shows, and
// following the focus.

#include <QtWidgets>

namespace TestSupport {

// Presses OK on every message box shown while it lives, and keeps what each one said, with
// its caption, icon and number of buttons.
class MessageCatcher : public QObject
{
public:
    MessageCatcher()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                texts << box->text();
                looks << QStringLiteral("%1|%2|%3")
                                 .arg(box->windowTitle())
                                 .arg(box->icon())
                                 .arg(box->buttons().size());
                box->button(QMessageBox::Ok)->click();
            }
        });
        m_timer.start(5);
    }
    QString lastText() const { return texts.value(texts.size() - 1); }

    QStringList texts;
    QStringList looks;

private:
    QTimer m_timer;
};

// The control the Tab key goes to from this one.
inline QWidget *nextInTabOrder(QWidget *control)
{
    QWidget *next = control->nextInFocusChain();
    while (!(next->focusPolicy() & Qt::TabFocus) && next != control)
        next = next->nextInFocusChain();
    return next;
}

} // namespace TestSupport
