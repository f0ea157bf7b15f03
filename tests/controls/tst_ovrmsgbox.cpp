#include "../app/tempresources.h"
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
    void explanationInSmallTypeWithinTheBox_data();
    void explanationInSmallTypeWithinTheBox();
    void longExplanationGrowsTheBox_data();
    void longExplanationGrowsTheBox();
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

void TestOvrMsgBox::explanationInSmallTypeWithinTheBox_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("explanation");
    QTest::addColumn<int>("lines"); // the explanation's lines at its size
    QTest::newRow("one line") << QStringLiteral("Unable to read the preferences")
                              << QStringLiteral("Please go to Preferences and reset.") << 1;
    QTest::newRow("two lines, short message")
        << QStringLiteral("The remote server is not available.")
        << QStringLiteral("Local preference settings will be used until the shared folder can be reached "
                          "again.")
        << 2;
    QTest::newRow("three lines, long message")
        << lines(5)
        << QStringLiteral("This computer's data location could not be read: results now go to this computer "
                          "until the teacher sets the shared folder again in Preferences.")
        << 3;
}

void TestOvrMsgBox::explanationInSmallTypeWithinTheBox() {
    QFETCH(QString, message);
    QFETCH(QString, explanation);
    QFETCH(int, lines);
    ovrMsgBox box(true, message, explanation);
    auto* alertFld = box.findChild<WrappedLabel*>(QStringLiteral("alertFld"));
    auto* msgTxt = box.findChild<WrappedLabel*>(QStringLiteral("msgTxt"));
    auto* closeBtn = box.findChild<newCnvBtn*>(QStringLiteral("closeBtn"));
    QVERIFY(alertFld->font().bold());
    QCOMPARE(msgTxt->font().pixelSize(), 10);
    QVERIFY(!msgTxt->font().bold());
    QCOMPARE(msgTxt->text(), explanation);

    // Its place in the layout, one 16-pixel line high; a longer explanation keeps its size and wraps
    // in the room down to the Close button, cut off nowhere and the box no higher for it.
    const int h = 16 * box.lineCount();
    QCOMPARE(box.height(), h + 136);
    QCOMPARE(msgTxt->pos(), QPoint(108, h + 40));
    QCOMPARE(msgTxt->width(), 288);
    QCOMPARE(WrappedLabel::lineCount(explanation, msgTxt->font(), 288), lines);
    if (lines == 1)
        QCOMPARE(msgTxt->height(), 16);
    else
        QVERIFY(msgTxt->height() >= lines * QFontMetrics(msgTxt->font()).lineSpacing());
    QVERIFY(msgTxt->geometry().bottom() < closeBtn->y());
    QVERIFY(alertFld->geometry().bottom() < msgTxt->y());
}

void TestOvrMsgBox::longExplanationGrowsTheBox_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("explanation");
    const QString folder = QStringLiteral("/srv/school-programs/mathematics/numbrook-riza/share/Resources");
    QTest::newRow("six written lines") << QStringLiteral("Unable to read the preferences") << lines(6);
    QTest::newRow("six lines under a long message") << lines(5) << lines(6);
    QTest::newRow("the folders looked in")
        << QStringLiteral("Numbrook Riza cannot find its pictures and sounds.")
        << QStringLiteral("It looked for them in ") + folder + QStringLiteral(", ") + folder +
               QStringLiteral("-old, /usr/local/share/numbrook-riza/Resources. Please install Numbrook Riza "
                              "again.");
    QTest::newRow("a long install path")
        << QStringLiteral("Some of Numbrook Riza's pictures and sounds are missing.")
        << QStringLiteral("12 of 140 files, such as \"congratsBKG2.png\", are not in /mnt/district-share/"
                          "elementary-schools/north-valley/computer-lab/programs/mathematics/numbrook-riza-"
                          "2013r1/Resources. Please install Numbrook Riza again.");
}

// An explanation longer than its room reads whole: the box grows downward for it, the Close button
// moves down with it, and its last line is drawn inside the box.
void TestOvrMsgBox::longExplanationGrowsTheBox() {
    QFETCH(QString, message);
    QFETCH(QString, explanation);
    ovrMsgBox box(true, message, explanation);
    auto* msgTxt = box.findChild<WrappedLabel*>(QStringLiteral("msgTxt"));
    auto* closeBtn = box.findChild<newCnvBtn*>(QStringLiteral("closeBtn"));
    const int spacing = QFontMetrics(msgTxt->font()).lineSpacing();
    const int n = WrappedLabel::lineCount(explanation, msgTxt->font(), 288);
    QVERIFY2(n * spacing > ovrMsgBox::kExplanationRoom, qPrintable(QString::number(n)));
    if (QByteArray(QTest::currentDataTag()).startsWith("six"))
        QCOMPARE(n, 6);

    const int h = 16 * box.lineCount();
    QCOMPARE(msgTxt->pos(), QPoint(108, h + 40));
    QVERIFY(msgTxt->height() >= n * spacing);
    QVERIFY(box.height() > h + 136);
    QVERIFY(msgTxt->geometry().bottom() < closeBtn->y());
    // The Close button keeps its place above the box's bottom edge.
    QCOMPARE(box.height() - closeBtn->y(), 136 - 90);

    // Ink on the last line, left of the Close button: drawn, not clipped away.
    const QImage shown = box.grab().toImage();
    const int top = msgTxt->y() + (n - 1) * spacing;
    int ink = 0;
    for (int y = top; y < qMin(top + spacing, shown.height()); ++y) {
        for (int x = 108; x < 270; ++x)
            ink += qGray(shown.pixel(x, y)) < 110;
    }
    QVERIFY2(ink > 10, qPrintable(QStringLiteral("%1 dark pixels on the last line").arg(ink)));
}

// What the box paints, with pictures of the test's own: a red congratulation backdrop, an overlay
// that is clear but for a green strip along its right edge, a yellow caution icon and a cyan one.
void TestOvrMsgBox::congratulationsGetTheirBackdrop_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("congrats");
    QTest::newRow("star") << "Congratulations, Ann Lee\nYou have earned another star!" << true;
    QTest::newRow("any case") << "cONGRATS" << true;
    QTest::newRow("just the word") << "Cong" << true;
    QTest::newRow("a long one") << "Congratulations!\n" + lines(6) << true;
    QTest::newRow("too short") << "Con" << false;
    QTest::newRow("leading blank") << " Congratulations" << false;
    QTest::newRow("sorry") << "Sorry, Ann" << false;
    QTest::newRow("a long caution") << "Sorry!\n" + lines(6) << false;
}

void TestOvrMsgBox::congratulationsGetTheirBackdrop() {
    QFETCH(QString, message);
    QFETCH(bool, congrats);
    TempResources pictures;
    QVERIFY(pictures.addPicture(QStringLiteral("congratsBKG2"), {420, 300}, Qt::red));
    QImage overlay(420, 184, QImage::Format_ARGB32);
    overlay.fill(Qt::transparent);
    for (int y = 0; y < overlay.height(); ++y) {
        for (int x = 400; x < overlay.width(); ++x)
            overlay.setPixelColor(x, y, Qt::green);
    }
    QVERIFY(pictures.addImage(QStringLiteral("cautionBkg4"), overlay));
    QVERIFY(pictures.addPicture(QStringLiteral("newCaution64"), {64, 64}, Qt::yellow));
    QVERIFY(pictures.addPicture(QStringLiteral("new10Icon64"), {64, 64}, Qt::cyan));

    for (bool caution : {false, true}) {
        ovrMsgBox box(caution, message, QString());
        const QImage shown = box.grab().toImage();
        QCOMPARE(shown.size(), box.size());
        // Where nothing else is drawn, the backdrop or the box's own grey.
        QCOMPARE(shown.pixelColor(200, 6), congrats ? QColor(Qt::red) : QColor(0xDD, 0xDD, 0xDD));
        QCOMPARE(shown.pixelColor(100, box.height() - 6),
                 congrats && box.height() <= 300 ? QColor(Qt::red) : QColor(0xDD, 0xDD, 0xDD));
        // The overlay over every box, stretched to its whole height.
        for (int y : {0, box.height() / 2, box.height() - 1})
            QCOMPARE(shown.pixelColor(box.width() - 2, y), QColor(Qt::green));
        QCOMPARE(shown.pixelColor(12 + 32, 12 + 32), caution ? QColor(Qt::yellow) : QColor(Qt::cyan));
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
