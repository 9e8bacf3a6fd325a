#include "cli.h"
#include "codepage.h"
#include "filelock.h"
#include "testsupport.h"

#include <QtCore>

#include <filesystem>

#ifdef Q_OS_UNIX
#include <grp.h>
#include <unistd.h>
#endif

using namespace TestSupport;
using namespace Qt::StringLiterals;

// tolvane-cli through its entry function; the rows: tests/data/cli.tsv.
class CliTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { SKIP_IF_UNIX_ONLY(); }

    void commands_data() { addFixtureRows({"cli.tsv"}); }
    void commands()
    {
        auto [setup, arguments, input, status, output, error, written] = cells<7>();
        QTemporaryDir home;
        const auto leave = qScopeGuard([] { QDir::setCurrent(QDir::tempPath()); }); // for Windows
        QVERIFY(QDir::setCurrent(home.path()));
        qputenv("HOME", QFile::encodeName(home.path()));
        qputenv("USERPROFILE", QFile::encodeName(QDir::toNativeSeparators(home.path())));
        qputenv("APPDATA",
                QFile::encodeName(QDir::toNativeSeparators(home.filePath(u".config"_s))));
        qunsetenv("XDG_CONFIG_HOME");
        const QString game = home.filePath(u"Tribes"_s), prefs = game + u"/config/ServerPrefs.cs"_s;
        QByteArray original = readBytes(dataFile("golden54.cs"));
        if (setup == u"demo"_s)
            original = readBytes(dataFile("../../examples/tribes/config/ServerPrefs.cs"));
        if (setup.contains(u"=>"_s)) // the golden file edited
            original = edited(original, setup);
        const bool special = setup == u"fifo"_s;
        QVERIFY(special ? makeSpecialFile(prefs, setup) : writeBytes(prefs, original));
        const bool configured = setup == u"config_path_inf"_s;
        const auto prefix = qScopeGuard([] { qunsetenv("WINEPREFIX"); });
        qputenv("WINEPREFIX", setup == u"relative_wineprefix"_s ? "w" : "/w");
        if (setup == u"fifo_path_inf"_s)
            QVERIFY(makeSpecialFile(u"path.inf"_s, u"fifo"_s));
        else if (setup.startsWith(u"path_inf="_s)) // these bytes
            QVERIFY(writeBytes(u"path.inf"_s, setup.mid(9).toLatin1()));
        else if (setup != u"no_path_inf"_s)
            QVERIFY(writeBytes(configured ? u".config/tolvane/path.inf"_s : u"path.inf"_s,
                               configured ? "../../Tribes" : QFile::encodeName(game)));

        QBuffer in, out, err;
        input = expanded(input);
        in.setData(input.startsWith(u"bytes:"_s) ? input.mid(6).toLatin1() : input.toUtf8());
        QVERIFY(in.open(QIODevice::ReadOnly)
                && out.open(setup == u"read_only_output"_s ? QIODevice::ReadOnly
                                                           : QIODevice::WriteOnly)
                && err.open(QIODevice::WriteOnly));
        QStringList words = arguments.replace(u"GAME"_s, game)
                                    .replace(u"DATA"_s, QStringLiteral(TOLVANE_TEST_DATA))
                                    .split(u" | "_s);
        std::transform(words.begin(), words.end(), words.begin(), expanded);
        std::optional<Platform::FileLock> held; // another writer's turn, for all of the wait
        if (setup == u"locked"_s)
            held.emplace(prefs, Platform::FileLock::Kind::Exclusive);
        QTest::failOnWarning(QRegularExpression(u"Broken filename"_s)); // Tolvane's words alone
        // A set-user-ID file of the game's account 2000, with a second link, so written in
        // place by the admin 2001 of its group 3000, who may not set the bit again.
#ifdef Q_OS_UNIX
        const bool otherOwner = setup == u"set_user_id_other_owner"_s;
        const gid_t groups[] = {2001, 3000};
        if (otherOwner && geteuid() != 0)
            QSKIP("Needs root: to be another user.");
        QVERIFY(!otherOwner
                || (chmod(QFile::encodeName(home.path()), 0755) == 0
                    && chown(QFile::encodeName(prefs), 2000, 3000) == 0
                    && chmod(QFile::encodeName(prefs), 04664) == 0
                    && link(QFile::encodeName(prefs), QFile::encodeName(game + u"/shared.cs"_s))
                               == 0
                    && setgroups(2, groups) == 0 && setegid(2001) == 0 && seteuid(2001) == 0));
#endif
        // "page=N": standard output and error in a console's code page N.
        const unsigned page
                = QRegularExpression(u"page=(\\d+)"_s).match(setup).captured(1).toUInt();
        const int exitStatus
                = Cli::run(QStringList(u"tolvane-cli"_s) + words, in, out, err, {page, page});
#ifdef Q_OS_UNIX
        QVERIFY(!otherOwner || (seteuid(0) == 0 && setegid(0) == 0 && setgroups(0, nullptr) == 0));
#endif
        QCOMPARE(exitStatus, status.toInt());
        output.replace(u"GAME"_s, game).replace(u"HOME"_s, home.path());
        const QString printed = page == 1252 ? Platform::decodeDocumentText(out.data())
                                             : QString::fromUtf8(out.data()),
                      complaint = QString::fromUtf8(err.data());
        if (output.startsWith(u'@'))
            QCOMPARE(printed, QString::fromUtf8(readBytes(dataFile(qPrintable(output.mid(1))))));
        else
            QVERIFY2(output.startsWith(u'~') ? printed.contains(output.mid(1)) : printed == output,
                     qPrintable(printed));
        QVERIFY2(complaint.contains(error.replace(u"HOME"_s, home.path())), qPrintable(complaint));
        QVERIFY(status != u"0"_s || complaint.isEmpty() == error.isEmpty());
        if (!special) // nothing written, or what was there with these edits
            QCOMPARE(readBytes(prefs), edited(original, written));
    }

    // The manual page says what each exit status means in the words --help prints.
    void exitStatusesDocumented()
    {
        const QString page
                = QString::fromUtf8(readBytes(dataFile("../../packaging/tolvane-cli.1")));
        const QString section = page.section(u".SH EXIT STATUS\n"_s, 1).section(u"\n.SH"_s, 0, 0);
        QString expected;
        for (const Cli::StatusMeaning &row : Cli::ExitStatuses)
            expected += u".TP .B %1 %2 "_s.arg(row.status).arg(QString::fromUtf8(row.meaning));
        QCOMPARE(QString(section).replace(u"\\-"_s, u"-"_s).simplified(), expected.trimmed());
        QBuffer in, out, err;
        QVERIFY(out.open(QIODevice::WriteOnly) && err.open(QIODevice::WriteOnly));
        QCOMPARE(Cli::run({u"tolvane-cli"_s, u"--help"_s}, in, out, err), 0);
        QVERIFY(QString::fromUtf8(out.data())
                        .simplified()
                        .endsWith(expected.remove(u".TP .B "_s).trimmed()));
    }

    // Separate tolvane-cli programs at once, each setting its own setting to a long value,
    // round after round, on a file replaced whole and on one with a second hard link, written
    // in place. A reader between them, taking its turn, finds 54 whole lines; all changes land.
    void writersTakeTurns_data()
    {
        QTest::addColumn<bool>("linked");
        QTest::newRow("replaced") << false;
        QTest::newRow("in_place") << true;
    }
    void writersTakeTurns()
    {
        QFETCH(bool, linked);
        QTemporaryDir folder;
        const QString prefs = folder.filePath(u"ServerPrefs.cs"_s);
        QVERIFY(writeBytes(prefs, readBytes(dataFile("golden54.cs"))));
        std::error_code failed;
        QVERIFY(!linked
                || (std::filesystem::create_hard_link(
                            QFileInfo(prefs).filesystemFilePath(),
                            QFileInfo(prefs + u"2"_s).filesystemFilePath(), failed),
                    !failed));
        const QString program
                = qEnvironmentVariable("TOLVANE_CLI_PROGRAM", QStringLiteral(TOLVANE_CLI));
        const QStringList settings{u"HostName"_s, u"MOTD"_s, u"MaxPlay"_s, u"LastMis"_s};
        const auto value = [](int setting, int round) {
            return QString(3000, QChar(u'a' + setting)) + QString::number(round);
        };
        for (int round = 0; round < 12; ++round) {
            std::vector<std::unique_ptr<QProcess>> writers;
            for (int setting = 0; setting < settings.size(); ++setting) {
                writers.push_back(std::make_unique<QProcess>());
                writers.back()->start(program, {u"--file"_s, prefs, u"set"_s,
                                                settings[setting] + u'=' + value(setting, round)});
            }
            const auto running = [&writers] {
                return std::count_if(writers.cbegin(), writers.cend(), [](const auto &writer) {
                    return !writer->waitForFinished(5) && writer->state() != QProcess::NotRunning;
                });
            };
            while (running() > 0) {
                const Platform::FileLock turn(prefs, Platform::FileLock::Kind::Shared);
                const QByteArray bytes = readBytes(prefs);
                QVERIFY2(bytes.count("\";\r\n") == 54 && bytes.endsWith("\";\r\n\r\n"),
                         bytes.right(200).constData());
            }
            for (const auto &writer : writers)
                QVERIFY2(writer->exitCode() == 0, writer->readAllStandardError().constData());
            for (int setting = 0; setting < settings.size(); ++setting)
                QVERIFY(readBytes(prefs).contains(value(setting, round).toLatin1()));
        }
    }
};

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"
