// One write path of the windows (tests/classes/writepaths.h) run to its end on a database file, for
// the kill table: drv_writepath <database file> <path name> <import file>. Prints what the user was
// told, one message a line; exits 0 when the path ran.

#include "writepaths.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 4)
        return 2;
    const WritePaths::Path* path = WritePaths::pathNamed(QString::fromLocal8Bit(argv[2]));
    if (!path)
        return 2;
    TestDoubles::ScriptedDialogs dialogs;
    TestDoubles::RecordingFeedback feedback;
    myPrefs::initPrefs();
    if (!DBCtrl::connectToDB(QString::fromLocal8Bit(argv[1])))
        return 3;
    WritePaths::Context context;
    context.dialogs = &dialogs;
    context.importFile = QString::fromLocal8Bit(argv[3]);
    path->prepare(context);
    path->act(context);
    for (const QString& message : WritePaths::told(dialogs))
        std::printf("%s\n", qPrintable(QString(message).replace(QLatin1Char('\n'), QLatin1Char(' '))));
    std::fflush(stdout);
    WritePaths::closeWindows(context);
    DBCtrl::closeDB();
    return 0;
}
