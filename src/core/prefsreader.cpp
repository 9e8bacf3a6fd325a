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
    using Status = Platform::LineReader::Status;
    Platform::LineReader reader(device);
    QByteArray bytes;
    for (int index = 0; index < FieldCount; ++index) {
        const int line = index + 1;
        switch (reader.readLine(bytes, LongestLine)) {
        case Status::Line:
            break;
        case Status::EndOfFile:
            return {QStringLiteral("\"%1\" ends after line %2; %3 lines are needed.")
                            .arg(name)
                            .arg(index)
                            .arg(FieldCount)};
        case Status::TooLong:
            return {QStringLiteral("Line %1 of \"%2\" is longer than %3 characters.")
                            .arg(line)
                            .arg(name)
                            .arg(LongestLine)};
        case Status::ReadError:
            return {QStringLiteral("Cannot read line %1 of \"%2\": %3.")
                            .arg(line)
                            .arg(name, device.errorString())};
        }
        const QString value = ExtractValue(Platform::decodeDocumentText(bytes));
        if (value.size() > FieldLimit)
            return {QStringLiteral("Line %1 of \"%2\" holds a value longer than %3 characters, "
                                   "more than a field can hold.")
                            .arg(line)
                            .arg(name)
                            .arg(FieldLimit)};
        setField(index, value);
    }
    return {};
}

} // namespace Prefs
