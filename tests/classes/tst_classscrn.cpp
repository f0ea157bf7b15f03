// The class window driven through its controls and menus into a temporary database.

#include "app/helplink.h"
#include "app/menus.h"
#include "app/onmodal.h"
#include "main/routes.h"
#include "main/uiseams.h"
#include "classes/classscrn.h"
#include "classes/resetscoresscrn.h"
#include "classes/studentlistfile.h"
#include "controls/ghostef.h"
#include "controls/namelistctr.h"
#include "controls/newcnvbtn.h"
#include "controls/printdoubles.h"
#include "controls/printinglb.h"
#include "controls/zeriminuscontainer.h"
#include "data/dbctrl.h"
#include "data/globals.h"
#include "data/strecord.h"
#include "signin/namescrn.h"
#include "support/doubles.h"
#include "support/fixtures.h"
#include "support/keptwaiting.h"
#include "support/outsideinputs.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using TestDoubles::ScriptedDialogs;
using TestDoubles::Shown;
using TestDoubles::TempDatabase;

namespace {

// One stored student, as the test reads it back.
struct Stored {
    QString name;
    QString password; // in clear
    QString className;
    QString stars;
};

QList<Stored> studentsOf(const QString& className) {
    QList<Stored> out;
    QSqlQuery q(DBCtrl::NBData());
    q.prepare(
        QStringLiteral("SELECT StName, StPW, StClass, StStars FROM Names WHERE StClass = ? ORDER BY StID"));
    q.addBindValue(className);
    q.exec();
    while (q.next())
        out.append({q.value(0).toString(), myGlobals::unscrambleStr(q.value(1).toString()),
                    q.value(2).toString(), q.value(3).toString()});
    return out;
}

QStringList namesOf(const QString& className) {
    QStringList out;
    for (const Stored& s : studentsOf(className))
        out << s.name;
    return out;
}

// A small school with a window open on it.
struct School {
    ScriptedDialogs dialogs;
    TestDoubles::RecordingFeedback feedback;
    TempDatabase db;
    int ann = 0, bo = 0, cy = 0;
    ClassScrn* w = nullptr;

    School() {
        DBCtrl::insertClass("Grade 3");
        DBCtrl::insertClass("Room 4");
        ann = db.addStudent("Ann", "Grade 3", "apple", 3);
        bo = db.addStudent("Bo", "Room 4", "", 1);
        cy = db.addStudent("Cy", "Grade 3", "x y", 0);
        w = ClassScrn::instance();
        w->show();
        dialogs.clear();
        feedback.beeps = 0;
    }
    ~School() {
        if (ClassScrn::exists())
            ClassScrn::instance()->close();
        if (NameScrn::exists())
            NameScrn::instance()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    template <class T> T* get(const char* name) const {
        T* found = w->findChild<T*>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    nameListCtr* panel() const { return get<nameListCtr>("myNameCtr"); }
    ghostEF* classFld() const { return get<ghostEF>("classFld"); }
    QLineEdit* nameFld() const { return get<QLineEdit>("stNameFld"); }
    QLineEdit* pwFld() const { return get<QLineEdit>("pwFld"); }
    QLabel* starsFld() const { return get<QLabel>("stStarsFld"); }
    newCnvBtn* button(const char* name) const { return get<newCnvBtn>(name); }
    QAction* item(const char* name) const { return w->menuBar()->item(QLatin1String(name)); }

    void choose(const QString& className) {
        QComboBox* popup = panel()->classPopup();
        popup->setCurrentIndex(
            className.isEmpty() ? 0
                                : popup->findText(className, Qt::MatchFixedString | Qt::MatchCaseSensitive));
    }
    void selectStudent(const QString& name) {
        printingLB* list = panel()->list();
        list->clearSelection();
        for (int r = 0; r < list->rowCount(); ++r) {
            if (list->item(r, 0)->text() == name)
                list->selectRow(r);
        }
    }
    QStringList listed() const {
        QStringList out;
        for (int r = 0; r < panel()->list()->rowCount(); ++r)
            out << panel()->list()->item(r, 0)->text();
        return out;
    }
    void click(const char* buttonName) { QTest::mouseClick(button(buttonName), Qt::LeftButton); }
    void typeClass(const QString& text) {
        classFld()->setFocus();
        classFld()->setText(text);
    }
    void pressZeri() {
        QTest::mouseClick(get<QWidget>("ZeriMinusContainer1"), Qt::LeftButton, {}, QPoint(10, 11));
    }
    void pressMinus() {
        QTest::mouseClick(get<QWidget>("ZeriMinusContainer1"), Qt::LeftButton, {}, QPoint(35, 11));
    }
    bool addMode() const {
        return button("addBtn")->myCaption() == "Add Name" && !button("deleteBtn")->isVisible() &&
               !button("resetScrsBtn")->isVisible() && w->selectedID() == -1;
    }
};

// The next control that Tab reaches.
QWidget* nextTabStop(QWidget* from) {
    QWidget* w = from->nextInFocusChain();
    while (w != from && !(w->focusPolicy() & Qt::TabFocus))
        w = w->nextInFocusChain();
    return w;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class TestClassScrn : public QObject {
    Q_OBJECT
private slots:
    void init() { myGlobals::pFile.clear(); }
    void opensInAddMode();
    void missingProxyFileBeepsOnce();
    void classListsItemOpensIt();
    void everyCloseShowsTheSignInWindow_data();
    void everyCloseShowsTheSignInWindow();
    void resizingMovesTheRightColumn();
    void helpOpensTheClassListsTopic();
    void addStudent_data();
    void addStudent();
    void editStudent_data();
    void editStudent();
    void anEditKeepsStarsSavedMeanwhile();
    void choosingAStudentFillsTheForm();
    void resetScoresOpensTheDialog();
    void deleteStudents_data();
    void deleteStudents();
    void addClass_data();
    void addClass();
    void addsTwoClassesInARow();
    void deleteClass_data();
    void deleteClass();
    void menusFollowTheChosenClass();
    void printsUnderTheShownTitle();
    void import_data();
    void import();
    void importRefusesWhatItCannotRead_data();
    void importRefusesWhatItCannotRead();
    void importRefusesWhatIsNoListAtOnce_data();
    void importRefusesWhatIsNoListAtOnce();
    void importLeavesOutOnlyUnusablePasswords_data();
    void importLeavesOutOnlyUnusablePasswords();
    void failedImportStoresNothing();
    void exportReadsBack();
    void listChoosersStartWhereTheListsAre();
};

void TestClassScrn::opensInAddMode() {
    School s;
    QCOMPARE(s.w->windowTitle().remove(QStringLiteral("[*]")), QStringLiteral("Manage Classes"));
    QCOMPARE(s.get<QWidget>("CustomBlueBkg")->size(), QSize(800, 600));
    QCOMPARE(s.button("addBtn")->myCaption(), QStringLiteral("Add Name"));
    QCOMPARE(s.button("addBtn")->kind(), 1);
    QCOMPARE(s.button("closeBtn")->myCaption(), QStringLiteral("Close Screen"));
    QVERIFY(s.button("addBtn")->isVisible() && s.button("closeBtn")->isVisible());
    QVERIFY(s.addMode());
    QCOMPARE(s.classFld()->text(), ClassScrn::classHint());
    QCOMPARE(s.classFld()->textColor(), ghostEF::hintColor());
    QCOMPARE(s.starsFld()->text(), QString());
    QCOMPARE(s.pwFld()->echoMode(), QLineEdit::Normal);
    QCOMPARE(s.panel()->geometry(), QRect(10, 20, 464, 564));
    QCOMPARE(s.listed(), (QStringList{"Ann", "Bo", "Cy"}));
    QVERIFY(QTest::qWaitForWindowActive(s.w));
    QCOMPARE(QApplication::focusWidget(), s.nameFld());
    QCOMPARE(s.item("FilePrint")->text(), QStringLiteral("Print Class List"));
    QVERIFY(!s.item("FileImport")->isEnabled());
    QVERIFY(!s.item("FileExport")->isEnabled());
    QCOMPARE(s.get<QWidget>("ZeriMinusContainer1")->focusPolicy(), Qt::NoFocus);
    // Tab goes from the class field to the name, then the password.
    QCOMPARE(nextTabStop(s.classFld()), static_cast<QWidget*>(s.nameFld()));
    QCOMPARE(nextTabStop(s.nameFld()), static_cast<QWidget*>(s.pwFld()));
    QCOMPARE(ClassScrn::instance(), s.w);
}

void TestClassScrn::missingProxyFileBeepsOnce() {
    QTemporaryDir dir;
    myGlobals::pFile = dir.filePath("NBQProxyIcon.png");
    TestDoubles::RecordingFeedback feedback;
    {
        School s;
        QCOMPARE(feedback.beeps, 0); // the school's own double took the beep
    }
    ScriptedDialogs dialogs;
    TempDatabase db;
    TestDoubles::RecordingFeedback counted;
    ClassScrn::instance()->show();
    QCOMPARE(counted.beeps, 1);
    QVERIFY(ClassScrn::instance()->windowFilePath().isEmpty());
    ClassScrn::instance()->close();
    NameScrn::instance()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    writeFile(myGlobals::pFile, "not really a picture");
    TestDoubles::RecordingFeedback quiet;
    ClassScrn::instance()->show();
    QCOMPARE(quiet.beeps, 0);
    QCOMPARE(ClassScrn::instance()->windowFilePath(), QFileInfo(myGlobals::pFile).absoluteFilePath());
    ClassScrn::instance()->close();
    NameScrn::instance()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestClassScrn::classListsItemOpensIt() {
    ScriptedDialogs dialogs;
    TempDatabase db;
    Routes::install();
    NameScrn* signIn = NameScrn::instance();
    signIn->show();
    QAction* item = signIn->findChild<Menus::Bar*>()->item(QStringLiteral("AdminClassLists"));
    QVERIFY(item->isEnabled());
    item->trigger();
    QVERIFY(ClassScrn::exists() && ClassScrn::instance()->isVisible());
    QVERIFY(!NameScrn::exists());
    ClassScrn::instance()->close();
    NameScrn::instance()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestClassScrn::everyCloseShowsTheSignInWindow_data() {
    QTest::addColumn<QString>("how");
    // clang-format off
    QTest::newRow("close box") << "box";
    QTest::newRow("Close Screen") << "button";
    QTest::newRow("File > Close") << "menu";
    QTest::newRow("Ctrl+W") << "key";
    // clang-format on
}

void TestClassScrn::everyCloseShowsTheSignInWindow() {
    QFETCH(QString, how);
    School s;
    QVERIFY(!NameScrn::exists());
    QPointer<ClassScrn> w = s.w;
    if (how == "box")
        QVERIFY(w->close());
    else if (how == "button")
        s.click("closeBtn");
    else if (how == "menu")
        s.item("FileClose")->trigger();
    else {
        QVERIFY(QTest::qWaitForWindowActive(w));
        QTest::keyClick(w, Qt::Key_W, Qt::ControlModifier);
    }
    QVERIFY(!ClassScrn::exists());
    QVERIFY(NameScrn::exists() && NameScrn::instance()->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(w.isNull());
    // The next opening is a new window, read afresh.
    DBCtrl::insertClass("Late Class");
    QVERIFY(ClassScrn::instance()->findChild<QComboBox*>("classMenu")->findText("Late Class") > 0);
}

void TestClassScrn::resizingMovesTheRightColumn() {
    School s;
    QWidget* content = s.get<QWidget>("CustomBlueBkg");
    s.w->resize(s.w->width() + 100, s.w->height() + 50);
    QCOMPARE(content->size(), QSize(900, 650));
    QCOMPARE(s.panel()->geometry(), QRect(10, 20, 564, 614));
    QCOMPARE(s.classFld()->geometry(), QRect(600, 54, 260, 22));
    QCOMPARE(s.button("closeBtn")->geometry(), QRect(670, 551, 120, 29));
    QCOMPARE(s.get<QWidget>("ZeriMinusContainer1")->geometry(), QRect(602, 81, 45, 22));
    s.w->resize(s.w->width() - 300, s.w->height());
    QCOMPARE(s.classFld()->geometry(), QRect(300, 54, 260, 22));
    QCOMPARE(s.panel()->width(), 264);
}

void TestClassScrn::helpOpensTheClassListsTopic() {
    QList<int> topics;
    HelpLink::install([&topics](int topic, QWidget*) { topics << topic; });
    {
        School s;
        QVERIFY(s.item("HelpHelp")->isEnabled());
        s.item("HelpHelp")->trigger();
        s.item("HelpHelp")->trigger();
        QVERIFY(ClassScrn::exists());
    }
    HelpLink::install(nullptr);
    QCOMPARE(topics, (QList<int>{4, 4}));
}

// ---- The student form

void TestClassScrn::addStudent_data() {
    QTest::addColumn<QString>("chosen"); // the class chosen in the popup ("" All Classes)
    QTest::addColumn<QString>("typedClass");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("answer"); // at the duplicate question: "cancel", "continue" or ""
    QTest::addColumn<QString>("inClass");
    QTest::addColumn<QStringList>("names");      // the class's stored names afterwards
    QTest::addColumn<QString>("storedPassword"); // of the last of them
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("beeps");

    const QStringList grade3{"Ann", "Cy"};
    const QString dup = QStringLiteral("The name ann already exists in the Grade 3 Class. It is advised that "
                                       "you change this name before adding to this class.");
    // clang-format off
    QTest::newRow("blanks trimmed") << "Grade 3" << "" << "  Dee  " << " x " << "" << "Grade 3"
        << QStringList{"Ann", "Cy", "Dee"} << "x" << QStringList{} << 0;
    QTest::newRow("name of blanks") << "Grade 3" << "" << "   " << "x" << "" << "Grade 3" << grade3 << "x y"
        << QStringList{} << 1;
    QTest::newRow("no class") << "" << "" << "Dee" << "" << "" << "Default" << QStringList{} << ""
        << QStringList{"Please select a class from the Popup Menu"} << 1;
    QTest::newRow("class not stored") << "Grade 3" << "Room 9" << "Dee" << "" << "" << "Room 9"
        << QStringList{} << "" << QStringList{"Please click the + button to add this class to the list."}
        << 1;
    QTest::newRow("typed class over All Classes") << "" << "Room 4" << "Dee" << "" << "" << "Room 4"
        << QStringList{"Bo", "Dee"} << "" << QStringList{} << 0;
    QTest::newRow("class stored since the window opened") << "" << "Late" << "Dee" << "" << "" << "Late"
        << QStringList{"Dee"} << "" << QStringList{} << 0;
    QTest::newRow("typed class in other letter case") << "Grade 3" << "room 4" << "Dee" << "d" << ""
        << "Room 4" << QStringList{"Bo", "Dee"} << "d" << QStringList{} << 0;
    QTest::newRow("duplicate, back") << "Grade 3" << "" << "ann" << "" << "cancel" << "Grade 3" << grade3
        << "x y" << QStringList{dup} << 0;
    QTest::newRow("duplicate, saved") << "Grade 3" << "" << "ann" << "" << "continue" << "Grade 3"
        << QStringList{"Ann", "Cy", "ann"} << "" << QStringList{dup} << 0;
    // clang-format on
}

void TestClassScrn::addStudent() {
    QFETCH(QString, chosen);
    QFETCH(QString, typedClass);
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(QString, answer);
    QFETCH(QString, inClass);
    QFETCH(QStringList, names);
    QFETCH(QString, storedPassword);
    QFETCH(QStringList, messages);
    QFETCH(int, beeps);
    for (const bool byButton : {false, true}) {
        School s;
        s.choose(chosen);
        if (typedClass == "Late")
            QSqlQuery(DBCtrl::NBData()).exec(QStringLiteral("INSERT INTO Classes (ClassNm) VALUES ('Late')"));
        if (!typedClass.isEmpty())
            s.typeClass(typedClass);
        if (answer == "cancel")
            s.dialogs.answers.push_back(Seams::Answer::Default);
        else if (answer == "continue")
            s.dialogs.answers.push_back(Seams::Answer::Cancel);
        s.nameFld()->setText(name);
        s.pwFld()->setText(password);
        if (byButton)
            s.click("addBtn");
        else
            QTest::keyClick(s.pwFld(), Qt::Key_Return);
        QCOMPARE(namesOf(inClass), names);
        if (!names.isEmpty())
            QCOMPARE(studentsOf(inClass).constLast().password, storedPassword);
        QCOMPARE(s.dialogs.messages(), messages);
        QCOMPARE(s.feedback.beeps, beeps);
        QCOMPARE(DBCtrl::classNames().mid(0, 3), (QStringList{"Default", "Grade 3", "Room 4"}));
        if (messages.isEmpty() && beeps == 0) {
            // The panel shows the class the student went into, with the stored rows.
            QCOMPARE(s.panel()->currentClass(), inClass);
            QCOMPARE(s.listed(), names);
            QCOMPARE(s.classFld()->text(), inClass);
            QVERIFY(s.nameFld()->text().isEmpty() && s.pwFld()->text().isEmpty());
        }
        if (beeps == 1 && messages.isEmpty())
            QCOMPARE(s.nameFld()->selectedText(), name);
        QVERIFY(s.addMode());
    }
}

void TestClassScrn::editStudent_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("typedClass"); // "" keeps the field as the selection filled it
    QTest::addColumn<QString>("storedName");
    QTest::addColumn<QString>("storedClass");
    QTest::addColumn<QString>("storedPassword");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("beeps");

    // clang-format off
    QTest::newRow("rename, texts as typed") << " Anna " << " pear " << "" << " Anna " << "Grade 3" << " pear "
        << QStringList{} << 0;
    QTest::newRow("move to a stored class") << "Ann" << "apple" << "ROOM 4" << "Ann" << "Room 4" << "apple"
        << QStringList{} << 0;
    QTest::newRow("class not stored") << "Ann" << "apple" << "Nowhere" << "Ann" << "Grade 3" << "apple"
        << QStringList{"Please click the + button to add this class to the list."} << 1;
    QTest::newRow("class field emptied") << "Ann" << "apple" << " " << "Ann" << "Grade 3" << "apple"
        << QStringList{"Please click the + button to add this class to the list."} << 1;
    QTest::newRow("name of blanks") << "   " << "apple" << "" << "Ann" << "Grade 3" << "apple"
        << QStringList{} << 1;
    // clang-format on
}

void TestClassScrn::editStudent() {
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(QString, typedClass);
    QFETCH(QString, storedName);
    QFETCH(QString, storedClass);
    QFETCH(QString, storedPassword);
    QFETCH(QStringList, messages);
    QFETCH(int, beeps);
    School s;
    s.choose("Grade 3");
    s.selectStudent("Ann");
    QCOMPARE(s.starsFld()->text(), QStringLiteral("1.5"));
    // A reset elsewhere changed the stored total since the form was filled: the edit keeps it.
    QSqlQuery(DBCtrl::NBData()).exec(QStringLiteral("UPDATE Names SET StStars = '1' WHERE StName = 'Ann'"));
    s.nameFld()->setText(name);
    s.pwFld()->setText(password);
    if (!typedClass.isEmpty())
        s.typeClass(typedClass);
    QTest::keyClick(s.nameFld(), Qt::Key_Enter);
    QCOMPARE(s.db.nameColumn(s.ann, "StName"), storedName);
    QCOMPARE(s.db.nameColumn(s.ann, "StClass"), storedClass);
    QCOMPARE(myGlobals::unscrambleStr(s.db.nameColumn(s.ann, "StPW")), storedPassword);
    QCOMPARE(s.db.nameColumn(s.ann, "StStars"), QStringLiteral("1"));
    QCOMPARE(s.dialogs.messages(), messages);
    QCOMPARE(s.feedback.beeps, beeps);
    if (beeps == 0) {
        QVERIFY(s.addMode());
        QCOMPARE(s.starsFld()->text(), QString());
        QVERIFY(s.nameFld()->text().isEmpty() && s.pwFld()->text().isEmpty());
        QCOMPARE(s.listed(), (storedClass == "Grade 3" ? QStringList{storedName, "Cy"} : QStringList{"Cy"}));
    } else {
        QCOMPARE(s.button("addBtn")->myCaption(), QStringLiteral("Edit Name"));
        QCOMPARE(s.w->selectedID(), s.ann);
    }
}

// Another computer saves the student's fourth star while the teacher's edit waits for its lock: the
// edit stores name, class and password, and the new total stays.
void TestClassScrn::anEditKeepsStarsSavedMeanwhile() {
    School s;
    s.choose("Grade 3");
    s.selectStudent("Ann");
    s.nameFld()->setText("Ann Lee");
    {
        TestDoubles::OtherComputer other(s.db.file());
        QVERIFY(other.holdWriteLock());
        TestDoubles::WhenKeptWaiting race(
            [&] {
                QVERIFY(other.exec(QStringLiteral("UPDATE Names SET StStars = '8' WHERE StName = 'Ann'")));
                QVERIFY(other.exec(QStringLiteral("COMMIT")));
            },
            TestDoubles::WhenKeptWaiting::Then::WaitOn);
        QTest::keyClick(s.nameFld(), Qt::Key_Enter);
        QVERIFY(race.waits() > 0);
    }
    QCOMPARE(s.db.nameColumn(s.ann, "StName"), QStringLiteral("Ann Lee"));
    QCOMPARE(s.db.nameColumn(s.ann, "StStars"), QStringLiteral("8"));
    QVERIFY2(s.dialogs.messages().isEmpty(), qPrintable(s.dialogs.messages().join(" | ")));
}

void TestClassScrn::choosingAStudentFillsTheForm() {
    School s;
    s.selectStudent("Bo");
    QCOMPARE(s.nameFld()->text(), QStringLiteral("Bo"));
    QCOMPARE(s.pwFld()->text(), QString());
    QCOMPARE(s.starsFld()->text(), QStringLiteral(".5"));
    QCOMPARE(s.classFld()->text(), QStringLiteral("Room 4"));
    QCOMPARE(s.classFld()->textColor(), QColor(Qt::black));
    QCOMPARE(s.button("addBtn")->myCaption(), QStringLiteral("Edit Name"));
    QVERIFY(s.button("deleteBtn")->isVisible());
    QVERIFY(s.button("resetScrsBtn")->isVisible());
    QCOMPARE(s.w->selectedID(), s.bo);
    s.selectStudent("Cy");
    QCOMPARE(s.pwFld()->text(), QStringLiteral("x y"));
    QCOMPARE(s.w->selectedID(), s.cy);
    s.panel()->list()->clearSelection();
    QVERIFY(s.addMode());
    QCOMPARE(s.starsFld()->text(), QStringLiteral("0"));
    QCOMPARE(s.classFld()->text(), QStringLiteral("Grade 3"));
}

void TestClassScrn::resetScoresOpensTheDialog() {
    School s;
    s.choose("Grade 3");
    s.selectStudent("Ann");
    QCOMPARE(s.starsFld()->text(), QStringLiteral("1.5"));
    s.nameFld()->setText("Ann B"); // edited, not saved: the dialog shows it all the same
    QString name, id, className;
    onModal([&](QWidget* modal) {
        auto* d = qobject_cast<resetScoresScrn*>(modal);
        QVERIFY(d);
        name = d->rstName;
        id = d->rstID;
        className = d->rstClass;
        d->findChild<QCheckBox*>("selAllBox")->click();
        d->findChild<QPushButton*>("actionBtn")->click();
    });
    s.click("resetScrsBtn");
    QCOMPARE(name, QStringLiteral("Ann B"));
    QCOMPARE(id, QString::number(s.ann));
    QCOMPARE(className, QStringLiteral("Grade 3"));
    // Ann had no results: the recount took her stars away, and the form shows the stored total.
    QCOMPARE(s.db.nameColumn(s.ann, "StStars"), QStringLiteral("0"));
    QCOMPARE(s.dialogs.messages(), QStringList{"Ann B's stars have been reset to 0.0"});
    QCOMPARE(s.w->selectedID(), s.ann);
    QCOMPARE(s.starsFld()->text(), QStringLiteral(".0"));
    // The recount stores the stars alone: the name typed but not saved is not stored behind the
    // teacher's back, and the refilled form shows the stored one.
    QCOMPARE(s.db.nameColumn(s.ann, "StName"), QStringLiteral("Ann"));
    QCOMPARE(s.nameFld()->text(), QStringLiteral("Ann"));
    QCOMPARE(myGlobals::gCurPlayer->curStID, s.ann);
    myGlobals::gCurPlayer.reset();
}

void TestClassScrn::deleteStudents_data() {
    QTest::addColumn<bool>("byMenu");
    QTest::addColumn<bool>("confirm");
    // clang-format off
    QTest::newRow("button, Delete") << false << true;
    QTest::newRow("Ctrl+D, Delete") << true << true;
    QTest::newRow("button, Cancel") << false << false;
    // clang-format on
}

void TestClassScrn::deleteStudents() {
    QFETCH(bool, byMenu);
    QFETCH(bool, confirm);
    School s;
    s.db.addResults(s.ann, 5, 9);
    s.selectStudent("Ann");
    if (!confirm)
        s.dialogs.answers.push_back(Seams::Answer::Cancel);
    if (byMenu) {
        QVERIFY(QTest::qWaitForWindowActive(s.w));
        QTest::keyClick(s.w, Qt::Key_D, Qt::ControlModifier);
    } else {
        s.click("deleteBtn");
    }
    QCOMPARE(s.dialogs.messages(), QStringList{"Are you sure you want to delete Ann from this list?"});
    QCOMPARE(namesOf("Grade 3"), (confirm ? QStringList{"Cy"} : QStringList{"Ann", "Cy"}));
    QCOMPARE(s.db.count("theData", "StID", QString::number(s.ann)), confirm ? 0 : 1);
    QCOMPARE(s.addMode(), confirm);
}

// ---- Classes

void TestClassScrn::addClass_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("classes");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("beeps");
    QTest::addColumn<QString>("fieldAfter");

    const QStringList before{"Default", "Grade 3", "Room 4"};
    // clang-format off
    QTest::newRow("new class") << "Room 5" << QStringList{"Default", "Grade 3", "Room 4", "Room 5"}
        << QStringList{} << 0 << ClassScrn::classHint();
    QTest::newRow("stored") << "Room 4" << before << QStringList{"That <Class Name> already exists"} << 0
        << "Room 4";
    QTest::newRow("apostrophes removed") << "Mrs O'Neil"
        << QStringList{"Default", "Grade 3", "Room 4", "Mrs ONeil"}
        << QStringList{"The apostrophe (') is not permitted in class names."} << 0 << ClassScrn::classHint();
    QTest::newRow("only apostrophes and blanks") << " '' " << before << QStringList{} << 1 << " '' ";
    QTest::newRow("hint shown") << "" << before << QStringList{} << 1 << ClassScrn::classHint();
    // clang-format on
}

void TestClassScrn::addClass() {
    QFETCH(QString, typed);
    QFETCH(QStringList, classes);
    QFETCH(QStringList, messages);
    QFETCH(int, beeps);
    QFETCH(QString, fieldAfter);
    School s;
    if (!typed.isEmpty())
        s.typeClass(typed);
    s.pressZeri();
    QCOMPARE(DBCtrl::classNames(), classes);
    QCOMPARE(s.dialogs.messages(), messages);
    QCOMPARE(s.feedback.beeps, beeps);
    QCOMPARE(s.classFld()->text(), fieldAfter);
    if (messages.value(0).startsWith("That"))
        QCOMPARE(s.classFld()->selectedText(), typed);
    QStringList popup;
    for (int i = 1; i < s.panel()->classPopup()->count(); ++i)
        popup << s.panel()->classPopup()->itemText(i);
    QCOMPARE(popup, classes);
    QCOMPARE(s.panel()->currentClass(), QString());
}

void TestClassScrn::addsTwoClassesInARow() {
    // The + keeps the keyboard focus in the class field, which shows its hint again after each
    // class: the next name typed must not be added to the hint.
    School s;
    s.classFld()->setFocus();
    QTest::keyClicks(s.classFld(), "Room 5");
    s.pressZeri();
    QTest::keyClicks(s.classFld(), "Room 6");
    QCOMPARE(s.classFld()->text(), QStringLiteral("Room 6"));
    s.pressZeri();
    QCOMPARE(DBCtrl::classNames(), (QStringList{"Default", "Grade 3", "Room 4", "Room 5", "Room 6"}));
}

void TestClassScrn::deleteClass_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("classes");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("beeps");

    const QStringList all{"Default", "Grade 3", "Room 4"};
    // clang-format off
    QTest::newRow("Delete") << "Grade 3" << "delete" << QStringList{"Default", "Room 4"}
        << QStringList{"Delete the Grade 3 class and all students from this class?"} << 0;
    QTest::newRow("Cancel") << "Grade 3" << "cancel" << all
        << QStringList{"Delete the Grade 3 class and all students from this class?"} << 0;
    QTest::newRow("other letter case asks for the stored class") << "GRADE 3" << "delete"
        << QStringList{"Default", "Room 4"}
        << QStringList{"Delete the Grade 3 class and all students from this class?"} << 0;
    QTest::newRow("not stored") << "Room 9" << "" << all << QStringList{} << 1;
    QTest::newRow("quote trick") << "x' OR 'a'='a" << "" << all << QStringList{} << 1;
    QTest::newRow("hint shown") << "" << "" << all << QStringList{} << 1;
    // clang-format on
}

void TestClassScrn::deleteClass() {
    QFETCH(QString, typed);
    QFETCH(QString, answer);
    QFETCH(QStringList, classes);
    QFETCH(QStringList, messages);
    QFETCH(int, beeps);
    School s;
    s.db.addResults(s.ann, 5, 9);
    if (!typed.isEmpty())
        s.typeClass(typed);
    if (answer == "cancel")
        s.dialogs.answers.push_back(Seams::Answer::Cancel);
    s.pressMinus();
    QCOMPARE(DBCtrl::classNames(), classes);
    QCOMPARE(s.dialogs.messages(), messages);
    QCOMPARE(s.feedback.beeps, beeps);
    const bool deleted = classes.size() == 2;
    QCOMPARE(namesOf("Grade 3"), (deleted ? QStringList{} : QStringList{"Ann", "Cy"}));
    QCOMPARE(s.db.count("theData"), deleted ? 0 : 1);
    QCOMPARE(namesOf("Room 4"), QStringList{"Bo"});
    if (deleted) {
        QCOMPARE(s.classFld()->text(), QString());
        QCOMPARE(s.listed(), QStringList{"Bo"});
        QCOMPARE(s.panel()->classPopup()->currentIndex(), 0);
    }
}

// ---- Menus, printing, import and export

void TestClassScrn::menusFollowTheChosenClass() {
    School s;
    s.choose("Grade 3");
    QVERIFY(s.item("FileImport")->isEnabled() && s.item("FileExport")->isEnabled());
    QCOMPARE(s.classFld()->text(), QStringLiteral("Grade 3"));
    s.choose("");
    QVERIFY(!s.item("FileImport")->isEnabled() && !s.item("FileExport")->isEnabled());
    QCOMPARE(s.classFld()->text(), QString());
    QVERIFY(s.item("FilePrint")->isEnabled() && s.item("FilePageSetup")->isEnabled());
    for (const char* none : {"FileNew", "FileOpen", "FileSave"})
        QVERIFY(!s.item(none)->isEnabled());
    s.item("EditSelectAll")->trigger();
    QCOMPARE(s.panel()->list()->selectionModel()->selectedRows().size(), 3);
}

void TestClassScrn::printsUnderTheShownTitle() {
    QTemporaryDir dir;
    TestDoubles::PdfPrintDialogs printing;
    printing.pdfPath = dir.filePath("out.pdf");
    myGlobals::gPrinterSettings.clear();
    School s;
    s.item("FilePrint")->trigger();
    QCOMPARE(printing.documentName, QStringLiteral("All Classes"));
    s.choose("Room 4");
    s.item("FilePrint")->trigger();
    QCOMPARE(printing.documentName, QStringLiteral("Room 4"));
    QCOMPARE(printing.printShown, 2);
    QCOMPARE(printing.pageSetupShown, 1); // asked once per run
    s.item("FilePageSetup")->trigger();
    QCOMPARE(printing.pageSetupShown, 2);
}

void TestClassScrn::import_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<Seams::Answer>>("answers"); // at the duplicate questions, in order
    QTest::addColumn<QStringList>("names");            // Grade 3 afterwards
    QTest::addColumn<QStringList>("passwords");
    QTest::addColumn<int>("questions");

    // clang-format off
    QTest::newRow("UTF-8, LF, odd lines") << QByteArray("Dee\tpw\n\tx\n   \ty\nEd\t\nFay\tp2\tz\n\nno tab\n")
        << QList<Seams::Answer>{} << QStringList{"Ann", "Cy", "Dee", "Ed", "Fay"}
        << QStringList{"apple", "x y", "pw", "", "p2"} << 0;
    QTest::newRow("UTF-16 with mark, CRLF") << QByteArray("\xFF\xFE" "Z\0o\0\xEB\0\t\0q\0\r\0\n\0", 16)
        << QList<Seams::Answer>{} << QStringList{"Ann", "Cy", QStringLiteral("Zoë")}
        << QStringList{"apple", "x y", "q"} << 0;
    QTest::newRow("Windows-1252, CR") << QByteArray("Ren\xE9\x65\t\x80\rGus\tg\r") << QList<Seams::Answer>{}
        << QStringList{"Ann", "Cy", QStringLiteral("Renée"), "Gus"}
        << QStringList{"apple", "x y", QStringLiteral("€"), "g"} << 0;
    QTest::newRow("duplicates: back, then save") << QByteArray("ann\t1\nCY\t2\nDee\t3\n")
        << QList<Seams::Answer>{Seams::Answer::Default, Seams::Answer::Cancel}
        << QStringList{"Ann", "Cy", "CY", "Dee"} << QStringList{"apple", "x y", "2", "3"} << 2;
    QTest::newRow("earlier lines of the file count") << QByteArray("Dee\t1\ndee\t2\nDEE\t3\n")
        << QList<Seams::Answer>{Seams::Answer::Cancel, Seams::Answer::Default}
        << QStringList{"Ann", "Cy", "Dee", "dee"} << QStringList{"apple", "x y", "1", "2"} << 2;
    QTest::newRow("letter case beyond ASCII") << QByteArray("\xC3\x89lise\t1\n\xC3\xA9LISE\t2\n")
        << QList<Seams::Answer>{Seams::Answer::Default}
        << QStringList{"Ann", "Cy", QStringLiteral("Élise")} << QStringList{"apple", "x y", "1"} << 1;
    // clang-format on
}

void TestClassScrn::import() {
    QFETCH(QByteArray, bytes);
    QFETCH(QList<Seams::Answer>, answers);
    QFETCH(QStringList, names);
    QFETCH(QStringList, passwords);
    QFETCH(int, questions);
    QTemporaryDir dir;
    const QString path = dir.filePath("list.txt");
    writeFile(path, bytes);
    School s;
    // A results row left by a student long gone, under the id the first newcomer gets.
    const int nextId = s.cy + 1;
    QSqlQuery(DBCtrl::NBData())
        .exec(QStringLiteral("INSERT INTO theData (StID, stAdd) VALUES ('%1', 'old')").arg(nextId));
    s.choose("Grade 3");
    s.selectStudent("Ann"); // edit mode: the import ends it
    s.dialogs.paths.push_back(path);
    for (Seams::Answer a : answers)
        s.dialogs.answers.push_back(a);
    s.item("FileImport")->trigger();

    const Shown& chooser = s.dialogs.shown.first();
    QCOMPARE(chooser.kind, Shown::OpenFile);
    QCOMPARE(chooser.file.title, QStringLiteral("Select a text file to import"));
    QCOMPARE(chooser.file.prompt,
             QStringLiteral("Select a text file (TSV) containing student names. See HELP for more info."));
    QCOMPARE(chooser.file.folder, QDir::homePath()); // the last row's folder is gone
    QCOMPARE(chooser.file.fileTypes, QStringList{"text/plain"});
    QVERIFY(chooser.file.anyFile);
    const QStringList filters = UiSeams::nameFilters(chooser.file);
    QVERIFY(filters.first().contains("*.txt") && filters.first().contains("*.text") &&
            filters.first().contains("*.tsv"));
    QCOMPARE(filters.last(), QStringLiteral("All Files (*)"));

    const QList<Stored> stored = studentsOf("Grade 3");
    QStringList storedNames, storedPasswords;
    for (const Stored& st : stored) {
        storedNames << st.name;
        storedPasswords << st.password;
        QVERIFY(st.stars == "0" || st.name == "Ann");
    }
    QCOMPARE(storedNames, names);
    QCOMPARE(storedPasswords, passwords);
    QCOMPARE(s.dialogs.messages().size(), questions);
    QCOMPARE(s.listed(), names);
    QCOMPARE(s.db.count("theData"), 0);
    QVERIFY(s.addMode());
    QVERIFY(s.nameFld()->text().isEmpty() && s.pwFld()->text().isEmpty() && s.starsFld()->text().isEmpty());
}

void TestClassScrn::importRefusesWhatItCannotRead_data() {
    QTest::addColumn<QByteArray>("bytes"); // empty: the file is missing
    QTest::addColumn<QString>("message");
    // clang-format off
    QTest::newRow("cannot be opened") << QByteArray() << "The file could not be opened.";
    QTest::newRow("not text") << QByteArray("PK\x03\x04\0\0Dee\tpw\n", 13) << "This file is not a text file.";
    QTest::newRow("no student line") << QByteArray("Dee\nEd\n\tx\n")
        << "No student names were found in this file.";
    // clang-format on
}

void TestClassScrn::importRefusesWhatItCannotRead() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.filePath("list.txt");
    if (!bytes.isEmpty())
        writeFile(path, bytes);
    School s;
    s.choose("Grade 3");
    s.dialogs.paths.push_back(path);
    s.item("FileImport")->trigger();
    QCOMPARE(s.dialogs.messages(), QStringList{message});
    QVERIFY(s.dialogs.shown.last().isCaution);
    QCOMPARE(namesOf("Grade 3"), (QStringList{"Ann", "Cy"}));
    // Cancelling the chooser does nothing at all.
    s.dialogs.clear();
    s.item("FileImport")->trigger();
    QCOMPARE(s.dialogs.messages(), QStringList{});
}

void TestClassScrn::importRefusesWhatIsNoListAtOnce_data() {
    OutsideInputs::addRows();
}

// A pipe, a folder, a device or an oversize file chosen in the import's chooser gets the import's own
// message at once; nothing is added and the window stays usable.
void TestClassScrn::importRefusesWhatIsNoListAtOnce() {
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString path = OutsideInputs::make(kind, dir.path(), StudentListFile::kMaxBytes);
    QVERIFY(!path.isEmpty());
    const OutsideInputs::PipeRelease release(path);
    School s;
    s.choose("Grade 3");
    s.dialogs.paths.push_back(path);
    QElapsedTimer clock;
    clock.start();
    s.item("FileImport")->trigger();
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QStringLiteral("%1 ms").arg(clock.elapsed())));
    const bool tooLarge = kind == QLatin1String("one byte too many");
    QCOMPARE(s.dialogs.messages(), QStringList{tooLarge ? "This file is too large to be a class list."
                                                        : "The file could not be opened."});
    QVERIFY(s.dialogs.shown.last().isCaution);
    QVERIFY(s.dialogs.shown.last().explanation.contains(QDir::toNativeSeparators(path)));
    QCOMPARE(namesOf("Grade 3"), (QStringList{"Ann", "Cy"}));
}

void TestClassScrn::importLeavesOutOnlyUnusablePasswords_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("names"); // Grade 3 afterwards
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("named"); // what the explanation must name
    // clang-format off
    QTest::newRow("one control character") << QByteArray("Dee\tpw\nEd\tx\x01y\nFay\tp2\n")
        << QStringList{"Ann", "Cy", "Dee", "Fay"} << "1 student was not added: " << "line 2 (Ed).";
    // Bytes Windows-1252 leaves undefined read as control characters.
    QTest::newRow("Windows-1252 gaps, after a heading") << QByteArray("Name\tPassword\r\nRen\xE9\x65\t\x81\r\n"
                                                                     "Gus\tg\r\nHal\tk\x9D\r\n")
        << QStringList{"Ann", "Cy", "Gus"} << "2 students were not added: "
        << QStringLiteral("line 2 (Renée), line 4 (Hal)");
    QTest::newRow("every line") << QByteArray("Dee\t\x0B\n\nEd\t\x0C\n")
        << QStringList{"Ann", "Cy"} << "2 students were not added: " << "line 1 (Dee), line 3 (Ed).";
    QTest::newRow("many") << QByteArray("Dee\t\x02\n").repeated(12) << QStringList{"Ann", "Cy"}
        << "12 students were not added: " << "line 10 (Dee) and 2 more.";
    // clang-format on
}

// A file with unusable passwords adds all its other students, and says which lines it left out.
void TestClassScrn::importLeavesOutOnlyUnusablePasswords() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, names);
    QFETCH(QString, message);
    QFETCH(QString, named);
    QTemporaryDir dir;
    const QString path = dir.filePath("list.txt");
    writeFile(path, bytes);
    School s;
    s.choose("Grade 3");
    s.dialogs.paths.push_back(path);
    s.item("FileImport")->trigger();
    QCOMPARE(namesOf("Grade 3"), names);
    QCOMPARE(s.listed(), names);
    for (const Stored& st : studentsOf("Grade 3"))
        QVERIFY(!st.password.isEmpty());
    QCOMPARE(s.dialogs.messages().size(), 1);
    const Shown& shown = s.dialogs.shown.last();
    QVERIFY(shown.isCaution);
    QVERIFY2(shown.message.startsWith(message) && shown.message.contains(named), qPrintable(shown.message));
    QVERIFY(shown.explanation.contains("cannot be typed at sign-in"));
}

void TestClassScrn::failedImportStoresNothing() {
    QTemporaryDir dir;
    const QString path = dir.filePath("list.txt");
    writeFile(path, "Dee\tpw\nEd\t\n");
    School s;
    // The results table is gone: the import's last step fails, and the students before it go too.
    QVERIFY(QSqlQuery(DBCtrl::NBData()).exec(QStringLiteral("ALTER TABLE theData RENAME TO Gone")));
    s.choose("Grade 3");
    s.dialogs.paths.push_back(path);
    s.item("FileImport")->trigger();
    QCOMPARE(s.dialogs.messages().size(), 1);
    QVERIFY(s.dialogs.messages().first().startsWith("Database Error: "));
    QCOMPARE(namesOf("Grade 3"), (QStringList{"Ann", "Cy"}));
    QCOMPARE(s.listed(), (QStringList{"Ann", "Cy"}));
}

void TestClassScrn::exportReadsBack() {
    QTemporaryDir dir;
    const QString path = dir.filePath("Grade 3.txt");
    School s;
    s.choose("Grade 3");
    s.dialogs.paths.push_back(path);
    s.item("FileExport")->trigger();
    QVERIFY(QFileInfo::exists(path));
    // Into another class: every student comes back with the password in clear, and the title and
    // heading lines add nobody.
    s.choose("Room 4");
    s.dialogs.clear();
    s.dialogs.paths.push_back(path);
    s.item("FileImport")->trigger();
    QCOMPARE(s.dialogs.messages(), QStringList{});
    const QList<Stored> room4 = studentsOf("Room 4");
    QCOMPARE(room4.size(), 3);
    QCOMPARE(room4[1].name, QStringLiteral("Ann"));
    QCOMPARE(room4[1].password, QStringLiteral("apple"));
    QCOMPARE(room4[2].name, QStringLiteral("Cy"));
    QCOMPARE(room4[2].password, QStringLiteral("x y"));
    // Into its own class: each name is asked about.
    s.choose("Grade 3");
    s.dialogs.clear();
    s.dialogs.paths.push_back(path);
    s.item("FileImport")->trigger();
    QCOMPARE(s.dialogs.messages().size(), 2);
    QCOMPARE(namesOf("Grade 3"), (QStringList{"Ann", "Cy"}));
}

void TestClassScrn::listChoosersStartWhereTheListsAre() {
    QTemporaryDir first, second;
    School s;
    s.choose("Grade 3");
    const auto startOfNext = [&s](const char* item, const QString& answer) {
        s.dialogs.clear();
        if (!answer.isEmpty())
            s.dialogs.paths.push_back(answer);
        s.item(item)->trigger();
        return s.dialogs.shown.isEmpty() ? QStringLiteral("<no chooser>")
                                         : s.dialogs.shown.first().file.folder;
    };
    writeFile(first.filePath("list.txt"), "Dee\tpw\n");
    startOfNext("FileImport", first.filePath("list.txt"));
    // The export starts where the import found its list, the import where the export wrote.
    QCOMPARE(startOfNext("FileExport", second.filePath("Grade 3.txt")), first.path());
    QCOMPARE(startOfNext("FileImport", QString()), second.path()); // cancelled: remembers nothing
    QCOMPARE(startOfNext("FileExport", QString()), second.path());
    // A folder gone since starts the chooser in the home folder, never in the program's own.
    QVERIFY(second.remove());
    QCOMPARE(startOfNext("FileImport", QString()), QDir::homePath());
    QCOMPARE(startOfNext("FileExport", QString()), QDir::homePath());
    QVERIFY(QDir::homePath() != QCoreApplication::applicationDirPath());
}

QTEST_MAIN(TestClassScrn)
#include "tst_classscrn.moc"
