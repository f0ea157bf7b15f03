#include "controls/hofscrn.h"
#include "controls/newcnvbtn.h"
#include "data/dbctrl.h"
#include "support/doubles.h"
#include "support/fixtures.h"

#include <QHeaderView>
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
