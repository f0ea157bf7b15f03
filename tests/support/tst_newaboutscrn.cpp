// The about box: its texts read anew at each opening, the ways to close it, the link on the logo, and
// the logo area when the picture file is missing.

#include "app/media.h"
#include "main/routes.h"
#include "app/tempresources.h"
#include "controls/newcnvbtn.h"
#include "controls/picturecanvas.h"
#include "controls/staticurl.h"
#include "data/appversion.h"
#include "signin/namescrn.h"
#include "support/lookcheck.h"
#include "support/newaboutscrn.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>
#include <QtTest>

namespace {

template <typename T> T* control(QWidget* w, const char* name) {
    return w->findChild<T*>(QLatin1String(name));
}

// Whether an image holds any pixel of another colour than white.
bool hasInk(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != QColor(Qt::white))
                return true;
    return false;
}

} // namespace

class TestNewAboutScrn : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void opensModallyFromTheSignInWindow();
    void textsAreReadAtEachOpening();
    void closingWays_data();
    void closingWays();
    void otherKeysChangeNothing();
    void linkOpensTheWebSite();
    void logoAndMissingLogo();

private:
    newAboutScrn* open();
    void shoot(QWidget* w, const QString& name);
};

void TestNewAboutScrn::cleanup() {
    if (newAboutScrn::exists())
        newAboutScrn::instance()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    StaticURL::setOpener({});
}

newAboutScrn* TestNewAboutScrn::open() {
    newAboutScrn* box = newAboutScrn::instance();
    box->show();
    return box;
}

void TestNewAboutScrn::shoot(QWidget* w, const QString& name) {
    Look::saveShot(w, name + QStringLiteral(".png"));
}

void TestNewAboutScrn::opensModallyFromTheSignInWindow() {
    Routes::install();
    bool wasModal = false;
    // The box runs its own event loop; look at it from inside, then press Continue.
    QTimer::singleShot(0, [&wasModal] {
        QVERIFY(newAboutScrn::exists());
        newAboutScrn* box = newAboutScrn::instance();
        wasModal = box->isModal() && box->isVisible() && QApplication::activeModalWidget() == box;
        QTest::mouseClick(control<newCnvBtn>(box, "contBtn"), Qt::LeftButton);
    });
    NameScrn::links().about();
    QVERIFY(wasModal);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!newAboutScrn::exists());
}

void TestNewAboutScrn::textsAreReadAtEachOpening() {
    newAboutScrn* box = open();
    QCOMPARE(box->windowTitle(), QStringLiteral("About Numbrook Riza"));
    QCOMPARE(box->size(), QSize(540, 470));
    QCOMPARE(box->minimumSize(), box->maximumSize());
    QVERIFY(box->windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!(box->windowFlags() & Qt::WindowMinimizeButtonHint));
    QCOMPARE(box->palette().color(QPalette::Window), QColor(Qt::white));
    auto* vers = control<QLabel>(box, "versTxt");
    QCOMPARE(vers->text(), App::LongVersion() + QStringLiteral(" for Linux"));
    QVERIFY(vers->font().italic());
    QCOMPARE(control<QLabel>(box, "StaticText1")->text(), QStringLiteral("Thanks to:"));
    auto* credits = control<QPlainTextEdit>(box, "displayFld");
    QVERIFY(credits->isReadOnly());
    const QString text = credits->toPlainText();
    QCOMPARE(text, newAboutScrn::creditsText());
    const QStringList lines = text.split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 4); // three lines, each ended
    QCOMPARE(lines.first(), QStringLiteral("Orlavo Software"));
    QCOMPARE(lines.at(2), QStringLiteral("Error reporting: the Numbrook Riza team"));
    QVERIFY(lines.last().isEmpty());
    auto* build = control<QLineEdit>(box, "buildFld");
    QCOMPARE(build->text(), QStringLiteral("Build: #") + QString::number(App::NonReleaseVersion()));
    QVERIFY(!build->isReadOnly());
    QCOMPARE(control<newCnvBtn>(box, "contBtn")->myCaption(), QStringLiteral("Continue"));
    QCOMPARE(control<newCnvBtn>(box, "contBtn")->kind(), 1);
    auto* link = control<StaticURL>(box, "myURLFld");
    QCOMPARE(link->text(), newAboutScrn::webAddress());
    QCOMPARE(link->URL, newAboutScrn::webAddress());
    QCOMPARE(link->toolTip(), QStringLiteral("Launch your internet connection, then click here."));
    QCOMPARE(link->mapTo(box, QPoint()), QPoint(93, 89));
    shoot(box, QStringLiteral("about"));

    // A text changed in one opening is not there in the next: the box is made anew.
    vers->setText(QStringLiteral("stale"));
    build->setText(QStringLiteral("stale"));
    box->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!newAboutScrn::exists());
    box = open();
    QCOMPARE(control<QLabel>(box, "versTxt")->text(), App::LongVersion() + QStringLiteral(" for Linux"));
    QCOMPARE(control<QLineEdit>(box, "buildFld")->text(),
             QStringLiteral("Build: #") + QString::number(App::NonReleaseVersion()));
}

void TestNewAboutScrn::closingWays_data() {
    QTest::addColumn<QString>("way");
    QTest::newRow("Continue") << "continue";
    QTest::newRow("Return in the box") << "return";
    QTest::newRow("Enter in the box") << "enter";
    QTest::newRow("Return in the credits") << "return credits";
    QTest::newRow("Enter in the credits") << "enter credits";
    QTest::newRow("close box") << "close";
}

void TestNewAboutScrn::closingWays() {
    QFETCH(QString, way);
    newAboutScrn* box = open();
    QVERIFY(QTest::qWaitForWindowExposed(box));
    QWidget* target = box;
    if (way.endsWith(QLatin1String("credits"))) {
        target = control<QPlainTextEdit>(box, "displayFld");
        target->setFocus();
    }
    if (way == "continue")
        QTest::mouseClick(control<newCnvBtn>(box, "contBtn"), Qt::LeftButton);
    else if (way.startsWith(QLatin1String("return")))
        QTest::keyClick(target, Qt::Key_Return);
    else if (way.startsWith(QLatin1String("enter")))
        QTest::keyClick(target, Qt::Key_Enter, Qt::KeypadModifier);
    else
        box->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!newAboutScrn::exists());
}

void TestNewAboutScrn::otherKeysChangeNothing() {
    newAboutScrn* box = open();
    QVERIFY(QTest::qWaitForWindowExposed(box));
    // At opening the box itself holds the focus.
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(box));
    auto* credits = control<QPlainTextEdit>(box, "displayFld");
    credits->setFocus();
    QTest::keyClicks(credits, QStringLiteral("xyz"));
    QTest::keyClick(credits, Qt::Key_Backspace);
    QTest::keyClick(box, Qt::Key_Escape);
    QVERIFY(newAboutScrn::exists() && box->isVisible());
    QCOMPARE(credits->toPlainText(), newAboutScrn::creditsText());
}

void TestNewAboutScrn::linkOpensTheWebSite() {
    QList<QUrl> opened;
    StaticURL::setOpener([&opened](const QUrl& url) { opened << url; });
    newAboutScrn* box = open();
    QVERIFY(QTest::qWaitForWindowExposed(box));
    QTest::mouseClick(control<StaticURL>(box, "myURLFld"), Qt::LeftButton);
    QCOMPARE(opened, QList<QUrl>{QUrl(QStringLiteral("http://www.orlavo.com"))});
    QVERIFY(newAboutScrn::exists() && box->isVisible());
}

void TestNewAboutScrn::logoAndMissingLogo() {
    {
        newAboutScrn* box = open();
        QVERIFY(!Pictures::OVRInfo().isNull());
        auto* canvas = control<PictureCanvas>(box, "Canvas1");
        QCOMPARE(canvas->geometry(), QRect(20, 10, 337, 106));
        // Only the logo's own pixels: the link label lies over it.
        control<StaticURL>(box, "myURLFld")->hide();
        QVERIFY(hasInk(canvas->grab().toImage()));
        control<StaticURL>(box, "myURLFld")->show();
        box->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    TempResources empty; // no OVRInfo.jpg
    newAboutScrn* box = open();
    QVERIFY(Pictures::OVRInfo().isNull());
    auto* canvas = control<PictureCanvas>(box, "Canvas1");
    control<StaticURL>(box, "myURLFld")->hide();
    QVERIFY(!hasInk(canvas->grab().toImage()));
    control<StaticURL>(box, "myURLFld")->show();
    shoot(box, QStringLiteral("about-no-logo"));
}

QTEST_MAIN(TestNewAboutScrn)
#include "tst_newaboutscrn.moc"
