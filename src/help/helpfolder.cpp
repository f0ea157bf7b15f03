#include "helpfolder.h"

#include <QCoreApplication>
#include <QDir>

namespace HelpFolder {

QString path() {
    const QString overridden = qEnvironmentVariable("NBR_HELP_DIR");
    if (!overridden.isEmpty())
        return QDir(overridden).absolutePath();
    return QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("NBQ_Help"));
}

QString page(const QString& fileName) {
    return QDir(path()).absoluteFilePath(fileName);
}

} // namespace HelpFolder
