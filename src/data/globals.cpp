#include "globals.h"

#include "random.h"
#include "seams.h"
#include "strecord.h"

#include <QFile>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace myGlobals {

std::shared_ptr<StRecord> gCurPlayer;
std::shared_ptr<rndSet> gMySet;
int gLastTot = 0;
bool gUseLastGame = false;
bool gNoPWReq = false;
QString gPrinterSettings;
QString pFile;

namespace {

// What unscrambleStr gives for text it cannot read: it starts with a non-character, so no keyboard
// or paste produces it, and passwordMatches refuses it outright.
const QString& unreadablePassword() {
    static const QString marker = QString(QChar(0xFFFF)) + QStringLiteral("unreadable");
    return marker;
}

// Scrambling shifts character codes along the ring of every character text can carry: the codes 1 to
// U+10FFFF without the surrogates, which stand for no character of their own. Where a plain shift
// would land in the surrogates or beyond either end, the shift goes on past them, so that every
// character a password can hold has a stored form, whatever the key. For every code that a plain
// shift keeps inside the ring the result is the plain shift itself: what was stored before reads the
// same.
constexpr char32_t kSurrogatesFirst = 0xD800;
constexpr char32_t kSurrogatesCount = 0x800;
constexpr long long kRingSize = 0x10FFFF - kSurrogatesCount;

bool onRing(char32_t c) {
    return c >= 1 && c <= 0x10FFFF && !(c >= kSurrogatesFirst && c < kSurrogatesFirst + kSurrogatesCount);
}

char32_t shiftOnRing(char32_t c, int by) {
    const long long index = c < kSurrogatesFirst ? c - 1 : c - 1 - kSurrogatesCount;
    const long long moved = ((index + by) % kRingSize + kRingSize) % kRingSize;
    return static_cast<char32_t>(moved + 1 < kSurrogatesFirst ? moved + 1 : moved + 1 + kSurrogatesCount);
}

// A password as typed never holds control characters; one that unscrambles to them was not ours.
bool isTypeable(char32_t c) {
    return c >= 32 && c != 0x7F;
}

// The characters of a text, or nothing when it holds a half of a surrogate pair alone, or a NUL:
// neither is a character a password can keep.
std::optional<QList<char32_t>> charactersOf(const QString& text) {
    QList<char32_t> codes;
    codes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        char32_t code = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            code = QChar::surrogateToUcs4(c, text[++i]);
        if (!onRing(code))
            return std::nullopt;
        codes.append(code);
    }
    return codes;
}

// Shifts each character: odd positions (counting from 1) by -direction*key, even ones by +direction*key.
void shift(const QList<char32_t>& in, qsizetype from, int key, int direction, QString& out) {
    for (qsizetype i = from; i < in.size(); ++i) {
        const bool odd = ((i - from) % 2) == 0;
        const char32_t code = shiftOnRing(in[i], (odd ? -key : key) * direction);
        if (QChar::requiresSurrogates(code)) {
            out.append(QChar(QChar::highSurrogate(code)));
            out.append(QChar(QChar::lowSurrogate(code)));
        } else {
            out.append(QChar(static_cast<char16_t>(code)));
        }
    }
}

// The stored form under one key, unless it holds a character the database does not give back.
std::optional<QString> scrambledWith(const QList<char32_t>& codes, int key) {
    QString out;
    out.reserve(2 * codes.size() + 1);
    out.append(QChar(65 + key));
    shift(codes, 0, key, 1, out);
    if (out.contains(QChar(0xFFFE)) || out.contains(QChar(0xFFFF)))
        return std::nullopt;
    return out;
}

} // namespace

void gShowMsg(bool isCaution, const QString& message, const QString& explanation) {
    Seams::dialogs().showMsg(isCaution, message, explanation);
}

QString scrambleStr(const QString& text) {
    if (text.isEmpty())
        return {};
    const std::optional<QList<char32_t>> codes = charactersOf(text);
    // A key whose stored form holds U+FFFE or U+FFFF is passed over for the next: SQLite gives those
    // two back as U+FFFD. Only a password made to defeat all nine keys has no stored form.
    const int first = App::myRnd().inRange(1, 9);
    for (int attempt = 0; codes && attempt < 9; ++attempt) {
        const int key = (first - 1 + attempt) % 9 + 1;
        if (std::optional<QString> out = scrambledWith(*codes, key))
            return *std::move(out);
    }
    return {};
}

bool hasStoredForm(const QString& text) {
    const std::optional<QList<char32_t>> codes = charactersOf(text);
    if (!codes)
        return false;
    for (int key = 1; key <= 9; ++key) {
        if (scrambledWith(*codes, key))
            return true;
    }
    return false;
}

QString unscrambleStr(const QString& text) {
    if (text.isEmpty())
        return {};
    const std::optional<QList<char32_t>> codes = charactersOf(text);
    if (!codes)
        return unreadablePassword();
    const int key = static_cast<int>(codes->first()) - 65;
    if (key < 1 || key > 9)
        return unreadablePassword();
    QString out;
    out.reserve(text.size());
    shift(*codes, 1, key, -1, out);
    if (!std::all_of(out.cbegin(), out.cend(), [](QChar c) { return isTypeable(c.unicode()); }))
        return unreadablePassword();
    return out;
}

bool passwordMatches(const QString& expected, const QString& typed) {
    return expected != unreadablePassword() && expected == typed;
}

namespace {

bool isAsciiDigit(QChar c) {
    return c.unicode() >= '0' && c.unicode() <= '9';
}

// Where the run of ASCII digits that starts at i ends.
qsizetype digitsEnd(QStringView text, qsizetype i) {
    while (i < text.size() && isAsciiDigit(text[i]))
        ++i;
    return i;
}

} // namespace

int textToInt(QStringView text) {
    // The longest start of the text that is a written number: blanks, a sign, digits with a fraction,
    // and a power of ten ("1e3" is a thousand, as the student meant it). A part that does not complete
    // the number ("12abc", "1e", "3/7") ends it.
    qsizetype i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' '))
        ++i;
    const qsizetype start = i;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        ++i;
    const qsizetype whole = digitsEnd(text, i);
    qsizetype end = whole;
    bool anyDigit = whole > i;
    if (end < text.size() && text[end] == QLatin1Char('.')) {
        const qsizetype fraction = digitsEnd(text, end + 1);
        anyDigit = anyDigit || fraction > end + 1;
        end = fraction;
    }
    if (!anyDigit)
        return 0;
    if (end < text.size() && (text[end] == QLatin1Char('e') || text[end] == QLatin1Char('E'))) {
        qsizetype power = end + 1;
        if (power < text.size() && (text[power] == QLatin1Char('-') || text[power] == QLatin1Char('+')))
            ++power;
        const qsizetype powerEnd = digitsEnd(text, power);
        if (powerEnd > power)
            end = powerEnd;
    }
    if (end == whole) { // whole digits alone, as every stored number is: read them straight
        const bool negative = text[start] == QLatin1Char('-');
        long long value = 0;
        for (qsizetype d = i; d < whole; ++d) {
            value = value * 10 + (text[d].unicode() - '0');
            if (value > std::numeric_limits<int>::max() + 1LL)
                value = std::numeric_limits<int>::max() + 1LL; // the rest of the digits don't matter
        }
        value = negative ? -value : value;
        return static_cast<int>(std::min<long long>(value, std::numeric_limits<int>::max()));
    }
    // Read with the point as the decimal sign whatever the system's language. A power too large
    // gives infinity and one too small 0, though it is not a double's "ok" then; both are meant.
    const double value = QLocale::c().toDouble(text.mid(start, end - start));
    if (value >= std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value <= std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(value); // a fraction is dropped
}

QString limitEntry(const QString& text, int highest, int lowest) {
    const int v = textToInt(text);
    if (v > highest)
        return QString::number(highest);
    if (v < lowest)
        return QString::number(lowest);
    return QString::number(v);
}

int limitValueRange(int value, int lowest, int highest) {
    if (value < lowest)
        return lowest;
    if (value > highest)
        return highest;
    return value;
}

int conv2Int(int index) {
    if (!gCurPlayer || index < 0 || index >= gCurPlayer->myParams.size())
        return 0;
    return textToInt(gCurPlayer->myParams[index]);
}

bool conv2Bool(int index) {
    if (!gCurPlayer || index < 0 || index >= gCurPlayer->myParams.size())
        return false;
    return gCurPlayer->myParams[index] == QLatin1String("1");
}

QString getFuncName(int operation) {
    switch (operation) {
    case 0:
        return QStringLiteral("Addition");
    case 1:
        return QStringLiteral("Subtraction");
    case 2:
        return QStringLiteral("Multiplication");
    case 3:
        return QStringLiteral("Division");
    case 4:
        return QStringLiteral("Random");
    default:
        return {};
    }
}

bool getTorF() {
    return App::myRnd().inRange(0, 1) > 0;
}

bool gIsEnterKey(const QString& key) {
    return key.size() == 1 && (key[0].unicode() == 13 || key[0].unicode() == 3);
}

QString RTrim(const QString& text, const QString& characters) {
    qsizetype end = text.size();
    while (end > 0 && characters.contains(text[end - 1], Qt::CaseInsensitive))
        --end;
    return text.left(end);
}

void gDeleteAFile(const QString& path) {
    if (!path.isEmpty() && QFile::exists(path))
        QFile::remove(path);
}

bool resumeShortRound(std::uint8_t count) {
    Seams::Question q;
    q.icon = Seams::Icon::Caution;
    q.message = QStringLiteral("Please complete at least ") + QString::number(count) +
                QStringLiteral(" problems to improve your average time.");
    q.explanation = QStringLiteral("If you choose to stop now, no time will be recorded ");
    q.defaultCaption = QStringLiteral("Continue Game");
    q.cancelCaption = QStringLiteral("Stop Anyway");
    // A box closed from outside leaves the game going as it stood.
    q.closedAnswer = Seams::Answer::Default;
    return Seams::dialogs().ask(q) == Seams::Answer::Default;
}

QString starText(int halfStars) {
    return QLocale::c().toString(halfStars / 2.0, 'f', 1);
}

QString oneLine(const QString& text) {
    const auto breaksLine = [](QChar c) {
        return c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r');
    };
    // Nearly every text is one line already; it is then shared, not copied.
    if (std::none_of(text.cbegin(), text.cend(), breaksLine))
        return text;
    QString out = text;
    for (QChar& c : out) {
        if (breaksLine(c))
            c = QLatin1Char(' ');
    }
    return out;
}

} // namespace myGlobals
