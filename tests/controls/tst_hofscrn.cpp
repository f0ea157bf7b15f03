#include "controls/hofscrn.h"
#include "controls/newcnvbtn.h"
#include "data/dbctrl.h"
#include "support/doubles.h"
#include "support/fixtures.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTreeWidget>
#include <QtTest>

namespace {

void addEntry(const QString& name, const QString& date) {
    QVERIFY(
        DBCtrl::exec(QStringLiteral("INSERT INTO HallData (StName, dateEnt) VALUES (?, ?)"), {name, date}));
}

QStringList rowsOf(HOFScrn* window) {
    QStringList rows;
    auto* list = window->findChild<QTreeWidget*>(QStringLiteral("HOFList"));
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        rows << list->topLevelItem(i)->text(0) + QLatin1Char('|') + list->topLevelItem(i)->text(1);
    return rows;
}

void closeAndForget(HOFScrn* window) {
    QPointer<HOFScrn> gone(window);
    window->close();
    QTRY_VERIFY(gone.isNull());
}

} // namespace

class TestHOFScrn : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        if (HOFScrn::current())
            closeAndForget(HOFScrn::current());
    }
    void listsTheHallInOrderOfEntry();
    void wholeDatesShow_data();
    void wholeDatesShow();
    void emptyOrMissingHallShowsOnlyHeadings();
    void oneWindowAtATime();
    void returnEnterAndCloseEndIt_data();
    void returnEnterAndCloseEndIt();
};

void TestHOFScrn::listsTheHallInOrderOfEntry() {
    TestDoubles::TempDatabase db;
    QVERIFY(db.ok());
    addEntry(QStringLiteral("Zoe Adams"), QStringLiteral("3/4/25"));
    addEntry(QStringLiteral("Ann O'Brien"), QStringLiteral("11/4/25"));
    addEntry(QStringLiteral("Bo \"Bear\" Li"), QStringLiteral("12.05.25"));
    HOFScrn::showList();
    HOFScrn* window = HOFScrn::current();
    QVERIFY(window && window->isVisible());
    QCOMPARE(rowsOf(window),
             (QStringList{"Zoe Adams|3/4/25", "Ann O'Brien|11/4/25", "Bo \"Bear\" Li|12.05.25"}));
    auto* list = window->findChild<QTreeWidget*>(QStringLiteral("HOFList"));
    QCOMPARE(list->headerItem()->text(0), QStringLiteral("Student's Name"));
    QCOMPARE(list->headerItem()->text(1), QStringLiteral("Date"));
    QVERIFY(list->columnWidth(0) > 2 * list->columnWidth(1));
    QCOMPARE(window->windowTitle(), QStringLiteral("Hall of Fame"));
    closeAndForget(window);
}

void TestHOFScrn::wholeDatesShow_data() {
    QTest::addColumn<QStringList>("dates");
    QTest::addColumn<int>("entries"); // the dates repeated over this many entries
    QTest::newRow("numbers") << QStringList{"3/4/25", "11/12/2026"} << 2;
    QTest::newRow("month names") << QStringList{"1 May 2026", "11 Dec 2026", "28 Sept 2026"} << 3;
    QTest::newRow("widest digits") << QStringList{"00.00.0000"} << 1;
    QTest::newRow("with a scroll bar") << QStringList{"11 Dec 2026", "28 Sept 2026"} << 40;
    // Many entries of one day and the one wide date last, far below what the list shows at first:
    // the column is fitted to every stored date, not to a sample of the rows.
    QStringList manyThenWide(1500, QStringLiteral("1/2/25"));
    manyThenWide << QStringLiteral("28 Sept 2026");
    QTest::newRow("wide date last of many") << manyThenWide << int(manyThenWide.size());
}

void TestHOFScrn::wholeDatesShow() {
    QFETCH(QStringList, dates);
    QFETCH(int, entries);
    TestDoubles::TempDatabase db;
    {
        DBCtrl::Transaction stored; // one write of the file for all the entries
        for (int i = 0; i < entries; ++i)
            addEntry(QStringLiteral("Maximilian Alexander Fitzgerald-Worthington"), dates[i % dates.size()]);
        QVERIFY(stored.commit());
    }
    HOFScrn::showList();
    HOFScrn* window = HOFScrn::current();
    auto* list = window->findChild<QTreeWidget*>(QStringLiteral("HOFList"));
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(list->verticalScrollBar()->isVisible(), entries > 20);
    // What the Date column shows of itself within the list.
    const int shown = std::min(list->columnWidth(1), list->viewport()->width() - list->columnWidth(0));
    // The room the view's cells take around their text on either side.
    const int margins = 2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1);
    for (int row = 0; row < entries; ++row) {
        const QString date = dates[row % dates.size()];
        QCOMPARE(list->topLevelItem(row)->text(1), date); // as stored
        const int needed = list->fontMetrics().horizontalAdvance(date) + margins;
        QVERIFY2(needed <= shown,
                 qPrintable(QStringLiteral("%1: %2 in %3").arg(date).arg(needed).arg(shown)));
    }
    QVERIFY(list->header()->sectionSizeHint(1) <= shown);
    // The names keep most of the width, and nothing lies beyond the list's edge.
    QVERIFY(list->columnWidth(0) > shown);
    QCOMPARE(list->columnWidth(0) + list->columnWidth(1), list->viewport()->width());
    closeAndForget(window);
}

void TestHOFScrn::emptyOrMissingHallShowsOnlyHeadings() {
    TestDoubles::ScriptedDialogs dialogs;
    TestDoubles::TempDatabase db;
    dialogs.clear(); // the note that a new file was made
    HOFScrn::showList();
    QVERIFY(rowsOf(HOFScrn::current()).isEmpty());
    closeAndForget(HOFScrn::current());

    QVERIFY(DBCtrl::exec(QStringLiteral("DROP TABLE HallData")));
    HOFScrn::showList();
    QVERIFY(rowsOf(HOFScrn::current()).isEmpty());
    QVERIFY(dialogs.shown.isEmpty());
    closeAndForget(HOFScrn::current());
}

void TestHOFScrn::oneWindowAtATime() {
    TestDoubles::TempDatabase db;
    addEntry(QStringLiteral("Ann Lee"), QStringLiteral("1/2/25"));
    HOFScrn::showList();
    HOFScrn* first = HOFScrn::current();
    addEntry(QStringLiteral("Bea Cho"), QStringLiteral("1/3/25"));
    HOFScrn::showList();
    QCOMPARE(HOFScrn::current(), first);
    QCOMPARE(rowsOf(first), QStringList{"Ann Lee|1/2/25"}); // not read again while open
    closeAndForget(first);
    HOFScrn::showList();
    QCOMPARE(rowsOf(HOFScrn::current()), (QStringList{"Ann Lee|1/2/25", "Bea Cho|1/3/25"}));
    closeAndForget(HOFScrn::current());
}

void TestHOFScrn::returnEnterAndCloseEndIt_data() {
    QTest::addColumn<int>("how"); // a key, or 0 for the Close button, -1 for the title bar's close box
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("Enter") << int(Qt::Key_Enter);
    QTest::newRow("Close button") << 0;
    QTest::newRow("close box") << -1;
}

void TestHOFScrn::returnEnterAndCloseEndIt() {
    QFETCH(int, how);
    TestDoubles::TempDatabase db;
    addEntry(QStringLiteral("Ann Lee"), QStringLiteral("1/2/25"));
    HOFScrn::showList();
    QPointer<HOFScrn> window = HOFScrn::current();
    QVERIFY(QTest::qWaitForWindowActive(window));
    auto* list = window->findChild<QTreeWidget*>(QStringLiteral("HOFList"));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Space);
    QVERIFY(window->isVisible());
    if (how > 0)
        QTest::keyClick(list, Qt::Key(how));
    else if (how == 0)
        QTest::mouseClick(window->findChild<newCnvBtn*>(QStringLiteral("closeBtn")), Qt::LeftButton, {},
                          QPoint(5, 5));
    else
        window->close();
    QTRY_VERIFY(window.isNull());
    QVERIFY(!HOFScrn::current());
}

QTEST_MAIN(TestHOFScrn)
#include "tst_hofscrn.moc"
