// The check box: plain flips, the radio rule of a group, and its faces drawn with the box mask.

#include "app/media.h"
#include "controls/ovrcheckbox.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QColor kBackground(0xee, 0xee, 0xee);
const QColor kUnchecked(0, 0, 255);
const QColor kChecked(0, 200, 0);

QImage solid(QColor colour) {
    QImage img(22, 22, QImage::Format_ARGB32);
    img.fill(colour);
    return img;
}

// The box mask of the test pictures shows the left half of a face and hides the right half.
QImage halfMask() {
    QImage img(22, 22, QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter(&img).fillRect(0, 0, 11, 22, Qt::white);
    return img;
}

void click(QWidget* w, QPoint releaseAt = QPoint(5, 5)) {
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(w, Qt::LeftButton, {}, releaseAt);
}

QImage shot(ovrCheckBox& box) {
    QWidget holder;
    holder.setAutoFillBackground(true);
    QPalette pal = holder.palette();
    pal.setColor(QPalette::Window, kBackground);
    holder.setPalette(pal);
    holder.resize(box.size());
    box.setParent(&holder);
    box.move(0, 0);
    const QImage img = holder.grab().toImage();
    box.setParent(nullptr);
    return img;
}

bool near(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) < 12 && std::abs(a.green() - b.green()) < 12 &&
           std::abs(a.blue() - b.blue()) < 12;
}

} // namespace

class TestCheckBox : public QObject {
    Q_OBJECT
    QTemporaryDir pictures_;
    QTemporaryDir noPictures_;

    void usePictures(const QTemporaryDir& dir) {
        qputenv("NBR_RESOURCES_DIR", dir.path().toUtf8());
        ProjectMedia::forgetAll();
    }

private slots:
    void initTestCase() {
        QVERIFY(solid(kUnchecked).save(pictures_.filePath("blueCheckBox.png")));
        QVERIFY(solid(kChecked).save(pictures_.filePath("boxWithCheck.png")));
        QVERIFY(halfMask().save(pictures_.filePath("CkBoxMask.png")));
    }
    void init() { usePictures(pictures_); }

    void plainBoxFlipsOnEveryClick();
    void valueSetInCodeTouchesNothingElse();
    void radioGroupOfThree();
    void groupLongerThanItsList();
    void opensOnceWhenFirstShown();
    void facesAreMaskedAndCaptionSitsBesideThem();
    void missingPicturesStillShowTheState();
};

void TestCheckBox::plainBoxFlipsOnEveryClick() {
    ovrCheckBox box;
    box.resize(200, 24);
    QSignalSpy ups(&box, &ovrCheckBox::MouseUp);
    click(&box);
    QVERIFY(box.value());
    click(&box, QPoint(500, 80)); // released far outside: the press chose the box
    QVERIFY(!box.value());
    click(&box);
    QVERIFY(box.value());
    QCOMPARE(ups.count(), 3);

    QTest::mouseClick(&box, Qt::RightButton, {}, QPoint(5, 5));
    QVERIFY(box.value());
    QCOMPARE(ups.count(), 3);
}

void TestCheckBox::valueSetInCodeTouchesNothingElse() {
    ovrCheckBox a;
    ovrCheckBox b;
    a.myGroup = {&b};
    a.groupTotal = 1;
    QSignalSpy ups(&a, &ovrCheckBox::MouseUp);
    a.setValue(true);
    QVERIFY(a.value());
    QVERIFY(!b.value());
    QCOMPARE(ups.count(), 0);
}

void TestCheckBox::radioGroupOfThree() {
    ovrCheckBox boxes[3];
    QList<QSignalSpy*> ups;
    for (int i = 0; i < 3; ++i) {
        boxes[i].resize(200, 24);
        boxes[i].myGroup = {&boxes[(i + 1) % 3], &boxes[(i + 2) % 3]};
        boxes[i].groupTotal = 2;
        ups << new QSignalSpy(&boxes[i], &ovrCheckBox::MouseUp);
    }
    boxes[0].setValue(true);
    const auto values = [&] {
        return QList<bool>{boxes[0].value(), boxes[1].value(), boxes[2].value()};
    };

    click(&boxes[0]); // checked: the click is ignored
    QCOMPARE(values(), (QList<bool>{true, false, false}));
    QCOMPARE(ups[0]->count(), 0);

    click(&boxes[2]);
    QCOMPARE(values(), (QList<bool>{false, false, true}));
    QCOMPARE(ups[2]->count(), 1);
    QCOMPARE(ups[0]->count() + ups[1]->count(), 0);

    click(&boxes[1]);
    QCOMPARE(values(), (QList<bool>{false, true, false}));
    QCOMPARE(ups[1]->count(), 1);
    qDeleteAll(ups);
}

void TestCheckBox::groupLongerThanItsList() {
    ovrCheckBox a;
    auto* gone = new ovrCheckBox;
    ovrCheckBox b;
    a.myGroup = {gone, &b};
    a.groupTotal = 5; // more than the list holds, and one partner no longer exists
    delete gone;
    click(&a);
    QVERIFY(a.value());
    QVERIFY(!b.value());
}

void TestCheckBox::opensOnceWhenFirstShown() {
    ovrCheckBox box;
    QSignalSpy opened(&box, &ovrCheckBox::Open);
    box.resize(200, 24);
    QCOMPARE(opened.count(), 0);
    box.show();
    box.hide();
    box.show();
    QCOMPARE(opened.count(), 1);
}

void TestCheckBox::facesAreMaskedAndCaptionSitsBesideThem() {
    ovrCheckBox box;
    box.resize(200, 24);
    box.setMyText(QStringLiteral("Allow Negative Numbers"));
    for (const bool checked : {false, true}) {
        box.setValue(checked);
        const QImage img = shot(box);
        const QColor face = checked ? kChecked : kUnchecked;
        QCOMPARE(img.pixelColor(0, 0), kBackground); // the face starts one pixel in
        QVERIFY(near(img.pixelColor(1, 1), face));
        QVERIFY(near(img.pixelColor(11, 20), face));   // the mask's white half shows the face
        QCOMPARE(img.pixelColor(13, 12), kBackground); // its black half hides it
        QCOMPARE(img.pixelColor(23, 12), kBackground); // and nothing is drawn past the face
        // The caption: dark pixels from x 42 on, standing on the baseline at y 20.
        int dark = 0;
        int lowest = 0;
        for (int y = 0; y < img.height(); ++y) {
            for (int x = 24; x < img.width(); ++x) {
                if (img.pixelColor(x, y).lightness() < 80) {
                    QVERIFY2(x >= 42, qPrintable(QStringLiteral("dark pixel at %1,%2").arg(x).arg(y)));
                    ++dark;
                    lowest = std::max(lowest, y);
                }
            }
        }
        QVERIFY(dark > 50);
        QVERIFY2(lowest >= 19 && lowest <= 23,
                 qPrintable(QString::number(lowest))); // "g" and "N" on the baseline
    }
}

void TestCheckBox::missingPicturesStillShowTheState() {
    usePictures(noPictures_);
    ovrCheckBox box;
    box.resize(200, 24);
    const QImage unchecked = shot(box);
    box.setValue(true);
    const QImage checked = shot(box);
    QVERIFY(unchecked.pixelColor(11, 11) != kBackground); // a plain box is drawn
    QVERIFY(checked.copy(1, 1, 22, 22) != unchecked.copy(1, 1, 22, 22));
}

QTEST_MAIN(TestCheckBox)
#include "tst_ovrcheckbox.moc"
