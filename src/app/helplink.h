#pragma once

// The way from any window to the help window. The help window installs its opener at start-up; until
// then every window's Help item is shown disabled, so that nothing offered does nothing.

#include <functional>

class QWidget;

namespace Menus {
class Bar;
}

namespace HelpLink {

// Opens a new help window on a topic, for the window `from` (which may be a modal window: the help
// window must then take clicks while it is open).
using Opener = std::function<void(int topic, QWidget* from)>;

void install(Opener opener);
bool available();
// Opens the topic; does nothing when no help window is installed.
void open(int topic, QWidget* from);

// Gives a window's "HelpHelp" item its topic: bound and enabled while a help window is installed,
// disabled otherwise. Call after Bar::bindHandlers, which would replace the connection.
void bindHelpItem(Menus::Bar* bar, QWidget* window, int topic);

} // namespace HelpLink
