#include "documentcheck.h"

#include "codepage.h"
#include "fieldtable.h"
#include "linereader.h"
#include "nativepath.h"
#include "prefsreader.h"
#include "prefswriter.h"
#include "regularfile.h"
#include "settingnames.h"

#include <QFile>

namespace Prefs {

namespace {

using Ending = Platform::LineReader::LineEnd;

void checkEnding(int number, Ending end, QList<Finding> &findings)
{
    if (end == Ending::CrLf)
        return;
    const char *ending = end == Ending::Lf ? "LF" : end == Ending::Cr ? "CR" : "no line end";
    findings.append({number,
                     QStringLiteral("line %1 ends in %2, which a save writes as CR LF")
                             .arg(number)
                             .arg(QLatin1StringView(ending)),
                     false});
}

// The findings about line number (1..54), which holds text whose value is value.
void checkLine(int number, const QString &text, const QString &value, QList<Finding> &findings)
{
    const int index = number - 1;
    qsizetype nameEnd = 1;
    while (nameEnd < text.size() && text.at(nameEnd) != u' ' && text.at(nameEnd) != u'=')
        ++nameEnd;
    const QString variable = text.startsWith(u'$') ? text.mid(1, nameEnd - 1) : QString();
    const QString written = QLatin1StringView(FieldTable[index].tag) + value + LineEnd;
    // A value stands between the line's first quote and a closing quote and semicolon at its
    // end; else what a save writes holds other text than the game reads.
    const qsizetype quote = text.indexOf(u'"');
    const bool valueKept = quote >= 0 && quote < text.size() - 2 && text.endsWith(u"\";");
    if (variable.compare(settingName(index), Qt::CaseInsensitive) != 0) {
        findings.append({number,
                         QStringLiteral("line %1 %2, but a save writes %3 in its place")
                                 .arg(number)
                                 .arg(variable.isEmpty() ? QStringLiteral("sets no variable")
                                                         : QStringLiteral("sets ") + variable,
                                      settingName(index)),
                         true});
    } else if (text + QLatin1StringView("\r\n") != written) {
        findings.append({number,
                         QStringLiteral("line %1 is %2, which a save writes as %3")
                                 .arg(number)
                                 .arg(quoted(text), quoted(written.chopped(2))),
                         !valueKept});
    }
}

} // namespace

Result checkDocument(const QString &nativeName, QList<Finding> &findings, QStringList &values)
{
    using Status = Platform::LineReader::Status;
    QFile file(nativeName);
    const QString name = Platform::displayName(nativeName);
    if (const QString reason = Platform::openRegularFile(file, QIODevice::ReadOnly);
        !reason.isEmpty())
        return {QStringLiteral("Cannot open \"%1\": %2.").arg(name, reason)};
    values = QStringList(FieldCount);
    Platform::LineReader reader(file);
    QByteArray bytes;
    int count = 0;
    bool emptyAfterLast = false; // line 55 is empty, as a save writes it
    bool textAfterLast = false;  // a line after the 54th holds more than blanks
    for (Status status; (status = reader.readLine(bytes, LongestLine)) != Status::EndOfFile;) {
        ++count;
        const bool tooLong = status == Status::TooLong;
        while (status == Status::TooLong) // the rest of the line is not kept
            status = reader.readLine(bytes, LongestLine);
        if (status == Status::ReadError)
            return {QStringLiteral("Cannot read \"%1\": %2.").arg(name, file.errorString())};
        const QString text = Platform::decodeDocumentText(bytes);
        const QString value = ExtractValue(text);
        if (count <= FieldCount && (tooLong || value.size() > FieldLimit))
            findings.append({count,
                             QStringLiteral("line %1 holds a value longer than %2 characters, more "
                                            "than a field holds")
                                     .arg(count)
                                     .arg(FieldLimit),
                             true});
        else if (count <= FieldCount)
            checkLine(count, text, values[count - 1] = value, findings);
        emptyAfterLast = count == FieldCount + 1 && bytes.isEmpty();
        textAfterLast = textAfterLast || (count > FieldCount && !bytes.trimmed().isEmpty());
        if (count <= FieldCount || emptyAfterLast)
            checkEnding(count, reader.lineEnd(), findings);
    }
    if (count < FieldCount)
        findings.append({0,
                         QStringLiteral("the file ends after line %1: a save writes %2 lines, the "
                                        "settings it lacks empty")
                                 .arg(count)
                                 .arg(FieldCount),
                         true});
    else if (count == FieldCount)
        findings.append(
                {0, QStringLiteral("no empty line follows the 54th: a save adds one"), false});
    else if (!emptyAfterLast)
        findings.append(
                {FieldCount + 1,
                 count == FieldCount + 1
                         ? QStringLiteral("line 55 follows the 54th setting: a save drops it")
                         : QStringLiteral("lines 55 to %1 follow the 54th setting: a save "
                                          "drops them")
                                   .arg(count),
                 textAfterLast});
    return {};
}

} // namespace Prefs
