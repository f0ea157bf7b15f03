#include "helpfolder.h"

#include "app/media.h"

#include <QDir>

namespace HelpFolder {

QString path() {
    const QString overridden = qEnvironmentVariable("NBR_HELP_DIR");
    if (!overridden.isEmpty())
        return QDir(overridden).absolutePath();
    const QString found = SpecialFolderWendle::findShipped(QStringLiteral("NBQ_Help"), true);
    if (!found.isEmpty())
        return found;
    // None anywhere: the place beside the program, which a message about a missing page then names.
    return QDir(SpecialFolderWendle::BundleMacOSFolder()).absoluteFilePath(QStringLiteral("NBQ_Help"));
}

QString page(const QString& fileName) {
    return QDir(path()).absoluteFilePath(fileName);
}

} // namespace HelpFolder
