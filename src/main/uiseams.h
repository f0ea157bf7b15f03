#pragma once

// The program's real implementations of the seams through which the data layer talks to the user:
// its own message box and the platform's dialogs, the feedback sounds, and speech. The program runs
// without a sound device and without a speech engine: it is silent then, and says nothing about it.

#include "data/seams.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QStringList>

class QSoundEffect;
class QTextToSpeech;
class waitScrn;

namespace UiSeams {

// Installs all three for the rest of the run. Needs the application object.
void install();

// True when the system has a sound output. Asked once per run.
bool hasAudioOutput();

// The name filters a file chooser shows for a request, from the file type table, in Qt's
// "Description (*.a *.b)" form; "All Files (*)" last when the request offers any file.
QStringList nameFilters(const Seams::FileRequest& request);

class Dialogs final : public Seams::Dialogs {
public:
    void showMsg(bool isCaution, const QString& message, const QString& explanation) override;
    void plainMessage(const QString& message, const QString& explanation = QString()) override;
    Seams::Answer ask(const Seams::Question& question) override;
    QString openFile(const Seams::FileRequest& request) override;
    QString saveFile(const Seams::FileRequest& request) override;
    QString selectFolder(const Seams::FileRequest& request) override;
    void showWaitWindow(const QString& text) override;
    void closeWaitWindow() override;

    waitScrn* waitWindow() const;

private:
    // Runs a modal dialog with the wait window out of its way.
    template <typename F> auto aside(F&& run);
    QPointer<waitScrn> wait;
};

class Feedback final : public QObject, public Seams::Feedback {
    Q_OBJECT
public:
    explicit Feedback(QObject* parent = nullptr);
    void beep() override;
    void playSound(const QString& projectName) override;

private:
    QHash<QString, QSoundEffect*> effects;
};

// What the speech queue needs of a speech engine; the program's is Qt's text-to-speech.
class SpeechEngine : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // False when no engine or no sound output can be had; the queue is silent then.
    virtual bool available() = 0;
    virtual void speak(const QString& text) = 0;
    virtual void stop() = 0;
signals:
    void finished(); // the text given to speak has been said
    void failed();   // the engine could not say it
};

class QtSpeechEngine final : public SpeechEngine {
    Q_OBJECT
public:
    using SpeechEngine::SpeechEngine;
    bool available() override;
    void speak(const QString& text) override;
    void stop() override;

private:
    QTextToSpeech* tts = nullptr;
    bool started = false;
    bool broken = false;
};

// Says texts one after another: a new text waits for the one being said, nothing is interrupted
// except by stop(), which also drops what is waiting.
class Speech final : public QObject, public Seams::Speech {
    Q_OBJECT
public:
    explicit Speech(SpeechEngine* engine, QObject* parent = nullptr); // takes the engine
    void say(const QString& text) override;
    bool isSpeaking() const override { return speaking || !queue.isEmpty(); }
    void stop() override;

private:
    void next();

    SpeechEngine* engine;
    QStringList queue;
    bool speaking = false;
};

} // namespace UiSeams
