// The document work, timed with Google Benchmark: the one reader, Format, and the whole read,
// merge and atomic write of a save; and how the read grows with the lines' length and number,
// up to the size limit, beyond which a file is refused unread.
#include "document.h"
#include "prefswriter.h"
#include "savefile.h"
#include "savetransaction.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QByteArray document(int lines, qsizetype valueLength)
{
    const QByteArray value(valueLength, 'v');
    QByteArray bytes;
    for (int line = 1; line <= lines; ++line)
        bytes += "$Server::Setting" + QByteArray::number(line) + " = \"" + value + "\";\r\n";
    return bytes;
}

// The demo game's file, read from disk by the one reader.
void readDemo(benchmark::State &state)
{
    Prefs::Document read;
    for (auto _ : state)
        benchmark::DoNotOptimize(Prefs::readDocument(QStringLiteral(TOLVANE_DEMO_FILE), read));
}

void readFromMemory(benchmark::State &state)
{
    const QByteArray bytes = document(54, 12);
    for (auto _ : state)
        benchmark::DoNotOptimize(Prefs::Document::parse(bytes));
}

void format(benchmark::State &state)
{
    const QStringList fields(54, QStringLiteral("value of twelve"));
    for (auto _ : state)
        benchmark::DoNotOptimize(Prefs::formatPrefsText(fields));
}

void readMergeAndWrite(benchmark::State &state)
{
    QTemporaryDir folder;
    Prefs::SaveRequest request;
    request.nativeName = folder.filePath(QStringLiteral("ServerPrefs.cs"));
    Platform::writeWholeFile(request.nativeName, document(54, 12));
    request.settings.insert(4, QStringLiteral("host"));
    request.force = true; // the bench's variables are none of the 54
    for (auto _ : state)
        benchmark::DoNotOptimize(Prefs::save(request));
}

// A file whose lines hold values of state.range(0) bytes, state.range(1) lines of them.
void loadFile(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString name = folder.filePath(QStringLiteral("ServerPrefs.cs"));
    const QByteArray first = document(54, state.range(0));
    QFile file(name);
    file.open(QIODevice::WriteOnly);
    file.write(first);
    const QByteArray more = document(1000, 12);
    for (qint64 written = 54; written < state.range(1); written += 1000)
        file.write(more);
    file.close();
    Prefs::Document read;
    for (auto _ : state)
        benchmark::DoNotOptimize(Prefs::readDocument(name, read));
    state.SetLabel(QFile(name).size() > Prefs::SizeLimit ? "refused: larger than the limit" : "");
}

// A file of 1 GB (sparse), which the reader refuses unread.
void refuseLargeFile(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString name = folder.filePath(QStringLiteral("ServerPrefs.cs"));
    QFile file(name);
    file.open(QIODevice::WriteOnly);
    file.resize(qint64(1) << 30);
    file.close();
    Prefs::Document read;
    for (auto _ : state)
        benchmark::DoNotOptimize(Prefs::readDocument(name, read));
}

} // namespace

BENCHMARK(readDemo)->Unit(benchmark::kMicrosecond);
BENCHMARK(readFromMemory)->Unit(benchmark::kMicrosecond);
BENCHMARK(format)->Unit(benchmark::kMicrosecond);
BENCHMARK(readMergeAndWrite)->Unit(benchmark::kMicrosecond);
BENCHMARK(loadFile)
        ->ArgNames({"value_bytes", "lines"})
        ->Args({10, 54})
        ->Args({1024, 54})
        ->Args({32767, 54})  // 54 full fields
        ->Args({10, 105000}) // just under the size limit
        ->Unit(benchmark::kMicrosecond);
BENCHMARK(refuseLargeFile)->Unit(benchmark::kMicrosecond);

// "bench_document --load FILE" reads the file once and ends: run under callgrind, it counts
// the instructions of one load, which do not vary from run to run as times do.
int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--load") == 0) {
        Prefs::Document read;
        return Prefs::readDocument(QString::fromLocal8Bit(argv[2]), read).ok() ? 0 : 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
