#pragma once

// A help folder of the test's own: the program looks there for its help pages while the object lives.

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
