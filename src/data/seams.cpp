#include "seams.h"

#include <QDebug>

namespace Seams {
namespace {

class QuietDialogs final : public Dialogs {
public:
    void showMsg(bool isCaution, const QString& message, const QString& explanation) override {
        qInfo().noquote() << (isCaution ? "[caution]" : "[note]") << message << explanation;
    }
    void plainMessage(const QString& message, const QString& explanation = QString()) override {
        qInfo().noquote() << "[message]" << message << explanation;
    }
    Answer ask(const Question& question) override {
        qInfo().noquote() << "[question]" << question.message << "->" << question.defaultCaption;
        return Answer::Default;
    }
    QString openFile(const FileRequest&) override { return {}; }
    QString saveFile(const FileRequest&) override { return {}; }
    QString selectFolder(const FileRequest&) override { return {}; }
    void showWaitWindow(const QString&) override {}
    void closeWaitWindow() override {}
};

class QuietFeedback final : public Feedback {
public:
    void beep() override {}
    void playSound(const QString&) override {}
};

class QuietSpeech final : public Speech {
public:
    void say(const QString&) override {}
    bool isSpeaking() const override { return false; }
    void stop() override {}
};

QuietDialogs quietDialogs;
QuietFeedback quietFeedback;
QuietSpeech quietSpeech;

Dialogs* currentDialogs = &quietDialogs;
Feedback* currentFeedback = &quietFeedback;
Speech* currentSpeech = &quietSpeech;

} // namespace

Dialogs& dialogs() {
    return *currentDialogs;
}
Feedback& feedback() {
    return *currentFeedback;
}
Speech& speech() {
    return *currentSpeech;
}

void setDialogs(Dialogs* d) {
    currentDialogs = d ? d : &quietDialogs;
}
void setFeedback(Feedback* f) {
    currentFeedback = f ? f : &quietFeedback;
}
void setSpeech(Speech* s) {
    currentSpeech = s ? s : &quietSpeech;
}

} // namespace Seams
