// The class window as a teacher sees it: a school of 2,000 students, at the window's first size and a
// larger one, in add mode, in edit mode and over all classes. Nothing may be cut off or lie on top of
// something else. With NBR_SHOTS_DIR set, each state is also saved there as a picture.

#include "app/picts.h"
#include "classes/classscrn.h"
#include "controls/namelistctr.h"
#include "controls/printinglb.h"
#include "data/dbctrl.h"
#include "signin/namescrn.h"
#include "support/doubles.h"
#include "support/fixtures.h"
#include "support/lookcheck.h"

#include <QComboBox>
#include <QSqlQuery>
#include <QtTest>

#include <memory>

class TestClassScrnLook : public QObject {
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

void TestClassScrnLook::initTestCase() {
    myPicts::loadPics();
    db = std::make_unique<TestDoubles::TempDatabase>();
    const char* const first[] = {"Amelia", "Ben",   "Chloe", "Dev",  "Emma", "Finn", "Grace", "Hugo",
                                 "Isla",   "Jonah", "Kai",   "Lena", "Maya", "Noah", "Olive", "Priya"};
    const char* const last[] = {"Fitzgerald-Hernandez",
                                "Ng",
                                "Dubois",
                                "Patel",
                                "Lindqvist",
                                "O'Brien",
                                "Wu",
                                "Moreau",
                                "MacLeod",
                                "Abiodun",
                                "Tanaka",
                                "Schmidt"};
    QSqlDatabase conn = DBCtrl::NBData();
    conn.transaction();
    for (int c = 0; c < 50; ++c) {
        QSqlQuery q(conn);
        q.prepare(QStringLiteral("INSERT INTO Classes (ClassNm) VALUES (?)"));
        q.addBindValue(c == 7 ? QStringLiteral("Mrs O'Neil's Class") : QStringLiteral("Room %1").arg(c + 1));
        q.exec();
    }
    for (int s = 0; s < 2000; ++s) {
        const int c = s % 50;
        db->addStudent(QStringLiteral("%1 %2").arg(QLatin1String(first[s % 16]), QLatin1String(last[s % 12])),
                       c == 7 ? QStringLiteral("Mrs O'Neil's Class") : QStringLiteral("Room %1").arg(c + 1),
                       s % 3 ? QStringLiteral("pw%1").arg(s) : QString(), s % 9);
    }
    conn.commit();
}

void TestClassScrnLook::cleanupTestCase() {
    if (ClassScrn::exists())
        ClassScrn::instance()->close();
    if (NameScrn::exists())
        NameScrn::instance()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    db.reset();
}

void TestClassScrnLook::nothingCutOffOrCovered_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("state");
    QTest::newRow("add mode") << QSize(800, 600) << "add";
    QTest::newRow("edit mode") << QSize(800, 600) << "edit";
    QTest::newRow("all classes") << QSize(800, 600) << "all";
    QTest::newRow("larger, edit mode") << QSize(1100, 800) << "edit";
}

void TestClassScrnLook::nothingCutOffOrCovered() {
    QFETCH(QSize, size);
    QFETCH(QString, state);
    ClassScrn* window = ClassScrn::instance();
    window->show();
    auto* content = window->findChild<QWidget*>(QStringLiteral("CustomBlueBkg"));
    window->resize(size.width(), window->height() - content->height() + size.height());
    QCOMPARE(content->size(), size);
    auto* panel = window->findChild<nameListCtr*>(QStringLiteral("myNameCtr"));
    QComboBox* popup = panel->classPopup();
    popup->setCurrentIndex(state == "all" ? 0 : popup->findText(QStringLiteral("Mrs O'Neil's Class")));
    panel->list()->clearSelection();
    if (state == "edit")
        panel->list()->selectRow(3);
    QCOMPARE(panel->list()->rowCount(), state == "all" ? 2000 : 40);

    const QList<QWidget*> shown = Look::shownChildren(content);
    QCOMPARE(shown.size(), state == "edit" ? 15 : 13);

    const QString cut = Look::firstCutOff(shown, Look::Captions::Skip);
    QVERIFY2(cut.isEmpty(), qPrintable(cut));
    const QString overlap = Look::firstOverlap(shown, content->rect());
    QVERIFY2(overlap.isEmpty(), qPrintable(overlap));

    QVERIFY(Look::saveShot(
        window, QStringLiteral("classes-%1-%2x%3.png").arg(state).arg(size.width()).arg(size.height())));
}

QTEST_MAIN(TestClassScrnLook)
#include "tst_classscrn_look.moc"
