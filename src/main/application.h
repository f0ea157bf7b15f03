#pragma once

#include <QApplication>

#include <exception>
#include <functional>

namespace App {

// The application object: runs the start-up sequence, the last step at quitting, and turns every
// error that no code caught into an error report, after which the program goes on.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    ~Application() override;

    static Application* instance();

    // The real dialogs, sounds and speech, the sound player's link to the preferences, and the menu
    // bar. Called once by the program before its first window; tests install doubles instead.
    void installProgramServices();

    // Every event, timer and menu action passes through here; an error that escapes one is
    // reported instead of ending the program.
    bool notify(QObject* receiver, QEvent* event) override;

    // Builds the report of an error and shows it; returns when the user has dismissed it.
    void Event_UnhandledException(std::exception_ptr error);

    // The open step: preferences, database, sounds and pictures. Each step that fails is reported
    // and the later steps still run.
    void Event_Open();
    // The last step when the program quits.
    void Event_Close();

    // Shows the report window for a report text (replaceable, so that tests need no modal window).
    using ReportShower = std::function<void(const QString& reportText)>;
    void setReportShower(ReportShower shower) { reportShower_ = std::move(shower); }

    bool openStepFinished() const { return openStepFinished_; }

private:
    void runStep(const char* name, const std::function<void()>& step);

    ReportShower reportShower_;
    bool reporting_ = false;
    bool openStepFinished_ = false;
};

// Tells the user once when the program's pictures and sounds are not all where it looks for them.
void tellMissingMedia();

} // namespace App
