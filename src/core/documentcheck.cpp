#include "documentcheck.h"

#include "codepage.h"
#include "fieldtable.h"
#include "linereader.h"
#include "nativepath.h"
#include "prefsreader.h"
#include "prefswriter.h"
#include "regularfile.h"
#include "settingnames.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace Prefs {

namespace {

using Ending = Platform::LineReader::LineEnd;

void checkEnding(int number, Ending end, QList<Finding> &findings)
{
    if (end == Ending::CrLf)
        return;
    const char *ending = end == Ending::Lf ? "LF" : end == Ending::Cr ? "CR" : "no line end";
    findings.append({number,
                     QStringLiteral("line %1 ends in %2, which a save writes as CR LF")
                             .arg(number)
                             .arg(QLatin1StringView(ending)),
                     false});
}

// The findings about line number (1..54), which holds text whose value is value.
void checkLine(int number, const QString &text, const QString &value, QList<Finding> &findings)
{
    const int index = number - 1;
    qsizetype nameEnd = 1;
    while (nameEnd < text.size() && text.at(nameEnd) != u' ' && text.at(nameEnd) != u'=')
        ++nameEnd;
    const QString variable = text.startsWith(u'$') ? text.mid(1, nameEnd - 1) : QString();
    const QString written = QLatin1StringView(FieldTable[index].tag) + value + LineEnd;
    // A value stands between the line's first quote and a closing quote and semicolon at its
    // end; else what a save writes holds other text than the game reads.
    const qsizetype quote = text.indexOf(u'"');
    const bool valueKept = quote >= 0 && quote < text.size() - 2 && text.endsWith(u"\";");
    if (variable.compare(settingName(index), Qt::CaseInsensitive) != 0) {
        findings.append({number,
                         QStringLiteral("line %1 %2, but a save writes %3 in its place")
                                 .arg(number)
                                 .arg(variable.isEmpty() ? QStringLiteral("sets no variable")
                                                         : QStringLiteral("sets ") + variable,
                                      settingName(index)),
                         true});
    } else if (text + QLatin1StringView("\r\n") != written) {
        findings.append({number,
                         QStringLiteral("line %1 is %2, which a save writes as %3")
                                 .arg(number)
                                 .arg(quoted(text), quoted(written.chopped(2))),
                         !valueKept});
    }
}

} // namespace

// The file's identity, size and modification time, as the open file says.
static void recordFileStatus(const QFile &file, FileRecord &record)
{
    const QFileInfo info(file.fileName());
    record.size = info.size();
    record.modified = info.lastModified();
#ifdef Q_OS_UNIX
    struct stat status = {};
    if (::fstat(file.handle(), &status) != 0)
        return;
    record.identity = QByteArray::number(quint64(status.st_dev)) + ':'
                      + QByteArray::number(quint64(status.st_ino));
    record.size = status.st_size;
    record.modified = QDateTime::fromMSecsSinceEpoch(qint64(status.st_mtim.tv_sec) * 1000
                                                     + status.st_mtim.tv_nsec / 1000000);
#endif
}

Result readDocument(const QString &nativeName, DocumentRead &read)
{
    using Status = Platform::LineReader::Status;
    read = {};
    FileRecord &record = read.record;
    record.values = QStringList(FieldCount);
    QFile file(nativeName);
    const QString name = Platform::displayName(nativeName);
    if (const QString reason = Platform::openRegularFile(file, QIODevice::ReadOnly);
        !reason.isEmpty()) {
        record.exists = QFileInfo::exists(nativeName);
        return read.loaded = {QStringLiteral("Cannot open \"%1\": %2.").arg(name, reason)};
    }
    record.exists = true;
    recordFileStatus(file, record);
    QCryptographicHash digest(QCryptographicHash::Sha256);
    Platform::LineReader reader(file, &digest);
    QByteArray bytes;
    QList<Finding> &findings = read.findings;
    int count = 0;
    bool emptyAfterLast = false; // line 55 is empty, as a save writes it
    bool textAfterLast = false;  // a line after the 54th holds more than blanks
    bool positional = true;      // the window's load has not failed yet
    for (Status status; (status = reader.readLine(bytes, LongestLine)) != Status::EndOfFile;) {
        ++count;
        const bool tooLong = status == Status::TooLong;
        // The rest of an over-long line is not kept, but any text in any part of it counts.
        for (; status == Status::TooLong; status = reader.readLine(bytes, LongestLine))
            textAfterLast = textAfterLast || (count > FieldCount && !bytes.trimmed().isEmpty());
        if (status == Status::ReadError)
            return read.loaded
                   = {QStringLiteral("Cannot read \"%1\": %2.").arg(name, file.errorString())};
        const QString text = Platform::decodeDocumentText(bytes);
        const QString value = ExtractValue(text);
        if (count <= FieldCount && positional) {
            read.loaded = tooLong ? lineFailure(Status::TooLong, count, name, file)
                                  : valueFailure(value, count, name);
            positional = read.loaded.ok();
            read.valuesRead += positional ? 1 : 0;
        }
        if (count <= FieldCount && (tooLong || value.size() > FieldLimit))
            findings.append({count,
                             QStringLiteral("line %1 holds a value longer than %2 characters, more "
                                            "than a field holds")
                                     .arg(count)
                                     .arg(FieldLimit),
                             true});
        else if (count <= FieldCount)
            checkLine(count, text, record.values[count - 1] = value, findings);
        emptyAfterLast = count == FieldCount + 1 && bytes.isEmpty();
        textAfterLast = textAfterLast || (count > FieldCount && !bytes.trimmed().isEmpty());
        if (count <= FieldCount || emptyAfterLast)
            checkEnding(count, reader.lineEnd(), findings);
    }
    record.digest = digest.result();
    if (count < FieldCount) {
        if (positional)
            read.loaded = lineFailure(Status::EndOfFile, count + 1, name, file);
        findings.append({0,
                         QStringLiteral("the file ends after line %1: a save writes %2 lines, the "
                                        "settings it lacks empty")
                                 .arg(count)
                                 .arg(FieldCount),
                         true});
    } else if (count == FieldCount) {
        findings.append(
                {0, QStringLiteral("no empty line follows the 54th: a save adds one"), false});
    } else if (!emptyAfterLast) {
        findings.append(
                {FieldCount + 1,
                 count == FieldCount + 1
                         ? QStringLiteral("line 55 follows the 54th setting: a save drops it")
                         : QStringLiteral("lines 55 to %1 follow the 54th setting: a save "
                                          "drops them")
                                   .arg(count),
                 textAfterLast});
    }
    return {};
}

QStringList differingSettings(const FileRecord &before, const FileRecord &after)
{
    QStringList names;
    for (int index = 0; index < FieldCount; ++index) {
        if (before.values.value(index) != after.values.value(index))
            names << settingName(index);
    }
    return names;
}

} // namespace Prefs
