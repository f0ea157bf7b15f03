// The games' drawing and dealing, each beside a floor measured in the same run. bench/ratios.py prints
// each time over its floor. Each game's benchmarks live in bench/games/<game>.cpp and are linked into
// this one program; each file's header says whether its floor does the same work or is a lower bound.

#include "benchsupport.h"

#include <QApplication>

#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
    return BenchSupport::runWidgetBenchmarks(argc, argv);
}
