// The games' drawing and dealing, each beside a floor that does the same painting into one image,
// measured in the same run. bench/ratios.py prints each time over its floor. Each game's benchmarks
// live in bench/games/<game>.cpp and are linked into this one program.

#include "benchsupport.h"

#include <QApplication>

#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
    return BenchSupport::runWidgetBenchmarks(argc, argv);
}
