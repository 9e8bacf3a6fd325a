// Any bytes as a preferences file and as path.inf (libFuzzer, clang), each with a property
// that must hold: a file's values survive a write and a second read, byte for byte; a line
// of path.inf that can be stored is read back as it was.
#include "codepage.h"
#include "pathstore.h"
#include "prefsreader.h"
#include "prefswriter.h"

#include <QtCore>

#include <cstdio>

// A property that does not hold is a finding, like a crash.
#define FUZZ_CHECK(condition)                                                                      \
    ((condition) ? void() : (std::fprintf(stderr, "failed: %s\n", #condition), std::abort()))

// The values of the bytes as a file, when all 54 lines are read (and only then).
static std::optional<QStringList> load(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QStringList values(54);
    int read = 0;
    const Result result = Prefs::loadPositional(buffer, {}, [&](int index, const QString &value) {
        values[index] = value;
        read = index + 1;
    });
    FUZZ_CHECK(result.ok() == (read == 54));
    return result.ok() ? std::optional(values) : std::nullopt;
}

static std::optional<QString> readPathStore(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return GameDir::readPathStore(buffer);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const std::optional<QStringList> values = load(input)) {
        for (const QString &value : *values) { // each character one byte of the input
            const std::optional<QByteArray> bytes = Platform::encodeDocumentText(value);
            FUZZ_CHECK(bytes && input.contains(*bytes));
        }
        const std::optional<QByteArray> written = Platform::encodeDocumentText(
                Prefs::formatPrefsText(*values) + QLatin1StringView("\r\n"));
        FUZZ_CHECK(written && load(*written) == values);
    }
    const qsizetype firstLine = input.split('\n').first().split('\r').first().size();
    const std::optional<QString> path = readPathStore(input);
    FUZZ_CHECK(path.has_value() == (!input.isEmpty() && firstLine <= GameDir::LongestPath));
    if (path && GameDir::checkStorablePath(*path).ok())
        FUZZ_CHECK(readPathStore((*path + QLatin1StringView("\r\n")).toLocal8Bit()) == path);
    return 0;
}
