#pragma once

// One line of the script as the game reads it. An assignment is, blanks and tabs aside,
// "$", the variable's name, "=", a value and ";", then at most a "//" comment. A value is a
// quoted string, which ends at the first quote that no odd run of backslashes escapes; or a
// bare number (digits, at most one ".", an optional leading "-"); or true or false. A line
// that starts like an assignment ("$", a name, "=") and is none is broken: the game reads
// no value from it.

#include <QString>

namespace Prefs {

// The most characters a value holds: a text field's own default, far above any real setting,
// and little enough that 54 full fields load in a moment. A longer value is no value.
inline constexpr qsizetype FieldLimit = 32767;

struct Assignment
{
    enum class Kind { None, Valid, Broken };
    Kind kind = Kind::None;
    QString name;      // the variable as the line spells it, without "$": "Server::Port"
    QString value;     // a quoted value's script text, a bare value; broken: the text after "="
    bool bare = false; // a number, true or false, without quotes
    QString trailer;   // what follows the ";": blanks, and a comment when it has "//"
    QString reason;    // why a broken line gives no value
};

// The line, decoded and without its line end.
Assignment readAssignment(QStringView line);

} // namespace Prefs
