#pragma once

// The data layer reports to the user, and asks the user questions, only through these small
// interfaces. The windows install real implementations at start-up; tests install doubles. Nothing
// here knows about widgets.

#include <QString>
#include <QStringList>

namespace Seams {

enum class Icon { Note, Caution, Question, Stop };

// Which button of a captioned-button question was chosen.
enum class Answer { Default, Cancel, Alternate };

// A platform message dialog with up to three captioned buttons. The default button answers Return,
// the cancel button answers Escape; an empty caption means the button is not there.
struct Question {
    Icon icon = Icon::Question;
    QString message;
    QString explanation;
    QString defaultCaption = QStringLiteral("OK");
    QString cancelCaption;
    QString alternateCaption;
    // The answer of a box closed from outside (the window manager's close box, Alt+F4): the choice
    // that changes nothing. The platform reports such a close as Escape, which is not always that
    // choice; a button that is not there counts as the default one.
    Answer closedAnswer = Answer::Cancel;
};

// What a file or folder chooser is asked for. Only the title is needed; the rest may stay empty.
struct FileRequest {
    QString title;
    QString prompt; // a line of guidance shown above the files
    QString folder; // where the chooser starts
    // The kinds of file offered, by the names of the program's file type table ("SavedSet",
    // "text/plain"), in order; the dialog builds its filters from that table alone.
    QStringList fileTypes;
    bool anyFile = false;  // "All Files" offered after them
    QString suggestedName; // save only: the name offered
    QString acceptCaption; // the accepting button's caption; empty: the platform's own
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // The program's own message box; returns when the user has closed it.
    virtual void showMsg(bool isCaution, const QString& message, const QString& explanation) = 0;
    // The platform's plain one-button message dialog; the explanation, when there is one, stands in
    // smaller words under the message.
    virtual void plainMessage(const QString& message, const QString& explanation = QString()) = 0;
    virtual Answer ask(const Question& question) = 0;

    // File and folder choosers: an empty result means the user cancelled.
    virtual QString openFile(const FileRequest& request) = 0;
    virtual QString saveFile(const FileRequest& request) = 0;
    virtual QString selectFolder(const FileRequest& request) = 0;

    // The small wait window shown while something slow happens (looking for the shared folder).
    virtual void showWaitWindow(const QString& text) = 0;
    virtual void closeWaitWindow() = 0;
};

class Feedback {
public:
    virtual ~Feedback() = default;
    virtual void beep() = 0;
    // Plays one project sound by its project name ("right3", "blip", ...); unknown names are silent.
    virtual void playSound(const QString& projectName) = 0;
};

class Speech {
public:
    virtual ~Speech() = default;
    // Queues the text behind whatever is being said; never interrupts.
    virtual void say(const QString& text) = 0;
    virtual bool isSpeaking() const = 0;
    // Drops what is queued and stops the current utterance.
    virtual void stop() = 0;
};

// The installed implementations. Until something is installed, a quiet default is used that logs
// messages and answers every question with its default button, so that a headless run never hangs.
Dialogs& dialogs();
Feedback& feedback();
Speech& speech();

// Installs an implementation (not owned); nullptr puts the quiet default back.
void setDialogs(Dialogs* d);
void setFeedback(Feedback* f);
void setSpeech(Speech* s);

} // namespace Seams
