#pragma once

#include <QTimer>

// A single-shot timer that carries the answer it is to check. A window arms it when the typed answer is
// complete; when it fires, the window compares the two numbers it holds at that moment.
class AnsTimer : public QTimer {
    Q_OBJECT

public:
    explicit AnsTimer(QObject* parent = nullptr);

    int userAns = 0;   // the answer typed, as a number
    int theCorAns = 0; // the correct answer

    // Arms the check once the typed text has at least as many characters as the correct answer in
    // decimal (its minus sign counts): stores both answers, the typed one read as a whole number (text
    // that is no number reads as 0), and starts the timer again. Returns whether it armed.
    bool armIfComplete(const QString& typed, int correctAnswer);
};
