#pragma once

// The strings that outlive one operation, one value each for the whole run. One object
// owned by the application holds them and is handed to the windows.

#include "pathstore.h"

#include <QString>

struct SharedStrings
{
    QString TribesPath;  // the game folder, as stored or typed, used unchanged
    QString PrefsText;   // the text last built by Format
    QString BrowsePath;  // the folder the folder browser last handed to the path dialog
    QString GivenFolder; // the game folder given for this run, which path.inf does not hold
};
