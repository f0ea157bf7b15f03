// libFuzzer target: any bytes as a saved problem set. The reader must stop at the end of the data, keep
// at most 20 records, and every set it gives must hold problems the round can show and check, each
// with one whole answer.

#include "data/prefs.h"
#include "data/rndset.h"
#include "data/seams.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

// Answers the file chooser with the file under test and keeps every message to itself.
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

void check(bool condition) {
    if (!condition)
        std::abort();
}

void checkProblem(const rndSet& set, int i) {
    const long long top = set.getTopNum(i);
    const long long bot = set.getBotNum(i);
    const int func = set.getFunc(i);
    check(func >= 0 && func <= 3);
    check(top >= -rndSet::kMaxFirstShown && top <= rndSet::kMaxFirstShown);
    check(bot >= -rndSet::kMaxSecondShown && bot <= rndSet::kMaxSecondShown);
    const long long expected[] = {top + bot, top - bot, top * bot, bot == 0 ? 0 : top / bot};
    check(set.getCorAns(i) == expected[func]);
    check(func != 3 || set.getCorAns(i) * bot == top); // a division kept comes out whole
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir dir;
    static Quiet dialogs;
    static const bool ready = [] {
        Seams::setDialogs(&dialogs);
        myPrefs::initPrefs();
        myPrefs::prDataSource = 2;
        dialogs.path = dir.filePath(QStringLiteral("input.nbx"));
        return dir.isValid();
    }();
    check(ready);
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    // The reader alone, on memory.
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const rndSet::SavedSetRecords read = rndSet::readSavedSet(buffer);
    check(read.texts.size() <= rndSet::kMaxProblems);
    int kept = 0;
    for (const QString& text : read.texts) {
        check(text.size() <= 255);
        const auto p = rndSet::parseProblem(text);
        if (!p || rndSet::canPlay(*p))
            ++kept;
    }

    // The whole way a round opens a file.
    QFile file(dialogs.path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    check(file.write(bytes) == bytes.size());
    file.close();
    const rndSet set(10, 10, 0, false, false, dir.path());
    const rndSet::RoundReport& report = set.roundReport();
    check(report.openSetFailed == (kept == 0));
    if (!report.openSetFailed) {
        check(report.myTotProbs && *report.myTotProbs == kept);
        check(set.getTotProblems() == *report.myTotProbs - 1);
        for (int i = 0; i <= set.getTotProblems(); ++i)
            checkProblem(set, i);
    }
    return 0;
}
