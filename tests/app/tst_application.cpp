#include "main/application.h"
#include "app/media.h"
#include "tempresources.h"
#include "app/buttonfaces.h"
#include "app/picts.h"
#include "app/sounds.h"
#include "data/dbctrl.h"
#include "data/globals.h"
#include "data/locations.h"
#include "data/prefs.h"
#include "support/doubles.h"
#include "support/errors.h"

#include <QLoggingCategory>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <stdexcept>
#include <thread>
#include <vector>

// Named and not local to this file, so that the stack captured at the throw can show it.
[[gnu::noinline]] int readPastTheEnd() {
    const std::vector<int> v{1, 2};
    return v.at(3);
}

[[gnu::noinline]] void failInATimer() {
    throw NilObjectException("no student");
}

class TestApplication : public QObject {
    Q_OBJECT
private slots:
    void timerErrorIsReportedAndTheProgramGoesOn();
    void buttonErrorLeavesTheWindowOpen();
    void aSecondErrorDuringAReportDoesNotStack();
    void openStepRunsInItsOrder();
    void startUpFinishesAndDoesNotQuitBetweenWindows();
    void missingPicturesAndSoundsAreTold_data();
    void missingPicturesAndSoundsAreTold();
    void libraryErrorsKeepTheirOwnThreadsStack();
};

void TestApplication::timerErrorIsReportedAndTheProgramGoesOn() {
    auto* app = App::Application::instance();
    QStringList reports;
    app->setReportShower([&](const QString& text) { reports << text; });
    QTimer::singleShot(0, [] { failInATimer(); });
    int laterTicks = 0;
    QTimer repeating;
    connect(&repeating, &QTimer::timeout, [&] { ++laterTicks; });
    repeating.start(5);
    QTRY_COMPARE(reports.size(), 1);
    QVERIFY2(reports[0].startsWith("Error: NilObjectException\n"), qPrintable(reports[0]));
    QVERIFY2(reports[0].contains("Sub failInATimer()"), qPrintable(reports[0]));
    QTRY_VERIFY(laterTicks >= 3); // timers still fire after the report
}

void TestApplication::buttonErrorLeavesTheWindowOpen() {
    auto* app = App::Application::instance();
    QStringList reports;
    app->setReportShower([&](const QString& text) { reports << text; });
    QWidget window;
    auto* button = new QPushButton("Go", &window);
    connect(button, &QPushButton::clicked, [] { throw std::out_of_range("problem 21 of 20"); });
    window.show();
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(reports.size(), 1);
    QVERIFY(reports[0].startsWith("Error: OutOfBoundsException\n"));
    QVERIFY(window.isVisible());
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(reports.size(), 2);
}

void TestApplication::aSecondErrorDuringAReportDoesNotStack() {
    auto* app = App::Application::instance();
    int shown = 0;
    app->setReportShower([&](const QString&) {
        ++shown;
        // While the report is "open", a repeating timer keeps failing.
        QTimer failing;
        connect(&failing, &QTimer::timeout, [] { throw EndException(); });
        failing.start(1);
        QTest::qWait(30);
    });
    QTimer::singleShot(0, [] { throw EndException(); });
    QTRY_COMPARE(shown, 1);
    QTest::qWait(20);
    QCOMPARE(shown, 1);
}

namespace {

// What the open step has done so far, each part seen by its effect.
struct Done {
    bool buttons, proxyIcon, preferences, sharedFolderChecked, database, sounds, pictures;
    bool operator==(const Done&) const = default;
};

// The dialogs of a test that also note what had been done when the wait window came up.
class WatchingDialogs : public TestDoubles::ScriptedDialogs {
public:
    std::function<void()> onWait;
    void showWaitWindow(const QString& text) override {
        ScriptedDialogs::showWaitWindow(text);
        if (onWait)
            onWait();
    }
};

WatchingDialogs* watching = nullptr;
QList<std::pair<QString, Done>> steps; // each step as it began, with what was done by then
QtMessageHandler previousHandler = nullptr;

Done doneSoFar() {
    return {!myGlobals::gActionBtn()[1].isNull(),
            !myGlobals::pFile.isEmpty(),
            myPrefs::prNumCrit == 60,
            watching && !watching->waitTexts.isEmpty(),
            DBCtrl::isConnected(),
            !mySounds::correctSnds[0].isEmpty(),
            !myPicts::numPicts()[0].isNull()};
}

void noteStep(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (context.category && QLatin1String(context.category) == QLatin1String("nbr.startup")) {
        if (message.startsWith(QLatin1String("open step: ")))
            steps.append({message.section(QStringLiteral("open step: "), 1), doneSoFar()});
    }
    else if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

// The open step's order, watched from outside: each step logs its name as it begins, and what the
// earlier steps have done is seen in their effects at that moment.
void TestApplication::openStepRunsInItsOrder() {
    // Preferences that keep the data in a reachable shared folder and ask for 60 problems.
    QTemporaryDir shared;
    const auto putBack = qScopeGuard([] {
        watching = nullptr;
        steps.clear();
        DBCtrl::closeDB();
        myPrefs::apply(myPrefs::Values{});
        myPrefs::writePrefFile(myPrefs::localPrefFile());
    });
    // The shared folder holds the school's database (of no bytes: made one in place at the start).
    QFile database(QDir(shared.path()).filePath(QString::fromLatin1(DBCtrl::kFileName)));
    QVERIFY(database.open(QIODevice::WriteOnly));
    database.close();
    myPrefs::prUseAltLoc = true;
    myPrefs::prAltFileLoc = shared.path();
    myPrefs::prNumCrit = 60;
    QVERIFY(myPrefs::hndlWritingPrefs());
    myPrefs::apply(myPrefs::Values{});
    QCOMPARE(myPrefs::prNumCrit, 40);
    DBCtrl::closeDB();
    myGlobals::gActionBtn() = {};
    myGlobals::pFile.clear();
    mySounds::correctSnds = {};
    myPicts::numPicts() = {};

    WatchingDialogs dialogs;
    watching = &dialogs;
    std::optional<Done> atTheWait;
    dialogs.onWait = [&] { atTheWait = doneSoFar(); };
    QLoggingCategory::setFilterRules(QStringLiteral("nbr.startup.debug=true"));
    previousHandler = qInstallMessageHandler(noteStep);
    App::Application::instance()->Event_Open();
    qInstallMessageHandler(previousHandler);
    QLoggingCategory::setFilterRules(QString());

    // Leftovers of stopped writes are cleared once the preferences name the data folder, before the
    // database opens there.
    const QStringList order{"random numbers",
                            "button pictures",
                            "proxy icon",
                            "pictures and sounds at hand",
                            "preferences",
                            "leftovers of stopped writes",
                            "database",
                            "sounds",
                            "digit and star pictures"};
    QStringList names;
    for (const auto& step : steps)
        names << step.first;
    QCOMPARE(names.mid(0, order.size()), order);
    const QList<Done> expected{
        {false, false, false, false, false, false, false}, // random numbers
        {false, false, false, false, false, false, false}, // button pictures
        {true, false, false, false, false, false, false},  // proxy icon
        {true, true, false, false, false, false, false},   // pictures and sounds at hand
        {true, true, false, false, false, false, false},   // preferences, with the shared folder's check
        {true, true, true, true, false, false, false},     // leftovers of stopped writes
        {true, true, true, true, false, false, false},     // database
        {true, true, true, true, true, false, false},      // sounds
        {true, true, true, true, true, true, false},       // digit and star pictures
    };
    for (int i = 0; i < expected.size(); ++i)
        QVERIFY2(steps[i].second == expected[i], qPrintable(order[i]));
    QVERIFY(atTheWait);
    // The shared folder is looked for after this computer's preferences are read, within their step.
    QVERIFY(*atTheWait == (Done{true, true, true, true, false, false, false}));
    QVERIFY(doneSoFar() == (Done{true, true, true, true, true, true, true}));
    QCOMPARE(QFileInfo(DBCtrl::databasePath()).absolutePath(), QFileInfo(shared.path()).absoluteFilePath());
}

void TestApplication::startUpFinishesAndDoesNotQuitBetweenWindows() {
    // A damaged preferences file: its step reports it, and the database still opens after it.
    const QString prefs = myPrefs::localPrefFile();
    QVERIFY(!prefs.isEmpty());
    QFile damaged(prefs);
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write("\x05"
                  "abc");
    damaged.close();

    TestDoubles::ScriptedDialogs dialogs;
    auto* app = App::Application::instance();
    QStringList reports;
    app->setReportShower([&](const QString& text) { reports << text; });
    QVERIFY(!app->quitOnLastWindowClosed());
    app->Event_Open();
    QVERIFY(app->openStepFinished());
    QVERIFY2(reports.isEmpty(), qPrintable(reports.join("\n")));
    QVERIFY2(dialogs.messages().contains("Unable to read the preferences"),
             qPrintable(dialogs.messages().join("|")));
    QVERIFY(DBCtrl::isConnected());
    QCOMPARE(QFileInfo(DBCtrl::databasePath()).fileName(), QStringLiteral("NB_Data.rbd"));
    QCOMPARE(myPrefs::prNumCrit, 40); // the defaults stand
    QVERIFY(dialogs.messages().last().startsWith("A new Database file was created at <"));
}

// A program whose pictures and sounds are gone or half copied says so once, naming where it looked;
// one that has them all says nothing.
void TestApplication::missingPicturesAndSoundsAreTold_data() {
    QTest::addColumn<int>("kept"); // -1: no folder at all; otherwise how many catalogue files it holds
    QTest::addColumn<QString>("message");
    QTest::newRow("no folder") << -1 << "Numbrook Riza cannot find its pictures and sounds.";
    QTest::newRow("an empty folder") << 0 << "Some of Numbrook Riza's pictures and sounds are missing.";
    QTest::newRow("all but one") << 1 << "Some of Numbrook Riza's pictures and sounds are missing.";
    QTest::newRow("all of them") << 2 << "";
}

void TestApplication::missingPicturesAndSoundsAreTold() {
    QFETCH(int, kept);
    QFETCH(QString, message);
    TempResources resources;
    const QStringList pictures = ProjectMedia::pictureNames();
    const QStringList sounds = ProjectMedia::soundNames();
    if (kept > 0) {
        for (const QString& name : pictures)
            QVERIFY(resources.addPicture(name, {4, 4}));
        for (const QString& name : sounds)
            QVERIFY(resources.addSound(name));
    }
    if (kept == 1)
        QVERIFY(resources.remove(ProjectMedia::soundFileName(sounds.last())));
    const QString gone = resources.path(QStringLiteral("gone"));
    if (kept < 0)
        qputenv("NBR_RESOURCES_DIR", gone.toLocal8Bit());

    TestDoubles::ScriptedDialogs dialogs;
    App::tellMissingMedia();
    if (message.isEmpty()) {
        QVERIFY2(dialogs.shown.isEmpty(), qPrintable(dialogs.messages().join('|')));
        return;
    }
    QCOMPARE(dialogs.shown.size(), 1);
    const auto& shown = dialogs.shown.first();
    QVERIFY(shown.isCaution);
    QCOMPARE(shown.message, message);
    if (kept < 0) {
        QVERIFY2(shown.explanation.contains(gone), qPrintable(shown.explanation));
    } else {
        const int total = int(pictures.size() + sounds.size());
        const QString missing = kept == 0 ? ProjectMedia::pictureFileName(pictures.first())
                                          : ProjectMedia::soundFileName(sounds.last());
        QVERIFY2(shown.explanation.startsWith(QStringLiteral("%1 of %2 files, such as \"%3\"")
                                                  .arg(kept == 0 ? total : 1)
                                                  .arg(total)
                                                  .arg(missing)),
                 qPrintable(shown.explanation));
        QVERIFY(shown.explanation.contains(QDir::toNativeSeparators(QFileInfo(resources.path("x")).absolutePath())));
    }
}

int main(int argc, char** argv) {
    App::Application app(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

// A library exception's stack is the one recorded at its throw, on its own thread: an exception thrown
// and caught on another thread meanwhile does not replace it.
void TestApplication::libraryErrorsKeepTheirOwnThreadsStack() {
    QStringList stack;
    QStringList otherThreads;
    try {
        readPastTheEnd();
    } catch (const std::out_of_range&) {
        std::thread([&otherThreads] {
            try {
                throw std::runtime_error("elsewhere");
            } catch (...) {
                otherThreads = ErrorStacks::ofCurrentException();
            }
        }).join();
        stack = ErrorStacks::ofCurrentException();
    }
    QVERIFY2(stack.join('\n').contains(QStringLiteral("readPastTheEnd")), qPrintable(stack.join('\n')));
    QVERIFY(!otherThreads.join('\n').contains(QStringLiteral("readPastTheEnd")));
}

#include "tst_application.moc"
