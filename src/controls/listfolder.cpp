#include "listfolder.h"

#include <QDir>
#include <QFileInfo>

namespace ListFolder {

namespace {

QString& lastFolder() {
    static QString folder;
    return folder;
}

} // namespace

QString start() {
    // A folder removed or unmounted since (a memory stick) is no place to start.
    const QString& last = lastFolder();
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    return QDir::homePath();
}

void remember(const QString& chosenFile) {
    if (!chosenFile.isEmpty())
        lastFolder() = QFileInfo(chosenFile).absolutePath();
}

} // namespace ListFolder
