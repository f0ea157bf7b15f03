#include "app/printsettings.h"
#include "controls/namelistctr.h"
#include "controls/printdoubles.h"
#include "controls/printinglb.h"
#include "data/dbctrl.h"
#include "data/globals.h"
#include "support/doubles.h"
#include "support/fixtures.h"

#include <QComboBox>
#include <QFile>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QtTest>

using TestDoubles::ScriptedDialogs;
using TestDoubles::TempDatabase;

namespace {

QStringList popupRows(const nameListCtr& panel) {
    QStringList rows;
    for (int i = 0; i < panel.classPopup()->count(); ++i)
        rows << panel.classPopup()->itemText(i);
    return rows;
}

QStringList names(const nameListCtr& panel) {
    QStringList out;
    for (int r = 0; r < panel.list()->rowCount(); ++r)
        out << panel.list()->item(r, 0)->text();
    return out;
}

void choose(nameListCtr& panel, const QString& className) {
    panel.classPopup()->setCurrentIndex(
        panel.classPopup()->findText(className, Qt::MatchFixedString | Qt::MatchCaseSensitive));
}

void selectRows(nameListCtr& panel, const QList<int>& rows) {
    panel.list()->clearSelection();
    for (int r : rows)
        panel.list()->selectionModel()->select(panel.list()->model()->index(r, 0),
                                               QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

// A small school: two classes besides "Default", students with and without passwords and stars.
struct School {
    ScriptedDialogs dialogs;
    TempDatabase db;
    int ann, bo, cy, dee, eve;
    School() {
        DBCtrl::insertClass("Grade 3");
        DBCtrl::insertClass("Grade 4");
        ann = db.addStudent("Ann", "Grade 3", "apple", 0);
        bo = db.addStudent("Bo", "Grade 4", "", 1);
        cy = db.addStudent("Cy", "Grade 3", "x y", 3);
        dee = db.addStudent("Dee", "Grade 3", "", 8);
        eve = db.addStudent("Eve", "Grade 3", "", 2);
        dialogs.clear();
    }
};

} // namespace

class TestNameListCtr : public QObject {
    Q_OBJECT
private slots:
    void init() { myGlobals::gPrinterSettings.clear(); }
    void opensOnAllClasses();
    void starTexts_data();
    void starTexts();
    void halfStarsFromText_data();
    void halfStarsFromText();
    void choosingAClassShowsItsStudents();
    void addClass();
    void addNameGoesToTheShownClass();
    void failedAddLeavesTheListAlone();
    void selectionIsReported();
    void deleteSelectedStudents();
    void deleteOneAsksByName();
    void cancelledDeleteKeepsEverything();
    void deleteClassGoesBackToAllClasses();
    void editNameRebuildsTheList();
    void exportGivesPasswordsInClear();
    void emptyListExportsAndSelectsNothing();
    void printsTheShownClass_data();
    void printsTheShownClass();
};

void TestNameListCtr::opensOnAllClasses() {
    School s;
    nameListCtr panel;
    QCOMPARE(panel.size(), QSize(464, 544));
    QCOMPARE(popupRows(panel), (QStringList{"All Classes", "Default", "Grade 3", "Grade 4"}));
    QCOMPARE(panel.classPopup()->currentIndex(), 0);
    QVERIFY(!panel.isClassSelected());
    QCOMPARE(names(panel), (QStringList{"Ann", "Bo", "Cy", "Dee", "Eve"}));
    printingLB* list = panel.list();
    QCOMPARE(list->horizontalHeaderItem(0)->text(), QStringLiteral("Student Name"));
    QCOMPARE(list->horizontalHeaderItem(1)->text(), QStringLiteral("Password"));
    QCOMPARE(list->horizontalHeaderItem(2)->text(), QStringLiteral("*s"));
    // The password as stored, scrambled; the stars as the list shows them; the tags id and class.
    QCOMPARE(list->item(0, 1)->text(), s.db.nameColumn(s.ann, "StPW"));
    QVERIFY(list->item(0, 1)->text() != QStringLiteral("apple"));
    QCOMPARE(myGlobals::unscrambleStr(list->item(0, 1)->text()), QStringLiteral("apple"));
    QCOMPARE(list->item(1, 2)->text(), QStringLiteral(".5"));
    QCOMPARE(list->item(3, 2)->text(), QStringLiteral("4.0"));
    QCOMPARE(list->cellTag(2, 0).toString(), QString::number(s.cy));
    QCOMPARE(list->cellTag(1, 1).toString(), QStringLiteral("Grade 4"));
    QVERIFY(list->selectedItems().isEmpty());
    QVERIFY(list->selectionMode() == QAbstractItemView::ExtendedSelection);
    QCOMPARE(list->objectName(), QStringLiteral("nameList"));
    QCOMPARE(panel.classPopup()->objectName(), QStringLiteral("classMenu"));
}

void TestNameListCtr::starTexts_data() {
    QTest::addColumn<int>("halfStars");
    QTest::addColumn<QString>("text");
    QTest::newRow("none") << 0 << ".0";
    QTest::newRow("a half") << 1 << ".5";
    QTest::newRow("one and a half") << 3 << "1.5";
    QTest::newRow("four") << 8 << "4.0";
}

void TestNameListCtr::starTexts() {
    QFETCH(int, halfStars);
    QFETCH(QString, text);
    QCOMPARE(nameListCtr::starsCellText(halfStars), text);
    QCOMPARE(nameListCtr::halfStarsFromText(text), halfStars);
}

void TestNameListCtr::halfStarsFromText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("halfStars");
    QTest::newRow("new row") << "0.0" << 0;
    QTest::newRow("whole") << "2" << 4;
    QTest::newRow("blanks") << " 1.5 " << 3;
    QTest::newRow("comma") << "2,5" << 5;
    QTest::newRow("not a number") << "lots" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("above four") << "9" << 8;
    QTest::newRow("negative") << "-1" << 0;
    QTest::newRow("infinite") << "inf" << 0;
}

void TestNameListCtr::halfStarsFromText() {
    QFETCH(QString, text);
    QFETCH(int, halfStars);
    QCOMPARE(nameListCtr::halfStarsFromText(text), halfStars);
}

void TestNameListCtr::choosingAClassShowsItsStudents() {
    School s;
    DBCtrl::insertClass("ALL CLASSES");
    nameListCtr panel;
    QSignalSpy classes(&panel, &nameListCtr::classNameSet);
    QSignalSpy students(&panel, &nameListCtr::studentNameSet);

    choose(panel, "Grade 3");
    QCOMPARE(classes.size(), 1);
    QCOMPARE(classes.last().at(0).toString(), QStringLiteral("Grade 3"));
    QVERIFY(panel.isClassSelected());
    QCOMPARE(names(panel), (QStringList{"Ann", "Cy", "Dee", "Eve"}));

    // Leaving a class while a student is selected empties the student form.
    selectRows(panel, {1});
    students.clear();
    choose(panel, "Grade 4");
    QCOMPARE(names(panel), QStringList{"Bo"});
    QCOMPARE(students.size(), 1);
    QCOMPARE(students.last().at(3).toInt(), -1);

    // A class named like the first row, in other letters, is the first row.
    choose(panel, "ALL CLASSES");
    QCOMPARE(classes.last().at(0).toString(), QString());
    QVERIFY(!panel.isClassSelected());
    QCOMPARE(names(panel).size(), 5);
}

void TestNameListCtr::addClass() {
    School s;
    nameListCtr panel;
    choose(panel, "Grade 4");
    QSignalSpy classes(&panel, &nameListCtr::classNameSet);

    QVERIFY(panel.addClass("Grade 3's"));
    QCOMPARE(s.dialogs.messages(), QStringList{"The apostrophe (') is not permitted in class names."});
    QCOMPARE(s.dialogs.shown[0].kind, TestDoubles::Shown::Plain);
    QCOMPARE(popupRows(panel).last(), QStringLiteral("Grade 3s"));
    QCOMPARE(s.db.count("Classes", "ClassNm", "Grade 3s"), 1);
    // The chosen class and its list stay as they were.
    QCOMPARE(panel.classPopup()->currentText(), QStringLiteral("Grade 4"));
    QCOMPARE(names(panel), QStringList{"Bo"});
    QCOMPARE(classes.size(), 0);

    s.dialogs.clear();
    const QStringList before = popupRows(panel);
    QVERIFY(!panel.addClass("Grade 4"));
    QVERIFY(!panel.addClass("''"));
    QCOMPARE(popupRows(panel), before);
    QCOMPARE(s.db.count("Classes"), 4);
    QCOMPARE(s.dialogs.messages(), QStringList{"The apostrophe (') is not permitted in class names."});
}

void TestNameListCtr::addNameGoesToTheShownClass() {
    School s;
    QSqlQuery(DBCtrl::NBData()).exec("DELETE FROM Classes WHERE ClassNm = 'Default'");
    nameListCtr panel;
    QSignalSpy students(&panel, &nameListCtr::studentNameSet);

    // All classes shown: the student goes into "Default", which the database makes anew.
    panel.addName("Fay", "pear");
    QCOMPARE(names(panel).last(), QStringLiteral("Fay"));
    const int row = panel.list()->rowCount() - 1;
    const int id = panel.list()->cellTag(row, 0).toInt();
    QCOMPARE(s.db.nameColumn(id, "StName"), QStringLiteral("Fay"));
    QCOMPARE(s.db.nameColumn(id, "StClass"), QStringLiteral("Default"));
    QCOMPARE(panel.list()->cellTag(row, 1).toString(), QStringLiteral("Default"));
    QCOMPARE(panel.list()->item(row, 2)->text(), QStringLiteral("0.0"));
    QCOMPARE(myGlobals::unscrambleStr(panel.list()->item(row, 1)->text()), QStringLiteral("pear"));
    QVERIFY(popupRows(panel).contains("Default"));
    QCOMPARE(panel.classPopup()->currentIndex(), 0);
    QCOMPARE(students.size(), 0);

    choose(panel, "Grade 4");
    panel.addName("Gus", "");
    QCOMPARE(names(panel), (QStringList{"Bo", "Gus"}));
    const int gus = panel.list()->cellTag(1, 0).toInt();
    QCOMPARE(s.db.nameColumn(gus, "StClass"), QStringLiteral("Grade 4"));
    QCOMPARE(panel.list()->item(1, 1)->text(), QString());

    // After a refill the new row reads like every other.
    choose(panel, "Grade 3");
    choose(panel, "Grade 4");
    QCOMPARE(panel.list()->item(1, 2)->text(), QStringLiteral(".0"));
}

void TestNameListCtr::failedAddLeavesTheListAlone() {
    School s;
    TestDoubles::RecordingFeedback feedback;
    nameListCtr panel;
    choose(panel, "Grade 3");
    panel.addName("Fay", "");
    const QStringList before = names(panel);

    // The duplicate-name question answered with "go back": nothing added.
    panel.addName("fay", "");
    QCOMPARE(s.dialogs.shown.last().kind, TestDoubles::Shown::Question);
    QCOMPARE(names(panel), before);

    // The database refuses the add: no row, least of all one with the last student's id.
    QVERIFY(QSqlQuery(DBCtrl::NBData())
                .exec("CREATE TRIGGER refuse BEFORE INSERT ON Names BEGIN SELECT RAISE(ABORT, 'no'); END"));
    panel.addName("Gus", "");
    QCOMPARE(names(panel), before);
    QCOMPARE(s.db.count("Names", "StName", "Gus"), 0);

    // No database at all.
    DBCtrl::closeDB();
    panel.addName("Hal", "");
    QCOMPARE(names(panel), before);
    QCOMPARE(feedback.beeps, 1);
}

void TestNameListCtr::selectionIsReported() {
    School s;
    nameListCtr panel;
    QSignalSpy students(&panel, &nameListCtr::studentNameSet);
    selectRows(panel, {2});
    QVERIFY(!students.isEmpty());
    const QList<QVariant> cy = students.last();
    QCOMPARE(cy.at(0).toString(), QStringLiteral("Cy"));
    QCOMPARE(myGlobals::unscrambleStr(cy.at(1).toString()), QStringLiteral("x y"));
    QCOMPARE(cy.at(2).toString(), QStringLiteral("1.5"));
    QCOMPARE(cy.at(3).toInt(), s.cy);
    QCOMPARE(cy.at(4).toString(), QStringLiteral("Grade 3"));

    // Several rows: the first of them is reported.
    selectRows(panel, {4, 1, 3});
    QCOMPARE(students.last().at(0).toString(), QStringLiteral("Bo"));

    panel.doSelectAll();
    QCOMPARE(panel.list()->selectionModel()->selectedRows().size(), 5);
    QCOMPARE(students.last().at(0).toString(), QStringLiteral("Ann"));

    panel.list()->clearSelection();
    QCOMPARE(students.last(), (QList<QVariant>{QString(), QString(), QStringLiteral("0"), -1, QString()}));
}

void TestNameListCtr::deleteSelectedStudents() {
    School s;
    s.db.addResults(s.cy, 3, 4);
    nameListCtr panel;
    QSignalSpy students(&panel, &nameListCtr::studentNameSet);
    selectRows(panel, {0, 2, 4});
    students.clear();
    panel.deleteSelectedStudent();

    QCOMPARE(s.dialogs.shown.size(), 1);
    const Seams::Question& q = s.dialogs.shown[0].question;
    QCOMPARE(q.message, QStringLiteral("Are you sure you want to delete the selected student names?"));
    QCOMPARE(q.explanation, QStringLiteral("Click 'Cancel' to leave the name. "));
    QCOMPARE(q.defaultCaption, QStringLiteral("Delete"));
    QVERIFY(!q.cancelCaption.isEmpty());
    QVERIFY(q.icon == Seams::Icon::Caution);

    QCOMPARE(names(panel), (QStringList{"Bo", "Dee"}));
    QCOMPARE(s.db.count("Names"), 2);
    for (int gone : {s.ann, s.cy, s.eve})
        QCOMPARE(s.db.nameColumn(gone, "StName"), QStringLiteral("<none>"));
    QCOMPARE(s.db.count("theData"), 0);
    QVERIFY(panel.list()->selectedItems().isEmpty());
    QCOMPARE(students.size(), 1);
    QCOMPARE(students.last().at(3).toInt(), -1);
}

void TestNameListCtr::deleteOneAsksByName() {
    School s;
    nameListCtr panel;
    selectRows(panel, {3});
    panel.deleteSelectedStudent();
    QCOMPARE(s.dialogs.messages(), QStringList{"Are you sure you want to delete Dee from this list?"});
    QCOMPARE(names(panel), (QStringList{"Ann", "Bo", "Cy", "Eve"}));

    // No selection: no question.
    s.dialogs.clear();
    panel.deleteSelectedStudent();
    QVERIFY(s.dialogs.shown.isEmpty());
}

void TestNameListCtr::cancelledDeleteKeepsEverything() {
    School s;
    nameListCtr panel;
    selectRows(panel, {0, 1});
    s.dialogs.answers = {Seams::Answer::Cancel};
    panel.deleteSelectedStudent();
    QCOMPARE(names(panel).size(), 5);
    QCOMPARE(s.db.count("Names"), 5);
    QCOMPARE(panel.list()->selectionModel()->selectedRows().size(), 2);

    // A deletion the database refuses keeps the row, as the student is still there, with the results.
    s.db.addResults(s.bo, 3, 4);
    const QString results = s.db.dataColumn(s.bo, "stAdd");
    QVERIFY(!results.isEmpty());
    QVERIFY(QSqlQuery(DBCtrl::NBData())
                .exec("CREATE TRIGGER keep BEFORE DELETE ON Names BEGIN SELECT RAISE(ABORT, 'no'); END"));
    selectRows(panel, {1});
    panel.deleteSelectedStudent();
    QCOMPARE(names(panel).size(), 5);
    QCOMPARE(s.db.count("Names"), 5);
    QCOMPARE(s.db.count("theData", "StID", QString::number(s.bo)), 1);
    QCOMPARE(s.db.dataColumn(s.bo, "stAdd"), results);
}

void TestNameListCtr::deleteClassGoesBackToAllClasses() {
    School s;
    nameListCtr panel;
    choose(panel, "Grade 3");
    QSignalSpy classes(&panel, &nameListCtr::classNameSet);
    panel.deleteClass("Grade 3");
    QCOMPARE(popupRows(panel), (QStringList{"All Classes", "Default", "Grade 4"}));
    QCOMPARE(panel.classPopup()->currentIndex(), 0);
    QCOMPARE(classes.size(), 1);
    QCOMPARE(classes.last().at(0).toString(), QString());
    QCOMPARE(names(panel), QStringList{"Bo"});
}

void TestNameListCtr::editNameRebuildsTheList() {
    School s;
    nameListCtr panel;
    choose(panel, "Grade 3");
    selectRows(panel, {1});
    QSignalSpy students(&panel, &nameListCtr::studentNameSet);
    panel.editName("Cyrus", "new pw", "Grade 3", s.cy, "1.5");
    QCOMPARE(s.db.nameColumn(s.cy, "StName"), QStringLiteral("Cyrus"));
    QCOMPARE(s.db.nameColumn(s.cy, "StStars"), QStringLiteral("3"));
    QCOMPARE(myGlobals::unscrambleStr(s.db.nameColumn(s.cy, "StPW")), QStringLiteral("new pw"));
    QCOMPARE(names(panel), (QStringList{"Ann", "Cyrus", "Dee", "Eve"}));
    QVERIFY(panel.list()->selectedItems().isEmpty());
    QCOMPARE(students.size(), 1);

    panel.editName("Dee", "", "Grade 3", s.dee, ".0");
    QCOMPARE(s.db.nameColumn(s.dee, "StStars"), QStringLiteral("0"));
    QCOMPARE(panel.list()->item(2, 2)->text(), QStringLiteral(".0"));
}

void TestNameListCtr::exportGivesPasswordsInClear() {
    School s;
    // A stored password that this program did not scramble cannot be given out.
    QSqlQuery(DBCtrl::NBData())
        .exec(QStringLiteral("UPDATE Names SET StPW = 'zz' WHERE StID = %1").arg(s.eve));
    QTemporaryDir dir;
    const QString path = dir.filePath("Grade 3.txt");
    s.dialogs.paths = {path};
    nameListCtr panel;
    choose(panel, "Grade 3");
    panel.addName("Fay", "pear");
    panel.exportNames();

    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(f.readAll()).split('\n');
    QCOMPARE(lines, (QStringList{"Grade 3", "Student Name\tPassword\tStars\t", "Ann\tapple\t.0",
                                 "Cy\tx y\t1.5", "Dee\t\t4.0", "Eve\t\t1.0", "Fay\tpear\t0.0", ""}));
    // The screen keeps the stored form.
    QCOMPARE(panel.list()->item(0, 1)->text(), s.db.nameColumn(s.ann, "StPW"));

    // Read back as an import reads it, every student with a password can still sign in with it.
    for (const QString& line : lines.mid(2)) {
        const QStringList fields = line.split('\t');
        if (fields.size() < 2 || fields[1].isEmpty())
            continue;
        QSqlQuery q(DBCtrl::NBData());
        q.prepare("SELECT StPW FROM Names WHERE StName = ?");
        q.addBindValue(fields[0]);
        QVERIFY(q.exec() && q.next());
        QVERIFY(myGlobals::passwordMatches(myGlobals::unscrambleStr(q.value(0).toString()), fields[1]));
    }
}

void TestNameListCtr::emptyListExportsAndSelectsNothing() {
    School s;
    DBCtrl::insertClass("Empty");
    nameListCtr panel;
    choose(panel, "Empty");
    s.dialogs.clear();
    s.dialogs.paths = {QDir::temp().filePath("never-written.txt")};
    panel.exportNames();
    panel.doSelectAll();
    QVERIFY(s.dialogs.shown.isEmpty());
    QVERIFY(!QFile::exists(QDir::temp().filePath("never-written.txt")));
}

void TestNameListCtr::printsTheShownClass_data() {
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("printed");
    QTest::newRow("all classes") << "All Classes"
                                 << "All Classes"
                                 << QStringList{"Ann", "apple", ".0", "Cy", "x y", "1.5", "Bo", ".5"};
    QTest::newRow("one class") << "Grade 4"
                               << "Grade 4" << QStringList{"Bo", ".5"};
}

void TestNameListCtr::printsTheShownClass() {
    QFETCH(QString, className);
    QFETCH(QString, title);
    QFETCH(QStringList, printed);
    School s;
    nameListCtr panel;
    choose(panel, className);

    TestDoubles::PdfPrintDialogs printing;
    QTemporaryDir dir;
    printing.pdfPath = dir.filePath("class.pdf");
    panel.doPrinting();
    QCOMPARE(printing.documentName, title);
    QCOMPARE(TestDoubles::pdfPageCount(printing.pdfPath), 1);

    // What that page holds: passwords in clear, never in their stored form.
    TestDoubles::RecordingDevice device;
    QPainter g(&device);
    panel.list()->printOneCopy(g, QRectF(36, 36, 540, 720), title, {"Student Name", "Password", "Stars", ""},
                               [] {});
    g.end();
    QStringList drawn;
    for (const TestDoubles::DrawnText& t : device.engine.texts)
        drawn << t.text;
    for (const QString& text : printed)
        QVERIFY2(drawn.contains(text), qPrintable(text));
    QVERIFY(!drawn.contains(s.db.nameColumn(s.ann, "StPW")));
}

QTEST_MAIN(TestNameListCtr)
#include "tst_namelistctr.moc"
