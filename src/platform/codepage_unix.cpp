#include "codepage.h"

#include <QStringDecoder>

#include <array>

namespace Platform {

namespace {

// The game writes its files in Windows-1252, whatever the locale of this machine. Qt's
// converter fills a table of the 256 characters once; a load then costs a lookup a byte
// instead of opening a converter a line.
const std::array<char16_t, 256> &characterOfByte()
{
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> characters = {};
        QStringDecoder decoder("windows-1252");
        for (int byte = 0; byte < 256; ++byte) {
            const char single = char(byte);
            const QString decoded = decoder.decode(QByteArrayView(&single, 1));
            characters[byte] = decoded.size() == 1 ? decoded.at(0).unicode() : u'\uFFFD';
        }
        return characters;
    }();
    return table;
}

} // namespace

QString decodeDocumentText(QByteArrayView bytes)
{
    const std::array<char16_t, 256> &table = characterOfByte();
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (const char byte : bytes)
        *out++ = table[uchar(byte)];
    return text;
}

std::optional<QByteArray> encodeDocumentText(QStringView text)
{
    const std::array<char16_t, 256> &table = characterOfByte();
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    for (const QChar character : text) {
        const char16_t code = character.unicode();
        if (code < 0x80) { // the same in Windows-1252 as in ASCII
            *out++ = char(code);
            continue;
        }
        const auto found = std::find(table.begin() + 0x80, table.end(), code);
        if (found == table.end() || code == u'\uFFFD')
            return std::nullopt;
        *out++ = char(found - table.begin());
    }
    return bytes;
}

unsigned redirectedOutputCodePage()
{
    return 0;
}

std::optional<QByteArray> encodeInCodePage(QStringView text, unsigned codePage)
{
    if (codePage == 0)
        return text.toUtf8();
    if (codePage == 20127) // US-ASCII
        return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; })
                       ? std::optional(text.toLatin1())
                       : std::nullopt;
    return codePage == 1252 ? encodeDocumentText(text) : std::nullopt;
}

} // namespace Platform
