#include "plaintext.h"

namespace Prefs {

std::optional<QString> plainText(const QString &script)
{
    QString plain;
    plain.reserve(script.size());
    for (qsizetype at = 0; at < script.size(); ++at) {
        if (script.at(at) != u'\\') {
            plain += script.at(at);
            continue;
        }
        const QChar next = ++at < script.size() ? script.at(at) : QChar();
        const auto escape
                = std::find_if(std::begin(Escapes), std::end(Escapes),
                               [next](const Escape &known) { return known.script == next; });
        if (escape == std::end(Escapes))
            return std::nullopt;
        plain += QChar(escape->plain);
    }
    return plain;
}

QString scriptText(const QString &plain)
{
    QString script;
    script.reserve(plain.size());
    for (const QChar character : plain) {
        const auto escape = std::find_if(
                std::begin(Escapes), std::end(Escapes),
                [character](const Escape &known) { return known.plain == character; });
        if (escape != std::end(Escapes))
            script += u'\\';
        script += escape != std::end(Escapes) ? QChar(escape->script) : character;
    }
    return script;
}

} // namespace Prefs
