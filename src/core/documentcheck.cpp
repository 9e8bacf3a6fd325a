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

// "1 to 3, 5 and 7 to 55" of line numbers in order.
QString ranges(const QList<int> &numbers)
{
    QStringList parts;
    for (qsizetype first = 0, last = 0; first < numbers.size(); first = last + 1) {
        for (last = first; last + 1 < numbers.size() && numbers[last + 1] == numbers[last] + 1;)
            ++last;
        parts << (first == last
                          ? QString::number(numbers[first])
                          : QStringLiteral("%1 to %2").arg(numbers[first]).arg(numbers[last]));
    }
    const QString end = parts.takeLast();
    return parts.isEmpty() ? end : parts.join(QStringLiteral(", ")) + QStringLiteral(" and ") + end;
}

// One finding a kind of line end that a save writes otherwise, for all the lines that have it.
void checkEndings(const QMap<Ending, QList<int>> &endings, QList<Finding> &findings)
{
    for (auto kind = endings.cbegin(); kind != endings.cend(); ++kind) {
        const char *ending = kind.key() == Ending::Lf   ? "LF"
                             : kind.key() == Ending::Cr ? "CR"
                                                        : "no line end";
        const QList<int> &lines = kind.value();
        findings.append(
                {lines.first(),
                 QStringLiteral("%1 %2 %3 in %4, which a save writes as CR LF")
                         .arg(lines.size() == 1 ? QStringLiteral("line") : QStringLiteral("lines"),
                              ranges(lines),
                              lines.size() == 1 ? QStringLiteral("ends") : QStringLiteral("end"),
                              QLatin1StringView(ending)),
                 false});
    }
}

// The variable a line sets, as "Server::HostName"; empty when it sets none.
QString variableOf(const QString &text)
{
    if (!text.startsWith(u'$'))
        return {};
    qsizetype nameEnd = 1;
    while (nameEnd < text.size() && text.at(nameEnd) != u' ' && text.at(nameEnd) != u'=')
        ++nameEnd;
    return text.mid(1, nameEnd - 1);
}

// The findings about line number (1..54), which holds text whose value is value.
void checkLine(int number, const QString &text, const QString &value, QList<Finding> &findings)
{
    const int index = number - 1;
    const QString variable = variableOf(text);
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
    if (const QString broken = scriptBreak(value); !broken.isEmpty())
        findings.append({number,
                         QStringLiteral("the game cannot read line %1: %2").arg(number).arg(broken),
                         false});
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
    read.variables = QStringList(FieldCount);
    QFile file(nativeName);
    const QString name = Platform::displayName(nativeName);
    if (const QString reason = Platform::openRegularFile(file, QIODevice::ReadOnly);
        !reason.isEmpty()) {
        record.exists = Platform::unusableNameReason(nativeName).isEmpty()
                        && QFileInfo::exists(nativeName);
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
    QMap<Ending, QList<int>> endings;
    QStringList dropped; // the variables of the lines after the 54th
    for (Status status; (status = reader.readLine(bytes, LongestLine)) != Status::EndOfFile;) {
        ++count;
        const bool tooLong = status == Status::TooLong;
        const QString start = Platform::decodeDocumentText(bytes.left(256)); // names its variable
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
        if (count <= FieldCount)
            read.variables[count - 1] = variableOf(text);
        else if (const QString variable = variableOf(start); !variable.isEmpty())
            dropped << u'$' + variable;
        emptyAfterLast = count == FieldCount + 1 && bytes.isEmpty();
        textAfterLast = textAfterLast || (count > FieldCount && !bytes.trimmed().isEmpty());
        if ((count <= FieldCount || emptyAfterLast) && reader.lineEnd() != Ending::CrLf)
            endings[reader.lineEnd()] << count;
    }
    record.digest = digest.result();
    checkEndings(endings, findings);
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
        const qsizetype named = qMin<qsizetype>(dropped.size(), 5);
        const QString variables
                = dropped.isEmpty()
                          ? QString()
                          : QStringLiteral(" (%1%2)").arg(
                                  dropped.mid(0, named).join(QStringLiteral(", ")),
                                  dropped.size() > named ? QStringLiteral(", ...") : QString());
        findings.append(
                {FieldCount + 1,
                 (count == FieldCount + 1
                          ? QStringLiteral("line 55 follows the 54th setting: a save drops it")
                          : QStringLiteral("lines 55 to %1 follow the 54th setting: a save "
                                           "drops them")
                                    .arg(count))
                         + variables,
                 textAfterLast});
    }
    return {};
}

QStringList losses(const QList<Finding> &findings)
{
    QStringList texts;
    for (const Finding &finding : findings) {
        if (finding.losesSettings)
            texts << finding.text;
    }
    return texts;
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
