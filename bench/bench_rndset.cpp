// Building a 20-problem set of each kind beside its floor. bench/ratios.py prints each set's time over
// its floor. Every floor here is a lower bound, the one cost no way of building the set can avoid: for
// the drawn sets, drawing the same number of random numbers alone (the count each set really drew,
// averaged), without choosing facts or making problems; for the saved set, reading the same file's
// bytes with plain C stdio, without decoding them.

#include "data/globals.h"
#include "data/prefs.h"
#include "data/random.h"
#include "data/rndset.h"
#include "data/seams.h"
#include "data/strecord.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

constexpr int kProblems = 20;

// Answers the file chooser with the saved set and drops every message.
class Quiet : public Seams::Dialogs {
public:
    QString path;
    void showMsg(bool, const QString&, const QString&) override {}
    void plainMessage(const QString&, const QString&) override {}
    Seams::Answer ask(const Seams::Question&) override { return Seams::Answer::Default; }
    QString openFile(const Seams::FileRequest&) override { return path; }
    QString saveFile(const Seams::FileRequest&) override { return {}; }
    QString selectFolder(const Seams::FileRequest&) override { return {}; }
    void showWaitWindow(const QString&) override {}
    void closeWaitWindow() override {}
};

struct Kind {
    int source;
    QString numbers;
    int op;
    int highest;
    bool family;
};

const Kind kRandom{1, QStringLiteral("0"), 4, 12, false};
const Kind kFamily{1, QStringLiteral("3/7"), 2, 12, true};
const Kind kAdaptive{0, QStringLiteral("0"), 4, 12, false};
const Kind kSaved{2, QStringLiteral("0"), 0, 12, false};

struct Fixture {
    QTemporaryDir dir;
    Quiet dialogs;
    std::shared_ptr<StRecord> player;

    Fixture() {
        Seams::setDialogs(&dialogs);
        myPrefs::initPrefs();
        // A student part-way through: every operation has learned, weak and untried facts.
        player =
            std::make_shared<StRecord>(QStringLiteral("Ann Lee"), QStringLiteral("Default"), 1, QString(), 0);
        player->myParams = StRecord::defaultParams();
        player->myParams[StRecord::ProblemsParam] = QString::number(kProblems);
        player->myParams[StRecord::NegativesParam] = QStringLiteral("1");
        for (int op = 0; op < StRecord::kOperations; ++op) {
            for (int i = 0; i < StRecord::kFacts; ++i) {
                player->corFor(op)[i] = (i * 7 + op * 3) % 41;
                player->triedFor(op)[i] = 40;
            }
        }
        myGlobals::gCurPlayer = player;

        dialogs.path = dir.filePath(QStringLiteral("week1.nbx"));
        QFile f(dialogs.path);
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write the saved set");
        for (int i = 1; i <= kProblems; ++i) {
            const QByteArray text = QByteArray::number(i * 3) + " X " + QByteArray::number(i % 10 + 1);
            f.write(QByteArray(1, char(text.size())) + text);
        }
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void use(const Kind& kind) {
    myPrefs::prDataSource = kind.source;
    fixture().player->myParams[StRecord::NumbersParam] = kind.numbers;
}

rndSet build(const Kind& kind) {
    return rndSet(kind.highest, kProblems, kind.op, kind.family, false, fixture().dir.path());
}

// The number of draws one set of this kind makes, averaged over many sets.
int drawsPerSet(const Kind& kind) {
    use(kind);
    App::myRnd().seed(1);
    long long total = 0;
    constexpr int kSets = 2000;
    for (int i = 0; i < kSets; ++i)
        total += build(kind).drawCount();
    return static_cast<int>((total + kSets / 2) / kSets);
}

void buildSets(benchmark::State& state, const Kind& kind) {
    use(kind);
    long long draws = 0;
    for (auto _ : state) {
        const rndSet set = build(kind);
        draws += set.drawCount();
        benchmark::DoNotOptimize(set.getCorAns(kProblems - 1));
    }
    state.counters["draws"] = benchmark::Counter(double(draws), benchmark::Counter::kAvgIterations);
}

void drawAlone(benchmark::State& state, const Kind& kind) {
    const int draws = drawsPerSet(kind);
    for (auto _ : state) {
        for (int i = 0; i < draws; ++i)
            benchmark::DoNotOptimize(App::myRnd().inRange(1, kind.highest));
    }
    state.counters["draws"] = draws;
}

void RandomSet(benchmark::State& state) {
    buildSets(state, kRandom);
}
BENCHMARK(RandomSet);

void RandomSet_Floor(benchmark::State& state) {
    drawAlone(state, kRandom);
}
BENCHMARK(RandomSet_Floor);

void FamilySet(benchmark::State& state) {
    buildSets(state, kFamily);
}
BENCHMARK(FamilySet);

void FamilySet_Floor(benchmark::State& state) {
    drawAlone(state, kFamily);
}
BENCHMARK(FamilySet_Floor);

void AdaptiveSet(benchmark::State& state) {
    buildSets(state, kAdaptive);
}
BENCHMARK(AdaptiveSet);

void AdaptiveSet_Floor(benchmark::State& state) {
    drawAlone(state, kAdaptive);
}
BENCHMARK(AdaptiveSet_Floor);

void SavedSet(benchmark::State& state) {
    use(kSaved);
    for (auto _ : state) {
        const rndSet set = build(kSaved);
        if (set.roundReport().openSetFailed)
            state.SkipWithError("the saved set did not open");
        benchmark::DoNotOptimize(set.getCorAns(kProblems - 1));
    }
}
BENCHMARK(SavedSet);

void SavedSet_Floor(benchmark::State& state) {
    const QByteArray path = fixture().dialogs.path.toLocal8Bit();
    char buffer[4096];
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.constData(), "rb");
        benchmark::DoNotOptimize(std::fread(buffer, 1, sizeof buffer, f));
        std::fclose(f);
    }
}
BENCHMARK(SavedSet_Floor);

} // namespace

BENCHMARK_MAIN();
