#include "data/globals.h"
#include "data/random.h"
#include "data/strecord.h"
#include "support/doubles.h"

#include <QLocale>
#include <QtTest>

using namespace myGlobals;

class TestGlobals : public QObject {
    Q_OBJECT
private slots:
    void scrambleRoundTrips_data();
    void scrambleRoundTrips();
    void scrambleFollowsTheKnownExample();
    void scrambleDrawsFreshKeys();
    void everyCharacterHasAStoredForm_data();
    void everyCharacterHasAStoredForm();
    void sweepOfEveryCharacterUnderEveryKey();
    void foreignTextNeverMatches_data();
    void foreignTextNeverMatches();
    void limitEntry_data();
    void limitEntry();
    void limitValueRange();
    void textToIntSaturates();
    void smallHelpers();
    void conv2ReadsTheSignedInStudent();
    void starTextKeepsTheHalfInAnyLocale();
    void resumeShortRoundAsksAndAnswers();
};

void TestGlobals::scrambleRoundTrips_data() {
    QTest::addColumn<QString>("password");
    QTest::newRow("empty") << QString();
    QTest::newRow("one character") << QStringLiteral("x");
    QTest::newRow("blanks and tilde") << QStringLiteral(" ~ ~ ~");
    QTest::newRow("quotes") << QStringLiteral("O'Brien \"x\"");
    QTest::newRow("non-ASCII") << QStringLiteral("Grüße, Łódź 数学");
    QTest::newRow("beyond the basic plane") << QStringLiteral("pa\U0001F600ss");
    QTest::newRow("long") << QStringLiteral("a").repeated(300);
}

void TestGlobals::scrambleRoundTrips() {
    QFETCH(QString, password);
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        App::myRnd().seed(seed);
        const QString stored = scrambleStr(password);
        QCOMPARE(stored.isEmpty(), password.isEmpty());
        if (!password.isEmpty()) {
            QCOMPARE(stored.toUcs4().size(), password.toUcs4().size() + 1);
            QVERIFY(stored[0] >= QLatin1Char('B') && stored[0] <= QLatin1Char('J'));
        }
        QCOMPARE(unscrambleStr(stored), password);
        QVERIFY(passwordMatches(unscrambleStr(stored), password));
    }
}

void TestGlobals::scrambleFollowsTheKnownExample() {
    // With key 2, "abc" is stored as C, '_' (97 - 2), 'd' (98 + 2), 'a' (99 - 2).
    const QString stored = QStringLiteral("C_da");
    QCOMPARE(unscrambleStr(stored), QStringLiteral("abc"));
    bool sawKeyTwo = false;
    for (std::uint32_t seed = 0; seed < 200 && !sawKeyTwo; ++seed) {
        App::myRnd().seed(seed);
        const QString s = scrambleStr(QStringLiteral("abc"));
        if (s[0] == QLatin1Char('C')) {
            QCOMPARE(s, stored);
            sawKeyTwo = true;
        }
    }
    QVERIFY(sawKeyTwo);
    QCOMPARE(unscrambleStr(QStringLiteral("C")), QString());
}

void TestGlobals::scrambleDrawsFreshKeys() {
    App::myRnd().seed(7);
    QSet<QString> forms;
    for (int i = 0; i < 30; ++i)
        forms.insert(scrambleStr(QStringLiteral("secret")));
    QVERIFY(forms.size() > 1);
}

namespace {

// Seeds the random source so that the next scramble draws `key`.
void seedForKey(int key) {
    for (std::uint32_t seed = 0;; ++seed) {
        App::myRnd().seed(seed);
        if (App::myRnd().inRange(1, 9) == key) {
            App::myRnd().seed(seed);
            return;
        }
    }
}

QString fromCodes(const QList<char32_t>& codes) {
    return QString::fromUcs4(codes.constData(), codes.size());
}

} // namespace

void TestGlobals::everyCharacterHasAStoredForm_data() {
    QTest::addColumn<QString>("password");
    // The last character before the surrogates, the first after them and the last of all, each where
    // every key would push it out of what text can hold; and their neighbours, where some keys would.
    const QList<std::pair<const char*, char32_t>> edges{
        {"U+E000", 0xE000},     {"U+E008", 0xE008},     {"U+D7FF", 0xD7FF},  {"U+D7F7", 0xD7F7},
        {"U+10FFFF", 0x10FFFF}, {"U+10FFF7", 0x10FFF7}, {"U+FFFF", 0xFFFF},  {"U+FFFE", 0xFFFE},
        {"blank", 0x20},        {"U+0080", 0x80},       {"U+10000", 0x10000}};
    for (const auto& [name, c] : edges) {
        QTest::addRow("%s first", name) << fromCodes({c});
        QTest::addRow("%s second", name) << fromCodes({'x', c});
        QTest::addRow("%s everywhere", name) << fromCodes({c, c, c, 'a', c});
    }
    QTest::newRow("all three at once") << fromCodes({0xE000, 0xD7FF, 0xE000, 0x10FFFF});
}

// Under each of the nine keys the password is stored (never as no password), as valid text that the
// database and the preferences file keep, and reads back as it was.
void TestGlobals::everyCharacterHasAStoredForm() {
    QFETCH(QString, password);
    for (int key = 1; key <= 9; ++key) {
        seedForKey(key);
        const QString stored = scrambleStr(password);
        QVERIFY2(!stored.isEmpty(), qPrintable(QStringLiteral("key %1").arg(key)));
        QVERIFY(hasStoredForm(password));
        QCOMPARE(stored.toUcs4().size(), password.toUcs4().size() + 1);
        // Valid text, without the two characters that SQLite gives back as U+FFFD.
        QCOMPARE(QString::fromUtf8(stored.toUtf8()), stored);
        QVERIFY(!stored.contains(QChar(0xFFFE)) && !stored.contains(QChar(0xFFFF)));
        QCOMPARE(unscrambleStr(stored), password);
        QVERIFY(passwordMatches(unscrambleStr(stored), password));
    }
}

// Every character from the blank to U+10FFFF (but the delete character) at an odd and at an even
// place, under every key. Where the plain shift of a code stays a character, the stored character is
// that shift, as every earlier version stored it. The characters whose shift may give U+FFFE or U+FFFF
// (which make the scrambling pass over a key) are the rows above.
void TestGlobals::sweepOfEveryCharacterUnderEveryKey() {
    QList<char32_t> codes;
    for (char32_t c = 0x20; c <= 0x10FFFF; ++c) {
        if (c != 0x7F && !(c >= 0xD800 && c <= 0xDFFF) && !(c >= 0xFFF5 && c <= 0x10008))
            codes.append(c);
    }
    const auto valid = [](long long c) {
        return c >= 1 && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
    };
    for (const bool shifted : {false, true}) {
        QList<char32_t> text = codes;
        if (shifted)
            text.prepend('a');
        const QString password = fromCodes(text);
        for (int key = 1; key <= 9; ++key) {
            seedForKey(key);
            const QString stored = scrambleStr(password);
            const QList<uint> storedCodes = stored.toUcs4();
            QCOMPARE(storedCodes.size(), text.size() + 1);
            QCOMPARE(int(storedCodes[0]), 65 + key);
            int plain = 0;
            for (qsizetype i = 0; i < text.size(); ++i) {
                const long long shiftedCode = static_cast<long long>(text[i]) + (i % 2 == 0 ? -key : key);
                if (valid(shiftedCode)) {
                    ++plain;
                    if (storedCodes[i + 1] != shiftedCode)
                        QFAIL(qPrintable(QStringLiteral("U+%1 under key %2 is not stored as before")
                                             .arg(text[i], 0, 16)
                                             .arg(key)));
                }
            }
            QVERIFY(plain > text.size() - 20);
            QCOMPARE(QString::fromUtf8(stored.toUtf8()), stored);
            QVERIFY(unscrambleStr(stored) == password);
        }
    }
}

void TestGlobals::foreignTextNeverMatches_data() {
    QTest::addColumn<QString>("stored");
    QTest::newRow("key letter A") << QStringLiteral("Aabc");
    QTest::newRow("key letter K") << QStringLiteral("Kabc");
    QTest::newRow("lower-case start") << QStringLiteral("abc");
    QTest::newRow("digit start") << QStringLiteral("1234");
    QTest::newRow("would make control characters") << QStringLiteral("J!!!!");
}

void TestGlobals::foreignTextNeverMatches() {
    QFETCH(QString, stored);
    const QString password = unscrambleStr(stored);
    QVERIFY(!password.isEmpty()); // an unreadable password must not read as "no password"
    QVERIFY(!passwordMatches(password, password));
    QVERIFY(!passwordMatches(password, QString()));
    for (const QChar c : password)
        QVERIFY(!c.isSurrogate() || c.isHighSurrogate() || c.isLowSurrogate());
}

void TestGlobals::limitEntry_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("highest");
    QTest::addColumn<int>("lowest");
    QTest::addColumn<QString>("expected");
    QTest::newRow("above") << "25" << 19 << 4 << "19";
    QTest::newRow("no number") << "abc" << 19 << 4 << "4";
    QTest::newRow("negative inside") << "-3" << 20 << -5 << "-3";
    QTest::newRow("huge") << "99999999999" << 19 << 4 << "19";
    QTest::newRow("hugely negative") << "-99999999999" << 19 << 4 << "4";
    QTest::newRow("leading number") << "12abc" << 19 << 4 << "12";
    QTest::newRow("fraction dropped") << "7.9" << 19 << 4 << "7";
    QTest::newRow("empty") << "" << 100 << 10 << "10";
    // Typed numbers are read as they are written: a power of ten belongs to the number.
    QTest::newRow("a power of ten") << "1e3" << 19 << 4 << "19";
    QTest::newRow("a power of ten inside") << "1.5E1" << 19 << 4 << "15";
    QTest::newRow("a signed power") << "2e+1" << 100 << 0 << "20";
    QTest::newRow("a negative power") << "250e-1" << 100 << 0 << "25";
    QTest::newRow("a fraction alone") << ".5e2" << 100 << 0 << "50";
    QTest::newRow("an unfinished power") << "7e" << 100 << 0 << "7";
    QTest::newRow("letters after the number") << "12e3x" << 100000 << 0 << "12000";
    QTest::newRow("a power beyond any number") << "1e999" << 19 << 4 << "19";
    QTest::newRow("a negative power beyond any number") << "-1e999" << 19 << 4 << "4";
    QTest::newRow("a power too small to count") << "9e-999" << 19 << -5 << "0";
    QTest::newRow("a comma is no decimal point") << "7,9" << 19 << 4 << "7";
}

void TestGlobals::limitEntry() {
    QFETCH(QString, text);
    QFETCH(int, highest);
    QFETCH(int, lowest);
    QFETCH(QString, expected);
    QCOMPARE(myGlobals::limitEntry(text, highest, lowest), expected);
}

void TestGlobals::limitValueRange() {
    QCOMPARE(myGlobals::limitValueRange(9, 0, 7), 7);
    QCOMPARE(myGlobals::limitValueRange(-1, 0, 7), 0);
    QCOMPARE(myGlobals::limitValueRange(3, 0, 7), 3);
}

void TestGlobals::textToIntSaturates() {
    QCOMPARE(textToInt(QStringLiteral("2147483647")), 2147483647);
    QCOMPARE(textToInt(QStringLiteral("2147483648")), 2147483647);
    QCOMPARE(textToInt(QStringLiteral("-2147483648")), -2147483647 - 1);
    QCOMPARE(textToInt(QStringLiteral("  42 apples")), 42);
    QCOMPARE(textToInt(QStringLiteral("٣")), 0); // only ASCII digits are digits of a stored number
    QCOMPARE(textToInt(QStringLiteral("2147483647.9")), 2147483647);
    QCOMPARE(textToInt(QStringLiteral("-3e9")), -2147483647 - 1);
    // The decimal point is a point whatever the language of the system.
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(textToInt(QStringLiteral("1.5e1")), 15);
    QLocale::setDefault(before);
}

void TestGlobals::smallHelpers() {
    const QStringList names{"Addition", "Subtraction", "Multiplication", "Division", "Random"};
    for (int i = 0; i < names.size(); ++i)
        QCOMPARE(getFuncName(i), names[i]);
    QCOMPARE(getFuncName(5), QString());
    QCOMPARE(getFuncName(-1), QString());

    QVERIFY(gIsEnterKey(QString(QChar(13))));
    QVERIFY(gIsEnterKey(QString(QChar(3))));
    QVERIFY(!gIsEnterKey(QStringLiteral("\n")));
    QVERIFY(!gIsEnterKey(QString()));

    QCOMPARE(RTrim(QStringLiteral("a\tb\t\t"), QStringLiteral("\t")), QStringLiteral("a\tb"));
    QCOMPARE(RTrim(QStringLiteral("\t\t"), QStringLiteral("\t")), QString());
    QCOMPARE(RTrim(QStringLiteral("xyZzZ"), QStringLiteral("z")), QStringLiteral("xy"));

    QCOMPARE(oneLine(QStringLiteral("Ann\tLee\r\nJr")), QStringLiteral("Ann Lee  Jr"));

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("x.txt"));
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    gDeleteAFile(file);
    QVERIFY(!QFile::exists(file));
    gDeleteAFile(file); // a missing file is quietly ignored
    gDeleteAFile(QString());
}

void TestGlobals::conv2ReadsTheSignedInStudent() {
    gCurPlayer.reset();
    QCOMPARE(conv2Int(2), 0);
    QCOMPARE(conv2Bool(7), false);
    gCurPlayer = std::make_shared<StRecord>("Ann", "A", 1, QString(), 0);
    gCurPlayer->myParams = StRecord::defaultParams();
    gCurPlayer->myParams[7] = "1";
    gCurPlayer->myParams[8] = "yes";
    QCOMPARE(conv2Int(2), 10);
    QCOMPARE(conv2Int(3), 1); // "1^1^1^1" reads as its leading number
    gCurPlayer->myParams[0] = "3/7";
    QCOMPARE(conv2Int(0), 3);
    gCurPlayer->myParams[5] = "1e1";
    QCOMPARE(conv2Int(5), 10);
    QVERIFY(conv2Bool(7));
    QVERIFY(!conv2Bool(8));
    QCOMPARE(conv2Int(25), 0);
    gCurPlayer.reset();
}

void TestGlobals::starTextKeepsTheHalfInAnyLocale() {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(starText(3), QStringLiteral("1.5"));
    QCOMPARE(starText(4), QStringLiteral("2.0"));
    QCOMPARE(starText(0), QStringLiteral("0.0"));
    QLocale::setDefault(before);
}

void TestGlobals::resumeShortRoundAsksAndAnswers() {
    TestDoubles::ScriptedDialogs dialogs;
    dialogs.answers = {Seams::Answer::Default, Seams::Answer::Cancel};
    QVERIFY(resumeShortRound(10));
    QVERIFY(!resumeShortRound(5));
    QCOMPARE(dialogs.shown.size(), 2);
    const Seams::Question& q = dialogs.shown[0].question;
    QCOMPARE(q.message, QStringLiteral("Please complete at least 10 problems to improve your average time."));
    QCOMPARE(q.explanation, QStringLiteral("If you choose to stop now, no time will be recorded "));
    QCOMPARE(q.defaultCaption, QStringLiteral("Continue Game"));
    QCOMPARE(q.cancelCaption, QStringLiteral("Stop Anyway"));
    QCOMPARE(q.icon, Seams::Icon::Caution);
}

QTEST_GUILESS_MAIN(TestGlobals)
#include "tst_globals.moc"
