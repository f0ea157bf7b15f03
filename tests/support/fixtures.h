#pragma once

// A fresh database in a temporary folder, for tests and benchmarks that need real tables.

#include <QString>
#include <QTemporaryDir>

namespace TestDoubles {

class TempDatabase {
public:
    // Creates "NB_Data.rbd" in a new temporary folder and connects to it (the creation note goes to
    // whatever dialogs double is installed).
    TempDatabase();
    ~TempDatabase();
    TempDatabase(const TempDatabase&) = delete;
    TempDatabase& operator=(const TempDatabase&) = delete;

    QString folder() const { return dir_.path(); }
    QString file() const;
    bool ok() const;

    // Adds a student straight into Names (password stored scrambled) and returns the new id.
    int addStudent(const QString& name, const QString& className, const QString& password = {},
                   int halfStars = 0);
    // Adds a full results row for the student, every fact with the given counts.
    void addResults(int studentId, int right, int tried);
    // The value of one column of a student's theData row, or a null text when there is no row.
    QString dataColumn(int studentId, const QString& column) const;
    // The value of one column of a student's Names row, or "<none>" when there is no row (a text no
    // column holds, so that a missing row never passes for a stored value).
    QString nameColumn(int studentId, const QString& column) const;
    // A whole-table count, for checking what an operation left behind.
    int count(const QString& table, const QString& where = {}, const QString& value = {}) const;

private:
    QTemporaryDir dir_;
};

// Another computer of the school on the same database file: its own connection, which can take and
// hold the write lock (or a read lock) for as long as a test needs, as a computer stopped mid-write
// would.
class OtherComputer {
public:
    explicit OtherComputer(const QString& file);
    ~OtherComputer();
    OtherComputer(const OtherComputer&) = delete;
    OtherComputer& operator=(const OtherComputer&) = delete;

    // BEGIN IMMEDIATE: nobody else may write until release(). False when the lock was not free.
    bool holdWriteLock();
    // BEGIN EXCLUSIVE: nobody else may even read until release().
    bool holdExclusiveLock();
    void release();
    // Runs one statement on this computer's connection (outside or inside its held transaction).
    bool exec(const QString& sql);

private:
    QString name_;
    bool held_ = false;
};

} // namespace TestDoubles
