#include "controls/ghostef.h"

#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

namespace {
const QString kHint = QStringLiteral("Select a class OR enter a new class");
const QColor kGrey(204, 204, 204);

void focusIn(QWidget& w) {
    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(&w, &in);
}
} // namespace

class TestGhostEF : public QObject {
    Q_OBJECT
private slots:
    void setMyText_data();
    void setMyText();
    void enteringAHintEmptiesTheField();
    void enteringAValueSelectsIt();
    void everyKeyMakesAValue_data();
    void everyKeyMakesAValue();
    void reportsTheLengthBeforeTheKey();
    void drawsTheHintInGrey();
};

void TestGhostEF::setMyText_data() {
    QTest::addColumn<QString>("before"); // "value", "hint" or "" for a new field
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("color");
    QTest::addColumn<bool>("holdsValue");
    QTest::newRow("value") << ""
                           << "Grade 3" << kHint << "Grade 3" << QColor(Qt::black) << true;
    QTest::newRow("hint") << "value"
                          << "" << kHint << kHint << kGrey << false;
    // Neither: the field empties but keeps its colour and state.
    QTest::newRow("neither after a hint") << "hint"
                                          << ""
                                          << ""
                                          << "" << kGrey << false;
    QTest::newRow("neither after a value") << "value"
                                           << ""
                                           << ""
                                           << "" << QColor(Qt::black) << true;
    QTest::newRow("neither on a new field") << ""
                                            << ""
                                            << ""
                                            << "" << QColor(Qt::black) << false;
}

void TestGhostEF::setMyText() {
    QFETCH(QString, before);
    QFETCH(QString, value);
    QFETCH(QString, hint);
    QFETCH(QString, text);
    QFETCH(QColor, color);
    QFETCH(bool, holdsValue);
    ghostEF field;
    if (before == "value")
        field.setMyText("old", kHint);
    else if (before == "hint")
        field.setMyText("", kHint);
    field.setMyText(value, hint);
    QCOMPARE(field.text(), text);
    QCOMPARE(field.textColor(), color);
    QCOMPARE(field.holdsValue(), holdsValue);
    // Not Qt's placeholder: the hint is the field's text.
    QVERIFY(field.placeholderText().isEmpty());
}

void TestGhostEF::enteringAHintEmptiesTheField() {
    ghostEF field;
    field.setMyText("", kHint);
    focusIn(field);
    QCOMPARE(field.text(), QString());
    QCOMPARE(field.textColor(), QColor(Qt::black));
    QVERIFY(!field.holdsValue());
    // Leaving again without typing leaves it empty, still without a value.
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(&field, &out);
    QCOMPARE(field.text(), QString());
    QVERIFY(!field.holdsValue());
}

void TestGhostEF::enteringAValueSelectsIt() {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* other = new QLineEdit(&window);
    auto* field = new ghostEF(&window);
    layout->addWidget(other);
    layout->addWidget(field);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    field->setMyText("Grade 3", kHint);
    // A click puts the cursor first; the whole value is selected after it.
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(5, field->height() / 2));
    QTRY_COMPARE(field->selectedText(), QStringLiteral("Grade 3"));
    QCOMPARE(field->text(), QStringLiteral("Grade 3"));
}

void TestGhostEF::everyKeyMakesAValue_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("letter") << int(Qt::Key_A);
    QTest::newRow("arrow") << int(Qt::Key_Left);
    QTest::newRow("tab") << int(Qt::Key_Tab);
    QTest::newRow("backspace") << int(Qt::Key_Backspace);
}

void TestGhostEF::everyKeyMakesAValue() {
    QFETCH(int, key);
    ghostEF field;
    QSignalSpy spy(&field, &ghostEF::myTextChanged);
    field.setMyText("", kHint);
    QTest::keyClick(&field, Qt::Key(key));
    QVERIFY(field.holdsValue());
    QCOMPARE(spy.size(), 1);
}

void TestGhostEF::reportsTheLengthBeforeTheKey() {
    ghostEF field;
    QSignalSpy spy(&field, &ghostEF::myTextChanged);
    focusIn(field);
    QTest::keyClicks(&field, "abc");
    QCOMPARE(field.text(), QStringLiteral("abc"));
    QCOMPARE(spy.size(), 3);
    QCOMPARE(spy[0].at(0).toInt(), 0);
    QCOMPARE(spy[1].at(0).toInt(), 1);
    QCOMPARE(spy[2].at(0).toInt(), 2);
    QTest::keyClick(&field, Qt::Key_Backspace);
    QCOMPARE(spy.last().at(0).toInt(), 3);
    QCOMPARE(field.text(), QStringLiteral("ab"));
}

void TestGhostEF::drawsTheHintInGrey() {
    ghostEF field;
    field.resize(300, 24);
    field.setMyText("", kHint);
    const QImage hint = field.grab().toImage();
    field.setMyText("Grade 3", kHint);
    const QImage value = field.grab().toImage();
    auto darkest = [](const QImage& image) {
        int least = 255;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 4; x < 120; ++x)
                least = std::min(least, qGray(image.pixel(x, y)));
        return least;
    };
    // Grey text has no pixel as dark as black text; the field's frame lies outside the sampled part.
    QVERIFY2(darkest(value) < 80, qPrintable(QString::number(darkest(value))));
    QVERIFY2(darkest(hint) >= 150, qPrintable(QString::number(darkest(hint))));
}

QTEST_MAIN(TestGhostEF)
#include "tst_ghostef.moc"
