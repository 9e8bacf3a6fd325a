#pragma once

// A preferences file as the game reads it, and all that it holds. Each of the 54 settings
// takes the value of the last line that assigns its variable, names compared without regard
// to case, wherever that line stands; every other line (other variables such as
// $Server::Password, comments, anything else) is kept as the bytes the file held.

#include "assignment.h"
#include "fieldtable.h"
#include "result.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <array>
#include <optional>

namespace Prefs {

// A file larger than this is refused before it is read: twice 54 full fields.
inline constexpr qint64 SizeLimit = 4 * 1024 * 1024;

enum class Ending { CrLf, Cr, Lf, None };

struct DocumentLine
{
    QByteArray bytes; // as the file held them, without the line end
    Ending end = Ending::CrLf;
    Assignment assignment;
    int setting = -1; // the one of the 54 whose variable it assigns, or breaks; else -1
};

// The value of one of the 54 in a file: set by its last line, broken there, or not set.
struct SettingValue
{
    enum class State { Set, Broken, NotSet };
    State state = State::NotSet;
    QString value; // Broken: the text after "=", blanks trimmed
    int line = 0;  // the last line that names it, 1-based; 0 when none does

    bool operator==(const SettingValue &) const = default;
};

// A variable the file assigns that is none of the 54.
struct OtherSetting
{
    QString name;     // as its first assignment spells it, without "$"
    QString value;    // of its last assignment
    QList<int> lines; // every line that assigns it, 1-based
};

class Document
{
public:
    // The file's bytes, split into lines. A UTF-8 byte-order mark before line 1 is no part of
    // it; an empty last line is the file's end mark, not a line of its own.
    static Document parse(const QByteArray &bytes);

    const QList<DocumentLine> &lines() const { return m_lines; }
    bool hasEndMark() const { return m_endMark; }
    Ending endMarkEnd() const { return m_endMarkEnd; }
    bool hasByteOrderMark() const { return m_byteOrderMark; }

    SettingValue setting(int index) const;
    // The value a setting shows in a field: its value, or the text of its broken line.
    QString fieldText(int index) const { return setting(index).value; }
    // Whether any line assigns, or breaks, one of the 54.
    bool namesAnySetting() const;
    QList<OtherSetting> otherSettings() const;

    // Sets every line that assigns the variable (named without regard to case) to the value,
    // quoted, each keeping its spelling, its place and its comment; or, when none does, adds
    // "$name = "value";" after the other lines. The value is a storable one.
    void setOtherSetting(const QString &name, const QString &value);
    // Removes every line that assigns the variable, named without regard to case.
    void removeOtherSetting(const QString &name);
    // The value the file gives another variable, named without regard to case, if any.
    std::optional<QString> otherSetting(const QString &name) const;

    // The bytes a save writes: the 54 settings with these values as lines 1 to 54 in table
    // order, each as its tag, its value and "\";", and the comment of its line; then every other
    // line in the order the file held them; then one empty line. Lines end in CR LF. Nothing
    // when the code page cannot store a value.
    std::optional<QByteArray> format(const QStringList &values) const;

    // The 54 values as the file gives them, an empty one where it gives none.
    QStringList values() const;

private:
    void index();

    QList<DocumentLine> m_lines;
    std::array<int, FieldCount> m_lastLine{}; // index into m_lines + 1; 0 for none
    bool m_endMark = false;
    Ending m_endMarkEnd = Ending::CrLf;
    bool m_byteOrderMark = false;
};

// Reads the file whole; fails, and says why, when it cannot be opened or read, or is larger
// than SizeLimit.
Result readDocument(const QString &nativeName, Document &document);
// The same, giving its bytes.
Result readDocumentBytes(const QString &nativeName, QByteArray &bytes);

// What a reader of Tolvane's reads: the file under a shared lock, so that no writer of
// Tolvane's is half way through it; a lock held too long fails the read. Where the file
// system has no locks, the read goes on, and lockUnsupported (when given) says why. A read
// before a write says, when the lock is busy, that nothing was written.
Result readDocumentShared(const QString &nativeName, Document &document,
                          QString *lockUnsupported = nullptr, bool beforeWrite = false);

// Fails, naming the file, when the document sets none of the 54: it is no preferences file.
Result requirePrefsFile(const QString &nativeName, const Document &document);

// readDocumentShared, then requirePrefsFile: what the window reads.
Result readPrefsFile(const QString &nativeName, Document &document);

} // namespace Prefs
