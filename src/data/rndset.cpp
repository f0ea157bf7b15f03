#include "rndset.h"

#include "globals.h"
#include "prefs.h"
#include "random.h"
#include "seams.h"
#include "strecord.h"

#include "outsidefile.h"

#include <QBuffer>
#include <QIODevice>

#include <algorithm>

namespace {

// The student's drill setting as stored, or an empty text when there is no student or no such entry.
QString param(int index) {
    const auto& player = myGlobals::gCurPlayer;
    if (!player || index < 0 || index >= player->myParams.size())
        return {};
    return player->myParams[index];
}

template <typename Array> bool heldBefore(const Array& values, int count, int value) {
    return std::find(values.begin(), values.begin() + count, value) != values.begin() + count;
}

// The highest fact that counts, as the star recount counts it.
int highestCounted() {
    static_assert(myPrefs::kMaxHiCrit <= rndSet::kMaxHighest, "a counted fact has its weight");
    return myPrefs::inForce().hiCrit;
}

// The weight of a fact below the criterion: 10 for 0 %, one less for each started ten percent, 0 from
// 91 % on. The fraction of the percentage is dropped.
int weightOf(double percent) {
    const int whole = static_cast<int>(std::clamp(percent, 0.0, 100.0));
    return (100 - whole) / 10;
}

// A family number must be a second number the program can ask about.
bool validFamily(int a, int b) {
    return a != b && a >= 1 && b >= 1 && a <= rndSet::kMaxHighest && b <= rndSet::kMaxHighest;
}

} // namespace

rndSet::rndSet(int highest, int problems, int operation, bool factFamily, bool forceRandom,
               const QString& savedSetsFolder) {
    // The settings arrive as stored text that anything may have written. Keeping them to the ranges the
    // settings windows allow means no draw loop can run forever and no problem falls outside the arrays.
    rsHiNum = std::clamp(highest, kMinHighest, kMaxHighest);
    rsTotProbs = std::clamp(problems, 1, kMaxProblems);
    rsFunc = (operation >= 0 && operation < kOperations) ? operation : kRandomOperation;
    rsUseNeg = myGlobals::conv2Bool(StRecord::NegativesParam);

    const int source = myPrefs::inForce().dataSource;
    rsFixed = source >= 2 ? 0 : myGlobals::conv2Int(StRecord::NumbersParam);
    // The settings window stores a fixed number from 1 to the highest number; anything below is no
    // fixed number at all, anything above could not be shown.
    rsFixed = std::clamp(rsFixed, 0, kMaxHighest);

    if (forceRandom) {
        createRndSet2();
    } else if (source == 0 && rsFixed == 0) {
        createDataSet();
    } else if (source == 1 || rsFixed > 0) {
        const QStringList family = param(StRecord::NumbersParam).split(QLatin1Char('/'));
        const int a = myGlobals::textToInt(family.value(0));
        const int b = myGlobals::textToInt(family.value(1));
        if (factFamily && validFamily(a, b)) {
            rsFixed = -1;
            rsFactFam = {a, b};
            createFamSet();
        } else {
            // A family that cannot alternate (two equal numbers) or cannot be asked (a number out of
            // range) is played as a random set of the student's other settings.
            if (factFamily)
                rsFixed = 0;
            createRndSet2();
        }
    } else {
        // Saved sets, the one source left.
        if (!openInputSet(savedSetsFolder)) {
            Seams::dialogs().plainMessage(QStringLiteral("Unable to open a saved number set.\n"
                                                         "A random set will be created."));
            report_.openSetFailed = true;
        }
    }
}

int rndSet::getCorAns(int i) const {
    if (!validIndex(i))
        return 0;
    const int top = topNumSet[i];
    const int bot = botNumSet[i];
    switch (funcSet[i]) {
    case 0:
        return top + bot;
    case 1:
        return top - bot;
    case 2:
        return top * bot;
    case 3:
        return bot == 0 ? 0 : top / bot; // C++ division truncates toward zero, as the answer must
    default:
        return 0;
    }
}

int rndSet::getTopNum(int i) const {
    return validIndex(i) ? topNumSet[i] : 0;
}

int rndSet::getBotNum(int i) const {
    return validIndex(i) ? botNumSet[i] : 0;
}

int rndSet::getFunc(int i) const {
    return validIndex(i) ? funcSet[i] : 0;
}

bool rndSet::allFuncComplete() const {
    return std::all_of(funcComplete.begin(), funcComplete.end(), [](bool c) { return c; });
}

int rndSet::getTotProblems() const {
    return rsTotProbs - 1;
}

int rndSet::GetRnd(int a, int b) {
    ++draws_;
    return App::myRnd().inRange(a, b);
}

// A random operation among 0..n that the student allows.
int rndSet::getRndFunc(int n) {
    std::array<bool, kOperations> allowed{};
    for (int op = 0; op <= std::min(n, kOperations - 1); ++op)
        allowed[op] = rsAllowRnd[op];
    return drawOperation(allowed);
}

// Drawing among the allowed operations directly, rather than drawing any operation until an allowed one
// comes, gives the same even chances and always ends. With none allowed, any operation will do.
int rndSet::drawOperation(const std::array<bool, kOperations>& allowed) {
    std::array<int, kOperations> candidates{};
    int count = 0;
    for (int op = 0; op < kOperations; ++op) {
        if (allowed[op])
            candidates[count++] = op;
    }
    if (count == 0)
        return GetRnd(0, kOperations - 1);
    return candidates[GetRnd(0, count - 1)];
}

void rndSet::initAllowRnd() {
    const QStringList flags = param(StRecord::AllowedOpsParam).split(QLatin1Char('^'));
    bool any = false;
    for (int op = 0; op < kOperations; ++op) {
        rsAllowRnd[op] = myGlobals::textToInt(flags.value(op)) != 0;
        any = any || rsAllowRnd[op];
    }
    // The settings window asks for at least two operations; a list that allows none allows all.
    if (!any)
        rsAllowRnd.fill(true);
}

int rndSet::allowRndNeg(int v) {
    if (!rsUseNeg)
        return v;
    return GetRnd(1, 3) == 3 ? -v : v;
}

void rndSet::createRndFunc(int i) {
    funcSet[i] = rsFunc < kOperations ? rsFunc : getRndFunc(kOperations - 1);
}

void rndSet::hndlDiv(int i) {
    topNumSet[i] = topNumSet[i] * botNumSet[i];
}

// Random set. With no more problems than the highest number every first number and every second number
// of the set is different (distinct mode); otherwise only neighbouring problems must differ.
void rndSet::createRndSet2() {
    initAllowRnd();
    const bool distinct = rsTotProbs - 1 < rsHiNum;
    int prevTop = 0;
    int prevBot = 0;
    for (int i = 0; i < rsTotProbs; ++i) {
        createRndFunc(i);

        if (rsFixed != 0) {
            botNumSet[i] = allowRndNeg(rsFixed);
        } else {
            int v = 0;
            do {
                v = GetRnd(1, rsHiNum);
            } while (distinct ? heldBefore(botNumSet, i, v) : v == prevBot);
            botNumSet[i] = allowRndNeg(v);
            if (!distinct)
                prevBot = botNumSet[i];
        }

        // Without negatives a difference never drops below 0: the first number starts at the second.
        const int second = botNumSet[i];
        const bool fromSecond = !rsUseNeg && funcSet[i] == 1;
        int v = 0;
        do {
            v = fromSecond ? GetRnd(second, second + rsHiNum) : GetRnd(1, rsHiNum);
        } while (distinct ? heldBefore(topNumSet, i, v) : v == prevTop);
        topNumSet[i] = allowRndNeg(v);
        if (!distinct)
            prevTop = topNumSet[i];

        // The drawn number becomes the answer, so every division comes out whole.
        if (funcSet[i] == 3)
            hndlDiv(i);
    }
}

// Fact-family set: the two family numbers in alternating order, with the two operations related to the
// student's operation.
void rndSet::createFamSet() {
    const int a = rsFactFam[0];
    const int b = rsFactFam[1];
    int prevTop = 0;
    for (int i = 0; i < rsTotProbs; ++i) {
        int top = 0;
        int bot = 0;
        do {
            const bool aFirst = GetRnd(1, 2) == 1;
            top = aFirst ? a : b;
            bot = aFirst ? b : a;
        } while (top == prevTop);
        prevTop = top;
        topNumSet[i] = allowRndNeg(top);
        botNumSet[i] = allowRndNeg(bot);
    }

    if (rsFunc == 0 || rsFunc == 1)
        rsAllowRnd = {true, true, false, false};
    else if (rsFunc == 2 || rsFunc == 3)
        rsAllowRnd = {false, false, true, true};
    else
        rsAllowRnd.fill(true);
    for (int i = 0; i < rsTotProbs; ++i)
        funcSet[i] = getRndFunc(kOperations - 1);

    for (int i = 0; i < rsTotProbs; ++i) {
        if (funcSet[i] == 1 && !rsUseNeg && topNumSet[i] < botNumSet[i])
            topNumSet[i] += botNumSet[i];
        if (funcSet[i] == 3)
            hndlDiv(i);
    }
}

// critPt(op, j) is the sum of the weights of facts 1..j of operation op: a draw r in 1..critPt(op, cap)
// picks the smallest j with r <= critPt(op, j), so each fact comes with the chance of its weight.
void rndSet::setCriticalPt() {
    const int hiCrit = highestCounted();
    const int pctCrit = myPrefs::inForce().pctCrit;
    const auto& player = myGlobals::gCurPlayer;
    for (int op = 0; op < kOperations; ++op) {
        critPt[op].fill(0);
        int running = 0;
        for (int j = 1; j <= hiCrit; ++j) {
            const double percent = player ? player->curPct[op][j - 1] : 0.0;
            if (percent < pctCrit)
                running += weightOf(percent);
            critPt[op][j] = running;
        }
        funcComplete[op] = running == 0;
    }
}

// Adaptive set: second numbers drawn by the weights of the student's weak facts, falling back to a random
// set (with a message) when the operations asked for have no weak fact left.
void rndSet::createDataSet() {
    const int hiCrit = highestCounted();
    const int cap = std::min(rsHiNum, hiCrit);
    if (myGlobals::gCurPlayer)
        myGlobals::gCurPlayer->parsePcts();

    const bool distinct = rsTotProbs - 1 < rsHiNum;
    topNumSet[0] = GetRnd(1, rsHiNum);
    int prevTop = topNumSet[0];
    for (int i = 1; i < rsTotProbs; ++i) {
        int v = 0;
        do {
            v = GetRnd(1, rsHiNum);
        } while (distinct ? heldBefore(topNumSet, i, v) : v == prevTop);
        topNumSet[i] = allowRndNeg(v);
        if (!distinct)
            prevTop = v;
    }

    setCriticalPt();
    initAllowRnd();
    const auto fallBack = [this](const QString& message) {
        Seams::dialogs().plainMessage(message);
        createRndSet2();
    };
    const QString allDone =
        QStringLiteral("You have completed all required facts. Problems will be randomly selected.");
    if (allFuncComplete()) {
        fallBack(allDone);
        return;
    }

    if (rsFunc >= kOperations) {
        // Only operations that are allowed and still have weak facts are drawn; when the allowed ones
        // are all complete, everything the student asked for is done.
        std::array<bool, kOperations> open{};
        for (int op = 0; op < kOperations; ++op)
            open[op] = rsAllowRnd[op] && !funcComplete[op];
        if (std::none_of(open.begin(), open.end(), [](bool o) { return o; })) {
            fallBack(allDone);
            return;
        }
        for (int i = 0; i < rsTotProbs; ++i)
            funcSet[i] = drawOperation(open);
    } else if (funcComplete[rsFunc]) {
        fallBack(QStringLiteral("You have completed ") + myGlobals::getFuncName(rsFunc) +
                 QStringLiteral(" facts. Problems will be randomly selected."));
        return;
    } else {
        std::fill(funcSet.begin(), funcSet.begin() + rsTotProbs, rsFunc);
    }

    for (int i = 0; i < rsTotProbs; ++i) {
        const auto& weights = critPt[funcSet[i]];
        const int total = weights[cap];
        int fact = 0;
        if (total >= 1) {
            const int r = GetRnd(1, total);
            fact = 1;
            while (r > weights[fact]) // ends at cap at the latest, since r <= weights[cap]
                ++fact;
        } else {
            // The operation's weak facts all lie above the student's highest number: any fact the
            // student plays is as good as another.
            fact = GetRnd(1, cap);
        }
        botNumSet[i] = allowRndNeg(fact);
    }

    for (int i = 0; i < rsTotProbs; ++i) {
        if (funcSet[i] == 1 && !rsUseNeg && topNumSet[i] < botNumSet[i])
            topNumSet[i] = GetRnd(botNumSet[i], botNumSet[i] + rsHiNum);
        if (funcSet[i] == 3)
            hndlDiv(i);
    }
}

bool rndSet::openInputSet(const QString& folder) {
    Seams::FileRequest request;
    request.title = openTitle();
    request.folder = folder;
    request.fileTypes = {QLatin1String(kSetFileType)};
    const QString path = Seams::dialogs().openFile(request);
    if (path.isEmpty())
        return false;
    const SavedSetRecords records = readSavedSetFile(path);
    if (!records.readable)
        return false;
    // A file without a single problem is no set: a round of 0 problems could not be played.
    if (records.texts.isEmpty())
        return false;
    if (records.leftOut) {
        Seams::dialogs().plainMessage(QStringLiteral("This set has more than %1 problems.\n"
                                                     "Only the first %1 will be used.")
                                          .arg(kMaxProblems));
    }
    readSet = records.texts;
    parseReadSet();
    if (rsTotProbs == 0) {
        // Every problem was left out: there is no set to play.
        report_.myTotProbs.reset();
        return false;
    }
    return true;
}

rndSet::SavedSetRecords rndSet::readSavedSet(QIODevice& in) {
    SavedSetRecords out;
    char lengthByte = 0;
    while (in.getChar(&lengthByte)) {
        const int length = static_cast<unsigned char>(lengthByte);
        const QByteArray bytes = in.read(length);
        if (bytes.size() < length)
            break; // the file ends inside this record: it holds no problem
        if (out.texts.size() == kMaxProblems) {
            out.leftOut = true;
            break;
        }
        // Records are taken byte for byte, without any text-encoding conversion.
        out.texts << QString::fromLatin1(bytes);
    }
    return out;
}

rndSet::SavedSetRecords rndSet::readSavedSetFile(const QString& path) {
    const OutsideFile::Contents file = OutsideFile::read(path, kMaxSetFileBytes);
    if (!file.ok()) {
        SavedSetRecords none;
        none.readable = false;
        none.tooLarge = file.problem == OutsideFile::Problem::TooLarge;
        return none;
    }
    QBuffer buffer;
    buffer.setData(file.bytes);
    buffer.open(QIODevice::ReadOnly);
    return readSavedSet(buffer);
}

void rndSet::parseReadSet() {
    // A problem the round cannot play is left out whole: changing its numbers would teach a different
    // problem than the teacher wrote, and a division without a whole answer would teach a wrong one
    // ("7 / 2 = 3", "5 / 0 = 0").
    QList<Problem> kept;
    int tooLarge = 0;
    int notWhole = 0;
    for (const QString& text : std::as_const(readSet)) {
        if (kept.size() == kMaxProblems)
            break;
        const std::optional<Problem> p = parseProblem(text);
        if (p && !canShow(*p)) {
            ++tooLarge;
            continue;
        }
        if (p && !hasWholeAnswer(*p)) {
            ++notWhole;
            continue;
        }
        kept << p.value_or(Problem{});
    }
    QStringList reasons;
    if (tooLarge > 0) {
        reasons << (tooLarge == 1
                        ? QStringLiteral("1 problem of this set uses a number")
                        : QString::number(tooLarge) + QStringLiteral(" problems of this set use numbers")) +
                       QStringLiteral(" too large to show (the first number up to %1, the second up to %2).")
                           .arg(kMaxFirstShown)
                           .arg(kMaxSecondShown);
    }
    if (notWhole > 0) {
        reasons << (notWhole == 1 ? QStringLiteral("1 division of this set does not give a whole number or "
                                                   "divides by 0.")
                                  : QString::number(notWhole) +
                                        QStringLiteral(" divisions of this set do not give a whole number "
                                                       "or divide by 0."));
    }
    if (!reasons.isEmpty())
        Seams::dialogs().plainMessage(reasons.join(QLatin1Char('\n')) +
                                      QStringLiteral("\nThey were left out."));
    const int n = static_cast<int>(kept.size());
    report_.myTotProbs = n;
    rsTotProbs = n;
    for (int i = 0; i < n; ++i) {
        topNumSet[i] = kept[i].top;
        funcSet[i] = kept[i].func;
        botNumSet[i] = kept[i].bot;
    }
}

bool rndSet::hasWholeAnswer(const Problem& p) {
    return p.func != 3 || (p.bot != 0 && static_cast<long long>(p.top) % p.bot == 0);
}

bool rndSet::canShow(const Problem& p) {
    return std::abs(static_cast<long long>(p.top)) <= kMaxFirstShown &&
           std::abs(static_cast<long long>(p.bot)) <= kMaxSecondShown;
}

std::optional<rndSet::Problem> rndSet::parseProblem(const QString& text) {
    const auto number = [](const QString& part) {
        return myGlobals::textToInt(part);
    };
    // Whether the sign at `at` stands between two numbers: a digit before it and a digit (or a minus
    // and a digit) after it, blanks aside. A lower-case x is a sign only there ("box" is no problem).
    const auto betweenNumbers = [&text](qsizetype at) {
        qsizetype b = at - 1;
        while (b >= 0 && text[b] == QLatin1Char(' '))
            --b;
        qsizetype a = at + 1;
        while (a < text.size() && text[a] == QLatin1Char(' '))
            ++a;
        if (a < text.size() && text[a] == QLatin1Char('-'))
            ++a;
        return b >= 0 && text[b].isDigit() && a < text.size() && text[a].isDigit();
    };
    // The first occurrence of any of the sign's characters, from a position on.
    const auto find = [&](QLatin1StringView sign, qsizetype from) {
        qsizetype best = -1;
        for (const char c : sign) {
            qsizetype at = text.indexOf(QLatin1Char(c), from);
            while (c == 'x' && at >= 0 && !betweenNumbers(at))
                at = text.indexOf(QLatin1Char(c), at + 1);
            if (at >= 0 && (best < 0 || at < best))
                best = at;
        }
        return best;
    };
    // The multiplication sign is a capital X; a lower-case x between two numbers means the same.
    const struct {
        QLatin1StringView sign;
        int func;
    } splitSigns[] = {{QLatin1StringView("+"), 0}, {QLatin1StringView("Xx"), 2}, {QLatin1StringView("/"), 3}};
    for (const auto& s : splitSigns) {
        const qsizetype at = find(s.sign, 0);
        if (at < 0)
            continue;
        const qsizetype further = find(s.sign, at + 1);
        const QString after = further < 0 ? text.mid(at + 1) : text.mid(at + 1, further - at - 1);
        return Problem{number(text.left(at)), s.func, number(after)};
    }
    // A minus sign is a subtraction only with a blank on each side, so that minus signs of numbers stay
    // with their numbers ("5 - -3").
    if (text.contains(QLatin1StringView(" - "))) {
        const QStringList fields = text.split(QLatin1Char(' '));
        return Problem{number(fields.value(0)), 1, number(fields.value(2))};
    }
    return std::nullopt;
}
