#pragma once

// Helpers for the widget tests: answering the modal message boxes the program shows.

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace TestSupport {

struct SeenMessage
{
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
};

// Presses OK on every message box shown while it lives, and keeps what each one said.
class MessageCatcher : public QObject
{
public:
    MessageCatcher()
    {
        connect(&m_timer, &QTimer::timeout, this, &MessageCatcher::answer);
        m_timer.start(5);
    }

    QList<SeenMessage> messages;

    QString lastText() const { return messages.isEmpty() ? QString() : messages.last().text; }

private:
    void answer()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        messages.append({box->text(), box->windowTitle(), box->icon(), int(box->buttons().size())});
        box->button(QMessageBox::Ok)->click();
    }

    QTimer m_timer;
};

} // namespace TestSupport
