// Reading a 50 MB library of fifty records of a million values each, as the render command
// and as the Draw tool read it, against reading a file of the same size whole.
#include "BenchReport.h"
#include "state/LibraryFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace koyomi;
using koyomi::bench::setBaseline;

namespace {

const QString& libraryPath()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString p = dir.path() + "/koyomiplan.txt";
        QFile file(p);
        if (!file.open(QIODevice::WriteOnly)) {
            std::abort();
        }
        QByteArray values;
        for (int i = 0; i < 499990; ++i) {
            values += "1,";
        }
        for (int r = 0; r < 50; ++r) {
            file.write("1,\"r" + QByteArray::number(r) + "\",0," + values + "1\r\n");
        }
        return p;
    }();
    return path;
}

void readWhole(benchmark::State& state)
{
    for (auto _ : state) {
        QFile file(libraryPath());
        if (!file.open(QIODevice::ReadOnly)) {
            std::abort();
        }
        benchmark::DoNotOptimize(file.readAll().constData());
    }
}

void readForCommand(benchmark::State& state)
{
    const QByteArray path = QFile::encodeName(libraryPath());
    for (auto _ : state) {
        benchmark::DoNotOptimize(state::readLibraryRecordsFile(path)->records.size());
    }
}

void readForDrawTool(benchmark::State& state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(state::readLibrary(libraryPath())->records.size());
    }
}

const bool registered = [] {
    benchmark::RegisterBenchmark("library 50 MB file read whole", readWhole)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("library 50 MB read by the command", readForCommand)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("library 50 MB read by the Draw tool", readForDrawTool)
        ->Unit(benchmark::kMillisecond);
    setBaseline("library 50 MB read by the command", "library 50 MB file read whole");
    setBaseline("library 50 MB read by the Draw tool", "library 50 MB file read whole");
    return true;
}();

} // namespace
