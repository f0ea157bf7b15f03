// The reset-scores dialog driven through its boxes and buttons against a temporary database; then the
// sign-in window, which plays the reset student on.

#include "classes/resetscoresscrn.h"
#include "controls/newcnvbtn.h"
#include "controls/printinglb.h"
#include "data/dbctrl.h"
#include "data/globals.h"
#include "data/prefs.h"
#include "data/strecord.h"
#include "settings/paramscrn.h"
#include "signin/namescrn.h"
#include "support/doubles.h"
#include "support/fixtures.h"
#include "support/lookcheck.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSqlQuery>
#include <QtTest>

#include <memory>

using TestDoubles::ScriptedDialogs;
using TestDoubles::TempDatabase;

namespace {

const QString kClass = QStringLiteral("Mrs O'Neil");
const QString kBests = QStringLiteral("3.5,4,12,5.25,7,6");
const QString kZero = QStringLiteral("0/0,").repeated(19).chopped(1);

// A student who knows every fact (four stars), in the hall of fame, with a best in every game.
struct School {
    ScriptedDialogs dialogs;
    TempDatabase db;
    int ann = 0, bo = 0;
    std::shared_ptr<StRecord> before;
    QString fullData;

    explicit School(int storedHalfStars = 8, const QString& bests = kBests) {
        myPrefs::prHiCrit = 10;
        myPrefs::prPctCrit = 85;
        myPrefs::prNumCrit = 40;
        DBCtrl::insertClass(kClass);
        bo = db.addStudent("Bo", kClass, "", 0);
        ann = db.addStudent("Ann Lee", kClass, "apple", storedHalfStars);
        db.addResults(ann, 50, 50);
        QSqlQuery q(DBCtrl::NBData());
        q.prepare(QStringLiteral("UPDATE theData SET zeriGames = ?, lastDate = '1/2/25' WHERE StID = ?"));
        q.addBindValue(bests);
        q.addBindValue(QString::number(ann));
        q.exec();
        DBCtrl::insertHOF(QStringLiteral("Ann Lee"));
        fullData = db.dataColumn(ann, "stAdd");
        before = std::make_shared<StRecord>("Bo", kClass, bo, QString(), 0);
        myGlobals::gCurPlayer = before;
        dialogs.clear();
    }
    ~School() {
        myGlobals::gCurPlayer.reset();
        for (QWidget* w : {static_cast<QWidget*>(ParamScrn::exists() ? ParamScrn::instance() : nullptr),
                           static_cast<QWidget*>(NameScrn::exists() ? NameScrn::instance() : nullptr)}) {
            if (w)
                w->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

QCheckBox* box(QWidget* d, int i) {
    return d->findChild<QCheckBox*>(QStringLiteral("resetBox(%1)").arg(i));
}

// A click on the box itself: the caption's free space to its right takes no clicks.
void tick(QCheckBox* b) {
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
}

} // namespace

class TestResetScoresScrn : public QObject {
    Q_OBJECT
private slots:
    void opens();
    void selectAll();
    void keys();
    void reset_data();
    void reset();
    void studentNotFound_data();
    void studentNotFound();
    void shortBestsList();
    void signInPlaysTheResetStudent();
    void anUnreadRecordIsNotKept();
    void noResultsRowAndALockPastTheWait();
};

void TestResetScoresScrn::opens() {
    School s;
    resetScoresScrn d(QStringLiteral("Ann Lee"), QString::number(s.ann), kClass);
    d.show();
    QCOMPARE(d.windowTitle(), QStringLiteral("Reset Scores"));
    QCOMPARE(d.size(), QSize(360, 480));
    QCOMPARE(d.minimumSize(), d.maximumSize());
    QVERIFY(d.isModal());
    QVERIFY(!(d.windowFlags() & Qt::WindowCloseButtonHint));
    auto* heading = d.findChild<QLabel*>("StaticText1");
    QCOMPARE(heading->text(), QStringLiteral("Reset Scores for ..."));
    QCOMPARE(heading->palette().color(QPalette::WindowText), QColor(0xAC, 0x00, 0xE1));
    QCOMPARE(d.findChild<QLabel*>("NameFld")->text(), QStringLiteral("Ann Lee"));
    QCOMPARE(d.findChild<QCheckBox*>("selAllBox")->geometry(), QRect(24, 90, 100, 16));
    QCOMPARE(d.findChild<QCheckBox*>("selAllBox")->font().pixelSize(), 10);
    const int tops[] = {120, 150, 180, 210, 240, 268, 300, 330, 360, 390};
    const char* captions[] = {"All Addition Facts",           "All Subtraction Facts",
                              "All Multiplication Facts",     "All Division Facts",
                              "Numbers Game: Difficulty=1",   "Math Detective: Difficulty=2",
                              "Math Squares: Difficulty=3",   "Math Challenge: Difficulty=4",
                              "Zuduzo d' Izuv: Difficulty=5", "Mind Games: Difficulty=6"};
    for (int i = 0; i < 10; ++i) {
        QCOMPARE(box(&d, i)->geometry(), QRect(44, tops[i], 260, 20));
        QCOMPARE(box(&d, i)->text(), QString::fromLatin1(captions[i]));
        QVERIFY(!box(&d, i)->isChecked());
    }
    auto* action = d.findChild<QPushButton*>("actionBtn");
    auto* cancel = d.findChild<QPushButton*>("cancelBtn");
    QCOMPARE(action->geometry(), QRect(44, 438, 170, 20));
    QCOMPARE(action->text(), QStringLiteral("Reset Selected Games"));
    QCOMPARE(cancel->geometry().topLeft(), QPoint(244, 438));
    QVERIFY(cancel->isDefault());
}

void TestResetScoresScrn::selectAll() {
    School s;
    resetScoresScrn d(QStringLiteral("Ann Lee"), QString::number(s.ann), kClass);
    d.show();
    auto* all = d.findChild<QCheckBox*>("selAllBox");
    tick(all);
    for (int i = 0; i < 10; ++i)
        QVERIFY(box(&d, i)->isChecked());
    tick(box(&d, 3));
    QVERIFY(!box(&d, 3)->isChecked());
    QVERIFY(all->isChecked());
    tick(all);
    for (int i = 0; i < 10; ++i)
        QVERIFY(!box(&d, i)->isChecked());
    tick(all);
    for (int i = 0; i < 10; ++i)
        QVERIFY(box(&d, i)->isChecked());

    QVERIFY(Look::saveShot(&d, QStringLiteral("resetscores-all.png")));
}

void TestResetScoresScrn::keys() {
    School s;
    resetScoresScrn d(QStringLiteral("Ann Lee"), QString::number(s.ann), kClass);
    d.show();
    tick(d.findChild<QCheckBox*>("selAllBox"));
    QTest::keyClick(&d, Qt::Key_Escape);
    QVERIFY(d.isVisible());
    QTest::keyClick(&d, Qt::Key_Return);
    QVERIFY(!d.isVisible());
    QCOMPARE(d.result(), int(QDialog::Rejected));
    QCOMPARE(s.db.dataColumn(s.ann, "stAdd"), s.fullData);
    QCOMPARE(myGlobals::gCurPlayer, s.before);
}

void TestResetScoresScrn::reset_data() {
    QTest::addColumn<QList<int>>("ticks"); // -1: "Select All"
    QTest::addColumn<int>("storedHalfStars");
    QTest::addColumn<QList<bool>>("zeroed"); // per operation
    QTest::addColumn<QString>("bests");
    QTest::addColumn<QString>("stars");
    QTest::addColumn<QString>("message");

    const QList<bool> none{false, false, false, false};
    const QList<bool> all{true, true, true, true};
    const QString defaults = QStringLiteral("99.99,99.99,0,99.99,0,99.99");
    // clang-format off
    QTest::newRow("nothing ticked") << QList<int>{} << 8 << none << kBests << "8" << "";
    QTest::newRow("Select All") << QList<int>{-1} << 8 << all << defaults << "0"
        << "Ann Lee's stars have been reset to 0.0";
    QTest::newRow("operations only") << QList<int>{0, 1, 2, 3} << 8 << all << kBests << "0"
        << "Ann Lee's stars have been reset to 0.0";
    QTest::newRow("one operation") << QList<int>{2} << 8 << QList<bool>{false, false, true, false} << kBests
        << "6" << "Ann Lee's stars have been reset to 3.0";
    QTest::newRow("games only, a stale total corrected") << QList<int>{4, 5, 6, 7, 8, 9} << 5 << none
        << defaults << "8" << "Congratulations, Ann Lee";
    QTest::newRow("two games") << QList<int>{6, 9} << 8 << none << "3.5,4,0,5.25,7,99.99" << "8" << "";
    // clang-format on
}

void TestResetScoresScrn::reset() {
    QFETCH(QList<int>, ticks);
    QFETCH(int, storedHalfStars);
    QFETCH(QList<bool>, zeroed);
    QFETCH(QString, bests);
    QFETCH(QString, stars);
    QFETCH(QString, message);
    School s(storedHalfStars);
    resetScoresScrn d(QStringLiteral("Ann Lee"), QString::number(s.ann), kClass);
    d.show();
    for (int t : ticks)
        tick(t < 0 ? d.findChild<QCheckBox*>("selAllBox") : box(&d, t));
    QTest::mouseClick(d.findChild<QPushButton*>("actionBtn"), Qt::LeftButton);

    QVERIFY(!d.isVisible());
    const char* columns[] = {"stAdd", "stSub", "stMul", "stDiv"};
    for (int op = 0; op < 4; ++op)
        QCOMPARE(s.db.dataColumn(s.ann, columns[op]), zeroed[op] ? kZero : s.fullData);
    QCOMPARE(s.db.dataColumn(s.ann, "zeriGames"), bests);
    QCOMPARE(s.db.dataColumn(s.ann, "lastDate"), DBCtrl::todayText());
    QCOMPARE(s.db.dataColumn(s.ann, "stParam"), QStringLiteral("0,0,10,1^1^1^1,0,15,10,0,0,0,0"));
    QCOMPARE(s.db.nameColumn(s.ann, "StStars"), stars);
    QCOMPARE(myGlobals::unscrambleStr(s.db.nameColumn(s.ann, "StPW")), QStringLiteral("apple"));
    // Bo's row and the hall of fame are untouched.
    QCOMPARE(s.db.nameColumn(s.bo, "StStars"), QStringLiteral("0"));
    QCOMPARE(s.db.count("HallData", "StName", "Ann Lee"), 1);
    const QStringList shown = s.dialogs.messages();
    QCOMPARE(shown.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty())
        QVERIFY2(shown.first().startsWith(message), qPrintable(shown.first()));
    QVERIFY(myGlobals::gCurPlayer && myGlobals::gCurPlayer != s.before);
    QCOMPARE(myGlobals::gCurPlayer->curStID, s.ann);
    QCOMPARE(myGlobals::gCurPlayer->curStudent, QStringLiteral("Ann Lee"));
    QCOMPARE(myGlobals::gCurPlayer->curClass, kClass);
    QCOMPARE(myGlobals::gCurPlayer->curStPW, QStringLiteral("apple"));
    QCOMPARE(myGlobals::gCurPlayer->curStars, myGlobals::textToInt(stars));
}

void TestResetScoresScrn::studentNotFound_data() {
    QTest::addColumn<QString>("className");
    QTest::addColumn<int>("idOffset");
    QTest::addColumn<QString>("message");
    // clang-format off
    QTest::newRow("class with no students") << "Nowhere" << 0
        << "Unable to find this student's record in the database.";
    QTest::newRow("class without that id") << kClass << 100 << "Error in getting current student's info.";
    QTest::newRow("quote trick") << "x' OR 'a'='a" << 0
        << "Unable to find this student's record in the database.";
    // clang-format on
}

void TestResetScoresScrn::studentNotFound() {
    QFETCH(QString, className);
    QFETCH(int, idOffset);
    QFETCH(QString, message);
    School s;
    resetScoresScrn d(QStringLiteral("Ann Lee"), QString::number(s.ann + idOffset), className);
    d.show();
    tick(d.findChild<QCheckBox*>("selAllBox"));
    QTest::mouseClick(d.findChild<QPushButton*>("actionBtn"), Qt::LeftButton);
    QVERIFY(!d.isVisible());
    QCOMPARE(s.dialogs.messages(), QStringList{message});
    QCOMPARE(s.dialogs.shown.first().kind, TestDoubles::Shown::Plain);
    QCOMPARE(s.db.dataColumn(s.ann, "stAdd"), s.fullData);
    QCOMPARE(s.db.dataColumn(s.ann, "lastDate"), QStringLiteral("1/2/25"));
    QCOMPARE(s.db.nameColumn(s.ann, "StStars"), QStringLiteral("8"));
    QCOMPARE(myGlobals::gCurPlayer, s.before);
}

void TestResetScoresScrn::shortBestsList() {
    School s(8, QStringLiteral("3.5,4"));
    resetScoresScrn d(QStringLiteral("Ann Lee"), QString::number(s.ann), kClass);
    d.show();
    tick(box(&d, 9));
    QTest::mouseClick(d.findChild<QPushButton*>("actionBtn"), Qt::LeftButton);
    QCOMPARE(s.db.dataColumn(s.ann, "zeriGames"), QStringLiteral("3.5,4,0,99.99,0,99.99"));
}

void TestResetScoresScrn::signInPlaysTheResetStudent() {
    School s;
    myPrefs::prReqStPW = true;
    resetScoresScrn d(QStringLiteral("Ann Lee"), QString::number(s.ann), kClass);
    d.show();
    tick(box(&d, 0));
    QTest::mouseClick(d.findChild<QPushButton*>("actionBtn"), Qt::LeftButton);
    const std::shared_ptr<StRecord> reset = myGlobals::gCurPlayer;
    QCOMPARE(reset->curStID, s.ann);

    NameScrn* signIn = NameScrn::instance();
    signIn->show();
    auto* names = signIn->findChild<printingLB*>(QStringLiteral("NameList"));
    QTRY_VERIFY(!names->selectedItems().isEmpty());
    QCOMPARE(names->selectedItems().first()->text(), QStringLiteral("Ann Lee"));
    // A password prompt would be a modal window: note it and close it, so the test cannot hang.
    bool prompted = false;
    QTimer::singleShot(0, qApp, [&prompted] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            prompted = true;
            modal->close();
        }
    });
    QTest::mouseClick(signIn->findChild<newCnvBtn*>(QStringLiteral("ContBtn")), Qt::LeftButton);
    QVERIFY(!prompted);
    QVERIFY(ParamScrn::exists() && ParamScrn::instance()->isVisible());
    QCOMPARE(myGlobals::gCurPlayer, reset);
    myPrefs::prReqStPW = false;
}

// The student's results cannot be read: the record's own message, nothing reset, and no current
// student at all (not the unread record, which no save would take); the next sign-in loads afresh.
void TestResetScoresScrn::anUnreadRecordIsNotKept() {
    School s;
    myPrefs::prReqStPW = false;
    QVERIFY(QSqlQuery(DBCtrl::NBData()).exec("ALTER TABLE theData RENAME TO Away"));
    resetScoresScrn d(QStringLiteral("Ann Lee"), QString::number(s.ann), kClass);
    d.show();
    tick(d.findChild<QCheckBox*>("selAllBox"));
    QTest::mouseClick(d.findChild<QPushButton*>("actionBtn"), Qt::LeftButton);
    QVERIFY(!d.isVisible());
    QCOMPARE(s.dialogs.messages(), QStringList{"Database Error: 1"});
    QVERIFY(!myGlobals::gCurPlayer);
    QVERIFY(QSqlQuery(DBCtrl::NBData()).exec("ALTER TABLE Away RENAME TO theData"));
    QCOMPARE(s.db.dataColumn(s.ann, "stAdd"), s.fullData);

    NameScrn* signIn = NameScrn::instance();
    signIn->show();
    auto* classes = signIn->findChild<QTableWidget*>(QStringLiteral("ClassList"));
    for (int r = 0; r < classes->rowCount(); ++r) {
        if (classes->item(r, 0)->text() == kClass)
            classes->selectRow(r);
    }
    auto* names = signIn->findChild<printingLB*>(QStringLiteral("NameList"));
    for (int r = 0; r < names->rowCount(); ++r) {
        if (names->item(r, 0)->text() == QStringLiteral("Ann Lee"))
            names->selectRow(r);
    }
    QTest::mouseClick(signIn->findChild<newCnvBtn*>(QStringLiteral("ContBtn")), Qt::LeftButton);
    QVERIFY(myGlobals::gCurPlayer && myGlobals::gCurPlayer->loaded());
    QCOMPARE(myGlobals::gCurPlayer->curStID, s.ann);
    QCOMPARE(myGlobals::gCurPlayer->addTried[0], 50);
}

// A student without a results row while another computer holds the database past the wait: the row
// cannot be made, which is said as such; nothing is made, reset or kept.
void TestResetScoresScrn::noResultsRowAndALockPastTheWait() {
    School s;
    QVERIFY(QSqlQuery(DBCtrl::NBData()).exec("PRAGMA busy_timeout = 150"));
    resetScoresScrn d(QStringLiteral("Bo"), QString::number(s.bo), kClass);
    d.show();
    tick(d.findChild<QCheckBox*>("selAllBox"));
    {
        TestDoubles::OtherComputer other(s.db.file());
        QVERIFY(other.holdWriteLock());
        QTest::mouseClick(d.findChild<QPushButton*>("actionBtn"), Qt::LeftButton);
    }
    QCOMPARE(s.dialogs.messages(),
             QStringList{"The student's results could not be loaded: another computer is using the student data."});
    QCOMPARE(s.dialogs.shown[0].explanation,
             QStringLiteral("Nothing has been changed. Please try again in a moment."));
    QCOMPARE(s.db.count("theData", "StID", QString::number(s.bo)), 0);
    QVERIFY(!myGlobals::gCurPlayer);
}

QTEST_MAIN(TestResetScoresScrn)
#include "tst_resetscoresscrn.moc"
