#include "codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace Platform {

namespace {

#ifdef Q_OS_WIN
QStringEncoder documentEncoder()
{
    return QStringEncoder(QStringConverter::System);
}
QStringDecoder documentDecoder()
{
    return QStringDecoder(QStringConverter::System);
}
#else
// The game writes its files in its own code page, whatever the locale of this machine.
const char documentCodePage[] = "windows-1252";
QStringEncoder documentEncoder()
{
    return QStringEncoder(documentCodePage);
}
QStringDecoder documentDecoder()
{
    return QStringDecoder(documentCodePage);
}
#endif

} // namespace

QString decodeDocumentText(QByteArrayView bytes)
{
    QStringDecoder decoder = documentDecoder();
    return decoder.decode(bytes);
}

std::optional<QByteArray> encodeDocumentText(QStringView text)
{
    QStringEncoder encoder = documentEncoder();
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

} // namespace Platform
