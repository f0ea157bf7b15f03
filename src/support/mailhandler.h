#pragma once

// Whether this computer has a program that takes mail links (see app/desktopapps.h for why the
// desktop is asked first).

#include "app/desktopapps.h"

#include <QString>

#include <functional>

namespace MailHandler {

// The desktop entry of the program that takes mail links (such as "thunderbird.desktop"); empty
// when there is none.
QString current();

// Stands in for the desktop's answer (tests script it); an empty function asks the desktop again.
using Query = std::function<QString()>;
void setQuery(Query query);

// How long the desktop is waited for, in milliseconds, to start and to answer.
inline constexpr int kWaitMs = DesktopApps::kWaitMs;

// The desktop's own answer: `xdg-mime query default x-scheme-handler/mailto`. Empty when it names no
// desktop entry, cannot be run, fails or does not answer in time.
QString askDesktop();

} // namespace MailHandler
