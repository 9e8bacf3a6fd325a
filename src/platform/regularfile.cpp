#include "regularfile.h"

namespace Platform {

QString unusableNameReason(const QString &nativeName)
{
    if (nativeName.contains(QChar(u'\0')))
        return QStringLiteral("the name holds a NUL character, which no file name can hold");
    // What the program made of a name whose bytes are no UTF-8: no such name can be opened.
    for (const QString &part : nativeName.split(u'/')) {
        if (part.contains(QChar::ReplacementCharacter))
            return QStringLiteral("the name \"%1\" is not valid UTF-8, which Tolvane cannot open")
                    .arg(part);
    }
    return {};
}

} // namespace Platform
