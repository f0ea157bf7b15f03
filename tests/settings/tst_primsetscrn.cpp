#include "app/onmodal.h"
#include "controls/newcnvbtn.h"
#include "settings/presspicture.h"
#include "settings/primsetscrn.h"
#include "settingsfixture.h"

#include <QtTest>

using namespace SettingsTest;

namespace {

// A fact family, highest 15, 20 problems, negatives and speech on, 5 seconds, horizontal layout and
// the first number unknown.
const QString kBusy = QStringLiteral("3/5,2,15,1^0^1^0,1,5,20,1,1,1,0");
const QString kDefaults = QStringLiteral("0,0,10,1^1^1^1,0,15,10,0,0,0,0");

PressPicture* operationButton(QWidget* dialog, int index) {
    return array<PressPicture>(dialog, "myBtn").value(index);
}

} // namespace

class TestPrimSetScrn : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { closeAll(); }

    void writesAndSavesTheBeginnerSetUp_data();
    void writesAndSavesTheBeginnerSetUp();
    void theLastChoiceCountsAndTheDialogClosesOnce();
    void goBackAfterAChoiceKeepsWhatWasSaved();
    void onlyTheButtonsCloseIt();
    void greetsByFirstName_data();
    void greetsByFirstName();
    void fromTheSettingsWindow_data();
    void fromTheSettingsWindow();
};

void TestPrimSetScrn::writesAndSavesTheBeginnerSetUp_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("setUp");

    QTest::newRow("division") << kBusy << 3 << "0,3,10,1^0^1^0,0,5,10,0,1,0,0";
    QTest::newRow("addition") << kBusy << 0 << "0,0,10,1^0^1^0,0,5,10,0,1,0,0";
    QTest::newRow("random mix keeps the chosen operations") << kBusy << 4 << "0,4,10,1^0^1^0,0,5,10,0,1,0,0";
    QTest::newRow("random mix with one operation gets all four")
        << "0,1,12,0^1^0^0,0,0,8,0,0,0,0" << 4 << "0,4,10,1^1^1^1,0,0,10,0,0,0,0";
    QTest::newRow("subtraction leaves a damaged mix alone")
        << "0,1,12,0^0^0^0,0,0,8,0,0,0,0" << 1 << "0,1,10,0^0^0^0,0,0,10,0,0,0,0";
}

void TestPrimSetScrn::writesAndSavesTheBeginnerSetUp() {
    QFETCH(QString, stored);
    QFETCH(int, button);
    QFETCH(QString, setUp);

    SignedIn ann(stored);
    QString title;
    QString picture;
    QString savedBeforeClosing;
    onModal([&](QWidget* dialog) {
        title = dialog->windowTitle();
        PressPicture* choice = operationButton(dialog, button);
        picture = choice->property("picture").toString();
        click(choice);
        savedBeforeClosing = ann.stored();
        QTRY_VERIFY(!dialog->isVisible());
    });
    const bool chosen = PrimSetScrn::instance()->HndlShowMe();

    QVERIFY(chosen);
    QCOMPARE(title, QStringLiteral("Easy Settings"));
    const char* const pictures[] = {"ZeriBtn", "MinusBtn", "TimesBtn", "DivBtn", "AllBtn"};
    QCOMPARE(picture, QLatin1String(pictures[button]));
    QCOMPARE(SignedIn::fields(), setUp);
    QCOMPARE(savedBeforeClosing, setUp);
    QCOMPARE(ann.stored(), setUp);
    QVERIFY(ann.dialogs.shown.isEmpty());
}

void TestPrimSetScrn::theLastChoiceCountsAndTheDialogClosesOnce() {
    SignedIn ann(kBusy);
    QList<bool> openAfterEach;
    onModal([&](QWidget* dialog) {
        // The release is taken wherever the pointer is let go.
        PressPicture* add = operationButton(dialog, 0);
        const QPoint home = add->pos();
        QTest::mousePress(add, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
        QCOMPARE(add->pos(), home + QPoint(2, 2));
        QTest::mouseRelease(add, Qt::LeftButton, Qt::NoModifier, QPoint(200, 150));
        QCOMPARE(add->pos(), home);
        openAfterEach << dialog->isVisible();
        click(operationButton(dialog, 2));
        openAfterEach << dialog->isVisible();
        QTRY_VERIFY(!dialog->isVisible());
    });
    QSignalSpy finished(PrimSetScrn::instance(), &QDialog::finished);
    const bool chosen = PrimSetScrn::instance()->HndlShowMe();

    QVERIFY(chosen);
    QCOMPARE(finished.size(), 1);
    QCOMPARE(openAfterEach, (QList<bool>{true, true}));
    QCOMPARE(ann.stored(), QStringLiteral("0,2,10,1^0^1^0,0,5,10,0,1,0,0"));
}

void TestPrimSetScrn::goBackAfterAChoiceKeepsWhatWasSaved() {
    SignedIn ann(kBusy);
    onModal([&](QWidget* dialog) {
        click(operationButton(dialog, 1));
        click(dialog->findChild<newCnvBtn*>("cancelBtn"));
    });
    const bool chosen = PrimSetScrn::instance()->HndlShowMe();
    QVERIFY(!chosen);
    QCOMPARE(ann.stored(), QStringLiteral("0,1,10,1^0^1^0,0,5,10,0,1,0,0"));

    // The pending close of the first dialog must not reach the next one.
    QTRY_VERIFY(!PrimSetScrn::exists());
    bool stillOpen = false;
    onModal([&](QWidget* dialog) {
        QTest::qWait(150);
        stillOpen = dialog->isVisible();
        click(dialog->findChild<newCnvBtn*>("cancelBtn"));
    });
    QVERIFY(!PrimSetScrn::instance()->HndlShowMe());
    QVERIFY(stillOpen);
}

void TestPrimSetScrn::onlyTheButtonsCloseIt() {
    SignedIn ann(kBusy);
    bool open = false;
    QString caption;
    onModal([&](QWidget* dialog) {
        QTest::keyClick(dialog, Qt::Key_Escape);
        QTest::keyClick(dialog, Qt::Key_Return);
        QTest::keyClick(dialog, Qt::Key_Enter);
        open = dialog->isVisible();
        auto* back = dialog->findChild<newCnvBtn*>("cancelBtn");
        caption = back->myCaption();
        click(back);
    });
    QVERIFY(!PrimSetScrn::instance()->HndlShowMe());
    QVERIFY(open);
    QCOMPARE(caption, QStringLiteral("Go Back"));
    QCOMPARE(ann.stored(), kBusy);
    QCOMPARE(SignedIn::fields(), kBusy);
}

void TestPrimSetScrn::greetsByFirstName_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("greeted");
    QTest::newRow("first and last name") << "Ann Lee"
                                         << "Ann";
    QTest::newRow("one name") << "Ann"
                              << "Ann";
}

void TestPrimSetScrn::greetsByFirstName() {
    QFETCH(QString, name);
    QFETCH(QString, greeted);

    SignedIn student(kBusy, name);
    QString greeting;
    onModal([&](QWidget* dialog) {
        greeting = dialog->findChild<QLabel*>("infoTxt")->text();
        click(dialog->findChild<newCnvBtn*>("cancelBtn"));
    });
    PrimSetScrn::instance()->HndlShowMe();
    QCOMPARE(greeting, QStringLiteral("Hello ") + greeted +
                           QStringLiteral(", \n\nClick on the kind of math problem you want to practice."));
}

void TestPrimSetScrn::fromTheSettingsWindow_data() {
    QTest::addColumn<bool>("choose");
    QTest::newRow("a set-up chosen") << true;
    QTest::newRow("Go Back") << false;
}

void TestPrimSetScrn::fromTheSettingsWindow() {
    QFETCH(bool, choose);

    SignedIn ann(kDefaults);
    ParamScrn* settings = openSettings();
    auto* easy = settings->findChild<PressPicture*>("easyStartCnv");
    QCOMPARE(easy->cursor().shape(), Qt::PointingHandCursor);
    // A typed number that is not stored yet does not go with the easy set-up.
    typeInto(combo(settings, "totProbsFld"), "16");

    QPoint duringDialog;
    onModal([&](QWidget* dialog) {
        duringDialog = easy->pos();
        click(choose ? static_cast<QWidget*>(operationButton(dialog, 2))
                     : dialog->findChild<newCnvBtn*>("cancelBtn"));
        QTRY_VERIFY(!dialog->isVisible());
    });
    const QPoint home = easy->pos();
    QTest::mousePress(easy, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QCOMPARE(easy->pos(), home + QPoint(2, 2));
    QTest::mouseRelease(easy, Qt::LeftButton, Qt::NoModifier, QPoint(400, 300));

    QCOMPARE(duringDialog, home);
    QCOMPARE(ParamScrn::exists(), !choose);
    QCOMPARE(GameScrn::instance()->isVisible(), choose);
    if (choose) {
        QCOMPARE(ann.stored(), QStringLiteral("0,2,10,1^1^1^1,0,15,10,0,0,0,0"));
    } else {
        QVERIFY(settings->isVisible());
        QCOMPARE(ann.stored(), kDefaults);
    }
}

QTEST_MAIN(TestPrimSetScrn)
#include "tst_primsetscrn.moc"
