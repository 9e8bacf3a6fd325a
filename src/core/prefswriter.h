#pragma once

// The preferences text: each field's tag, its text and the line end, for the 54 fields in
// table order; and the one way it is written, after the checks that a file could not hold.

#include "result.h"

#include <QStringList>

namespace Prefs {

// Ends every line: the value's closing quote, the semicolon, CR and LF.
inline constexpr QLatin1StringView LineEnd{"\";\r\n"};

// Builds the preferences text from the 54 field texts, in table order.
QString formatPrefsText(const QStringList &texts);

// Where the texts come from: the window shows a line break in a field as a blank.
enum class ValueSource { Fields, Arguments };

// Why the game's script cannot read a line that holds this value, or empty when it can. A
// value stands between double quotes, and as in C a backslash escapes the character after
// it: a quote not escaped ends the value early, and an odd backslash at its end escapes the
// closing quote.
QString scriptBreak(QStringView value);

// Fails, naming the first field that cannot be written as its line, when a text holds a line
// break, more than FieldLimit characters, a character of no byte in the code page, or what
// the game's script cannot read.
Result checkStorable(const QStringList &texts, ValueSource source = ValueSource::Arguments);

// After checkStorable, writes the preferences text of the texts followed by one more CR LF,
// replacing the file as filewriter.h says. Nothing is written when a check fails.
Result writeDocument(const QString &nativeName, const QStringList &texts,
                     ValueSource source = ValueSource::Arguments);

} // namespace Prefs
