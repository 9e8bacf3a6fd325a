// Any bytes as path.inf: no line, or one line without a line end that is stored and read
// back unchanged. A first line longer than any path is no line.
#include "fuzzsupport.h"
#include "gamedir/pathstore.h"

#include <QBuffer>

static std::optional<QString> read(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return GameDir::readPathStore(buffer);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = fuzzBytes(data, size);
    const std::optional<QString> path = read(input);
    qsizetype firstLine = 0;
    while (firstLine < input.size() && input[firstLine] != '\r' && input[firstLine] != '\n')
        ++firstLine;
    FUZZ_CHECK(path.has_value() == (!input.isEmpty() && firstLine <= GameDir::LongestPath));
    if (!path)
        return 0;
    FUZZ_CHECK(!path->contains(u'\r') && !path->contains(u'\n'));
    FUZZ_CHECK(read((*path + QLatin1StringView("\r\n")).toLocal8Bit()) == path);
    return 0;
}
