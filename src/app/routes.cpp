#include "routes.h"

#include "helplink.h"
#include "preferences/prefscrn10.h"
#include "signin/namescrn.h"

namespace Routes {

void install() {
    NameScrn::Links& links = NameScrn::links();
    // Each window family installs its opener below, one line each.
    (void)links;
    links.preferences = [] {
        PrefScrn10::instance()->show();
    };
}

} // namespace Routes
