#pragma once

// What the game window tests share: a student record that notes its saves, finding controls by name,
// signing a student in on the sign-in window, and pictures for looking at the windows.

#include "app/sounds.h"
#include "controls/newcnvbtn.h"
#include "controls/printinglb.h"
#include "data/dbctrl.h"
#include "data/globals.h"
#include "data/prefs.h"
#include "data/random.h"
#include "data/strecord.h"
#include "signin/namescrn.h"
#include "support/doubles.h"
#include "support/fixtures.h"
#include "support/lookcheck.h"

#include <QCoreApplication>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace GameTest {

// The signed-in student, noting each save and whether a timer of the game window still ran at it.
template <class Window> class TrackingRecord : public StRecord {
public:
    using StRecord::StRecord;
    int saves = 0;
    bool timersRunningAtSave = false;
    void rejoinData() override {
        ++saves;
        if (Window::exists()) {
            for (const QTimer* t : Window::instance()->template findChildren<QTimer*>())
                timersRunningAtSave = timersRunningAtSave || t->isActive();
        }
        StRecord::rejoinData();
    }
};

// One test's world: doubles installed, sounds on (the first sound of each set), a database with the
// class "Room 5" and the student Ann Lee, signed in with a record that notes its saves, and the
// random numbers seeded. Closing it closes the game and the sign-in window.
template <class Window> struct World {
    TestDoubles::ScriptedDialogs dialogs;
    TestDoubles::RecordingFeedback feedback;
    TestDoubles::TempDatabase db;
    int id = 0;
    std::shared_ptr<TrackingRecord<Window>> student;

    explicit World(quint32 seed) {
        myPrefs::initPrefs();
        myPrefs::prSndSet = QStringLiteral("1,0,0,0");
        mySounds::loadMySnds();
        mySounds::setStates();
        DBCtrl::insertClass(QStringLiteral("Room 5"));
        id = db.addStudent(QStringLiteral("Ann Lee"), QStringLiteral("Room 5"));
        student = std::make_shared<TrackingRecord<Window>>(QStringLiteral("Ann Lee"),
                                                           QStringLiteral("Room 5"), id, QString(), 0);
        student->getStudentData();
        myGlobals::gCurPlayer = student;
        App::myRnd().seed(seed);
        dialogs.clear();
    }
    ~World() {
        if (Window::exists())
            Window::instance()->close();
        if (NameScrn::exists())
            NameScrn::instance()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        myGlobals::gCurPlayer.reset();
    }
    // One entry of the student's stored lists.
    QStringList stored(const QString& column) const {
        return db.dataColumn(id, column).split(QLatin1Char(','));
    }
};

template <typename T = QWidget> T* part(QWidget* w, const QString& name) {
    T* c = w->findChild<T*>(name);
    if (!c)
        qFatal("no control %s", qPrintable(name));
    return c;
}

// Lets a closed window go, as the event loop would.
inline void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

inline void click(QWidget* w) {
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(20, 12));
}

// Picks a class and a name on the shown sign-in window; false when either is not listed.
inline bool chooseStudent(const QString& className, const QString& name) {
    for (const auto& [list, text] :
         {std::pair{QStringLiteral("ClassList"), className}, std::pair{QStringLiteral("NameList"), name}}) {
        auto* l = part<printingLB>(NameScrn::instance(), list);
        int row = -1;
        for (int r = 0; r < l->rowCount() && row < 0; ++r) {
            if (l->item(r, 0)->text() == text)
                row = r;
        }
        if (row < 0)
            return false;
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(row, 0)).center());
    }
    return true;
}

// Presses a game button of the sign-in window; false when it cannot be pressed.
inline bool pressGameButton(int index) {
    const QList<newCnvBtn*> games =
        NameScrn::instance()->findChildren<newCnvBtn*>(QStringLiteral("gamesBtn"));
    for (newCnvBtn* b : games) {
        if (b->property("index").toInt() == index && b->isEnabled()) {
            QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(10, 10));
            settle();
            return true;
        }
    }
    return false;
}

// With NBR_SHOTS_DIR set, saves the window there as a picture.
inline void shoot(QWidget* w, const QString& name) {
    QVERIFY(Look::saveShot(w, name + QStringLiteral(".png")));
}

} // namespace GameTest
