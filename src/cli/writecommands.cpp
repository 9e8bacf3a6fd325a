// The commands that write: set and import, through the one save of the document engine, which
// refuses what cannot be stored and what needs --force.

#include "tool.h"

#include "fieldtable.h"
#include "jsoninput.h"
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

// The bytes of a device to its end; nothing when there are more than JSON of settings needs.
std::optional<QByteArray> readJson(QIODevice &device)
{
    QByteArray bytes;
    for (;;) {
        const QByteArray chunk = device.read(64 * 1024);
        if (chunk.isEmpty())
            return bytes;
        bytes += chunk;
        if (bytes.size() > JsonSizeLimit)
            return std::nullopt;
    }
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
    std::optional<QByteArray> read;
    if (source == u"-"_s) {
        read = readJson(m_in);
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
        read = readJson(file);
    }
    const QString name = source == u"-"_s ? u"standard input"_s : Platform::displayName(source);
    if (!read)
        return trouble(
                u"%1 is larger than %2 MiB, more than any JSON of settings can be."_s.arg(name).arg(
                        JsonSizeLimit / 1024 / 1024));
    if (read->isEmpty())
        return usage(u"%1 is empty: give a JSON object of settings"_s.arg(name));
    QString refusal;
    const std::optional<QByteArray> text = jsonText(*read, refusal);
    if (!text)
        return usage(name + u' ' + refusal);
    const QByteArray &bytes = *text;
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
    QMap<QString, QString> settings; // each key's setting, by the name it is set under
    const QList<std::pair<QString, QString>> keys = members(bytes);
    for (const auto &[key, literal] : keys) {
        Prefs::SaveRequest probe;
        if (const int refused = change(key, {}, *document, probe))
            return refused;
        const QString variable = probe.settings.isEmpty()
                                         ? probe.others.first().name
                                         : Prefs::settingName(probe.settings.firstKey());
        if (settings.contains(variable.toCaseFolded()))
            return failure(u"%1 names %2 twice, as \"%3\" and \"%4\"."_s.arg(
                    name, variable, settings[variable.toCaseFolded()], key));
        settings.insert(variable.toCaseFolded(), key);
        // A number a double cannot hold exactly would be stored as another.
        const QJsonValue value = json.object().value(key);
        if (const std::optional<QString> text = settingText(value);
            value.isDouble() && text && !sameNumber(literal, *text))
            return failure(u"In %1, the value of \"%2\" is %3, which would be stored as %4; give "
                           "it as a string."_s.arg(name, key, literal, *text));
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
        if (!outcome.result.notice.isEmpty())
            m_err << "tolvane-cli: " << outcome.result.notice << '\n';
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
