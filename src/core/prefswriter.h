#pragma once

// The preferences text of the 54 fields, which Print prints; what a value may hold to be
// written; and the one way a document is written, after those checks.

#include "document.h"
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

// The first control character but TAB in the text, quoted, with its code point; or empty.
QString controlCharacter(QStringView text);

// Why a value cannot be written as part of its line, or empty when it can: a line break or
// another control character but TAB, more than FieldLimit characters, what the game's script
// cannot read, or a character of no byte in the code page.
QString unstorableReason(const QString &text, ValueSource source = ValueSource::Arguments);

// Fails, naming the first field that cannot be written, when its text is not storable.
Result checkStorable(const QStringList &texts, ValueSource source = ValueSource::Arguments);

// After checkStorable, writes what Document::format gives of the values, replacing the file
// as filewriter.h says. Nothing is written when a check fails.
Result writeDocument(const QString &nativeName, const Document &document, const QStringList &texts,
                     ValueSource source = ValueSource::Arguments);

} // namespace Prefs
