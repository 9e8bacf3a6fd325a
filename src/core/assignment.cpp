#include "assignment.h"

using namespace Qt::StringLiterals;

namespace Prefs {

namespace {

bool isBlank(QChar character)
{
    return character == u' ' || character == u'\t';
}

qsizetype skipBlanks(QStringView line, qsizetype at)
{
    while (at < line.size() && isBlank(line.at(at)))
        ++at;
    return at;
}

// Digits with at most one "." and an optional leading "-", or true or false.
bool isBareValue(QStringView token)
{
    if (token == u"true" || token == u"false")
        return true;
    if (token.startsWith(u'-'))
        token = token.mid(1);
    bool digit = false;
    int points = 0;
    for (const QChar character : token) {
        if (character == u'.')
            ++points;
        else if (character >= u'0' && character <= u'9')
            digit = true;
        else
            return false;
    }
    return digit && points <= 1;
}

// Where the quoted string that opens at quote ends (its closing quote), or -1.
qsizetype closingQuote(QStringView line, qsizetype quote)
{
    qsizetype backslashes = 0;
    for (qsizetype at = quote + 1; at < line.size(); ++at) {
        if (line.at(at) == u'"' && backslashes % 2 == 0)
            return at;
        backslashes = line.at(at) == u'\\' ? backslashes + 1 : 0;
    }
    return -1;
}

} // namespace

Assignment readAssignment(QStringView line)
{
    Assignment read;
    qsizetype at = skipBlanks(line, 0);
    if (at == line.size() || line.at(at) != u'$')
        return read;
    const qsizetype nameStart = ++at;
    while (at < line.size() && !isBlank(line.at(at)) && line.at(at) != u'=')
        ++at;
    const qsizetype nameEnd = at;
    at = skipBlanks(line, at);
    // "$a == 1" compares; only one "=" assigns.
    if (nameEnd == nameStart || at == line.size() || line.at(at) != u'='
        || (at + 1 < line.size() && line.at(at + 1) == u'='))
        return read;
    read.name = line.sliced(nameStart, nameEnd - nameStart).toString();
    const QStringView afterEquals = line.sliced(at + 1);
    const auto broken = [&](const QString &reason) {
        read.kind = Assignment::Kind::Broken;
        read.value = afterEquals.trimmed().toString();
        read.reason = reason;
        return read;
    };
    at = skipBlanks(line, at + 1);
    qsizetype valueEnd = at;
    if (at < line.size() && line.at(at) == u'"') {
        valueEnd = closingQuote(line, at);
        if (valueEnd < 0)
            return broken(u"its value has no closing quote"_s);
        read.value = line.sliced(at + 1, valueEnd - at - 1).toString();
        ++valueEnd;
    } else {
        while (valueEnd < line.size() && !isBlank(line.at(valueEnd)) && line.at(valueEnd) != u';')
            ++valueEnd;
        const QStringView token = line.sliced(at, valueEnd - at);
        if (token.isEmpty())
            return broken(u"it gives no value"_s);
        if (!isBareValue(token))
            return broken(u"its value is neither quoted nor a number, true or false"_s);
        read.value = token.toString();
        read.bare = true;
    }
    at = skipBlanks(line, valueEnd);
    if (at == line.size())
        return broken(u"no ; ends it"_s);
    if (line.at(at) != u';')
        return broken(read.bare ? u"other text follows its value"_s
                                : u"other text follows its value's closing quote"_s);
    const QStringView trailer = line.sliced(at + 1);
    const qsizetype text = skipBlanks(trailer, 0);
    if (text < trailer.size() && !trailer.sliced(text).startsWith(u"//"))
        return broken(u"other text follows its ;"_s);
    if (read.value.size() > FieldLimit)
        return broken(u"its value is longer than %1 characters"_s.arg(FieldLimit));
    read.trailer = trailer.toString();
    read.kind = Assignment::Kind::Valid;
    return read;
}

} // namespace Prefs
