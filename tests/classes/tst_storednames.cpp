// A database filled by another program (here the sqlite3 command): a class whose stored name holds a
// tab, an empty class whose name holds a line break, students without results rows. The sign-in
// window and "Manage Classes" list them as stored, a student signs in and saves a round, and both
// classes delete.

#include "classes/classscrn.h"
#include "controls/ghostef.h"
#include "controls/namelistctr.h"
#include "controls/newcnvbtn.h"
#include "controls/printinglb.h"
#include "data/dbctrl.h"
#include "data/globals.h"
#include "data/prefs.h"
#include "data/strecord.h"
#include "settings/paramscrn.h"
#include "signin/namescrn.h"
#include "support/doubles.h"

#include <QComboBox>
#include <QDir>
#include <QProcess>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kTabbed = QStringLiteral("Room\t5");
const QString kBroken = QStringLiteral("Late\r\nGroup");

const char* const kScript = R"(
CREATE TABLE Classes ( ClassID INTEGER PRIMARY KEY, ClassNm VarChar );
CREATE TABLE Names ( StID INTEGER PRIMARY KEY, StName VarChar, StClass VarChar, StStars VarChar, StPW VarChar);
CREATE TABLE theData ( DataID INTEGER PRIMARY KEY, StID VarChar, lastDate VarChar, stAdd VarChar, stSub VarChar, stMul VarChar, stDiv VarChar, stParam VarChar, zeriGames VarChar );
CREATE TABLE HallData ( HallID INTEGER PRIMARY KEY, StName VarChar, dateEnt VarChar );
INSERT INTO Classes (ClassNm) VALUES ('Default'), ('Room' || char(9) || '5'), ('Late' || char(13, 10) || 'Group');
INSERT INTO Names (StName, StClass, StStars, StPW) VALUES ('Ann', 'Room' || char(9) || '5', '0', NULL),
    ('Bo', 'Room' || char(9) || '5', '1', NULL), ('Cy', 'Default', '0', NULL);
)";

int count(const QString& sql) {
    QSqlQuery q(DBCtrl::NBData());
    return q.exec(sql) && q.next() ? q.value(0).toInt() : -1;
}

QStringList texts(QTableWidget* list) {
    QStringList out;
    for (int r = 0; r < list->rowCount(); ++r)
        out << list->item(r, 0)->text();
    return out;
}

void selectText(QTableWidget* list, const QString& text) {
    list->clearSelection();
    for (int r = 0; r < list->rowCount(); ++r) {
        if (list->item(r, 0)->text() == text)
            list->selectRow(r);
    }
}

} // namespace

class TestStoredNames : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void signInListsAndSavesAsStored();
    void manageClassesListsAndDeletesAsStored();

private:
    TestDoubles::ScriptedDialogs dialogs;
    TestDoubles::RecordingFeedback feedback;
    QTemporaryDir dir;
};

void TestStoredNames::initTestCase() {
    const QString sqlite3 = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    QVERIFY2(!sqlite3.isEmpty(), "the sqlite3 command is needed (scripts/setup.sh installs it)");
    const QString file = QDir(dir.path()).filePath(QString::fromLatin1(DBCtrl::kFileName));
    QProcess maker;
    maker.start(sqlite3, {file});
    QVERIFY(maker.waitForStarted());
    maker.write(kScript);
    maker.closeWriteChannel();
    QVERIFY(maker.waitForFinished());
    QVERIFY2(maker.exitCode() == 0, maker.readAllStandardError().constData());
    myPrefs::initPrefs();
    DBCtrl::check4Database(dir.path());
    QVERIFY(DBCtrl::isConnected());
    QVERIFY2(dialogs.messages().isEmpty(), qPrintable(dialogs.messages().join(" | ")));
}

void TestStoredNames::cleanupTestCase() {
    myGlobals::gCurPlayer.reset();
    DBCtrl::closeDB();
}

void TestStoredNames::signInListsAndSavesAsStored() {
    NameScrn* signIn = NameScrn::instance();
    signIn->show();
    auto* classes = signIn->findChild<printingLB*>(QStringLiteral("ClassList"));
    auto* names = signIn->findChild<printingLB*>(QStringLiteral("NameList"));
    QCOMPARE(texts(classes), (QStringList{"Default", kTabbed, kBroken}));
    selectText(classes, kBroken);
    QVERIFY(texts(names).isEmpty()); // an empty class: nothing listed, nothing said
    selectText(classes, kTabbed);
    QCOMPARE(texts(names), (QStringList{"Ann", "Bo"}));
    selectText(names, QStringLiteral("Ann"));
    QTest::mouseClick(signIn->findChild<newCnvBtn*>(QStringLiteral("ContBtn")), Qt::LeftButton, {},
                      QPoint(10, 10));
    const std::shared_ptr<StRecord> ann = myGlobals::gCurPlayer;
    QVERIFY(ann && ann->loaded()); // her results row is made at sign-in
    QCOMPARE(ann->curClass, kTabbed);
    ann->addCor[2] = 3;
    ann->addTried[2] = 4;
    ann->rejoinData();
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM theData WHERE stAdd LIKE '0/0,0/0,3/4,%'")), 1);
    if (ParamScrn::exists())
        ParamScrn::instance()->close();
    QVERIFY2(dialogs.messages().isEmpty(), qPrintable(dialogs.messages().join(" | ")));
    // Back at sign-in the class and the student are chosen again, as stored.
    NameScrn::instance()->show();
    classes = NameScrn::instance()->findChild<printingLB*>(QStringLiteral("ClassList"));
    names = NameScrn::instance()->findChild<printingLB*>(QStringLiteral("NameList"));
    QCOMPARE(classes->selectedItems().value(0)->text(), kTabbed);
    QCOMPARE(names->selectedItems().value(0)->text(), QStringLiteral("Ann"));
    NameScrn::instance()->close();
}

void TestStoredNames::manageClassesListsAndDeletesAsStored() {
    ClassScrn* w = ClassScrn::instance();
    w->show();
    auto* panel = w->findChild<nameListCtr*>(QStringLiteral("myNameCtr"));
    QComboBox* popup = panel->classPopup();
    const int tabbed = popup->findText(kTabbed, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    QVERIFY(tabbed > 0);
    popup->setCurrentIndex(tabbed);
    QCOMPARE(texts(panel->list()), (QStringList{"Ann", "Bo"}));

    // The minus half of the stepper deletes the chosen class, its students and their results.
    auto* stepper = w->findChild<QWidget*>(QStringLiteral("ZeriMinusContainer1"));
    QTest::mouseClick(stepper, Qt::LeftButton, {}, QPoint(35, 11));
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown[0].question.message,
             QStringLiteral("Delete the ") + kTabbed + QStringLiteral(" class and all students from this class?"));
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM Classes WHERE ClassNm = 'Room' || char(9) || '5'")), 0);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM Names")), 1);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM theData")), 0);

    popup->setCurrentIndex(popup->findText(kBroken, Qt::MatchFixedString | Qt::MatchCaseSensitive));
    QVERIFY(texts(panel->list()).isEmpty());
    QTest::mouseClick(stepper, Qt::LeftButton, {}, QPoint(35, 11));
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM Classes")), 1); // "Default" alone
    QCOMPARE(dialogs.messages().size(), 2); // the two questions, nothing else
    QCOMPARE(feedback.beeps, 0);
    w->close();
}

QTEST_MAIN(TestStoredNames)
#include "tst_storednames.moc"
