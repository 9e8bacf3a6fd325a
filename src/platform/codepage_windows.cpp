#include "codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace Platform {

QString decodeDocumentText(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringConverter::System);
    return decoder.decode(bytes);
}

std::optional<QByteArray> encodeDocumentText(QStringView text)
{
    // The system's converter replaces a character the code page lacks by its "best fit" ("Ł"
    // becomes "L") and reports no error: only text that comes back unchanged is storable.
    QStringEncoder encoder(QStringConverter::System);
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError() || decodeDocumentText(bytes) != text)
        return std::nullopt;
    return bytes;
}

} // namespace Platform
