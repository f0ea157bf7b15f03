#include "strecord.h"

#include "dbctrl.h"
#include "globals.h"
#include "prefs.h"
#include "seams.h"

#include <QLocale>

#include <algorithm>

namespace {

const char* const kOperationWords[] = {"addition", "subtraction", "multiplication", "division"};

// A stored list that lost entries, or holds empty ones, is completed from the defaults so that no
// reader ever indexes past its end.
void completeList(QStringList& list, const QStringList& defaults, bool numbersOnly) {
    for (qsizetype i = 0; i < defaults.size(); ++i) {
        if (i >= list.size()) {
            list.append(defaults[i]);
            continue;
        }
        bool isNumber = true;
        if (numbersOnly)
            QLocale::c().toDouble(list[i].trimmed(), &isNumber);
        if (list[i].trimmed().isEmpty() || !isNumber)
            list[i] = defaults[i];
    }
}

QString countsText(const StRecord::Counts& right, const StRecord::Counts& tried) {
    QStringList entries;
    entries.reserve(StRecord::kFacts);
    for (int i = 0; i < StRecord::kFacts; ++i)
        entries << QString::number(right[i]) + QLatin1Char('/') + QString::number(tried[i]);
    return entries.join(QLatin1Char(','));
}

} // namespace

StRecord::StRecord(const QString& name, const QString& className, int id, const QString& storedPassword,
                   int stars)
    : curClass(className), curStudent(name), curStID(id), curStPW(myGlobals::unscrambleStr(storedPassword)),
      curStars(std::clamp(stars, 0, kMaxHalfStars)) {
    for (int i = 0; i < kParams; ++i)
        myParams << QString();
    for (int i = 0; i < kGames; ++i)
        myZeriScrs << QString();
}

QStringList StRecord::defaultParams() {
    return {QStringLiteral("0"), QStringLiteral("0"),  QStringLiteral("10"), QStringLiteral("1^1^1^1"),
            QStringLiteral("0"), QStringLiteral("15"), QStringLiteral("10"), QStringLiteral("0"),
            QStringLiteral("0"), QStringLiteral("0")};
}

QStringList StRecord::defaultZeriScrs() {
    return {QStringLiteral("99.99"), QStringLiteral("99.99"), QStringLiteral("0"),
            QStringLiteral("99.99"), QStringLiteral("0"),     QStringLiteral("99.99")};
}

StRecord::Counts& StRecord::corFor(int operation) {
    switch (operation) {
    case 1:
        return subCor;
    case 2:
        return mulCor;
    case 3:
        return divCor;
    default:
        return addCor;
    }
}

StRecord::Counts& StRecord::triedFor(int operation) {
    switch (operation) {
    case 1:
        return subTried;
    case 2:
        return mulTried;
    case 3:
        return divTried;
    default:
        return addTried;
    }
}

QString& StRecord::dataFor(int operation) {
    switch (operation) {
    case 1:
        return subData;
    case 2:
        return mulData;
    case 3:
        return divData;
    default:
        return addData;
    }
}

void StRecord::getStudentData() {
    DBCtrl::Result row = DBCtrl::exec(
        QStringLiteral("SELECT lastDate, stAdd, stSub, stMul, stDiv, stParam, zeriGames FROM theData "
                       "WHERE StID = ? ORDER BY DataID LIMIT 1"),
        {QString::number(curStID)});
    if (row.next()) {
        curLastDate = row.value(0).toString();
        addData = row.value(1).toString();
        subData = row.value(2).toString();
        mulData = row.value(3).toString();
        divData = row.value(4).toString();
        myParams = row.value(5).toString().split(QLatin1Char(','));
        myZeriScrs = row.value(6).toString().split(QLatin1Char(','));
        row.finish();
        completeList(myParams, defaultParams(), false);
        completeList(myZeriScrs, defaultZeriScrs(), true);
        if (myParams.size() <= ReservedParam)
            myParams.append(QStringLiteral("0"));
    } else {
        row.finish();
        initData();
    }
    parseData();
}

void StRecord::initData() {
    if (!DBCtrl::isConnected()) {
        Seams::dialogs().plainMessage(QStringLiteral("Error in creating a new data entry"));
        return;
    }
    curLastDate = DBCtrl::todayText();
    for (int op = 0; op < kOperations; ++op)
        dataFor(op) = createZeroData();
    const QString params = createDefParams();
    const QString bests = createDefZeriScrs();

    DBCtrl::Transaction tx;
    const bool inserted =
        tx.ok() &&
        DBCtrl::exec(QStringLiteral("INSERT INTO theData (StID, lastDate, stAdd, stSub, stMul, stDiv, "
                                    "stParam, zeriGames) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                     {curStID, curLastDate, addData, subData, mulData, divData, params, bests});
    if (!inserted)
        DBCtrl::DisplayDatabaseError(tx.ok() ? DBCtrl::lastError() : tx.error());
    else if (!tx.commit())
        DBCtrl::DisplayDatabaseError(tx.error());
}

QString StRecord::createZeroData() const {
    return (QStringLiteral("0/0,").repeated(kFacts)).chopped(1);
}

QString StRecord::createDefParams() {
    const QStringList defaults = defaultParams();
    while (myParams.size() < kParams)
        myParams.append(QString());
    for (int i = 0; i < kParams; ++i)
        myParams[i] = defaults[i];
    return myParams.join(QLatin1Char(','));
}

QString StRecord::createDefZeriScrs() {
    const QStringList defaults = defaultZeriScrs();
    while (myZeriScrs.size() < kGames)
        myZeriScrs.append(QString());
    for (int i = 0; i < kGames; ++i)
        myZeriScrs[i] = defaults[i];
    return myZeriScrs.join(QLatin1Char(','));
}

void StRecord::parseData() {
    for (int op = 0; op < kOperations; ++op) {
        const QStringList entries = dataFor(op).split(QLatin1Char(','));
        if (entries.size() != kFacts) {
            Seams::dialogs().plainMessage(QStringLiteral("Error in the student's <") +
                                          QLatin1String(kOperationWords[op]) + QStringLiteral("> data"));
            continue;
        }
        Counts& right = corFor(op);
        Counts& tried = triedFor(op);
        for (int i = 0; i < kFacts; ++i) {
            const QStringList parts = entries[i].split(QLatin1Char('/'));
            // A count is never negative; a damaged one reads as nothing tried.
            right[i] = std::max(0, myGlobals::textToInt(parts.value(0)));
            tried[i] = std::max(0, myGlobals::textToInt(parts.value(1)));
        }
    }
}

void StRecord::updateData() {
    DBCtrl::Transaction tx;
    if (!tx.ok()) {
        if (!DBCtrl::isConnected())
            Seams::dialogs().plainMessage(
                QStringLiteral("Database Error") + QStringLiteral("\n\n") +
                QStringLiteral("Could not find the selected record in the database."));
        else
            DBCtrl::DisplayDatabaseError(tx.error());
        return;
    }
    DBCtrl::Result row =
        DBCtrl::exec(QStringLiteral("SELECT DataID FROM theData WHERE StID = ? ORDER BY DataID LIMIT 1"),
                     {QString::number(curStID)});
    if (!row.next()) {
        row.finish();
        Seams::dialogs().plainMessage(QStringLiteral("Database Error") + QStringLiteral("\n\n") +
                                      QStringLiteral("Could not find the selected record in the database."));
        return;
    }
    const qlonglong dataId = row.value(0).toLongLong();
    row.finish();

    const QString today = DBCtrl::todayText();
    if (!DBCtrl::exec(QStringLiteral("UPDATE theData SET lastDate = ?, stAdd = ?, stSub = ?, stMul = ?, "
                                     "stDiv = ?, stParam = ?, zeriGames = ? WHERE DataID = ?"),
                      {today, addData, subData, mulData, divData, myParams.join(QLatin1Char(',')),
                       myZeriScrs.join(QLatin1Char(',')), dataId})) {
        DBCtrl::DisplayDatabaseError(DBCtrl::lastError());
        return;
    }
    if (!tx.commit()) {
        DBCtrl::DisplayDatabaseError(tx.error());
        return;
    }
    curLastDate = today;
}

void StRecord::rejoinData() {
    for (int op = 0; op < kOperations; ++op)
        dataFor(op) = countsText(corFor(op), triedFor(op));
    updateData();
    parsePcts();
    checkCompletedTot();
}

void StRecord::parsePcts() {
    const int criterion = std::max(myPrefs::prNumCrit, 1);
    for (int op = 0; op < kOperations; ++op) {
        const Counts& right = corFor(op);
        const Counts& tried = triedFor(op);
        for (int i = 0; i < kFacts; ++i) {
            // Multiplying before dividing keeps whole percentages exact: 29 of 50 is 58, not 57.99...
            const int divisor = std::max(tried[i], criterion);
            curPct[op][i] = right[i] * 100.0 / divisor;
        }
    }
}

void StRecord::recheckStarTot() {
    parseData();
    parsePcts();
    checkCompletedTot();
}

void StRecord::checkCompletedTot() {
    const int highest = std::clamp(myPrefs::prHiCrit, 1, kFacts);
    int total = 0;
    for (int op = 0; op < kOperations; ++op) {
        int known = 0;
        for (int k = 1; k <= highest; ++k) {
            if (curPct[op][k - 1] >= myPrefs::prPctCrit)
                ++known;
        }
        if (known == highest)
            total += 2;
        else if (known >= highest / 2)
            total += 1;
    }
    if (total == curStars)
        return;
    const bool rose = total > curStars;
    curStars = total;
    DBCtrl::updateNames(curStudent, curClass, QString::number(curStID), curStPW, QString::number(total));
    if (rose)
        showCongrats(total);
    else
        Seams::dialogs().plainMessage(curStudent + QStringLiteral("'s stars have been reset to ") +
                                      myGlobals::starText(total));
}

void StRecord::showCongrats(int total) {
    const QString hallOfFameLater =
        QStringLiteral("When you have 4 stars, your name will be added to the Numbrook Riza Hall of Fame.");
    QString first;
    QString second = hallOfFameLater;
    switch (total) {
    case 1:
        first = QStringLiteral("You have earned your first half of a star.");
        break;
    case 2:
        first = QStringLiteral("You have earned your first whole star.");
        break;
    case 3:
    case 5:
    case 7:
        first = QStringLiteral("You have added a half of a star to your total");
        break;
    case 4:
    case 6:
        first = QStringLiteral("You have earned another star!");
        break;
    default:
        if (DBCtrl::insertHOF(curStudent)) {
            first = QStringLiteral("You have been added to the Numbrook Riza Hall of Fame.");
            second = QStringLiteral("Choose <Show List> from the Hall of Fame menu to see your name.");
        } else {
            first = QStringLiteral("You have once again met the standards for the Hall of Fame.");
            second =
                QStringLiteral("Since you are already a member of the Hall of Fame, your name has not been "
                               "re-added.");
        }
        break;
    }
    myGlobals::gShowMsg(false,
                        QStringLiteral("Congratulations, ") + curStudent + QLatin1Char('\n') + first +
                            QLatin1Char('\n') + second,
                        QStringLiteral("Click to Continue"));
}

QString StRecord::getFirstName() const {
    return curStudent.section(QLatin1Char(' '), 0, 0);
}
