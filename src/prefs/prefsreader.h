#pragma once

// The positional reader: line N of a file fills field N, whatever variable it names. Each
// line is reduced to its value by ExtractValue; only the first 54 lines are ever read.

#include <QIODevice>
#include <QString>

#include <functional>

namespace Prefs {

// The most characters a field holds: a text field's own default, far above any real setting,
// and little enough that 54 full fields load in a moment. A longer value fails the load at
// its line, and is not written.
inline constexpr qsizetype FieldLimit = 32767;

// The text after the line's first double quote (the whole line when it has none), less its
// last two characters, which in a written line are the closing quote and the semicolon.
QString ExtractValue(QStringView line);

struct LoadResult
{
    int linesRead = 0; // fields 1..linesRead were set
    QString error;     // empty when all 54 lines were read

    bool ok() const { return error.isEmpty(); }
};

// Reads the file and hands the value of line N to setField(N - 1, value) before line
// N + 1 is read. A missing file sets nothing; a short file sets the lines it has.
LoadResult loadPositional(const QString &nativeName,
                          const std::function<void(int index, const QString &value)> &setField);
// The same from an open device; name is the file name that messages give.
LoadResult loadPositional(QIODevice &device, const QString &name,
                          const std::function<void(int index, const QString &value)> &setField);

} // namespace Prefs
