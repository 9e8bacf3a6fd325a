#pragma once

// The printout of the preferences text: one empty line in the printer's own font, then the
// text's lines in 12-point Arial, not bold, a new page where one is full.

#include <QString>

class QPrinter;

// False when the printer could not be started.
bool printPrefsText(QPrinter &printer, const QString &prefsText);
