#include "prefswriter.h"

#include "codepage.h"
#include "fieldtable.h"
#include "savefile.h"
#include "settingnames.h"

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

QString scriptBreak(QStringView value)
{
    qsizetype backslashes = 0;
    for (const QChar character : value) {
        if (character == u'"' && backslashes % 2 == 0)
            return QStringLiteral("a bare \" ends its value early");
        backslashes = character == u'\\' ? backslashes + 1 : 0;
    }
    if (backslashes % 2 != 0)
        return QStringLiteral("a lone \\ at its end escapes the closing quote");
    return {};
}

QString controlCharacter(QStringView text)
{
    for (const QChar character : text) {
        if (character.unicode() < 0x20 && character != u'\t')
            return QStringLiteral("%1 (%2)").arg(quoted(QStringView(&character, 1)),
                                                 codePoint(character.unicode()));
    }
    return {};
}

QString unstorableReason(const QString &text, ValueSource source)
{
    if (text.contains(u'\r') || text.contains(u'\n'))
        return source == ValueSource::Fields
                       ? QStringLiteral("a line break, shown as a space, which would split its "
                                        "line in the file")
                       : QStringLiteral("a line break, which would split its line in the file");
    if (const QString control = controlCharacter(text); !control.isEmpty())
        return QStringLiteral("the control character %1, which the file cannot hold").arg(control);
    if (text.size() > FieldLimit)
        return QStringLiteral("%1 characters, more than the %2 a field holds")
                .arg(text.size())
                .arg(FieldLimit);
    if (const QString broken = scriptBreak(text); !broken.isEmpty())
        return QStringLiteral("text the game cannot read: %1 (write a quote as \\\" and a "
                              "backslash at the end as \\\\)")
                .arg(broken);
    if (Platform::encodeDocumentText(text))
        return {};
    for (qsizetype at = 0;; ++at) {
        // A surrogate pair is one character; a lone surrogate is named alone.
        const bool pair = text.at(at).isHighSurrogate() && at + 1 < text.size()
                          && text.at(at + 1).isLowSurrogate();
        const QStringView character = QStringView(text).mid(at, pair ? 2 : 1);
        if (Platform::encodeDocumentText(character))
            continue;
        const char32_t code = pair ? QChar::surrogateToUcs4(character.at(0), character.at(1))
                                   : character.at(0).unicode();
        return QStringLiteral("the character %1 (%2), which the game's code page cannot store")
                .arg(quoted(character), codePoint(code));
    }
}

Result checkStorable(const QStringList &texts, ValueSource source)
{
    for (int index = 0; index < FieldCount; ++index) {
        const QString reason = unstorableReason(texts.at(index), source);
        if (reason.isEmpty())
            continue;
        const std::string_view variable = variableName(FieldTable[index]);
        return {QStringLiteral("Nothing was written: the field \"%1\" (line %2, $%3) holds %4.")
                        .arg(QLatin1StringView(FieldTable[index].label))
                        .arg(FieldTable[index].line)
                        .arg(QLatin1StringView(variable.data(), qsizetype(variable.size())),
                             reason),
                index};
    }
    return {};
}

Result writeDocument(const QString &nativeName, const Document &document, const QStringList &texts,
                     ValueSource source)
{
    if (Result refused = checkStorable(texts, source); !refused.ok())
        return refused;
    const std::optional<QByteArray> bytes = document.format(texts);
    if (!bytes) // the tags' characters, should they ever have none
        return Platform::writeFailure(nativeName,
                                      QStringLiteral("the game's code page cannot store it"));
    return Platform::writeWholeFile(nativeName, *bytes);
}

} // namespace Prefs
