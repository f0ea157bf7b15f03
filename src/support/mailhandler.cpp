#include "mailhandler.h"

#include <QProcess>

namespace MailHandler {
namespace {

Query& query() {
    static Query q = askDesktop;
    return q;
}

// One line naming a desktop entry is an answer; more than that is not what was asked for.
constexpr qint64 kLongestAnswer = 1024;

} // namespace

QString current() {
    return query()();
}

void setQuery(Query q) {
    query() = q ? std::move(q) : Query(askDesktop);
}

QString askDesktop() {
    QProcess process;
    process.setProgram(QStringLiteral("xdg-mime"));
    process.setArguments({QStringLiteral("query"), QStringLiteral("default"),
                          QStringLiteral("x-scheme-handler/mailto")});
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
    if (answer.contains(QLatin1Char('\n')) || !answer.endsWith(QLatin1String(".desktop")))
        return {};
    return answer;
}

} // namespace MailHandler
