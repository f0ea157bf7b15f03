// The number tile: where drawMyNum writes, its shadow, and that the window gets the tile's events.

#include "controls/mysqrbtn.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

namespace {

bool isBlue(QColor c) {
    return c.blue() > c.red() + 50 && c.blue() > 120;
}
bool isBlack(QColor c) {
    return c.red() < 70 && c.green() < 70 && c.blue() < 70;
}
bool isInk(QColor c) {
    return c.lightness() < 200;
}

// The bounding box of the pixels that pass the test, or a null rectangle.
QRect inkOf(const QImage& img, bool (*test)(QColor)) {
    QRect box;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            if (test(img.pixelColor(x, y)))
                box = box.united(QRect(x, y, 1, 1));
        }
    }
    return box;
}

QImage written(int side, const QString& text, int size) {
    mySqrBtn tile;
    tile.resize(side, side);
    QImage img(side, side, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter g(&img);
    tile.drawMyNum(g, text, size);
    return img;
}

// A window that receives what the tile leaves to it.
class Board : public QWidget {
public:
    QList<QPoint> presses;
    void mousePressEvent(QMouseEvent* e) override { presses << e->position().toPoint(); }
};

} // namespace

class TestNumberTile : public QObject {
    Q_OBJECT
private slots:
    void numberSitsOnItsBaselineWithAShadow_data();
    void numberSitsOnItsBaselineWithAShadow();
    void wideTextIsCutOnBothSides();
    void emptyTextDrawsNothingButSetsTheFont();
    void windowPaintsTheTileAndGetsItsClicks();
};

void TestNumberTile::numberSitsOnItsBaselineWithAShadow_data() {
    QTest::addColumn<int>("side");
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("text");
    QTest::newRow("board tile") << 48 << 18 << "7";
    QTest::newRow("board tile, two digits") << 48 << 18 << "64";
    QTest::newRow("mind-games tile") << 60 << 28 << "12";
}

void TestNumberTile::numberSitsOnItsBaselineWithAShadow() {
    QFETCH(int, side);
    QFETCH(int, size);
    QFETCH(QString, text);
    const QImage img = written(side, text, size);
    const QRect shadow = inkOf(img, isBlack);
    const QRect face = inkOf(img, isBlue);
    QVERIFY(!shadow.isNull() && !face.isNull());
    // Digits stand on the baseline, 17 pixels above the bottom edge (31 on 48, 43 on 60).
    QVERIFY2(shadow.bottom() >= side - 19 && shadow.bottom() <= side - 18,
             qPrintable(QString::number(shadow.bottom())));
    // The face is the shadow moved 2 up and 2 left; the shadow peeks out right and below.
    QCOMPARE(face.bottom(), shadow.bottom() - 2);
    QCOMPARE(face.right(), shadow.right() - 2);
    // Centred: the written text's middle within two pixels of the tile's.
    QVERIFY(std::abs((shadow.left() + shadow.right()) / 2.0 - side / 2.0) <= 2.5);
    // Bold at the size asked for: the digits are about size * 0.7 high.
    QVERIFY(std::abs(shadow.height() - size * 0.72) <= 3);
}

void TestNumberTile::wideTextIsCutOnBothSides() {
    const QImage img = written(48, QStringLiteral("12345678"), 28);
    const QRect ink = inkOf(img, isInk);
    QCOMPARE(ink.left(), 0);
    QCOMPARE(ink.right(), 47);
}

void TestNumberTile::emptyTextDrawsNothingButSetsTheFont() {
    mySqrBtn tile;
    tile.resize(48, 48);
    QImage img(48, 48, QImage::Format_RGB32);
    img.fill(Qt::white);
    QImage before = img;
    QPainter g(&img);
    tile.drawMyNum(g, QString(), 18);
    QVERIFY(g.font().bold());
    QCOMPARE(g.font().pixelSize(), 18);
    g.end();
    QCOMPARE(img, before);
}

void TestNumberTile::windowPaintsTheTileAndGetsItsClicks() {
    Board board;
    board.resize(200, 200);
    auto* tile = new mySqrBtn(&board);
    tile->setGeometry(48, 96, 48, 48);
    int paints = 0;
    QObject::connect(tile, &mySqrBtn::Paint, &board, [&](QPainter& g) {
        ++paints;
        g.fillRect(0, 0, 48, 48, QColor(200, 226, 248));
        tile->drawMyNum(g, QStringLiteral("9"), 18);
    });
    const QImage img = board.grab().toImage();
    QVERIFY(paints >= 1);
    QCOMPARE(img.pixelColor(50, 98), QColor(200, 226, 248));
    QVERIFY(!inkOf(img.copy(48, 96, 48, 48), isBlue).isNull());

    QTest::mouseClick(tile, Qt::LeftButton, {}, QPoint(10, 20));
    QCOMPARE(board.presses, QList<QPoint>{QPoint(58, 116)});
}

QTEST_MAIN(TestNumberTile)
#include "tst_mysqrbtn.moc"
