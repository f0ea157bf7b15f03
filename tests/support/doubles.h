#pragma once

// Test doubles of the seams: a dialogs layer that answers from a script and records what it was
// asked, and feedback and speech players that record what they were told to play or say.

#include "data/seams.h"

#include <QList>
#include <QStringList>

#include <deque>

namespace TestDoubles {

struct Shown {
    enum Kind { Msg, Plain, Question, OpenFile, SaveFile, SelectFolder } kind;
    bool isCaution = false;
    QString message;
    QString explanation;
    Seams::Question question;
    Seams::FileRequest file; // what a file or folder chooser was asked for

    // The message and its explanation, as a failing test prints them.
    QString text() const { return message + QStringLiteral(" | ") + explanation; }
};

class ScriptedDialogs : public Seams::Dialogs {
public:
    // Installs itself for the test's life and puts the quiet default back afterwards.
    ScriptedDialogs();
    ~ScriptedDialogs() override;

    std::deque<Seams::Answer> answers; // questions asked with no scripted answer take the default button
    std::deque<QString> paths;         // answers of the file and folder choosers; none means cancel
    QList<Shown> shown;

    void showMsg(bool isCaution, const QString& message, const QString& explanation) override;
    void plainMessage(const QString& message, const QString& explanation = QString()) override;
    Seams::Answer ask(const Seams::Question& question) override;
    QString openFile(const Seams::FileRequest& request) override;
    QString saveFile(const Seams::FileRequest& request) override;
    QString selectFolder(const Seams::FileRequest& request) override;
    void showWaitWindow(const QString& text) override {
        waitTexts << text;
        waitOpen = true;
    }
    void closeWaitWindow() override { waitOpen = false; }

    QStringList waitTexts; // every text the wait window was opened with
    bool waitOpen = false;

    // The message texts shown so far (message boxes, plain messages and questions), in order.
    QStringList messages() const;
    void clear() { shown.clear(); }
};

class RecordingFeedback : public Seams::Feedback {
public:
    RecordingFeedback();
    ~RecordingFeedback() override;
    int beeps = 0;
    QStringList sounds;
    void beep() override { ++beeps; }
    void playSound(const QString& projectName) override { sounds << projectName; }
};

class RecordingSpeech : public Seams::Speech {
public:
    RecordingSpeech();
    ~RecordingSpeech() override;
    QStringList said;
    int stops = 0;
    void say(const QString& text) override { said << text; }
    bool isSpeaking() const override { return false; }
    void stop() override { ++stops; }
};

} // namespace TestDoubles
