// Saved problem sets (".nbx"): what each record text becomes, files of every shape, the chooser, and a
// seeded loop of damaged files that must each give a defined result.

#include "data/globals.h"
#include "data/prefs.h"
#include "data/random.h"
#include "data/rndset.h"
#include "data/strecord.h"
#include "support/doubles.h"
#include "support/outsideinputs.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <random>

namespace {

const QString kUnable = QStringLiteral("Unable to open a saved number set.\nA random set will be created.");
const QString kLeftOut =
    QStringLiteral("This set has more than 20 problems.\nOnly the first 20 will be used.");

// Remembers where the chooser was asked to start and what it was asked to show.
class Chooser : public TestDoubles::ScriptedDialogs {
public:
    QString folder;
    QStringList fileTypes;
    QString openFile(const Seams::FileRequest& request) override {
        folder = request.folder;
        fileTypes = request.fileTypes;
        return ScriptedDialogs::openFile(request);
    }
};

QByteArray record(const QByteArray& text) {
    return char(text.size()) + text;
}

QByteArray records(const QList<QByteArray>& texts) {
    QByteArray out;
    for (const QByteArray& t : texts)
        out += record(t);
    return out;
}

QByteArray numbered(int count) {
    QByteArray out;
    for (int i = 1; i <= count; ++i)
        out += record(QByteArray::number(i) + " + 1");
    return out;
}

} // namespace

class TestSavedSets : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString write(const QByteArray& bytes) {
        const QString path = dir_.filePath(QStringLiteral("week1.nbx"));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
            qFatal("cannot write the test file");
        return path;
    }

    // The set the drill round gets when the student picks the file at `path` (empty: cancels).
    std::unique_ptr<rndSet> open(Chooser& chooser, const QString& path, int problemsSetting = 10) {
        if (!path.isEmpty())
            chooser.paths.push_back(path);
        return std::make_unique<rndSet>(10, problemsSetting, 0, false, false, dir_.path());
    }

private slots:
    void init() {
        myPrefs::initPrefs();
        myPrefs::prDataSource = 2;
        auto player = std::make_shared<StRecord>("Ann Lee", "Default", 1, QString(), 0);
        player->myParams = StRecord::defaultParams();
        myGlobals::gCurPlayer = player;
    }
    void cleanup() { myGlobals::gCurPlayer.reset(); }

    void recordTexts_data();
    void recordTexts();
    void fileShapes_data();
    void fileShapes();
    void unshowableProblemsAreLeftOut_data();
    void unshowableProblemsAreLeftOut();
    void chooserStartsInTheSetsFolder();
    void filesThatCannotBeRead();
    void whatIsNoSetFileIsRefusedAtOnce_data();
    void whatIsNoSetFileIsRefusedAtOnce();
    void damagedFilesGiveDefinedSets();
};

void TestSavedSets::recordTexts_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("func");
    QTest::addColumn<int>("bot");
    QTest::addColumn<int>("answer");

    QTest::newRow("addition") << QByteArray("3 + 4") << 3 << 0 << 4 << 7;
    QTest::newRow("subtraction") << QByteArray("12 - 5") << 12 << 1 << 5 << 7;
    QTest::newRow("multiplication") << QByteArray("6 X 7") << 6 << 2 << 7 << 42;
    QTest::newRow("division") << QByteArray("56 / 8") << 56 << 3 << 8 << 7;
    QTest::newRow("lower-case x") << QByteArray("6 x 7") << 6 << 2 << 7 << 42;
    QTest::newRow("negative first") << QByteArray("-3 + 5") << -3 << 0 << 5 << 2;
    QTest::newRow("minus a negative") << QByteArray("5 - -3") << 5 << 1 << -3 << 8;
    QTest::newRow("negative minus") << QByteArray("-5 - 3") << -5 << 1 << 3 << -8;
    QTest::newRow("divided by a negative") << QByteArray("6 / -3") << 6 << 3 << -3 << -2;
    QTest::newRow("minus without blanks") << QByteArray("5-3") << 0 << 0 << 0 << 0;
    QTest::newRow("minus with one blank") << QByteArray("9 -3") << 0 << 0 << 0 << 0;
    QTest::newRow("empty") << QByteArray("") << 0 << 0 << 0 << 0;
    QTest::newRow("number alone") << QByteArray("12") << 0 << 0 << 0 << 0;
    QTest::newRow("Latin-1 times sign") << QByteArray("7 \xd7 3") << 0 << 0 << 0 << 0;
    QTest::newRow("fractions dropped") << QByteArray("3.7 + 2.9") << 3 << 0 << 2 << 5;
    QTest::newRow("extra blanks") << QByteArray("  4   +   9  ") << 4 << 0 << 9 << 13;
    QTest::newRow("second sign ends the number") << QByteArray("5 + 3 + 2") << 5 << 0 << 3 << 8;
    QTest::newRow("second sign right after") << QByteArray("4 + +3") << 4 << 0 << 0 << 4;
    QTest::newRow("word for a number") << QByteArray("two + 2") << 0 << 0 << 2 << 2;
    QTest::newRow("X found before /") << QByteArray("8 / 2 X 4") << 8 << 2 << 4 << 32;
    QTest::newRow("x of a word is no sign") << QByteArray("8 / 2 box") << 8 << 3 << 2 << 4;
    QTest::newRow("negative division") << QByteArray("-56 / 8") << -56 << 3 << 8 << -7;
    QTest::newRow("0 divided") << QByteArray("0 / 7") << 0 << 3 << 7 << 0;
    QTest::newRow("x without numbers is no sign") << QByteArray("box") << 0 << 0 << 0 << 0;
    QTest::newRow("x before a negative") << QByteArray("4 x -2") << 4 << 2 << -2 << -8;
    QTest::newRow("999 and 99 still show") << QByteArray("-999 X -99") << -999 << 2 << -99 << 98901;
    QTest::newRow("255 bytes") << QByteArray("3 + 4").leftJustified(255, ' ') << 3 << 0 << 4 << 7;
}

// Each text as the only record of a file, opened as the round opens it.
void TestSavedSets::recordTexts() {
    QFETCH(QByteArray, text);
    QFETCH(int, top);
    QFETCH(int, func);
    QFETCH(int, bot);
    QFETCH(int, answer);
    Chooser chooser;
    const auto set = open(chooser, write(record(text)));
    QVERIFY(!set->roundReport().openSetFailed);
    QCOMPARE(set->roundReport().myTotProbs, std::optional<int>(1));
    QCOMPARE(set->getTotProblems(), 0);
    QCOMPARE(set->getTopNum(0), top);
    QCOMPARE(set->getFunc(0), func);
    QCOMPARE(set->getBotNum(0), bot);
    QCOMPARE(set->getCorAns(0), answer);
    QVERIFY(chooser.messages().isEmpty());
}

void TestSavedSets::unshowableProblemsAreLeftOut_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<int>>("answers"); // empty: the open fails
    QTest::addColumn<QString>("message");

    QTest::newRow("second over 99") << records({"3 + 4", "6 / 120", "2 X 5"}) << QList<int>{7, 10}
                                    << "1 problem of this set uses a number";
    QTest::newRow("several") << records({"1000 + 5", "3 + 4", "5 X 250", "-2000 - 3", "99999999999 X 2"})
                             << QList<int>{7} << "4 problems of this set use numbers";
    QTest::newRow("all of them") << records({"1000 + 5"}) << QList<int>{}
                                 << "1 problem of this set uses a number";
    // A round would otherwise teach "7 / 2 = 3" and "5 / 0 = 0" as right answers.
    QTest::newRow("division not whole") << records({"3 + 4", "7 / 2", "56 / 8"}) << QList<int>{7, 7}
                                        << "1 division of this set does not give a whole number";
    QTest::newRow("divisions not whole, by 0, negative")
        << records({"5 / 0", "-7 / 2", "6 / -3", "0 / 0", "9 X 9"}) << QList<int>{-2, 81}
        << "3 divisions of this set do not give a whole number or divide by 0.";
    QTest::newRow("too large and not whole")
        << records({"1000 + 5", "7 / 2", "8 / 4"}) << QList<int>{2} << "1 problem of this set uses a number";
    QTest::newRow("only divisions by 0")
        << records({"5 / 0", "0 / 0"}) << QList<int>{} << "2 divisions of this set";
}

// The round shows at most three digits of the first number and two of the second: a problem with
// larger numbers is never changed into another one ("6 / 120" is not 6 / 99 with the answer 0). A
// division without a whole answer is left out too, and counted in the same message.
void TestSavedSets::unshowableProblemsAreLeftOut() {
    QFETCH(QByteArray, bytes);
    QFETCH(QList<int>, answers);
    QFETCH(QString, message);
    Chooser chooser;
    const auto set = open(chooser, write(bytes));
    const QStringList shown = chooser.messages();
    QVERIFY(!shown.isEmpty());
    QVERIFY2(shown.first().startsWith(message), qPrintable(shown.first()));
    QVERIFY(shown.first().endsWith(QStringLiteral("They were left out.")));
    if (QTest::currentDataTag() == QLatin1String("too large and not whole"))
        QVERIFY(shown.first().contains(
            "\n1 division of this set does not give a whole number or divides by 0.\n"));
    if (answers.isEmpty()) {
        QVERIFY(set->roundReport().openSetFailed);
        QCOMPARE(shown.last(), kUnable);
        return;
    }
    QCOMPARE(shown.size(), 1);
    QCOMPARE(set->roundReport().myTotProbs, std::optional<int>(int(answers.size())));
    for (int i = 0; i < answers.size(); ++i)
        QCOMPARE(set->getCorAns(i), answers[i]);
}

void TestSavedSets::fileShapes_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("problems"); // 0: the open fails
    QTest::addColumn<bool>("leftOut");

    QTest::newRow("the four operations") << records({"3 + 4", "12 - 5", "6 X 7", "56 / 8"}) << 4 << false;
    QTest::newRow("empty file") << QByteArray() << 0 << false;
    QTest::newRow("one byte: an empty record") << QByteArray(1, '\0') << 1 << false;
    QTest::newRow("one byte: a length alone") << QByteArray(1, '\5') << 0 << false;
    QTest::newRow("length past the end") << QByteArray("\x09"
                                                       "3 + 4")
                                         << 0 << false;
    QTest::newRow("truncated last record") << record("3 + 4") + QByteArray("\x09"
                                                                           "1 +")
                                           << 1 << false;
    QTest::newRow("255-byte records")
        << records(QList<QByteArray>(3, QByteArray("2 X 9").leftJustified(255, ' '))) << 3 << false;
    QTest::newRow("more problems than the settings ask for") << numbered(14) << 14 << false;
    QTest::newRow("20 records") << numbered(20) << 20 << false;
    QTest::newRow("20 records and a truncated one") << numbered(20) + QByteArray("\x20"
                                                                                 "21 + 1")
                                                    << 20 << false;
    QTest::newRow("21 records") << numbered(21) << 20 << true;
    QTest::newRow("300 records") << numbered(300) << 20 << true;
}

void TestSavedSets::fileShapes() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, problems);
    QFETCH(bool, leftOut);
    Chooser chooser;
    const auto set = open(chooser, write(bytes));
    const rndSet::RoundReport& report = set->roundReport();
    if (problems == 0) {
        // A file without one complete problem is no set: the round is told, and plays a random set.
        QVERIFY(report.openSetFailed);
        QVERIFY(!report.myTotProbs);
        QCOMPARE(chooser.messages(), QStringList{kUnable});
        return;
    }
    QVERIFY(!report.openSetFailed);
    QCOMPARE(report.myTotProbs, std::optional<int>(problems));
    QCOMPARE(set->getTotProblems(), problems - 1);
    QCOMPARE(chooser.messages(), leftOut ? QStringList{kLeftOut} : QStringList{});
    // Problems keep their file order.
    if (bytes.startsWith(record("1 + 1"))) {
        for (int i = 0; i < problems; ++i)
            QCOMPARE(set->getCorAns(i), i + 2);
    }
    if (QTest::currentDataTag() == QLatin1String("the four operations")) {
        for (int i = 0; i < 4; ++i)
            QCOMPARE(set->getCorAns(i), QList<int>({7, 7, 42, 7})[i]);
    }
}

void TestSavedSets::chooserStartsInTheSetsFolder() {
    Chooser chooser;
    const auto set = open(chooser, write(numbered(5)));
    QCOMPARE(chooser.shown.size(), 1);
    QCOMPARE(chooser.shown.first().kind, TestDoubles::Shown::OpenFile);
    QCOMPARE(chooser.shown.first().message, QStringLiteral("Select a 'Numbrook Riza' set file"));
    QCOMPARE(chooser.folder, dir_.path());
    QCOMPARE(chooser.fileTypes, QStringList{"SavedSet"});
    QCOMPARE(set->getTotProblems(), 4);

    // A forced random set replaces a failed one without asking again.
    chooser.shown.clear();
    const rndSet forced(10, 10, 0, false, true, dir_.path());
    QVERIFY(chooser.shown.isEmpty());
    QCOMPARE(forced.getTotProblems(), 9);
    QVERIFY(forced.getBotNum(0) >= 1);
}

void TestSavedSets::filesThatCannotBeRead() {
    for (const QString& path : {QString(), dir_.filePath("missing.nbx"), dir_.path()}) {
        Chooser chooser;
        const auto set = open(chooser, path);
        QVERIFY2(set->roundReport().openSetFailed, qPrintable(path));
        QVERIFY(!set->roundReport().myTotProbs);
        QCOMPARE(chooser.messages(), QStringList{kUnable});
        QCOMPARE(set->getCorAns(0), 0);
    }
}

void TestSavedSets::whatIsNoSetFileIsRefusedAtOnce_data() {
    OutsideInputs::addRows();
}

void TestSavedSets::whatIsNoSetFileIsRefusedAtOnce() {
    QFETCH(QString, kind);
    QTemporaryDir folder;
    const QString path = OutsideInputs::make(kind, folder.path(), rndSet::kMaxSetFileBytes);
    QVERIFY(!path.isEmpty());
    const OutsideInputs::PipeRelease release(path);
    Chooser chooser;
    QElapsedTimer clock;
    clock.start();
    const auto set = open(chooser, path);
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QStringLiteral("%1 ms").arg(clock.elapsed())));
    QVERIFY(set->roundReport().openSetFailed);
    QCOMPARE(chooser.messages(), QStringList{kUnable});
    const rndSet::SavedSetRecords records = rndSet::readSavedSetFile(path);
    QVERIFY(!records.readable);
    QCOMPARE(records.tooLarge, kind == QLatin1String("one byte too many"));
}

// Damaged files from a seeded generator: every one gives either a failed open or a set of 1 to 20
// problems the round can show and check, and reading it never crashes or hangs.
void TestSavedSets::damagedFilesGiveDefinedSets() {
    std::mt19937 rng(20240601);
    const auto pick = [&rng](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(rng);
    };
    const QByteArray alphabet("0123456789+-Xx/ .-");
    int failed = 0;
    int read = 0;
    for (int round = 0; round < 1500; ++round) {
        QByteArray bytes;
        const int count = pick(0, 30);
        for (int r = 0; r < count; ++r) {
            QByteArray text;
            const int length = pick(0, r % 7 == 0 ? 255 : 12);
            for (int k = 0; k < length; ++k)
                text += pick(0, 9) == 0 ? char(pick(0, 255)) : alphabet[pick(0, alphabet.size() - 1)];
            bytes += record(text);
        }
        for (int flips = pick(0, 3); flips > 0 && !bytes.isEmpty(); --flips)
            bytes[pick(0, bytes.size() - 1)] = char(pick(0, 255));
        if (pick(0, 2) == 0 && !bytes.isEmpty())
            bytes.truncate(pick(0, bytes.size() - 1));

        // The complete records, counted straight from the bytes; of the first 20, those the round can
        // play are kept.
        int complete = 0;
        int kept = 0;
        int leftOut = 0;
        for (qsizetype at = 0; at < bytes.size();) {
            const int length = static_cast<unsigned char>(bytes[at]);
            if (at + 1 + length > bytes.size())
                break;
            if (++complete <= 20) {
                const auto p = rndSet::parseProblem(QString::fromLatin1(bytes.mid(at + 1, length)));
                (p && !rndSet::canPlay(*p)) ? ++leftOut : ++kept;
            }
            at += 1 + length;
        }

        Chooser chooser;
        const auto set = open(chooser, write(bytes));
        const rndSet::RoundReport& report = set->roundReport();
        QCOMPARE(report.openSetFailed, kept == 0);
        const QStringList shown = chooser.messages();
        QCOMPARE(shown.size(), int(complete > 20) + int(leftOut > 0) + int(kept == 0));
        if (complete > 20)
            QCOMPARE(shown.first(), kLeftOut);
        if (leftOut > 0)
            QVERIFY(shown[complete > 20 ? 1 : 0].contains(QStringLiteral("left out")));
        if (report.openSetFailed) {
            ++failed;
            continue;
        }
        ++read;
        const int n = kept;
        QCOMPARE(report.myTotProbs, std::optional<int>(n));
        QCOMPARE(set->getTotProblems(), n - 1);
        for (int i = 0; i < n; ++i) {
            const qint64 top = set->getTopNum(i);
            const qint64 bot = set->getBotNum(i);
            QVERIFY(std::abs(top) <= 999 && std::abs(bot) <= 99);
            const qint64 expected[] = {top + bot, top - bot, top * bot, bot == 0 ? 0 : top / bot};
            QVERIFY(set->getFunc(i) >= 0 && set->getFunc(i) <= 3);
            QCOMPARE(qint64(set->getCorAns(i)), expected[set->getFunc(i)]);
            if (set->getFunc(i) == 3) // every division kept checks back
                QCOMPARE(qint64(set->getCorAns(i)) * bot, top);
        }
    }
    // The generator made both kinds often enough for the loop to mean something.
    QVERIFY(failed > 100 && read > 1000);
}

QTEST_GUILESS_MAIN(TestSavedSets)
#include "tst_rndsetfile.moc"
