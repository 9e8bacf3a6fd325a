// Any bytes as a preferences file and as path.inf (libFuzzer, clang), each with a property
// that must hold: whatever a save writes of a file reads back as the same values and the same
// other lines, and writing that again gives the same bytes; a line of path.inf that can be
// stored is read back as it was.
#include "document.h"
#include "pathstore.h"
#include "prefswriter.h"

#include <QtCore>

#include <cstdio>

// A property that does not hold is a finding, like a crash.
#define FUZZ_CHECK(condition)                                                                      \
    ((condition) ? void() : (std::fprintf(stderr, "failed: %s\n", #condition), std::abort()))

static std::optional<QString> readPathStore(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return GameDir::readPathStore(buffer, nullptr);
}

// The lines that are none of the 54, as the file held them.
static QList<QByteArray> otherLines(const Prefs::Document &document)
{
    QList<QByteArray> lines;
    for (const Prefs::DocumentLine &line : document.lines()) {
        if (line.setting < 0)
            lines << line.bytes;
    }
    return lines;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    // What a forced save writes: the values shown, a broken line's text among them.
    const Prefs::Document read = Prefs::Document::parse(input);
    const QStringList values = read.values();
    if (Prefs::checkStorable(values).ok()) {
        const std::optional<QByteArray> written = read.format(values);
        FUZZ_CHECK(written.has_value());
        const Prefs::Document again = Prefs::Document::parse(*written);
        FUZZ_CHECK(again.values() == values);
        FUZZ_CHECK(otherLines(again) == otherLines(read));
        FUZZ_CHECK(again.format(again.values()) == written);
    }
    // Without a byte-order mark, a first line of bytes is a path unless it is too long or holds
    // a NUL (UTF-16 without its mark).
    const QByteArray firstLine = input.split('\n').first().split('\r').first();
    const std::optional<QString> path = readPathStore(input);
    FUZZ_CHECK(!path || !input.isEmpty());
    const bool marked = input.startsWith("\xEF\xBB\xBF") || input.startsWith("\xFF\xFE")
                        || input.startsWith("\xFE\xFF");
    if (!marked && !firstLine.contains('\0'))
        FUZZ_CHECK(path.has_value()
                   == (!input.isEmpty() && firstLine.size() <= GameDir::LongestPath));
    if (path && GameDir::checkStorablePath(*path).ok() && !path->startsWith(QChar(0xFEFF)))
        FUZZ_CHECK(readPathStore((*path + QLatin1StringView("\r\n")).toLocal8Bit()) == path);
    return 0;
}
