#pragma once

#include <QString>

// The program's version texts, from the build (the top-level CMakeLists.txt keeps them).
namespace App {
// "Numbrook Riza 2012d1": shown on the start window, the sign-in window and in error reports.
QString LongVersion();
// "2012d1": the year, a letter and the release digit.
QString ShortVersion();
// The build number.
int NonReleaseVersion();
} // namespace App
