// The commands that write: set and import, through one write that refuses what would lose
// settings or could not be stored.

#include "tool.h"

#include "documentcheck.h"
#include "fieldtable.h"
#include "nativepath.h"
#include "prefsreader.h"
#include "prefswriter.h"
#include "regularfile.h"
#include "settingnames.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

#include <cmath>

using namespace Qt::StringLiterals;

namespace Cli {

int Tool::set(const QStringList &assignments)
{
    QMap<int, QString> changes;
    for (const QString &assignment : assignments) {
        const qsizetype equals = assignment.indexOf(u'=');
        if (equals < 0)
            return usage(u"set takes NAME=VALUE, not \"%1\""_s.arg(assignment));
        const int index = Prefs::settingIndex(QStringView(assignment).left(equals));
        if (index < 0)
            return usage(notOneSetting(assignment.left(equals)));
        if (changes.contains(index))
            return usage(u"%1 is set twice"_s.arg(Prefs::settingName(index)));
        changes.insert(index, assignment.mid(equals + 1));
    }
    return write(changes);
}

namespace {

// The member names of the JSON object, decoded, in the order and number the text gives them:
// QJsonDocument keeps only the last of two equal names.
QStringList memberNames(const QByteArray &json)
{
    QStringList names;
    int depth = 0;
    bool nameNext = false;
    for (qsizetype at = 0; at < json.size(); ++at) {
        const char character = json.at(at);
        if (character == '"') {
            qsizetype end = at + 1;
            while (end < json.size() && json.at(end) != '"')
                end += json.at(end) == '\\' ? 2 : 1;
            if (depth == 1 && std::exchange(nameNext, false))
                names << QJsonDocument::fromJson('[' + json.mid(at, end - at + 1) + ']')
                                 .array()
                                 .at(0)
                                 .toString();
            at = end;
        } else if (character == '{' || character == '[') {
            nameNext = ++depth == 1;
        } else if (character == '}' || character == ']') {
            --depth;
        } else if (character == ',') {
            nameNext = depth == 1;
        }
    }
    return names;
}

// The text of a setting that a panel sends as a string, a number or a boolean: a number in its
// shortest decimal form that reads back the same, without an exponent (24, 0.55).
std::optional<QString> settingText(const QJsonValue &value)
{
    if (value.isString())
        return value.toString();
    if (value.isBool())
        return value.toBool() ? u"true"_s : u"false"_s;
    if (value.isDouble() && std::isfinite(value.toDouble()))
        return QString::number(value.toDouble(), 'f', QLocale::FloatingPointShortest);
    return std::nullopt;
}

} // namespace

int Tool::importJson(const QString &source)
{
    QByteArray bytes;
    if (source == u"-"_s) {
        bytes = m_in.readAll();
    } else {
        QFile file(source);
        if (const QString reason = Platform::openRegularFile(file, QIODevice::ReadOnly);
            !reason.isEmpty())
            return failure(u"Cannot open \"%1\": %2."_s.arg(Platform::displayName(source), reason));
        bytes = file.readAll();
    }
    const QString name = source == u"-"_s ? u"standard input"_s : Platform::displayName(source);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        return failure(u"%1 is no JSON: %2 at byte %3."_s.arg(name, error.errorString())
                               .arg(error.offset));
    if (!document.isObject())
        return failure(u"%1 holds no JSON object of settings."_s.arg(name));
    QMap<int, QString> keys;
    for (const QString &key : memberNames(bytes)) {
        const int index = Prefs::settingIndex(key);
        if (index < 0)
            return usage(u"%1 names no setting \"%2\""_s.arg(name, key)
                         + (Prefs::settingIndexes(key).isEmpty() ? QString()
                                                                 : u": "_s + notOneSetting(key)));
        if (keys.contains(index))
            return failure(u"%1 names %2 twice, as \"%3\" and \"%4\"."_s.arg(
                    name, Prefs::settingName(index), keys[index], key));
        keys.insert(index, key);
    }
    QMap<int, QString> changes;
    const QJsonObject object = document.object();
    for (auto entry = object.begin(); entry != object.end(); ++entry) {
        const std::optional<QString> value = settingText(entry.value());
        if (!value)
            return failure(u"In %1, the value of \"%2\" is %3; give it as a string."_s.arg(
                    name, entry.key(),
                    entry.value().isNull()    ? u"null"_s
                    : entry.value().isArray() ? u"an array"_s
                    : entry.value().isObject()
                            ? u"an object"_s
                            : u"%1, which is no finite number"_s.arg(entry.value().toDouble())));
        changes.insert(Prefs::settingIndex(entry.key()), *value);
    }
    return write(changes);
}

int Tool::write(const QMap<int, QString> &changes)
{
    // Under the lock no writer of Tolvane's comes in between, but a program that takes no lock
    // may: the write starts again from what it wrote.
    const int attempts = 4;
    QString name;
    for (int attempt = 1; attempt <= attempts; ++attempt) {
        Prefs::DocumentRead read;
        const std::optional<QString> file = readLocked(Platform::FileLock::Kind::Exclusive, read);
        if (!file)
            return Failure;
        name = *file;
        const QStringList &values = read.record.values; // what a forced save keeps
        QStringList changed = values;
        for (auto change = changes.cbegin(); change != changes.cend(); ++change)
            changed[change.key()] = change.value();
        if (const int refused = refuseLosses(*file, read.findings); refused != Success)
            return refused;
        if (m_parser.isSet(m_dryRun))
            return preview(values, changed);
        Prefs::DocumentRead now;
        if (const Result opened = Prefs::readDocument(*file, now);
            !opened.ok() || !now.record.sameContent(read.record))
            continue;
        const Result written = Prefs::writeDocument(*file, changed); // checks what it stores
        return written.ok() ? Success : failure(written.message);
    }
    return failure(u"\"%1\" kept changing while it was read; nothing was written."_s.arg(
            Platform::displayName(name)));
}

int Tool::refuseLosses(const QString &file, const QList<Prefs::Finding> &findings)
{
    const QStringList losses = Prefs::losses(findings);
    if (losses.isEmpty())
        return Success;
    if (m_parser.isSet(m_force)) {
        if (m_parser.isSet(m_dryRun)) { // what the forced write overrides
            m_out << "--force would write over what a save loses, changes or moves:\n";
            for (const QString &loss : losses)
                m_out << "  " << loss << '\n';
        }
        return Success;
    }
    m_err << "tolvane-cli: nothing was written to \"" << Platform::displayName(file)
          << "\": a save would lose, change or move settings there.\n";
    for (const Prefs::Finding &finding : std::as_const(findings))
        m_err << "  " << finding.text << '\n';
    m_err << "Give --force to write all the same.\n";
    return Failure;
}

int Tool::preview(const QStringList &values, const QStringList &changed)
{
    if (const Result refused = Prefs::checkStorable(changed); !refused.ok())
        return failure(refused.message);
    for (int index = 0; index < Prefs::FieldCount; ++index) {
        if (changed[index] != values[index])
            m_out << Prefs::settingName(index) << ": " << Prefs::quoted(values[index]) << " -> "
                  << Prefs::quoted(changed[index]) << '\n';
    }
    if (changed == values)
        m_out << "No setting would change.\n";
    return Success;
}

} // namespace Cli
