#pragma once

// The start of a run, before the main window is first shown: read the game folder from
// path.inf, load the preferences file through init, and name the skin dialog's folder.
// Any failure on the way asks for the path dialog and the start goes on; none is reported.

#include "sharedstrings.h"

#include <functional>

struct LoadStepOutcome
{
    bool pathDialogWanted = false;
    QString skinDirectory; // TribesPath followed by "\base\skins"
};

// init loads TribesPath followed by PrefsFile into the fields and tells whether it read all
// 54 lines; it is called only when path.inf gave a line.
LoadStepOutcome runLoadStep(SharedStrings &shared, const std::function<bool()> &init);
