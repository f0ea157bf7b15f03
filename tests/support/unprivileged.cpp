#include "unprivileged.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace TestDoubles {

bool passesUnprivileged(const char* testFunction) {
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (setpriv.isEmpty()) {
        qWarning("setpriv is not installed: the check cannot run as an unprivileged user");
        return false;
    }
    // The build tree may lie in a folder only root may enter: the program goes where anyone may run
    // it, and the child's home where anyone may write.
    QTemporaryDir place(QDir::tempPath() + QStringLiteral("/nbr-unprivileged-XXXXXX"));
    if (!place.isValid())
        return false;
    QFile::setPermissions(place.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                            QFileDevice::ExeOther | QFileDevice::ReadGroup |
                                            QFileDevice::ExeGroup);
    const QString program = place.filePath(QStringLiteral("test-program"));
    if (!QFile::copy(QCoreApplication::applicationFilePath(), program))
        return false;
    QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                       QFileDevice::ExeOther | QFileDevice::ReadGroup |
                                       QFileDevice::ExeGroup);
    const QString home = place.filePath(QStringLiteral("home"));
    QDir().mkpath(home);
    QFile::setPermissions(home, QFileDevice::Permissions(0x7777));

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("NBR_TEST_HOME_BASE"), home);
    env.insert(QStringLiteral("TMPDIR"), home);
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.setWorkingDirectory(home);
    child.start(setpriv, {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                          QStringLiteral("--clear-groups"), QStringLiteral("--"), program,
                          QString::fromLatin1(testFunction)});
    const bool finished = child.waitForFinished(120000);
    const bool passed = finished && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
    if (!passed)
        qWarning().noquote() << "run as an unprivileged user:\n" << child.readAll();
    return passed;
}

} // namespace TestDoubles
