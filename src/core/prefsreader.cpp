#include "prefsreader.h"

#include "codepage.h"
#include "fieldtable.h"
#include "linereader.h"
#include "nativepath.h"
#include "regularfile.h"

#include <QFile>

namespace Prefs {

QString ExtractValue(QStringView line)
{
    const qsizetype quote = line.indexOf(u'"');
    const QStringView rest = quote < 0 ? line : line.mid(quote + 1);
    if (rest.size() <= 2)
        return {};
    return rest.chopped(2).toString();
}

Result lineFailure(Platform::LineReader::Status status, int line, const QString &name,
                   const QIODevice &device)
{
    using Status = Platform::LineReader::Status;
    switch (status) {
    case Status::Line:
        return {};
    case Status::EndOfFile:
        return {QStringLiteral("\"%1\" ends after line %2; %3 lines are needed.")
                        .arg(name)
                        .arg(line - 1)
                        .arg(FieldCount)};
    case Status::TooLong:
        return {QStringLiteral("Line %1 of \"%2\" is longer than %3 characters.")
                        .arg(line)
                        .arg(name)
                        .arg(LongestLine)};
    case Status::ReadError:
        break;
    }
    return {QStringLiteral("Cannot read line %1 of \"%2\": %3.")
                    .arg(line)
                    .arg(name, device.errorString())};
}

Result valueFailure(const QString &value, int line, const QString &name)
{
    if (value.size() <= FieldLimit)
        return {};
    return {QStringLiteral("Line %1 of \"%2\" holds a value longer than %3 characters, more "
                           "than a field can hold.")
                    .arg(line)
                    .arg(name)
                    .arg(FieldLimit)};
}

Result loadPositional(const QString &nativeName, const FieldSetter &setField)
{
    QFile file(nativeName);
    if (const QString reason = Platform::openRegularFile(file, QIODevice::ReadOnly);
        !reason.isEmpty())
        return {QStringLiteral("Cannot open \"%1\": %2.")
                        .arg(Platform::displayName(nativeName), reason)};
    return loadPositional(file, Platform::displayName(nativeName), setField);
}

Result loadPositional(QIODevice &device, const QString &name, const FieldSetter &setField)
{
    Platform::LineReader reader(device);
    QByteArray bytes;
    for (int index = 0; index < FieldCount; ++index) {
        const int line = index + 1;
        if (Result failed = lineFailure(reader.readLine(bytes, LongestLine), line, name, device);
            !failed.ok())
            return failed;
        const QString value = ExtractValue(Platform::decodeDocumentText(bytes));
        if (Result failed = valueFailure(value, line, name); !failed.ok())
            return failed;
        setField(index, value);
    }
    return {};
}

} // namespace Prefs
