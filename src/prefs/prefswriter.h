#pragma once

// The preferences text: each field's tag, its text and the line end, for the 54 fields in
// table order, and the write step that puts it into a file.

#include <QString>
#include <QStringList>

namespace Prefs {

// Ends every line: the value's closing quote, the semicolon, CR and LF.
inline constexpr QLatin1StringView LineEnd{"\";\r\n"};

// Builds the preferences text from the 54 field texts, in table order.
QString formatPrefsText(const QStringList &texts);

// Empty when every text can be written as its line: no line break, no more than FieldLimit
// characters, every character in the code page. Else a message naming the first field that
// cannot, whose index goes to *field; nothing should be written then.
QString checkStorable(const QStringList &texts, int *field = nullptr);

// Writes the preferences text followed by one more CR LF, replacing the file atomically.
// Empty on success, else a message naming the file and the reason.
QString writePrefsText(const QString &nativeName, const QString &prefsText);

} // namespace Prefs
