// The preferences reader on any bytes at all: it must never read outside them, never hang, and
// whatever it accepts must be a complete set of preferences that writes and reads back the same. A
// violation aborts, which the fuzzer reports with the input that caused it.

#include "data/globals.h"
#include "data/prefs.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

// Numbers are kept as stored, bounded only when the teacher saves: whatever 16 bits hold.
bool fitsSixteenBits(int value) {
    return value >= -32768 && value <= 32767;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto values = myPrefs::decodeFile(bytes);
    if (!values)
        return 0;
    for (int n : {values->maxTries, values->dataSource, values->numCrit, values->pctCrit, values->hiCrit})
        require(fitsSixteenBits(n));
    require(myGlobals::passwordMatches(values->passWord, values->passWord));

    const auto written = myPrefs::encodeFile(*values);
    require(written.has_value());
    const auto reread = myPrefs::decodeFile(*written);
    require(reread.has_value());
    myPrefs::Values expected = *values;
    expected.noAnim = values->noAnim.value_or(false);
    require(*reread == expected);
    return 0;
}
