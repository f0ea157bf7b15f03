#pragma once

// What the drill round tests share: a signed-in student in a fresh database, a problem set given
// problem by problem, and small helpers that drive the real window by its controls' names.

#include "app/sounds.h"
#include "controls/anstimer.h"
#include "controls/newcnvbtn.h"
#include "controls/ovrcheckbox.h"
#include "data/dbctrl.h"
#include "data/globals.h"
#include "data/locations.h"
#include "data/prefs.h"
#include "data/rndset.h"
#include "data/strecord.h"
#include "progress/newdatascrn.h"
#include "round/gamescrn.h"
#include "settings/paramscrn.h"
#include "signin/namescrn.h"
#include "support/doubles.h"
#include "support/fixtures.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace RoundTest {

using Problem = rndSet::Problem;

// A problem set that holds exactly the problems it is given.
class FixedSet : public rndSet {
public:
    explicit FixedSet(QList<Problem> problems)
        : rndSet(10, static_cast<int>(problems.size()), 0, false, true), problems_(std::move(problems)) {}

    int getTopNum(int i) const override { return at(i).top; }
    int getBotNum(int i) const override { return at(i).bot; }
    int getFunc(int i) const override { return at(i).func; }
    int getCorAns(int i) const override {
        const Problem p = at(i);
        switch (p.func) {
        case 1:
            return p.top - p.bot;
        case 2:
            return p.top * p.bot;
        case 3:
            return p.bot == 0 ? 0 : p.top / p.bot;
        default:
            return p.top + p.bot;
        }
    }
    int getTotProblems() const override { return static_cast<int>(problems_.size()) - 1; }

private:
    Problem at(int i) const { return i >= 0 && i < problems_.size() ? problems_[i] : Problem{}; }
    QList<Problem> problems_;
};

// The signed-in student, noting each save and whether any timer of the round window was still
// running while it saved.
class TrackingRecord : public StRecord {
public:
    using StRecord::StRecord;
    int saves = 0;
    bool timersRunningAtSave = false;

    void rejoinData() override {
        ++saves;
        if (GameScrn::exists()) {
            for (const QTimer* t : GameScrn::instance()->findChildren<QTimer*>())
                timersRunningAtSave = timersRunningAtSave || t->isActive();
        }
        StRecord::rejoinData();
    }
};

// One test's world: doubles installed, a database with the student Ann Lee whose every fact stands at
// 8 right of 9 tried, preferences with sounds on (the first sound of each set), three tries and no
// animation, and the run's globals as at the start of the program.
struct World {
    TestDoubles::ScriptedDialogs dialogs;
    TestDoubles::RecordingFeedback feedback;
    TestDoubles::RecordingSpeech speech;
    TestDoubles::TempDatabase db;
    QTemporaryDir files;
    int id = 0;
    std::shared_ptr<TrackingRecord> student;

    World() {
        // The preferences file as the program's start leaves it: asking where the teacher's sets are
        // must not find the program's first run.
        myPrefs::getLocalPrefFol();
        myPrefs::initPrefs();
        myPrefs::prDataSource = 0;
        myPrefs::prMaxTries = 3;
        myPrefs::prNumCrit = 10;
        myPrefs::prPctCrit = 85;
        myPrefs::prHiCrit = 10;
        myPrefs::prNoAnim = true;
        myPrefs::prSndSet = QStringLiteral("1,0,0,0");
        mySounds::loadMySnds();
        mySounds::setStates();
        myGlobals::gMySet.reset();
        myGlobals::gLastTot = 0;
        myGlobals::gUseLastGame = false;

        id = db.addStudent(QStringLiteral("Ann Lee"), QStringLiteral("Room 5"));
        db.addResults(id, 8, 9);
        student = std::make_shared<TrackingRecord>(QStringLiteral("Ann Lee"), QStringLiteral("Room 5"), id,
                                                   QString(), 0);
        student->getStudentData();
        setParam(StRecord::SecondsParam, QStringLiteral("0"));
        setParam(StRecord::ProblemsParam, QStringLiteral("10"));
        myGlobals::gCurPlayer = student;
        dialogs.clear();
    }

    ~World() {
        if (GameScrn::exists())
            GameScrn::instance()->close();
        NameScrn::instance()->hide();
        ParamScrn::instance()->hide();
        newDataScrn::instance()->hide();
        myGlobals::gCurPlayer.reset();
        myGlobals::gMySet.reset();
    }

    void setParam(int index, const QString& value) { student->myParams[index] = value; }

    // A teacher's set file: each problem a length byte and its text.
    QString savedSet(const QStringList& problems, const QString& name = QStringLiteral("set.nbx")) {
        const QString path = QDir(files.path()).absoluteFilePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return {};
        for (const QString& p : problems) {
            const QByteArray bytes = p.toLatin1();
            f.putChar(static_cast<char>(bytes.size()));
            f.write(bytes);
        }
        return path;
    }

    // One stored result list ("right/tried" per fact) of the student's theData row.
    QStringList stored(const QString& column) const {
        return db.dataColumn(id, column).split(QLatin1Char(','));
    }

    QString storedStars() const {
        QSqlQuery q(DBCtrl::NBData());
        q.prepare(QStringLiteral("SELECT StStars FROM Names WHERE StID = ?"));
        q.addBindValue(id);
        return q.exec() && q.next() ? q.value(0).toString() : QString();
    }
};

template <typename T = QWidget> T* part(QWidget* window, const QString& name) {
    T* w = window->findChild<T*>(name);
    if (!w)
        qWarning() << "no control" << name;
    return w;
}

inline QLineEdit* answerField(QWidget* w) {
    return part<QLineEdit>(w, QStringLiteral("Answer"));
}

inline AnsTimer* checkTimer(QWidget* w) {
    return part<AnsTimer>(w, QStringLiteral("checkAnsT"));
}

inline QString textOf(QWidget* w, const QString& label) {
    return part<QLabel>(w, label)->text();
}

inline newCnvBtn* actionButton(QWidget* w, int index) {
    return part<newCnvBtn>(w, QStringLiteral("contBtn%1").arg(index));
}

inline QString caption(QWidget* w) {
    return actionButton(w, 0)->myCaption();
}

// The round window shown, its answer checked as soon as it is typed and its clock stopped: tests tick
// the clock themselves.
inline GameScrn* openRound() {
    GameScrn* w = GameScrn::instance();
    w->show();
    checkTimer(w)->setInterval(0);
    part<QTimer>(w, QStringLiteral("myTimer"))->setInterval(3600 * 1000);
    return w;
}

inline void press(QWidget* w, int index) {
    QTest::mouseClick(actionButton(w, index), Qt::LeftButton, {}, QPoint(20, 10));
}

// Types into the answer field and waits until the check this may have armed has run.
inline void answer(GameScrn* w, const QString& typed) {
    QTest::keyClicks(answerField(w), typed);
    QTRY_VERIFY(!checkTimer(w)->isActive());
}

// The problem number shown, from 1; 0 when none is shown.
inline int problemNumber(QWidget* w) {
    return textOf(w, QStringLiteral("ctFld")).mid(1).toInt();
}

inline bool roundRunning(QWidget* w) {
    return caption(w) == QLatin1String("Stop Round");
}

// Answers the current problem right, as the round's set holds it (the result is asked).
inline void answerRight(GameScrn* w) {
    answer(w, QString::number(myGlobals::gMySet->getCorAns(problemNumber(w) - 1)));
}

// Plays on with right answers until the round ends; returns how many problems that took.
inline int finishRight(GameScrn* w) {
    int answered = 0;
    while (roundRunning(w) && answered < 50) {
        answerRight(w);
        ++answered;
    }
    return answered;
}

} // namespace RoundTest
