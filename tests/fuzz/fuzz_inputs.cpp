// Any bytes as a preferences file, as path.inf and as a file name of the program's own form
// (libFuzzer, clang). Each gives a result or a clean failure, and a property that must hold:
// a file's values survive a write and a second read, byte for byte; a line of path.inf that
// can be stored is read back unchanged; a mapped name has "/" as its only separator.
#include "codepage.h"
#include "nativepath.h"
#include "pathstore.h"
#include "prefsreader.h"
#include "prefswriter.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

// A property that does not hold is a finding, like a crash.
#define FUZZ_CHECK(condition)                                                                      \
    ((condition) ? void()                                                                          \
                 : (std::fprintf(stderr, "property failed: %s\n", #condition), std::abort()))

// Loads the bytes; true when all 54 lines were read, and only then.
static bool load(QByteArray bytes, QStringList &values)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    int read = 0;
    const Result result = Prefs::loadPositional(buffer, QStringLiteral("fuzz"),
                                                [&](int index, const QString &value) {
                                                    values[index] = value;
                                                    read = index + 1;
                                                });
    FUZZ_CHECK(result.ok() == (read == 54));
    return result.ok();
}

static std::optional<QString> readPathStore(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return GameDir::readPathStore(buffer);
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Drive letters and relative names land in a sandbox of the run's own.
    static QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    QDir(home.path()).mkpath(QStringLiteral(".wine/dosdevices/c:/Dynamix/Tribes/Config"));
    return QDir::setCurrent(home.path()) ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input
            = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QStringList values(54);
    if (load(input, values)) {
        for (const QString &value : std::as_const(values)) { // each character one input byte
            const std::optional<QByteArray> bytes = Platform::encodeDocumentText(value);
            FUZZ_CHECK(bytes && input.contains(*bytes));
        }
        const std::optional<QByteArray> written = Platform::encodeDocumentText(
                Prefs::formatPrefsText(values) + QLatin1StringView("\r\n"));
        QStringList again(54);
        FUZZ_CHECK(written && load(*written, again) && again == values);
    }

    qsizetype firstLine = 0;
    while (firstLine < input.size() && input[firstLine] != '\r' && input[firstLine] != '\n')
        ++firstLine;
    const std::optional<QString> path = readPathStore(input);
    FUZZ_CHECK(path.has_value() == (!input.isEmpty() && firstLine <= GameDir::LongestPath));
    const bool storable = path && GameDir::checkStorablePath(*path).ok();
    FUZZ_CHECK(!storable
               || readPathStore((*path + QLatin1StringView("\r\n")).toLocal8Bit()) == path);

    const QString native = Platform::nativeFileName(QString::fromUtf8(input.left(512)));
    FUZZ_CHECK(!native.contains(u'\\') && !native.contains(u"//"));
    return 0;
}
