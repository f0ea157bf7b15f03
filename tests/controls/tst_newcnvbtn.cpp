#include "app/buttonfaces.h"
#include "controls/newcnvbtn.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QtTest>

namespace {

// Plain faces of known colours, so that the drawing can be checked pixel by pixel.
const QColor kFaceColours[5] = {Qt::darkMagenta, Qt::darkBlue, Qt::darkYellow, Qt::darkGreen, Qt::darkRed};

void useKnownFaces() {
    for (int i = 0; i < 5; ++i) {
        QPixmap face(160, 36);
        face.fill(kFaceColours[i]);
        myGlobals::gActionBtn()[i] = face;
    }
}

QImage render(newCnvBtn& b) {
    QImage image(b.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    b.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

int countColour(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF) && qAlpha(image.pixel(x, y)) == 255;
    return n;
}

} // namespace

class TestNewCnvBtn : public QObject {
    Q_OBJECT
private slots:
    void init() { useKnownFaces(); }
    void captionSizeFollowsWidth_data();
    void captionSizeFollowsWidth();
    void baselineFollowsHeight_data();
    void baselineFollowsHeight();
    void pressShiftsAndReleaseAnywhereActs();
    void releaseWithoutTheWindowStillRestores();
    void otherButtonsDoNothing();
    void drawsFaceAndShadowedCaption_data();
    void drawsFaceAndShadowedCaption();
    void longCaptionShrinksToTheFace();
    void pressedFaceLeavesTheEdgeFree();
    void missingFaceStillShowsAButton();
    void tellsAssistiveTechnology();
    void opensOnceBeforeFirstShow();
};

void TestNewCnvBtn::captionSizeFollowsWidth_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("size");
    QTest::newRow("narrow") << 60 << 12;
    QTest::newRow("100") << 100 << 12;
    QTest::newRow("101") << 101 << 14;
    QTest::newRow("160") << 160 << 14;
    QTest::newRow("161") << 161 << 18;
}

void TestNewCnvBtn::captionSizeFollowsWidth() {
    QFETCH(int, width);
    QFETCH(int, size);
    QCOMPARE(newCnvBtn::getSize(width), size);
}

void TestNewCnvBtn::baselineFollowsHeight_data() {
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("ascent");
    QTest::addColumn<int>("baseline");
    QTest::newRow("usual button") << 29 << 12 << 17;             // 29 - 8 - 2 - 2
    QTest::newRow("25 subtracts 1") << 25 << 12 << 16;           // 25 - 6 - 2 - 1
    QTest::newRow("26 subtracts 2") << 26 << 12 << 15;           // 26 - 7 - 2 - 2
    QTest::newRow("odd difference truncates") << 36 << 13 << 20; // 36 - 11 - 3 - 2
}

void TestNewCnvBtn::baselineFollowsHeight() {
    QFETCH(int, height);
    QFETCH(int, ascent);
    QFETCH(int, baseline);
    QCOMPARE(newCnvBtn::getHgt(height, ascent), baseline);
}

void TestNewCnvBtn::pressShiftsAndReleaseAnywhereActs() {
    QWidget window;
    window.resize(400, 200);
    newCnvBtn b(&window);
    b.setGeometry(50, 60, 120, 29);
    b.setCaption(QStringLiteral("Start Round"), 1);
    int actions = 0;
    // The window's handler as every window writes it: release the look first, then act.
    connect(&b, &newCnvBtn::MouseUp, &window, [&] {
        b.hndlMouseUp();
        ++actions;
    });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(b.pos(), QPoint(54, 64));
    QVERIFY(b.isPressed());
    QCOMPARE(b.size(), QSize(120, 29));
    // Released far outside the button: the action still happens.
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(300, 120));
    QCOMPARE(actions, 1);
    QCOMPARE(b.pos(), QPoint(50, 60));
    QVERIFY(!b.isPressed());

    // A second call of hndlMouseUp must not walk the button away.
    b.hndlMouseUp();
    QCOMPARE(b.pos(), QPoint(50, 60));
    QCOMPARE(b.cursor().shape(), Qt::PointingHandCursor);
}

void TestNewCnvBtn::releaseWithoutTheWindowStillRestores() {
    QWidget window;
    newCnvBtn b(&window);
    b.setGeometry(10, 10, 100, 25);
    QSignalSpy ups(&b, &newCnvBtn::MouseUp);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(ups.count(), 1);
    QCOMPARE(b.pos(), QPoint(10, 10));

    // Hidden while pressed: no release will come, so the button goes back at once.
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(5, 5));
    b.hide();
    QCOMPARE(b.pos(), QPoint(10, 10));
    QVERIFY(!b.isPressed());
}

void TestNewCnvBtn::otherButtonsDoNothing() {
    QWidget window;
    newCnvBtn b(&window);
    b.setGeometry(10, 10, 100, 25);
    QSignalSpy ups(&b, &newCnvBtn::MouseUp);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(&b, Qt::RightButton, {}, QPoint(5, 5));
    QCOMPARE(ups.count(), 0);
    QCOMPARE(b.pos(), QPoint(10, 10));
}

void TestNewCnvBtn::drawsFaceAndShadowedCaption_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QRgb>("captionColour");
    QTest::newRow("cancel") << 0 << qRgb(255, 246, 230);
    QTest::newRow("action") << 1 << qRgb(255, 246, 230);
    QTest::newRow("yellow") << 2 << qRgb(189, 216, 255);
    QTest::newRow("green") << 3 << qRgb(189, 216, 255);
    QTest::newRow("red") << 4 << qRgb(189, 216, 255);
}

void TestNewCnvBtn::drawsFaceAndShadowedCaption() {
    QFETCH(int, kind);
    QFETCH(QRgb, captionColour);
    newCnvBtn b;
    b.resize(140, 29);
    b.setCaption(QString(), std::uint8_t(kind));
    const QImage bare = render(b);
    QCOMPARE(countColour(bare, kFaceColours[kind].rgb()), 140 * 29); // an empty caption: only the face

    b.setCaption(QStringLiteral("HHHH"), std::uint8_t(kind));
    const QImage captioned = render(b);
    QVERIFY(countColour(captioned, captionColour) > 10);
    QVERIFY(countColour(captioned, qRgb(0, 0, 0)) > 3); // the shadow shows below and right
    QCOMPARE(captioned.pixel(0, 0), kFaceColours[kind].rgb());
    QCOMPARE(captioned.pixel(139, 28), kFaceColours[kind].rgb());

    // The caption is centred: as much free face left of it as right of it, give or take the shadow.
    int left = 140, right = -1;
    for (int y = 0; y < 29; ++y)
        for (int x = 0; x < 140; ++x)
            if (captioned.pixel(x, y) != kFaceColours[kind].rgb()) {
                left = qMin(left, x);
                right = qMax(right, x);
            }
    QVERIFY2(qAbs(left - (139 - right)) <= 3, qPrintable(QStringLiteral("%1 %2").arg(left).arg(right)));
}

void TestNewCnvBtn::longCaptionShrinksToTheFace() {
    newCnvBtn b;
    b.resize(120, 33);
    b.setCaption(QStringLiteral("Open Saved Set"), 1);
    const QImage image = render(b);
    // Nothing but face in the outer columns: the caption is whole, not cut off at the edges.
    for (int y = 0; y < 33; ++y) {
        for (int x : {0, 1, 2, 117, 118, 119})
            QCOMPARE(image.pixel(x, y), kFaceColours[1].rgb());
    }
    QVERIFY(countColour(image, qRgb(255, 246, 230)) > 40);
}

void TestNewCnvBtn::pressedFaceLeavesTheEdgeFree() {
    QWidget window;
    window.resize(300, 100);
    newCnvBtn b(&window);
    b.setGeometry(20, 20, 120, 29);
    b.setCaption(QString(), 1);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(3, 3));
    const QImage pressed = render(b);
    QCOMPARE(pressed.pixel(0, 0), kFaceColours[1].rgb());
    QCOMPARE(pressed.pixel(114, 23), kFaceColours[1].rgb());
    QCOMPARE(qAlpha(pressed.pixel(117, 26)), 0); // the 5-pixel strip at right and bottom shows the window
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(3, 3));
}

void TestNewCnvBtn::missingFaceStillShowsAButton() {
    for (auto& face : myGlobals::gActionBtn())
        face = QPixmap();
    for (int kind : {0, 4, 9}) { // 9: a kind no window uses
        newCnvBtn b;
        b.resize(120, 29);
        b.setCaption(QStringLiteral("Close"), std::uint8_t(kind));
        const QImage image = render(b);
        QCOMPARE(qAlpha(image.pixel(60, 3)), 255);
        QVERIFY(countColour(image, kind <= 1 ? qRgb(255, 246, 230) : qRgb(189, 216, 255)) > 5);
    }
}

void TestNewCnvBtn::tellsAssistiveTechnology() {
    QWidget window;
    newCnvBtn b(&window);
    b.setGeometry(0, 0, 120, 29);
    b.setCaption(QStringLiteral("Play Numbrook"), 1);
    QSignalSpy ups(&b, &newCnvBtn::MouseUp);
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&b);
    QVERIFY(a);
    QCOMPARE(a->role(), QAccessible::Button);
    QCOMPARE(a->text(QAccessible::Name), QStringLiteral("Play Numbrook"));
    QVERIFY(a->actionInterface());
    a->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(ups.count(), 1);
}

void TestNewCnvBtn::opensOnceBeforeFirstShow() {
    QWidget window;
    newCnvBtn b(&window);
    b.resize(100, 25);
    QStringList captionAtOpen;
    connect(&b, &newCnvBtn::Open, &b, [&] {
        b.setCaption(QStringLiteral("Accept"), 1);
        captionAtOpen << b.myCaption();
    });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    b.hide();
    b.show();
    QCOMPARE(captionAtOpen, QStringList{"Accept"});
    QCOMPARE(b.kind(), 1);
}

QTEST_MAIN(TestNewCnvBtn)
#include "tst_newcnvbtn.moc"
