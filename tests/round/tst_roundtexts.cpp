#include "round/roundtexts.h"

#include <QtTest>

class TestRoundTexts : public QObject {
    Q_OBJECT
private slots:
    void missedLines_data();
    void missedLines();
    void spokenMissedAnswers_data();
    void spokenMissedAnswers();
    void spokenProblems_data();
    void spokenProblems();
    void resultMessages();
};

void TestRoundTexts::missedLines_data() {
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("operation");
    QTest::addColumn<int>("second");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("line");
    QTest::newRow("addition") << 7 << 0 << 5 << 12 << "7 + 5 = 12\n";
    QTest::newRow("negative result") << 9 << 1 << 12 << -3 << "9 - 12 = -3\n";
    QTest::newRow("multiplication") << 6 << 2 << 7 << 42 << "6 x 7 = 42\n";
    QTest::newRow("division") << 12 << 3 << 3 << 4 << "12 \u00F7 3 = 4\n";
    QTest::newRow("negative second") << 5 << 0 << -3 << 2 << "5 + -3 = 2\n";
}

void TestRoundTexts::missedLines() {
    QFETCH(int, first);
    QFETCH(int, operation);
    QFETCH(int, second);
    QFETCH(int, result);
    QFETCH(QString, line);
    QCOMPARE(RoundTexts::missedLine(first, operation, second, result), line);
}

void TestRoundTexts::spokenMissedAnswers_data() {
    QTest::addColumn<QString>("missed");
    QTest::addColumn<QString>("spoken");
    // Blanks that the replacements bring stay: nothing is merged or trimmed.
    QTest::newRow("subtraction, negative answer") << "9 - 12 = -3\n"
                                                  << "9  minus 12 equals  negative 3. ";
    QTest::newRow("addition of a negative") << "5 + -3 = 2\n"
                                            << "5  plus   negative 3 equals 2. ";
    QTest::newRow("subtraction of a negative") << "4 - -2 = 6\n"
                                               << "4  minus  negative 2 equals 6. ";
    QTest::newRow("times and divided by, in order") << "6 x 7 = 42\n12 \u00F7 3 = 4\n"
                                                    << "6  times  7 equals 42. 12  divided by  3 equals 4. ";
}

void TestRoundTexts::spokenMissedAnswers() {
    QFETCH(QString, missed);
    QFETCH(QString, spoken);
    QCOMPARE(RoundTexts::convertTxt(missed), spoken);
    QCOMPARE(RoundTexts::missedSpeech(missed),
             QStringLiteral("Nice Try. The missed problems are: ") + spoken);
}

void TestRoundTexts::spokenProblems_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("operation");
    QTest::addColumn<int>("second");
    QTest::addColumn<QString>("spoken");
    QTest::newRow("first problem") << 1 << 7 << 0 << 5 << "problem number 1. 7 plus 5";
    QTest::newRow("negative first") << 3 << -4 << 2 << 6 << "problem number 3.  negative 4 times 6";
    QTest::newRow("minus a negative") << 12 << 9 << 1 << -12 << "problem number 12. 9 minus  negative 12";
    QTest::newRow("division") << 20 << 56 << 3 << 8 << "problem number 20. 56 divided by 8";
}

void TestRoundTexts::spokenProblems() {
    QFETCH(int, number);
    QFETCH(int, first);
    QFETCH(int, operation);
    QFETCH(int, second);
    QFETCH(QString, spoken);
    QCOMPARE(RoundTexts::problemSpeech(number, first, operation, second), spoken);
}

void TestRoundTexts::resultMessages() {
    QCOMPARE(RoundTexts::perfectMessage(QStringLiteral("Ann")),
             QStringLiteral("Well Done, Ann.\nYou were perfect this round!!!"));
    QCOMPARE(RoundTexts::niceTryMessage(QStringLiteral("Bo")),
             QStringLiteral("Nice Try, Bo.\nCheck your missed answers."));
    QCOMPARE(RoundTexts::roundTime(37), QStringLiteral("Time for this round: 37 seconds"));
}

QTEST_GUILESS_MAIN(TestRoundTexts)
#include "tst_roundtexts.moc"
