#include "app/media.h"
#include "app/sounds.h"
#include "data/prefs.h"
#include "data/random.h"
#include "support/doubles.h"
#include "tempresources.h"

#include <QtTest>

#include <memory>

// Every feedback sound in a folder of the test's own, played into a recording player.
class TestSounds : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void settingsStringIsReadSafely_data();
    void settingsStringIsReadSafely();
    void stateChoosesTheSound_data();
    void stateChoosesTheSound();
    void randomStateReachesEverySound();
    void missingSoundsAreSilent();
    void liveChangesDoNotTouchTheStoredText();
    void listsNameEverySound();

private:
    void useSettings(const QString& settings);
    std::unique_ptr<TempResources> res;
    std::unique_ptr<TestDoubles::RecordingFeedback> played;
};

void TestSounds::init() {
    res = std::make_unique<TempResources>();
    for (const QString& name : ProjectMedia::soundNames())
        QVERIFY(res->addSound(name));
    played = std::make_unique<TestDoubles::RecordingFeedback>();
    mySounds::loadMySnds();
}

void TestSounds::cleanup() {
    played.reset();
    res.reset();
    myPrefs::initPrefs();
    mySounds::setStates();
}

void TestSounds::useSettings(const QString& settings) {
    myPrefs::prSndSet = settings;
    mySounds::setStates();
}

void TestSounds::settingsStringIsReadSafely_data() {
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("live"); // createSndSet of what was read
    QTest::newRow("default") << "2,0,0,0"
                             << "2,0,0,0";
    QTest::newRow("chosen") << "1,3,0,7"
                            << "1,3,0,7";
    QTest::newRow("empty") << ""
                           << "0,0,0,0";
    QTest::newRow("indexes clamped") << "1,9,-2,3"
                                     << "1,7,0,3";
    QTest::newRow("short") << "1,2"
                           << "1,2,0,0";
    QTest::newRow("unknown state kept") << "3,5,5,5"
                                        << "3,5,5,5";
    QTest::newRow("junk") << "loud,x,,?"
                          << "0,0,0,0";
    QTest::newRow("blanks and fractions") << " 1, 4 ,abc,2.7"
                                          << "1,4,0,2";
    QTest::newRow("extra fields ignored") << "1,3,0,7,9,9"
                                          << "1,3,0,7";
    QTest::newRow("huge numbers") << "1,99999999999999,-99999999999999,7"
                                  << "1,7,0,7";
    QTest::newRow("only commas") << ",,,,,,"
                                 << "0,0,0,0";
}

void TestSounds::settingsStringIsReadSafely() {
    QFETCH(QString, settings);
    QFETCH(QString, live);
    useSettings(settings);
    QCOMPARE(mySounds::createSndSet(), live);
    // Whatever was read, playing never reaches outside a set.
    App::myRnd().seed(3);
    for (int i = 0; i < 20; ++i) {
        mySounds::playRight();
        mySounds::playWrong();
        mySounds::playRound();
        mySounds::playBlip();
    }
}

void TestSounds::stateChoosesTheSound_data() {
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QStringList>("expected"); // right, wrong, round, blip in that order
    QTest::newRow("chosen sounds") << "1,3,0,7" << QStringList{"right4", "wrong1", "round8", "blip"};
    QTest::newRow("capitalised wrong sounds")
        << "1,0,4,0" << QStringList{"right1", "Wrong5", "round1", "blip"};
    QTest::newRow("off, choices kept") << "0,3,0,7" << QStringList{};
    QTest::newRow("empty settings") << "" << QStringList{};
    QTest::newRow("unknown state plays the first of each set")
        << "3,5,5,5" << QStringList{"right1", "wrong1", "round1", "blip"};
    QTest::newRow("negative state") << "-1,5,5,5" << QStringList{"right1", "wrong1", "round1", "blip"};
}

void TestSounds::stateChoosesTheSound() {
    QFETCH(QString, settings);
    QFETCH(QStringList, expected);
    useSettings(settings);
    mySounds::playRight();
    mySounds::playWrong();
    mySounds::playRound();
    mySounds::playBlip();
    QCOMPARE(played->sounds, expected);
}

void TestSounds::randomStateReachesEverySound() {
    useSettings(QStringLiteral("2,0,0,0"));
    App::myRnd().seed(11);
    QSet<QString> right, wrong, round;
    for (int i = 0; i < 400; ++i) {
        mySounds::playRight();
        mySounds::playWrong();
        mySounds::playRound();
    }
    QCOMPARE(played->sounds.size(), 1200);
    for (int i = 0; i < played->sounds.size(); i += 3) {
        right.insert(played->sounds[i]);
        wrong.insert(played->sounds[i + 1]);
        round.insert(played->sounds[i + 2]);
    }
    QCOMPARE(right.size(), 8);
    QCOMPARE(round.size(), 8);
    QCOMPARE(wrong,
             (QSet<QString>{"wrong1", "wrong2", "wrong3", "wrong4", "Wrong5", "Wrong6", "wrong7", "wrong8"}));
}

void TestSounds::missingSoundsAreSilent() {
    // A fresh folder with only some sounds, as after a broken installation.
    res.reset();
    res = std::make_unique<TempResources>();
    QVERIFY(res->addSound(QStringLiteral("right1")));
    QVERIFY(res->addSound(QStringLiteral("right2")));
    mySounds::loadMySnds();
    QVERIFY(mySounds::blipSnd.isEmpty());

    useSettings(QStringLiteral("1,5,0,0"));
    mySounds::playRight();
    mySounds::playWrong();
    mySounds::playRound();
    mySounds::playBlip();
    QVERIFY(played->sounds.isEmpty());

    useSettings(QStringLiteral("2,0,0,0"));
    App::myRnd().seed(5);
    for (int i = 0; i < 100; ++i)
        mySounds::playRight();
    QVERIFY(!played->sounds.isEmpty());
    QVERIFY(played->sounds.size() < 100);
    for (const QString& s : played->sounds)
        QVERIFY2(s == QLatin1String("right1") || s == QLatin1String("right2"), qPrintable(s));
}

void TestSounds::liveChangesDoNotTouchTheStoredText() {
    useSettings(QStringLiteral("1,3,0,7"));
    mySounds::setTheSnd(0, 6);
    mySounds::setTheSnd(1, 42);
    mySounds::setTheSnd(2, -5);
    mySounds::setTheSnd(3, 2); // no such set
    QCOMPARE(mySounds::getCorSnd(), 6);
    QCOMPARE(mySounds::getWrgSndVal(), 7);
    QCOMPARE(mySounds::getRndSndVal(), 0);
    QCOMPARE(mySounds::createSndSet(), QStringLiteral("1,6,7,0"));
    QCOMPARE(myPrefs::prSndSet, QStringLiteral("1,3,0,7"));

    mySounds::setSndState(0);
    QCOMPARE(mySounds::getSndState(), 0);
    mySounds::playRight();
    mySounds::playBlip();
    QVERIFY(played->sounds.isEmpty());
    QCOMPARE(myPrefs::prSndSet, QStringLiteral("1,3,0,7"));
}

void TestSounds::listsNameEverySound() {
    for (int kind = 0; kind < 3; ++kind)
        QCOMPARE(mySounds::listedNames(kind).size(), 8);
    QCOMPARE(mySounds::listedNames(0).at(5), QStringLiteral("Yes!"));
    QCOMPARE(mySounds::listedNames(1).at(7), QStringLiteral("Aw Man!"));
    QCOMPARE(mySounds::listedNames(2).at(7), QStringLiteral("Hasta La Vista"));
    QVERIFY(mySounds::listedNames(3).isEmpty());
}

QTEST_MAIN(TestSounds)
#include "tst_sounds.moc"
