#include "strecord.h"

#include "dbctrl.h"
#include "globals.h"
#include "prefs.h"
#include "seams.h"

#include <QLocale>
#include <QStringTokenizer>

#include <QSqlError>

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>

namespace {

const char* const kOperationWords[] = {"addition", "subtraction", "multiplication", "division"};

const QString kSelectRow = QStringLiteral(
    "SELECT DataID, lastDate, stAdd, stSub, stMul, stDiv, stParam, zeriGames FROM theData WHERE StID = ? "
    "ORDER BY DataID LIMIT 1");
const QString kUpdateRow = QStringLiteral("UPDATE theData SET lastDate = ?, stAdd = ?, stSub = ?, stMul = ?, "
                                          "stDiv = ?, stParam = ?, zeriGames = ? WHERE DataID = ?");
const QString kSelectStars = QStringLiteral("SELECT StStars FROM Names WHERE StID = ?");
const QString kUpdateStars = QStringLiteral("UPDATE Names SET StStars = ? WHERE StID = ?");

// A results row that could not be read or made: while another computer holds the database this
// says so; any other failure is a database error.
void tellNotLoaded(const QSqlError& error) {
    DBCtrl::tellNotDone(QStringLiteral("The student's results could not be loaded"), error,
                        QStringLiteral("Nothing has been changed. Please try again in a moment."));
}

QString missingRowText() {
    return QStringLiteral("Database Error") + QStringLiteral("\n\n") +
           QStringLiteral("Could not find the selected record in the database.");
}

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

// The stored drill settings, completed; a loaded record also holds the reserved entry.
QStringList paramsFromText(const QString& text, bool withReserved) {
    QStringList params = text.split(QLatin1Char(','));
    completeList(params, StRecord::defaultParams(), false);
    if (withReserved && params.size() <= StRecord::ReservedParam)
        params.append(QStringLiteral("0"));
    return params;
}

QStringList bestsFromText(const QString& text) {
    QStringList bests = text.split(QLatin1Char(','));
    completeList(bests, StRecord::defaultZeriScrs(), true);
    return bests;
}

using OpCounts = StRecord::OpCounts;

// One operation's counts text: nineteen "right/tried" entries. Nothing for a text of another length.
std::optional<OpCounts> readCounts(QStringView text) {
    OpCounts counts;
    int index = 0;
    for (const QStringView entry : text.tokenize(QLatin1Char(','))) {
        if (index == StRecord::kFacts)
            return std::nullopt;
        // Each number is read up to the first character that is not part of it (the "/" among them);
        // a count is never negative, and a damaged one reads as nothing tried.
        const qsizetype slash = entry.indexOf(QLatin1Char('/'));
        counts.right[index] = std::max(0, myGlobals::textToInt(entry));
        counts.tried[index] = slash < 0 ? 0 : std::max(0, myGlobals::textToInt(entry.mid(slash + 1)));
        ++index;
    }
    if (index != StRecord::kFacts)
        return std::nullopt;
    return counts;
}

QString countsText(const StRecord::Counts& right, const StRecord::Counts& tried) {
    // 19 entries of two numbers of at most 10 digits, a "/" and a ",".
    std::array<char, StRecord::kFacts * 23> out;
    char* at = out.data();
    for (int i = 0; i < StRecord::kFacts; ++i) {
        if (i > 0)
            *at++ = ',';
        at = std::to_chars(at, at + 11, right[i]).ptr;
        *at++ = '/';
        at = std::to_chars(at, at + 11, tried[i]).ptr;
    }
    return QString::fromLatin1(out.data(), at - out.data());
}

int addCount(int stored, int mine, int base) {
    const qint64 sum = qint64(stored) + qint64(mine) - qint64(base);
    return static_cast<int>(std::clamp<qint64>(sum, 0, std::numeric_limits<int>::max()));
}

// The stored list with this visit's changes put in: an entry that differs from what was loaded or
// saved last, or that is forced, takes the memory's value; every other entry keeps the stored one.
// Entries the stored list lacks (the reserved drill setting a load adds) come from memory.
template <std::size_t N>
QStringList mergeList(QStringList stored, const QStringList& mine, const QStringList& base,
                      const std::array<bool, N>* forced = nullptr) {
    for (qsizetype i = 0; i < mine.size(); ++i) {
        const bool force = forced && std::size_t(i) < N && (*forced)[std::size_t(i)];
        if (i < stored.size() && !force && i < base.size() && mine[i] == base[i])
            continue;
        while (stored.size() <= i)
            stored.append(mine[stored.size()]);
        stored[i] = mine[i];
    }
    return stored;
}

double percent(int right, int tried) {
    // Multiplying before dividing keeps whole percentages exact: 29 of 50 is 58, not 57.99...
    return right * 100.0 / StRecord::divisorFor(tried);
}

// The star total in half stars from the percent of each operation (0 to 3) and entry (0 to 18).
template <typename Percent> int starTotal(Percent pct) {
    static_assert(myPrefs::kMaxHiCrit <= StRecord::kFacts, "a counted family is one the record holds");
    const myPrefs::Values prefs = myPrefs::inForce();
    const int highest = prefs.hiCrit;
    int total = 0;
    for (int op = 0; op < StRecord::kOperations; ++op) {
        int known = 0;
        for (int k = 0; k < highest; ++k) {
            if (pct(op, k) >= prefs.pctCrit)
                ++known;
        }
        if (known == highest)
            total += 2;
        else if (known >= highest / 2)
            total += 1;
    }
    return total;
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
    loaded_ = false;
    DBCtrl::Result row = DBCtrl::exec(kSelectRow, {QString::number(curStID)});
    if (!row) {
        // A failed read is not "no results yet": nothing is made and nothing may be saved over the row.
        if (!DBCtrl::isConnected())
            Seams::dialogs().plainMessage(QStringLiteral("Error in creating a new data entry"));
        else
            tellNotLoaded(DBCtrl::lastError());
        return;
    }
    if (row.next()) {
        takeRow(row);
        row.finish();
    } else {
        row.finish();
        if (!initData())
            return;
    }
    parseData();
    remember();
    loaded_ = true;
}

void StRecord::takeRow(const DBCtrl::Result& row) {
    curLastDate = row.value(1).toString();
    for (int op = 0; op < kOperations; ++op)
        dataFor(op) = row.value(2 + op).toString();
    myParams = paramsFromText(row.value(6).toString(), true);
    myZeriScrs = bestsFromText(row.value(7).toString());
}

bool StRecord::initData() {
    if (!DBCtrl::isConnected()) {
        Seams::dialogs().plainMessage(QStringLiteral("Error in creating a new data entry"));
        return false;
    }
    DBCtrl::reachRacePoint(DBCtrl::RacePoint::BeforeResultsRowCreated);
    const QString today = DBCtrl::todayText();
    const QString zero = createZeroData();
    const QString params = defaultParams().join(QLatin1Char(','));
    const QString bests = defaultZeriScrs().join(QLatin1Char(','));
    QSqlError error;
    bool madeHere = false;
    {
        // Another computer signing the same student in may have made the row since it was looked
        // for; under the write lock the look is certain.
        DBCtrl::Transaction tx;
        if (!tx.ok()) {
            error = tx.error();
        } else if (DBCtrl::Result row = DBCtrl::exec(kSelectRow, {QString::number(curStID)}); !row) {
            error = DBCtrl::lastError();
        } else if (row.next()) {
            takeRow(row);
            return true; // only read: the transaction rolls back
        } else {
            row.finish();
            if (!DBCtrl::exec(
                    QStringLiteral("INSERT INTO theData (StID, lastDate, stAdd, stSub, stMul, stDiv, "
                                   "stParam, zeriGames) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                    {curStID, today, zero, zero, zero, zero, params, bests}))
                error = DBCtrl::lastError();
            else if (!tx.commit())
                error = tx.error();
            else
                madeHere = true;
        }
    }
    if (!madeHere) {
        tellNotLoaded(error);
        return false;
    }
    // The record takes the new row only once it is stored.
    curLastDate = today;
    for (int op = 0; op < kOperations; ++op)
        dataFor(op) = zero;
    myParams = defaultParams();
    myZeriScrs = defaultZeriScrs();
    return true;
}

void StRecord::remember() {
    for (int op = 0; op < kOperations; ++op) {
        saved_.right[op] = corFor(op);
        saved_.tried[op] = triedFor(op);
    }
    saved_.params = myParams;
    saved_.bests = myZeriScrs;
    zeroed_ = {};
    bestReset_ = {};
}

QString StRecord::createZeroData() const {
    return (QStringLiteral("0/0,").repeated(kFacts)).chopped(1);
}

void StRecord::parseData() {
    for (int op = 0; op < kOperations; ++op) {
        const auto counts = readCounts(dataFor(op));
        if (!counts) {
            Seams::dialogs().plainMessage(QStringLiteral("Error in the student's <") +
                                          QLatin1String(kOperationWords[op]) + QStringLiteral("> data"));
            continue;
        }
        corFor(op) = counts->right;
        triedFor(op) = counts->tried;
    }
}

void StRecord::zeroCounts(int operation) {
    if (operation < 0 || operation >= kOperations)
        return;
    dataFor(operation) = createZeroData();
    corFor(operation) = Counts{};
    triedFor(operation) = Counts{};
    zeroed_[operation] = true;
}

void StRecord::resetGameBest(int game) {
    if (game < 0 || game >= kGames)
        return;
    while (myZeriScrs.size() <= game)
        myZeriScrs.append(QString());
    myZeriScrs[game] = defaultZeriScrs()[game];
    bestReset_[game] = true;
}

QString StRecord::mergeCounts(int op, const QString& storedText, OpCounts& merged) {
    const auto mine = readCounts(dataFor(op));
    const auto stored = readCounts(storedText);
    if (!mine) {
        // Memory holds a damaged text it could not read: this visit added nothing to it.
        merged = stored.value_or(OpCounts{});
        return storedText;
    }
    // A reset: zeroCounts() marked it, or the counts fell below what was loaded.
    bool replace = zeroed_[op] || !stored;
    for (int i = 0; i < kFacts && !replace; ++i)
        replace = mine->right[i] < saved_.right[op][i] || mine->tried[i] < saved_.tried[op][i];
    if (replace) {
        merged = *mine;
    } else {
        for (int i = 0; i < kFacts; ++i) {
            merged.right[i] = addCount(stored->right[i], mine->right[i], saved_.right[op][i]);
            merged.tried[i] = addCount(stored->tried[i], mine->tried[i], saved_.tried[op][i]);
        }
    }
    return countsText(merged.right, merged.tried);
}

bool StRecord::saveMerged(SaveKind kind, StarChange& stars) {
    const bool recountStars = kind != SaveKind::Settings;
    if (!loaded_) {
        Seams::dialogs().plainMessage(
            QStringLiteral("Database Error") + QStringLiteral("\n\n") +
            QStringLiteral("The student's results could not be read, so nothing was saved over them."));
        return false;
    }
    if (!DBCtrl::isConnected()) {
        Seams::dialogs().plainMessage(missingRowText());
        return false;
    }
    const QString id = QString::number(curStID);
    const QString today = DBCtrl::todayText();
    std::array<QString, kOperations> texts;
    std::array<OpCounts, kOperations> merged;
    QStringList params, bests;
    int total = 0;
    QSqlError error;
    bool rowMissing = false;
    bool saved = false;
    {
        // No message is shown while the write lock is held: other computers wait for it.
        DBCtrl::Transaction tx;
        DBCtrl::Result row;
        if (!tx.ok())
            error = tx.error();
        else if (row = DBCtrl::exec(kSelectRow, {id}); !row)
            error = DBCtrl::lastError();
        else if (!row.next())
            rowMissing = true;
        if (tx.ok() && row && !rowMissing) {
            const qlonglong dataId = row.value(0).toLongLong();
            for (int op = 0; op < kOperations; ++op)
                texts[op] = mergeCounts(op, row.value(2 + op).toString(), merged[op]);
            params = mergeList<0>(paramsFromText(row.value(6).toString(), false), myParams, saved_.params);
            bests = mergeList(bestsFromText(row.value(7).toString()), myZeriScrs, saved_.bests, &bestReset_);
            row.finish();

            bool ok = static_cast<bool>(DBCtrl::exec(kUpdateRow, {today, texts[0], texts[1], texts[2],
                                                                  texts[3], params.join(QLatin1Char(',')),
                                                                  bests.join(QLatin1Char(',')), dataId}));
            if (ok && recountStars) {
                total = starTotal(
                    [&](int op, int i) { return percent(merged[op].right[i], merged[op].tried[i]); });
                ok = storeStarTotal(total, stars);
            }
            if (!ok)
                error = DBCtrl::lastError();
            else if (!tx.commit())
                error = tx.error();
            else
                saved = true;
        }
    }
    if (rowMissing) {
        Seams::dialogs().plainMessage(missingRowText());
        return false;
    }
    if (!saved) {
        tellNotSaved(kind, error);
        return false;
    }
    // The memory now holds the merged row: percentages and stars follow from everyone's answers.
    for (int op = 0; op < kOperations; ++op) {
        dataFor(op) = texts[op];
        corFor(op) = merged[op].right;
        triedFor(op) = merged[op].tried;
    }
    myParams = params;
    myZeriScrs = bests;
    curLastDate = today;
    if (recountStars)
        curStars = total;
    remember();
    return true;
}

void StRecord::updateData() {
    StarChange none;
    saveMerged(SaveKind::Settings, none);
}

void StRecord::rejoinData() {
    for (int op = 0; op < kOperations; ++op)
        dataFor(op) = countsText(corFor(op), triedFor(op));
    StarChange stars;
    const bool saved = saveMerged(SaveKind::Play, stars);
    parsePcts();
    if (saved)
        tellStars(stars);
}

void StRecord::tellNotSaved(SaveKind kind, const QSqlError& error) {
    // What this visit did stays in memory and goes with the next save; only signing in as someone
    // else (or the program's end) drops it.
    const QString kept =
        QStringLiteral("It is kept while you stay signed in, and is saved with your next round or game.");
    switch (kind) {
    case SaveKind::Play:
        DBCtrl::tellNotDone(QStringLiteral("Your results were not saved"), error, kept);
        return;
    case SaveKind::Settings:
        DBCtrl::tellNotDone(QStringLiteral("Your settings were not saved"), error, kept);
        return;
    case SaveKind::Reset:
        if (DBCtrl::isBusy(error)) {
            DBCtrl::tellNotDone(QStringLiteral("Nothing was reset"), error,
                                QStringLiteral("The scores and stars are as they were. Please try again in "
                                               "a moment."));
            return;
        }
        DBCtrl::DisplayDatabaseError(error, QStringLiteral("Nothing was reset."));
        return;
    }
}

bool StRecord::storeStarTotal(int total, StarChange& stars) {
    DBCtrl::Result names = DBCtrl::exec(kSelectStars, {curStID});
    if (!names)
        return false;
    stars.namesRowFound = names.next();
    // Compared with what is stored: another computer may have counted it already.
    const int stored = stars.namesRowFound
                           ? std::clamp(myGlobals::textToInt(names.value(0).toString()), 0, kMaxHalfStars)
                           : curStars;
    names.finish();
    stars.changed = total != stored;
    stars.rose = total > stored;
    if (!stars.namesRowFound)
        return true;
    if (stars.changed && !DBCtrl::exec(kUpdateStars, {QString::number(total), curStID}))
        return false;
    // Made whenever the total stands at 8, not only when it rises there: a student whose entry was
    // never made (by an older program, or one stopped at the wrong moment) gets it at the next save.
    if (total < kMaxHalfStars)
        return true;
    const DBCtrl::HallEntry entry = DBCtrl::enterHallOfFame(curStudent);
    stars.enteredHallOfFame = entry == DBCtrl::HallEntry::Added;
    return entry != DBCtrl::HallEntry::Failed;
}

void StRecord::tellStars(const StarChange& stars) {
    if (!stars.namesRowFound)
        Seams::dialogs().plainMessage(QStringLiteral("Unable to update record"));
    if (!stars.changed) {
        // Still at 8, and only now in the hall of fame: the student hears of it once.
        if (stars.enteredHallOfFame)
            showCongrats(curStars, true);
        return;
    }
    if (stars.rose)
        showCongrats(curStars, stars.enteredHallOfFame);
    else
        Seams::dialogs().plainMessage(curStudent + QStringLiteral("'s stars have been reset to ") +
                                      myGlobals::starText(curStars));
}

int StRecord::divisorFor(int tried) {
    return std::max(tried, myPrefs::inForce().numCrit);
}

void StRecord::parsePcts() {
    for (int op = 0; op < kOperations; ++op) {
        const Counts& right = corFor(op);
        const Counts& tried = triedFor(op);
        for (int i = 0; i < kFacts; ++i)
            curPct[op][i] = percent(right[i], tried[i]);
    }
}

bool StRecord::recheckStarTot() {
    parseData();
    StarChange stars;
    const bool saved = saveMerged(SaveKind::Reset, stars);
    parsePcts();
    if (saved)
        tellStars(stars);
    return saved;
}

void StRecord::showCongrats(int total, bool enteredHallOfFame) {
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
        if (enteredHallOfFame) {
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
