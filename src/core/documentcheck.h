#pragma once

// What a save would change in a preferences file. The window reads a file by position and
// writes its 54 lines of its own, so a short file, lines after the 54th, lines of other
// variables, and lines it writes otherwise are moved or lost without a word; tolvane-cli
// tells the admin, line by line.

#include "result.h"

#include <QStringList>

namespace Prefs {

struct Finding
{
    int line;           // the line it is about; 0 for the file as a whole
    QString text;       // what a save would do to it
    bool losesSettings; // a save would drop, change or move settings
};

// Reads the whole file, the first 54 lines as the window does, into values (empty for a
// line that is missing or too long); fails when it cannot.
Result checkDocument(const QString &nativeName, QList<Finding> &findings, QStringList &values);

} // namespace Prefs
