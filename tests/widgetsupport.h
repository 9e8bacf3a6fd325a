#pragma once

// What the widget tests share: answering message boxes, following the focus, places.

#include <QtWidgets>

namespace TestSupport {

// Presses OK on every message box while it lives, keeps their texts; plain while each had
// the program's name as caption, no icon and one button.
class MessageCatcher : public QObject
{
public:
    MessageCatcher()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                texts << box->text();
                plain = plain && box->windowTitle() == u"Tolvane" && box->buttons().size() == 1
                        && box->icon() == QMessageBox::NoIcon;
                box->button(QMessageBox::Ok)->click();
            }
        });
        m_timer.start(5);
    }
    QString lastText() const { return texts.value(texts.size() - 1); }

    QStringList texts;
    bool plain = true;

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
