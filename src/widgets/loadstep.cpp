#include "loadstep.h"

#include "pathstore.h"

LoadStepOutcome runLoadStep(SharedStrings &shared, const std::function<bool()> &init)
{
    LoadStepOutcome outcome;
    if (const std::optional<QString> stored = GameDir::readPathStore()) {
        shared.TribesPath = *stored;
        outcome.pathDialogWanted = !init();
    } else {
        outcome.pathDialogWanted = true;
    }
    outcome.skinDirectory = shared.TribesPath + SkinsFolder;
    return outcome;
}
