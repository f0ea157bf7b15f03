#include "application.h"

#include "app/buttonfaces.h"
#include "app/media.h"
#include "app/menus.h"
#include "app/picts.h"
#include "app/sounds.h"
#include "data/dbctrl.h"
#include "data/globals.h"
#include "data/locations.h"
#include "data/prefs.h"
#include "data/random.h"
#include "help/helpfolder.h"
#include "main/routes.h"
#include "main/uiseams.h"
#include "signin/namescrn.h"
#include "signin/splashscrn.h"
#include "support/expreporterscrn.h"
#include "support/stackcleaner.h"

#include <QDebug>
#include <QDir>
#include <QLoggingCategory>

// Each step of the open step as it begins, for a start that is slow or goes wrong somewhere (off unless
// asked for: QT_LOGGING_RULES="nbr.startup.debug=true").
namespace {
Q_LOGGING_CATEGORY(startupLog, "nbr.startup", QtInfoMsg)
} // namespace

namespace App {

// Without its pictures and sounds every window would open blank and silent with no word why: an
// install that lacks them (a share folder left out or half copied) is told once, naming where the
// program looked, so that whoever installed it knows what to put back.
void tellMissingMedia() {
    const QString folder = SpecialFolderWendle::BundleResourcesFolder();
    qCDebug(startupLog).noquote() << "pictures and sounds in" << folder << "| help pages in" << HelpFolder::path();
    const QStringList missing = ProjectMedia::missingFiles(folder);
    if (missing.isEmpty())
        return;
    QString message;
    QString explanation;
    if (folder.isEmpty()) {
        QStringList places;
        for (const QString& place : SpecialFolderWendle::resourcesCandidates())
            places << QDir::toNativeSeparators(place);
        message = QStringLiteral("Numbrook Riza cannot find its pictures and sounds.");
        explanation = QStringLiteral("It looked for them in ") + places.join(QStringLiteral(", ")) +
                      QStringLiteral(". Please install Numbrook Riza again.");
    } else {
        const int total = int(ProjectMedia::pictureNames().size() + ProjectMedia::soundNames().size());
        message = QStringLiteral("Some of Numbrook Riza's pictures and sounds are missing.");
        explanation = QStringLiteral("%1 of %2 files, such as \"%3\", are not in %4. Please install "
                                     "Numbrook Riza again.")
                          .arg(missing.size())
                          .arg(total)
                          .arg(missing.first(), QDir::toNativeSeparators(folder));
    }
    qCWarning(startupLog).noquote() << message << explanation;
    myGlobals::gShowMsg(true, message, explanation);
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Numbrook Riza"));
    setOrganizationName(QStringLiteral("Orlavo"));
    // Windows close themselves and show the next one; the run ends only through Quit.
    setQuitOnLastWindowClosed(false);
    connect(this, &QCoreApplication::aboutToQuit, this, &Application::Event_Close);
    setReportShower([](const QString& text) { expReporterScrn(text).exec(); });
}

void Application::installProgramServices() {
    UiSeams::install();
    // The preferences live in the data layer, which cannot reach the sound player itself.
    myPrefs::setSoundStatesHandler([] { mySounds::setStates(); });
    Routes::install();
}

Application::~Application() = default;

Application* Application::instance() {
    return qobject_cast<Application*>(QCoreApplication::instance());
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        Event_UnhandledException(std::current_exception());
        return false;
    }
}

void Application::Event_UnhandledException(std::exception_ptr error) {
    const QString text = ErrorReport::reportText(error);
    // A report is modal; an error raised while it is open (a timer that keeps failing) is logged
    // rather than stacking a second report on the first.
    if (reporting_) {
        qWarning().noquote() << "Further error while a report is open:" << text;
        return;
    }
    reporting_ = true;
    if (reportShower_)
        reportShower_(text);
    else
        qCritical().noquote() << text;
    reporting_ = false;
}

void Application::runStep(const char* name, const std::function<void()>& step) {
    qCDebug(startupLog) << "open step:" << name;
    try {
        step();
    } catch (...) {
        qWarning() << "Start-up step failed:" << name;
        Event_UnhandledException(std::current_exception());
    }
}

void Application::Event_Open() {
    // The random numbers come first: reading the preferences may write the file, and the
    // administrative password is scrambled with a key drawn from them.
    runStep("random numbers", [] { App::myRnd(); });
    runStep("button pictures", [] { myGlobals::initPicts(); });
    runStep("proxy icon", [] {
        const QString resources = SpecialFolderWendle::BundleResourcesFolder();
        myGlobals::pFile = resources.isEmpty()
                               ? QString()
                               : QDir(resources).absoluteFilePath(QStringLiteral("NBQProxyIcon.png"));
    });
    runStep("pictures and sounds at hand", [] { tellMissingMedia(); });
    runStep("preferences", [] { myPrefs::hndlReadingPrefs(); });
    runStep("leftovers of stopped writes", [] { myPrefs::removeCrashLeftovers(); });
    // The database opens whatever happened to the preferences: their defaults still name a folder.
    runStep("database", [] { DBCtrl::check4Database(myPrefs::getDataFileLoc()); });
    runStep("sounds", [] {
        mySounds::setStates();
        mySounds::loadMySnds();
    });
    runStep("digit and star pictures", [] { myPicts::loadPics(); });
    // Decoding and scaling the sign-in window's background is the dearest part of its first paint:
    // done here, while the start window is up anyway.
    runStep("sign-in background", [] { NameScrn::prepareBackground(); });
    openStepFinished_ = true;
    if (SplashScrn::exists())
        SplashScrn::instance()->openStepFinished();
}

void Application::Event_Close() {
    if (myPrefs::prefsDirty)
        myPrefs::hndlWritingPrefs();
}

} // namespace App
