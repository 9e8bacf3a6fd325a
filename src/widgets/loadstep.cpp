#include "loadstep.h"

#include "nativepath.h"
#include "pathstore.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

LoadStepOutcome runLoadStep(SharedStrings &shared, const std::function<Result()> &init)
{
    LoadStepOutcome outcome;
    if (shared.GivenFolder.isEmpty()) {
        const QString store = Platform::nativeFileName(QString(GameDir::PathStoreName));
        const QFileInfo storeInfo(store);
        if (!storeInfo.exists() || (storeInfo.isFile() && storeInfo.size() == 0)) {
            outcome.firstUse = true;
            return outcome;
        }
        const std::optional<QString> stored = GameDir::readPathStore(store);
        if (!stored || stored->isEmpty()) {
            outcome.failure
                    = !stored ? u"Cannot read a game folder from \"%1\"."_s.arg(
                              Platform::displayName(store))
                              : u"\"%1\" names no game folder: its first line is empty."_s.arg(
                                      Platform::displayName(store));
            return outcome;
        }
        shared.TribesPath = *stored;
    } else {
        shared.TribesPath = shared.GivenFolder;
    }
    if (const QString problem = Platform::winePrefixProblem(); !problem.isEmpty()) {
        outcome.failure = problem + u'.';
        return outcome;
    }
    Result loaded = init();
    // A blank at either end of the stored path is kept, and may be what went wrong.
    if (!loaded.ok() && shared.TribesPath != shared.TribesPath.trimmed())
        loaded.message
                += u" The game folder \"%1\" begins or ends with a blank."_s.arg(shared.TribesPath);
    outcome.failure = loaded.message;
    return outcome;
}
