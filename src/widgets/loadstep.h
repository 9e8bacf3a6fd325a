#pragma once

// The start of a run, before the main window is first shown: the game folder given for the
// run, else the one path.inf names; then the load of its preferences file through init.
// A real first use (no path.inf, or an empty one) asks for the path dialog; any other failure
// says why, and the path dialog comes up with the stored folder, leaving path.inf alone.

#include "result.h"
#include "sharedstrings.h"

#include <functional>

struct LoadStepOutcome
{
    bool firstUse = false;
    QString failure; // why the start failed, else empty
};

// init loads TribesPath followed by PrefsFile into the fields; it is called only when there
// is a game folder.
LoadStepOutcome runLoadStep(SharedStrings &shared, const std::function<Result()> &init);
