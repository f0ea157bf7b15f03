#include "desktopapps.h"

#include <QProcess>
#include <QRegularExpression>

namespace DesktopApps {
namespace {

// One line of answer is what is asked for; more than that is not an answer.
constexpr qint64 kLongestAnswer = 1024;

// The one line xdg-mime prints for the question; empty when it cannot be run, fails, does not
// answer in time or prints more than a line.
QString askXdgMime(const QStringList& question) {
    QProcess process;
    process.setProgram(QStringLiteral("xdg-mime"));
    process.setArguments(QStringList{QStringLiteral("query")} + question);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted(kWaitMs))
        return {};
    if (!process.waitForFinished(kWaitMs)) {
        process.kill();
        process.waitForFinished(kWaitMs);
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    const QString answer = QString::fromLocal8Bit(process.read(kLongestAnswer)).trimmed();
    return answer.contains(QLatin1Char('\n')) ? QString() : answer;
}

} // namespace

QString defaultFor(const QString& mimeType) {
    const QString answer = askXdgMime({QStringLiteral("default"), mimeType});
    return answer.endsWith(QLatin1String(".desktop")) ? answer : QString();
}

QString defaultForFile(const QString& path) {
    // Some desktops add parameters ("text/rtf; charset=us-ascii"); the type is what comes before.
    const QString type =
        askXdgMime({QStringLiteral("filetype"), path}).section(QLatin1Char(';'), 0, 0).trimmed();
    static const QRegularExpression kType(QStringLiteral("^[A-Za-z0-9!#$&^_.+-]+/[A-Za-z0-9!#$&^_.+-]+$"));
    return kType.match(type).hasMatch() ? defaultFor(type) : QString();
}

} // namespace DesktopApps
