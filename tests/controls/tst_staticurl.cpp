#include "controls/staticurl.h"

#include <QtTest>

namespace {

void sendEnter(QWidget& w) {
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&w, &enter);
}

void sendLeave(QWidget& w) {
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&w, &leave);
}

} // namespace

class TestStaticURL : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { StaticURL::setOpener({}); }
    void colourFollowsThePointer();
    void opensOnlyOnAReleaseInside_data();
    void opensOnlyOnAReleaseInside();
    void linkLookReplacesTheLayoutsColour();

private:
    QList<QUrl> opened_;
};

void TestStaticURL::init() {
    opened_.clear();
    StaticURL::setOpener([this](const QUrl& url) { opened_ << url; });
}

void TestStaticURL::colourFollowsThePointer() {
    StaticURL label("www.example.com");
    QCOMPARE(label.textColor(), QColor(0, 0, 255));
    QVERIFY(label.font().underline());

    sendEnter(label);
    QCOMPARE(label.textColor(), QColor(255, 0, 255));
    QCOMPARE(label.cursor().shape(), Qt::PointingHandCursor);

    label.resize(120, 20);
    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(label.textColor(), QColor(255, 0, 0));
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(10, 10));
    // Blue after the release, though the pointer is still over it.
    QCOMPARE(label.textColor(), QColor(0, 0, 255));

    sendLeave(label);
    QCOMPARE(label.textColor(), QColor(0, 0, 255));
    QCOMPARE(label.cursor().shape(), Qt::ArrowCursor);
}

void TestStaticURL::opensOnlyOnAReleaseInside_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<QPoint>("release");
    QTest::addColumn<QString>("opened");
    QTest::newRow("its address") << "http://numbrook.example/riza" << QPoint(10, 10)
                                 << "http://numbrook.example/riza";
    QTest::newRow("its own text") << "" << QPoint(10, 10) << "http://www.example.com";
    QTest::newRow("left border") << "" << QPoint(0, 10) << "";
    QTest::newRow("top border") << "" << QPoint(10, 0) << "";
    QTest::newRow("right border") << "" << QPoint(120, 10) << "";
    QTest::newRow("bottom border") << "" << QPoint(10, 20) << "";
    QTest::newRow("moved off") << "" << QPoint(200, 50) << "";
    QTest::newRow("last pixel inside") << "" << QPoint(119, 19) << "http://www.example.com";
}

void TestStaticURL::opensOnlyOnAReleaseInside() {
    QFETCH(QString, address);
    QFETCH(QPoint, release);
    QFETCH(QString, opened);
    StaticURL label("www.example.com");
    label.URL = address;
    label.resize(120, 20);
    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(&label, Qt::LeftButton, {}, release);
    QCOMPARE(opened_.size(), opened.isEmpty() ? 0 : 1);
    if (!opened.isEmpty())
        QCOMPARE(opened_.first(), QUrl(opened));
    QCOMPARE(label.textColor(), QColor(0, 0, 255));
}

void TestStaticURL::linkLookReplacesTheLayoutsColour() {
    StaticURL label("www.example.com");
    QPalette p = label.palette();
    p.setColor(QPalette::WindowText, Qt::darkGreen);
    label.setPalette(p);
    QFont f = label.font();
    f.setUnderline(false);
    label.setFont(f);
    QSignalSpy spy(&label, &StaticURL::Open);
    label.show();
    QCOMPARE(spy.size(), 1);
    QCOMPARE(label.textColor(), QColor(0, 0, 255));
    QVERIFY(label.font().underline());
    label.hide();
    label.show();
    QCOMPARE(spy.size(), 1);
}

QTEST_MAIN(TestStaticURL)
#include "tst_staticurl.moc"
