#include "cli.h"

#include "documentcheck.h"
#include "fieldtable.h"
#include "nativepath.h"
#include "pathstore.h"
#include "prefsreader.h"
#include "prefswriter.h"
#include "regularfile.h"
#include "settingnames.h"
#include "sharedstrings.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace Cli {

namespace {

const char HelpText[] = R"(Usage: tolvane-cli COMMAND [ARGUMENTS] [OPTIONS]
The server preferences of the game Tribes, config/ServerPrefs.cs, from a shell: read, checked
and written with the rules of the Tolvane window, and written as its Save and Exit writes them.

Commands:
  list                 every setting in file order, one a line: its name, then its value
  list --names         the two names of every setting; reads no file
  get NAME...          the values of these settings, one a line, as they are
  set NAME=VALUE...    changes these settings and writes the file
  check                what a save would change in the file, line by line
  export --json        every setting, as one JSON object keyed by the game's variable names
  import --json FILE   sets the settings of such an object, which may name only some of them;
                       FILE - is standard input

NAME is the game's variable as the file names it, such as Server::HostName, or the window's
name of its field, such as HostName, in any letter case.
list and check show values as JSON strings: in double quotes, with \" \\ \n \r \t and \uXXXX
for quotes, backslashes and control characters, so that blanks and all else show.

set and import write nothing when a value cannot be written (a line break, more than 32767
characters, a character that the game's code page cannot store), nor over a file of which a
save would lose or move settings: lines after the 54th, lines of other variables, a file of
fewer than 54 lines. check tells which.

Options:
  --game DIR      the game folder: the file is DIR\config\ServerPrefs.cs, in any letter case
  --file FILE     a preferences file or backup, named as it is
  --dry-run       set and import: tell what would change, and write nothing
  --force         set and import: write even where a save loses or moves settings
  -h, --help      this text
  -v, --version   the version

Without --game or --file the file is the window's: path.inf in the working folder, else in
~/.config/tolvane, names the game folder. A drive letter there, as in C:\Dynamix\Tribes, is a
drive of the Wine prefix in the home folder, which under sudo is root's: give --game then.

Arguments, JSON and output are UTF-8. Exit status: 0 done; 1 a file could not be read or
written, a write was refused, or check found something; 2 a wrong command, option or name.)";

class Tool
{
public:
    Tool(QIODevice &in, QIODevice &out, QIODevice &err)
        : m_in(in)
        , m_out(&out)
        , m_err(&err)
    {}

    int run(const QStringList &arguments);

private:
    int usage(const QString &message);
    int failure(const QString &message);
    // The preferences file of the options or of path.inf; nothing, and a message, if none.
    std::optional<QString> documentFile();
    // The values of the file; nothing, and a message, when it cannot be read whole.
    std::optional<QStringList> loadValues();
    int list();
    int get(const QStringList &names);
    int set(const QStringList &assignments);
    int check();
    int exportJson();
    int importJson(const QString &source);
    // The write of set and import: the file's values with these changes.
    int write(const QMap<int, QString> &changes);

    QIODevice &m_in;
    QTextStream m_out;
    QTextStream m_err;
    QCommandLineParser m_parser;
    const QCommandLineOption m_game{u"game"_s, QString(), u"DIR"_s};
    const QCommandLineOption m_file{u"file"_s, QString(), u"FILE"_s};
    const QCommandLineOption m_dryRun{u"dry-run"_s};
    const QCommandLineOption m_force{u"force"_s};
    const QCommandLineOption m_json{u"json"_s};
    const QCommandLineOption m_names{u"names"_s};
    const QCommandLineOption m_help{{u"h"_s, u"help"_s}};
    const QCommandLineOption m_version{{u"v"_s, u"version"_s}};
    QString m_pathStore; // the path.inf that named the game folder, and what it named
};

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

int Tool::run(const QStringList &arguments)
{
    m_parser.addOptions({m_game, m_file, m_dryRun, m_force, m_json, m_names, m_help, m_version});
    if (!m_parser.parse(arguments))
        return usage(m_parser.errorText());
    if (m_parser.isSet(m_help) || m_parser.isSet(m_version)) {
        m_out << (m_parser.isSet(m_help) ? HelpText : "tolvane-cli " TOLVANE_VERSION) << '\n';
        return Success;
    }
    const QStringList words = m_parser.positionalArguments();
    const QString command = words.value(0);
    const QStringList rest = words.mid(1);
    const bool writes = command == u"set"_s || command == u"import"_s;
    if (m_parser.isSet(m_game) && m_parser.isSet(m_file))
        return usage(u"--game and --file both name the file: give one of them"_s);
    if ((m_parser.isSet(m_dryRun) || m_parser.isSet(m_force)) && !writes)
        return usage(u"--dry-run and --force are for set and import"_s);
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
    return usage(command.isEmpty() ? u"a command is needed"_s
                                   : u"there is no command \"%1\""_s.arg(command));
}

std::optional<QString> Tool::documentFile()
{
    if (m_parser.isSet(m_file))
        return m_parser.value(m_file);
    if (m_parser.isSet(m_game))
        return Platform::nativeFileName(m_parser.value(m_game) + PrefsFile);
    // Where the desktop launcher starts the window, if not in the working folder.
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    const QString launcherFolder
            = (configHome.isEmpty() ? Platform::homeFolder() + u"/.config"_s : configHome)
              + u"/tolvane"_s;
    for (const QString &store : {Platform::nativeFileName(QString(GameDir::PathStoreName)),
                                 launcherFolder + u"/path.inf"_s}) {
        if (!QFileInfo::exists(store))
            continue;
        const std::optional<QString> game = GameDir::readPathStore(store);
        if (!game) {
            failure(u"\"%1\" holds no game folder."_s.arg(Platform::displayName(store)));
            return std::nullopt;
        }
        m_pathStore
                = u"%1, which names %2"_s.arg(Platform::displayName(store), Prefs::quoted(*game));
        return Platform::nativeFileName(*game + PrefsFile);
    }
    failure(u"No path.inf in the working folder or in %1: give the game folder with --game DIR, "
            "or the file with --file FILE."_s.arg(launcherFolder));
    return std::nullopt;
}

std::optional<QStringList> Tool::loadValues()
{
    const std::optional<QString> file = documentFile();
    if (!file)
        return std::nullopt;
    QStringList values(Prefs::FieldCount);
    const Result loaded = Prefs::loadPositional(
            *file, [&](int index, const QString &value) { values[index] = value; });
    if (!loaded.ok()) {
        failure(loaded.message);
        return std::nullopt;
    }
    return values;
}

int Tool::list()
{
    const std::optional<QStringList> values
            = m_parser.isSet(m_names) ? QStringList(Prefs::FieldCount) : loadValues();
    if (!values)
        return Failure;
    for (int index = 0; index < Prefs::FieldCount; ++index) {
        m_out << Prefs::settingName(index).leftJustified(30) << ' '
              << (m_parser.isSet(m_names) ? QString::fromLatin1(Prefs::FieldTable[index].name)
                                          : Prefs::quoted(values->at(index)))
              << '\n';
    }
    return Success;
}

int Tool::get(const QStringList &names)
{
    QList<int> indexes;
    for (const QString &name : names) {
        indexes << Prefs::settingIndex(name);
        if (indexes.last() < 0)
            return usage(
                    u"there is no setting \"%1\" (tolvane-cli list --names names them all)"_s.arg(
                            name));
    }
    const std::optional<QStringList> values = loadValues();
    if (!values)
        return Failure;
    for (const int index : std::as_const(indexes))
        m_out << values->at(index) << '\n';
    return Success;
}

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
    const std::optional<QString> file = documentFile();
    if (!file)
        return Failure;
    QList<Prefs::Finding> findings;
    if (const Result read = Prefs::checkDocument(*file, findings); !read.ok())
        return failure(read.message);
    const auto loses = [](const Prefs::Finding &finding) {
        return finding.losesSettings;
    };
    if (std::any_of(findings.cbegin(), findings.cend(), loses) && !m_parser.isSet(m_force)) {
        m_err << "tolvane-cli: nothing was written to \"" << Platform::displayName(*file)
              << "\": a save would lose or move settings there.\n";
        for (const Prefs::Finding &finding : std::as_const(findings))
            m_err << "  " << finding.text << '\n';
        m_err << "Give --force to write all the same.\n";
        return Failure;
    }
    QStringList values(Prefs::FieldCount);
    const Result loaded = Prefs::loadPositional(
            *file, [&](int index, const QString &value) { values[index] = value; });
    // Forced, a short file is written whole, the settings it lacks empty.
    const bool shortFile
            = std::any_of(findings.cbegin(), findings.cend(), [](const Prefs::Finding &finding) {
                  return finding.line == 0 && finding.losesSettings;
              });
    if (!loaded.ok() && !(shortFile && m_parser.isSet(m_force)))
        return failure(loaded.message);
    QStringList changed = values;
    for (auto change = changes.cbegin(); change != changes.cend(); ++change)
        changed[change.key()] = change.value();
    if (const Result refused = Prefs::checkStorable(changed); !refused.ok())
        return failure(refused.message);
    if (!m_parser.isSet(m_dryRun)) {
        const Result written = Prefs::writeDocument(*file, changed);
        return written.ok() ? Success : failure(written.message);
    }
    for (int index = 0; index < Prefs::FieldCount; ++index) {
        if (changed[index] != values[index])
            m_out << Prefs::settingName(index) << ": " << Prefs::quoted(values[index]) << " -> "
                  << Prefs::quoted(changed[index]) << '\n';
    }
    if (changed == values)
        m_out << "No setting would change.\n";
    return Success;
}

int Tool::check()
{
    const std::optional<QString> file = documentFile();
    if (!file)
        return Failure;
    QList<Prefs::Finding> findings;
    if (const Result read = Prefs::checkDocument(*file, findings); !read.ok())
        return failure(read.message);
    if (!m_pathStore.isEmpty())
        m_out << "path.inf: " << m_pathStore << '\n';
    m_out << "file: " << Platform::displayName(*file) << '\n';
    for (const Prefs::Finding &finding : std::as_const(findings))
        m_out << finding.text << '\n';
    if (findings.isEmpty())
        m_out << "Nothing to report: a save writes the file back as it is.\n";
    return findings.isEmpty() ? Success : Failure;
}

int Tool::exportJson()
{
    const std::optional<QStringList> values = loadValues();
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

} // namespace

int run(const QStringList &arguments, QIODevice &in, QIODevice &out, QIODevice &err)
{
    return Tool(in, out, err).run(arguments);
}

} // namespace Cli
