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

#include <QJsonDocument>
#include <QJsonObject>

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
            return usage(
                    u"there is no setting \"%1\" (tolvane-cli list --names names them all)"_s.arg(
                            assignment.left(equals)));
        if (changes.contains(index))
            return usage(u"%1 is set twice"_s.arg(Prefs::settingName(index)));
        changes.insert(index, assignment.mid(equals + 1));
    }
    return write(changes);
}

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
    QMap<int, QString> changes;
    QMap<int, QString> keys;
    const QJsonObject object = document.object();
    for (auto entry = object.begin(); entry != object.end(); ++entry) {
        const int index = Prefs::settingIndex(entry.key());
        if (index < 0)
            return usage(u"%1 names no setting \"%2\""_s.arg(name, entry.key()));
        if (keys.contains(index))
            return failure(u"%1 names %2 twice, as \"%3\" and \"%4\"."_s.arg(
                    name, Prefs::settingName(index), keys[index], entry.key()));
        if (!entry.value().isString())
            return failure(u"In %1, the value of \"%2\" is not a string."_s.arg(name, entry.key()));
        keys.insert(index, entry.key());
        changes.insert(index, entry.value().toString());
    }
    return write(changes);
}

int Tool::write(const QMap<int, QString> &changes)
{
    QList<Prefs::Finding> findings;
    QStringList values; // forced, what a save keeps: a line it drops or cannot hold is empty
    const std::optional<QString> file = checkedFile(findings, values);
    if (!file)
        return Failure;
    const auto loses = [](const Prefs::Finding &finding) {
        return finding.losesSettings;
    };
    if (std::any_of(findings.cbegin(), findings.cend(), loses) && !m_parser.isSet(m_force)) {
        m_err << "tolvane-cli: nothing was written to \"" << Platform::displayName(*file)
              << "\": a save would lose, change or move settings there.\n";
        for (const Prefs::Finding &finding : std::as_const(findings))
            m_err << "  " << finding.text << '\n';
        m_err << "Give --force to write all the same.\n";
        return Failure;
    }
    QStringList changed = values;
    for (auto change = changes.cbegin(); change != changes.cend(); ++change)
        changed[change.key()] = change.value();
    if (!m_parser.isSet(m_dryRun)) {
        const Result written = Prefs::writeDocument(*file, changed); // checks what it stores
        return written.ok() ? Success : failure(written.message);
    }
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
