#include "uiseams.h"

#include "controls/ovrmsgbox.h"
#include "controls/waitscrn.h"
#include "app/filetypes.h"
#include "app/media.h"

#include <QApplication>
#include <QAudioDevice>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QMediaDevices>
#include <QMessageBox>
#include <QPushButton>
#include <QSoundEffect>
#include <QTextToSpeech>
#include <QUrl>

namespace UiSeams {
namespace {

// Answers a close that reaches a message box before any of its buttons was pressed (the window
// manager's close box, Alt+F4) with the given button. Left to itself, Qt answers such a close with the
// box's Escape button, which may be the choice that does something.
class CloseAnswer : public QObject {
public:
    CloseAnswer(QMessageBox* box, QAbstractButton* answer) : QObject(box), box_(box), answer_(answer) {
        box->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != box_ || event->type() != QEvent::Close || box_->clickedButton())
            return false;
        answer_->click();
        return true;
    }

private:
    QMessageBox* box_;
    QAbstractButton* answer_;
};

QWidget* frontWindow() {
    return QApplication::activeWindow();
}

QMessageBox::Icon iconOf(Seams::Icon icon) {
    switch (icon) {
    case Seams::Icon::Note:
        return QMessageBox::Information;
    case Seams::Icon::Caution:
        return QMessageBox::Warning;
    case Seams::Icon::Stop:
        return QMessageBox::Critical;
    case Seams::Icon::Question:
        break;
    }
    return QMessageBox::Question;
}

QString programName() {
    return QStringLiteral("Numbrook Riza");
}

// Without a sound server the audio backend complains on the console; a school computer without
// sound is normal here, so the one probe of the run keeps that quiet.
QtMessageHandler previousHandler = nullptr;
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtDebugMsg || type == QtWarningMsg || type == QtInfoMsg)
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

QStringList nameFilters(const Seams::FileRequest& request) {
    QStringList out;
    for (const QString& type : request.fileTypes) {
        const QString f = FileTypes1::filter(type);
        if (!f.isEmpty())
            out << f;
    }
    if (request.anyFile)
        out << QStringLiteral("All Files (*)");
    return out;
}

bool hasAudioOutput() {
    static const bool available = [] {
        previousHandler = qInstallMessageHandler(quietHandler);
        const bool any = !QMediaDevices::audioOutputs().isEmpty();
        qInstallMessageHandler(previousHandler);
        return any;
    }();
    return available;
}

// ---- dialogs ---------------------------------------------------------------------------------------

template <typename F> auto Dialogs::aside(F&& run) {
    const bool waiting = wait && wait->isVisible();
    if (waiting)
        wait->hide();
    auto result = run();
    if (waiting && wait)
        wait->showNow();
    return result;
}

void Dialogs::showMsg(bool isCaution, const QString& message, const QString& explanation) {
    aside([&] {
        ovrMsgBox box(isCaution, message, explanation, frontWindow());
        return box.exec();
    });
}

void Dialogs::plainMessage(const QString& message, const QString& explanation) {
    aside([&] {
        QMessageBox box(frontWindow());
        box.setWindowTitle(programName());
        box.setText(message);
        box.setInformativeText(explanation);
        box.setStandardButtons(QMessageBox::Ok);
        return box.exec();
    });
}

Seams::Answer Dialogs::ask(const Seams::Question& question) {
    return aside([&] {
        QMessageBox box(frontWindow());
        box.setWindowTitle(programName());
        box.setIcon(iconOf(question.icon));
        box.setText(question.message);
        box.setInformativeText(question.explanation);
        QPushButton* def = box.addButton(question.defaultCaption, QMessageBox::AcceptRole);
        def->setObjectName(QStringLiteral("defaultButton"));
        box.setDefaultButton(def);
        QPushButton* alternate = nullptr;
        if (!question.alternateCaption.isEmpty()) {
            // Not a rejecting role: Escape must never pick the alternate button.
            alternate = box.addButton(question.alternateCaption, QMessageBox::ActionRole);
            alternate->setObjectName(QStringLiteral("alternateButton"));
        }
        QPushButton* cancel = nullptr;
        if (!question.cancelCaption.isEmpty()) {
            cancel = box.addButton(question.cancelCaption, QMessageBox::RejectRole);
            cancel->setObjectName(QStringLiteral("cancelButton"));
            box.setEscapeButton(cancel);
        }
        // Escape keeps its meaning; a close from outside takes the choice that changes nothing.
        QPushButton* closed = def;
        if (question.closedAnswer == Seams::Answer::Cancel && cancel)
            closed = cancel;
        else if (question.closedAnswer == Seams::Answer::Alternate && alternate)
            closed = alternate;
        new CloseAnswer(&box, closed);
        box.exec();
        const QAbstractButton* chosen = box.clickedButton();
        if (cancel && chosen == cancel)
            return Seams::Answer::Cancel;
        if (alternate && chosen == alternate)
            return Seams::Answer::Alternate;
        return Seams::Answer::Default;
    });
}

namespace {

// A chooser that can show the request's prompt: the platform's own dialogs have no place for one,
// so the prompt sits in a row of its own above Qt's file list.
QString runChooser(const Seams::FileRequest& request, QFileDialog::FileMode mode,
                   QFileDialog::AcceptMode accept) {
    QFileDialog dialog(frontWindow(), request.title);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setFileMode(mode);
    dialog.setAcceptMode(accept);
    if (mode == QFileDialog::Directory)
        dialog.setOption(QFileDialog::ShowDirsOnly, true);
    const QStringList filters = nameFilters(request);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    if (!request.folder.isEmpty())
        dialog.setDirectory(request.folder);
    if (!request.suggestedName.isEmpty())
        dialog.selectFile(request.suggestedName);
    if (!request.acceptCaption.isEmpty())
        dialog.setLabelText(QFileDialog::Accept, request.acceptCaption);
    if (!request.prompt.isEmpty()) {
        if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
            auto* prompt = new QLabel(request.prompt, &dialog);
            prompt->setObjectName(QStringLiteral("prompt"));
            prompt->setWordWrap(true);
            // Everything the dialog has moves down one row to make room at the top.
            QList<std::tuple<QLayoutItem*, int, int, int, int>> items;
            while (grid->count() > 0) {
                int row = 0, column = 0, rowSpan = 1, columnSpan = 1;
                grid->getItemPosition(0, &row, &column, &rowSpan, &columnSpan);
                items.append({grid->takeAt(0), row, column, rowSpan, columnSpan});
            }
            grid->addWidget(prompt, 0, 0, 1, -1);
            for (const auto& [item, row, column, rowSpan, columnSpan] : items)
                grid->addItem(item, row + 1, column, rowSpan, columnSpan);
        }
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString Dialogs::openFile(const Seams::FileRequest& request) {
    return aside([&] { return runChooser(request, QFileDialog::ExistingFile, QFileDialog::AcceptOpen); });
}

QString Dialogs::saveFile(const Seams::FileRequest& request) {
    return aside([&] { return runChooser(request, QFileDialog::AnyFile, QFileDialog::AcceptSave); });
}

QString Dialogs::selectFolder(const Seams::FileRequest& request) {
    return aside([&] { return runChooser(request, QFileDialog::Directory, QFileDialog::AcceptOpen); });
}

void Dialogs::showWaitWindow(const QString& text) {
    if (!wait || wait->text() != text) {
        closeWaitWindow();
        wait = new waitScrn(text);
        wait->setAttribute(Qt::WA_DeleteOnClose);
    }
    wait->showNow();
}

waitScrn* Dialogs::waitWindow() const {
    return wait;
}

void Dialogs::closeWaitWindow() {
    if (wait)
        wait->close();
    wait = nullptr;
}

// ---- sounds ----------------------------------------------------------------------------------------

Feedback::Feedback(QObject* parent) : QObject(parent) {}

void Feedback::beep() {
    QApplication::beep();
}

void Feedback::playSound(const QString& projectName) {
    const QString path = ProjectMedia::soundPath(projectName);
    if (path.isEmpty() || !hasAudioOutput())
        return;
    QSoundEffect*& effect = effects[projectName];
    if (!effect) {
        effect = new QSoundEffect(this);
        effect->setSource(QUrl::fromLocalFile(path));
    }
    effect->play(); // plays as soon as it is loaded; returns at once
}

// ---- speech ----------------------------------------------------------------------------------------

bool QtSpeechEngine::available() {
    if (broken)
        return false;
    if (QTextToSpeech::availableEngines().isEmpty() || !hasAudioOutput()) {
        broken = true;
        return false;
    }
    return true;
}

void QtSpeechEngine::speak(const QString& text) {
    if (!tts) {
        tts = new QTextToSpeech(this);
        connect(tts, &QTextToSpeech::stateChanged, this, [this](QTextToSpeech::State state) {
            if (state == QTextToSpeech::Speaking) {
                started = true;
            } else if (state == QTextToSpeech::Ready && started) {
                started = false;
                emit finished();
            } else if (state == QTextToSpeech::Error) {
                started = false;
                broken = true; // no voice for the rest of the run rather than an error at every text
                emit failed();
            }
        });
    }
    if (tts->state() == QTextToSpeech::Error) {
        broken = true;
        emit failed();
        return;
    }
    tts->say(text);
}

void QtSpeechEngine::stop() {
    started = false; // the engine's return to Ready after a stop is no finished text
    if (tts)
        tts->stop();
}

Speech::Speech(SpeechEngine* engine, QObject* parent) : QObject(parent), engine(engine) {
    engine->setParent(this);
    connect(engine, &SpeechEngine::finished, this, [this] {
        speaking = false;
        next();
    });
    connect(engine, &SpeechEngine::failed, this, [this] {
        speaking = false;
        queue.clear();
    });
}

void Speech::say(const QString& text) {
    if (text.trimmed().isEmpty() || !engine->available())
        return;
    queue << text;
    if (!speaking)
        next();
}

void Speech::stop() {
    queue.clear();
    if (speaking)
        engine->stop();
    speaking = false;
}

void Speech::next() {
    if (queue.isEmpty())
        return;
    speaking = true;
    engine->speak(queue.takeFirst());
}

// ---- installation ----------------------------------------------------------------------------------

void install() {
    static bool connected = false;
    static Dialogs dialogs;
    static QPointer<Feedback> feedback;
    static QPointer<Speech> speech;
    Seams::setDialogs(&dialogs);
    if (!feedback)
        feedback = new Feedback(qApp);
    if (!speech)
        speech = new Speech(new QtSpeechEngine, qApp);
    Seams::setFeedback(feedback);
    Seams::setSpeech(speech);
    // Nothing may reach these once the application is gone.
    const auto uninstall = [] {
        Seams::setDialogs(nullptr);
        Seams::setFeedback(nullptr);
        Seams::setSpeech(nullptr);
    };
    if (!connected) {
        connected = true;
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp, uninstall);
        QObject::connect(qApp, &QObject::destroyed, uninstall);
    }
}

} // namespace UiSeams
