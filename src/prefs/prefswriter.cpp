#include "prefswriter.h"

#include "fieldtable.h"
#include "platform/codepage.h"
#include "platform/filewriter.h"
#include "platform/nativepath.h"
#include "prefsreader.h"

namespace Prefs {

QString formatPrefsText(const QStringList &texts)
{
    Q_ASSERT(texts.size() == FieldCount);
    QString prefsText;
    for (int index = 0; index < FieldCount; ++index) {
        prefsText += QLatin1StringView(FieldTable[index].tag);
        prefsText += texts.at(index);
        prefsText += LineEnd;
    }
    return prefsText;
}

namespace {

// Why the text cannot be written as one line of the file, or empty when it can.
QString unstorableReason(const QString &text)
{
    if (text.contains(u'\r') || text.contains(u'\n'))
        return QStringLiteral("a line break, shown as a space, which would split its line in "
                              "the file");
    if (text.size() > FieldLimit)
        return QStringLiteral("%1 characters, more than the %2 a field holds")
                .arg(text.size())
                .arg(FieldLimit);
    if (Platform::encodeDocumentText(text))
        return {};
    for (qsizetype at = 0;; ++at) {
        const qsizetype length = text.at(at).isHighSurrogate() ? 2 : 1;
        if (!Platform::encodeDocumentText(QStringView(text).mid(at, length)))
            return QStringLiteral("the character \"%1\", which the game's code page cannot "
                                  "store")
                    .arg(text.mid(at, length));
    }
}

} // namespace

QString checkStorable(const QStringList &texts, int *field)
{
    for (int index = 0; index < FieldCount; ++index) {
        const QString reason = unstorableReason(texts.at(index));
        if (reason.isEmpty())
            continue;
        if (field)
            *field = index;
        QString variable = QLatin1StringView(FieldTable[index].tag);
        variable = variable.left(variable.indexOf(u' ')).remove(u'=').remove(u'"');
        return QStringLiteral("Nothing was written: the field \"%1\" (line %2, %3) holds %4.")
                .arg(QLatin1StringView(FieldTable[index].label))
                .arg(FieldTable[index].line)
                .arg(variable, reason);
    }
    return {};
}

QString writePrefsText(const QString &nativeName, const QString &prefsText)
{
    const std::optional<QByteArray> bytes
            = Platform::encodeDocumentText(prefsText + QLatin1StringView("\r\n"));
    if (!bytes)
        return QStringLiteral("Cannot write \"%1\": the text holds characters that the game's "
                              "code page cannot store.")
                .arg(Platform::displayName(nativeName));
    const QString reason = Platform::writeWholeFile(nativeName, *bytes);
    if (reason.isEmpty())
        return {};
    return QStringLiteral("Cannot write \"%1\": %2.")
            .arg(Platform::displayName(nativeName), reason);
}

} // namespace Prefs
