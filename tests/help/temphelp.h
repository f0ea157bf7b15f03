#pragma once

// A help folder of the test's own: the program looks there for its help pages while the object lives.
// And the check of tests that read the pages as they ship.

#include "help/helpfolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

class TempHelp {
public:
    TempHelp() : previous_(qgetenv("NBR_HELP_DIR")) { qputenv("NBR_HELP_DIR", dir_.path().toLocal8Bit()); }
    ~TempHelp() { qputenv("NBR_HELP_DIR", previous_); }
    TempHelp(const TempHelp&) = delete;
    TempHelp& operator=(const TempHelp&) = delete;

    QString path(const QString& fileName) const { return QDir(dir_.path()).filePath(fileName); }
    bool write(const QString& fileName, const QByteArray& html) const {
        QFile f(path(fileName));
        return f.open(QIODevice::WriteOnly) && f.write(html) == html.size();
    }

private:
    QTemporaryDir dir_;
    QByteArray previous_;
};

// Empty when the shipped help pages are where the program looks for them (a folder "NBQ_Help" beside
// the test program, which the build puts there, or NBR_HELP_DIR); otherwise what is missing.
inline QString shippedPagesMissing() {
    const QString folder = HelpFolder::path();
    if (!QDir(folder).entryList({QStringLiteral("*.html")}, QDir::Files).isEmpty())
        return {};
    return QStringLiteral("No help pages in %1: build the test (the build copies help/NBQ_Help beside "
                          "the test programs) or set NBR_HELP_DIR to the help/NBQ_Help folder of the "
                          "sources.")
        .arg(folder);
}
