// The sign-in window as a class sees it: three classes, a dozen students, one of them signed in and
// back from a round. At the smallest and the largest size nothing may be cut off or lie on top of
// something else, and the instruction line must read clearly on its background. With NBR_SHOTS_DIR
// set, the window is also saved there as a picture at each size.

#include "app/picts.h"
#include "controls/newcnvbtn.h"
#include "controls/printinglb.h"
#include "data/dbctrl.h"
#include "data/globals.h"
#include "data/rndset.h"
#include "data/strecord.h"
#include "main/routes.h"
#include "signin/namescrn.h"
#include "support/doubles.h"
#include "support/fixtures.h"
#include "support/lookcheck.h"

#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include <cmath>
#include <memory>

namespace {

// The contrast ratio of two colours, from their relative luminance as the web's accessibility
// guidelines count it: 1 for the same colour, 21 for black on white.
double luminance(const QColor& c) {
    const auto channel = [](double v) {
        v /= 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace

class TestNameScrnLook : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void nothingCutOffOrCovered_data();
    void nothingCutOffOrCovered();

private:
    TestDoubles::ScriptedDialogs dialogs;
    std::unique_ptr<TestDoubles::TempDatabase> db;
};

void TestNameScrnLook::initTestCase() {
    myPicts::loadPics();
    // Wired as the program wires it, so the buttons look as a student sees them (the pictures of the
    // help pages are taken from this window).
    Routes::install();
    db = std::make_unique<TestDoubles::TempDatabase>();
    for (const char* c : {"Mrs O'Neil's Class", "Room 12", "Mr Okafor"})
        QVERIFY(DBCtrl::insertClass(QString::fromLatin1(c)));
    const struct {
        const char* name;
        const char* cls;
        int halfStars;
    } students[] = {
        {"Amelia Fitzgerald-Hernandez", "Room 12", 3},
        {"Ben Ng", "Room 12", 0},
        {"Chloe Dubois", "Room 12", 8},
        {"Dev Patel", "Room 12", 5},
        {"Emma Lindqvist", "Room 12", 1},
        {"Finn O'Brien", "Mrs O'Neil's Class", 2},
        {"Grace Wu", "Mrs O'Neil's Class", 7},
        {"Hugo Moreau", "Mrs O'Neil's Class", 4},
        {"Isla MacLeod", "Mr Okafor", 6},
        {"Jonah Abiodun", "Mr Okafor", 0},
        {"Kai Tanaka", "Mr Okafor", 2},
        {"Lena Schmidt", "Mr Okafor", 3},
    };
    int signedIn = 0;
    for (const auto& s : students) {
        const int id =
            db->addStudent(QString::fromLatin1(s.name), QString::fromLatin1(s.cls), {}, s.halfStars);
        if (QLatin1String(s.name) == QLatin1String("Dev Patel"))
            signedIn = id;
    }
    auto record = std::make_shared<StRecord>(QStringLiteral("Dev Patel"), QStringLiteral("Room 12"), signedIn,
                                             QString(), 5);
    myGlobals::gCurPlayer = record;
    record->getStudentData();
    myGlobals::gMySet = std::make_shared<rndSet>(10, 10, 0, false, true);
    myGlobals::gUseLastGame = true;
}

void TestNameScrnLook::cleanupTestCase() {
    if (NameScrn::exists())
        NameScrn::instance()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    db.reset();
}

void TestNameScrnLook::nothingCutOffOrCovered_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("smallest") << QSize(800, 676);
    QTest::newRow("between") << QSize(1040, 800);
    QTest::newRow("largest") << QSize(1280, 960);
}

void TestNameScrnLook::nothingCutOffOrCovered() {
    QFETCH(QSize, size);
    NameScrn* window = NameScrn::instance();
    window->show();
    QTRY_VERIFY(!window->findChild<QTimer*>(QStringLiteral("openTimer"))->isActive());
    auto* content = window->findChild<QWidget*>(QStringLiteral("content"));
    window->resize(size.width(), window->height() - content->height() + size.height());
    QCOMPARE(content->size(), size);
    QCOMPARE(window->findChild<QLineEdit*>(QStringLiteral("StNameFld"))->text(), QStringLiteral("Dev Patel"));

    const QList<QWidget*> shown = Look::shownChildren(content);
    QVERIFY(shown.size() >= 20);
    // Every button shown can be pressed: none stands greyed out in the picture.
    int buttons = 0;
    for (QWidget* part : shown) {
        if (qobject_cast<newCnvBtn*>(part)) {
            ++buttons;
            QVERIFY2(part->isEnabled(), qPrintable(part->objectName()));
        }
    }
    QVERIFY(buttons >= 8); // Play, Add My Own Name and the six games

    // Every text fits its control.
    const QString cut = Look::firstCutOff(shown);
    QVERIFY2(cut.isEmpty(), qPrintable(cut));
    auto* names = window->findChild<printingLB*>(QStringLiteral("NameList"));
    for (int r = 0; r < names->rowCount(); ++r)
        QVERIFY2(names->fontMetrics().horizontalAdvance(names->item(r, 0)->text()) <
                     names->columnWidth(0) - 6,
                 qPrintable(names->item(r, 0)->text()));

    // No two controls lie on each other (a pixel of touching frames aside).
    const QString overlap = Look::firstOverlap(shown, content->rect());
    QVERIFY2(overlap.isEmpty(), qPrintable(overlap));

    QVERIFY(Look::saveShot(window, QStringLiteral("signin-%1x%2.png").arg(size.width()).arg(size.height())));

    // The instruction line's blue reads clearly on every pixel of the sky behind it.
    auto* instr = window->findChild<QLabel*>(QStringLiteral("InstrFld"));
    QCOMPARE(instr->palette().color(QPalette::WindowText), QColor(0x41, 0x75, 0xBD));
    const QRect line = instr->geometry();
    instr->hide();
    const QImage sky = content->grab(line).toImage();
    instr->show();
    double lowest = 21;
    for (int y = 0; y < sky.height(); ++y) {
        for (int x = 0; x < sky.width(); ++x)
            lowest = std::min(lowest, contrast(sky.pixelColor(x, y), instr->palette().color(QPalette::WindowText)));
    }
    QVERIFY2(lowest >= 4.5, qPrintable(QStringLiteral("contrast %1:1").arg(lowest, 0, 'f', 2)));
}

QTEST_MAIN(TestNameScrnLook)
#include "tst_namescrn_look.moc"
