// The vertical progress bar: where the fill starts for each count, and what reinit clears.

#include "app/media.h"
#include "controls/progresscnv.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QColor kBackground(0xee, 0xee, 0xee);

bool isFill(QColor c) {
    return c.red() > 180 && c.green() < 80 && c.blue() < 80; // the red test picture
}

// The bar as shown on a plain background.
QImage shot(progressCnv& bar) {
    QWidget holder;
    holder.setAutoFillBackground(true);
    QPalette pal = holder.palette();
    pal.setColor(QPalette::Window, kBackground);
    holder.setPalette(pal);
    holder.resize(bar.size());
    bar.setParent(&holder);
    bar.move(0, 0);
    const QImage img = holder.grab().toImage();
    bar.setParent(nullptr);
    return img;
}

// The first row of the middle column that shows the fill, or -1 when none does.
int fillTop(const QImage& img) {
    for (int y = 0; y < img.height(); ++y) {
        if (isFill(img.pixelColor(img.width() / 2, y)))
            return y;
    }
    return -1;
}

} // namespace

class TestProgressBar : public QObject {
    Q_OBJECT
    QTemporaryDir pictures_;
    QTemporaryDir noPictures_;

private slots:
    void initTestCase() {
        QImage red(29, 319, QImage::Format_RGB32);
        red.fill(QColor(220, 20, 20));
        QVERIFY(red.save(pictures_.filePath("newProgCnv.jpg")));
    }
    void init() {
        qputenv("NBR_RESOURCES_DIR", pictures_.path().toUtf8());
        ProjectMedia::forgetAll();
    }

    void fillsFromTheTopOfTheDoneSteps_data();
    void fillsFromTheTopOfTheDoneSteps();
    void reinitClearsAShownBar();
    void missingPictureStillShowsProgress();
};

void TestProgressBar::fillsFromTheTopOfTheDoneSteps_data() {
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("top"); // -1: outline only

    QTest::newRow("15 steps: the remainder shows in the first") << 320 << 15 << 1 << 294;
    QTest::newRow("15 steps, 14 done") << 320 << 15 << 14 << 21;
    QTest::newRow("20 steps, 5 done") << 320 << 20 << 5 << 240;
    QTest::newRow("20 steps, all done") << 320 << 20 << 20 << 0;
    QTest::newRow("no steps: any count fills") << 320 << 0 << 3 << 0;
    QTest::newRow("more done than there are") << 320 << 20 << 25 << 0;
    QTest::newRow("far more done than there are") << 320 << 20 << 2000000000 << 0;
    QTest::newRow("none done") << 320 << 20 << 0 << -1;
    QTest::newRow("a count below 0") << 320 << 20 << -3 << -1;
    QTest::newRow("a negative total") << 320 << -4 << 2 << 0;
    QTest::newRow("more steps than pixels") << 100 << 150 << 149 << 0;
}

void TestProgressBar::fillsFromTheTopOfTheDoneSteps() {
    QFETCH(int, height);
    QFETCH(int, total);
    QFETCH(int, count);
    QFETCH(int, top);
    progressCnv bar;
    bar.resize(32, height);
    bar.reinit(total);
    bar.advance(count);
    const QImage img = shot(bar);
    QCOMPARE(fillTop(img), top);
    // The outline: one pixel, w - 1 by h - 1, the last column and row left out.
    QCOMPARE(img.pixelColor(0, height / 2), QColor(Qt::black));
    QCOMPARE(img.pixelColor(30, 5), QColor(Qt::black));
    QCOMPARE(img.pixelColor(31, 5), kBackground);
    if (top < 0)
        return;
    // The fill is as high as the bar (h - 1), from its top down and cut at the bottom edge, inside the
    // outline's columns.
    const int bottom = std::min(top + height - 2, height - 1);
    for (const int x : {1, 15, 29}) {
        QVERIFY(isFill(img.pixelColor(x, top)));
        QVERIFY(isFill(img.pixelColor(x, bottom)));
    }
    if (bottom < height - 1)
        QVERIFY(!isFill(img.pixelColor(15, height - 1)));
    QVERIFY(!isFill(img.pixelColor(30, height - 5)));
    if (top > 0)
        QVERIFY(!isFill(img.pixelColor(15, top - 1)));
}

void TestProgressBar::reinitClearsAShownBar() {
    QWidget holder;
    holder.resize(32, 320);
    progressCnv bar(&holder);
    bar.resize(32, 320);
    holder.show();
    bar.reinit(10);
    bar.advance(7);
    QCOMPARE(fillTop(holder.grab().toImage()), 96);
    bar.reinit(10);
    QCOMPARE(fillTop(holder.grab().toImage()), -1);
    bar.advance(1);
    QCOMPARE(fillTop(holder.grab().toImage()), 288);
}

void TestProgressBar::missingPictureStillShowsProgress() {
    qputenv("NBR_RESOURCES_DIR", noPictures_.path().toUtf8());
    ProjectMedia::forgetAll();
    progressCnv bar;
    bar.resize(32, 320);
    bar.reinit(20);
    bar.advance(5);
    const QImage img = shot(bar);
    QVERIFY(img.pixelColor(15, 250) != kBackground);
    QCOMPARE(img.pixelColor(15, 200), kBackground);
}

QTEST_MAIN(TestProgressBar)
#include "tst_progresscnv.moc"
