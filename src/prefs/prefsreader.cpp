#include "prefsreader.h"

#include "fieldtable.h"
#include "platform/codepage.h"
#include "platform/linereader.h"
#include "platform/nativepath.h"
#include "platform/regularfile.h"

#include <QFile>

namespace Prefs {

namespace {

// Room on a line for the tag in front of the value and the quote and semicolon after it.
const qsizetype lineAllowance = 4096;

} // namespace

QString ExtractValue(QStringView line)
{
    const qsizetype quote = line.indexOf(u'"');
    const QStringView rest = quote < 0 ? line : line.mid(quote + 1);
    if (rest.size() <= 2)
        return {};
    return rest.chopped(2).toString();
}

LoadResult loadPositional(const QString &nativeName,
                          const std::function<void(int index, const QString &value)> &setField)
{
    QFile file(nativeName);
    if (const QString reason = Platform::openRegularFile(file, QIODevice::ReadOnly);
        !reason.isEmpty()) {
        LoadResult result;
        result.error = QStringLiteral("Cannot open \"%1\": %2.")
                               .arg(Platform::displayName(nativeName), reason);
        return result;
    }
    return loadPositional(file, Platform::displayName(nativeName), setField);
}

LoadResult loadPositional(QIODevice &device, const QString &name,
                          const std::function<void(int index, const QString &value)> &setField)
{
    LoadResult result;
    Platform::LineReader reader(device);
    QByteArray bytes;
    for (int index = 0; index < FieldCount; ++index) {
        const int line = index + 1;
        switch (reader.readLine(bytes, FieldLimit + lineAllowance)) {
        case Platform::LineReader::Status::Line:
            break;
        case Platform::LineReader::Status::EndOfFile:
            result.error = QStringLiteral("\"%1\" ends after line %2; %3 lines are needed.")
                                   .arg(name)
                                   .arg(index)
                                   .arg(FieldCount);
            return result;
        case Platform::LineReader::Status::TooLong:
            result.error = QStringLiteral("Line %1 of \"%2\" is longer than %3 characters.")
                                   .arg(line)
                                   .arg(name)
                                   .arg(FieldLimit + lineAllowance);
            return result;
        case Platform::LineReader::Status::ReadError:
            result.error = QStringLiteral("Cannot read line %1 of \"%2\": %3.")
                                   .arg(line)
                                   .arg(name, device.errorString());
            return result;
        }
        const QString value = ExtractValue(Platform::decodeDocumentText(bytes));
        if (value.size() > FieldLimit) {
            result.error = QStringLiteral("Line %1 of \"%2\" holds a value longer than %3 "
                                          "characters, more than a field can hold.")
                                   .arg(line)
                                   .arg(name)
                                   .arg(FieldLimit);
            return result;
        }
        setField(index, value);
        result.linesRead = line;
    }
    return result;
}

} // namespace Prefs
