#pragma once

// Every message and question of the program: a modal box with the text, no icon, and the
// program's name as caption. A message has OK alone; a question has its choices and Cancel,
// Cancel the default and the Esc key. A text too long for the screen scrolls inside the box,
// which never grows past 80 % of the screen, so its buttons stay in sight.

#include <QString>
#include <QStringList>

class QWidget;

inline constexpr char ProgramTitle[] = "Tolvane";

void showMessage(QWidget *parent, const QString &text);

// The choice the user took, as given, or an empty string for Cancel.
QString ask(QWidget *parent, const QString &text, const QStringList &choices);

// The question before a save would write over what another program wrote: Save or Cancel.
bool askToSave(QWidget *parent, const QString &text);

// Choices of the questions. A choice that drops the user's work has no access key: in a
// question a bare letter presses its button.
inline constexpr char SaveChoice[] = "&Save";
inline constexpr char DiscardChoice[] = "Discard";
