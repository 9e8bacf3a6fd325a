#include "documentcheck.h"

#include "codepage.h"
#include "prefswriter.h"
#include "settingnames.h"

#include <QMap>

using namespace Qt::StringLiterals;

namespace Prefs {

namespace {

// "1 to 3, 5 and 7 to 55" of line numbers in order.
QString ranges(const QList<int> &numbers)
{
    QStringList parts;
    for (qsizetype first = 0, last = 0; first < numbers.size(); first = last + 1) {
        for (last = first; last + 1 < numbers.size() && numbers[last + 1] == numbers[last] + 1;)
            ++last;
        parts << (first == last
                          ? QString::number(numbers[first])
                          : QStringLiteral("%1 to %2").arg(numbers[first]).arg(numbers[last]));
    }
    const QString end = parts.takeLast();
    return parts.isEmpty() ? end : parts.join(QStringLiteral(", ")) + QStringLiteral(" and ") + end;
}

QString decodeLine(const DocumentLine &line)
{
    return Platform::decodeDocumentText(line.bytes);
}

QString plural(qsizetype count, const QString &one, const QString &many)
{
    return count == 1 ? one : many;
}

// One finding a kind of line end that a save writes otherwise, for all the lines that have it.
void checkEndings(const Document &document, QList<Finding> &findings)
{
    QMap<Ending, QList<int>> endings;
    const QList<DocumentLine> &lines = document.lines();
    for (qsizetype at = 0; at < lines.size(); ++at) {
        if (lines.at(at).end != Ending::CrLf)
            endings[lines.at(at).end] << int(at + 1);
    }
    if (document.hasEndMark() && document.endMarkEnd() != Ending::CrLf)
        endings[document.endMarkEnd()] << int(lines.size() + 1);
    for (auto kind = endings.cbegin(); kind != endings.cend(); ++kind) {
        const QString ending = kind.key() == Ending::Lf   ? u"LF"_s
                               : kind.key() == Ending::Cr ? u"CR"_s
                                                          : u"no line end"_s;
        const QList<int> &numbers = kind.value();
        findings.append({numbers.first(),
                         u"%1 %2 %3 in %4, which a save writes as CR LF"_s.arg(
                                 plural(numbers.size(), u"line"_s, u"lines"_s), ranges(numbers),
                                 plural(numbers.size(), u"ends"_s, u"end"_s), ending)});
    }
}

// What a save does to the lines of one of the 54.
void checkSetting(const Document &document, int index, QList<Finding> &findings)
{
    const SettingValue value = document.setting(index);
    const QString name = settingName(index);
    if (value.state == SettingValue::State::NotSet) {
        findings.append({0, u"no line sets %1: a save writes it empty"_s.arg(name),
                         Finding::Consent::NotSet});
        return;
    }
    const DocumentLine &line = document.lines().at(value.line - 1);
    if (value.state == SettingValue::State::Broken) {
        findings.append({value.line,
                         u"line %1 sets %2 as the game cannot read it: %3; Tolvane has no value "
                         "for it"_s.arg(value.line)
                                 .arg(name, line.assignment.reason),
                         Finding::Consent::Broken});
    } else {
        const QString text = decodeLine(line);
        QString written = QLatin1StringView(FieldTable[index].tag) + value.value + u"\";"_s;
        if (line.assignment.trailer.contains(u"//"_s)) {
            written += line.assignment.trailer;
            findings.append({value.line,
                             u"line %1 carries a comment after its ;, which a line-by-line reader "
                             "takes for part of its value"_s.arg(value.line)});
        }
        if (text != written)
            findings.append(
                    {value.line, u"line %1 is %2, which a save writes as %3"_s.arg(value.line)
                                         .arg(quoted(text), quoted(written))});
        if (const QString control = controlCharacter(value.value); !control.isEmpty())
            findings.append({value.line,
                             u"line %1 gives %2 the control character %3, which no save writes"_s
                                     .arg(value.line)
                                     .arg(name, control)});
    }
    QList<int> repeats;
    for (qsizetype at = 0; at < value.line - 1; ++at) {
        if (document.lines().at(at).setting == index)
            repeats << int(at + 1);
    }
    if (!repeats.isEmpty())
        findings.append(
                {repeats.first(),
                 u"%1 %2 also %3 %4, which a save leaves out: the game takes line %5"_s
                         .arg(plural(repeats.size(), u"line"_s, u"lines"_s), ranges(repeats),
                              plural(repeats.size(), u"sets"_s, u"set"_s), name)
                         .arg(value.line)});
}

} // namespace

QList<Finding> checkDocument(const Document &document)
{
    QList<Finding> findings;
    if (document.hasByteOrderMark())
        findings.append({1, u"a UTF-8 byte-order mark starts the file, which a save removes"_s});
    if (!document.namesAnySetting()) {
        findings.append({0,
                         u"the file sets none of the %1 settings, so it is no preferences file: a "
                         "save writes them all empty"_s.arg(FieldCount),
                         Finding::Consent::NotSet});
    } else {
        for (int index = 0; index < FieldCount; ++index)
            checkSetting(document, index, findings);
    }
    const QList<DocumentLine> &lines = document.lines();
    QList<int> moved, misplaced;
    qsizetype lastSetting = 0;
    for (qsizetype at = 0; at < lines.size(); ++at) {
        if (lines.at(at).setting >= 0)
            lastSetting = at + 1;
    }
    for (qsizetype at = 0; at < lastSetting; ++at) {
        if (lines.at(at).setting < 0)
            moved << int(at + 1);
    }
    for (int index = 0; index < FieldCount; ++index) {
        if (const int line = document.setting(index).line; line != 0 && line != index + 1)
            misplaced << line;
    }
    std::sort(misplaced.begin(), misplaced.end());
    if (!moved.isEmpty())
        findings.append({moved.first(),
                         u"%1 other %2 above or among the settings (%3 %4): a save moves %5 below "
                         "line %6"_s.arg(moved.size())
                                 .arg(plural(moved.size(), u"line stands"_s, u"lines stand"_s),
                                      plural(moved.size(), u"line"_s, u"lines"_s), ranges(moved),
                                      plural(moved.size(), u"it"_s, u"them"_s))
                                 .arg(FieldCount)});
    if (!misplaced.isEmpty())
        findings.append(
                {misplaced.first(),
                 u"the %1 on %2 %3 %4 not on %5 own %6: a save writes the %7 settings as "
                 "lines 1 to %7, in the table's order"_s
                         .arg(plural(misplaced.size(), u"setting"_s, u"settings"_s),
                              plural(misplaced.size(), u"line"_s, u"lines"_s), ranges(misplaced),
                              plural(misplaced.size(), u"is"_s, u"are"_s),
                              plural(misplaced.size(), u"its"_s, u"their"_s),
                              plural(misplaced.size(), u"line"_s, u"lines"_s))
                         .arg(FieldCount)});
    checkEndings(document, findings);
    if (!document.hasEndMark())
        findings.append({0, u"no empty line follows line %1: a save adds one"_s.arg(lines.size())});
    return findings;
}

QStringList consentNeeded(const QList<Finding> &findings)
{
    QStringList texts;
    for (const Finding &finding : findings) {
        if (finding.consent != Finding::Consent::NotNeeded)
            texts << finding.text;
    }
    return texts;
}

} // namespace Prefs
