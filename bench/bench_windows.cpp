// The work of the windows that grows with the input, timed with Google Benchmark on the
// offscreen platform: the main window's start on 54 values of a given length (a longer file
// is refused unread, and its start would wait for the message to be clicked), the start
// with a path.inf whose line is a megabyte of short parts, and the folder browser opening
// a folder of 10,000 sub-folders. The start also reports the peak of resident memory it
// added, in KB.
#include "fieldtable.h"
#include "folderbrowser.h"
#include "mainwindow.h"
#include "sharedstrings.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void writeFile(const QString &name, const QByteArray &bytes)
{
    QFile file(name);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
}

qint64 statusKilobytes(const char *field)
{
    QFile file(QStringLiteral("/proc/self/status"));
    file.open(QIODevice::ReadOnly);
    const QByteArray status = file.readAll();
    const qsizetype at = status.indexOf(field);
    return status.mid(at + qstrlen(field), 20).trimmed().split(' ').first().toLongLong();
}

// A working folder whose path.inf holds pathLine, and a game folder beside it whose
// ServerPrefs.cs holds 54 values of valueLength characters.
struct StartFolder
{
    StartFolder(qsizetype valueLength, const QByteArray &pathLine = {})
    {
        QDir(folder.path()).mkpath(QStringLiteral("game/config"));
        // As a save writes it: a file that a save would change brings a notice up, which
        // would wait for a click.
        QByteArray prefs;
        for (const Prefs::Field &field : Prefs::FieldTable)
            prefs += field.tag + QByteArray(valueLength, char('a' + prefs.count('\n') % 26))
                     + "\";\r\n";
        prefs += "\r\n";
        writeFile(folder.filePath(QStringLiteral("game/config/ServerPrefs.cs")), prefs);
        writeFile(folder.filePath(QStringLiteral("path.inf")),
                  pathLine.isEmpty() ? QFile::encodeName(folder.filePath(QStringLiteral("game")))
                                     : pathLine);
        QDir::setCurrent(folder.path());
    }
    QTemporaryDir folder;
};

void startWithValues(benchmark::State &state)
{
    StartFolder start(state.range(0));
    qint64 growth = 0;
    for (auto _ : state) {
        QFile clear(QStringLiteral("/proc/self/clear_refs"));
        clear.open(QIODevice::WriteOnly);
        clear.write("5");
        clear.close();
        const qint64 before = statusKilobytes("VmRSS:");
        SharedStrings shared;
        MainWindow window(shared);
        const LoadStepOutcome outcome = window.runLoadStep();
        window.show();
        QApplication::processEvents();
        growth = statusKilobytes("VmHWM:") - before;
        state.SetLabel(outcome.failure.isEmpty() && !outcome.firstUse ? "loads" : "fails");
    }
    state.counters["peak_KB"] = double(growth);
}

void startWithLongPathStore(benchmark::State &state)
{
    QByteArray line;
    while (line.size() < 1024 * 1024)
        line += "/a";
    StartFolder start(10, line);
    for (auto _ : state) {
        SharedStrings shared;
        MainWindow window(shared);
        benchmark::DoNotOptimize(window.runLoadStep());
    }
}

void openBigFolder(benchmark::State &state)
{
    QTemporaryDir folder;
    for (int index = 0; index < 10000; ++index)
        QDir(folder.path()).mkdir(QStringLiteral("folder%1").arg(index));
    SharedStrings shared;
    FolderBrowser browser(shared);
    browser.show();
    for (auto _ : state) {
        browser.openFolder(folder.path());
        QApplication::processEvents();
        browser.openFolder(QDir::rootPath());
    }
}

} // namespace

BENCHMARK(startWithValues)
        ->ArgName("value_length")
        ->Arg(12)    // as short as the demo's values
        ->Arg(32767) // 54 full fields
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
BENCHMARK(startWithLongPathStore)->Unit(benchmark::kMillisecond);
BENCHMARK(openBigFolder)->Unit(benchmark::kMillisecond);

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
