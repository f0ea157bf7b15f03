#pragma once

// What the game window tests share: a world with the doubles installed and the student Ann Lee of
// Room 5 in a fresh database, her record loaded straight or signed in on the sign-in window through a
// game button, and a record that counts its saves.

#include "app/helplink.h"
#include "app/routes.h"
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

#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

namespace GameTest {

// The signed-in student, counting saves and noting whether any timer still ran at a save.
class CountingRecord : public StRecord {
public:
    using StRecord::StRecord;
    int saves = 0;
    bool timersRunningAtSave = false;
    std::function<bool()> timersRunning;

    void rejoinData() override {
        ++saves;
        if (timersRunning)
            timersRunningAtSave = timersRunningAtSave || timersRunning();
        StRecord::rejoinData();
    }
};

struct World {
    TestDoubles::ScriptedDialogs dialogs;
    TestDoubles::RecordingFeedback feedback;
    TestDoubles::TempDatabase db;
    int id = 0;
    std::shared_ptr<CountingRecord> student;

    // Sounds on (the first of each set), no routes and no help window yet, the generator seeded.
    World() {
        myPrefs::initPrefs();
        myPrefs::prSndSet = QStringLiteral("1,0,0,0");
        mySounds::loadMySnds();
        mySounds::setStates();
        NameScrn::links() = {};
        HelpLink::install({});
        myGlobals::gCurPlayer.reset();
        id = db.addStudent(QStringLiteral("Ann Lee"), QStringLiteral("Room 5"));
        db.addResults(id, 8, 9);
        App::myRnd().seed(2024);
        dialogs.clear();
    }

    ~World() {
        if (NameScrn::exists())
            NameScrn::instance()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        myGlobals::gCurPlayer.reset();
    }

    // Ann's record loaded from the database as the sign-in window would, then changed by `adjust`.
    void signIn(const std::function<void(StRecord&)>& adjust) {
        student = std::make_shared<CountingRecord>(QStringLiteral("Ann Lee"), QStringLiteral("Room 5"), id,
                                                   QString(), 0);
        student->getStudentData();
        adjust(*student);
        myGlobals::gCurPlayer = student;
    }

    // One entry of the game bests as the database holds them.
    QString storedBest(int game) const {
        return db.dataColumn(id, QStringLiteral("zeriGames")).split(QLatin1Char(',')).value(game);
    }
};

inline void press(newCnvBtn* b) {
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(10, 10));
}

inline newCnvBtn* gameButton(int index) {
    return NameScrn::instance()->findChildren<newCnvBtn*>(QStringLiteral("gamesBtn")).at(index);
}

inline void waitForSignIn() {
    QTRY_VERIFY(!NameScrn::instance()->findChild<QTimer*>(QStringLiteral("openTimer"))->isActive());
}

// Ann chooses her class and name on the sign-in window (its routes installed) and presses game
// button `index`.
inline void enterThroughGameButton(int index) {
    QVERIFY(DBCtrl::insertClass(QStringLiteral("Room 5")));
    Routes::install();
    NameScrn::instance()->show();
    waitForSignIn();
    const auto pick = [](const char* list, const QString& text) {
        auto* l = NameScrn::instance()->findChild<printingLB*>(QString::fromLatin1(list));
        for (int r = 0; r < l->rowCount(); ++r) {
            if (l->item(r, 0)->text() == text) {
                QTest::mouseClick(l->viewport(), Qt::LeftButton, {},
                                  l->visualItemRect(l->item(r, 0)).center());
                return true;
            }
        }
        return false;
    };
    QVERIFY(pick("ClassList", QStringLiteral("Room 5")));
    QVERIFY(pick("NameList", QStringLiteral("Ann Lee")));
    QVERIFY(gameButton(index)->isEnabled());
    press(gameButton(index));
    QVERIFY(!NameScrn::exists());
    QCOMPARE(myGlobals::gCurPlayer->curStudent, QStringLiteral("Ann Lee"));
}

} // namespace GameTest
