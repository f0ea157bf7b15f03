#pragma once

// A preferences file put together field by field, independently of the program's own writer, so
// that tests can state the stored layout and make files with any field wrong.

#include "data/globals.h"
#include "data/prefs.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

#include <optional>

#include <csignal>
#include <sys/resource.h>

namespace TestPrefs {

struct RawFile {
    QByteArray password; // field 1 as stored (scrambled)
    int useAltLoc = 0;
    QByteArray reference;            // field 4 as stored (Base64 lines)
    std::optional<qint64> refLength; // field 3 when it is not the true length of field 4
    int noClass = 1;
    int reqStPW = 0;
    int maxTries = 3;
    int dataSource = 0;
    int numCrit = 40;
    int pctCrit = 85;
    int hiCrit = 10;
    QByteArray sndSet = "2,0,0,0";
    std::optional<int> noAnim = 0; // none: a file from before field 13
    QByteArray trailing;           // bytes after the last field

    QByteArray bytes() const {
        QByteArray out;
        auto text = [&](const QByteArray& raw) {
            out.append(static_cast<char>(raw.size()));
            out.append(raw);
        };
        auto int16 = [&](int v) {
            out.append(static_cast<char>((v >> 8) & 0xFF));
            out.append(static_cast<char>(v & 0xFF));
        };
        text(password);
        out.append(static_cast<char>(useAltLoc));
        const quint32 length = static_cast<quint32>(refLength.value_or(reference.size()));
        for (int shift = 24; shift >= 0; shift -= 8)
            out.append(static_cast<char>((length >> shift) & 0xFF));
        out.append(reference);
        out.append(static_cast<char>(noClass));
        out.append(static_cast<char>(reqStPW));
        int16(maxTries);
        int16(dataSource);
        int16(numCrit);
        int16(pctCrit);
        int16(hiCrit);
        text(sndSet);
        if (noAnim)
            out.append(static_cast<char>(*noAnim));
        out.append(trailing);
        return out;
    }
};

inline bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

inline QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The values a preferences file holds, when it is one.
inline std::optional<myPrefs::Values> fileValues(const QString& path) {
    return myPrefs::decodeFile(readBytes(path));
}

inline bool writeValues(const QString& path, const myPrefs::Values& values) {
    const auto bytes = myPrefs::encodeFile(values);
    return bytes && writeBytes(path, *bytes);
}

// Every name in a folder, hidden ones included, with the bytes of each file: what another computer
// would find there.
inline QMap<QString, QByteArray> folderContents(const QString& folder) {
    QMap<QString, QByteArray> out;
    const QDir dir(folder);
    for (const QString& name :
         dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        const QString path = dir.filePath(name);
        const QFileInfo info(path);
        // A link stays a link, to the same file, which holds what it held.
        out.insert(name, info.isSymLink()
                             ? "<link to " + info.symLinkTarget().toUtf8() + "> " + readBytes(path)
                         : info.isDir() ? QByteArray("<folder>")
                                        : readBytes(path));
    }
    return out;
}

// A preferences file as another computer of the school saved it into the shared folder; one not
// whole has sound settings no save writes.
inline QByteArray schoolPrefs(const QString& password, bool whole = true) {
    RawFile f;
    f.password = myGlobals::scrambleStr(password).toUtf8();
    f.useAltLoc = 1;
    f.reference = QByteArray("/Volumes/School/Numbrook").toBase64();
    f.maxTries = 6;
    f.pctCrit = 70;
    f.sndSet = whole ? "1,2,3,4" : "loud";
    return f.bytes();
}

// Gives a folder what makes it the school's shared folder for the preferences: the database file.
// One of no bytes will do where nothing opens it (it is what a creation stopped half-way leaves).
inline bool putSchoolDatabase(const QString& folder) {
    const QString file = QDir(folder).filePath(QStringLiteral("NB_Data.rbd"));
    return QFile::exists(file) || writeBytes(file, QByteArray());
}

// Points the platform folders of this process at a fresh temporary folder, for one test.
class Sandbox {
public:
    Sandbox() {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(path(QStringLiteral("config"))));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(path(QStringLiteral("etc"))));
        qputenv("XDG_DATA_HOME", QFile::encodeName(path(QStringLiteral("data"))));
    }
    QString path(const QString& relative) const { return QDir(root_.path()).filePath(relative); }
    // Makes a folder (and its parents) inside the sandbox and gives its path.
    QString folder(const QString& relative) const {
        QDir().mkpath(path(relative));
        return path(relative);
    }

private:
    QTemporaryDir root_;
};

// While it lives, no file of this process can grow past the given size: a write beyond it fails, as
// on a full disk. Unlike file permissions, this also holds for the superuser.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
};

} // namespace TestPrefs
