#include "prefswriter.h"

#include "fieldtable.h"
#include "platform/codepage.h"
#include "platform/filewriter.h"
#include "platform/nativepath.h"

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

QString checkStorable(const QStringList &texts)
{
    for (int index = 0; index < FieldCount; ++index) {
        const QString &text = texts.at(index);
        if (Platform::encodeDocumentText(text))
            continue;
        QString offending;
        for (qsizetype at = 0; at < text.size() && offending.isEmpty(); ++at) {
            const qsizetype length = text.at(at).isHighSurrogate() ? 2 : 1;
            if (!Platform::encodeDocumentText(QStringView(text).mid(at, length)))
                offending = text.mid(at, length);
        }
        QString variable = QLatin1StringView(FieldTable[index].tag);
        variable = variable.left(variable.indexOf(u' ')).remove(u'=').remove(u'"');
        return QStringLiteral("Nothing was written: the field \"%1\" (line %2, %3) holds the "
                              "character \"%4\", which the game's code page cannot store.")
                .arg(QLatin1StringView(FieldTable[index].label))
                .arg(FieldTable[index].line)
                .arg(variable, offending);
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
