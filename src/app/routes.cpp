#include "routes.h"

#include "help/helpscrn2.h"
#include "helplink.h"
#include "signin/namescrn.h"

namespace Routes {

void install() {
    NameScrn::Links& links = NameScrn::links();
    // Each window family installs its opener below, one line each.
    HelpLink::install([](int topic, QWidget* from) { helpScrn2::open(topic, from); });
    links.help = [] {
        HelpLink::open(0, NameScrn::exists() ? NameScrn::instance() : nullptr);
    };
}

} // namespace Routes
