// The commands that only read: list, get, check, export.

#include "tool.h"

#include "documentcheck.h"
#include "fieldtable.h"
#include "nativepath.h"
#include "settingnames.h"

#include <variant>

using namespace Qt::StringLiterals;

namespace Cli {

namespace {

// The file, when it is a preferences file: one that sets any of the 54.
std::optional<Prefs::Document> settingsOf(std::optional<Prefs::Document> document,
                                          const QString &file, QTextStream &err)
{
    if (document && !document->namesAnySetting()) {
        err << "tolvane-cli: \"" << Platform::displayName(file) << "\" sets none of the "
            << Prefs::FieldCount << " settings, so it is no preferences file.\n";
        return std::nullopt;
    }
    return document;
}

} // namespace

int Tool::list()
{
    if (m_parser.isSet(m_names)) { // for scripts: one setting a line, its names
        for (int index = 0; index < Prefs::FieldCount; ++index)
            m_out << Prefs::settingName(index) << '\t' << Prefs::FieldTable[index].name << '\t'
                  << Prefs::fieldCaption(index) << '\n';
        return Success;
    }
    QString file;
    const std::optional<Prefs::Document> document = settingsOf(readFile(file), file, m_err);
    if (!document)
        return Failure;
    for (int index = 0; index < Prefs::FieldCount; ++index) {
        const Prefs::SettingValue value = document->setting(index);
        m_out << Prefs::settingName(index).leftJustified(30) << ' '
              << (value.state == Prefs::SettingValue::State::Set ? Prefs::quoted(value.value)
                  : value.state == Prefs::SettingValue::State::Broken
                          ? u"(cannot read line %1)"_s.arg(value.line)
                          : u"(not set)"_s)
              << '\n';
    }
    for (const Prefs::OtherSetting &other : document->otherSettings())
        m_out << other.name.leftJustified(30) << ' ' << Prefs::quoted(other.value) << '\n';
    return Success;
}

int Tool::get(const QStringList &names)
{
    QString file;
    const std::optional<Prefs::Document> document = settingsOf(readFile(file), file, m_err);
    if (!document)
        return Failure;
    const QList<Prefs::OtherSetting> others = document->otherSettings();
    QList<std::variant<int, QString>> settings; // one of the 54, or another setting's value
    for (const QString &name : names) {
        QString refusal;
        const std::optional<Named> setting = named(name, *document, false, refusal);
        if (!setting)
            return usage(refusal);
        const auto other = std::find_if(others.cbegin(), others.cend(), [&](const auto &known) {
            return known.name == setting->other;
        });
        if (setting->index < 0 && other == others.cend())
            return usage(u"the file has no setting \"%1\""_s.arg(name));
        settings << (setting->index >= 0 ? decltype(settings)::value_type(setting->index)
                                         : other->value);
    }
    int status = Success;
    for (const auto &setting : std::as_const(settings)) {
        const std::optional<QString> value = std::holds_alternative<QString>(setting)
                                                     ? std::get<QString>(setting)
                                                     : valueOf(*document, std::get<int>(setting));
        status = value ? status : Failure;
        if (value)
            m_out << *value << '\n';
    }
    return status;
}

int Tool::check()
{
    QString file;
    const std::optional<Prefs::Document> document = readFile(file);
    if (!document)
        return Failure;
    const QList<Prefs::Finding> findings = Prefs::checkDocument(*document);
    if (!m_pathStore.isEmpty())
        m_out << "path.inf: " << m_pathStore << '\n';
    m_out << "file: " << Platform::displayName(file) << '\n';
    if (const QString prefix = Platform::winePrefix();
        !prefix.isEmpty() && file.startsWith(prefix + u'/'))
        m_out << "wine prefix: " << prefix << '\n';
    if (const QString copy = Platform::virtualStoreCopy(file); !copy.isEmpty())
        m_out << "the game reads \"" << copy
              << "\" instead: Windows keeps that copy for a game under Program Files\n";
    if (m_lockUnsupported)
        m_out << "lock: this file cannot be locked (" << m_lockReason
              << "), so Tolvane's writers cannot take turns on it\n";
    for (const Prefs::Finding &finding : findings)
        m_out << finding.text << '\n';
    if (findings.isEmpty())
        m_out << "Nothing to report: a save writes the file back as it is.\n";
    return findings.isEmpty() ? Success : Failure;
}

int Tool::exportJson()
{
    QString file;
    const std::optional<Prefs::Document> document = settingsOf(readFile(file), file, m_err);
    if (!document)
        return Failure;
    // Written by hand, so that the settings keep the file's order.
    QStringList members;
    int status = Success;
    for (int index = 0; index < Prefs::FieldCount; ++index) {
        if (const std::optional<QString> value = valueOf(*document, index))
            members << Prefs::quoted(Prefs::settingName(index)) + u": "_s + Prefs::quoted(*value);
        else
            status = Failure;
    }
    if (m_parser.isSet(m_all)) {
        for (const Prefs::OtherSetting &other : document->otherSettings())
            members << Prefs::quoted(other.name) + u": "_s + Prefs::quoted(other.value);
    }
    m_out << "{\n";
    for (qsizetype at = 0; at < members.size(); ++at)
        m_out << "  " << members.at(at) << (at + 1 < members.size() ? ",\n" : "\n");
    m_out << "}\n";
    return status;
}

} // namespace Cli
