// Any bytes as a preferences file: 54 values or a clean failure. The values then survive a
// write and a second read unchanged, and so does every byte of them.
#include "fuzzsupport.h"
#include "platform/codepage.h"
#include "prefs/prefsreader.h"
#include "prefs/prefswriter.h"

#include <QBuffer>
#include <QStringList>

static Prefs::LoadResult load(QByteArray bytes, QStringList &values)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return Prefs::loadPositional(buffer, QStringLiteral("fuzz"),
                                 [&](int index, const QString &value) { values[index] = value; });
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = fuzzBytes(data, size);
    QStringList values(54);
    const Prefs::LoadResult result = load(input, values);
    FUZZ_CHECK(result.ok() == (result.linesRead == 54));
    if (!result.ok())
        return 0;
    for (const QString &value : std::as_const(values)) {
        FUZZ_CHECK(!value.contains(u'\r') && !value.contains(u'\n'));
        // Each character stands for one byte of the input, and goes back to it.
        const std::optional<QByteArray> bytes = Platform::encodeDocumentText(value);
        FUZZ_CHECK(bytes && input.contains(*bytes));
    }
    const std::optional<QByteArray> written = Platform::encodeDocumentText(
            Prefs::formatPrefsText(values) + QLatin1StringView("\r\n"));
    FUZZ_CHECK(written.has_value());
    QStringList again(54);
    FUZZ_CHECK(load(*written, again).ok());
    FUZZ_CHECK(again == values);
    return 0;
}
