#include "doubles.h"

namespace TestDoubles {

ScriptedDialogs::ScriptedDialogs() {
    Seams::setDialogs(this);
}
ScriptedDialogs::~ScriptedDialogs() {
    Seams::setDialogs(nullptr);
}

void ScriptedDialogs::showMsg(bool isCaution, const QString& message, const QString& explanation) {
    shown.append({Shown::Msg, isCaution, message, explanation, {}, {}});
}

void ScriptedDialogs::plainMessage(const QString& message, const QString& explanation) {
    shown.append({Shown::Plain, false, message, explanation, {}, {}});
}

Seams::Answer ScriptedDialogs::ask(const Seams::Question& question) {
    shown.append({Shown::Question, question.icon == Seams::Icon::Caution, question.message,
                  question.explanation, question, {}});
    if (answers.empty())
        return Seams::Answer::Default;
    const Seams::Answer a = answers.front();
    answers.pop_front();
    return a;
}

namespace {
QString nextPath(std::deque<QString>& paths) {
    if (paths.empty())
        return {};
    QString p = paths.front();
    paths.pop_front();
    return p;
}
} // namespace

QString ScriptedDialogs::openFile(const Seams::FileRequest& request) {
    shown.append({Shown::OpenFile, false, request.title, request.prompt, {}, request});
    return nextPath(paths);
}

QString ScriptedDialogs::saveFile(const Seams::FileRequest& request) {
    shown.append({Shown::SaveFile, false, request.title, request.prompt, {}, request});
    return nextPath(paths);
}

QString ScriptedDialogs::selectFolder(const Seams::FileRequest& request) {
    shown.append({Shown::SelectFolder, false, request.title, request.prompt, {}, request});
    return nextPath(paths);
}

QStringList ScriptedDialogs::messages() const {
    QStringList out;
    for (const Shown& s : shown) {
        if (s.kind == Shown::Msg || s.kind == Shown::Plain || s.kind == Shown::Question)
            out << s.message;
    }
    return out;
}

RecordingFeedback::RecordingFeedback() {
    Seams::setFeedback(this);
}
RecordingFeedback::~RecordingFeedback() {
    Seams::setFeedback(nullptr);
}
RecordingSpeech::RecordingSpeech() {
    Seams::setSpeech(this);
}
RecordingSpeech::~RecordingSpeech() {
    Seams::setSpeech(nullptr);
}

} // namespace TestDoubles
