#include "data/gamebests.h"

#include <QLocale>
#include <QTest>

class TestGameBests : public QObject {
    Q_OBJECT
private slots:
    void formats_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("average");
        QTest::addColumn<QString>("running");
        QTest::addColumn<QString>("plain");
        QTest::newRow("2.5") << 2.5 << "2.50"
                             << "2.5"
                             << "2.5";
        QTest::newRow("0.6") << 0.6 << ".60"
                             << ".6"
                             << "0.6";
        QTest::newRow("0.625 half up") << 0.625 << ".63"
                                       << ".63"
                                       << "0.63";
        QTest::newRow("7.497") << 7.497 << "7.50"
                               << "7.5"
                               << "7.5";
        QTest::newRow("7.495 as written") << 7.495 << "7.50"
                                          << "7.5"
                                          << "7.5";
        QTest::newRow("22/3") << 22.0 / 3.0 << "7.33"
                              << "7.33"
                              << "7.33";
        QTest::newRow("12") << 12.0 << "12.00"
                            << "12"
                            << "12";
        QTest::newRow("0") << 0.0 << ".00"
                           << "0"
                           << "0";
        QTest::newRow("99.99") << 99.99 << "99.99"
                               << "99.99"
                               << "99.99";
        // A stored best is never below 0; a running average can be (a right answer takes a second off).
        QTest::newRow("negative") << -3.0 << ".00"
                                  << "-3"
                                  << "-3";
        QTest::newRow("negative below one") << -0.6 << ".00"
                                            << "-.6"
                                            << "-0.6";
        QTest::newRow("negative half up") << -7.495 << ".00"
                                          << "-7.5"
                                          << "-7.5";
        QTest::newRow("negative rounding to 0") << -0.004 << ".00"
                                                << "0"
                                                << "0";
    }
    void formats() {
        QFETCH(double, value);
        QFETCH(QString, average);
        QFETCH(QString, running);
        QFETCH(QString, plain);
        QCOMPARE(GameBests::formatAverage(value), average);
        QCOMPARE(GameBests::formatRunningAverage(value), running);
        QCOMPARE(GameBests::formatPlain(value), plain);
    }

    void formatsIgnoreTheLocale() {
        const QLocale before;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(GameBests::formatAverage(12.0), QStringLiteral("12.00"));
        QCOMPARE(GameBests::readAverage(QStringLiteral("7.5")), 7.5);
        QLocale::setDefault(before);
    }

    void readsStoredAverages_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<double>("value");
        QTest::newRow("leading point") << ".60" << 0.6;
        QTest::newRow("plain") << "3.5" << 3.5;
        QTest::newRow("whole") << "12" << 12.0;
        QTest::newRow("no best yet") << "99.99" << 99.99;
        QTest::newRow("not a number") << "abc" << GameBests::kNoAverage;
        QTest::newRow("empty") << "" << GameBests::kNoAverage;
        QTest::newRow("zero is no best") << "0" << GameBests::kNoAverage;
        QTest::newRow("negative is no best") << "-2" << GameBests::kNoAverage;
        QTest::newRow("comma is no number") << "7,5" << GameBests::kNoAverage;
    }
    void readsStoredAverages() {
        QFETCH(QString, stored);
        QFETCH(double, value);
        QCOMPARE(GameBests::readAverage(stored), value);
    }

    void beatsOnlyWhenStrictlyLower() {
        QVERIFY(GameBests::beatsAverage(12.0, QStringLiteral("99.99")));
        QVERIFY(!GameBests::beatsAverage(7.5, QStringLiteral("7.50"))); // equal is no improvement
        QVERIFY(GameBests::beatsAverage(7.497, QStringLiteral("7.50")));
        QVERIFY(!GameBests::beatsAverage(7.501, QStringLiteral("7.50")));
        QVERIFY(GameBests::beatsAverage(3.0, QStringLiteral("garbage")));
        QVERIFY(!GameBests::beatsAverage(-1.0, QStringLiteral("99.99")));
    }

    void readsScores() {
        QCOMPARE(GameBests::readScore(QStringLiteral("300")), 300LL);
        QCOMPARE(GameBests::readScore(QStringLiteral("0")), 0LL);
        QCOMPARE(GameBests::readScore(QStringLiteral("")), 0LL);
        QCOMPARE(GameBests::readScore(QStringLiteral("abc")), 0LL);
        QCOMPARE(GameBests::readScore(QStringLiteral("-40")), 0LL);
        QCOMPARE(GameBests::readScore(QStringLiteral("99.99")), 99LL);
    }
};

QTEST_GUILESS_MAIN(TestGameBests)
#include "tst_gamebests.moc"
