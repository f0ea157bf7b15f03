#include "prefs.h"

#include "dbctrl.h"
#include "globals.h"
#include "locations.h"
#include "outsidefile.h"
#include "seams.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>

namespace myPrefs {

QString prPassWord;
bool prUseAltLoc = false;
QString prAltFileLoc;
bool prNoClass = true;
bool prReqStPW = false;
int prMaxTries = 3;
int prDataSource = 0;
int prNumCrit = 40;
int prPctCrit = 85;
int prHiCrit = 10;
QString prSndSet = QStringLiteral("2,0,0,0");
bool prNoAnim = false;
bool prefsDirty = false;
bool passwordUnread = false;

// The preferences file, field after field with nothing between them and nothing after the last:
//
//   1  administrative password, scrambled   text: one length byte N, then N bytes of UTF-8
//   2  network mode                          one byte, 1 true / 0 false
//   3  L, the byte length of field 4         32-bit integer
//   4  shared-folder reference               L bytes: Base64 of its UTF-8, "\r\n" after every 76
//   5  students may add their own name       one byte
//   6  student passwords required            one byte
//   7  tries per problem                     16-bit integer
//   8  problem source                        16-bit integer
//   9  fewest problems of a learned fact     16-bit integer
//  10  percent of a learned fact             16-bit integer
//  11  highest fact counted                  16-bit integer
//  12  sound settings                        text, as field 1
//  13  no animation                          one byte; absent in files older than the choice
//
// Integers are big-endian (most significant byte first), signed, in two's complement; the 16-bit
// fields hold the low 16 bits of the values in memory. Lengths count bytes, not characters.

namespace {

constexpr int kMaxText = 255;
constexpr int kBase64Line = 76;
// No real preferences file comes near this; anything larger is not one, and is not read into memory.
constexpr qint64 kMaxFileSize = 1 << 20;

// See lastFiled().
Values& filed() {
    static Values values;
    return values;
}

std::function<void()>& soundStatesHandler() {
    static std::function<void()> handler;
    return handler;
}

void showCaution(const QString& message, const QString& explanation) {
    myGlobals::gShowMsg(true, message, explanation);
}

// Reads the fields of a file in order; every read checks that the bytes are there.
class FieldReader {
public:
    explicit FieldReader(const QByteArray& bytes) : bytes_(bytes) {}

    bool atEnd() const { return pos_ == bytes_.size(); }

    std::optional<quint8> byte() {
        if (bytes_.size() - pos_ < 1)
            return std::nullopt;
        return static_cast<quint8>(bytes_[pos_++]);
    }
    std::optional<qint16> int16() {
        if (bytes_.size() - pos_ < 2)
            return std::nullopt;
        const auto hi = static_cast<quint8>(bytes_[pos_]);
        const auto lo = static_cast<quint8>(bytes_[pos_ + 1]);
        pos_ += 2;
        return static_cast<qint16>(static_cast<quint16>(hi << 8 | lo));
    }
    std::optional<qint32> int32() {
        if (bytes_.size() - pos_ < 4)
            return std::nullopt;
        quint32 v = 0;
        for (int i = 0; i < 4; ++i)
            v = v << 8 | static_cast<quint8>(bytes_[pos_ + i]);
        pos_ += 4;
        return static_cast<qint32>(v);
    }
    std::optional<QByteArray> bytes(qint64 count) {
        if (count < 0 || bytes_.size() - pos_ < count)
            return std::nullopt;
        QByteArray out = bytes_.mid(pos_, count);
        pos_ += count;
        return out;
    }
    // A length-prefixed text's bytes: one length byte N, then N bytes.
    std::optional<QByteArray> length8Bytes() {
        const auto length = byte();
        if (!length)
            return std::nullopt;
        return bytes(*length);
    }

    // Text that is not valid UTF-8 was not written by us.
    static std::optional<QString> utf8(const QByteArray& raw) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString out = decoder(raw);
        if (decoder.hasError())
            return std::nullopt;
        return out;
    }

private:
    const QByteArray& bytes_;
    qsizetype pos_ = 0;
};

void putInt16(QByteArray& out, int value) {
    const auto v = static_cast<quint16>(value & 0xFFFF);
    out.append(static_cast<char>(v >> 8));
    out.append(static_cast<char>(v & 0xFF));
}

void putInt32(QByteArray& out, qint32 value) {
    const auto v = static_cast<quint32>(value);
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(static_cast<char>((v >> shift) & 0xFF));
}

bool putText(QByteArray& out, const QString& text) {
    const QByteArray raw = text.toUtf8();
    if (raw.size() > kMaxText)
        return false;
    out.append(static_cast<char>(raw.size()));
    out.append(raw);
    return true;
}

QByteArray base64Lines(const QByteArray& raw) {
    const QByteArray encoded = raw.toBase64();
    QByteArray out;
    for (qsizetype i = 0; i < encoded.size(); i += kBase64Line) {
        if (i > 0)
            out.append("\r\n");
        out.append(encoded.mid(i, kBase64Line));
    }
    return out;
}

std::optional<QByteArray> fromBase64Lines(const QByteArray& lines) {
    QByteArray packed;
    packed.reserve(lines.size());
    for (char c : lines) {
        if (c != '\r' && c != '\n' && c != ' ' && c != '\t')
            packed.append(c);
    }
    auto decoded = QByteArray::fromBase64Encoding(packed, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return std::nullopt;
    return *decoded;
}

bool flag(quint8 value, bool fallback) {
    return value <= 1 ? value == 1 : fallback;
}

// The sound settings string as the preferences window builds it: the state 0 to 2 and three
// indexes 0 to 7, plain decimal numbers joined by ",".
bool isSoundSettings(const QString& text) {
    const QStringList fields = text.split(QLatin1Char(','));
    if (fields.size() != 4)
        return false;
    for (int i = 0; i < 4; ++i) {
        if (fields[i].size() != 1 || !fields[i][0].isDigit())
            return false;
        const int v = fields[i][0].digitValue();
        if (v > (i == 0 ? 2 : 7))
            return false;
    }
    return true;
}

// The scrambling shifts each character by at most 9 code points; this many bytes are enough for any
// key it draws.
qsizetype worstScrambledBytes(const QString& password) {
    qsizetype bytes = 1; // the key character
    for (const char32_t c : password.toUcs4()) {
        const char32_t shifted = c + 9;
        bytes += shifted < 0x80 ? 1 : shifted < 0x800 ? 2 : shifted < 0x10000 ? 3 : 4;
    }
    return bytes;
}

// Whether the text read back from a file is a password at all (see myGlobals::unscrambleStr).
bool isReadablePassword(const QString& clear) {
    return myGlobals::passwordMatches(clear, clear);
}

// A preferences file holds the administrative password: in this user's own preferences folder it is
// this user's alone. A shared folder's copy is read by every computer of the school and keeps the
// modes the folder gives it.
bool isThisUsersOwn(const QString& path) {
    const QString folder = userPrefsFolder();
    return !folder.isEmpty() && QDir::cleanPath(QFileInfo(path).absolutePath()) ==
                                    QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
}

// A preferences file in this user's own folder is this user's alone; the shared folder's copy is
// every account's, as the database beside it is, so that every teacher's account can save it.
Durable::Access accessFor(const QString& path) {
    return isThisUsersOwn(path) ? Durable::Access::OwnerOnly : Durable::Access::Everyone;
}

// Keeps the bytes of a file that could not be used whole beside it, before anything writes the
// preferences again; an older copy gives way to the newer one. A link at that name stays as it is.
bool keepDamagedCopy(const QString& path, const QByteArray& bytes) {
    return Durable::replaceFile(path + QStringLiteral(".damaged"), bytes, accessFor(path)) !=
           Durable::Failure::Link;
}

// What the start says of a preferences file it could not read: a link at its name, or at the name of
// the copy it keeps of a damaged one, is named.
QString linksOf(const QString& path, const DecodeReport& report) {
    if (report.link)
        return neverFollowed(path);
    if (report.copyAtLink)
        return QStringLiteral("No copy of it was kept: ") +
               neverFollowed(path + QStringLiteral(".damaged"));
    return {};
}

const QString kWriteFailed = QStringLiteral("There was an error in writing a Preference file.");

// A save's own checks and write, each saying what went wrong.
bool passwordSaveable(const QString& password) {
    if (passwordFits(password))
        return true;
    showCaution(QStringLiteral("The administrative password is too long to be saved."),
                QStringLiteral("Please choose a shorter password. The preferences were not saved."));
    return false;
}

std::optional<QByteArray> encodeOrSay(const Values& values) {
    auto bytes = encodeFile(values);
    if (!bytes)
        showCaution(kWriteFailed, QStringLiteral("The sound settings could not be stored."));
    return bytes;
}

bool writeBytesTo(const QString& path, const QByteArray& bytes) {
    const Durable::Failure failure =
        path.isEmpty() ? Durable::Failure::Other : Durable::replaceFile(path, bytes, accessFor(path));
    if (failure == Durable::Failure::None)
        return true;
    showCaution(kWriteFailed, whyNotWritten(failure, path));
    return false;
}

} // namespace

QString whyNotWritten(Durable::Failure failure, const QString& path) {
    const QString file = QDir::toNativeSeparators(path);
    switch (failure) {
    case Durable::Failure::Link:
        return QStringLiteral("\"%1\" is a link to another file, which Numbrook Riza never writes through. "
                              "Please delete the link and try again.")
            .arg(file);
    case Durable::Failure::ReadOnly:
        return QStringLiteral("\"%1\" is read-only for this account. Please ask whoever made it so to let "
                              "every account write it, or delete it, and try again.")
            .arg(file);
    case Durable::Failure::NoSpace:
        return QStringLiteral("The disk is full, so \"%1\" could not be written. Please make room on the "
                              "disk and try again.")
            .arg(file);
    default:
        return QStringLiteral("You may not have permission to write to that location.");
    }
}

Values bounded(Values v) {
    v.maxTries = std::clamp(v.maxTries, kMinTries, kMaxTries);
    v.dataSource = std::clamp(v.dataSource, kMinSource, kMaxSource);
    v.numCrit = std::clamp(v.numCrit, kMinNumCrit, kMaxNumCrit);
    v.pctCrit = std::clamp(v.pctCrit, kMinPctCrit, kMaxPctCrit);
    v.hiCrit = std::clamp(v.hiCrit, kMinHiCrit, kMaxHiCrit);
    return v;
}

Changes Changes::of(const Values& v) {
    return {v.passWord, v.noClass, v.reqStPW, v.maxTries, v.dataSource,
            v.numCrit,  v.pctCrit, v.hiCrit,  v.sndSet,   v.noAnim};
}

Values Changes::over(Values v) const {
    auto put = [](auto& field, const auto& change) {
        if (change)
            field = *change;
    };
    put(v.passWord, passWord);
    put(v.noClass, noClass);
    put(v.reqStPW, reqStPW);
    put(v.maxTries, maxTries);
    put(v.dataSource, dataSource);
    put(v.numCrit, numCrit);
    put(v.pctCrit, pctCrit);
    put(v.hiCrit, hiCrit);
    put(v.sndSet, sndSet);
    if (noAnim)
        v.noAnim = *noAnim;
    return v;
}

Values lastFiled() {
    return filed();
}

Values current() {
    return {prPassWord,   prUseAltLoc, prAltFileLoc, prNoClass, prReqStPW, prMaxTries,
            prDataSource, prNumCrit,   prPctCrit,    prHiCrit,  prSndSet,  prNoAnim};
}

QString neverFollowed(const QString& path) {
    return QStringLiteral("\"%1\" is a link to another file, which Numbrook Riza never follows.")
        .arg(QDir::toNativeSeparators(path));
}

Values inForce() {
    return bounded(current());
}

void apply(const Values& values, Location location) {
    prPassWord = values.passWord;
    if (location == Location::FromFile) {
        prUseAltLoc = values.useAltLoc;
        prAltFileLoc = values.altFileLoc;
    }
    prNoClass = values.noClass;
    prReqStPW = values.reqStPW;
    prMaxTries = values.maxTries;
    prDataSource = values.dataSource;
    prNumCrit = values.numCrit;
    prPctCrit = values.pctCrit;
    prHiCrit = values.hiCrit;
    prSndSet = values.sndSet;
    if (values.noAnim)
        prNoAnim = *values.noAnim;
}

std::optional<Values> decodeFile(const QByteArray& bytes, DecodeReport* report) {
    DecodeReport local;
    DecodeReport& r = report ? *report : local;
    r = DecodeReport{};
    const Values defaults;
    Values v;
    FieldReader in(bytes);

    const auto scrambled = in.length8Bytes();
    if (!scrambled)
        return std::nullopt;
    const auto useAltLoc = in.byte();
    if (useAltLoc)
        r.networkMode = flag(*useAltLoc, defaults.useAltLoc);
    const auto refLength = in.int32();
    if (!useAltLoc || !refLength)
        return std::nullopt;
    const auto refLines = in.bytes(*refLength);
    if (!refLines)
        return std::nullopt;
    const auto noClass = in.byte();
    const auto reqStPW = in.byte();
    const auto maxTries = in.int16();
    const auto dataSource = in.int16();
    const auto numCrit = in.int16();
    const auto pctCrit = in.int16();
    const auto hiCrit = in.int16();
    const auto sndSet = in.length8Bytes();
    if (!noClass || !reqStPW || !maxTries || !dataSource || !numCrit || !pctCrit || !hiCrit || !sndSet)
        return std::nullopt;
    // The last field; whatever follows it is not read.
    const auto noAnim = in.byte();

    auto take = [&r](bool usable) {
        if (!usable)
            r.whole = false;
        return usable;
    };
    // A password that no save could store again is not one this program wrote; taking it would make
    // every later save of the preferences fail.
    const auto password = FieldReader::utf8(*scrambled);
    const QString clear = password ? myGlobals::unscrambleStr(*password) : QString();
    if (take(password && isReadablePassword(clear) && worstScrambledBytes(clear) <= kMaxText))
        v.passWord = clear;
    else
        r.passwordLost = true;

    v.useAltLoc = *r.networkMode;
    take(*useAltLoc <= 1);
    const auto refRaw = fromBase64Lines(*refLines);
    const auto ref = refRaw ? FieldReader::utf8(*refRaw) : std::nullopt;
    if (take(ref.has_value()))
        v.altFileLoc = *ref;
    else
        r.locationLost = v.useAltLoc;

    take(*noClass <= 1 && *reqStPW <= 1);
    v.noClass = flag(*noClass, defaults.noClass);
    v.reqStPW = flag(*reqStPW, defaults.reqStPW);
    // A number outside what the preferences window stores is no damage: an older version, or a
    // teacher's tool, may have written it. It is shown as read and bounded when the teacher saves.
    v.maxTries = *maxTries;
    v.dataSource = *dataSource;
    v.numCrit = *numCrit;
    v.pctCrit = *pctCrit;
    v.hiCrit = *hiCrit;
    const auto sound = FieldReader::utf8(*sndSet);
    v.sndSet = take(sound && isSoundSettings(*sound)) ? *sound : defaults.sndSet;

    v.noAnim = std::nullopt; // files older than the animation choice end before it
    if (noAnim) {
        take(*noAnim <= 1);
        v.noAnim = flag(*noAnim, *defaults.noAnim);
    }
    return v;
}

std::optional<QByteArray> encodeFile(const Values& v) {
    if (!passwordFits(v.passWord))
        return std::nullopt;
    QByteArray out;
    if (!putText(out, myGlobals::scrambleStr(v.passWord)))
        return std::nullopt;
    out.append(static_cast<char>(v.useAltLoc ? 1 : 0));
    const QByteArray ref = base64Lines(v.altFileLoc.toUtf8());
    putInt32(out, static_cast<qint32>(ref.size()));
    out.append(ref);
    out.append(static_cast<char>(v.noClass ? 1 : 0));
    out.append(static_cast<char>(v.reqStPW ? 1 : 0));
    putInt16(out, v.maxTries);
    putInt16(out, v.dataSource);
    putInt16(out, v.numCrit);
    putInt16(out, v.pctCrit);
    putInt16(out, v.hiCrit);
    if (!putText(out, v.sndSet))
        return std::nullopt;
    out.append(static_cast<char>(v.noAnim.value_or(false) ? 1 : 0));
    return out;
}

bool passwordFits(const QString& password) {
    if (password.isEmpty())
        return true;
    if (worstScrambledBytes(password) > kMaxText)
        return false;
    // Characters a keyboard does not type (control characters) would not read back.
    return myGlobals::unscrambleStr(myGlobals::scrambleStr(password)) == password;
}

void initPrefs() {
    apply(Values{});
    filed() = current();
    passwordUnread = false;
    soundSettingsChanged();
}

bool writePrefFile(const QString& path) {
    if (path.isEmpty())
        return writeBytesTo(path, {}); // says that no file could be written
    if (!passwordSaveable(prPassWord))
        return false;
    const auto bytes = encodeOrSay(current());
    if (!bytes || !writeBytesTo(path, *bytes))
        return false;
    prefsDirty = false;
    filed() = current();
    return true;
}

bool readPrefFile(const QString& path, Location location, DecodeReport* report) {
    DecodeReport local;
    DecodeReport& r = report ? *report : local;
    r = DecodeReport{};
    if (path.isEmpty())
        return false;
    const OutsideFile::Contents read = OutsideFile::read(path, kMaxFileSize, OutsideFile::Links::Refuse);
    if (read.problem == OutsideFile::Problem::TooLarge)
        r.whole = false;
    r.link = read.problem == OutsideFile::Problem::Link;
    if (!read.ok())
        return false;
    const QByteArray& bytes = read.bytes;
    const auto values = decodeFile(bytes, &r);
    if (!values || !r.whole) {
        r.whole = false;
        r.copyAtLink = !keepDamagedCopy(path, bytes);
    }
    if (!values)
        return false;
    const QString passwordInUse = prPassWord;
    apply(*values, location);
    if (r.passwordLost) {
        // A password that cannot be read is not "no password": the one in use stays, and with none in
        // use the teacher's password is not known.
        prPassWord = passwordInUse;
        if (prPassWord.isEmpty())
            passwordUnread = true;
    } else {
        passwordUnread = false;
    }
    filed() = current();
    soundSettingsChanged();
    return true;
}

std::optional<QString> passwordIn(const QString& path) {
    if (path.isEmpty())
        return std::nullopt;
    const OutsideFile::Contents read = OutsideFile::read(path, kMaxFileSize, OutsideFile::Links::Refuse);
    if (!read.ok())
        return std::nullopt;
    DecodeReport report;
    const auto values = decodeFile(read.bytes, &report);
    if (!values || report.passwordLost)
        return std::nullopt;
    return values->passWord;
}

namespace {

// A preferences file as it stands before a save writes over it.
struct Standing {
    std::optional<Values> values;   // nothing when it is missing or is no preferences file
    QByteArray unreadPasswordField; // field 1 as stored, when it holds a password that cannot be read
};

Standing readStanding(const QString& path) {
    Standing standing;
    const OutsideFile::Contents read = OutsideFile::read(path, kMaxFileSize, OutsideFile::Links::Refuse);
    if (!read.ok())
        return standing;
    DecodeReport report;
    standing.values = decodeFile(read.bytes, &report);
    // The save is about to replace it: what could not be used is kept beside first.
    if (!standing.values || !report.whole)
        keepDamagedCopy(path, read.bytes);
    if (standing.values && report.passwordLost)
        standing.unreadPasswordField = read.bytes.left(1 + static_cast<quint8>(read.bytes.at(0)));
    return standing;
}

} // namespace

QString networkSetting() {
    if (prUseAltLoc)
        return prAltFileLoc;
    // Network mode may be off for this run only, the start having found the shared folder out of
    // reach: this computer's file still names it, and the setting is the file's.
    const QString local = localPrefFile();
    if (local.isEmpty())
        return {};
    const OutsideFile::Contents read = OutsideFile::read(local, kMaxFileSize, OutsideFile::Links::Refuse);
    if (!read.ok())
        return {};
    DecodeReport report;
    const auto values = decodeFile(read.bytes, &report);
    if (!values || !values->useAltLoc || report.locationLost)
        return {};
    return values->altFileLoc;
}

bool hndlWritingPrefs() {
    return hndlWritingPrefs(Changes::of(current()));
}

bool hndlWritingPrefs(const Changes& changes) {
    // The file keeps the password behind one length byte: one that cannot be stored is not taken.
    if (changes.passWord && !passwordSaveable(*changes.passWord))
        return false;
    // Only named, never made from the older file or the defaults: the file is written now.
    const QString local = localPrefFile();
    if (local.isEmpty()) {
        showCaution(QStringLiteral("Unable to write a preferences file."),
                    QStringLiteral("File permissions may have prevented the write."));
        return false;
    }
    // In network mode the preferences in force are the shared folder's: a save that cannot reach it
    // would be lost at the next start, and one written into an empty folder where the share is
    // mounted would hide there once it is mounted again.
    const QString reference = networkSetting();
    const bool network = !reference.isEmpty();
    QString shared;
    if (network) {
        shared = parseGSI(reference);
        if (shared.isEmpty() || !holdsSchoolDatabase(shared)) {
            showCaution(QStringLiteral("Unable to write to the remote location."),
                        QStringLiteral("Nothing was saved. Please connect to the server and save again."));
            return false;
        }
    }

    // Over the file as it stands now: another computer may have saved since this one read it.
    const Standing standing = readStanding(network ? sharedPrefsInUse(shared) : local);
    const bool keepUnreadPassword = !changes.passWord && !standing.unreadPasswordField.isEmpty();
    if (!changes.passWord && !standing.values && passwordUnread) {
        // No file holds the teacher's password, and this computer could not read it: writing the
        // empty one in memory would take it away from every computer.
        showCaution(QStringLiteral("The administrative password could not be read, so the preferences were "
                                   "not saved."),
                    QStringLiteral("Please type the password again, or press Clear for none, and save."));
        return false;
    }
    Values merged = bounded(changes.over(standing.values.value_or(current())));
    merged.useAltLoc = network;
    merged.altFileLoc = network ? reference : QString();
    auto bytes = encodeOrSay(merged);
    if (!bytes)
        return false;
    // A password left unchanged stays as the file holds it, also when this computer cannot read it.
    if (keepUnreadPassword)
        bytes->replace(0, 1 + static_cast<quint8>(bytes->at(0)), standing.unreadPasswordField);

    // The shared file is the one every computer reads: it is the save's commit point, and nothing is
    // saved when it cannot be written.
    if (network && !writeBytesTo(QDir(shared).filePath(QString::fromLatin1(kPrefFileName)), *bytes))
        return false;
    // In network mode a failure here has been shown and the shared file holds the values; in local
    // mode this file is the save.
    if (!writeBytesTo(local, *bytes) && !network)
        return false;

    const QString passwordBefore = prPassWord;
    const bool passwordChangedMeanwhile =
        !changes.passWord && !keepUnreadPassword && standing.values && merged.passWord != passwordBefore;
    apply(merged, Location::KeepOurs);
    if (keepUnreadPassword) {
        prPassWord = passwordBefore;
        passwordUnread = passwordBefore.isEmpty();
    } else {
        passwordUnread = false;
    }
    prefsDirty = false;
    filed() = current();
    soundSettingsChanged();
    if (passwordChangedMeanwhile && merged.passWord.isEmpty()) {
        myGlobals::gShowMsg(false,
                            network ? QStringLiteral("The administrative password was cleared on the server.")
                                    : QStringLiteral("The administrative password was cleared in the "
                                                     "preferences file."),
                            QStringLiteral("It was cleared after this window showed the preferences, and you "
                                           "did not change it here. To set a password, type it and save "
                                           "again."));
    } else if (passwordChangedMeanwhile) {
        myGlobals::gShowMsg(false,
                            network
                                ? QStringLiteral("The administrative password saved on the server was kept.")
                                : QStringLiteral("The administrative password saved in the preferences "
                                                 "file was kept."),
                            QStringLiteral("It is not the one this window showed, and you did not change it "
                                           "here. To replace it, type a new password (or press Clear for "
                                           "none) and save again."));
    }
    return true;
}

namespace {

void readLocalThenShared() {
    const QString local = getLocalPrefFol();
    DecodeReport report;
    const bool localRead =
        local.isEmpty() || !Durable::standsThere(local) || readPrefFile(local, Location::FromFile, &report);
    // A file that may have held network mode, but whose shared folder cannot be known: the results
    // would silently go to a database on this computer that the teacher never sees.
    const bool locationLost = localRead ? report.locationLost : report.networkMode.value_or(true);
    if (!localRead || locationLost) {
        const QString links = linksOf(local, report);
        showCaution(QStringLiteral("Unable to read the preferences"),
                    (links.isEmpty() ? QString() : links + QStringLiteral(" Please delete the link. ")) +
                        (locationLost ? QStringLiteral("This computer's data location could not be read: "
                                                       "results now go to this computer until the teacher "
                                                       "sets the shared folder again in Preferences.")
                                      : QStringLiteral("Please go to Preferences and reset.")));
        if (locationLost)
            prUseAltLoc = false; // for this run; the file keeps what it holds
        return;
    }
    if (!prUseAltLoc)
        return;

    // An empty folder where the share is mounted when it is there is not the shared folder: its
    // preferences would be this computer's alone, and its database a new empty one.
    auto reachable = [] {
        return serverAvail() && holdsSchoolDatabase(parseGSI(prAltFileLoc));
    };
    Seams::Dialogs& dialogs = Seams::dialogs();
    const QString looking = QStringLiteral("Looking for server...");
    dialogs.showWaitWindow(looking);
    bool found = reachable();
    dialogs.closeWaitWindow();
    if (!found && askRetryServer()) {
        dialogs.showWaitWindow(looking);
        found = reachable();
        dialogs.closeWaitWindow();
    }
    if (!found) {
        // For this run only: the local file keeps network mode, so the next start looks again, and
        // a save in this run goes to the shared folder or nowhere.
        prUseAltLoc = false;
        // A link planted at the database's name makes the folder no school's shared folder.
        const QString folder = parseGSI(prAltFileLoc);
        const QString database =
            folder.isEmpty() ? QString() : QDir(folder).filePath(QString::fromLatin1(DBCtrl::kFileName));
        showCaution(QStringLiteral("The remote server is not available."),
                    (Durable::isLink(database)
                         ? neverFollowed(database) + QLatin1Char(' ')
                         : QString()) +
                        QStringLiteral("Local preference settings will be used."));
        return;
    }
    // The school's database is there and stays in use, whatever became of its preferences file. The
    // teacher is told once; the reads again at every student's play say nothing new.
    static QString told;
    const QString shared = parseGSI(prAltFileLoc);
    const QString file = getNetworkPrefFol();
    const QString useLocal = QStringLiteral(" This computer's preferences are used with the school's "
                                            "database; saving them in Preferences writes the file again.");
    if (file.isEmpty()) {
        if (told != shared) {
            showCaution(QStringLiteral("No preferences file was found on the server."),
                        QStringLiteral("Neither \"%1\" nor \"%2\" is in %3.")
                                .arg(QString::fromLatin1(kPrefFileName),
                                     QString::fromLatin1(kOldPrefFileName),
                                     QDir::toNativeSeparators(shared)) +
                            useLocal);
        }
        told = shared;
    } else if (DecodeReport sharedReport; !readPrefFile(file, Location::KeepOurs, &sharedReport)) {
        if (told != file) {
            const QString name = QFileInfo(file).fileName();
            const QString copy = file + QStringLiteral(".damaged");
            const QString links = linksOf(file, sharedReport);
            showCaution(QStringLiteral("Unable to read the preferences file on the server."),
                        (sharedReport.link ? links + QStringLiteral(" Please delete the link.")
                                           : QStringLiteral("%1 cannot be read.").arg(QDir::toNativeSeparators(file)) +
                                                 (links.isEmpty() ? QString() : QLatin1Char(' ') + links)) +
                            (QFileInfo(copy).isFile() && !Durable::isLink(copy)
                                 ? QStringLiteral(" A copy is kept beside it as \"%1.damaged\".").arg(name)
                                 : QString()) +
                            useLocal);
        }
        told = file;
    } else {
        told.clear();
    }
}

} // namespace

void hndlReadingPrefs() {
    // Said once, when it happens: a read again at the next student's play says nothing new.
    const bool unreadBefore = passwordUnread;
    readLocalThenShared();
    if (passwordUnread && !unreadBefore) {
        showCaution(QStringLiteral("The administrative password could not be read."),
                    QStringLiteral("Until a new one is saved in Preferences, the teacher's windows open "
                                   "without a password."));
    }
}

bool askRetryServer() {
    Seams::Question q;
    q.icon = Seams::Icon::Caution;
    q.message = QStringLiteral("The remote server is not available") + QLatin1Char('\n') +
                QStringLiteral(" You may connect to the server, then click <Retry>, or use the local "
                               "Preferences file");
    q.explanation = QStringLiteral("You can reset this option in the Preferences Screen");
    q.defaultCaption = QStringLiteral("Retry Server");
    q.cancelCaption = QStringLiteral("Use Local Computer");
    return Seams::dialogs().ask(q) == Seams::Answer::Default;
}

void setSoundStatesHandler(std::function<void()> handler) {
    soundStatesHandler() = std::move(handler);
}

void soundSettingsChanged() {
    if (soundStatesHandler())
        soundStatesHandler()();
}

} // namespace myPrefs
