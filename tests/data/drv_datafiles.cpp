// The program's start and the teacher's actions that write the data files, one per run, for the kill
// tests (tests/support/killpoints.h), in the platform folders of the test that started it:
//
//   start            the start: preferences, leftovers of stopped writes, the database
//   move <folder>    the start, then the move of the data to the shared folder ("Replace" when the
//                    folder already has preferences)
//   back             the start, then the move back to this computer
//   save <percent>   the start, then the preferences window's Save with a new percentage
//
// Exits 0 when the action ended as it should without a caution to the teacher. It prints each question
// it was asked ("asked: <question>"), each caution or plain message ("told: <message> / <explanation>")
// and, at its end, the database in use ("in use: <file>", empty when none is open), so that a test
// running two of them at once can tell which one was asked and which one uses what.

#include "data/dbctrl.h"
#include "data/locations.h"
#include "data/prefs.h"
#include "support/doubles.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

void startUp() {
    myPrefs::hndlReadingPrefs();
    myPrefs::removeCrashLeftovers();
    DBCtrl::check4Database(myPrefs::getDataFileLoc());
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString action = args.value(1);
    TestDoubles::ScriptedDialogs dialogs;
    startUp();
    bool ended = DBCtrl::isConnected();
    if (action == QStringLiteral("move") && args.size() == 3) {
        myPrefs::createRemoteFileInfo(args[2]);
        ended = myPrefs::prUseAltLoc && DBCtrl::isConnected();
    } else if (action == QStringLiteral("back")) {
        myPrefs::createLocalDataFile();
        ended = !myPrefs::prUseAltLoc && DBCtrl::isConnected();
    } else if (action == QStringLiteral("save") && args.size() == 3) {
        myPrefs::Changes changes; // the teacher changed the percentage alone
        changes.pctCrit = args[2].toInt();
        ended = myPrefs::hndlWritingPrefs(changes) && ended;
    } else if (action != QStringLiteral("start")) {
        return 2;
    }
    for (const TestDoubles::Shown& shown : dialogs.shown) {
        if (shown.kind == TestDoubles::Shown::Question) {
            std::fprintf(stdout, "asked: %s\n", qPrintable(shown.message));
        } else if ((shown.kind == TestDoubles::Shown::Msg && shown.isCaution) ||
                   shown.kind == TestDoubles::Shown::Plain) {
            std::fprintf(stdout, "told: %s / %s\n", qPrintable(shown.message), qPrintable(shown.explanation));
            ended = false;
        }
    }
    std::fprintf(stdout, "in use: %s\n", DBCtrl::isConnected() ? qPrintable(DBCtrl::databasePath()) : "");
    DBCtrl::closeDB();
    return ended ? 0 : 1;
}
