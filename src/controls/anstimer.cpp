#include "anstimer.h"

#include "data/globals.h"

AnsTimer::AnsTimer(QObject* parent) : QTimer(parent) {
    setSingleShot(true);
}

bool AnsTimer::armIfComplete(const QString& typed, int correctAnswer) {
    if (typed.size() < QString::number(correctAnswer).size())
        return false;
    theCorAns = correctAnswer;
    userAns = myGlobals::textToInt(typed);
    start();
    return true;
}
