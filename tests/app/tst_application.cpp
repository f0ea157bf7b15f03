#include "app/application.h"
#include "data/dbctrl.h"
#include "data/locations.h"
#include "data/prefs.h"
#include "support/doubles.h"
#include "support/errors.h"

#include <QPushButton>
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
    void startUpFinishesAndDoesNotQuitBetweenWindows();
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
