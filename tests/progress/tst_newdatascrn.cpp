// The progress window driven through its controls: what it shows for a student, its tabs and
// details switch, the practice start from a cell, and its ways out.

#include "app/helplink.h"
#include "app/menus.h"
#include "data/dbctrl.h"
#include "data/globals.h"
#include "data/prefs.h"
#include "data/prefs_file.h"
#include "data/strecord.h"
#include "progress/newdatascrn.h"
#include "progress/progresscells.h"
#include "progress/progressgrid.h"
#include "round/gamescrn.h"
#include "settings/paramscrn.h"
#include "signin/namescrn.h"
#include "support/doubles.h"
#include "support/fixtures.h"
#include "support/lookcheck.h"

#include "../app/tempresources.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using ProgressGrid::Mark;

namespace {

const QString kStoredDate = QStringLiteral("1/2/25"); // the fixture's last visit
const QString kDefaultParams = QStringLiteral("0,0,10,1^1^1^1,0,15,10,0,0,0,0");

template <class T> T* child(QWidget* window, const QString& name) {
    return window->findChild<T*>(name);
}

QImage asArgb(const QImage& image) {
    return image.convertToFormat(QImage::Format_ARGB32);
}

// What a cell's picture shows: the part every picture covers, compared with each picture drawn alone.
Mark markIn(StarCnv* cell) {
    const QImage shown = asArgb(cell->grab().toImage()).copy(0, 0, 24, 24);
    for (const Mark mark : {Mark::Star, Mark::Try, Mark::Cross}) {
        QImage alone(32, 24, QImage::Format_ARGB32_Premultiplied);
        alone.fill(Qt::white);
        QPainter g(&alone);
        ProgressPaint::paintMark(g, mark);
        g.end();
        if (asArgb(alone).copy(0, 0, 24, 24) == shown)
            return mark;
    }
    return Mark::None;
}

// The tags of the tab that shows a fact index: the grid draws all of them in one letter size.
QStringList tabTags(int factIndex) {
    const int first = factIndex < 10 ? 0 : 10;
    const int last = factIndex < 10 ? 9 : 18;
    QStringList tags;
    for (int op = 0; op < 4; ++op) {
        for (int f = first; f <= last; ++f)
            tags << ProgressGrid::tagText(myGlobals::gCurPlayer.get(), op, f, ProgressGrid::criteria());
    }
    return tags;
}

// A bar as it should look for one operation and fact index, with or without its tag.
QImage expectedBar(int operation, int factIndex, bool withTag) {
    QImage bar(100, 20, QImage::Format_ARGB32_Premultiplied);
    bar.fill(Qt::white);
    QPainter g(&bar);
    const StRecord* player = myGlobals::gCurPlayer.get();
    ProgressPaint::paintBar(g, bar.size(), ProgressGrid::wholePercentOf(player, operation, factIndex));
    if (withTag)
        ProgressPaint::paintTag(g, bar.size(),
                                ProgressGrid::tagText(player, operation, factIndex, ProgressGrid::criteria()),
                                ProgressPaint::tagPixelSize(g.font(), bar.size(), tabTags(factIndex)));
    g.end();
    return asArgb(bar);
}

QImage shownBar(newDataScrn* window, int cell) {
    return asArgb(window->gradeBarCnv(cell)->grab().toImage());
}

// Half stars as a student reads them off the window: per operation, the families it marks with a
// star against those it counts (every family without a cross), on both tabs.
int halfStarsShown(newDataScrn* window) {
    auto* tabs = window->findChild<QTabBar*>(QStringLiteral("levelTab"));
    int total = 0;
    for (int op = 0; op < 4; ++op) {
        int counted = 0;
        int stars = 0;
        for (int tab = 0; tab < 2; ++tab) {
            tabs->setCurrentIndex(tab);
            for (int row = 0; row < 10; ++row) {
                const Mark mark = markIn(window->starCnv(op * 10 + row));
                counted += mark == Mark::Star || mark == Mark::Try;
                stars += mark == Mark::Star;
            }
        }
        total += stars == counted ? 2 : stars >= counted / 2 ? 1 : 0;
    }
    tabs->setCurrentIndex(0);
    return total;
}

// Closes every window, including the sign-in window the progress window shows when it goes.
void closeAllWindows() {
    for (int round = 0; round < 5; ++round) {
        bool any = false;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isVisible()) {
                w->close();
                any = true;
            }
        }
        if (!any)
            break;
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestNewDataScrn : public QObject {
    Q_OBJECT
    TestDoubles::ScriptedDialogs dialogs_;
    std::unique_ptr<TestDoubles::TempDatabase> db_;
    int id_ = 0;

    // Signs a student in with the fixture's results (nothing tried) and the given drill settings.
    std::shared_ptr<StRecord> signIn(const QString& params = kDefaultParams) {
        id_ = db_->addStudent(QStringLiteral("Ann Lee"), QStringLiteral("Room 7"));
        db_->addResults(id_, 0, 0);
        DBCtrl::exec(QStringLiteral("UPDATE theData SET stParam = ? WHERE StID = ?"), {params, id_});
        auto record = std::make_shared<StRecord>(QStringLiteral("Ann Lee"), QStringLiteral("Room 7"), id_,
                                                 QString(), 0);
        record->getStudentData();
        myGlobals::gCurPlayer = record;
        return record;
    }

    static newDataScrn* open() {
        newDataScrn* window = newDataScrn::instance();
        window->show();
        return QTest::qWaitForWindowExposed(window) ? window : nullptr;
    }

private slots:
    void init() {
        db_ = std::make_unique<TestDoubles::TempDatabase>();
        dialogs_.clear();
    }
    void cleanup() {
        closeAllWindows();
        myGlobals::gCurPlayer.reset();
        myGlobals::gUseLastGame = false;
        myPrefs::initPrefs();
        db_.reset();
    }

    void opensOnTheStudentAndTheCriteria();
    void helpOpensThePageOnData();
    void countsAreReadAfreshAtEachOpening();
    void secondTabShowsFamilies11To19();
    void detailsSwitchTakesOnlyTheTags();
    void everyTagSharesOneSize();
    void barColours_data();
    void barColours();
    void marksFollowTheCriteria();
    void starsAgreeWithTheSavedStarsForAFilesNumbers_data();
    void starsAgreeWithTheSavedStarsForAFilesNumbers();
    void practiceStart_data();
    void practiceStart();
    void practiceStartsEvenWhenTheSaveFails();
    void hiddenTenthRowNeverStoresFamily20();
    void waysOut_data();
    void waysOut();
    void criteriaFieldsCannotBeEditedOrSelected();
    void controlsStayApartAndInside();
    void controlsAtTheirNumbers();
};

void TestNewDataScrn::opensOnTheStudentAndTheCriteria() {
    signIn();
    myPrefs::prNumCrit = 25;
    myPrefs::prPctCrit = 90;
    newDataScrn* window = open();
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("Data"));
    QCOMPARE(child<QLabel>(window, "stNameFld")->text(), QStringLiteral("Ann Lee"));
    QCOMPARE(child<QLabel>(window, "lastDateFld")->text(), kStoredDate);
    QCOMPARE(child<QLineEdit>(window, "reqTotFld")->text(), QStringLiteral("25"));
    QCOMPARE(child<QLineEdit>(window, "reqPctFld")->text(), QStringLiteral("90%"));
    QCOMPARE(child<QTabBar>(window, "levelTab")->currentIndex(), 0);
    QCOMPARE(child<QTabBar>(window, "levelTab")->tabText(1), QStringLiteral("11 - 19"));
    QCOMPARE(child<QPushButton>(window, "hideDetBtn")->text(), QStringLiteral("Hide Details"));
    for (int r = 0; r < 10; ++r) {
        QCOMPARE(window->numTxt(r)->text(), QString::number(r + 1) + QStringLiteral("'s"));
        QVERIFY(window->numTxt(r)->isVisible());
    }
    for (int b = 0; b < 40; ++b)
        QVERIFY(window->gradeBarCnv(b)->isVisible() && window->starCnv(b)->isVisible());
    QCOMPARE(window->focusWidget(), child<QLineEdit>(window, "stlFocus"));
    auto* bar = window->findChild<MenuBar1*>();
    QVERIFY(bar);
    // Help has no window yet: offered disabled rather than doing nothing.
    QVERIFY(!bar->item(QStringLiteral("HelpHelp"))->isEnabled());
}

void TestNewDataScrn::helpOpensThePageOnData() {
    signIn();
    QList<std::pair<int, QWidget*>> opened;
    HelpLink::install([&](int topic, QWidget* from) { opened.append({topic, from}); });
    newDataScrn* window = open();
    QVERIFY(window);
    QAction* help = window->findChild<MenuBar1*>()->item(QStringLiteral("HelpHelp"));
    QVERIFY(help->isEnabled());
    help->trigger();
    HelpLink::install({});
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened.first().first, 2);
    QCOMPARE(opened.first().second, window);
}

void TestNewDataScrn::countsAreReadAfreshAtEachOpening() {
    auto record = signIn();
    // Counts changed since the percentages were last counted: the window counts them anew.
    record->mulCor[3] = 34;
    record->mulTried[3] = 40;
    newDataScrn* window = open();
    QVERIFY(window);
    QCOMPARE(markIn(window->starCnv(23)), Mark::Star);
    QCOMPARE(shownBar(window, 23), expectedBar(2, 3, true));
    QCOMPARE(ProgressGrid::wholePercentOf(record.get(), 2, 3), 85);

    // Left on the second tab with details hidden, it opens again on the first with details shown.
    child<QTabBar>(window, "levelTab")->setCurrentIndex(1);
    child<QPushButton>(window, "hideDetBtn")->click();
    QTest::mouseClick(child<QWidget>(window, "closeBtn"), Qt::LeftButton);
    QTRY_VERIFY(NameScrn::instance()->isVisible());
    record->mulCor[3] = 10;
    window = open();
    QVERIFY(window);
    QCOMPARE(child<QTabBar>(window, "levelTab")->currentIndex(), 0);
    QCOMPARE(child<QPushButton>(window, "hideDetBtn")->text(), QStringLiteral("Hide Details"));
    QCOMPARE(window->numTxt(0)->text(), QStringLiteral("1's"));
    QCOMPARE(markIn(window->starCnv(23)), Mark::Try);
    QCOMPARE(shownBar(window, 23), expectedBar(2, 3, true));
}

void TestNewDataScrn::secondTabShowsFamilies11To19() {
    auto record = signIn();
    myPrefs::prHiCrit = 12;
    record->subCor[11] = 40; // subtraction, family 12: counted and learned
    record->subTried[11] = 40;
    record->subCor[12] = 40; // family 13: learned, but above the highest counted family
    record->subTried[12] = 40;
    newDataScrn* window = open();
    QVERIFY(window);
    auto* tabs = child<QTabBar>(window, "levelTab");

    tabs->setCurrentIndex(1);
    for (int r = 0; r < 9; ++r)
        QCOMPARE(window->numTxt(r)->text(), QString::number(r + 11) + QStringLiteral("'s"));
    QVERIFY(window->numTxt(8)->isVisible());
    QVERIFY(!window->numTxt(9)->isVisible());
    for (const int b : {9, 19, 29, 39})
        QVERIFY(!window->gradeBarCnv(b)->isVisible() && !window->starCnv(b)->isVisible());
    QCOMPARE(markIn(window->starCnv(11)), Mark::Star);
    QCOMPARE(markIn(window->starCnv(12)), Mark::Cross);
    QCOMPARE(markIn(window->starCnv(10)), Mark::Try);
    QCOMPARE(shownBar(window, 11), expectedBar(1, 11, true));
    QCOMPARE(shownBar(window, 12), expectedBar(1, 12, true)); // "not counted" over a full bar

    tabs->setCurrentIndex(0);
    QCOMPARE(window->numTxt(9)->text(), QStringLiteral("10's"));
    QVERIFY(window->numTxt(9)->isVisible());
    for (const int b : {9, 19, 29, 39})
        QVERIFY(window->gradeBarCnv(b)->isVisible() && window->starCnv(b)->isVisible());
    QCOMPARE(markIn(window->starCnv(11)), Mark::Try);
    QCOMPARE(shownBar(window, 11), expectedBar(1, 1, true));
}

void TestNewDataScrn::detailsSwitchTakesOnlyTheTags() {
    auto record = signIn();
    record->addCor[0] = 29;
    record->addTried[0] = 50;
    newDataScrn* window = open();
    QVERIFY(window);
    auto* button = child<QPushButton>(window, "hideDetBtn");
    const QImage pictureBefore = window->starCnv(0)->grab().toImage();
    QVERIFY(shownBar(window, 0) != expectedBar(0, 0, false));

    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(button->text(), QStringLiteral("Show Details"));
    for (const int b : {0, 15, 39})
        QCOMPARE(shownBar(window, b), expectedBar(b / 10, b % 10, false));
    QCOMPARE(window->starCnv(0)->grab().toImage(), pictureBefore);

    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(button->text(), QStringLiteral("Hide Details"));
    QCOMPARE(shownBar(window, 0), expectedBar(0, 0, true));
}

// One long tag makes every tag of the grid smaller, so that the grid stays even: a short tag is drawn
// in the size the long one needs, not in the larger size it would fit alone.
void TestNewDataScrn::everyTagSharesOneSize() {
    auto record = signIn();
    record->addCor[0] = 345;
    record->addTried[0] = 350;
    record->subCor[4] = 3;
    record->subTried[4] = 4;
    newDataScrn* window = open();
    QVERIFY(window);
    const QString longTag = ProgressGrid::tagText(record.get(), 0, 0, ProgressGrid::criteria());
    const QString shortTag = ProgressGrid::tagText(record.get(), 1, 4, ProgressGrid::criteria());
    QCOMPARE(longTag, QStringLiteral("345 of 350 = 98%"));
    const QFont font = window->gradeBarCnv(14)->font();
    const int shared = ProgressPaint::tagPixelSize(font, {100, 20}, tabTags(0));
    QVERIFY(shared < ProgressPaint::tagPixelSize(font, {100, 20}, {shortTag}));
    QCOMPARE(shared, ProgressPaint::tagPixelSize(font, {100, 20}, {longTag}));
    QCOMPARE(shownBar(window, 14), expectedBar(1, 4, true));
    QCOMPARE(shownBar(window, 0), expectedBar(0, 0, true));
    Look::saveShot(window, QStringLiteral("progress-even-tags.png"));
}

void TestNewDataScrn::barColours_data() {
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("tried");
    QTest::addColumn<QList<int>>("columns");
    QTest::addColumn<QList<QColor>>("colours");
    const QColor grey(208, 208, 208), start(132, 156, 255);
    QTest::newRow("0 percent") << 0 << 100 << QList<int>{0, 50, 99} << QList<QColor>{grey, grey, grey};
    QTest::newRow("1 percent") << 1 << 100 << QList<int>{0, 1, 2, 99}
                               << QList<QColor>{start, QColor(131, 156, 253), grey, grey};
    QTest::newRow("50 percent") << 50 << 100 << QList<int>{0, 50, 51, 99}
                                << QList<QColor>{start, QColor(126, 205, 177), grey, grey};
    QTest::newRow("100 percent") << 100 << 100 << QList<int>{0, 50, 99}
                                 << QList<QColor>{start, QColor(126, 205, 177), QColor(121, 254, 100)};
    QTest::newRow("damaged count") << 250 << 100 << QList<int>{0, 99}
                                   << QList<QColor>{start, QColor(121, 254, 100)};
}

void TestNewDataScrn::barColours() {
    QFETCH(int, right);
    QFETCH(int, tried);
    QFETCH(QList<int>, columns);
    QFETCH(QList<QColor>, colours);
    auto record = signIn();
    record->divCor[4] = right;
    record->divTried[4] = tried;
    newDataScrn* window = open();
    QVERIFY(window);
    const QImage bar = shownBar(window, 34);
    QCOMPARE(bar.size(), QSize(100, 20));
    for (int i = 0; i < columns.size(); ++i) {
        // Above the tag and at the bottom edge.
        QCOMPARE(bar.pixelColor(columns[i], 1), colours[i]);
        QCOMPARE(bar.pixelColor(columns[i], 19), colours[i]);
    }
}

void TestNewDataScrn::marksFollowTheCriteria() {
    auto record = signIn();
    record->addCor[0] = 34; // 85 percent: the star
    record->addTried[0] = 40;
    record->addCor[1] = 33; // 33 of 39 counts against 40: 82 percent, Try
    record->addTried[1] = 39;
    record->addCor[9] = 40; // family 10, counted with the default highest family
    record->addTried[9] = 40;
    newDataScrn* window = open();
    QVERIFY(window);
    QCOMPARE(markIn(window->starCnv(0)), Mark::Star);
    QCOMPARE(markIn(window->starCnv(1)), Mark::Try);
    QCOMPARE(markIn(window->starCnv(9)), Mark::Star);
    QCOMPARE(markIn(window->starCnv(2)), Mark::Try);
    child<QTabBar>(window, "levelTab")->setCurrentIndex(1);
    for (const int b : {0, 8, 10, 28, 38})
        QCOMPARE(markIn(window->starCnv(b)), Mark::Cross);
}

// A preferences file may hold criteria the preferences window would never store (an older version,
// a teacher's tool). The stars saved for the student and the pictures of this window are judged by
// the same criteria, those the window shows at its top; the file and the numbers read stay as they
// were.
void TestNewDataScrn::starsAgreeWithTheSavedStarsForAFilesNumbers_data() {
    QTest::addColumn<int>("numCrit");
    QTest::addColumn<int>("pctCrit");
    QTest::addColumn<int>("hiCrit");
    QTest::addColumn<int>("families"); // of every operation, from family 1 up, with the counts below
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("tried");
    QTest::addColumn<QString>("shownPct");
    QTest::addColumn<int>("halfStars");
    // 4 of 40 is 10 percent: learned at the lowest percentage allowed, on five families of ten.
    QTest::newRow("percentage 0") << 40 << 0 << 10 << 5 << 4 << 40 << "10%" << 4;
    QTest::newRow("percentage -20") << 40 << -20 << 10 << 5 << 4 << 40 << "10%" << 4;
    QTest::newRow("percentage 250") << 40 << 250 << 10 << 10 << 40 << 40 << "100%" << 8;
    QTest::newRow("highest family 1") << 40 << 85 << 1 << 1 << 34 << 40 << "85%" << 0;
    QTest::newRow("highest family -3") << 40 << 85 << -3 << 3 << 34 << 40 << "85%" << 0;
    QTest::newRow("highest family 40") << 40 << 85 << 40 << 19 << 34 << 40 << "85%" << 8;
    QTest::newRow("minimum 0") << 0 << 85 << 10 << 10 << 9 << 9 << "85%" << 8;
    QTest::newRow("minimum 5000") << 5000 << 85 << 10 << 10 << 90 << 100 << "85%" << 8;
    QTest::newRow("all three out") << 2 << 0 << 0 << 5 << 1 << 10 << "10%" << 4;
}

void TestNewDataScrn::starsAgreeWithTheSavedStarsForAFilesNumbers() {
    QFETCH(int, numCrit);
    QFETCH(int, pctCrit);
    QFETCH(int, hiCrit);
    QFETCH(int, families);
    QFETCH(int, right);
    QFETCH(int, tried);
    QFETCH(QString, shownPct);
    QFETCH(int, halfStars);
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("com.orlavo.vavava.plist"));
    TestPrefs::RawFile raw;
    raw.numCrit = numCrit;
    raw.pctCrit = pctCrit;
    raw.hiCrit = hiCrit;
    QVERIFY(TestPrefs::writeBytes(file, raw.bytes()));
    QVERIFY(myPrefs::readPrefFile(file));

    auto record = signIn();
    for (int op = 0; op < 4; ++op) {
        for (int f = 0; f < families; ++f) {
            record->corFor(op)[f] = right;
            record->triedFor(op)[f] = tried;
        }
    }
    record->rejoinData();
    QCOMPARE(record->curStars, halfStars);
    QCOMPARE(db_->nameColumn(id_, QStringLiteral("StStars")), QString::number(halfStars));
    QCOMPARE(db_->count(QStringLiteral("HallData")), halfStars == 8 ? 1 : 0);

    newDataScrn* window = open();
    QVERIFY(window);
    QCOMPARE(child<QLineEdit>(window, "reqPctFld")->text(), shownPct);
    QCOMPARE(halfStarsShown(window), halfStars);

    QCOMPARE(myPrefs::prNumCrit, numCrit);
    QCOMPARE(myPrefs::prPctCrit, pctCrit);
    QCOMPARE(myPrefs::prHiCrit, hiCrit);
    QCOMPARE(TestPrefs::readBytes(file), raw.bytes());
}

void TestNewDataScrn::practiceStart_data() {
    QTest::addColumn<QString>("params");
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("cell");
    QTest::addColumn<QString>("stored");
    QTest::newRow("Try: subtraction 7 from a fact family solved for the first number")
        << "3/5,4,12,1^1^1^1,1,10,8,1,1,1,0" << 0 << 16 << "7,1,12,1^1^1^1,0,10,8,1,1,1,0";
    QTest::newRow("star: multiplication 1 from random numbers")
        << kDefaultParams << 0 << 20 << "1,2,10,1^1^1^1,0,15,10,0,0,0,0";
    QTest::newRow("second tab: division 13")
        << "5,0,19,1^0^1^1,0,0,20,0,1,0,0" << 1 << 32 << "13,3,19,1^0^1^1,0,0,20,0,1,0,0";
    QTest::newRow("cross: addition 11") << kDefaultParams << 1 << 0 << "11,0,10,1^1^1^1,0,15,10,0,0,0,0";
}

void TestNewDataScrn::practiceStart() {
    QFETCH(QString, params);
    QFETCH(int, tab);
    QFETCH(int, cell);
    QFETCH(QString, stored);
    auto record = signIn(params);
    record->mulCor[0] = 40;
    record->mulTried[0] = 40;
    myGlobals::gUseLastGame = true;
    newDataScrn* window = open();
    QVERIFY(window);
    child<QTabBar>(window, "levelTab")->setCurrentIndex(tab);
    StarCnv* star = window->starCnv(cell);
    const QPoint home = star->pos();

    QTest::mousePress(star, Qt::LeftButton);
    QCOMPARE(star->pos(), home + QPoint(2, 2));
    QVERIFY(!GameScrn::instance()->isVisible());
    // Released well away from the cell: the practice starts all the same.
    QTest::mouseRelease(star, Qt::LeftButton, {}, QPoint(-200, 300));
    QCOMPARE(star->pos(), home);

    QCOMPARE(db_->dataColumn(id_, QStringLiteral("stParam")), stored);
    QCOMPARE(db_->dataColumn(id_, QStringLiteral("lastDate")), DBCtrl::todayText());
    QCOMPARE(record->myParams.join(QLatin1Char(',')), stored);
    QVERIFY(dialogs_.shown.isEmpty());
    QVERIFY(myGlobals::gUseLastGame);
    QVERIFY(GameScrn::instance()->isVisible());
    QPointer<newDataScrn> closed(window);
    QTRY_VERIFY(closed.isNull());
}

void TestNewDataScrn::practiceStartsEvenWhenTheSaveFails() {
    // A student whose results row has gone: the save says so, the round opens on the set-up in memory.
    const int id = db_->addStudent(QStringLiteral("Bo Li"), QStringLiteral("Room 7"));
    auto record =
        std::make_shared<StRecord>(QStringLiteral("Bo Li"), QStringLiteral("Room 7"), id, QString(), 0);
    record->getStudentData();
    QVERIFY(DBCtrl::exec(QStringLiteral("DELETE FROM theData")));
    record->myParams = StRecord::defaultParams().mid(0, 3); // a list that lost its end
    dialogs_.clear();
    myGlobals::gCurPlayer = record;
    newDataScrn* window = open();
    QVERIFY(window);
    QTest::mouseClick(window->starCnv(35), Qt::LeftButton);

    QCOMPARE(
        dialogs_.messages(),
        QStringList{QStringLiteral("Database Error\n\nCould not find the selected record in the database.")});
    QCOMPARE(db_->dataColumn(id, QStringLiteral("stParam")), QString());
    QCOMPARE(record->myParams.join(QLatin1Char(',')), QStringLiteral("6,3,10,1^1^1^1,0,15,10,0,0,0"));
    QVERIFY(GameScrn::instance()->isVisible());
}

void TestNewDataScrn::hiddenTenthRowNeverStoresFamily20() {
    auto record = signIn();
    newDataScrn* window = open();
    QVERIFY(window);
    child<QTabBar>(window, "levelTab")->setCurrentIndex(1);
    for (const int b : {9, 19, 29, 39}) {
        StarCnv* star = window->starCnv(b);
        // Straight to the hidden cell, as a click queued before the tab change would arrive.
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), star->mapToGlobal(QPointF(5, 5)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), star->mapToGlobal(QPointF(5, 5)),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(star, &press);
        QCoreApplication::sendEvent(star, &release);
    }
    QCOMPARE(record->myParams.join(QLatin1Char(',')), kDefaultParams);
    QCOMPARE(db_->dataColumn(id_, QStringLiteral("stParam")), kDefaultParams);
    QVERIFY(window->isVisible());
    QVERIFY(!GameScrn::instance()->isVisible());
}

void TestNewDataScrn::waysOut_data() {
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("next"); // empty: the window stays
    QTest::newRow("Close Screen") << "closeBtn"
                                  << "NameScrn";
    QTest::newRow("See My Settings...") << "paramsBtn"
                                        << "ParamScrn";
    QTest::newRow("Return") << "Return"
                            << "NameScrn";
    QTest::newRow("Enter") << "Enter"
                           << "NameScrn";
    QTest::newRow("window manager's close") << "wm"
                                            << "NameScrn";
    QTest::newRow("another key") << "a"
                                 << "";
    QTest::newRow("Escape") << "Escape"
                            << "";
}

void TestNewDataScrn::waysOut() {
    QFETCH(QString, way);
    QFETCH(QString, next);
    auto record = signIn();
    record->subCor[2] = 5; // an unsaved change, kept in memory and not saved by these exits
    record->subTried[2] = 5;
    newDataScrn* window = open();
    QVERIFY(window);
    auto* focus = child<QLineEdit>(window, "stlFocus");
    if (way == QLatin1String("closeBtn") || way == QLatin1String("paramsBtn"))
        QTest::mouseClick(child<QWidget>(window, way), Qt::LeftButton);
    else if (way == QLatin1String("Return"))
        QTest::keyClick(focus, Qt::Key_Return);
    else if (way == QLatin1String("Enter"))
        QTest::keyClick(focus, Qt::Key_Enter);
    else if (way == QLatin1String("Escape"))
        QTest::keyClick(focus, Qt::Key_Escape);
    else if (way == QLatin1String("wm"))
        window->windowHandle()->close();
    else
        QTest::keyClick(focus, 'a');

    QPointer<newDataScrn> shown(window);
    const QMap<QString, QWidget*> windows{{QStringLiteral("NameScrn"), NameScrn::instance()},
                                          {QStringLiteral("ParamScrn"), ParamScrn::instance()}};
    if (next.isEmpty()) {
        QTest::qWait(20);
        QVERIFY(shown && shown->isVisible());
        QCOMPARE(newDataScrn::instance(), window);
    } else {
        QTRY_VERIFY(shown.isNull());
    }
    for (auto it = windows.cbegin(); it != windows.cend(); ++it)
        QCOMPARE(it.value()->isVisible(), it.key() == next);
    QVERIFY(!GameScrn::instance()->isVisible());
    QCOMPARE(myGlobals::gCurPlayer, record);
    QCOMPARE(record->subCor[2], 5);
    QCOMPARE(db_->dataColumn(id_, QStringLiteral("lastDate")), kStoredDate);
    QCOMPARE(db_->dataColumn(id_, QStringLiteral("stParam")), kDefaultParams);
}

void TestNewDataScrn::criteriaFieldsCannotBeEditedOrSelected() {
    signIn();
    newDataScrn* window = open();
    QVERIFY(window);
    for (const char* name : {"reqTotFld", "reqPctFld"}) {
        auto* field = child<QLineEdit>(window, QLatin1String(name));
        const QString before = field->text();
        field->setFocus();
        field->selectAll();
        QVERIFY(!field->hasSelectedText());
        QTest::mouseMove(field, QPoint(2, 10));
        QTest::mousePress(field, Qt::LeftButton, {}, QPoint(2, 10));
        QTest::mouseMove(field, QPoint(50, 10));
        QTest::mouseRelease(field, Qt::LeftButton, {}, QPoint(50, 10));
        QVERIFY(!field->hasSelectedText());
        QTest::keyClicks(field, QStringLiteral("77"));
        QTest::keyClick(field, Qt::Key_Backspace);
        QCOMPARE(field->text(), before);
    }
}

void TestNewDataScrn::controlsStayApartAndInside() {
    signIn();
    newDataScrn* window = open();
    QVERIFY(window);
    QWidget* content = window->gradeBarCnv(0)->parentWidget();
    QCOMPARE(content->size(), QSize(720, 620));
    const QRect inside = content->rect();
    const QList<QWidget*> controls = content->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(controls.size(), 109);
    for (QWidget* a : controls) {
        if (a->objectName() == QLatin1String("stlFocus")) {
            QVERIFY(!inside.intersects(a->geometry())); // holds the keyboard, never seen
            continue;
        }
        QVERIFY2(inside.contains(a->geometry()), qPrintable(a->objectName()));
        for (QWidget* b : controls) {
            if (a == b || !a->geometry().intersects(b->geometry()))
                continue;
            // The one overlap: an empty label under the first row's label.
            const QStringList pair{a->objectName(), b->objectName()};
            QVERIFY2(pair.contains(QStringLiteral("StaticText3")) &&
                         pair.contains(QStringLiteral("numTxt(0)")),
                     qPrintable(pair.join(QStringLiteral(" / "))));
        }
    }
}

// The layout's numbers, including its irregular ones: the headings' tops, the row labels that stand
// level with the bars in the upper half and with the star cells in the lower, and the one star cell
// a pixel right of its column.
void TestNewDataScrn::controlsAtTheirNumbers() {
    signIn();
    newDataScrn* window = open();
    QVERIFY(window);
    QWidget* content = window->gradeBarCnv(0)->parentWidget();
    const struct {
        const char* name;
        QRect at;
    } singles[] = {
        {"StaticText1", {34, 16, 60, 20}},    {"stNameFld", {96, 16, 260, 20}},
        {"StaticText2", {380, 16, 70, 20}},   {"lastDateFld", {457, 16, 173, 20}},
        {"levelTab", {34, 53, 180, 36}},      {"StaticText8", {286, 66, 80, 20}},
        {"reqTotFld", {373, 66, 60, 22}},     {"StaticText9", {483, 66, 108, 20}},
        {"reqPctFld", {598, 66, 60, 22}},     {"StaticText4", {60, 107, 134, 20}},
        {"StaticText5", {226, 107, 134, 20}}, {"StaticText6", {392, 106, 134, 20}},
        {"StaticText7", {558, 105, 134, 20}}, {"StaticText3", {26, 137, 24, 20}},
        {"StaticText10", {60, 543, 273, 21}}, {"hideDetBtn", {60, 572, 100, 20}},
        {"paramsBtn", {398, 564, 148, 36}},   {"closeBtn", {572, 564, 120, 36}},
        {"stlFocus", {734, 123, 40, 22}},
    };
    for (const auto& single : singles) {
        auto* control = content->findChild<QWidget*>(QLatin1String(single.name), Qt::FindDirectChildrenOnly);
        QVERIFY2(control, single.name);
        QCOMPARE(control->geometry(), single.at);
    }
    const int rowLabelTops[] = {145, 183, 221, 259, 297, 333, 371, 409, 447, 485};
    for (int r = 0; r < 10; ++r)
        QCOMPARE(window->numTxt(r)->geometry(), QRect(26, rowLabelTops[r], 24, 20));
    for (int b = 0; b < 40; ++b) {
        const int c = b / 10, r = b % 10;
        QCOMPARE(window->gradeBarCnv(b)->geometry(), QRect(60 + 166 * c, 145 + 38 * r, 100, 20));
        QCOMPARE(window->starCnv(b)->geometry(), QRect((b == 8 ? 163 : 162) + 166 * c, 143 + 38 * r, 32, 24));
    }
}

QTEST_MAIN(TestNewDataScrn)
#include "tst_newdatascrn.moc"
