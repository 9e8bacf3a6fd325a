#pragma once

// The tool behind Cli::run: one object a run, its commands spread over the files of src/cli.

#include "cli.h"
#include "documentcheck.h"
#include "filelock.h"

#include <QCommandLineParser>
#include <QIODevice>
#include <QMap>
#include <QStringList>
#include <QTextStream>

#include <memory>
#include <optional>

namespace Cli {

extern const char HelpText[];

class Tool
{
public:
    Tool(QIODevice &in, QIODevice &out, QIODevice &err)
        : m_in(in)
        , m_out(&out)
        , m_err(&err)
    {}

    int run(const QStringList &arguments);
    // The status of the run, or a failure when its output could not be written.
    int finish(int status);

private:
    int usage(const QString &message);
    // Why a name given for a setting names none, or more than one.
    static QString notOneSetting(const QString &name);
    int failure(const QString &message);
    // The preferences file of the options or of path.inf; nothing, and a message, if none.
    std::optional<QString> documentFile();
    // The values of the file; nothing, and a message, when it cannot be read whole. Says which
    // of the lines to be printed set another variable than their setting's.
    std::optional<QStringList> loadValues(const QList<int> &printed);
    // The file, read whole under the lock of this kind, which the run then holds; nothing, and
    // a message, when the file cannot be read or the lock not taken.
    std::optional<QString> readLocked(Platform::FileLock::Kind kind, Prefs::DocumentRead &read);
    int list();
    int get(const QStringList &names);
    int set(const QStringList &assignments);
    int check();
    int exportJson();
    int importJson(const QString &source);
    // The write of set and import: the file's values with these changes.
    int write(const QMap<int, QString> &changes);
    // Refuses a write that loses settings, unless forced; a forced dry run tells what it would
    // write over.
    int refuseLosses(const QString &file, const QList<Prefs::Finding> &findings);
    // What a dry run would change.
    int preview(const QStringList &values, const QStringList &changed);

    QIODevice &m_in;
    QTextStream m_out;
    QTextStream m_err;
    QCommandLineParser m_parser;
    const QCommandLineOption m_game{QStringLiteral("game"), QString(), QStringLiteral("DIR")};
    const QCommandLineOption m_file{QStringLiteral("file"), QString(), QStringLiteral("FILE")};
    const QCommandLineOption m_dryRun{QStringLiteral("dry-run")};
    const QCommandLineOption m_force{QStringLiteral("force")};
    const QCommandLineOption m_json{QStringLiteral("json")};
    const QCommandLineOption m_names{QStringLiteral("names")};
    const QCommandLineOption m_help{{QStringLiteral("h"), QStringLiteral("help")}};
    const QCommandLineOption m_version{{QStringLiteral("v"), QStringLiteral("version")}};
    QString m_pathStore; // the path.inf that named the game folder, and what it named
    std::unique_ptr<Platform::FileLock> m_lock; // held to the end of the run's read or write
    bool m_misnamed = false; // a value was printed that its line gives another variable
};

} // namespace Cli
