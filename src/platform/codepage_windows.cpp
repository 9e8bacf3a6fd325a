#include "codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <windows.h>

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

unsigned redirectedOutputCodePage()
{
    const UINT page = ::GetConsoleOutputCP(); // 0 without a console
    return page == CP_UTF8 ? 0 : page;
}

std::optional<QByteArray> encodeInCodePage(QStringView text, unsigned codePage)
{
    if (codePage == 0 || codePage == CP_UTF8 || text.isEmpty())
        return text.toUtf8();
    const auto wide = reinterpret_cast<LPCWCH>(text.utf16());
    const int size = ::WideCharToMultiByte(codePage, 0, wide, int(text.size()), nullptr, 0, nullptr,
                                           nullptr);
    if (size <= 0)
        return std::nullopt;
    QByteArray bytes(size, Qt::Uninitialized);
    ::WideCharToMultiByte(codePage, 0, wide, int(text.size()), bytes.data(), size, nullptr,
                          nullptr);
    // A character the page lacks becomes a best fit or "?": only text that comes back is held.
    QString back(::MultiByteToWideChar(codePage, 0, bytes.constData(), size, nullptr, 0),
                 Qt::Uninitialized);
    ::MultiByteToWideChar(codePage, 0, bytes.constData(), size,
                          reinterpret_cast<LPWSTR>(back.data()), int(back.size()));
    if (back != text)
        return std::nullopt;
    return bytes;
}

} // namespace Platform
