#include "codepagedevice.h"

#include "codepage.h"
#include "settingnames.h"

namespace Cli {

CodePageDevice::CodePageDevice(QIODevice &target, unsigned codePage)
    : m_target(target)
    , m_codePage(codePage)
{
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 CodePageDevice::writeData(const char *data, qint64 size)
{
    const QByteArray bytes
            = m_codePage == 0
                      ? QByteArray::fromRawData(data, size)
                      : markedInCodePage(QString(m_decoder.decode(QByteArrayView(data, size))),
                                         m_codePage);
    if (m_target.write(bytes) == bytes.size())
        return size;
    setErrorString(m_target.errorString());
    return -1;
}

QByteArray markedInCodePage(QStringView text, unsigned codePage,
                            std::optional<char32_t> *firstMissing)
{
    if (const std::optional<QByteArray> whole = Platform::encodeInCodePage(text, codePage))
        return *whole;
    QByteArray bytes;
    for (qsizetype at = 0; at < text.size();) {
        const bool pair = text.at(at).isHighSurrogate() && at + 1 < text.size()
                          && text.at(at + 1).isLowSurrogate();
        const QStringView character = text.mid(at, pair ? 2 : 1);
        at += character.size();
        if (const std::optional<QByteArray> one = Platform::encodeInCodePage(character, codePage)) {
            bytes += *one;
            continue;
        }
        const char32_t code = pair ? QChar::surrogateToUcs4(character.at(0), character.at(1))
                                   : character.at(0).unicode();
        if (firstMissing && !*firstMissing)
            *firstMissing = code;
        bytes += Prefs::codePoint(code).toLatin1();
    }
    return bytes;
}

} // namespace Cli
