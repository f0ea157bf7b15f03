#include "fixtures.h"

#include "data/dbctrl.h"
#include "data/globals.h"

#include <QDir>
#include <QSqlQuery>
#include <QStringList>

namespace TestDoubles {

TempDatabase::TempDatabase() {
    DBCtrl::check4Database(dir_.path());
}

TempDatabase::~TempDatabase() {
    DBCtrl::closeDB();
}

QString TempDatabase::file() const {
    return QDir(dir_.path()).absoluteFilePath(QString::fromLatin1(DBCtrl::kFileName));
}

bool TempDatabase::ok() const {
    return dir_.isValid() && DBCtrl::isConnected();
}

int TempDatabase::addStudent(const QString& name, const QString& className, const QString& password,
                             int halfStars) {
    QSqlQuery q(DBCtrl::NBData());
    q.prepare(QStringLiteral("INSERT INTO Names (StName, StClass, StStars, StPW) VALUES (?, ?, ?, ?)"));
    q.addBindValue(name);
    q.addBindValue(className);
    q.addBindValue(QString::number(halfStars));
    q.addBindValue(password.isEmpty() ? QString() : myGlobals::scrambleStr(password));
    q.exec();
    return q.lastInsertId().toInt();
}

void TempDatabase::addResults(int studentId, int right, int tried) {
    QStringList entries;
    for (int i = 0; i < 19; ++i)
        entries << QString::number(right) + QLatin1Char('/') + QString::number(tried);
    const QString counts = entries.join(QLatin1Char(','));
    QSqlQuery q(DBCtrl::NBData());
    q.prepare(
        QStringLiteral("INSERT INTO theData (StID, lastDate, stAdd, stSub, stMul, stDiv, stParam, zeriGames) "
                       "VALUES (?, '1/2/25', ?, ?, ?, ?, '0,0,10,1^1^1^1,0,15,10,0,0,0,0', "
                       "'99.99,99.99,0,99.99,0,99.99')"));
    q.addBindValue(studentId);
    for (int i = 0; i < 4; ++i)
        q.addBindValue(counts);
    q.exec();
}

QString TempDatabase::dataColumn(int studentId, const QString& column) const {
    QSqlQuery q(DBCtrl::NBData());
    q.prepare(QStringLiteral("SELECT %1 FROM theData WHERE StID = ?").arg(column));
    q.addBindValue(QString::number(studentId));
    if (q.exec() && q.next())
        return q.value(0).toString();
    return {};
}

QString TempDatabase::nameColumn(int studentId, const QString& column) const {
    QSqlQuery q(DBCtrl::NBData());
    q.prepare(QStringLiteral("SELECT %1 FROM Names WHERE StID = ?").arg(column));
    q.addBindValue(studentId);
    return q.exec() && q.next() ? q.value(0).toString() : QStringLiteral("<none>");
}

int TempDatabase::count(const QString& table, const QString& where, const QString& value) const {
    QSqlQuery q(DBCtrl::NBData());
    q.prepare(QStringLiteral("SELECT COUNT(*) FROM %1%2")
                  .arg(table, where.isEmpty() ? QString() : QStringLiteral(" WHERE %1 = ?").arg(where)));
    if (!where.isEmpty())
        q.addBindValue(value);
    if (q.exec() && q.next())
        return q.value(0).toInt();
    return -1;
}

namespace {
int otherComputers = 0;
}

OtherComputer::OtherComputer(const QString& file)
    : name_(QStringLiteral("other computer %1").arg(++otherComputers)) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
    db.setDatabaseName(file);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
    db.open();
}

OtherComputer::~OtherComputer() {
    release();
    QSqlDatabase::database(name_, false).close();
    QSqlDatabase::removeDatabase(name_);
}

bool OtherComputer::holdWriteLock() {
    held_ = exec(QStringLiteral("BEGIN IMMEDIATE"));
    return held_;
}

bool OtherComputer::holdExclusiveLock() {
    held_ = exec(QStringLiteral("BEGIN EXCLUSIVE"));
    return held_;
}

void OtherComputer::release() {
    if (held_)
        exec(QStringLiteral("ROLLBACK"));
    held_ = false;
}

bool OtherComputer::exec(const QString& sql) {
    QSqlQuery q(QSqlDatabase::database(name_, false));
    return q.exec(sql);
}

} // namespace TestDoubles
