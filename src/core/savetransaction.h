#pragma once

// The one save of a preferences file, for the window and the tool alike. Under the file's lock
// it reads the file again, merges the caller's changes into what the file holds now, checks
// what it would write, and writes, or says what stopped it. The window words the questions and
// asks; the tool applies --force and --dry-run. Neither repeats a rule of this one.

#include "documentcheck.h"
#include "prefswriter.h"

#include <QMap>

namespace Prefs {

// A change to another variable, by its full name: a new value, or its removal.
struct OtherEdit
{
    QString name;
    std::optional<QString> value; // nothing: every line that assigns it goes

    bool operator==(const OtherEdit &) const = default;
};

struct SaveRequest
{
    QString nativeName;
    QMap<int, QString> settings; // values the caller gives some of the 54
    QList<OtherEdit> others;     // changes to other variables; with a base, each is the user's
    // The window's 54 field texts. With a base, the document the window last read from or wrote
    // to this file, a setting whose field differs from the base is the user's change: one the
    // file changed meanwhile too is a conflict, every other takes the file's current value.
    // Without a base, all 54 are the user's. A setting the file gives no value gets its field.
    QStringList shown;
    const Document *base = nullptr;
    QStringList consented;      // the texts of what the user agreed to, as asked
    bool force = false;         // agrees to all but writing over a broken line with nothing
    bool dryRun = false;        // everything but the write
    bool createMissing = false; // a file that does not exist is made
    ValueSource source = ValueSource::Arguments;
};

struct SaveOutcome
{
    enum class Status { Written, Previewed, NeedsConsent, Refused, Busy, Failed };
    Status status = Status::Failed;
    Result result;           // why it stopped: Refused, Busy, Failed
    QStringList consent;     // what needs consent, in the question's words
    Document before;         // the file as it was read under the lock
    Document after;          // the file as written, or as it would be
    QStringList previous;    // the 54 values the file gave
    QStringList values;      // the 54 values written
    QStringList addedOthers; // the other variables that no line assigned, and that were added
};

SaveOutcome save(const SaveRequest &request);

} // namespace Prefs
