#pragma once

// The positional reader: line N of a file fills field N, whatever variable it names. Each
// line is reduced to its value by ExtractValue; only the first 54 lines are ever read.

#include "linereader.h"
#include "result.h"

#include <QIODevice>

#include <functional>

namespace Prefs {

// The most characters a field holds: a text field's own default, far above any real setting,
// and little enough that 54 full fields load in a moment. A longer value fails the load at
// its line, and is not written.
inline constexpr qsizetype FieldLimit = 32767;
// The longest line read: a full field and room for the tag before it and the quote and
// semicolon after it. A longer line fails the load at once, unread.
inline constexpr qsizetype LongestLine = FieldLimit + 4096;

// The text after the line's first double quote (the whole line when it has none), less its
// last two characters, which in a written line are the closing quote and the semicolon.
QString ExtractValue(QStringView line);

// Why the read of line (1..54) of the file called name, whose reader gave status, does not
// give its value; success for a line read whole. The value itself may still be too long.
Result lineFailure(Platform::LineReader::Status status, int line, const QString &name,
                   const QIODevice &device);
Result valueFailure(const QString &value, int line, const QString &name);

using FieldSetter = std::function<void(int index, const QString &value)>;

// Reads the file and hands the value of line N to setField(N - 1, value) before line N + 1
// is read. A missing file sets nothing; a short file sets the lines it has, then fails.
Result loadPositional(const QString &nativeName, const FieldSetter &setField);
// The same from an open device; name is the file name that messages give.
Result loadPositional(QIODevice &device, const QString &name, const FieldSetter &setField);

} // namespace Prefs
