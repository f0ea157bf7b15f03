#pragma once

// Which program the desktop would hand a file or a link to. Handing one to the desktop reports
// success as soon as the desktop's launcher starts, whether a program is behind it or not; the
// desktop's table of default programs (`xdg-mime query default <type>`) tells whether there is one.

#include <QString>

namespace DesktopApps {

// How long the desktop is waited for, in milliseconds, to start and to answer.
inline constexpr int kWaitMs = 3000;

// The desktop entry (such as "thunderbird.desktop") of the program that takes the given type
// ("x-scheme-handler/mailto", "text/rtf"); empty when the desktop names none, cannot be asked, fails
// or does not answer in time.
QString defaultFor(const QString& mimeType);

// The same for a file, by its type as the desktop itself sees it (`xdg-mime query filetype`): the
// two questions the desktop's own launcher asks before it opens a file.
QString defaultForFile(const QString& path);

} // namespace DesktopApps
