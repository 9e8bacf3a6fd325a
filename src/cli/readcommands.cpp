// The commands that only read: list, get, check, export.

#include "tool.h"

#include "documentcheck.h"
#include "fieldtable.h"
#include "nativepath.h"
#include "settingnames.h"

#include <numeric>

using namespace Qt::StringLiterals;

namespace Cli {

namespace {

QList<int> allSettings()
{
    QList<int> indexes(Prefs::FieldCount);
    std::iota(indexes.begin(), indexes.end(), 0);
    return indexes;
}

} // namespace

int Tool::list()
{
    const std::optional<QStringList> values
            = m_parser.isSet(m_names) ? QStringList(Prefs::FieldCount) : loadValues(allSettings());
    if (!values)
        return Failure;
    for (int index = 0; index < Prefs::FieldCount; ++index) {
        if (m_parser.isSet(m_names)) // for scripts: one setting a line, its names
            m_out << Prefs::settingName(index) << '\t' << Prefs::FieldTable[index].name << '\t'
                  << Prefs::fieldCaption(index) << '\n';
        else
            m_out << Prefs::settingName(index).leftJustified(30) << ' '
                  << Prefs::quoted(values->at(index)) << '\n';
    }
    return Success;
}

int Tool::get(const QStringList &names)
{
    QList<int> indexes;
    for (const QString &name : names) {
        indexes << Prefs::settingIndex(name);
        if (indexes.last() < 0)
            return usage(notOneSetting(name));
    }
    const std::optional<QStringList> values = loadValues(indexes);
    if (!values)
        return Failure;
    for (const int index : std::as_const(indexes))
        m_out << values->at(index) << '\n';
    return Success;
}

int Tool::check()
{
    Prefs::DocumentRead read;
    const std::optional<QString> file = readLocked(Platform::FileLock::Kind::Shared, read);
    if (!file)
        return Failure;
    const QList<Prefs::Finding> &findings = read.findings;
    if (!m_pathStore.isEmpty())
        m_out << "path.inf: " << m_pathStore << '\n';
    m_out << "file: " << Platform::displayName(*file) << '\n';
    if (const QString prefix = Platform::winePrefix();
        !prefix.isEmpty() && file->startsWith(prefix + u'/'))
        m_out << "wine prefix: " << prefix << '\n';
    if (const QString copy = Platform::virtualStoreCopy(*file); !copy.isEmpty())
        m_out << "the game reads \"" << copy
              << "\" instead: Windows keeps that copy for a game under Program Files\n";
    if (m_lock->state() == Platform::FileLock::State::Unsupported)
        m_out << "lock: this file cannot be locked (" << m_lock->unsupportedReason()
              << "), so Tolvane's writers cannot take turns on it\n";
    for (const Prefs::Finding &finding : std::as_const(findings))
        m_out << finding.text << '\n';
    if (findings.isEmpty())
        m_out << "Nothing to report: a save writes the file back as it is.\n";
    return findings.isEmpty() ? Success : Failure;
}

int Tool::exportJson()
{
    const std::optional<QStringList> values = loadValues(allSettings());
    if (!values)
        return Failure;
    // Written by hand, so that the settings keep the file's order.
    m_out << "{\n";
    for (int index = 0; index < Prefs::FieldCount; ++index) {
        m_out << "  " << Prefs::quoted(Prefs::settingName(index)) << ": "
              << Prefs::quoted(values->at(index)) << (index + 1 < Prefs::FieldCount ? ",\n" : "\n");
    }
    m_out << "}\n";
    return Success;
}

} // namespace Cli
