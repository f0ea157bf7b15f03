#include "support/killpoints.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

namespace KillPoints {

Outcome run(const QString& program, const QStringList& arguments, int killAt) {
    Outcome outcome;
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return outcome;
    const QString countFile = scratch.filePath(QStringLiteral("count"));

    QProcess child;
    child.setProcessEnvironment(underShim(QProcessEnvironment::systemEnvironment(), countFile, killAt));
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

QProcessEnvironment underShim(QProcessEnvironment base, const QString& countFile, int killAt, int stopAt) {
    base.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(NBR_KILL_SHIM));
    if (!countFile.isEmpty())
        base.insert(QStringLiteral("NBR_KILL_COUNT"), countFile);
    base.insert(QStringLiteral("NBR_KILL_AT"), QString::number(killAt));
    base.insert(QStringLiteral("NBR_STOP_AT"), QString::number(stopAt));
    return base;
}

bool waitUntilStopped(qint64 pid, int milliseconds) {
    // The state is the field after the command's name in parentheses: "T" for a stopped process.
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < milliseconds) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            return false;
        const QByteArray line = stat.readAll();
        const qsizetype close = line.lastIndexOf(')');
        if (close < 0 || close + 2 >= line.size())
            return false;
        const char state = line.at(close + 2);
        if (state == 'T' || state == 't')
            return true;
        if (state == 'Z' || state == 'X')
            return false;
        QThread::msleep(5);
    }
    return false;
}

QString driver(const QString& name) {
    return QDir(QCoreApplication::applicationDirPath()).filePath(name);
}

} // namespace KillPoints
