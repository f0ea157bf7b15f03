// The preferences file: its exact bytes, reading it back, files written before the last field
// existed, values out of range, damaged files of every kind, and writes that must not destroy the
// file they replace. The save of the preferences window over the file as it stands, on this computer
// and in a shared folder that other computers save to as well.

#include "data/globals.h"
#include "data/locations.h"
#include "data/prefs.h"
#include "data/random.h"
#include "datafiles.h"
#include "prefs_file.h"
#include "support/doubles.h"
#include "support/unprivileged.h"

#include <QFileInfo>
#include <QtTest>

#include <random>
#include <sys/stat.h>
#include <unistd.h>

using myPrefs::Values;
using TestDoubles::ScriptedDialogs;
using TestFiles::modeOf;
using TestPrefs::RawFile;

Q_DECLARE_METATYPE(RawFile)
Q_DECLARE_METATYPE(myPrefs::Values)
Q_DECLARE_METATYPE(myPrefs::Changes)
Q_DECLARE_METATYPE(std::optional<myPrefs::Values>)

namespace myPrefs {
// How QCOMPARE shows a set of preferences that differs.
char* toString(const Values& v) {
    const QString text =
        QStringLiteral("pw=%1 alt=%2 ref=%3 noClass=%4 reqPW=%5 tries=%6 source=%7 num=%8 pct=%9 hi=%10 "
                       "snd=%11 noAnim=%12")
            .arg(v.passWord)
            .arg(v.useAltLoc)
            .arg(v.altFileLoc)
            .arg(v.noClass)
            .arg(v.reqStPW)
            .arg(v.maxTries)
            .arg(v.dataSource)
            .arg(v.numCrit)
            .arg(v.pctCrit)
            .arg(v.hiCrit)
            .arg(v.sndSet)
            .arg(v.noAnim ? QString::number(*v.noAnim) : QStringLiteral("none"));
    return qstrdup(text.toUtf8().constData());
}
} // namespace myPrefs

using TestPrefs::fileValues;
using TestPrefs::writeValues;

namespace {

// Every field away from its default, so that a value that is not read (or read into the wrong
// field) shows.
Values everyFieldSet() {
    Values v;
    v.passWord = QStringLiteral("Mrs. Ödegaard 7");
    v.useAltLoc = true;
    v.altFileLoc = QStringLiteral("/mnt/school-share/Numbrook Riza/Ms. Østergård's class 4B (2025)");
    v.noClass = false;
    v.reqStPW = true;
    v.maxTries = 5;
    v.dataSource = 2;
    v.numCrit = 100;
    v.pctCrit = 10;
    v.hiCrit = 19;
    v.sndSet = QStringLiteral("1,3,0,7");
    v.noAnim = true;
    return v;
}

// Something clearly not the defaults, to show that a failed read changes nothing.
Values distinctive() {
    Values v = everyFieldSet();
    v.passWord = QStringLiteral("kept");
    v.maxTries = 4;
    v.noAnim = false;
    return v;
}

QByteArray validFileBytes() {
    const auto bytes = myPrefs::encodeFile(everyFieldSet());
    return bytes ? *bytes : QByteArray();
}

QString hex(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex(' '));
}

// What this computer holds when a save begins, and what happens to the files meanwhile.
enum class Scene {
    Local,              // this computer's own file, rewritten meanwhile by another program
    OtherComputerSaved, // network mode: another computer saved the shared file meanwhile
    ShareGone,          // network mode: the share is no longer reachable
    ShareUnmounted,     // network mode: an empty folder stands where the share was mounted
    OffForTheRun,       // the start could not reach the share, and it is still gone
    OffForTheRunBack,   // the start could not reach the share, which is back by the save
    NoSharedFile,       // the share holds the database but no preferences file
    DamagedSharedFile,  // the share's preferences file cannot be read
    OutOfRange,         // this computer's file holds numbers outside the window's bounds
};

// The general fields a scene starts with on this computer, and in the share's file.
Values thisComputersValues() {
    Values v;
    v.passWord = QStringLiteral("Teach");
    v.maxTries = 4;
    v.numCrit = 40;
    v.pctCrit = 85;
    return v;
}
Values sharedValues() {
    Values v = thisComputersValues();
    v.maxTries = 5;
    v.hiCrit = 12;
    return v;
}
// What another computer saved meanwhile: its own location, a new password and percentage.
Values otherComputersSave() {
    Values v = sharedValues();
    v.useAltLoc = true;
    v.altFileLoc = QStringLiteral("/Volumes/School/Numbrook");
    v.passWord = QStringLiteral("Changed");
    v.pctCrit = 70;
    return v;
}

} // namespace

class TestPrefsFile : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void defaultsFileIsByteExact();
    void everyFieldIsStoredWhereItBelongs();
    void readsBackWhatWasWritten_data();
    void readsBackWhatWasWritten();
    void rewritingChangesOnlyTheScrambledPassword();
    void fileWithoutLastFieldKeepsAnimationChoice_data();
    void fileWithoutLastFieldKeepsAnimationChoice();
    void valuesNoSaveWritesTakeTheirDefault_data();
    void valuesNoSaveWritesTakeTheirDefault();
    void damagedFileChangesNothing_data();
    void damagedFileChangesNothing();
    void unusableFieldFallsBackAlone_data();
    void unusableFieldFallsBackAlone();
    void everyCutShortFileIsRefused();
    void whatIsNotAFileIsRefused();
    void soundSettingsFollowOnlyACompleteRead();
    void tooLongPasswordIsRefusedNotCut_data();
    void tooLongPasswordIsRefusedNotCut();
    void failedWriteKeepsThePreviousFile();
    void onlyThisUserReadsTheLocalFile();
    void randomAndMutatedBytesNeverBreakTheReader();

    void saveWritesTheChangesOverTheFileAsItStands_data();
    void saveWritesTheChangesOverTheFileAsItStands();
    void savingKeepsAPasswordThatCannotBeRead();

private:
    std::unique_ptr<TestPrefs::Sandbox> sandbox_;
};

void TestPrefsFile::init() {
    sandbox_ = std::make_unique<TestPrefs::Sandbox>();
    myPrefs::setSoundStatesHandler({});
    myPrefs::initPrefs();
    myPrefs::prefsDirty = false;
    App::myRnd().seed(20250611);
}

void TestPrefsFile::cleanup() {
    myPrefs::setSoundStatesHandler({});
    sandbox_.reset();
}

void TestPrefsFile::defaultsFileIsByteExact() {
    ScriptedDialogs dialogs;
    const QString path = sandbox_->path("prefs");
    QVERIFY(myPrefs::writePrefFile(path));
    const QByteArray expected = QByteArray::fromHex("00"       // empty password: length 0
                                                    "00"       // network mode off
                                                    "00000000" // no folder reference
                                                    "01"       // students may add their name
                                                    "00"       // no student passwords
                                                    "0003"     // tries
                                                    "0000"     // problem source
                                                    "0028"     // 40 problems
                                                    "0055"     // 85 percent
                                                    "000a"     // up to fact 10
                                                    "07"
                                                    "322c302c302c30" // "2,0,0,0"
                                                    "00");           // animation on
    QCOMPARE(hex(TestPrefs::readBytes(path)), hex(expected));
    QVERIFY(dialogs.shown.isEmpty());
}

void TestPrefsFile::everyFieldIsStoredWhereItBelongs() {
    ScriptedDialogs dialogs;
    const Values v = everyFieldSet();
    myPrefs::apply(v);
    const QString path = sandbox_->path("prefs");
    QVERIFY(myPrefs::writePrefFile(path));
    const QByteArray bytes = TestPrefs::readBytes(path);

    // Field 1: the length counts bytes, and the bytes are the scrambled password's UTF-8.
    const int pwLength = static_cast<quint8>(bytes[0]);
    const QString scrambled = QString::fromUtf8(bytes.mid(1, pwLength));
    QCOMPARE(scrambled.toUtf8().size(), pwLength);
    QVERIFY(pwLength > v.passWord.size() + 1); // "Ö" takes two bytes
    QCOMPARE(myGlobals::unscrambleStr(scrambled), v.passWord);

    // Fields 2 to 4: the reference in Base64, broken after every 76 characters, length big-endian.
    qsizetype at = 1 + pwLength;
    QCOMPARE(bytes[at], char(1));
    const QByteArray len = bytes.mid(at + 1, 4);
    const quint32 refLength = quint32(quint8(len[0])) << 24 | quint32(quint8(len[1])) << 16 |
                              quint32(quint8(len[2])) << 8 | quint8(len[3]);
    const QByteArray reference = bytes.mid(at + 5, refLength);
    QCOMPARE(qsizetype(refLength), reference.size());
    const QList<QByteArray> lines = reference.split('\n');
    QVERIFY(lines.size() >= 2);
    for (qsizetype i = 0; i + 1 < lines.size(); ++i)
        QCOMPARE(lines[i], lines[i].left(76) + "\r");
    QVERIFY(lines.last().size() <= 76);
    QCOMPARE(QString::fromUtf8(QByteArray::fromBase64(QByteArray(reference).replace("\r\n", ""))),
             v.altFileLoc);

    // Fields 5 to 13.
    at += 5 + refLength;
    QCOMPARE(hex(bytes.mid(at)), hex(QByteArray::fromHex("00"
                                                         "01"
                                                         "0005"
                                                         "0002"
                                                         "0064"
                                                         "000a"
                                                         "0013"
                                                         "07"
                                                         "312c332c302c37"
                                                         "01")));
    QVERIFY(dialogs.shown.isEmpty());
}

void TestPrefsFile::readsBackWhatWasWritten_data() {
    QTest::addColumn<Values>("values");
    QTest::newRow("defaults") << Values{};
    QTest::newRow("every field set") << everyFieldSet();
    Values longest;
    longest.passWord = QString(254, QLatin1Char('a')); // 1 key byte + 254 = 255
    QTest::newRow("longest plain password") << longest;
    Values wide;
    wide.passWord = QStringLiteral("Ω∑ 数学 🧮");
    wide.altFileLoc = QString(400, QChar(0x00E9)); // many Base64 lines
    QTest::newRow("characters of every width") << wide;
    Values edges;
    edges.maxTries = 2;
    edges.dataSource = 1;
    edges.numCrit = 10;
    edges.pctCrit = 100;
    edges.hiCrit = 10;
    edges.sndSet = QStringLiteral("0,7,7,7");
    QTest::newRow("range ends") << edges;
}

void TestPrefsFile::readsBackWhatWasWritten() {
    QFETCH(Values, values);
    ScriptedDialogs dialogs;
    myPrefs::apply(values);
    const QString path = sandbox_->path("prefs");
    QVERIFY(myPrefs::writePrefFile(path));
    myPrefs::apply(distinctive());
    QVERIFY(myPrefs::readPrefFile(path));
    QCOMPARE(myPrefs::current(), values);
    QVERIFY(dialogs.shown.isEmpty());
}

void TestPrefsFile::rewritingChangesOnlyTheScrambledPassword() {
    ScriptedDialogs dialogs;
    myPrefs::apply(everyFieldSet());
    const QString path = sandbox_->path("prefs");
    QSet<QByteArray> passwordFields;
    QByteArray rest;
    for (int i = 0; i < 12; ++i) {
        QVERIFY(myPrefs::writePrefFile(path));
        const QByteArray bytes = TestPrefs::readBytes(path);
        const int n = 1 + static_cast<quint8>(bytes[0]);
        passwordFields.insert(bytes.left(n));
        if (i == 0)
            rest = bytes.mid(n);
        QCOMPARE(hex(bytes.mid(n)), hex(rest));
    }
    QVERIFY(passwordFields.size() > 1); // a new key each time

    myPrefs::prPassWord.clear();
    QVERIFY(myPrefs::writePrefFile(path));
    QCOMPARE(TestPrefs::readBytes(path).at(0), char(0)); // an empty password is one zero byte
}

void TestPrefsFile::fileWithoutLastFieldKeepsAnimationChoice_data() {
    QTest::addColumn<bool>("before");
    QTest::newRow("off stays off") << false;
    QTest::newRow("on stays on") << true;
}

void TestPrefsFile::fileWithoutLastFieldKeepsAnimationChoice() {
    QFETCH(bool, before);
    RawFile old;
    old.noAnim.reset();
    old.maxTries = 6;
    const QString path = sandbox_->path("old");
    QVERIFY(TestPrefs::writeBytes(path, old.bytes()));
    myPrefs::prNoAnim = before;
    QVERIFY(myPrefs::readPrefFile(path));
    QCOMPARE(myPrefs::prNoAnim, before);
    QCOMPARE(myPrefs::prMaxTries, 6);
}

void TestPrefsFile::valuesNoSaveWritesTakeTheirDefault_data() {
    QTest::addColumn<RawFile>("file");
    QTest::addColumn<Values>("expected");
    QTest::addColumn<bool>("whole"); // no damaged copy
    auto row = [](const char* name, auto change, auto expect, bool whole) {
        RawFile f;
        Values v;
        change(f);
        expect(v);
        QTest::newRow(name) << f << v << whole;
    };
    // Numbers out of the window's bounds are kept as read: an older version or a tool may have
    // written them, and they are bounded by the teacher's next save.
    row(
        "tries 1", [](RawFile& f) { f.maxTries = 1; }, [](Values& v) { v.maxTries = 1; }, true);
    row(
        "tries 7", [](RawFile& f) { f.maxTries = 7; }, [](Values& v) { v.maxTries = 7; }, true);
    row(
        "source 3", [](RawFile& f) { f.dataSource = 3; }, [](Values& v) { v.dataSource = 3; }, true);
    row(
        "source -1", [](RawFile& f) { f.dataSource = 0xFFFF; }, [](Values& v) { v.dataSource = -1; }, true);
    row(
        "zero problems of a fact", [](RawFile& f) { f.numCrit = 0; }, [](Values& v) { v.numCrit = 0; }, true);
    row(
        "percent 101", [](RawFile& f) { f.pctCrit = 101; }, [](Values& v) { v.pctCrit = 101; }, true);
    row(
        "highest fact 0x7fff", [](RawFile& f) { f.hiCrit = 0x7FFF; }, [](Values& v) { v.hiCrit = 0x7FFF; },
        true);
    row(
        "highest fact -32768", [](RawFile& f) { f.hiCrit = 0x8000; }, [](Values& v) { v.hiCrit = -32768; },
        true);
    // Flags and sound settings that no save writes are damage: the default, and a copy kept beside.
    row(
        "flag byte 2", [](RawFile& f) { f.noClass = 2; }, [](Values&) {}, false);
    row(
        "network byte 0xff", [](RawFile& f) { f.useAltLoc = 0xFF; }, [](Values&) {}, false);
    row(
        "animation byte 7", [](RawFile& f) { f.noAnim = 7; }, [](Values&) {}, false);
    row(
        "sound state 3", [](RawFile& f) { f.sndSet = "3,0,0,0"; }, [](Values&) {}, false);
    row(
        "sound index 8", [](RawFile& f) { f.sndSet = "1,8,0,0"; }, [](Values&) {}, false);
    row(
        "sound settings short", [](RawFile& f) { f.sndSet = "1,2"; }, [](Values&) {}, false);
    row(
        "sound settings empty", [](RawFile& f) { f.sndSet = ""; }, [](Values&) {}, false);
    row(
        "sound settings words", [](RawFile& f) { f.sndSet = "loud"; }, [](Values&) {}, false);
    row(
        "one bad among good",
        [](RawFile& f) { f.noClass = 9, f.pctCrit = 90, f.numCrit = 5000, f.reqStPW = 1; },
        [](Values& v) { v.pctCrit = 90, v.numCrit = 5000, v.reqStPW = true; }, false);
}

void TestPrefsFile::valuesNoSaveWritesTakeTheirDefault() {
    QFETCH(RawFile, file);
    QFETCH(Values, expected);
    QFETCH(bool, whole);
    const QString path = sandbox_->path("prefs");
    QVERIFY(TestPrefs::writeBytes(path, file.bytes()));
    myPrefs::apply(distinctive());
    myPrefs::DecodeReport report;
    QVERIFY(myPrefs::readPrefFile(path, myPrefs::Location::FromFile, &report));
    QCOMPARE(myPrefs::current(), expected);
    QCOMPARE(report.whole, whole);
    QCOMPARE(QFileInfo::exists(path + ".damaged"), !whole);
    // Writing them again (a move does) keeps the numbers as they are.
    ScriptedDialogs dialogs;
    QVERIFY(myPrefs::writePrefFile(path));
    QCOMPARE(myPrefs::decodeFile(TestPrefs::readBytes(path)), std::optional<Values>(expected));
}

void TestPrefsFile::damagedFileChangesNothing_data() {
    QTest::addColumn<QByteArray>("bytes");
    auto row = [](const char* name, auto change, int cut = 0) {
        RawFile f;
        f.password = myGlobals::scrambleStr(QStringLiteral("secret")).toUtf8();
        change(f);
        QTest::newRow(name) << f.bytes().chopped(cut);
    };
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("one zero byte") << QByteArray(1, '\0');
    row("reference length 2^31-1", [](RawFile& f) { f.refLength = 0x7FFFFFFF; });
    row("reference length -1", [](RawFile& f) { f.refLength = 0xFFFFFFFF; });
    row("reference length past the end", [](RawFile& f) {
        f.reference = QByteArray("L3RtcA==");
        f.refLength = 200;
    });
    row(
        "sound text runs past the end", [](RawFile& f) { f.noAnim.reset(); }, 3);
    QTest::newRow("text") << QByteArray("[General]\nprMaxTries=4\n");
}

void TestPrefsFile::damagedFileChangesNothing() {
    QFETCH(QByteArray, bytes);
    const QString path = sandbox_->path("prefs");
    QVERIFY(TestPrefs::writeBytes(path, bytes));
    myPrefs::apply(distinctive());
    QVERIFY(!myPrefs::readPrefFile(path));
    QCOMPARE(myPrefs::current(), distinctive());
    // Kept beside before anything writes the preferences again.
    QCOMPARE(TestPrefs::readBytes(path + ".damaged"), bytes);
    QVERIFY(QFileInfo::exists(path + ".damaged"));
}

void TestPrefsFile::unusableFieldFallsBackAlone_data() {
    QTest::addColumn<RawFile>("file");
    QTest::addColumn<Values>("expected");
    QTest::addColumn<bool>("whole");
    RawFile good;
    good.password = myGlobals::scrambleStr(QStringLiteral("secret")).toUtf8();
    good.useAltLoc = 1;
    good.reference = QByteArray("/srv/share").toBase64();
    good.maxTries = 5;
    good.pctCrit = 90;
    good.noAnim = 1;
    Values read;
    read.passWord = QStringLiteral("secret");
    read.useAltLoc = true;
    read.altFileLoc = QStringLiteral("/srv/share");
    read.maxTries = 5;
    read.pctCrit = 90;
    read.noAnim = true;
    auto row = [&](const char* name, auto changeFile, auto changeValues, bool whole) {
        RawFile f = good;
        Values v = read;
        changeFile(f);
        changeValues(v);
        QTest::newRow(name) << f << v << whole;
    };
    // The students must never get the teacher's menu because of a byte nobody reads.
    row(
        "bytes after the last field", [](RawFile& f) { f.trailing = "x\x01\xff"; }, [](Values&) {}, true);
    row(
        "reference not Base64", [](RawFile& f) { f.reference = "!!!!"; },
        [](Values& v) { v.altFileLoc.clear(); }, false);
    row(
        "reference not UTF-8", [](RawFile& f) { f.reference = QByteArray("\xff\xfe\xfd").toBase64(); },
        [](Values& v) { v.altFileLoc.clear(); }, false);
    // A password that cannot be read is not "no password": the one in use stays.
    const auto keptPassword = [](Values& v) {
        v.passWord = distinctive().passWord;
    };
    row(
        "password not UTF-8", [](RawFile& f) { f.password = "B\xc3"; }, keptPassword, false);
    row(
        "password not scrambled by us", [](RawFile& f) { f.password = "Z!"; }, keptPassword, false);
    // Fits in the file as it is, but not under every key a save may draw (found by fuzzing).
    row(
        "password too long to save again", [](RawFile& f) { f.password = "F" + QByteArray(143, '~'); },
        keptPassword, false);
}

void TestPrefsFile::unusableFieldFallsBackAlone() {
    QFETCH(RawFile, file);
    QFETCH(Values, expected);
    QFETCH(bool, whole);
    const QString path = sandbox_->path("prefs");
    QVERIFY(TestPrefs::writeBytes(path, file.bytes()));
    myPrefs::apply(distinctive());
    myPrefs::DecodeReport report;
    QVERIFY(myPrefs::readPrefFile(path, myPrefs::Location::FromFile, &report));
    QCOMPARE(myPrefs::current(), expected);
    QCOMPARE(report.whole, whole);
    QCOMPARE(report.locationLost, expected.altFileLoc.isEmpty());
    const bool passwordLost = expected.passWord == distinctive().passWord;
    QCOMPARE(report.passwordLost, passwordLost);
    QVERIFY(!myPrefs::passwordUnread);
    // What could not be used is kept beside, so the next write does not lose it without a copy.
    QCOMPARE(QFileInfo::exists(path + ".damaged"), !whole);
    if (!whole)
        QCOMPARE(TestPrefs::readBytes(path + ".damaged"), file.bytes());
    // And the preferences read save again as they are.
    ScriptedDialogs dialogs;
    QVERIFY(myPrefs::writePrefFile(path));
    myPrefs::initPrefs();
    QVERIFY(myPrefs::readPrefFile(path));
    QCOMPARE(myPrefs::current(), expected);
    QVERIFY(!myPrefs::passwordUnread);

    // With no password in use, the teacher's is not known after such a file, until one reads.
    if (passwordLost) {
        QVERIFY(TestPrefs::writeBytes(path, file.bytes()));
        myPrefs::initPrefs();
        QVERIFY(myPrefs::readPrefFile(path));
        QVERIFY(myPrefs::prPassWord.isEmpty());
        QVERIFY(myPrefs::passwordUnread);
        RawFile readable = file;
        readable.password = myGlobals::scrambleStr(QStringLiteral("secret")).toUtf8();
        QVERIFY(TestPrefs::writeBytes(path, readable.bytes()));
        QVERIFY(myPrefs::readPrefFile(path));
        QCOMPARE(myPrefs::prPassWord, QStringLiteral("secret"));
        QVERIFY(!myPrefs::passwordUnread);
    }
}

void TestPrefsFile::everyCutShortFileIsRefused() {
    // A file cut anywhere is refused whole, except right after field 12, where older files end.
    const QByteArray full = validFileBytes();
    QVERIFY(!full.isEmpty());
    const QString path = sandbox_->path("prefs");
    for (qsizetype n = 0; n < full.size(); ++n) {
        QVERIFY(TestPrefs::writeBytes(path, full.left(n)));
        myPrefs::apply(distinctive());
        const bool read = myPrefs::readPrefFile(path);
        QCOMPARE(read, n == full.size() - 1);
        if (!read)
            QCOMPARE(myPrefs::current(), distinctive());
    }
}

void TestPrefsFile::whatIsNotAFileIsRefused() {
    myPrefs::apply(distinctive());
    QVERIFY(!myPrefs::readPrefFile(QString()));
    QVERIFY(!myPrefs::readPrefFile(sandbox_->path("missing")));
    QVERIFY(!myPrefs::readPrefFile(sandbox_->folder("a folder")));
    // A pipe would block a reader until something writes into it.
    const QString pipe = sandbox_->path("pipe");
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QVERIFY(!myPrefs::readPrefFile(pipe));
    // Larger than any preferences file: not read into memory at all.
    const QString huge = sandbox_->path("huge");
    QFile big(huge);
    QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(qint64(64) << 20));
    big.close();
    QVERIFY(!myPrefs::readPrefFile(huge));
    QCOMPARE(myPrefs::current(), distinctive());

    if (::geteuid() == 0) {
        // The superuser reads any file: the whole check runs again as an unprivileged user.
        QVERIFY(TestDoubles::passesUnprivileged("whatIsNotAFileIsRefused"));
        return;
    }
    const QString locked = sandbox_->path("locked");
    QVERIFY(TestPrefs::writeBytes(locked, validFileBytes()));
    QVERIFY(QFile::setPermissions(locked, QFileDevice::WriteOwner));
    QVERIFY(!myPrefs::readPrefFile(locked));
    QCOMPARE(myPrefs::current(), distinctive());
}

void TestPrefsFile::soundSettingsFollowOnlyACompleteRead() {
    QStringList seen;
    myPrefs::setSoundStatesHandler([&] { seen << myPrefs::prSndSet; });
    const QString good = sandbox_->path("good");
    const QString bad = sandbox_->path("bad");
    RawFile f;
    f.sndSet = "1,4,5,6";
    QVERIFY(TestPrefs::writeBytes(good, f.bytes()));
    QVERIFY(TestPrefs::writeBytes(bad, f.bytes().left(20)));
    QVERIFY(!myPrefs::readPrefFile(bad));
    QVERIFY(seen.isEmpty());
    QVERIFY(myPrefs::readPrefFile(good));
    myPrefs::initPrefs();
    QCOMPARE(seen, QStringList({"1,4,5,6", "2,0,0,0"}));
}

void TestPrefsFile::tooLongPasswordIsRefusedNotCut_data() {
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("fits");
    QTest::newRow("254 letters") << QString(254, QLatin1Char('a')) << true;
    QTest::newRow("255 letters") << QString(255, QLatin1Char('a')) << false;
    // Shifted up, "z" leaves the one-byte range, so these count two bytes each.
    QTest::newRow("127 z") << QString(127, QLatin1Char('z')) << true;
    QTest::newRow("128 z") << QString(128, QLatin1Char('z')) << false;
    QTest::newRow("84 three-byte characters") << QString(84, QChar(0x6570)) << true;
    QTest::newRow("85 three-byte characters") << QString(85, QChar(0x6570)) << false;
    QTest::newRow("a tab cannot be read back") << QStringLiteral("a\tb") << false;
}

void TestPrefsFile::tooLongPasswordIsRefusedNotCut() {
    QFETCH(QString, password);
    QFETCH(bool, fits);
    ScriptedDialogs dialogs;
    const QString path = sandbox_->path("prefs");
    QVERIFY(myPrefs::writePrefFile(path));
    const QByteArray before = TestPrefs::readBytes(path);
    myPrefs::prefsDirty = true;

    myPrefs::prPassWord = password;
    QCOMPARE(myPrefs::passwordFits(password), fits);
    // Whatever key the scrambling draws, the outcome is the same.
    for (int attempt = 0; attempt < 20; ++attempt) {
        dialogs.clear();
        QCOMPARE(myPrefs::writePrefFile(path), fits);
        if (fits) {
            myPrefs::prPassWord.clear();
            QVERIFY(myPrefs::readPrefFile(path));
            QCOMPARE(myPrefs::prPassWord, password);
            QVERIFY(dialogs.shown.isEmpty());
        } else {
            QCOMPARE(dialogs.messages(), QStringList{"The administrative password is too long to be saved."});
            QVERIFY(dialogs.shown[0].isCaution);
            QCOMPARE(TestPrefs::readBytes(path), before);
            QVERIFY(myPrefs::prefsDirty);
        }
    }
}

void TestPrefsFile::failedWriteKeepsThePreviousFile() {
    ScriptedDialogs dialogs;
    const QString path = sandbox_->path("prefs");
    myPrefs::apply(everyFieldSet());
    QVERIFY(myPrefs::writePrefFile(path));
    const QByteArray before = TestPrefs::readBytes(path);
    myPrefs::prefsDirty = true;
    myPrefs::prMaxTries = 2;

    // A read-only folder (which does not stop the superuser).
    const QString blocked = sandbox_->folder("blocked");
    const QString inBlocked = QDir(blocked).filePath("prefs");
    QVERIFY(TestPrefs::writeBytes(inBlocked, before));
    QVERIFY(QFile::setPermissions(blocked, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const bool superuser = ::geteuid() == 0;

    const QStringList failing = {QString(), sandbox_->path("no such folder/prefs"),
                                 sandbox_->folder("a folder")};
    for (const QString& target : failing) {
        dialogs.clear();
        QVERIFY(!myPrefs::writePrefFile(target));
        QCOMPARE(dialogs.messages(), QStringList{"There was an error in writing a Preference file."});
        QCOMPARE(dialogs.shown[0].explanation,
                 QStringLiteral("You may not have permission to write to that location."));
        QVERIFY(myPrefs::prefsDirty);
    }
    QVERIFY(QFileInfo(sandbox_->path("a folder")).isDir());

    // The disk fills up half-way through the new file.
    myPrefs::prAltFileLoc = QString(300, QLatin1Char('x'));
    {
        TestPrefs::FileSizeLimit limit(before.size() + 10);
        dialogs.clear();
        QVERIFY(!myPrefs::writePrefFile(path));
    }
    QCOMPARE(dialogs.messages(), QStringList{"There was an error in writing a Preference file."});
    if (!superuser) {
        dialogs.clear();
        QVERIFY(!myPrefs::writePrefFile(inBlocked));
        QCOMPARE(dialogs.messages().size(), 1);
        QCOMPARE(TestPrefs::readBytes(inBlocked), before);
    }
    QFile::setPermissions(blocked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(TestPrefs::readBytes(path), before);
    QVERIFY(QDir(sandbox_->path("")).entryList({"*prefs*.*"}, QDir::Files | QDir::Hidden).isEmpty());

    QVERIFY(myPrefs::writePrefFile(path));
    QVERIFY(!myPrefs::prefsDirty);
}

void TestPrefsFile::onlyThisUserReadsTheLocalFile() {
    // The local file holds the administrative password: the mode bits say who may read it, for the
    // superuser too.
    ScriptedDialogs dialogs;
    const QString local = myPrefs::localPrefFile();
    const mode_t mask = ::umask(022);
    myPrefs::prPassWord = QStringLiteral("teach");
    QVERIFY(myPrefs::writePrefFile(local));
    QCOMPARE(modeOf(local), 0600);
    // A file that an earlier version left readable by everyone is closed at the next write.
    QVERIFY(QFile::setPermissions(local, QFileDevice::Permissions(0x6644)));
    QVERIFY(myPrefs::writePrefFile(local));
    QCOMPARE(modeOf(local), 0600);
    // So is the copy kept beside a damaged file.
    RawFile damaged;
    damaged.password = "Z!";
    QVERIFY(TestPrefs::writeBytes(local, damaged.bytes()));
    QVERIFY(QFile::setPermissions(local, QFileDevice::Permissions(0x6644)));
    QVERIFY(myPrefs::readPrefFile(local));
    QCOMPARE(modeOf(local + ".damaged"), 0600);
    // A copy in a shared folder is read and saved by every account of the school, whatever the umask
    // of the account that wrote it first.
    const QString shared = sandbox_->folder("share") + "/nbq10.pref";
    QVERIFY(myPrefs::writePrefFile(shared));
    QCOMPARE(modeOf(shared), 0666);
    ::umask(mask);
    QVERIFY(dialogs.shown.isEmpty());
}

void TestPrefsFile::randomAndMutatedBytesNeverBreakTheReader() {
    // A bounded, seeded run of the reader over mutated good files and plain noise: it never reads
    // outside its bytes (sanitizers and the fuzz target in fuzz/ run the same harder), and whatever
    // it accepts is a complete set that writes and reads back the same.
    std::mt19937 rng(7);
    const QByteArray good = validFileBytes();
    auto pick = [&](int n) {
        return static_cast<int>(rng() % static_cast<unsigned>(n));
    };
    int accepted = 0;
    for (int round = 0; round < 30000; ++round) {
        QByteArray bytes = good;
        switch (pick(5)) {
        case 0: // plain noise
            bytes.resize(pick(120));
            for (char& c : bytes)
                c = static_cast<char>(rng());
            break;
        case 1: // flipped bits
            for (int i = pick(4) + 1; i > 0; --i)
                bytes[pick(bytes.size())] ^= static_cast<char>(1 << pick(8));
            break;
        case 2: // cut short
            bytes.truncate(pick(bytes.size() + 1));
            break;
        case 3: // a byte set to an extreme value
            bytes[pick(bytes.size())] = pick(2) ? '\xff' : '\0';
            break;
        default: // bytes put in or taken out
            if (pick(2))
                bytes.insert(pick(bytes.size()), QByteArray(pick(8) + 1, static_cast<char>(rng())));
            else
                bytes.remove(pick(bytes.size()), pick(8) + 1);
        }
        const auto values = myPrefs::decodeFile(bytes);
        if (!values)
            continue;
        ++accepted;
        // Numbers are kept as stored: whatever 16 bits hold.
        for (int n : {values->maxTries, values->dataSource, values->numCrit, values->pctCrit, values->hiCrit})
            QVERIFY(n >= -32768 && n <= 32767);
        QVERIFY(myGlobals::passwordMatches(values->passWord, values->passWord));
        const auto again = myPrefs::encodeFile(*values);
        QVERIFY(again);
        auto reread = myPrefs::decodeFile(*again);
        QVERIFY(reread);
        Values expected = *values;
        expected.noAnim = values->noAnim.value_or(false);
        QCOMPARE(*reread, expected);
    }
    QVERIFY(accepted > 100); // the mutations also reach the parts after a good header
}

void TestPrefsFile::saveWritesTheChangesOverTheFileAsItStands_data() {
    QTest::addColumn<int>("scene");
    QTest::addColumn<myPrefs::Changes>("changes");
    QTest::addColumn<QStringList>("startMessages");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QStringList>("messages");
    // The general fields of the files written, or none when the file must stay byte for byte.
    QTest::addColumn<std::optional<Values>>("local");
    QTest::addColumn<std::optional<Values>>("shared");

    myPrefs::Changes newNumber;
    newNumber.numCrit = 60;
    const QStringList none;
    const QString kept = QStringLiteral("The administrative password saved on the server was kept.");
    const QString notSaved = QStringLiteral("Unable to write to the remote location.");
    const QString serverGone = QStringLiteral("The remote server is not available.");
    const QString retry =
        QStringLiteral("The remote server is not available\n You may connect to the server, "
                       "then click <Retry>, or use the local Preferences file");
    auto with = [](Values v, auto change) {
        change(v);
        return std::optional<Values>(v);
    };
    const auto numberOver = [&](const Values& base) {
        return with(base, [](Values& v) { v.numCrit = 60; });
    };
    const auto otherPlusNumber = with(otherComputersSave(), [](Values& v) { v.numCrit = 60; });

    Values anotherProgram = thisComputersValues();
    anotherProgram.pctCrit = 70;
    QTest::newRow("this computer, another program saved meanwhile")
        << int(Scene::Local) << newNumber << none << true << none << numberOver(anotherProgram)
        << std::optional<Values>();
    QTest::newRow("two computers' saves") << int(Scene::OtherComputerSaved) << newNumber << none << true
                                          << QStringList{kept} << otherPlusNumber << otherPlusNumber;
    myPrefs::Changes newPassword = newNumber;
    newPassword.passWord = QStringLiteral("Mine");
    const auto mine = with(*otherPlusNumber, [](Values& v) { v.passWord = QStringLiteral("Mine"); });
    QTest::newRow("two computers' saves, the password typed here")
        << int(Scene::OtherComputerSaved) << newPassword << none << true << none << mine << mine;
    QTest::newRow("share unreachable")
        << int(Scene::ShareGone) << newNumber << none << false << QStringList{notSaved}
        << std::optional<Values>() << std::optional<Values>();
    QTest::newRow("share unmounted") << int(Scene::ShareUnmounted) << newNumber << none << false
                                     << QStringList{notSaved} << std::optional<Values>()
                                     << std::optional<Values>();
    QTest::newRow("unreachable since the start")
        << int(Scene::OffForTheRun) << newNumber << QStringList{retry, serverGone} << false
        << QStringList{notSaved} << std::optional<Values>() << std::optional<Values>();
    QTest::newRow("unreachable at the start, back by the save")
        << int(Scene::OffForTheRunBack) << newNumber << QStringList{retry, serverGone} << true << none
        << numberOver(sharedValues()) << numberOver(sharedValues());
    QTest::newRow("share without preferences")
        << int(Scene::NoSharedFile) << newNumber
        << QStringList{"No preferences file was found on the server."} << true << none
        << numberOver(thisComputersValues()) << numberOver(thisComputersValues());
    QTest::newRow("share with damaged preferences")
        << int(Scene::DamagedSharedFile) << newNumber
        << QStringList{"Unable to read the preferences file on the server."} << true << none
        << numberOver(thisComputersValues()) << numberOver(thisComputersValues());
    // Read as stored and shown so; the save brings each to its nearest bound.
    QTest::newRow("out-of-range values")
        << int(Scene::OutOfRange) << myPrefs::Changes{} << none << true << none
        << with(thisComputersValues(),
                [](Values& v) {
                    v.maxTries = 6;
                    v.numCrit = 10;
                    v.pctCrit = 100;
                    v.hiCrit = 19;
                    v.dataSource = 2;
                })
        << std::optional<Values>();
}

void TestPrefsFile::saveWritesTheChangesOverTheFileAsItStands() {
    QFETCH(int, scene);
    QFETCH(myPrefs::Changes, changes);
    QFETCH(QStringList, startMessages);
    QFETCH(bool, saved);
    QFETCH(QStringList, messages);
    QFETCH(std::optional<Values>, local);
    QFETCH(std::optional<Values>, shared);
    const Scene at = Scene(scene);
    const bool network = at != Scene::Local && at != Scene::OutOfRange;
    ScriptedDialogs dialogs;
    const QString share = sandbox_->path("share/Numbrook");
    const QString localFile = myPrefs::localPrefFile();
    const QString plist = share + "/com.orlavo.vavava.plist";
    const QString older = share + "/nbq10.pref";

    Values mine = thisComputersValues();
    mine.useAltLoc = network;
    mine.altFileLoc = network ? share : QString();
    if (at == Scene::OutOfRange) {
        TestPrefs::RawFile raw;
        raw.password = myGlobals::scrambleStr(mine.passWord).toUtf8();
        raw.maxTries = 9, raw.dataSource = 4, raw.numCrit = 5, raw.pctCrit = 0x7FFF, raw.hiCrit = 25;
        QVERIFY(TestPrefs::writeBytes(localFile, raw.bytes()));
    } else {
        QVERIFY(writeValues(localFile, mine));
    }
    auto makeShare = [&] {
        sandbox_->folder("share/Numbrook");
        QVERIFY(TestPrefs::putSchoolDatabase(share));
        Values theirs = sharedValues();
        theirs.useAltLoc = true;
        theirs.altFileLoc = share;
        if (at == Scene::DamagedSharedFile)
            QVERIFY(TestPrefs::writeBytes(plist, "\x05garb"));
        else if (at != Scene::NoSharedFile)
            QVERIFY(writeValues(plist, theirs) && writeValues(older, theirs));
    };
    if (network && at != Scene::OffForTheRun && at != Scene::OffForTheRunBack)
        makeShare();

    myPrefs::hndlReadingPrefs();
    QCOMPARE(dialogs.messages(), startMessages);
    // The teacher is told which file is missing or damaged.
    if (at == Scene::NoSharedFile) {
        QCOMPARE(dialogs.shown[0].explanation,
                 QStringLiteral("Neither \"com.orlavo.vavava.plist\" nor \"nbq10.pref\" is in %1. This "
                                "computer's preferences are used with the school's database; saving them in "
                                "Preferences writes the file again.")
                     .arg(share));
    } else if (at == Scene::DamagedSharedFile) {
        QCOMPARE(dialogs.shown[0].explanation,
                 QStringLiteral(
                     "%1 cannot be read. A copy is kept beside it as \"com.orlavo.vavava.plist.damaged\". "
                     "This computer's preferences are used with the school's database; saving them "
                     "in Preferences writes the file again.")
                     .arg(plist));
        QVERIFY(QFileInfo::exists(plist + ".damaged"));
    }
    if (at == Scene::OutOfRange) {
        // Kept as read, and no damage to report.
        QCOMPARE(myPrefs::prNumCrit, 5);
        QCOMPARE(myPrefs::prHiCrit, 25);
        QCOMPARE(myPrefs::prMaxTries, 9);
        QVERIFY(!QFileInfo::exists(localFile + ".damaged"));
    }
    // A reachable share stays in use whatever became of its preferences file; one out of reach is
    // left for this run only.
    QCOMPARE(myPrefs::prUseAltLoc, network && at != Scene::OffForTheRun && at != Scene::OffForTheRunBack);
    if (myPrefs::prUseAltLoc) {
        // Read again as a student starts to play: nothing new to tell, the share still in use.
        dialogs.clear();
        myPrefs::hndlReadingPrefs();
        QVERIFY(dialogs.shown.isEmpty());
        QVERIFY(myPrefs::prUseAltLoc);
    }

    switch (at) {
    case Scene::Local: {
        Values rewritten = mine;
        rewritten.pctCrit = 70;
        QVERIFY(writeValues(localFile, rewritten));
    } break;
    case Scene::OtherComputerSaved:
        QVERIFY(writeValues(plist, otherComputersSave()));
        break;
    case Scene::ShareGone:
        QVERIFY(QDir(share).removeRecursively());
        break;
    case Scene::ShareUnmounted:
        QVERIFY(QDir(share).removeRecursively());
        sandbox_->folder("share/Numbrook");
        break;
    case Scene::OffForTheRunBack:
        makeShare();
        break;
    default:
        break;
    }
    const QByteArray localBefore = TestPrefs::readBytes(localFile);
    const QByteArray plistBefore = TestPrefs::readBytes(plist);
    const QByteArray olderBefore = TestPrefs::readBytes(older);
    const QStringList shareBefore =
        QDir(share).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    dialogs.clear();

    QCOMPARE(myPrefs::hndlWritingPrefs(changes), saved);
    QCOMPARE(dialogs.messages(), messages);
    auto located = [&](std::optional<Values> v) {
        // Both files carry this computer's way to the share (readers of the share keep their own).
        v->useAltLoc = network;
        v->altFileLoc = network ? share : QString();
        return v;
    };
    if (local)
        QCOMPARE(myPrefs::decodeFile(TestPrefs::readBytes(localFile)), located(local));
    else
        QCOMPARE(TestPrefs::readBytes(localFile), localBefore);
    if (shared) {
        QCOMPARE(myPrefs::decodeFile(TestPrefs::readBytes(plist)), located(shared));
    } else {
        QCOMPARE(TestPrefs::readBytes(plist), plistBefore);
        // Nothing at all is written into a share that is not there or not mounted.
        QCOMPARE(QDir(share).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), shareBefore);
    }
    QCOMPARE(TestPrefs::readBytes(older), olderBefore); // the older name is the moves' alone
    if (saved) {
        // What was saved is in force, this computer's location kept.
        Values inForce = *located(local);
        inForce.useAltLoc = myPrefs::prUseAltLoc;
        inForce.altFileLoc = myPrefs::prAltFileLoc;
        QCOMPARE(myPrefs::current(), inForce);
        QCOMPARE(myPrefs::lastFiled(), inForce);
    }
    // Network mode is this computer's setting: whatever the save met, the local file keeps it.
    QCOMPARE(myPrefs::decodeFile(TestPrefs::readBytes(localFile))->useAltLoc, network);
    // A damaged shared file is kept beside before the save replaces it; nothing else leaves a copy.
    QCOMPARE(QFileInfo::exists(plist + ".damaged"), at == Scene::DamagedSharedFile);
    QVERIFY(!QFileInfo::exists(localFile + ".damaged"));
}

void TestPrefsFile::savingKeepsAPasswordThatCannotBeRead() {
    ScriptedDialogs dialogs;
    const QString share = sandbox_->folder("share/Numbrook");
    QVERIFY(TestPrefs::putSchoolDatabase(share));
    const QString plist = share + "/com.orlavo.vavava.plist";
    Values mine = thisComputersValues();
    mine.useAltLoc = true;
    mine.altFileLoc = share;
    mine.passWord.clear();
    QVERIFY(writeValues(myPrefs::localPrefFile(), mine));
    // The share's password field holds what no save of ours wrote (a newer version's, say).
    TestPrefs::RawFile theirs;
    theirs.password = "Z!";
    theirs.useAltLoc = 1;
    theirs.reference = share.toUtf8().toBase64();
    QVERIFY(TestPrefs::writeBytes(plist, theirs.bytes()));
    myPrefs::hndlReadingPrefs();
    QVERIFY(myPrefs::passwordUnread);

    // A save that leaves the field alone keeps the share's password field byte for byte.
    myPrefs::Changes changes;
    changes.maxTries = 6;
    QVERIFY(myPrefs::hndlWritingPrefs(changes));
    const QByteArray written = TestPrefs::readBytes(plist);
    QCOMPARE(written.left(3), QByteArray("\x02Z!"));
    QCOMPARE(TestPrefs::readBytes(myPrefs::localPrefFile()).left(3), QByteArray("\x02Z!"));
    QCOMPARE(myPrefs::decodeFile(written)->maxTries, 6);
    QVERIFY(myPrefs::passwordUnread);
    QVERIFY(myPrefs::prPassWord.isEmpty());

    // With no file to keep it from, the unread password is not saved as "no password".
    QVERIFY(QFile::remove(plist));
    dialogs.clear();
    changes.maxTries = 2;
    QVERIFY(!myPrefs::hndlWritingPrefs(changes));
    QCOMPARE(
        dialogs.messages(),
        QStringList{"The administrative password could not be read, so the preferences were not saved."});
    QVERIFY(!QFileInfo::exists(plist));

    // Clear then Save: the teacher's choice of no password.
    changes.passWord = QString();
    QVERIFY(myPrefs::hndlWritingPrefs(changes));
    QCOMPARE(myPrefs::decodeFile(TestPrefs::readBytes(plist))->passWord, QString());
    QCOMPARE(TestPrefs::readBytes(plist).left(1), QByteArray(1, '\0'));
    QVERIFY(!myPrefs::passwordUnread);
}

QTEST_GUILESS_MAIN(TestPrefsFile)
#include "tst_prefs.moc"
