// The commands that write: set and import, through the one save of the document engine, which
// refuses what cannot be stored and what needs --force.

#include "tool.h"

#include "fieldtable.h"
#include "nativepath.h"
#include "plaintext.h"
#include "regularfile.h"
#include "settingnames.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

#include <cmath>

using namespace Qt::StringLiterals;

namespace Cli {

int Tool::change(const QString &name, const QString &value, const Prefs::Document &document,
                 Prefs::SaveRequest &request)
{
    QString refusal;
    const std::optional<Named> setting = named(name, document, m_parser.isSet(m_add), refusal);
    if (!setting)
        return usage(refusal);
    const bool twice = setting->index >= 0
                               ? request.settings.contains(setting->index)
                               : std::any_of(request.others.cbegin(), request.others.cend(),
                                             [&](const Prefs::OtherEdit &other) {
                                                 return other.name.compare(setting->other,
                                                                           Qt::CaseInsensitive)
                                                        == 0;
                                             });
    const QString variable
            = setting->index >= 0 ? Prefs::settingName(setting->index) : setting->other;
    if (twice)
        return usage(u"%1 is set twice"_s.arg(variable));
    if (setting->index >= 0)
        request.settings.insert(setting->index, given(value));
    else
        request.others.append({setting->other, given(value)});
    return Success;
}

QString Tool::given(const QString &value) const
{
    return m_parser.isSet(m_plain) ? Prefs::scriptText(value) : value;
}

int Tool::set(const QStringList &assignments)
{
    Prefs::SaveRequest request;
    for (const QString &assignment : assignments) {
        const QString name = assignment.section(u'=', 0, 0);
        if (!assignment.contains(u'=') || name != name.trimmed())
            return usage(u"set takes NAME=VALUE, with no blank around the name, not \"%1\""_s.arg(
                    assignment));
    }
    const std::optional<Prefs::Document> document = readFile(request.nativeName, true);
    if (!document)
        return m_stopped;
    for (const QString &assignment : assignments) {
        const qsizetype equals = assignment.indexOf(u'=');
        if (const int refused
            = change(assignment.left(equals), assignment.mid(equals + 1), *document, request))
            return refused;
    }
    return write(request);
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
        // A named pipe or a device, such as /dev/stdin, is read as standard input is: the
        // wait for its writer is what the caller asked for.
        const QFileInfo info(source);
        const bool stream = info.exists() && !info.isFile() && !info.isDir();
        const QString reason
                = stream ? (file.open(QIODevice::ReadOnly) ? QString() : file.errorString())
                         : Platform::openRegularFile(file, QIODevice::ReadOnly);
        if (!reason.isEmpty())
            return trouble(u"Cannot open \"%1\": %2."_s.arg(Platform::displayName(source), reason));
        bytes = file.readAll();
    }
    const QString name = source == u"-"_s ? u"standard input"_s : Platform::displayName(source);
    if (bytes.isEmpty())
        return usage(u"%1 is empty: give a JSON object of settings"_s.arg(name));
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        return usage(
                u"%1 is no JSON: %2 at byte %3"_s.arg(name, error.errorString()).arg(error.offset));
    if (!json.isObject())
        return usage(u"%1 holds no JSON object of settings"_s.arg(name));
    Prefs::SaveRequest request;
    const std::optional<Prefs::Document> document = readFile(request.nativeName, true);
    if (!document)
        return m_stopped;
    QMap<QString, QString> keys; // each key's setting, by the name it is set under
    for (const QString &key : memberNames(bytes)) {
        Prefs::SaveRequest probe;
        if (const int refused = change(key, {}, *document, probe))
            return refused;
        const QString variable = probe.settings.isEmpty()
                                         ? probe.others.first().name
                                         : Prefs::settingName(probe.settings.firstKey());
        if (keys.contains(variable.toCaseFolded()))
            return failure(u"%1 names %2 twice, as \"%3\" and \"%4\"."_s.arg(
                    name, variable, keys[variable.toCaseFolded()], key));
        keys.insert(variable.toCaseFolded(), key);
    }
    const QJsonObject object = json.object();
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
        if (const int refused = change(entry.key(), *value, *document, request))
            return refused;
    }
    return write(request);
}

int Tool::write(Prefs::SaveRequest &request)
{
    request.force = m_parser.isSet(m_force);
    request.dryRun = m_parser.isSet(m_dryRun);
    const Prefs::SaveOutcome outcome = Prefs::save(request);
    const QString file = Platform::displayName(request.nativeName);
    using Status = Prefs::SaveOutcome::Status;
    switch (outcome.status) {
    case Status::NeedsConsent:
        m_err << "tolvane-cli: nothing was written to \"" << file
              << "\": a save would write values that the file does not give.\n";
        for (const QString &text : outcome.consent)
            m_err << "  " << text << '\n';
        m_err << "Give --force to write all the same.\n";
        return Failure;
    case Status::Previewed:
        preview(outcome);
        return Success;
    case Status::Written:
        for (const QString &added : outcome.addedOthers)
            m_err << "tolvane-cli: added $" << added << '\n';
        return Success;
    case Status::Refused:
        break;
    case Status::Busy:
    case Status::Failed:
        return trouble(outcome.result.message);
    }
    return failure(outcome.result.message);
}

void Tool::preview(const Prefs::SaveOutcome &outcome)
{
    if (!outcome.consent.isEmpty()) { // what the forced write overrides
        m_out << "--force would write over what the file does not give:\n";
        for (const QString &text : outcome.consent)
            m_out << "  " << text << '\n';
    }
    bool any = false;
    for (int index = 0; index < Prefs::FieldCount; ++index) {
        if (outcome.values[index] == outcome.previous[index])
            continue;
        m_out << Prefs::settingName(index) << ": " << Prefs::quoted(outcome.previous[index])
              << " -> " << Prefs::quoted(outcome.values[index]) << '\n';
        any = true;
    }
    const QList<Prefs::OtherSetting> before = outcome.before.otherSettings();
    for (const Prefs::OtherSetting &other : outcome.after.otherSettings()) {
        const auto old = std::find_if(before.cbegin(), before.cend(),
                                      [&](const auto &known) { return known.name == other.name; });
        if (old != before.cend() && old->value == other.value)
            continue;
        m_out << other.name << ": "
              << (old == before.cend() ? u"(not set)"_s : Prefs::quoted(old->value)) << " -> "
              << Prefs::quoted(other.value) << '\n';
        any = true;
    }
    if (!any)
        m_out << "No setting would change.\n";
}

} // namespace Cli
