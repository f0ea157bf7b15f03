// The games' drawing and dealing, each beside a floor that does the same painting into one image,
// measured in the same run. bench/ratios.py prints each time over its floor. Each game's benchmarks
// live in bench/games/<game>.cpp and are linked into this one program.

#include <QApplication>

#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
