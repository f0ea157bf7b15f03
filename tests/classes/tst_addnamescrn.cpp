// The add-my-name dialog driven through its controls against a temporary database, with the sign-in
// window behind it.

#include "app/onmodal.h"
#include "main/routes.h"
#include "classes/addnamescrn.h"
#include "controls/newcnvbtn.h"
#include "controls/printinglb.h"
#include "data/dbctrl.h"
#include "data/globals.h"
#include "data/prefs.h"
#include "signin/namescrn.h"
#include "support/doubles.h"
#include "support/fixtures.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QSqlQuery>
#include <QtTest>

using TestDoubles::ScriptedDialogs;
using TestDoubles::TempDatabase;

namespace {

QStringList namesOf(const QString& className) {
    QStringList out;
    QSqlQuery q(DBCtrl::NBData());
    q.prepare(QStringLiteral("SELECT StName FROM Names WHERE StClass = ? ORDER BY StID"));
    q.addBindValue(className);
    q.exec();
    while (q.next())
        out << q.value(0).toString();
    return out;
}

QString selectedText(const char* listName) {
    auto* list = NameScrn::instance()->findChild<printingLB*>(QLatin1String(listName));
    const QList<QTableWidgetItem*> items = list->selectedItems();
    return items.isEmpty() ? QString() : items.first()->text();
}

struct School {
    ScriptedDialogs dialogs;
    TempDatabase db;
    School() {
        DBCtrl::insertClass("Grade 3");
        DBCtrl::insertClass("Room 4");
        db.addStudent("Ann", "Grade 3", "", 0);
        db.addStudent("Zed", "Room 4", "", 0);
        db.addStudent("Bo", "Default", "", 0);
        myGlobals::gCurPlayer.reset();
        NameScrn::instance()->show();
        dialogs.clear();
    }
    ~School() {
        if (NameScrn::exists())
            NameScrn::instance()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

template <class T> T* child(QWidget* w, const char* name) {
    T* found = w->findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

} // namespace

class TestAddNameScrn : public QObject {
    Q_OBJECT
private slots:
    void opens();
    void add_data();
    void add();
    void keys();
    void cancelAddsNothing_data();
    void cancelAddsNothing();
    void failedAddKeepsTheDialog();
    void signInButtonOpensIt();
};

void TestAddNameScrn::opens() {
    School s;
    addNameScrn d(QStringLiteral("grade 3"));
    d.show();
    QCOMPARE(d.windowTitle(), QStringLiteral("Add New Name"));
    QCOMPARE(d.size(), QSize(380, 320));
    QCOMPARE(d.minimumSize(), d.maximumSize());
    QCOMPARE(d.windowModality(), Qt::ApplicationModal);
    QVERIFY(d.windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(d.windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(!(d.windowFlags() & Qt::WindowMaximizeButtonHint));
    auto* warn = child<QLabel>(&d, "warnNoName");
    QVERIFY(!warn->isVisible());
    QCOMPARE(warn->text(), QStringLiteral("** Please enter a name **"));
    QCOMPARE(warn->palette().color(QPalette::WindowText), QColor(5, 0, 225));
    QCOMPARE(child<QLabel>(&d, "StaticText5")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(child<QLineEdit>(&d, "thePWFld")->echoMode(), QLineEdit::Normal);
    auto* pos = child<newCnvBtn>(&d, "posBtn");
    auto* neg = child<newCnvBtn>(&d, "negBtn");
    QCOMPARE(pos->geometry(), QRect(260, 266, 100, 29));
    QCOMPARE(neg->geometry(), QRect(140, 266, 100, 29));
    QCOMPARE(pos->myCaption(), QStringLiteral("Accept"));
    QCOMPARE(neg->myCaption(), QStringLiteral("Cancel"));
    QCOMPARE(pos->focusPolicy(), Qt::NoFocus);
    QCOMPARE(neg->focusPolicy(), Qt::NoFocus);
    auto* menu = child<QComboBox>(&d, "classMenu2");
    QCOMPARE(menu->count(), 3);
    QCOMPARE(menu->itemText(0), QStringLiteral("Default"));
    QCOMPARE(menu->currentText(), QStringLiteral("Grade 3"));
    QCOMPARE(d.targetClass(), QStringLiteral("Grade 3"));
    QVERIFY(QTest::qWaitForWindowActive(&d));
    QCOMPARE(QApplication::focusWidget(), child<QWidget>(&d, "theNmFld"));
}

void TestAddNameScrn::add_data() {
    QTest::addColumn<QString>("given"); // the sign-in window's class
    QTest::addColumn<QString>("drop");  // classes deleted first: "Default", "all"
    QTest::addColumn<QString>("pick");  // a class picked in the pop-up, or ""
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("answer"); // at the duplicate question
    QTest::addColumn<QString>("target");
    QTest::addColumn<QStringList>("names"); // the target class afterwards
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QStringList>("messages");

    const QString dup = QStringLiteral("The name ann already exists in the Grade 3 Class. It is advised that "
                                       "you change this name before adding to this class.");
    // clang-format off
    QTest::newRow("no class chosen")
        << "" << "" << "" << "Dee" << "" << "Default" << QStringList{"Bo", "Dee"} << true << QStringList{};
    QTest::newRow("Default deleted and made anew")
        << "" << "Default" << "" << "Dee" << "" << "Default" << QStringList{"Bo", "Dee"} << true << QStringList{};
    QTest::newRow("no classes at all")
        << "Room 4" << "all" << "" << "Dee" << "" << "Room 4" << QStringList{"Zed", "Dee"} << true << QStringList{};
    QTest::newRow("another class picked")
        << "Grade 3" << "" << "Room 4" << "Dee" << "" << "Room 4" << QStringList{"Zed", "Dee"} << true
        << QStringList{};
    QTest::newRow("duplicate in other case, back")
        << "Grade 3" << "" << "" << "ann" << "back" << "Grade 3" << QStringList{"Ann"} << false << QStringList{dup};
    QTest::newRow("duplicate in other case, saved")
        << "GRADE 3" << "" << "" << "ann" << "save" << "Grade 3" << QStringList{"Ann", "ann"} << true
        << QStringList{dup};
    QTest::newRow("blanks around a name kept")
        << "Grade 3" << "" << "" << " Ann " << "" << "Grade 3" << QStringList{"Ann", " Ann "} << true
        << QStringList{};
    QTest::newRow("a name of blanks")
        << "Grade 3" << "" << "" << "   " << "" << "Grade 3" << QStringList{"Ann"} << false << QStringList{};
    // clang-format on
}

void TestAddNameScrn::add() {
    QFETCH(QString, given);
    QFETCH(QString, drop);
    QFETCH(QString, pick);
    QFETCH(QString, name);
    QFETCH(QString, answer);
    QFETCH(QString, target);
    QFETCH(QStringList, names);
    QFETCH(bool, closed);
    QFETCH(QStringList, messages);
    School s;
    if (drop == "Default")
        QSqlQuery(DBCtrl::NBData()).exec(QStringLiteral("DELETE FROM Classes WHERE ClassNm = 'Default'"));
    else if (drop == "all")
        QSqlQuery(DBCtrl::NBData()).exec(QStringLiteral("DELETE FROM Classes"));
    const QString signInNameBefore = selectedText("NameList");
    addNameScrn d(given);
    d.show();
    auto* menu = child<QComboBox>(&d, "classMenu2");
    if (!drop.isEmpty())
        QCOMPARE(menu->currentIndex(), -1);
    QCOMPARE(menu->count(), drop == "all" ? 0 : drop == "Default" ? 2 : 3);
    if (!pick.isEmpty())
        menu->setCurrentIndex(menu->findText(pick));
    QCOMPARE(d.targetClass(), target);
    child<QLineEdit>(&d, "theNmFld")->setText(name);
    child<QLineEdit>(&d, "thePWFld")->setText(QStringLiteral(" pw "));
    if (answer == "back")
        s.dialogs.answers.push_back(Seams::Answer::Default);
    else if (answer == "save")
        s.dialogs.answers.push_back(Seams::Answer::Cancel);
    QTest::mouseClick(child<newCnvBtn>(&d, "posBtn"), Qt::LeftButton);

    QCOMPARE(namesOf(target), names);
    QCOMPARE(s.dialogs.messages(), messages);
    QCOMPARE(d.isVisible(), !closed);
    QCOMPARE(child<QLabel>(&d, "warnNoName")->isVisible(), name.trimmed().isEmpty());
    if (closed) {
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QSqlQuery pw(DBCtrl::NBData());
        pw.exec(QStringLiteral("SELECT StPW FROM Names ORDER BY StID DESC LIMIT 1"));
        QVERIFY(pw.next());
        QCOMPARE(myGlobals::unscrambleStr(pw.value(0).toString()), QStringLiteral(" pw "));
        // The sign-in window shows the new student, in the class the student went into.
        QCOMPARE(selectedText("ClassList"), target);
        QCOMPARE(selectedText("NameList"), names.last());
        QVERIFY(DBCtrl::classNames().contains(target));
    } else {
        QCOMPARE(child<QLineEdit>(&d, "theNmFld")->text(), name);
        QCOMPARE(child<QLineEdit>(&d, "thePWFld")->text(), QStringLiteral(" pw "));
        QCOMPARE(d.targetClass(), target);
        QCOMPARE(selectedText("NameList"), signInNameBefore);
    }
}

void TestAddNameScrn::keys() {
    School s;
    {
        addNameScrn d(QStringLiteral("Room 4"));
        d.show();
        auto* name = child<QLineEdit>(&d, "theNmFld");
        name->setText("Dee");
        QTest::keyClick(name, Qt::Key_Enter, Qt::KeypadModifier);
        QTest::keyClick(name, Qt::Key_Escape);
        QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(d.isVisible());
        QCOMPARE(namesOf("Room 4"), QStringList{"Zed"});
        QTest::keyClick(child<QLineEdit>(&d, "thePWFld"), Qt::Key_Return);
        QVERIFY(!d.isVisible());
        QCOMPARE(namesOf("Room 4"), (QStringList{"Zed", "Dee"}));
    }
    {
        addNameScrn d(QStringLiteral("Room 4"));
        d.show();
        auto* name = child<QLineEdit>(&d, "theNmFld");
        name->setText("Eve");
        QTest::keyClick(name, Qt::Key_J, Qt::ControlModifier); // a line feed
        QKeyEvent lineFeed(QEvent::KeyPress, Qt::Key_J, Qt::ControlModifier, QStringLiteral("\n"));
        QApplication::sendEvent(name, &lineFeed);
        QVERIFY(!d.isVisible());
        QCOMPARE(namesOf("Room 4"), (QStringList{"Zed", "Dee", "Eve"}));
    }
}

void TestAddNameScrn::cancelAddsNothing_data() {
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("Cancel") << false;
    QTest::newRow("close box") << true;
}

void TestAddNameScrn::cancelAddsNothing() {
    QFETCH(bool, closeBox);
    School s;
    auto* names = NameScrn::instance()->findChild<printingLB*>(QStringLiteral("NameList"));
    const int rowsBefore = names->rowCount();
    addNameScrn d(QStringLiteral("Room 4"));
    d.show();
    child<QLineEdit>(&d, "theNmFld")->setText("Dee");
    if (closeBox)
        d.close();
    else
        QTest::mouseClick(child<newCnvBtn>(&d, "negBtn"), Qt::LeftButton);
    QVERIFY(!d.isVisible());
    QCOMPARE(d.result(), int(QDialog::Rejected));
    QCOMPARE(namesOf("Room 4"), QStringList{"Zed"});
    QCOMPARE(names->rowCount(), rowsBefore);
}

void TestAddNameScrn::failedAddKeepsTheDialog() {
    School s;
    auto* classes = NameScrn::instance()->findChild<printingLB*>(QStringLiteral("ClassList"));
    classes->selectRow(1);
    auto* names = NameScrn::instance()->findChild<printingLB*>(QStringLiteral("NameList"));
    names->selectRow(0);
    const QString before = selectedText("NameList");
    QVERIFY(!before.isEmpty());
    // The students' table is gone: the add fails and says so.
    QVERIFY(QSqlQuery(DBCtrl::NBData()).exec(QStringLiteral("ALTER TABLE Names RENAME TO Gone")));
    addNameScrn d(QStringLiteral("Default"));
    d.show();
    child<QLineEdit>(&d, "theNmFld")->setText("Dee");
    QTest::mouseClick(child<newCnvBtn>(&d, "posBtn"), Qt::LeftButton);
    QCOMPARE(s.dialogs.messages().size(), 1);
    QVERIFY(s.dialogs.messages().first().startsWith("Database Error: "));
    QVERIFY(d.isVisible());
    QCOMPARE(child<QLineEdit>(&d, "theNmFld")->text(), QStringLiteral("Dee"));
    QCOMPARE(selectedText("NameList"), before);
}

void TestAddNameScrn::signInButtonOpensIt() {
    School s;
    Routes::install();
    myPrefs::prNoClass = true;
    NameScrn::instance()->close();
    NameScrn* signIn = NameScrn::instance();
    signIn->show();
    auto* classes = signIn->findChild<printingLB*>(QStringLiteral("ClassList"));
    for (int r = 0; r < classes->rowCount(); ++r) {
        if (classes->item(r, 0)->text() == "Room 4")
            classes->selectRow(r);
    }
    auto* button = child<newCnvBtn>(signIn, "AddMeBtn");
    QTRY_VERIFY(button->isVisible());
    QVERIFY(button->isEnabled());
    QString shownClass;
    onModal([&shownClass](QWidget* modal) {
        auto* d = qobject_cast<addNameScrn*>(modal);
        QVERIFY(d);
        shownClass = d->targetClass();
        child<QLineEdit>(d, "theNmFld")->setText("Dee");
        d->hndlDone();
    });
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(shownClass, QStringLiteral("Room 4"));
    QCOMPARE(namesOf("Room 4"), (QStringList{"Zed", "Dee"}));
    QCOMPARE(selectedText("NameList"), QStringLiteral("Dee"));

    const QString folder = qEnvironmentVariable("NBR_SHOTS_DIR");
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        addNameScrn d(QStringLiteral("Room 4"));
        d.show();
        QVERIFY(d.grab().save(QDir(folder).filePath("addname-new.png")));
        child<QLineEdit>(&d, "theNmFld")->setText("  ");
        d.hndlDone();
        QVERIFY(d.grab().save(QDir(folder).filePath("addname-warning.png")));
    }
}

QTEST_MAIN(TestAddNameScrn)
#include "tst_addnamescrn.moc"
