#pragma once

// Every way a save would change a preferences file's bytes, one finding a line. Three need
// the user's consent, since a save would write a value the file does not give: a broken
// assignment of one of the 54, a setting that no line assigns, and (found by the save) a
// setting changed both by the user and by another program. All else a save does without a
// question, and says so.

#include "document.h"

namespace Prefs {

struct Finding
{
    enum class Consent { NotNeeded, Broken, NotSet, Conflict };
    int line;     // the line it is about; 0 for the file as a whole
    QString text; // what a save would do
    Consent consent = Consent::NotNeeded;
};

QList<Finding> checkDocument(const Document &document);

// The texts of the findings that need consent.
QStringList consentNeeded(const QList<Finding> &findings);

} // namespace Prefs
