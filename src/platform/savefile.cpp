#include "savefile.h"

#include "nativepath.h"
#include "private/replacefile.h"

namespace Platform {

Result writeFailure(const QString &nativeName, const QString &reason)
{
    return {QStringLiteral("Cannot write \"%1\": %2.").arg(displayName(nativeName), reason)
            + longPathNote(nativeName)};
}

Result lockBusy(const QString &nativeName, bool reading)
{
    return {QStringLiteral("Another program is reading or writing \"%1\"; nothing was %2.")
                    .arg(displayName(nativeName),
                         reading ? QStringLiteral("read") : QStringLiteral("written"))};
}

Result writeWholeFile(const QString &nativeName, const QByteArray &bytes)
{
    Result written;
    const QString reason = replaceFile(nativeName, bytes, written.notice);
    if (reason.isEmpty())
        return written;
    Result failed = writeFailure(nativeName, reason);
    if (!written.notice.isEmpty()) // the old content back, but not all else of the file
        failed.message += u' ' + written.notice;
    return failed;
}

} // namespace Platform
