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

// Empty when every text can be stored in the code page, else a message naming the first
// field that cannot; nothing should be written then.
QString checkStorable(const QStringList &texts);

// Writes the preferences text followed by one more CR LF, replacing the file atomically.
// Empty on success, else a message naming the file and the reason.
QString writePrefsText(const QString &nativeName, const QString &prefsText);

} // namespace Prefs
