#include "cli.h"
#include "tool.h"

#include "fieldtable.h"
#include "nativepath.h"
#include "pathstore.h"
#include "regularfile.h"
#include "settingnames.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace Cli {

int Tool::usage(const QString &message)
{
    m_err << "tolvane-cli: " << message << "\nSee tolvane-cli --help.\n";
    return UsageError;
}

int Tool::failure(const QString &message)
{
    m_err << "tolvane-cli: " << message << '\n';
    return Failure;
}

int Tool::trouble(const QString &message)
{
    failure(message);
    return m_stopped = CannotDo;
}

std::optional<Tool::Named> Tool::named(const QString &name, const Prefs::Document &document,
                                       bool adding, QString &refusal) const
{
    const QString variable = name.startsWith(u'$') ? name.mid(1) : name;
    const bool full = variable.contains(u"::"_s);
    // A full name is a variable's: one of the 54 by its own name, else one of the file.
    QList<int> indexes;
    for (int index = 0; full && index < Prefs::FieldCount; ++index) {
        if (variable.compare(Prefs::settingName(index), Qt::CaseInsensitive) == 0)
            indexes << index;
    }
    if (!full)
        indexes = Prefs::settingIndexes(name);
    if (indexes.size() == 1)
        return Named{indexes.first(), {}};
    const auto names = [](const QStringList &list) {
        return list.join(u" and "_s);
    };
    if (indexes.size() > 1) {
        QStringList settings;
        for (const int index : indexes)
            settings << Prefs::settingName(index);
        refusal = u"\"%1\" names %2 settings, %3: give one of their names"_s.arg(name)
                          .arg(settings.size())
                          .arg(names(settings));
        return std::nullopt;
    }
    QStringList matches, known;
    for (const Prefs::OtherSetting &other : document.otherSettings()) {
        known << other.name;
        const QString part = other.name.section(u"::"_s, -1);
        if (other.name.compare(variable, Qt::CaseInsensitive) == 0
            || (!full && part.compare(variable, Qt::CaseInsensitive) == 0))
            matches << other.name;
    }
    if (matches.size() == 1)
        return Named{-1, matches.first()};
    if (matches.size() > 1) {
        refusal = u"\"%1\" names %2 settings of the file, %3: give the full name"_s.arg(name)
                          .arg(matches.size())
                          .arg(names(matches));
        return std::nullopt;
    }
    const auto [closest, distance] = Prefs::closestName(variable, known);
    const bool fullAndValid = Prefs::isVariableName(variable);
    if (fullAndValid && (adding || distance > 2))
        return Named{-1, variable};
    const QString command = m_parser.positionalArguments().value(0);
    if (fullAndValid)
        refusal = u"the file has no \"%1\": did you mean %2?"_s.arg(name, closest)
                  + (command == u"get"_s ? QString() : u" Give --add to add it all the same"_s);
    else if (full)
        refusal = u"\"%1\" is no variable's name: namespaces and a name of letters, digits and "
                  "_, parted by ::, such as Server::Password"_s.arg(name);
    else
        refusal = u"there is no setting \"%1\"; the closest is %2 (tolvane-cli list shows them "
                  "all; a new one needs its full name, such as Server::Password)"_s.arg(name,
                                                                                        closest);
    return std::nullopt;
}

int Tool::run(const QStringList &arguments)
{
    m_parser.addOptions({m_game, m_file, m_dryRun, m_force, m_add, m_all, m_json, m_names, m_plain,
                         m_utf8, m_help, m_version});
    const bool parsed = m_parser.parse(arguments);
    if (m_parser.isSet(m_utf8)) {
        m_outDevice.setCodePage(0);
        m_errDevice.setCodePage(0);
    }
    if (!parsed)
        return usage(m_parser.errorText());
    // "/?" as Windows tools take it, on every platform.
    if (m_parser.isSet(m_help) || m_parser.positionalArguments() == QStringList(u"/?"_s)) {
        m_out << helpText();
        return Success;
    }
    if (m_parser.isSet(m_version)) {
        m_out << u"tolvane-cli " TOLVANE_VERSION "\n"_s;
        return Success;
    }
    for (const QString &argument : arguments) {
        // What the program made of bytes that are no UTF-8.
        if (argument.contains(QChar::ReplacementCharacter))
            return usage(u"the argument %1 is not valid UTF-8"_s.arg(Prefs::quoted(argument)));
    }
    const QStringList words = m_parser.positionalArguments();
    const QString command = words.value(0);
    const QStringList rest = words.mid(1);
    const bool writes = command == u"set"_s || command == u"import"_s;
    if (m_parser.isSet(m_game) && m_parser.isSet(m_file))
        return usage(u"--game and --file both name the file: give one of them"_s);
    if ((m_parser.isSet(m_dryRun) || m_parser.isSet(m_force) || m_parser.isSet(m_add)) && !writes)
        return usage(u"--dry-run, --force and --add are for set and import"_s);
    if (m_parser.isSet(m_all) && command != u"export"_s)
        return usage(u"--all is for export"_s);
    if (m_parser.isSet(m_names) && command != u"list"_s)
        return usage(u"--names is for list"_s);
    if (m_parser.isSet(m_json) != (command == u"export"_s || command == u"import"_s))
        return usage(u"export and import need --json, the one format there is, and only they"_s);
    if ((command == u"list"_s || command == u"check"_s || command == u"export"_s)
        && !rest.isEmpty())
        return usage(u"%1 takes no arguments"_s.arg(command));
    if (command == u"list"_s)
        return list();
    if (command == u"get"_s || command == u"set"_s) {
        if (rest.isEmpty())
            return usage(u"%1 needs at least one setting"_s.arg(command));
        return command == u"get"_s ? get(rest) : set(rest);
    }
    if (command == u"check"_s)
        return check();
    if (command == u"export"_s)
        return exportJson();
    if (command == u"import"_s)
        return rest.size() == 1 ? importJson(rest.first()) : usage(u"import reads one file"_s);
    if (command == u"diff"_s)
        return rest.size() == 1 ? diff(rest.first()) : usage(u"diff compares with one file"_s);
    return usage(command.isEmpty() ? u"a command is needed"_s
                                   : u"there is no command \"%1\""_s.arg(command));
}

std::optional<QString> Tool::documentFile()
{
    if (m_parser.isSet(m_file))
        return m_parser.value(m_file);
    // A game folder may be a drive of Wine's, which refuses a relative prefix.
    if (const QString problem = Platform::winePrefixProblem(); !problem.isEmpty()) {
        trouble(problem + u'.');
        return std::nullopt;
    }
    if (m_parser.isSet(m_game)) {
        // An unset variable in --game "$DIR" would name the root folder's config.
        if (m_parser.value(m_game).isEmpty()) {
            m_stopped = usage(u"--game names no folder"_s);
            return std::nullopt;
        }
        return Platform::nativeFileName(m_parser.value(m_game) + PrefsFile);
    }
    // Where the desktop or Start menu starts the window, if not in the working folder.
    const QString launcherFolder = Platform::launcherFolder();
    for (const QString &store : {Platform::nativeFileName(QString(GameDir::PathStoreName)),
                                 launcherFolder + u"/path.inf"_s}) {
        const QFileInfo storeInfo(store);
        if (!storeInfo.exists() && !storeInfo.isSymLink())
            continue;
        QFile file(store);
        if (const QString reason = Platform::openRegularFile(file, QIODevice::ReadOnly);
            !reason.isEmpty()) {
            trouble(u"Cannot open \"%1\": %2."_s.arg(Platform::displayName(store), reason));
            return std::nullopt;
        }
        QString refusal;
        const std::optional<QString> game = GameDir::readPathStore(file, &refusal);
        if (!game || game->isEmpty()) {
            trouble(!refusal.isEmpty() ? refusal
                    : !game ? u"\"%1\" holds no game folder."_s.arg(Platform::displayName(store))
                            : u"path.inf names no game folder: its first line is empty (%1)."_s.arg(
                                    Platform::displayName(store)));
            return std::nullopt;
        }
        m_pathStore
                = u"%1, which names %2"_s.arg(Platform::displayName(store), Prefs::quoted(*game));
        // A relative folder is the window's, which starts in the folder of its path.inf.
        static const QRegularExpression rooted(uR"(^([\\/]|[A-Za-z]:|~([\\/]|$)))"_s);
        const QString folder
                = rooted.match(*game).hasMatch() ? *game : storeInfo.absolutePath() + u'/' + *game;
        return Platform::nativeFileName(folder + PrefsFile);
    }
    trouble(u"No path.inf in the working folder or in %1: give the game folder with --game DIR, "
            "or the file with --file FILE."_s.arg(QDir::toNativeSeparators(launcherFolder)));
    return std::nullopt;
}

std::optional<Prefs::Document> Tool::readFile(QString &nativeName, bool toWrite)
{
    const std::optional<QString> file = documentFile();
    if (!file)
        return std::nullopt;
    nativeName = *file;
    Prefs::Document document;
    if (const Result read = Prefs::readDocumentShared(*file, document, &m_lockUnsupported, toWrite);
        !read.ok()) {
        trouble(read.message);
        return std::nullopt;
    }
    return document;
}

std::optional<QString> Tool::valueOf(const Prefs::Document &document, int index)
{
    const Prefs::SettingValue value = document.setting(index);
    if (value.state == Prefs::SettingValue::State::Set)
        return value.value;
    if (value.state == Prefs::SettingValue::State::Broken)
        m_err << "tolvane-cli: line " << value.line << " sets " << Prefs::settingName(index)
              << " as the game cannot read it ("
              << document.lines().at(value.line - 1).assignment.reason << "), so it has no value\n";
    else
        m_err << "tolvane-cli: no line sets " << Prefs::settingName(index) << '\n';
    return std::nullopt;
}

int Tool::finish(int status)
{
    // A full disk or a closed pipe behind standard output must not pass for success.
    m_out.flush();
    if (m_out.status() == QTextStream::Ok)
        return status;
    return trouble(u"Cannot write standard output: %1."_s.arg(m_out.device()->errorString()));
}

int run(const QStringList &arguments, QIODevice &in, QIODevice &out, QIODevice &err,
        CodePages pages)
{
    Tool tool(in, out, err, pages);
    return tool.finish(tool.run(arguments));
}

} // namespace Cli
