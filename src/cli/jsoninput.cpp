#include "jsoninput.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace Cli {

namespace {

// Where the bytes stop being UTF-8, or -1.
qsizetype firstNonUtf8(const QByteArray &bytes)
{
    for (qsizetype at = 0; at < bytes.size();) {
        const uchar lead = uchar(bytes.at(at));
        const int length = lead < 0x80           ? 1
                           : (lead >> 5) == 0x06 ? 2
                           : (lead >> 4) == 0x0E ? 3
                           : (lead >> 3) == 0x1E ? 4
                                                 : 0;
        if (length == 0 || at + length > bytes.size())
            return at;
        // Overlong forms and surrogates too, which Qt's decoder refuses.
        if (length > 1
            && QString::fromUtf8(bytes.sliced(at, length)).contains(QChar::ReplacementCharacter))
            return at;
        at += length;
    }
    return -1;
}

} // namespace

std::optional<QByteArray> jsonText(const QByteArray &bytes, QString &refusal)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return jsonText(bytes.mid(3), refusal);
    const bool little = bytes.startsWith("\xFF\xFE"), big = bytes.startsWith("\xFE\xFF");
    if (little || big) {
        QStringDecoder decoder(little ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        const QString text = decoder.decode(bytes.mid(2));
        if (!decoder.hasError())
            return text.toUtf8();
        refusal = u"is not UTF-16, though it begins as UTF-16 does; save it as UTF-8"_s;
        return std::nullopt;
    }
    if (bytes.contains('\0')) {
        refusal = u"is UTF-16 without a byte-order mark; save it as UTF-8"_s;
        return std::nullopt;
    }
    if (const qsizetype bad = firstNonUtf8(bytes); bad >= 0) {
        refusal = u"is not UTF-8 (byte %1); save it as UTF-8"_s.arg(bad + 1);
        return std::nullopt;
    }
    return bytes;
}

QList<std::pair<QString, QString>> members(const QByteArray &json)
{
    QList<std::pair<QString, QString>> found;
    int depth = 0;
    bool nameNext = false;
    for (qsizetype at = 0; at < json.size(); ++at) {
        const char character = json.at(at);
        if (character == '"') {
            qsizetype end = at + 1;
            while (end < json.size() && json.at(end) != '"')
                end += json.at(end) == '\\' ? 2 : 1;
            if (depth == 1 && std::exchange(nameNext, false))
                found.append({QJsonDocument::fromJson('[' + json.mid(at, end - at + 1) + ']')
                                      .array()
                                      .at(0)
                                      .toString(),
                              QString()});
            at = end;
        } else if (depth == 1 && (character == '-' || (character >= '0' && character <= '9'))
                   && !found.isEmpty()) {
            qsizetype end = at;
            while (end < json.size() && QByteArrayView("+-.eE0123456789").contains(json.at(end)))
                ++end;
            found.last().second = QString::fromLatin1(json.mid(at, end - at));
            at = end - 1;
        } else if (character == '{' || character == '[') {
            nameNext = ++depth == 1;
        } else if (character == '}' || character == ']') {
            --depth;
        } else if (character == ',') {
            nameNext = depth == 1;
        }
    }
    return found;
}

namespace {

// A decimal as its significant digits and the power of ten of the last: "-12e3" for -12000,
// "0" for any zero.
QString canonical(QStringView text)
{
    const bool negative = text.startsWith(u'-');
    if (negative || text.startsWith(u'+'))
        text = text.mid(1);
    const qsizetype e = std::max(text.indexOf(u'e'), text.indexOf(u'E'));
    qint64 exponent = e < 0 ? 0 : text.mid(e + 1).toLongLong();
    const QStringView mantissa = e < 0 ? text : text.left(e);
    const qsizetype point = mantissa.indexOf(u'.');
    QString digits = mantissa.toString().remove(u'.');
    exponent -= point < 0 ? 0 : mantissa.size() - point - 1;
    while (digits.startsWith(u'0'))
        digits.remove(0, 1);
    while (digits.endsWith(u'0')) {
        digits.chop(1);
        ++exponent;
    }
    if (digits.isEmpty())
        return u"0"_s;
    return (negative ? u"-"_s : QString()) + digits + u'e' + QString::number(exponent);
}

} // namespace

bool sameNumber(QStringView first, QStringView second)
{
    return canonical(first) == canonical(second);
}

} // namespace Cli
