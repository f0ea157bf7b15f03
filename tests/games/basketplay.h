#pragma once

// Playing the basket game as a student would, for the tests: the numbers fall by the fall timer's
// steps, the total is worked out from the digits and signs shown, and typed into the answer field.

#include "controls/anstimer.h"
#include "controls/newcnvbtn.h"
#include "gamefixture.h"
#include "games/basket/bsktmathscrn.h"
#include "games/basket/chutecnv.h"
#include "games/common/answerfield.h"

#include <QtTest>

namespace BasketPlay {

inline bsktMathScrn* game() {
    return bsktMathScrn::exists() ? bsktMathScrn::instance() : nullptr;
}

template <typename T = QWidget> inline T* ctl(const QString& name) {
    return GameTest::part<T>(bsktMathScrn::instance(), name);
}

inline void click(const QString& button) {
    QTest::mouseClick(ctl<newCnvBtn>(button), Qt::LeftButton, {}, QPoint(10, 10));
}

inline QString caption(const QString& button) {
    return ctl<newCnvBtn>(button)->myCaption();
}

// What the basket holds after the numbers of a round, worked out from what the student sees: the
// digit falling (the chute's name) and the sign on the basket.
inline int apply(int total, const QString& sign, int digit) {
    if (sign == QLatin1String("plus"))
        return total + digit;
    if (sign == QLatin1String("minus"))
        return total - digit;
    if (sign == QLatin1String("times"))
        return total * digit;
    return total / digit;
}

// Lets every number of the round fall, by the fall timer's steps; with `space` each number is
// dropped fast from its first step. Returns the basket's total as the student would work it out.
inline int fallRound(bool space = false) {
    bsktMathScrn* w = game();
    auto* chute = ctl<chuteCnv>(QStringLiteral("myChute"));
    QWidget* sign = ctl(QStringLiteral("funcCnv"));
    QWidget* focus = ctl(QStringLiteral("stlFocus"));
    int total = 0;
    while (!ctl(QStringLiteral("AnsFld"))->isVisibleTo(w) &&
           caption(QStringLiteral("CloseBtn")) == "Stop Game") {
        const int digit = chute->accessibleName().toInt();
        total = w->landed() == 0 ? digit : apply(total, sign->accessibleName(), digit);
        const int landed = w->landed();
        if (space)
            QTest::keyPress(focus, Qt::Key_Space);
        for (int step = 0; step < 400 && w->landed() == landed; ++step) {
            if (w->fastDrop())
                w->dropTimer_Action();
            else
                w->fallingTimer_Action();
        }
        if (space)
            QTest::keyRelease(focus, Qt::Key_Space);
    }
    return total;
}

// Types a total and lets its check run.
inline void type(int total) {
    auto* field = ctl<AnswerField>(QStringLiteral("AnsFld"));
    QTest::keyClicks(field, QString::number(total));
    auto* check = ctl<AnsTimer>(QStringLiteral("checkTimer"));
    QVERIFY(check->isActive());
    QTRY_VERIFY(!check->isActive());
}

} // namespace BasketPlay
