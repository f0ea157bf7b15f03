#include "support/killpoints.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace KillPoints {

Outcome run(const QString& program, const QStringList& arguments, int killAt) {
    Outcome outcome;
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return outcome;
    const QString countFile = scratch.filePath(QStringLiteral("count"));

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(NBR_KILL_SHIM));
    env.insert(QStringLiteral("NBR_KILL_COUNT"), countFile);
    env.insert(QStringLiteral("NBR_KILL_AT"), QString::number(killAt));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(program, arguments);
    if (!child.waitForStarted(10000))
        return outcome;
    outcome.started = true;
    if (!child.waitForFinished(60000)) {
        child.kill();
        child.waitForFinished();
    }
    outcome.output = QString::fromLocal8Bit(child.readAll());
    outcome.killed = child.exitStatus() == QProcess::CrashExit;
    if (!outcome.killed)
        outcome.exitCode = child.exitCode();
    QFile count(countFile);
    if (count.open(QIODevice::ReadOnly))
        outcome.points = count.readAll().trimmed().toInt();
    return outcome;
}

QString driver(const QString& name) {
    return QDir(QCoreApplication::applicationDirPath()).filePath(name);
}

} // namespace KillPoints
