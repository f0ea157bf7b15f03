#pragma once

// Every way the teacher's and the student's windows change the student data, each as the windows do
// it: a preparation that only reads (opening the window, choosing, typing) and the one action that
// writes (the click). The lock table (tst_writepaths.cpp) runs them in the test with another
// computer's lock held at the action; the kill table runs them in drv_writepath.cpp, killed before
// each file write. Both start from the same school, made by fillSchool().

#include "app/menus.h"
#include "classes/addnamescrn.h"
#include "classes/classscrn.h"
#include "classes/resetscoresscrn.h"
#include "controls/ghostef.h"
#include "controls/namelistctr.h"
#include "controls/newcnvbtn.h"
#include "controls/printinglb.h"
#include "data/dbctrl.h"
#include "data/globals.h"
#include "data/prefs.h"
#include "data/strecord.h"
#include "signin/namescrn.h"
#include "support/doubles.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QTest>

#include <functional>
#include <memory>

namespace WritePaths {

inline QSqlQuery run(const QString& sql, const QVariantList& values = {}) {
    QSqlQuery q(DBCtrl::NBData());
    q.prepare(sql);
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec())
        qFatal("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
    return q;
}

inline QString counts(int right, int tried, int first = 19) {
    QStringList entries;
    for (int i = 0; i < 19; ++i)
        entries << (i < first ? QStringLiteral("%1/%2").arg(right).arg(tried) : QStringLiteral("0/0"));
    return entries.join(QLatin1Char(','));
}

inline void addStudent(const QString& name, const QString& className, const QString& password, int halfStars,
                       const QString& add, const QString& div) {
    const int id = run(QStringLiteral("INSERT INTO Names (StName, StClass, StStars, StPW) VALUES (?, ?, ?, ?)"),
                       {name, className, QString::number(halfStars),
                        password.isEmpty() ? QString() : myGlobals::scrambleStr(password)})
                       .lastInsertId()
                       .toInt();
    run(QStringLiteral("INSERT INTO theData (StID, lastDate, stAdd, stSub, stMul, stDiv, stParam, zeriGames) "
                       "VALUES (?, '1/2/25', ?, ?, ?, ?, '0,0,10,1^1^1^1,0,15,10,0,0,0,0', "
                       "'3.5,4,12,5.25,7,6')"),
        {QString::number(id), add, add, add, div});
}

// Three classes; Ann, Bo and Dee in "Grade 3", Cy in "Room 4". Dee has 7 half stars: every fact
// learned but division's tenth, which her next round learns.
inline void fillSchool() {
    run(QStringLiteral("INSERT INTO Classes (ClassNm) VALUES ('Grade 3'), ('Room 4')"));
    addStudent(QStringLiteral("Ann"), QStringLiteral("Grade 3"), QStringLiteral("apple"), 3, counts(17, 25),
               counts(17, 25));
    addStudent(QStringLiteral("Bo"), QStringLiteral("Grade 3"), {}, 0, counts(1, 2), counts(1, 2));
    addStudent(QStringLiteral("Cy"), QStringLiteral("Room 4"), {}, 0, counts(1, 2), counts(1, 2));
    addStudent(QStringLiteral("Dee"), QStringLiteral("Grade 3"), {}, 7, counts(34, 40), counts(34, 40, 9));
}

inline int idOf(const QString& name) {
    QSqlQuery q = run(QStringLiteral("SELECT StID FROM Names WHERE StName = ?"), {name});
    return q.next() ? q.value(0).toInt() : 0;
}

// Every row of the four tables, for comparing what a path left with what was there before and what
// a whole run leaves.
inline QString dumpTables(const QSqlDatabase& db) {
    QStringList out;
    for (const char* sql : {"SELECT * FROM Classes ORDER BY ClassID", "SELECT * FROM Names ORDER BY StID",
                            "SELECT * FROM theData ORDER BY DataID", "SELECT * FROM HallData ORDER BY HallID"}) {
        QSqlQuery q(db);
        if (!q.exec(QString::fromLatin1(sql)))
            return QStringLiteral("unreadable: ") + q.lastError().text();
        out << QString::fromLatin1(sql);
        while (q.next()) {
            QStringList row;
            for (int c = 0; c < q.record().count(); ++c)
                row << q.value(c).toString();
            out << row.join(QLatin1Char('|'));
        }
    }
    return out.join(QLatin1Char('\n'));
}

// The messages a user was told (message boxes and plain messages; not the questions asked).
inline QStringList told(const TestDoubles::ScriptedDialogs& dialogs) {
    QStringList out;
    for (const TestDoubles::Shown& s : dialogs.shown) {
        if (s.kind == TestDoubles::Shown::Msg || s.kind == TestDoubles::Shown::Plain)
            out << s.message;
    }
    return out;
}

// What a path keeps between its preparation and its action.
struct Context {
    TestDoubles::ScriptedDialogs* dialogs = nullptr;
    QString importFile;
    std::unique_ptr<addNameScrn> addName;
    std::unique_ptr<resetScoresScrn> reset;
    std::shared_ptr<StRecord> player;
};

template <class T> T* child(QWidget* w, const char* name) {
    T* found = w->findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

inline ClassScrn* classWindow() {
    ClassScrn* w = ClassScrn::instance();
    w->show();
    return w;
}

inline void choose(const QString& className) {
    QComboBox* popup = child<nameListCtr>(classWindow(), "myNameCtr")->classPopup();
    popup->setCurrentIndex(popup->findText(className, Qt::MatchFixedString | Qt::MatchCaseSensitive));
}

inline void selectStudent(const QString& name) {
    printingLB* list = child<nameListCtr>(classWindow(), "myNameCtr")->list();
    for (int r = 0; r < list->rowCount(); ++r) {
        if (list->item(r, 0)->text() == name)
            list->selectRow(r);
    }
}

inline void click(QWidget* w) {
    QTest::mouseClick(w, Qt::LeftButton);
}

inline void pressStepper(bool plus) {
    QTest::mouseClick(child<QWidget>(classWindow(), "ZeriMinusContainer1"), Qt::LeftButton, {},
                      plus ? QPoint(10, 11) : QPoint(35, 11));
}

struct Path {
    const char* name;
    // What is not done when the action cannot write, as the user is told it.
    const char* notDone;
    std::function<void(Context&)> prepare;
    std::function<void(Context&)> act;
    // Whether the action, left alone, changes the rows (an add of a stored class is refused).
    bool changesRows = true;
};

inline const QList<Path>& paths() {
    static const QList<Path> all = {
        {"add class", "The class was not added",
         [](Context&) {
             auto* field = child<ghostEF>(classWindow(), "classFld");
             field->setFocus();
             field->setText(QStringLiteral("Room 9"));
         },
         [](Context&) { pressStepper(true); }},
        {"add a stored class again", "The class was not added",
         [](Context&) {
             auto* field = child<ghostEF>(classWindow(), "classFld");
             field->setFocus();
             field->setText(QStringLiteral("Room 4"));
         },
         [](Context&) { pressStepper(true); }, false},
        {"add student", "The student was not added",
         [](Context&) {
             choose(QStringLiteral("Grade 3"));
             child<QLineEdit>(classWindow(), "stNameFld")->setText(QStringLiteral("Eve"));
             child<QLineEdit>(classWindow(), "pwFld")->setText(QStringLiteral("pear"));
         },
         [](Context&) { click(child<newCnvBtn>(classWindow(), "addBtn")); }},
        {"add my own name into a new class", "The student was not added",
         [](Context& c) {
             c.addName = std::make_unique<addNameScrn>(QStringLiteral("Room 7"));
             c.addName->show();
             child<QLineEdit>(c.addName.get(), "theNmFld")->setText(QStringLiteral("Fay"));
         },
         [](Context& c) { click(child<newCnvBtn>(c.addName.get(), "posBtn")); }},
        {"edit student", "The student's changes were not saved",
         [](Context&) {
             choose(QStringLiteral("Grade 3"));
             selectStudent(QStringLiteral("Ann"));
             child<QLineEdit>(classWindow(), "stNameFld")->setText(QStringLiteral("Ann Lee"));
         },
         [](Context&) { click(child<newCnvBtn>(classWindow(), "addBtn")); }},
        {"delete student", "The student was not deleted",
         [](Context&) {
             choose(QStringLiteral("Grade 3"));
             selectStudent(QStringLiteral("Bo"));
         },
         [](Context&) { click(child<newCnvBtn>(classWindow(), "deleteBtn")); }},
        {"delete class", "The class was not deleted", [](Context&) { choose(QStringLiteral("Room 4")); },
         [](Context&) { pressStepper(false); }},
        {"reset scores", "Nothing was reset",
         [](Context& c) {
             c.reset = std::make_unique<resetScoresScrn>(QStringLiteral("Ann"),
                                                         QString::number(idOf(QStringLiteral("Ann"))),
                                                         QStringLiteral("Grade 3"));
             c.reset->show();
             auto* all = child<QCheckBox>(c.reset.get(), "selAllBox");
             QTest::mouseClick(all, Qt::LeftButton, {}, QPoint(8, all->height() / 2));
         },
         [](Context& c) { click(child<QPushButton>(c.reset.get(), "actionBtn")); }},
        {"round with stars and hall of fame", "Your results were not saved",
         [](Context& c) {
             myPrefs::initPrefs();
             c.player = std::make_shared<StRecord>(QStringLiteral("Dee"), QStringLiteral("Grade 3"),
                                                   idOf(QStringLiteral("Dee")), QString(), 7);
             myGlobals::gCurPlayer = c.player;
             c.player->getStudentData();
             // The round learns division by 10: four stars.
             c.player->divCor[9] += 34;
             c.player->divTried[9] += 40;
         },
         [](Context& c) { c.player->rejoinData(); }},
        {"import", "No students were added",
         [](Context& c) {
             choose(QStringLiteral("Grade 3"));
             QFile f(c.importFile);
             if (!f.open(QIODevice::WriteOnly))
                 qFatal("cannot write %s", qPrintable(c.importFile));
             f.write("Gus\tg1\nHal\th2\nIda\t\n");
             f.close();
             c.dialogs->paths.push_back(c.importFile);
         },
         [](Context&) { classWindow()->menuBar()->item(QStringLiteral("FileImport"))->trigger(); }},
    };
    return all;
}

inline const Path* pathNamed(const QString& name) {
    for (const Path& p : paths()) {
        if (name == QLatin1String(p.name))
            return &p;
    }
    return nullptr;
}

// Closes whatever the paths opened.
inline void closeWindows(Context& c) {
    c.addName.reset();
    c.reset.reset();
    c.player.reset();
    myGlobals::gCurPlayer.reset();
    if (ClassScrn::exists())
        ClassScrn::instance()->close();
    if (NameScrn::exists())
        NameScrn::instance()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace WritePaths
