// The rules of one progress cell (tag, whole percent, star, "Try" or cross, column colours) and the
// drawing of its bar, tag and picture.

#include "../app/tempresources.h"
#include "data/prefs.h"
#include "data/strecord.h"
#include "progress/progresscells.h"
#include "progress/progressgrid.h"

#include <QPainter>
#include <QtTest>

using ProgressGrid::Mark;

Q_DECLARE_METATYPE(ProgressGrid::Mark)

namespace {

StRecord student() {
    return StRecord(QStringLiteral("Ann Lee"), QStringLiteral("Room 7"), 1, QString(), 0);
}

QImage blank(QSize size) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

bool near(QColor a, QColor b, int tolerance = 24) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

} // namespace

class TestProgressGrid : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { myPrefs::initPrefs(); }

    void tagAndMarkFollowTheCounts_data();
    void tagAndMarkFollowTheCounts();
    void criteriaStayWithinTheirRanges();
    void columnColours_data();
    void columnColours();
    void barShadesOneColumnPerPercent();
    void longTagsShrinkInsteadOfRunningOff();
    void picturesAreDrawnAsTheCellAsks();
};

void TestProgressGrid::tagAndMarkFollowTheCounts_data() {
    QTest::addColumn<int>("operation");
    QTest::addColumn<int>("factIndex");
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("tried");
    QTest::addColumn<int>("numCrit");
    QTest::addColumn<int>("pctCrit");
    QTest::addColumn<int>("hiCrit");
    QTest::addColumn<QString>("tag");
    QTest::addColumn<Mark>("mark");

    QTest::newRow("nothing tried") << 0 << 0 << 0 << 0 << 40 << 85 << 10 << "0 of 40 = 0%" << Mark::Try;
    QTest::newRow("fewer tries than the criterion")
        << 1 << 4 << 2 << 3 << 40 << 85 << 10 << "2 of 40 = 5%" << Mark::Try;
    QTest::newRow("more tries than the criterion")
        << 2 << 9 << 45 << 50 << 40 << 85 << 10 << "45 of 50 = 90%" << Mark::Star;
    QTest::newRow("fraction dropped")
        << 3 << 2 << 20 << 30 << 10 << 85 << 10 << "20 of 30 = 66%" << Mark::Try;
    QTest::newRow("29 of 50 is exactly 58")
        << 0 << 5 << 29 << 50 << 40 << 85 << 10 << "29 of 50 = 58%" << Mark::Try;
    QTest::newRow("29 of 50 meets a 58 requirement")
        << 1 << 5 << 29 << 50 << 40 << 58 << 10 << "29 of 50 = 58%" << Mark::Star;
    QTest::newRow("at the requirement")
        << 2 << 0 << 34 << 40 << 40 << 85 << 10 << "34 of 40 = 85%" << Mark::Star;
    QTest::newRow("just below it") << 2 << 0 << 33 << 40 << 40 << 85 << 10 << "33 of 40 = 82%" << Mark::Try;
    QTest::newRow("33 of 39 counts against 40")
        << 3 << 7 << 33 << 39 << 40 << 85 << 10 << "33 of 40 = 82%" << Mark::Try;
    QTest::newRow("33 of 39 with a criterion of 10")
        << 3 << 7 << 33 << 39 << 10 << 85 << 10 << "33 of 39 = 84%" << Mark::Try;
    QTest::newRow("family 10 is counted")
        << 0 << 9 << 40 << 40 << 40 << 85 << 10 << "40 of 40 = 100%" << Mark::Star;
    QTest::newRow("family 11 is not")
        << 0 << 10 << 40 << 40 << 40 << 85 << 10 << "not counted" << Mark::Cross;
    QTest::newRow("family 19 counted when all are")
        << 1 << 18 << 12 << 40 << 40 << 85 << 19 << "12 of 40 = 30%" << Mark::Try;
    QTest::newRow("damaged count stays at 100")
        << 2 << 3 << 90 << 40 << 40 << 85 << 10 << "90 of 40 = 100%" << Mark::Star;
    // A criterion the preferences would refuse counts as the nearest one they allow, in the
    // percentage (and so the stars) as in the tag.
    QTest::newRow("criterion 5 counts as 10")
        << 0 << 1 << 8 << 8 << 5 << 85 << 10 << "8 of 10 = 80%" << Mark::Try;
    QTest::newRow("criterion 0 counts as 10")
        << 1 << 2 << 3 << 4 << 0 << 85 << 10 << "3 of 10 = 30%" << Mark::Try;
    QTest::newRow("criterion -7 counts as 10")
        << 2 << 3 << 9 << 9 << -7 << 85 << 10 << "9 of 10 = 90%" << Mark::Star;
    QTest::newRow("criterion 1000 counts as 100")
        << 3 << 4 << 95 << 99 << 1000 << 85 << 10 << "95 of 100 = 95%" << Mark::Star;
    QTest::newRow("tenth row of the second tab") << 0 << 19 << 0 << 0 << 40 << 85 << 19 << "" << Mark::None;
}

void TestProgressGrid::tagAndMarkFollowTheCounts() {
    QFETCH(int, operation);
    QFETCH(int, factIndex);
    QFETCH(int, right);
    QFETCH(int, tried);
    QFETCH(int, numCrit);
    QFETCH(int, pctCrit);
    QFETCH(int, hiCrit);
    QFETCH(QString, tag);
    QFETCH(Mark, mark);

    myPrefs::prNumCrit = numCrit;
    myPrefs::prPctCrit = pctCrit;
    myPrefs::prHiCrit = hiCrit;
    StRecord record = student();
    // Every other cell holds a count of its own, so a cell that reads the wrong one shows it.
    for (int op = 0; op < StRecord::kOperations; ++op) {
        for (int f = 0; f < StRecord::kFacts; ++f) {
            record.corFor(op)[f] = 1;
            record.triedFor(op)[f] = 1000;
        }
    }
    if (factIndex < StRecord::kFacts) {
        record.corFor(operation)[factIndex] = right;
        record.triedFor(operation)[factIndex] = tried;
    }
    record.parsePcts();

    const ProgressGrid::Criteria criteria = ProgressGrid::criteria();
    QCOMPARE(ProgressGrid::tagText(&record, operation, factIndex, criteria), tag);
    QCOMPARE(ProgressGrid::markOf(&record, operation, factIndex, criteria), mark);
    const int whole = ProgressGrid::wholePercentOf(&record, operation, factIndex);
    QVERIFY(whole >= 0 && whole <= 100);
}

void TestProgressGrid::criteriaStayWithinTheirRanges() {
    myPrefs::prNumCrit = 0;
    myPrefs::prPctCrit = 250;
    myPrefs::prHiCrit = 99;
    const ProgressGrid::Criteria criteria = ProgressGrid::criteria();
    QCOMPARE(criteria.numCrit, 10);
    QCOMPARE(criteria.pctCrit, 100);
    QCOMPARE(criteria.hiCrit, 19);

    // However far the highest family reaches, the tenth row of the second tab reads nothing.
    StRecord record = student();
    record.curPct[0].fill(std::numeric_limits<double>::quiet_NaN());
    QCOMPARE(ProgressGrid::tagText(&record, 0, 19, criteria), QString());
    QCOMPARE(ProgressGrid::markOf(&record, 0, 19, criteria), Mark::None);
    QCOMPARE(ProgressGrid::wholePercentOf(&record, 0, 3), 0);
    // Without a signed-in student every cell reads as nothing tried.
    QCOMPARE(ProgressGrid::tagText(nullptr, 1, 0, criteria), QStringLiteral("0 of 10 = 0%"));
}

void TestProgressGrid::columnColours_data() {
    QTest::addColumn<int>("x");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("left edge") << 0 << QColor(132, 156, 255);
    QTest::newRow("second column") << 1 << QColor(131, 156, 253);
    QTest::newRow("middle") << 50 << QColor(126, 205, 177);
    QTest::newRow("last visible column") << 99 << QColor(121, 254, 100);
    QTest::newRow("right edge") << 100 << QColor(121, 255, 99);
    QTest::newRow("beyond the bar") << 150 << QColor(121, 255, 99);
}

void TestProgressGrid::columnColours() {
    QFETCH(int, x);
    QFETCH(QColor, colour);
    QCOMPARE(ProgressGrid::columnColour(x, 100), colour);
}

void TestProgressGrid::barShadesOneColumnPerPercent() {
    const QColor grey(208, 208, 208);
    for (const int percent : {0, 1, 5, 66, 99, 100}) {
        QImage image = blank({100, 20});
        {
            QPainter g(&image);
            ProgressPaint::paintBar(g, image.size(), percent);
        }
        int shaded = 0;
        for (int x = 0; x < 100; ++x) {
            const QColor top = image.pixelColor(x, 0);
            QCOMPARE(image.pixelColor(x, 19), top);
            if (top == grey)
                continue;
            QCOMPARE(top, ProgressGrid::columnColour(x, 100));
            QCOMPARE(x, shaded); // shading never leaves a gap
            ++shaded;
        }
        const int expected = percent < 1 ? 0 : std::min(percent + 1, 100);
        QVERIFY2(shaded == expected,
                 qPrintable(QStringLiteral("%1 percent shaded %2").arg(percent).arg(shaded)));
    }
}

void TestProgressGrid::longTagsShrinkInsteadOfRunningOff() {
    for (const QString& tag : {QStringLiteral("0 of 40 = 0%"), QStringLiteral("345 of 350 = 98%"),
                               QStringLiteral("1000 of 1000 = 100%"), QStringLiteral("not counted"),
                               QStringLiteral("123456 of 123456 = 100%")}) {
        QImage image = blank({100, 20});
        {
            QPainter g(&image);
            ProgressPaint::paintTag(g, image.size(), tag);
        }
        int left = 100, right = -1;
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 100; ++x) {
                if (qAlpha(image.pixel(x, y)) > 0) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        QVERIFY2(right >= 0, qPrintable(tag));
        QVERIFY2(right < 99, qPrintable(tag + QStringLiteral(" reaches the bar's edge")));
        // Every tag starts at its place, however long: a long one is made smaller, never moved.
        QVERIFY2(left >= 10 && left <= 12, qPrintable(tag + QStringLiteral(" starts at %1").arg(left)));
        // Its end, the percent sign, is still drawn: the last inked column lies near the bar's edge
        // for a tag that needed the whole room.
        if (tag.size() > 20)
            QVERIFY2(right >= 90, qPrintable(tag + QStringLiteral(" ends at %1").arg(right)));
    }
}

void TestProgressGrid::picturesAreDrawnAsTheCellAsks() {
    TempResources resources;
    // A star picture larger than the part that is shown: only its top-left 32 by 32 pixels count.
    QImage star(40, 40, QImage::Format_RGB32);
    star.fill(Qt::blue);
    {
        QPainter g(&star);
        g.fillRect(0, 0, 32, 32, Qt::red);
    }
    QVERIFY(resources.addImage(QStringLiteral("smallstar"), star));
    QVERIFY(resources.addPicture(QStringLiteral("Click2"), {40, 30}, Qt::green));
    QVERIFY(resources.addPicture(QStringLiteral("XStar"), {32, 24}, Qt::black));

    const auto draw = [](Mark mark) {
        QImage image = blank({32, 24});
        QPainter g(&image);
        ProgressPaint::paintMark(g, mark);
        g.end();
        return image;
    };

    const QImage starCell = draw(Mark::Star);
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 32; ++x) {
            const QColor c = starCell.pixelColor(x, y);
            const QString at = QStringLiteral("star at %1,%2").arg(x).arg(y);
            if (x >= 24)
                QVERIFY2(c.alpha() == 0, qPrintable(at));
            else if (x < 23 && y < 23)
                QVERIFY2(near(c, Qt::red, 60), qPrintable(at));
            else // the file's compression smears the red edge a little, but the blue never shows
                QVERIFY2(c.red() > c.blue(), qPrintable(at));
        }
    }
    const QImage tryCell = draw(Mark::Try);
    QVERIFY(near(tryCell.pixelColor(0, 0), Qt::green));
    QVERIFY(near(tryCell.pixelColor(31, 23), Qt::green));
    QVERIFY(near(draw(Mark::Cross).pixelColor(16, 12), Qt::black));
    QVERIFY(draw(Mark::None) == blank({32, 24}));

    // Without the picture files each mark still looks like itself, and unlike the others.
    QVERIFY(resources.remove(QStringLiteral("small star.jpg")));
    QVERIFY(resources.remove(QStringLiteral("Click2.jpg")));
    QVERIFY(resources.remove(QStringLiteral("XStar.jpg")));
    ProjectMedia::forgetAll();
    const QImage plainStar = draw(Mark::Star), plainTry = draw(Mark::Try), plainCross = draw(Mark::Cross);
    QVERIFY(plainStar != blank({32, 24}) && plainTry != blank({32, 24}) && plainCross != blank({32, 24}));
    QVERIFY(plainStar != plainTry && plainTry != plainCross && plainStar != plainCross);
}

QTEST_MAIN(TestProgressGrid)
#include "tst_progressgrid.moc"
