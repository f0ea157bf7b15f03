#pragma once

// A student signed in through the sign-in window, as a game test needs one: a fresh database with
// one student, the record loaded, the sign-in window open on that student, and its game buttons
// leading where Routes::install() sends them.

#include "app/routes.h"
#include "controls/newcnvbtn.h"
#include "data/globals.h"
#include "data/strecord.h"
#include "signin/namescrn.h"
#include "support/fixtures.h"

#include <QTimer>
#include <QtTest>

#include <memory>

namespace GameVisit {

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
    ~Student() {
        if (NameScrn::exists())
            NameScrn::instance()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        myGlobals::gCurPlayer.reset();
    }
    // The stored game bests, as the database row holds them.
    QString storedBests() const { return db->dataColumn(id, QStringLiteral("zeriGames")); }
};

// Opens the sign-in window on the signed-in student and presses game button `index`.
inline bool openGame(int index) {
    Routes::install();
    NameScrn* signIn = NameScrn::instance();
    signIn->show();
    auto* timer = signIn->findChild<QTimer*>(QStringLiteral("openTimer"));
    if (!timer || !QTest::qWaitFor([timer] { return !timer->isActive(); }))
        return false;
    const QList<newCnvBtn*> buttons = signIn->findChildren<newCnvBtn*>(QStringLiteral("gamesBtn"));
    if (buttons.size() <= index)
        return false;
    QTest::mouseClick(buttons[index], Qt::LeftButton, {}, QPoint(10, 10));
    return true;
}

} // namespace GameVisit
