#pragma once

// Every message of the program: a modal box with the text, an OK button, no icon, and the
// program's name as caption; and the one question, alike but for its two buttons.

#include <QString>

class QWidget;

inline constexpr char ProgramTitle[] = "Tolvane";

void showMessage(QWidget *parent, const QString &text);

// The one question of the program, before a save would write over what another program
// wrote: Save and Cancel, Cancel the default and the Esc key. True for Save.
bool askToSave(QWidget *parent, const QString &text);
