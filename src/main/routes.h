#pragma once

// Connects the windows to one another at start-up: the sign-in window's buttons and menu items to the
// windows they open, and every window's Help item to the help window. One place, so that a window
// that exists is never left unreachable and a window that does not is never offered.

namespace Routes {

void install();

} // namespace Routes
