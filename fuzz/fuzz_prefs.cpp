// The preferences reader on any bytes at all: it must never read outside them, never hang, and
// whatever it accepts must be a complete set of preferences that writes and reads back the same. What it reports must say what became of the file: a password field that holds no password
// this program could have written is reported lost (never read as "no password"), and one that does
// is kept. A violation aborts, which the fuzzer reports with the input that caused it.

#include "data/globals.h"
#include "data/prefs.h"

#include <QByteArray>
#include <QStringDecoder>

#include <cstdint>
#include <cstdlib>
#include <optional>

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

// Numbers are kept as stored, bounded only when the teacher saves: whatever 16 bits hold.
bool fitsSixteenBits(int value) {
    return value >= -32768 && value <= 32767;
}

// The password the first field holds, read by the file's layout alone (a length byte, then that many
// bytes of scrambled UTF-8), or nothing when it holds none that a save could store again.
std::optional<QString> storedPassword(const QByteArray& bytes) {
    if (bytes.isEmpty() || bytes.size() < 1 + static_cast<unsigned char>(bytes[0]))
        return std::nullopt;
    const QByteArray field = bytes.mid(1, static_cast<unsigned char>(bytes[0]));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString scrambled = utf8(field);
    if (utf8.hasError())
        return std::nullopt;
    const QString clear = myGlobals::unscrambleStr(scrambled);
    if (!myGlobals::passwordMatches(clear, clear) || !myPrefs::passwordFits(clear))
        return std::nullopt;
    return clear;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    myPrefs::DecodeReport report;
    const auto values = myPrefs::decodeFile(bytes, &report);
    if (!values)
        return 0;

    // The report: a lost password or shared folder makes the file not whole, and the password in the
    // values is the one the field holds, or none when it is lost.
    const std::optional<QString> password = storedPassword(bytes);
    require(report.passwordLost == !password.has_value());
    require(values->passWord == password.value_or(QString()));
    require(!report.passwordLost || !report.whole);
    require(report.networkMode == values->useAltLoc);
    require(!report.locationLost || (values->useAltLoc && values->altFileLoc.isEmpty() && !report.whole));

    for (int n : {values->maxTries, values->dataSource, values->numCrit, values->pctCrit, values->hiCrit})
        require(fitsSixteenBits(n));
    require(myGlobals::passwordMatches(values->passWord, values->passWord));

    const auto written = myPrefs::encodeFile(*values);
    require(written.has_value());
    myPrefs::DecodeReport rereadReport;
    const auto reread = myPrefs::decodeFile(*written, &rereadReport);
    require(reread.has_value());
    // What the program writes reads back whole.
    require(rereadReport.whole && !rereadReport.passwordLost && !rereadReport.locationLost);
    myPrefs::Values expected = *values;
    expected.noAnim = values->noAnim.value_or(false);
    require(*reread == expected);
    return 0;
}
