#include "settingnames.h"

#include "fieldtable.h"

#include <QRegularExpression>

#include <limits>
#include <numeric>

using namespace Qt::StringLiterals;

namespace Prefs {

QString settingName(int index)
{
    const std::string_view variable = variableName(FieldTable[index]);
    return QString::fromLatin1(variable.data(), qsizetype(variable.size()));
}

QString fieldCaption(int index)
{
    const Field &field = FieldTable[index];
    QString caption = QString::fromLatin1(field.label);
    if (field.tab == TeamPage) // the screen reader's name: the label and its column
        caption += index < FirstSkinField ? QStringLiteral(" Names") : QStringLiteral(" Skins");
    return caption;
}

namespace {

// Letters and digits alone, in lower case: "Minimum Vote % (0 -1)" is "minimumvote01".
QString letters(QStringView text)
{
    QString kept;
    for (const QChar character : text) {
        if (character.isLetterOrNumber())
            kept += character.toLower();
    }
    return kept;
}

} // namespace

QList<int> settingIndexes(QStringView name)
{
    if (name.startsWith(u'$'))
        name = name.mid(1);
    const QString plain = letters(name);
    QList<int> indexes;
    for (int index = 0; index < FieldCount; ++index) {
        const QString variable = settingName(index);
        const bool named
                = name.compare(variable, Qt::CaseInsensitive) == 0
                  || name.compare(variable.section(u"::"_s, 1), Qt::CaseInsensitive) == 0
                  || name.compare(QLatin1StringView(FieldTable[index].name), Qt::CaseInsensitive)
                             == 0
                  || (!plain.isEmpty()
                      && (plain == letters(fieldCaption(index))
                          || plain == letters(QString::fromLatin1(FieldTable[index].label))));
        if (named)
            indexes << index;
    }
    return indexes;
}

int settingIndex(QStringView name)
{
    const QList<int> indexes = settingIndexes(name);
    return indexes.size() == 1 ? indexes.first() : -1;
}

int editDistance(QStringView first, QStringView second)
{
    QList<int> previous(second.size() + 1), current(second.size() + 1);
    std::iota(previous.begin(), previous.end(), 0);
    for (qsizetype row = 1; row <= first.size(); ++row) {
        current[0] = int(row);
        for (qsizetype column = 1; column <= second.size(); ++column) {
            const bool same
                    = first.at(row - 1).toCaseFolded() == second.at(column - 1).toCaseFolded();
            current[column] = std::min({previous[column] + 1, current[column - 1] + 1,
                                        previous[column - 1] + (same ? 0 : 1)});
        }
        std::swap(previous, current);
    }
    return previous[second.size()];
}

QString codePoint(char32_t character)
{
    return QStringLiteral("U+%1").arg(uint(character), 4, 16, QLatin1Char('0')).toUpper();
}

QString quoted(QStringView text, bool asciiOnly)
{
    QString result(u'"');
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar character = text.at(at);
        const char16_t code = character.unicode();
        // A surrogate is shown as itself only as half of a pair.
        const bool lone
                = (character.isHighSurrogate()
                   && !(at + 1 < text.size() && text.at(at + 1).isLowSurrogate()))
                  || (character.isLowSurrogate() && !(at > 0 && text.at(at - 1).isHighSurrogate()));
        if (code == u'"' || code == u'\\')
            result += u'\\' + character;
        else if (code == u'\n' || code == u'\r' || code == u'\t')
            result += code == u'\n' ? u"\\n" : code == u'\r' ? u"\\r" : u"\\t";
        else if (code < 0x20 || (code >= 0x7f && code < 0xa0) // C0 and C1 controls
                 || code == 0x2028 || code == 0x2029 || lone  // line and paragraph ends
                 || (asciiOnly && code >= 0x80))
            result += QStringLiteral("\\u%1").arg(code, 4, 16, QLatin1Char('0'));
        else
            result += character;
    }
    return result + u'"';
}

bool isSecret(QStringView name)
{
    return name.contains(u"password", Qt::CaseInsensitive);
}

bool isVariableName(QStringView name)
{
    static const QRegularExpression variable(
            QStringLiteral(R"(^[A-Za-z_][A-Za-z0-9_]*(::[A-Za-z_][A-Za-z0-9_]*)+$)"));
    return variable.match(name.toString()).hasMatch();
}

std::pair<QString, int> closestName(QStringView name, const QStringList &others)
{
    const bool full = name.contains(u"::");
    QStringList known = others;
    for (int index = 0; index < FieldCount; ++index)
        known << settingName(index);
    std::pair<QString, int> closest{QString(), std::numeric_limits<int>::max()};
    for (const QString &candidate : std::as_const(known)) {
        const int apart = editDistance(name, full ? candidate : candidate.section(u"::"_s, -1));
        if (apart < closest.second)
            closest = {candidate, apart};
    }
    return closest;
}

} // namespace Prefs
