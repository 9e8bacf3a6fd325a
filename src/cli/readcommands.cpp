// The commands that only read: list, get, check, export, diff.

#include "tool.h"

#include "codepage.h"
#include "documentcheck.h"
#include "documentdiff.h"
#include "fieldtable.h"
#include "nativepath.h"
#include "pathstore.h"
#include "plaintext.h"
#include "settingnames.h"

#include <QFileInfo>

#include <variant>

using namespace Qt::StringLiterals;

namespace Cli {

namespace {

// The file, when it is a preferences file: one that sets any of the 54.
std::optional<Prefs::Document> settingsOf(std::optional<Prefs::Document> document,
                                          const QString &file, QTextStream &err)
{
    if (!document)
        return std::nullopt;
    if (const Result prefs = Prefs::requirePrefsFile(file, *document); !prefs.ok()) {
        err << "tolvane-cli: " << prefs.message << '\n';
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
        return m_stopped;
    const Prefs::Settings settings = Prefs::Settings::of(*document);
    int status = Success;
    QString lines;
    const auto line = [&](const QString &name, Prefs::SettingValue value) {
        const std::optional<QString> text = shown(name, value.value);
        status = text ? status : Failure;
        value.value = text.value_or(QString());
        if (text || value.state != Prefs::SettingValue::State::Set)
            lines += name.leftJustified(30) + u' ' + Prefs::shownValue(value) + u'\n';
    };
    for (int index = 0; index < Prefs::FieldCount; ++index)
        line(Prefs::settingName(index), settings.values[index]);
    for (const Prefs::OtherSetting &other : settings.others)
        line(other.name, {Prefs::SettingValue::State::Set, other.value, other.lines.last()});
    return printValues(lines, status);
}

int Tool::get(const QStringList &names)
{
    QString file;
    const std::optional<Prefs::Document> document = settingsOf(readFile(file), file, m_err);
    if (!document)
        return m_stopped;
    const QList<Prefs::OtherSetting> others = document->otherSettings();
    using Shown = std::variant<int, Prefs::OtherSetting>; // one of the 54, or another setting
    QList<Shown> settings;
    for (const QString &name : names) {
        QString refusal;
        const std::optional<Named> setting = named(name, *document, false, refusal);
        if (!setting)
            return usage(refusal);
        const auto other = std::find_if(others.cbegin(), others.cend(), [&](const auto &known) {
            return known.name == setting->other;
        });
        if (setting->index < 0 && other == others.cend())
            return failure(u"no line sets $%1"_s.arg(setting->other));
        settings << (setting->index >= 0 ? Shown(setting->index) : Shown(*other));
    }
    int status = Success;
    QString lines;
    for (const Shown &setting : std::as_const(settings)) {
        const auto *other = std::get_if<Prefs::OtherSetting>(&setting);
        std::optional<QString> value
                = other ? other->value : valueOf(*document, std::get<int>(setting));
        if (value)
            value = shown(other ? other->name : Prefs::settingName(std::get<int>(setting)), *value);
        status = value ? status : Failure;
        if (value)
            lines += *value + u'\n';
    }
    return printValues(lines, status);
}

int Tool::printValues(const QString &text, int status)
{
    std::optional<char32_t> missing;
    markedInCodePage(text, m_outDevice.codePage(), &missing);
    if (!missing) {
        m_out << text;
        return status;
    }
    // The character itself only where standard error can show it.
    const QString character = QString::fromUcs4(&*missing, 1);
    const bool shown = Platform::encodeInCodePage(character, m_errDevice.codePage()).has_value();
    return trouble(
            u"standard output is in the console's code page %1, which has no %2; nothing "
            "was printed. Give --utf8, or run chcp 65001 first."_s.arg(m_outDevice.codePage())
                    .arg(shown ? character + u" ("_s + Prefs::codePoint(*missing) + u')'
                               : Prefs::codePoint(*missing)));
}

int Tool::check()
{
    QString file;
    const std::optional<Prefs::Document> document = readFile(file);
    if (!document)
        return m_stopped;
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
    if (!m_lockUnsupported.isEmpty())
        m_out << "lock: this file cannot be locked (" << m_lockUnsupported
              << "), so Tolvane's writers cannot take turns on it\n";
    for (const Prefs::Finding &finding : findings)
        m_out << finding.text << '\n';
    if (findings.isEmpty())
        m_out << "Nothing to report: a save writes the file back as it is.\n";
    return findings.isEmpty() ? Success : Failure;
}

std::optional<QString> Tool::shown(const QString &name, const QString &value)
{
    if (!m_parser.isSet(m_plain))
        return value;
    const std::optional<QString> plain = Prefs::plainText(value);
    if (!plain)
        m_err << "tolvane-cli: " << name << " holds " << Prefs::quoted(value)
              << ", whose backslashes start no escape that --plain decodes (\\\" \\\\ \\n)\n";
    return plain;
}

int Tool::diff(const QString &other)
{
    QString file;
    const std::optional<Prefs::Document> here = readFile(file);
    if (!here)
        return m_stopped;
    // OTHER is a game folder, as --game takes it, or a file.
    const QString otherFile
            = QFileInfo(other).isDir() ? Platform::nativeFileName(other + PrefsFile) : other;
    Prefs::Document there;
    if (const Result read = Prefs::readDocumentShared(otherFile, there); !read.ok())
        return trouble(read.message);
    const QList<Prefs::Difference> found
            = Prefs::differences(Prefs::Settings::of(*here), Prefs::Settings::of(there));
    for (Prefs::Difference difference : found) {
        for (Prefs::SettingValue *value : {&difference.here, &difference.there}) {
            if (value->state == Prefs::SettingValue::State::Set)
                value->value = shown(difference.name, value->value).value_or(value->value);
        }
        m_out << difference.name << ": " << Prefs::shownValue(difference.here) << " -> "
              << Prefs::shownValue(difference.there) << '\n';
    }
    return found.isEmpty() ? Success : Failure;
}

int Tool::exportJson()
{
    QString file;
    const std::optional<Prefs::Document> document = settingsOf(readFile(file), file, m_err);
    if (!document)
        return m_stopped;
    // Written by hand, so that the settings keep the file's order.
    QStringList members;
    int status = Success;
    const auto member = [&](const QString &name, const std::optional<QString> &value) {
        const std::optional<QString> text = value ? shown(name, *value) : std::nullopt;
        // In a console's code page, a JSON of ASCII alone reads back the same through any
        // redirection, PowerShell's UTF-16 among them.
        const bool ascii = m_outDevice.codePage() != 0;
        if (text)
            members << Prefs::quoted(name, ascii) + u": "_s + Prefs::quoted(*text, ascii);
        status = text ? status : Failure;
    };
    for (int index = 0; index < Prefs::FieldCount; ++index)
        member(Prefs::settingName(index), valueOf(*document, index));
    for (const Prefs::OtherSetting &other : document->otherSettings()) {
        if (m_parser.isSet(m_all))
            member(other.name, other.value);
    }
    m_out << "{\n";
    for (qsizetype at = 0; at < members.size(); ++at)
        m_out << "  " << members.at(at) << (at + 1 < members.size() ? ",\n" : "\n");
    m_out << "}\n";
    return status;
}

} // namespace Cli
