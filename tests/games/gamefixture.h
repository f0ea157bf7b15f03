#pragma once

// What the game window tests share. Three worlds, for the three ways the tests meet a student:
//  - World: the doubles and Ann Lee of Room 5 in a fresh database, her record loaded straight (signIn)
//    or signed in on the sign-in window through a game button (enterThroughGameButton);
//  - TrackedWorld<Window>: the same, Ann signed in at once with a record that notes the game window's
//    timers at each save, the class already made and the generator seeded as asked;
//  - Student: any one student with drill settings and bests, stored and signed in, for openGame.
// Beside them, finding controls by name, picking on the sign-in window, pressing a game button and
// pictures for looking at the windows.

#include "app/helplink.h"
#include "main/routes.h"
#include "app/sounds.h"
#include "controls/newcnvbtn.h"
#include "controls/ovrmsgbox.h"
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
#include <QFile>
#include <QImage>
#include <QPainter>
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

// Whether any timer of the window, when it is open, is running.
template <class Window> bool windowTimersRunning() {
    if (!Window::exists())
        return false;
    for (const QTimer* t : Window::instance()->template findChildren<QTimer*>()) {
        if (t->isActive())
            return true;
    }
    return false;
}

// A counting record that watches the timers of the game window Window.
template <class Window> class TrackingRecord : public CountingRecord {
public:
    template <typename... Args>
    explicit TrackingRecord(Args&&... args) : CountingRecord(std::forward<Args>(args)...) {
        timersRunning = &windowTimersRunning<Window>;
    }
};

// Sounds on: the first sound of each set.
inline void soundsOn() {
    myPrefs::prSndSet = QStringLiteral("1,0,0,0");
    mySounds::loadMySnds();
    mySounds::setStates();
}

// The sound played last, or "no sound" when none was: a check against it then fails with a name
// instead of reading past an empty list and ending the whole test program (as it would when the
// sounds are missing).
inline QString lastSound(const QStringList& played) {
    return played.isEmpty() ? QStringLiteral("no sound") : played.last();
}

// What the sound played last says ("right", "wrong", "round", "blip"): its name without the number
// of its set, or "no sound".
inline QString lastSoundKind(const QStringList& played) {
    QString kind = lastSound(played).toLower();
    while (!kind.isEmpty() && kind.back().isDigit())
        kind.chop(1);
    return kind;
}

// Closes the sign-in window, lets closed windows go and signs the student out.
inline void leaveSignIn() {
    if (NameScrn::exists())
        NameScrn::instance()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    myGlobals::gCurPlayer.reset();
}

struct World {
    TestDoubles::ScriptedDialogs dialogs;
    TestDoubles::RecordingFeedback feedback;
    TestDoubles::TempDatabase db;
    int id = 0;
    std::shared_ptr<CountingRecord> student;

    // Sounds on, no routes and no help window yet, the generator seeded.
    World() {
        myPrefs::initPrefs();
        soundsOn();
        NameScrn::links() = {};
        HelpLink::install({});
        myGlobals::gCurPlayer.reset();
        id = db.addStudent(QStringLiteral("Ann Lee"), QStringLiteral("Room 5"));
        db.addResults(id, 8, 9);
        App::myRnd().seed(2024);
        dialogs.clear();
    }

    ~World() { leaveSignIn(); }

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

// One test's world: doubles installed, sounds on, a database with the class "Room 5" and the student
// Ann Lee, signed in with a record that notes its saves, and the random numbers seeded. Closing it
// closes the game and the sign-in window.
template <class Window> struct TrackedWorld {
    TestDoubles::ScriptedDialogs dialogs;
    TestDoubles::RecordingFeedback feedback;
    TestDoubles::TempDatabase db;
    int id = 0;
    std::shared_ptr<TrackingRecord<Window>> student;

    explicit TrackedWorld(quint32 seed) {
        myPrefs::initPrefs();
        soundsOn();
        DBCtrl::insertClass(QStringLiteral("Room 5"));
        id = db.addStudent(QStringLiteral("Ann Lee"), QStringLiteral("Room 5"));
        student = std::make_shared<TrackingRecord<Window>>(QStringLiteral("Ann Lee"),
                                                           QStringLiteral("Room 5"), id, QString(), 0);
        student->getStudentData();
        myGlobals::gCurPlayer = student;
        App::myRnd().seed(seed);
        dialogs.clear();
    }
    ~TrackedWorld() {
        if (Window::exists())
            Window::instance()->close();
        leaveSignIn();
    }
    // One entry of the student's stored lists.
    QStringList stored(const QString& column) const {
        return db.dataColumn(id, column).split(QLatin1Char(','));
    }
};

struct Student {
    std::unique_ptr<TestDoubles::TempDatabase> db = std::make_unique<TestDoubles::TempDatabase>();
    int id = 0;

    // Adds the student, stores the given drill settings and bests, and signs the student in.
    explicit Student(const QString& name, const QString& hiNum = QStringLiteral("10"),
                     const QString& negatives = QStringLiteral("0"), const QStringList& bests = {}) {
        id = db->addStudent(name, QStringLiteral("Default"));
        auto record = std::make_shared<StRecord>(name, QStringLiteral("Default"), id, QString(), 0);
        myGlobals::gCurPlayer = record;
        record->getStudentData();
        record->myParams[2] = hiNum;
        record->myParams[7] = negatives;
        for (int i = 0; i < bests.size() && i < record->myZeriScrs.size(); ++i)
            record->myZeriScrs[i] = bests[i];
        record->rejoinData();
    }
    ~Student() { leaveSignIn(); }
    // The stored game bests, as the database row holds them.
    QString storedBests() const { return db->dataColumn(id, QStringLiteral("zeriGames")); }
};

template <typename T = QWidget> T* part(QWidget* w, const QString& name) {
    T* c = w->findChild<T*>(name);
    if (!c)
        qFatal("no control %s", qPrintable(name));
    return c;
}

// One of a row of like controls: the one named `name` whose property `key` holds `index`.
template <typename T = QWidget>
T* indexed(QWidget* w, const QString& name, int index, const char* key = "index") {
    for (T* c : w->findChildren<T*>(name)) {
        if (c->property(key).toInt() == index)
            return c;
    }
    qFatal("no control %s(%d)", qPrintable(name), index);
}

// Lets a closed window go, as the event loop would.
inline void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

inline void click(QWidget* w) {
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(20, 12));
}

inline void press(newCnvBtn* b) {
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(10, 10));
}

inline newCnvBtn* gameButton(int index) {
    return NameScrn::instance()->findChildren<newCnvBtn*>(QStringLiteral("gamesBtn")).at(index);
}

// Whether the sign-in window's opening has run its course.
inline bool signInSettled() {
    auto* timer = NameScrn::instance()->findChild<QTimer*>(QStringLiteral("openTimer"));
    return timer && QTest::qWaitFor([timer] { return !timer->isActive(); });
}

inline void waitForSignIn() {
    QTRY_VERIFY(!NameScrn::instance()->findChild<QTimer*>(QStringLiteral("openTimer"))->isActive());
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
            press(b);
            settle();
            return true;
        }
    }
    return false;
}

// Ann chooses her class and name on the sign-in window (its routes installed) and presses game
// button `index`.
inline void enterThroughGameButton(int index) {
    QVERIFY(DBCtrl::insertClass(QStringLiteral("Room 5")));
    Routes::install();
    NameScrn::instance()->show();
    waitForSignIn();
    QVERIFY(chooseStudent(QStringLiteral("Room 5"), QStringLiteral("Ann Lee")));
    QVERIFY(gameButton(index)->isEnabled());
    press(gameButton(index));
    QVERIFY(!NameScrn::exists());
    QCOMPARE(myGlobals::gCurPlayer->curStudent, QStringLiteral("Ann Lee"));
}

// Opens the sign-in window on the signed-in student and presses game button `index`.
inline bool openGame(int index) {
    Routes::install();
    NameScrn* signIn = NameScrn::instance();
    signIn->show();
    if (!signInSettled())
        return false;
    const QList<newCnvBtn*> buttons = signIn->findChildren<newCnvBtn*>(QStringLiteral("gamesBtn"));
    if (buttons.size() <= index)
        return false;
    press(buttons[index]);
    return true;
}

// The picture with the message box the user was shown drawn over its middle, as it stood on the screen.
inline QImage withMessageBox(const QImage& under, bool caution, const QString& message,
                             const QString& explanation) {
    QImage image = under;
    ovrMsgBox box(caution, message, explanation);
    box.adjustSize();
    const QImage boxImage = box.grab().toImage();
    QPainter p(&image);
    p.drawImage((image.width() - boxImage.width()) / 2, (image.height() - boxImage.height()) / 2, boxImage);
    return image;
}

// With NBR_SHOTS_DIR set, saves the window there as a picture. With NBR_SHOT_HOLD_MS set too, the
// window then stays as it is on the screen that long, announced by the file <name>.hold in that
// folder, so that the screen itself can be photographed (under a window manager, on a real display).
inline void shoot(QWidget* w, const QString& name) {
    QVERIFY(Look::saveShot(w, name + QStringLiteral(".png")));
    const int hold = qEnvironmentVariableIntValue("NBR_SHOT_HOLD_MS");
    const QString folder = Look::shotsFolder();
    if (hold <= 0 || folder.isEmpty())
        return;
    w->raise();
    w->activateWindow();
    QFile mark(QDir(folder).filePath(name + QStringLiteral(".hold")));
    QVERIFY(mark.open(QIODevice::WriteOnly));
    mark.close();
    QTest::qWait(hold);
    mark.remove();
}

} // namespace GameTest
