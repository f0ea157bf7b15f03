#include "setfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>

#include <algorithm>

namespace SetFile {
namespace {
const QString kEnding = QStringLiteral(".nbx");
constexpr int kMaxRecord = 255; // one length byte
} // namespace

QString fileNameFor(const QString& setName) {
    if (setName.endsWith(kEnding, Qt::CaseInsensitive))
        return setName.chopped(kEnding.size()) + kEnding;
    return setName + kEnding;
}

QString setNameOf(const QString& fileName) {
    return fileName.left(std::max<qsizetype>(0, fileName.size() - kEnding.size()));
}

bool nameAllowed(const QString& setName) {
    if (setName.startsWith(QLatin1Char('.')))
        return false;
    for (const QChar c : setName) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

bool writeRecords(QIODevice& out, const QStringList& rows) {
    for (const QString& row : rows) {
        for (const QChar c : row) {
            if (c.unicode() > 0xFF)
                return false;
        }
        const QByteArray bytes = row.toLatin1();
        if (bytes.size() > kMaxRecord)
            return false;
        if (!out.putChar(static_cast<char>(bytes.size())) || out.write(bytes) != bytes.size())
            return false;
    }
    return true;
}

bool save(const QString& folder, const QString& setName, const QStringList& rows, bool* nameTaken) {
    if (nameTaken)
        *nameTaken = false;
    if (folder.isEmpty())
        return false;
    QFile file(QDir(folder).filePath(fileNameFor(setName)));
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (nameTaken)
            *nameTaken = QFileInfo(file.fileName()).isFile();
        return false;
    }
    bool written = writeRecords(file, rows);
    written = file.flush() && written;
    file.close();
    if (written && file.error() == QFileDevice::NoError)
        return true;
    // A part-written set would be read as a set by the drill, and would keep its name taken.
    file.remove();
    return false;
}

} // namespace SetFile
