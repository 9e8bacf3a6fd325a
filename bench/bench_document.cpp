// The document work, timed with Google Benchmark: the positional load, Format, and the whole
// load, Format and atomic write; and how the load time grows with the lines' length and
// with the number of lines after the 54th (which are never read).
#include "filewriter.h"
#include "prefsreader.h"
#include "prefswriter.h"

#include <QBuffer>
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

// The positional load into a list of 54 values, from bytes in memory or from a file.
Result loadFrom(QByteArray &bytes, QStringList &fields)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return Prefs::loadPositional(buffer, QStringLiteral("bench"),
                                 [&](int index, const QString &value) { fields[index] = value; });
}

Result loadFrom(const QString &name, QStringList &fields)
{
    return Prefs::loadPositional(name,
                                 [&](int index, const QString &value) { fields[index] = value; });
}

void loadFromMemory(benchmark::State &state)
{
    QByteArray bytes = document(54, 12);
    QStringList fields(54);
    for (auto _ : state)
        benchmark::DoNotOptimize(loadFrom(bytes, fields));
}

void format(benchmark::State &state)
{
    const QStringList fields(54, QStringLiteral("value of twelve"));
    for (auto _ : state)
        benchmark::DoNotOptimize(Prefs::formatPrefsText(fields));
}

void loadAndFormat(benchmark::State &state)
{
    QByteArray bytes = document(54, 12);
    QStringList fields(54);
    for (auto _ : state) {
        loadFrom(bytes, fields);
        benchmark::DoNotOptimize(Prefs::formatPrefsText(fields));
    }
}

void loadFormatAndWrite(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString name = folder.filePath(QStringLiteral("ServerPrefs.cs"));
    const QByteArray bytes = document(54, 12);
    Platform::writeWholeFile(name, bytes);
    QStringList fields(54);
    for (auto _ : state) {
        loadFrom(name, fields);
        Prefs::writeDocument(name, fields);
    }
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
    QStringList fields(54);
    for (auto _ : state)
        benchmark::DoNotOptimize(loadFrom(name, fields));
    state.SetLabel(state.range(0) > Prefs::FieldLimit ? "fails at line 1: too long" : "");
}

} // namespace

BENCHMARK(loadFromMemory)->Unit(benchmark::kMicrosecond);
BENCHMARK(format)->Unit(benchmark::kMicrosecond);
BENCHMARK(loadAndFormat)->Unit(benchmark::kMicrosecond);
BENCHMARK(loadFormatAndWrite)->Unit(benchmark::kMicrosecond);
BENCHMARK(loadFile)
        ->ArgNames({"value_bytes", "lines"})
        ->Args({10, 54})
        ->Args({1024, 54})
        ->Args({100 * 1024, 54})
        ->Args({10 * 1024 * 1024, 54})
        ->Args({10, 10000})
        ->Args({10, 1000000})
        ->Unit(benchmark::kMicrosecond);

// "bench_document --load FILE" loads the file once and ends: run under callgrind, it counts
// the instructions of one load, which do not vary from run to run as times do.
int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--load") == 0) {
        QStringList fields(54);
        loadFrom(QString::fromLocal8Bit(argv[2]), fields);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
