#include "controls/anstimer.h"
#include "games/common/answerfield.h"
#include "support/doubles.h"

#include <QClipboard>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

class TestAnswerField : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void keysTakenAtTheEnd_data();
    void keysTakenAtTheEnd();
    void nothingElseReachesTheText();
    void gateRefusesDigits();
    void longAnswersStayWhole();
    void checkArmsWhenTheTotalIsWhole_data();
    void checkArmsWhenTheTotalIsWhole();

private:
    TestDoubles::RecordingFeedback feedback;
    QWidget* window = nullptr;
    AnswerField* field = nullptr;
};

void TestAnswerField::init() {
    window = new QWidget;
    field = new AnswerField(QStringLiteral("AnsFld"), window);
    // A field after it, where Tab would send the focus.
    auto* next = new QLineEdit(window);
    next->move(0, 60);
    window->show();
    field->setFocus();
    feedback.beeps = 0;
}

void TestAnswerField::cleanup() {
    delete window;
}

void TestAnswerField::keysTakenAtTheEnd_data() {
    QTest::addColumn<QString>("keys"); // 'B' Backspace; 'H' the insertion point put first, 'S' all selected
                                       // (as by the mouse); 'R' the right arrow; 'T' Tab, 'K' Backtab,
                                       // 'E' Return
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("beeps");
    QTest::addColumn<QStringList>("checked");
    QTest::newRow("digits") << "12"
                            << "12" << 0 << QStringList{"1", "12"};
    QTest::newRow("minus passes unchecked") << "-5"
                                            << "-5" << 0 << QStringList{"-5"};
    QTest::newRow("minus after a digit") << "5-"
                                         << "5-" << 0 << QStringList{"5"};
    QTest::newRow("backspace takes the last") << "12B3"
                                              << "13" << 0 << QStringList{"1", "12", "13"};
    QTest::newRow("backspace on nothing") << "B"
                                          << "" << 0 << QStringList{};
    QTest::newRow("letters and blanks beep") << "1a 2."
                                             << "12" << 3 << QStringList{"1", "12"};
    QTest::newRow("insertion point moved") << "12H3"
                                           << "123" << 0 << QStringList{"1", "12", "123"};
    QTest::newRow("text selected") << "12S3"
                                   << "123" << 0 << QStringList{"1", "12", "123"};
    QTest::newRow("arrows beep") << "1R"
                                 << "1" << 1 << QStringList{"1"};
    QTest::newRow("tab beeps and stays") << "1T2"
                                         << "12" << 1 << QStringList{"1", "12"};
    QTest::newRow("backtab and return beep") << "K1E"
                                             << "1" << 2 << QStringList{"1"};
}

void TestAnswerField::keysTakenAtTheEnd() {
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    QFETCH(int, beeps);
    QFETCH(QStringList, checked);
    QSignalSpy typed(field, &AnswerField::digitTyped);
    for (QChar c : keys) {
        if (c == 'B')
            QTest::keyClick(field, Qt::Key_Backspace);
        else if (c == 'H')
            field->setCursorPosition(0);
        else if (c == 'S')
            field->selectAll();
        else if (c == 'R')
            QTest::keyClick(field, Qt::Key_Right);
        else if (c == 'T')
            QTest::keyClick(field, Qt::Key_Tab);
        else if (c == 'K')
            QTest::keyClick(field, Qt::Key_Backtab, Qt::ShiftModifier);
        else if (c == 'E')
            QTest::keyClick(field, Qt::Key_Return);
        else
            QTest::keyClicks(field, QString(c));
    }
    QCOMPARE(field->text(), shown);
    QCOMPARE(feedback.beeps, beeps);
    // No key takes the focus away: the next digit typed still lands here.
    QCOMPARE(window->focusWidget(), field);
    QStringList seen;
    for (const QList<QVariant>& args : typed)
        seen << args.at(0).toString();
    QCOMPARE(seen, checked);
}

void TestAnswerField::nothingElseReachesTheText() {
    QTest::keyClicks(field, QStringLiteral("4"));
    QGuiApplication::clipboard()->setText(QStringLiteral("999"));
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(field->text(), QStringLiteral("4"));
    QCOMPARE(feedback.beeps, 1);
    // Edit > Paste calls the field's paste; Undo and Cut go the same way.
    QMetaObject::invokeMethod(field, "paste");
    QCOMPARE(field->text(), QStringLiteral("4"));
    QMetaObject::invokeMethod(field, "selectAll");
    QMetaObject::invokeMethod(field, "cut");
    QCOMPARE(field->text(), QStringLiteral("4"));
    QCOMPARE(feedback.beeps, 3);
    QVERIFY(!field->acceptDrops());
    QCOMPARE(field->contextMenuPolicy(), Qt::NoContextMenu);
    // The program's own texts pass without a beep.
    field->display(QStringLiteral("-20736"));
    QCOMPARE(field->text(), QStringLiteral("-20736"));
    field->empty();
    QCOMPARE(field->text(), QString());
    QCOMPARE(feedback.beeps, 3);
}

void TestAnswerField::gateRefusesDigits() {
    bool open = false;
    field->setDigitGate([&open] { return open; });
    QSignalSpy typed(field, &AnswerField::digitTyped);
    QTest::keyClicks(field, QStringLiteral("7-"));
    QCOMPARE(field->text(), QStringLiteral("-"));
    QCOMPARE(feedback.beeps, 1);
    QCOMPARE(typed.count(), 0);
    open = true;
    QTest::keyClicks(field, QStringLiteral("7"));
    QCOMPARE(field->text(), QStringLiteral("-7"));
    QCOMPARE(typed.count(), 1);
}

void TestAnswerField::longAnswersStayWhole() {
    field->resize(120, 54);
    field->setLargestTextSize(36);
    field->display(QStringLiteral("12"));
    QCOMPARE(field->font().pixelSize(), 36);
    field->display(QStringLiteral("2985984"));
    QVERIFY(field->font().pixelSize() < 36);
    QVERIFY(field->fontMetrics().horizontalAdvance(field->text()) <= field->width() - 8);
    // Typing grows it back to the largest size once it fits again.
    field->empty();
    QTest::keyClicks(field, QStringLiteral("7"));
    QCOMPARE(field->font().pixelSize(), 36);
}

// The games arm their check from the field's digits; the total's length decides when.
void TestAnswerField::checkArmsWhenTheTotalIsWhole_data() {
    QTest::addColumn<int>("total");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("armedAfter"); // keys typed when the check first armed; 0 never
    QTest::addColumn<int>("judged");
    QTest::newRow("12") << 12 << "12" << 2 << 12;
    QTest::newRow("0, right") << 0 << "0" << 1 << 0;
    QTest::newRow("0, a wrong digit decides too") << 0 << "7" << 1 << 7;
    QTest::newRow("-5") << -5 << "-5" << 2 << -5;
    QTest::newRow("-5, the digit alone is short") << -5 << "5-" << 0 << 0;
    QTest::newRow("past 32 bits reads saturated") << 12 << "99999999999" << 2 << 2147483647;
}

void TestAnswerField::checkArmsWhenTheTotalIsWhole() {
    QFETCH(int, total);
    QFETCH(QString, keys);
    QFETCH(int, armedAfter);
    QFETCH(int, judged);
    AnsTimer check;
    check.setInterval(300);
    connect(field, &AnswerField::digitTyped, &check,
            [&check, total](const QString& text) { check.armIfComplete(text, total); });
    int armedAt = 0;
    for (int i = 0; i < keys.size(); ++i) {
        QTest::keyClicks(field, QString(keys[i]));
        if (!armedAt && check.isActive())
            armedAt = i + 1;
    }
    QCOMPARE(armedAt, armedAfter);
    if (armedAfter) {
        QCOMPARE(check.theCorAns, total);
        QCOMPARE(check.userAns, judged);
        QCOMPARE(check.userAns == check.theCorAns, judged == total);
    }
}

QTEST_MAIN(TestAnswerField)
#include "tst_answerfield.moc"
