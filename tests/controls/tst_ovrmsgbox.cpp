#include "app/onmodal.h"
#include "controls/newcnvbtn.h"
#include "controls/ovrmsgbox.h"
#include "controls/wrappedlabel.h"

#include <QPlainTextEdit>
#include <QtTest>

namespace {

QString lines(int n) {
    QStringList l;
    for (int i = 1; i <= n; ++i)
        l << QStringLiteral("Line %1").arg(i);
    return l.join(QLatin1Char('\n'));
}

} // namespace

class TestOvrMsgBox : public QObject {
    Q_OBJECT
private slots:
    void growsWithItsMessage_data();
    void growsWithItsMessage();
    void congratulationsGetTheirBackdrop_data();
    void congratulationsGetTheirBackdrop();
    void onlyReturnEnterOrCloseEndIt_data();
    void onlyReturnEnterOrCloseEndIt();
};

void TestOvrMsgBox::growsWithItsMessage_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("closeTop");
    QTest::newRow("empty") << QString() << 184 << 138;
    QTest::newRow("one line") << QStringLiteral("Unable to read the preferences") << 184 << 138;
    QTest::newRow("three lines") << lines(3) << 184 << 138;
    QTest::newRow("four lines") << lines(4) << 200 << 154;
    QTest::newRow("trailing line break counts") << lines(3) + QLatin1Char('\n') << 200 << 154;
    QTest::newRow("six lines") << lines(6) << 232 << 186;
    QTest::newRow("ten lines") << lines(10) << 296 << 250;
    QTest::newRow("old line ends") << QStringLiteral("a\rb\r\nc\rd") << 200 << 154;
    // Wrapped lines count as well as written ones; so do the pieces of a path too long for a line.
    QTest::newRow("wrapped") << QStringLiteral("word ").repeated(80).trimmed() << -1 << -1;
    QTest::newRow("long path") << QStringLiteral("/home/teacher/.local/share/OVR/").repeated(6) +
                                      "NB_Data.rbd"
                               << -1 << -1;
}

void TestOvrMsgBox::growsWithItsMessage() {
    QFETCH(QString, message);
    QFETCH(int, height);
    QFETCH(int, closeTop);
    ovrMsgBox box(false, message, QStringLiteral("Click to Continue"));
    const int n = box.lineCount();
    const int h = 16 * n;
    if (height < 0) { // the wrapped rows: enough lines for the text, and the layout rule for them
        QVERIFY(n > 3);
        height = h + 136;
        closeTop = h + 90;
    }
    QCOMPARE(box.width(), 420);
    QCOMPARE(box.height(), height);
    auto* closeBtn = box.findChild<newCnvBtn*>(QStringLiteral("closeBtn"));
    QCOMPARE(closeBtn->geometry(), QRect(276, closeTop, 120, 29));
    auto* alertFld = box.findChild<WrappedLabel*>(QStringLiteral("alertFld"));
    QCOMPARE(alertFld->geometry(), QRect(108, 24, 288, h));
    QCOMPARE(box.findChild<WrappedLabel*>(QStringLiteral("msgTxt"))->y(), h + 40);
    QCOMPARE(closeBtn->myCaption(), QStringLiteral("Close"));
    QCOMPARE(closeBtn->kind(), 1);

    // Nothing of the message is cut off: its lines fit the label, which ends above the explanation.
    const QFontMetrics fm(ovrMsgBox::messageFont());
    QVERIFY(WrappedLabel::lineCount(message, ovrMsgBox::messageFont(), 288) * fm.lineSpacing() <=
            alertFld->height());
}

void TestOvrMsgBox::congratulationsGetTheirBackdrop_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("congrats");
    QTest::newRow("star") << "Congratulations, Ann Lee\nYou have earned another star!" << true;
    QTest::newRow("any case") << "cONGRATS" << true;
    QTest::newRow("just the word") << "Cong" << true;
    QTest::newRow("too short") << "Con" << false;
    QTest::newRow("leading blank") << " Congratulations" << false;
    QTest::newRow("sorry") << "Sorry, Ann" << false;
}

void TestOvrMsgBox::congratulationsGetTheirBackdrop() {
    QFETCH(QString, message);
    QFETCH(bool, congrats);
    for (bool caution : {false, true}) {
        ovrMsgBox box(caution, message, QString());
        QCOMPARE(box.hasCongratsBackdrop(), congrats);
        QCOMPARE(box.isCaution(), caution);
    }
}

void TestOvrMsgBox::onlyReturnEnterOrCloseEndIt_data() {
    QTest::addColumn<int>("closingKey"); // 0: the Close button
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("Enter") << int(Qt::Key_Enter);
    QTest::newRow("Close button") << 0;
}

void TestOvrMsgBox::onlyReturnEnterOrCloseEndIt() {
    QFETCH(int, closingKey);
    ovrMsgBox box(true, QStringLiteral("The name is too long."), QString());
    bool openAfterOtherKeys = false;
    QString hiddenCopy;
    onModal([&](QWidget* modal) {
        QCOMPARE(modal, &box);
        QVERIFY(QTest::qWaitForWindowActive(modal));
        auto* field = box.findChild<QPlainTextEdit*>(QStringLiteral("testFld"));
        QTRY_VERIFY(field->hasFocus());
        QTest::keyClick(field, Qt::Key_Escape);
        QTest::keyClicks(field, QStringLiteral("xyz"));
        QTest::keyClick(field, Qt::Key_Backspace);
        box.close(); // as the title bar would
        openAfterOtherKeys = box.isVisible();
        hiddenCopy = field->toPlainText();
        if (closingKey)
            QTest::keyClick(field, Qt::Key(closingKey));
        else
            QTest::mouseClick(box.findChild<newCnvBtn*>(QStringLiteral("closeBtn")), Qt::LeftButton, {},
                              QPoint(5, 5));
        QVERIFY(!box.isVisible());
    });
    box.exec();
    QVERIFY(openAfterOtherKeys);
    QCOMPARE(hiddenCopy, QStringLiteral("The name is too long."));
}

QTEST_MAIN(TestOvrMsgBox)
#include "tst_ovrmsgbox.moc"
