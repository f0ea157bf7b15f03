#pragma once

// Small looks at the data files from outside the program, for the data layer's tests and their
// driver programs.

#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QThread>

#include <sys/stat.h>
#include <sys/time.h>

namespace TestFiles {

// The permission bits as stored; access checks would tell nothing when the tests run as root.
inline int modeOf(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return -1;
    return static_cast<int>(st.st_mode & 07777);
}

// Sets a file's times back, as if nothing had touched it for that long.
inline bool ageBy(const QString& path, int seconds) {
    struct stat st {};
    const QByteArray name = QFile::encodeName(path);
    if (::stat(name.constData(), &st) != 0)
        return false;
    const timeval times[2] = {{st.st_atime - seconds, 0}, {st.st_mtime - seconds, 0}};
    return ::utimes(name.constData(), times) == 0;
}

// Waits up to 20 seconds for a file to appear (another program's signal).
inline bool waitForFile(const QString& file) {
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(file)) {
        if (waited.elapsed() > 20000)
            return false;
        QThread::usleep(200);
    }
    return true;
}

// Reads a database file on a read-only connection of its own beside the program's: `use` gets the
// open connection (it is not called when the file cannot be opened).
template <typename Use> void readDatabase(const QString& databaseFile, Use&& use) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("peek"));
        db.setDatabaseName(databaseFile);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open())
            use(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("peek"));
}

// SQLite's integrity check of a database file ("ok" when sound).
inline QString integrityOf(const QString& databaseFile) {
    QString answer;
    readDatabase(databaseFile, [&](const QSqlDatabase& db) {
        QSqlQuery q(db);
        if (q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next())
            answer = q.value(0).toString();
    });
    return answer;
}

// The students' names in a database file; "<damaged>" alone when it fails the integrity check.
inline QStringList studentsIn(const QString& databaseFile) {
    if (integrityOf(databaseFile) != QStringLiteral("ok"))
        return {QStringLiteral("<damaged>")};
    QStringList names;
    readDatabase(databaseFile, [&](const QSqlDatabase& db) {
        QSqlQuery q(db);
        q.exec(QStringLiteral("SELECT StName FROM Names ORDER BY StID"));
        while (q.next())
            names << q.value(0).toString();
    });
    return names;
}

} // namespace TestFiles
