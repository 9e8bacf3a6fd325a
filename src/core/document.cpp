#include "document.h"

#include "codepage.h"
#include "filelock.h"
#include "linereader.h"
#include "nativepath.h"
#include "regularfile.h"
#include "savefile.h"
#include "settingnames.h"

#include <QBuffer>
#include <QFile>
#include <QHash>

using namespace Qt::StringLiterals;

namespace Prefs {

namespace {

const QByteArray &byteOrderMark()
{
    static const QByteArray mark("\xEF\xBB\xBF");
    return mark;
}

// The one of the 54 whose variable is this name, without regard to case; or -1.
int settingOfVariable(const QString &name)
{
    static const QHash<QString, int> settings = [] {
        QHash<QString, int> byName;
        for (int index = 0; index < FieldCount; ++index)
            byName.insert(settingName(index).toCaseFolded(), index);
        return byName;
    }();
    return settings.value(name.toCaseFolded(), -1);
}

} // namespace

Document Document::parse(const QByteArray &bytes)
{
    Document document;
    QByteArray content = bytes;
    document.m_byteOrderMark = content.startsWith(byteOrderMark());
    if (document.m_byteOrderMark)
        content.remove(0, byteOrderMark().size());
    QBuffer buffer(&content);
    buffer.open(QIODevice::ReadOnly);
    Prefs::LineReader reader(buffer);
    QByteArray line;
    while (reader.readLine(line, content.size()) == Prefs::LineReader::Status::Line) {
        static constexpr Ending ends[] = {Ending::CrLf, Ending::Cr, Ending::Lf, Ending::None};
        DocumentLine &added = document.m_lines.emplace_back();
        added.bytes = line;
        added.end = ends[int(reader.lineEnd())];
        added.assignment = readAssignment(Platform::decodeDocumentText(line));
        if (added.assignment.kind != Assignment::Kind::None)
            added.setting = settingOfVariable(added.assignment.name);
    }
    if (!document.m_lines.isEmpty() && document.m_lines.last().bytes.isEmpty()) {
        document.m_endMark = true;
        document.m_endMarkEnd = document.m_lines.takeLast().end;
    }
    document.index();
    return document;
}

void Document::index()
{
    m_lastLine.fill(0);
    for (qsizetype at = 0; at < m_lines.size(); ++at) {
        if (m_lines.at(at).setting >= 0)
            m_lastLine[m_lines.at(at).setting] = int(at + 1);
    }
}

SettingValue Document::setting(int index) const
{
    const int line = m_lastLine[index];
    if (line == 0)
        return {};
    const Assignment &assignment = m_lines.at(line - 1).assignment;
    return {assignment.kind == Assignment::Kind::Valid ? SettingValue::State::Set
                                                       : SettingValue::State::Broken,
            assignment.value, line};
}

bool Document::namesAnySetting() const
{
    return std::any_of(m_lastLine.cbegin(), m_lastLine.cend(), [](int line) { return line > 0; });
}

QStringList Document::values() const
{
    QStringList values;
    for (int index = 0; index < FieldCount; ++index)
        values << fieldText(index);
    return values;
}

QList<OtherSetting> Document::otherSettings() const
{
    QList<OtherSetting> settings;
    QHash<QString, qsizetype> byName; // where each variable is in settings, by its folded name
    for (qsizetype at = 0; at < m_lines.size(); ++at) {
        const DocumentLine &line = m_lines.at(at);
        if (line.setting >= 0 || line.assignment.kind != Assignment::Kind::Valid)
            continue;
        const QString folded = line.assignment.name.toCaseFolded();
        if (!byName.contains(folded)) {
            byName.insert(folded, settings.size());
            settings.append({line.assignment.name, {}, {}});
        }
        OtherSetting &setting = settings[byName.value(folded)];
        setting.value = line.assignment.value;
        setting.lines << int(at + 1);
    }
    return settings;
}

void Document::removeOtherSetting(const QString &name)
{
    m_lines.removeIf([&name](const DocumentLine &line) {
        return line.setting < 0 && line.assignment.kind == Assignment::Kind::Valid
               && line.assignment.name.compare(name, Qt::CaseInsensitive) == 0;
    });
    index();
}

std::optional<QString> Document::otherSetting(const QString &name) const
{
    for (const OtherSetting &other : otherSettings()) {
        if (other.name.compare(name, Qt::CaseInsensitive) == 0)
            return other.value;
    }
    return std::nullopt;
}

void Document::setOtherSetting(const QString &name, const QString &value)
{
    const QByteArray quoted = *Platform::encodeDocumentText(u'"' + value + u"\";"_s);
    bool found = false;
    for (DocumentLine &line : m_lines) {
        if (line.setting >= 0 || line.assignment.kind != Assignment::Kind::Valid
            || line.assignment.name.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        // The line's own "$Name =" and blanks, then the new value, then its comment.
        qsizetype valueStart = line.bytes.indexOf('=') + 1;
        while (valueStart < line.bytes.size()
               && (line.bytes.at(valueStart) == ' ' || line.bytes.at(valueStart) == '\t'))
            ++valueStart;
        line.bytes = line.bytes.left(valueStart) + quoted
                     + Platform::encodeDocumentText(line.assignment.trailer).value_or(QByteArray());
        line.assignment = readAssignment(Platform::decodeDocumentText(line.bytes));
        found = true;
    }
    if (found)
        return;
    DocumentLine &added = m_lines.emplace_back();
    added.bytes
            = Platform::encodeDocumentText(u'$' + name + u" = "_s).value_or(QByteArray()) + quoted;
    added.assignment = readAssignment(Platform::decodeDocumentText(added.bytes));
}

std::optional<QByteArray> Document::format(const QStringList &values) const
{
    Q_ASSERT(values.size() == FieldCount);
    QByteArray bytes;
    for (int index = 0; index < FieldCount; ++index) {
        QString line = QLatin1StringView(FieldTable[index].tag) + values.at(index) + u"\";"_s;
        const SettingValue current = setting(index);
        if (current.state == SettingValue::State::Set) {
            const QString &trailer = m_lines.at(current.line - 1).assignment.trailer;
            if (trailer.contains(u"//"_s))
                line += trailer;
        }
        const std::optional<QByteArray> encoded = Platform::encodeDocumentText(line);
        if (!encoded)
            return std::nullopt;
        bytes += *encoded + "\r\n";
    }
    for (const DocumentLine &line : m_lines) {
        if (line.setting < 0)
            bytes += line.bytes + "\r\n";
    }
    return bytes + "\r\n";
}

Result readDocumentBytes(const QString &nativeName, QByteArray &bytes)
{
    QFile file(nativeName);
    const QString name = Platform::displayName(nativeName);
    if (const QString reason = Platform::openRegularFile(file, QIODevice::ReadOnly);
        !reason.isEmpty())
        return {u"Cannot open \"%1\": %2."_s.arg(name, reason)
                + Platform::longPathNote(nativeName)};
    if (file.size() > SizeLimit)
        return {u"\"%1\" is %2 bytes, more than the %3 a preferences file can hold; it was not "
                "read."_s.arg(name)
                        .arg(file.size())
                        .arg(SizeLimit)};
    // One byte more than the limit tells a file that grew while it was read.
    bytes = file.read(SizeLimit + 1);
    if (file.error() != QFileDevice::NoError)
        return {u"Cannot read \"%1\": %2."_s.arg(name, file.errorString())};
    if (bytes.size() > SizeLimit)
        return {u"\"%1\" is more than the %2 bytes a preferences file can hold; it was not "
                "read."_s.arg(name)
                        .arg(SizeLimit)};
    return {};
}

Result readDocument(const QString &nativeName, Document &document)
{
    QByteArray bytes;
    const Result read = readDocumentBytes(nativeName, bytes);
    if (read.ok())
        document = Document::parse(bytes);
    return read;
}

Result readDocumentShared(const QString &nativeName, Document &document, QString *lockUnsupported,
                          bool beforeWrite)
{
    const Platform::FileLock lock(nativeName, Platform::FileLock::Kind::Shared);
    if (lock.state() == Platform::FileLock::State::Busy)
        return Platform::lockBusy(nativeName, !beforeWrite);
    if (lockUnsupported)
        *lockUnsupported = lock.state() == Platform::FileLock::State::Unsupported
                                   ? lock.unsupportedReason()
                                   : QString();
    return readDocument(nativeName, document);
}

Result requirePrefsFile(const QString &nativeName, const Document &document)
{
    if (document.namesAnySetting())
        return {};
    return {u"\"%1\" sets none of the %2 settings, so it is no preferences file."_s
                    .arg(Platform::displayName(nativeName))
                    .arg(FieldCount)};
}

Result readPrefsFile(const QString &nativeName, Document &document)
{
    const Result read = readDocumentShared(nativeName, document);
    return read.ok() ? requirePrefsFile(nativeName, document) : read;
}

} // namespace Prefs
