#pragma once

// The tool behind Cli::run: one object a run, its commands spread over the files of src/cli.

#include "cli.h"
#include "documentcheck.h"

#include <QCommandLineParser>
#include <QIODevice>
#include <QMap>
#include <QStringList>
#include <QTextStream>

#include <optional>

namespace Cli {

using namespace Qt::StringLiterals;

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

private:
    int usage(const QString &message);
    int failure(const QString &message);
    // The preferences file of the options or of path.inf; nothing, and a message, if none.
    std::optional<QString> documentFile();
    // The values of the file; nothing, and a message, when it cannot be read whole.
    std::optional<QStringList> loadValues();
    // The file and what a save would change in it; nothing, and a message, if unreadable.
    std::optional<QString> checkedFile(QList<Prefs::Finding> &findings);
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

} // namespace Cli
