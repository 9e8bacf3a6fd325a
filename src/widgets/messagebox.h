#pragma once

// Every message of the program: a modal box with the text, an OK button, no icon, and the
// program's name as caption.

#include <QString>

class QWidget;

inline constexpr char ProgramTitle[] = "Tolvane";

void showMessage(QWidget *parent, const QString &text);
