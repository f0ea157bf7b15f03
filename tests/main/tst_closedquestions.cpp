// Every question the program asks that has a choice changing nothing, shown in the real message box
// and closed from outside, as the window manager's close box or Alt+F4 closes it: the question takes
// that choice, and nothing is written. (Qt reports such a close as the box's Escape button, which for
// the duplicate-name question is "Continue to Save".)

#include "app/menus.h"
#include "classes/classscrn.h"
#include "controls/ghostef.h"
#include "controls/namelistctr.h"
#include "controls/newcnvbtn.h"
#include "controls/printinglb.h"
#include "data/dbctrl.h"
#include "data/globals.h"
#include "data/locations.h"
#include "data/prefs.h"
#include "main/uiseams.h"
#include "setmaker/creategamescrn.h"
#include "signin/namescrn.h"
#include "support/doubles.h"
#include "support/fixtures.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

namespace {

// Questions go to the program's real message box; file choosers are answered from the script.
class RealQuestions : public TestDoubles::ScriptedDialogs {
public:
    UiSeams::Dialogs real;
    Seams::Answer ask(const Seams::Question& question) override {
        ScriptedDialogs::ask(question); // noted, so the test knows it was asked
        return real.ask(question);
    }
};

// Waits for the next message box and then acts on it: closes it from outside (a close event from the
// platform, as the window manager sends it), or presses one of its buttons.
class NextQuestion : public QObject {
public:
    QString text;
    bool stayedOpen = false;

    void closeFromOutside() { start({}); }
    void press(const char* button) { start(QLatin1String(button)); }

private:
    void start(const QString& button) {
        button_ = button;
        connect(&poll_, &QTimer::timeout, this, &NextQuestion::act, Qt::UniqueConnection);
        poll_.start(10);
    }
    void act() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        poll_.stop();
        text = box->text();
        if (!button_.isEmpty()) {
            box->findChild<QAbstractButton*>(button_)->click();
            return;
        }
        box->windowHandle()->close();
        stayedOpen = box->isVisible();
        if (stayedOpen)
            box->done(0); // a test that fails never hangs
    }
    QTimer poll_;
    QString button_;
};

QStringList namesOf(const QString& className) {
    QStringList names;
    for (const DBCtrl::StudentRow& s : DBCtrl::studentsOf(className))
        names << s.name;
    return names;
}

// A small school: Ann and Cy in Grade 3, Bo in Room 4.
struct School {
    RealQuestions dialogs;
    TestDoubles::RecordingFeedback feedback;
    TestDoubles::TempDatabase db;
    QTemporaryDir files;

    School() {
        DBCtrl::insertClass(QStringLiteral("Grade 3"));
        DBCtrl::insertClass(QStringLiteral("Room 4"));
        db.addStudent(QStringLiteral("Ann"), QStringLiteral("Grade 3"));
        db.addStudent(QStringLiteral("Bo"), QStringLiteral("Room 4"));
        db.addStudent(QStringLiteral("Cy"), QStringLiteral("Grade 3"));
    }
    ~School() {
        if (ClassScrn::exists())
            ClassScrn::instance()->close();
        if (NameScrn::exists())
            NameScrn::instance()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The class window on Grade 3.
    ClassScrn* classWindow() {
        ClassScrn* w = ClassScrn::instance();
        w->show();
        auto* panel = w->findChild<nameListCtr*>(QStringLiteral("myNameCtr"));
        QComboBox* popup = panel->classPopup();
        popup->setCurrentIndex(popup->findText(QStringLiteral("Grade 3")));
        return w;
    }
    static void click(QWidget* window, const char* name) {
        QTest::mouseClick(window->findChild<QWidget*>(QLatin1String(name)), Qt::LeftButton, {},
                          QPoint(10, 11));
    }
    QString file(const QString& name, const QByteArray& bytes) {
        const QString path = QDir(files.path()).filePath(name);
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
        return path;
    }
};

const QStringList kGrade3{QStringLiteral("Ann"), QStringLiteral("Cy")};
const QString kDuplicate =
    QStringLiteral("The name ann already exists in the Grade 3 Class. It is advised that "
                   "you change this name before adding to this class.");

} // namespace

class TestClosedQuestions : public QObject {
    Q_OBJECT
private slots:
    void closedFromOutsideChangesNothing_data();
    void closedFromOutsideChangesNothing();
};

void TestClosedQuestions::closedFromOutsideChangesNothing_data() {
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("text");
    QTest::newRow("duplicate name, Add Name") << "add" << kDuplicate;
    QTest::newRow("duplicate name, Add My Own Name") << "add my own name" << kDuplicate;
    QTest::newRow("duplicate name, import") << "import" << kDuplicate;
    QTest::newRow("delete a student") << "delete student"
                                      << "Are you sure you want to delete Ann from this list?";
    QTest::newRow("delete a class") << "delete class"
                                    << "Delete the Grade 3 class and all students from this class?";
    QTest::newRow("unsaved problem set") << "unsaved set"
                                         << "Do you want to save this problem set before closing?";
    QTest::newRow("short game") << "short game"
                                << "Please complete at least 5 problems to improve your average time.";
    QTest::newRow("preferences already in the shared folder")
        << "shared preferences"
        << "There is already a Pref file at that location. Should I replace that file with my current "
           "preferences?";
}

void TestClosedQuestions::closedFromOutsideChangesNothing() {
    QFETCH(QString, question);
    QFETCH(QString, text);
    School school;
    NextQuestion asked;
    asked.closeFromOutside();

    if (question == QLatin1String("add")) {
        ClassScrn* w = school.classWindow();
        w->findChild<QLineEdit*>(QStringLiteral("stNameFld"))->setText(QStringLiteral("ann"));
        School::click(w, "addBtn");
        QCOMPARE(namesOf(QStringLiteral("Grade 3")), kGrade3);
    } else if (question == QLatin1String("add my own name")) {
        // What the add-my-own-name dialog stores through: true is "went back".
        QVERIFY(DBCtrl::hndlAddName(QStringLiteral("ann"), QString(), QStringLiteral("Grade 3")));
        QCOMPARE(namesOf(QStringLiteral("Grade 3")), kGrade3);
    } else if (question == QLatin1String("import")) {
        ClassScrn* w = school.classWindow();
        school.dialogs.paths.push_back(school.file(QStringLiteral("list.txt"), "ann\t1\n"));
        w->menuBar()->item(QStringLiteral("FileImport"))->trigger();
        QCOMPARE(namesOf(QStringLiteral("Grade 3")), kGrade3);
    } else if (question == QLatin1String("delete student")) {
        ClassScrn* w = school.classWindow();
        printingLB* list = w->findChild<nameListCtr*>(QStringLiteral("myNameCtr"))->list();
        list->selectRow(0);
        School::click(w, "deleteBtn");
        QCOMPARE(namesOf(QStringLiteral("Grade 3")), kGrade3);
    } else if (question == QLatin1String("delete class")) {
        ClassScrn* w = school.classWindow();
        auto* classFld = w->findChild<ghostEF*>(QStringLiteral("classFld"));
        classFld->setFocus();
        classFld->setText(QStringLiteral("Grade 3"));
        QTest::mouseClick(w->findChild<QWidget*>(QStringLiteral("ZeriMinusContainer1")), Qt::LeftButton, {},
                          QPoint(35, 11));
        QVERIFY(DBCtrl::classNames().contains(QStringLiteral("Grade 3")));
        QCOMPARE(namesOf(QStringLiteral("Grade 3")), kGrade3);
    } else if (question == QLatin1String("unsaved set")) {
        myPrefs::initPrefs();
        createGameScrn* maker = createGameScrn::instance();
        maker->show();
        maker->findChild<QLineEdit*>(QStringLiteral("topFld"))->setText(QStringLiteral("3"));
        maker->findChild<QLineEdit*>(QStringLiteral("botFld"))->setText(QStringLiteral("4"));
        QTest::mouseClick(maker->findChild<newCnvBtn*>(QStringLiteral("addBtn")), Qt::LeftButton, {},
                          QPoint(10, 10));
        maker->findChild<QLineEdit*>(QStringLiteral("nameFld"))->setText(QStringLiteral("week1"));
        QVERIFY(maker->dirty());
        maker->menuBar()->item(QStringLiteral("FileClose"))->trigger();
        // Still open with its set, and nothing saved.
        QVERIFY(createGameScrn::exists() && maker->isVisible() && maker->dirty());
        const QString sets = myPrefs::getInputSetsFolder();
        QVERIFY(sets.isEmpty() || QDir(sets).entryList(QDir::Files).isEmpty());
        NextQuestion dontSave;
        dontSave.press("alternateButton"); // to end the test
        maker->close();
        QTRY_VERIFY(!createGameScrn::exists());
    } else if (question == QLatin1String("short game")) {
        // True: the game goes on as it stood, and no time is given up.
        QVERIFY(myGlobals::resumeShortRound(5));
    } else if (question == QLatin1String("shared preferences")) {
        // False: the shared folder's file is kept, not replaced by this computer's.
        QVERIFY(!myPrefs::askOverwritePrefs());
    }
    QCOMPARE(asked.text, text);
    QVERIFY(!asked.stayedOpen);
}

QTEST_MAIN(TestClosedQuestions)
#include "tst_closedquestions.moc"
