#pragma once

// The tool behind Cli::run: one object a run, its commands spread over the files of src/cli.

#include "cli.h"
#include "codepagedevice.h"
#include "document.h"
#include "savetransaction.h"

#include <QCommandLineParser>
#include <QIODevice>
#include <QMap>
#include <QStringList>
#include <QTextStream>

#include <optional>

namespace Cli {

// The text of --help, its exit statuses from ExitStatuses.
QString helpText();

class Tool
{
public:
    Tool(QIODevice &in, QIODevice &out, QIODevice &err, CodePages pages)
        : m_in(in)
        , m_outDevice(out, pages.out)
        , m_errDevice(err, pages.err)
        , m_out(&m_outDevice)
        , m_err(&m_errDevice)
    {}

    int run(const QStringList &arguments);
    // The status of the run, or a failure when its output could not be written.
    int finish(int status);

private:
    // What a name given for a setting stands for: one of the 54, or a variable of the file.
    struct Named
    {
        int index = -1; // one of the 54, or -1
        QString other;  // else the full name of another variable, as the file spells it
    };

    int usage(const QString &message);
    int failure(const QString &message);
    // A failure to do the work at all: a file or output that cannot be used, a lock held.
    int trouble(const QString &message);
    // The setting a name stands for: one of the 54 by any of its names; else a variable of the
    // file by its full name or by the part after "::". Nothing, and the reason, when it names
    // none or more than one; a full name the file lacks names a variable to add.
    std::optional<Named> named(const QString &name, const Prefs::Document &document, bool adding,
                               QString &refusal) const;
    // The preferences file of the options or of path.inf; nothing, and a message, if none.
    std::optional<QString> documentFile();
    // The file, read whole while no writer of Tolvane's is at it; nothing, and a message, when
    // it cannot be read or is no preferences file.
    std::optional<Prefs::Document> readFile(QString &nativeName, bool toWrite = false);
    // The value of one of the 54 to print; nothing, and said why, when the file gives none.
    std::optional<QString> valueOf(const Prefs::Document &document, int index);
    int list();
    int get(const QStringList &names);
    int set(const QStringList &assignments);
    int check();
    int exportJson();
    int importJson(const QString &source);
    int diff(const QString &other);
    // Prints what get or list found, only when standard output's code page holds all of it: a
    // script would take a value written otherwise for another one. Else nothing, exit 3.
    int printValues(const QString &text, int status);
    // A value as the file holds it, or as plain text with --plain; nothing, and said why, when
    // it has no plain form.
    std::optional<QString> shown(const QString &name, const QString &value);
    // A value given to set or import, as the file is to hold it.
    QString given(const QString &value) const;
    // Resolves a name of set or import, and adds its value to the request.
    int change(const QString &name, const QString &value, const Prefs::Document &document,
               Prefs::SaveRequest &request);
    // The write of set and import, through the one save.
    int write(Prefs::SaveRequest &request);
    // What a dry run would change.
    void preview(const Prefs::SaveOutcome &outcome);

    QIODevice &m_in;
    CodePageDevice m_outDevice;
    CodePageDevice m_errDevice;
    QTextStream m_out;
    QTextStream m_err;
    QCommandLineParser m_parser;
    const QCommandLineOption m_game{QStringLiteral("game"), QString(), QStringLiteral("DIR")};
    const QCommandLineOption m_file{QStringLiteral("file"), QString(), QStringLiteral("FILE")};
    const QCommandLineOption m_dryRun{QStringLiteral("dry-run")};
    const QCommandLineOption m_force{QStringLiteral("force")};
    const QCommandLineOption m_add{QStringLiteral("add")};
    const QCommandLineOption m_all{QStringLiteral("all")};
    const QCommandLineOption m_json{QStringLiteral("json")};
    const QCommandLineOption m_names{QStringLiteral("names")};
    const QCommandLineOption m_plain{QStringLiteral("plain")};
    const QCommandLineOption m_utf8{QStringLiteral("utf8")};
    const QCommandLineOption m_help{{QStringLiteral("h"), QStringLiteral("help")}};
    const QCommandLineOption m_version{{QStringLiteral("v"), QStringLiteral("version")}};
    QString m_pathStore;       // the path.inf that named the game folder, and what it named
    QString m_lockUnsupported; // why the file system gave the read no lock, if it gave none
    int m_stopped = CannotDo;  // the status of the last failure to find or read the file
};

} // namespace Cli
